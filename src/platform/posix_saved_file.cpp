// Saved files on a POSIX system: the XDG data folder, write + fsync + rename + fsync of the
// folder, link for a rename that never replaces, and flock on the folder itself.

#include "platform/saved_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::string joined(const std::string& folder, const std::string& name) { return folder + "/" + name; }

// Writes all of `size` bytes to `fd`; false with errno set when it cannot.
bool writeAll(int fd, const unsigned char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int openFolder(const std::string& folder) { return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

}  // namespace

std::string savedDataFolder()
{
    // The XDG Base Directory rules: a relative $XDG_DATA_HOME is to be ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/shelvoy";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/shelvoy";
    return {};
}

std::string makeSavedDataFolder(const std::string& folder)
{
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return std::strerror(errno);
    }
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0)
        return std::strerror(errno);
    return S_ISDIR(status.st_mode) ? std::string() : std::string("is not a folder");
}

SavedRead readSavedFile(const std::string& folder, const std::string& name, std::size_t limit)
{
    return readSavedFileAt(folder + "/" + name, limit);
}

std::string replaceSavedFile(const std::string& folder, const std::string& name,
                             const std::vector<unsigned char>& bytes)
{
    const std::string path = joined(folder, name);
    const std::string temporary = joined(folder, "." + name + ".new-" + std::to_string(getpid()));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::strerror(errno);
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
    const int writeError = errno;
    if (close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        unlink(temporary.c_str());
        return std::strerror(error);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return std::strerror(error);
    }
    // The rename itself is on the disk once the folder is.
    const int dir = openFolder(folder);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {};
}

std::string setSavedFileAside(const std::string& folder, const std::string& name, std::string& why)
{
    const std::string path = joined(folder, name);
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = name + (n == 1 ? ".bad" : ".bad-" + std::to_string(n));
        // link() never replaces what stands at its new name; the old name goes once it has one.
        if (link(path.c_str(), joined(folder, aside).c_str()) == 0) {
            unlink(path.c_str());
            return aside;
        }
        if (errno != EEXIST) {
            why = std::strerror(errno);
            return {};
        }
    }
    why = "too many files set aside already";
    return {};
}

SavedDataLock::SavedDataLock(const std::string& folder)
{
    const int fd = openFolder(folder);
    if (fd < 0)
        return;
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd);
            return;
        }
    }
    m_handle = fd;
}

SavedDataLock::~SavedDataLock()
{
    if (held())
        close(static_cast<int>(m_handle));  // the lock goes with the descriptor
}
