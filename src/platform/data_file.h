#pragma once

#include <string>
#include <vector>

/// The directory that holds the running executable (from /proc/self/exe), without a
/// trailing slash; empty when the system cannot tell.
std::string executableDir();

/// The places a data file of the game is looked for, in order: the working directory
/// (the bare name), then beside the executable when exeDir is known.
std::vector<std::string> dataFileCandidates(const std::string& name, const std::string& exeDir);

/// The first candidate of dataFileCandidates(name, executableDir()) that can be opened for
/// reading; empty when none can. `tried` (if given) receives every candidate in order.
std::string findDataFile(const std::string& name, std::vector<std::string>* tried = nullptr);
