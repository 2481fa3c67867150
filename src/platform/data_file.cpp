#include "platform/data_file.h"

#include <climits>
#include <fstream>
#include <unistd.h>

#ifndef SHELVOY_DATA_FROM_BINDIR
#define SHELVOY_DATA_FROM_BINDIR "../share/shelvoy"
#endif

const char* const dataDirFromExecutable = SHELVOY_DATA_FROM_BINDIR;

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
        std::ifstream file(candidate, std::ios::binary);
        if (file.good())
            return candidate;
    }
    return {};
}
