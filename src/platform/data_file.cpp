#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>

#ifndef SHELVOY_DATA_FROM_BINDIR
#define SHELVOY_DATA_FROM_BINDIR "../share/shelvoy"
#endif

const char* const dataDirFromExecutable = SHELVOY_DATA_FROM_BINDIR;

namespace {

// The reason for a failed system call on a file, in the words a player reads.
std::string reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "permission denied";
    case ENOENT:
        return "no such file";
    default:
        return std::strerror(error);
    }
}

// Closes the descriptor however the read ends.
struct FileDescriptor {
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    ~FileDescriptor() { close(fd); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int fd;
};

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

std::vector<std::string> dataFileCandidates(const std::string& name, const std::string& exeDir)
{
    std::vector<std::string> candidates{name};
    if (!exeDir.empty()) {
        const std::string dir = exeDir.back() == '/' ? exeDir : exeDir + "/";
        candidates.push_back(dir + name);
        candidates.push_back(dir + dataDirFromExecutable + "/" + name);
    }
    return candidates;
}

std::string findDataFile(const std::string& name, std::vector<std::string>* tried)
{
    const std::vector<std::string> candidates = dataFileCandidates(name, executableDir());
    if (tried)
        *tried = candidates;
    for (const std::string& candidate : candidates) {
        struct stat status {};
        if (stat(candidate.c_str(), &status) == 0)
            return candidate;
    }
    return {};
}

std::vector<unsigned char> readRegularFile(const std::string& path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.fd < 0)
        throw std::runtime_error(reason(errno));
    struct stat status {};
    if (fstat(file.fd, &status) != 0)
        throw std::runtime_error(reason(errno));
    if (!S_ISREG(status.st_mode))
        throw std::runtime_error("is not a regular file");

    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<size_t>(status.st_size));
    unsigned char buffer[65536];
    for (;;) {
        const ssize_t n = read(file.fd, buffer, sizeof buffer);
        if (n == 0)
            return bytes;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error(reason(errno));
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}
