// Saved files on Windows: %APPDATA%\Shelvoy, a temporary file written through to the disk and
// put in place by ReplaceFileW (MoveFileExW with write-through when there is nothing to replace),
// MoveFileExW without replacing for a file set aside, and LockFileEx on a lock file of the game's.

#include "platform/saved_file.h"

#include "platform/win32_system.h"

namespace {

constexpr wchar_t lockFileName[] = L"\\.lock";

std::wstring wideJoined(const std::string& folder, const std::string& name)
{
    return utf16FromUtf8(folder + "\\" + name);
}

std::string lastErrorText() { return systemErrorText(GetLastError()); }

}  // namespace

std::string savedDataFolder()
{
    const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (size == 0)
        return {};
    std::wstring appData(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData.data(), size);
    if (length == 0 || length >= size)
        return {};
    appData.resize(length);
    return utf8FromUtf16(appData) + "\\Shelvoy";
}

std::string makeSavedDataFolder(const std::string& folder)
{
    const std::wstring wide = utf16FromUtf8(folder);
    for (std::size_t at = 0; at <= wide.size(); ++at) {
        if (at != wide.size() && wide[at] != L'\\' && wide[at] != L'/')
            continue;
        const std::wstring part = wide.substr(0, at);
        if (part.empty() || part.back() == L':')
            continue;  // a drive, not a folder to make
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return lastErrorText();
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastErrorText();
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? std::string() : std::string("is not a folder");
}

SavedRead readSavedFile(const std::string& folder, const std::string& name, std::size_t limit)
{
    return readSavedFileAt(folder + "\\" + name, limit);
}

std::string replaceSavedFile(const std::string& folder, const std::string& name,
                             const std::vector<unsigned char>& bytes)
{
    const std::wstring path = wideJoined(folder, name);
    const std::wstring temporary =
        wideJoined(folder, "." + name + ".new-" + std::to_string(GetCurrentProcessId()));
    {
        OwnedHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
        if (!file.valid())
            return lastErrorText();
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size() || !FlushFileBuffers(file.get())) {
            const std::string why = lastErrorText();
            file = OwnedHandle(nullptr);
            DeleteFileW(temporary.c_str());
            return why;
        }
    }
    const bool replaced = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES
                              ? ReplaceFileW(path.c_str(), temporary.c_str(), nullptr,
                                             REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)
                              : MoveFileExW(temporary.c_str(), path.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        const std::string why = lastErrorText();
        DeleteFileW(temporary.c_str());
        return why;
    }
    return {};
}

std::string setSavedFileAside(const std::string& folder, const std::string& name, std::string& why)
{
    const std::wstring path = wideJoined(folder, name);
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = name + (n == 1 ? ".bad" : ".bad-" + std::to_string(n));
        // Without MOVEFILE_REPLACE_EXISTING the move never goes over another file.
        if (MoveFileExW(path.c_str(), wideJoined(folder, aside).c_str(), MOVEFILE_WRITE_THROUGH))
            return aside;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            why = systemErrorText(error);
            return {};
        }
    }
    why = "too many files set aside already";
    return {};
}

SavedDataLock::SavedDataLock(const std::string& folder)
{
    const std::wstring path = utf16FromUtf8(folder) + lockFileName;
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!file.valid())
        return;
    OVERLAPPED whole{};
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole))
        return;
    m_handle = reinterpret_cast<std::intptr_t>(file.release());
}

SavedDataLock::~SavedDataLock()
{
    if (held())
        CloseHandle(reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(m_handle)));  // the lock goes with it
}
