// What the desktop systems' saved files share: a file read whole through RegularFile.

#include "platform/saved_file.h"

#include <stdexcept>

#include "platform/data_file.h"

SavedRead readSavedFileAt(const std::string& path, std::size_t limit)
{
    SavedRead result;
    if (!pathExists(path))
        return result;
    try {
        RegularFile file(path);
        if (file.size() > limit) {
            result.status = SavedRead::Status::tooLarge;
            return result;
        }
        result.bytes.resize(static_cast<std::size_t>(file.size()) + 1);  // one more: a file that grew
        result.bytes.resize(file.read(result.bytes.data(), result.bytes.size()));
        result.status = result.bytes.size() > limit ? SavedRead::Status::tooLarge : SavedRead::Status::read;
        if (result.status == SavedRead::Status::tooLarge)
            result.bytes.clear();
    } catch (const std::runtime_error& failure) {
        result.status = SavedRead::Status::unreadable;
        result.why = failure.what();
    }
    return result;
}
