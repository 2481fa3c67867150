// Data files on Windows: GetModuleFileNameW, and files opened by their UTF-16 names and accepted
// only when they are files on a disk.

#include "platform/data_file.h"

#include <stdexcept>

#include "platform/win32_system.h"

const char pathSeparator = '\\';

namespace {

// The reason for a failed call on a file, in the words a player reads: GetLastError's codes onto
// the FileProblems, the system's own text for the rest.
std::string reason(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return fileProblemText(FileProblem::permissionDenied);
    case ERROR_SHARING_VIOLATION:
        return fileProblemText(FileProblem::openElsewhere);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return fileProblemText(FileProblem::noSuchFile);
    default:
        return systemErrorText(error);
    }
}

}  // namespace

std::string executableDir()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return {};
    // "C:\" keeps its separator: without it, "C:" names the drive's current directory.
    return utf8FromUtf16(path.substr(0, separator == 2 ? separator + 1 : separator));
}

bool pathExists(const std::string& path)
{
    return GetFileAttributesW(utf16FromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

RegularFile::RegularFile(const std::string& path)
{
    // Opening never blocks: a pipe without a free instance fails at once (ERROR_PIPE_BUSY). With
    // backup semantics a directory opens too, to be refused below like any other non-file.
    OwnedHandle file(CreateFileW(utf16FromUtf8(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        throw std::runtime_error(reason(GetLastError()));
    // A named pipe, a console or a device such as NUL is no file on a disk.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        throw std::runtime_error(fileProblemText(FileProblem::notARegularFile));
    if (!GetFileInformationByHandle(file.get(), &information))
        throw std::runtime_error(reason(GetLastError()));
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw std::runtime_error(fileProblemText(FileProblem::notARegularFile));
    m_size = (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    m_handle = reinterpret_cast<std::intptr_t>(file.release());
}

RegularFile::~RegularFile() { CloseHandle(reinterpret_cast<HANDLE>(m_handle)); }

std::size_t RegularFile::read(unsigned char* into, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const std::size_t chunk = count - done < (1u << 30) ? count - done : (1u << 30);  // a DWORD's worth
        DWORD read = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), into + done, static_cast<DWORD>(chunk), &read,
                      nullptr))
            throw std::runtime_error(reason(GetLastError()));
        if (read == 0)
            break;
        done += read;
    }
    return done;
}
