// Data files on a POSIX system: /proc/self/exe, stat, and descriptors opened without blocking.

#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>

const char pathSeparator = '/';

namespace {

// The reason for a failed system call on a file, in the words a player reads: errno's onto the
// FileProblems, the system's own text for the rest.
std::string reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return fileProblemText(FileProblem::permissionDenied);
    case ENOENT:
        return fileProblemText(FileProblem::noSuchFile);
    default:
        return std::strerror(error);
    }
}

}  // namespace

std::string executableDir()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool pathExists(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

RegularFile::RegularFile(const std::string& path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error(reason(errno));
    struct stat status {};
    const int statError = fstat(fd, &status) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        throw std::runtime_error(statError != 0 ? reason(statError)
                                                : fileProblemText(FileProblem::notARegularFile));
    }
    m_handle = fd;
    m_size = static_cast<std::uint64_t>(status.st_size);
}

RegularFile::~RegularFile() { close(static_cast<int>(m_handle)); }

std::size_t RegularFile::read(unsigned char* into, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(static_cast<int>(m_handle), into + done, count - done);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error(reason(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}
