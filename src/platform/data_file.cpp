// Where the game's data files are looked for; the system's side is posix_ or win32_data_file.cpp.

#include "platform/data_file.h"

// The build passes the installed data directory relative to the executable's, in the system's
// own spelling ("../share/shelvoy", or "..\\share\\shelvoy" on Windows).
#ifndef SHELVOY_DATA_FROM_BINDIR
#define SHELVOY_DATA_FROM_BINDIR "../share/shelvoy"
#endif

const char* const dataDirFromExecutable = SHELVOY_DATA_FROM_BINDIR;

std::string fileProblemText(FileProblem problem)
{
    switch (problem) {
    case FileProblem::notARegularFile:
        return "is not a regular file";
    case FileProblem::permissionDenied:
        return "permission denied";
    case FileProblem::openElsewhere:
        return "another program has the file open";
    case FileProblem::noSuchFile:
        return "no such file";
    }
    return "cannot be read";
}

std::vector<std::string> dataFileCandidates(const std::string& name, const std::string& exeDir)
{
    std::vector<std::string> candidates{name};
    if (!exeDir.empty()) {
        const std::string dir = exeDir.back() == pathSeparator ? exeDir : exeDir + pathSeparator;
        candidates.push_back(dir + name);
        candidates.push_back(dir + dataDirFromExecutable + pathSeparator + name);
    }
    return candidates;
}

std::string findDataFile(const std::string& name, std::vector<std::string>* tried)
{
    const std::vector<std::string> candidates = dataFileCandidates(name, executableDir());
    if (tried)
        *tried = candidates;
    for (const std::string& candidate : candidates)
        if (pathExists(candidate))
            return candidate;
    return {};
}
