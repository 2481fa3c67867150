#pragma once

#include <string>
#include <vector>

/// The directory that holds the running executable (from /proc/self/exe), without a
/// trailing slash; empty when the system cannot tell.
std::string executableDir();

/// Where the installed game keeps its data, relative to the directory of its executable
/// ("../share/shelvoy" for the usual bin/ and share/ layout), so a moved install still works.
extern const char* const dataDirFromExecutable;

/// The places a data file of the game is looked for, in order: the working directory
/// (the bare name), then, when exeDir is known, beside the executable and in the installed
/// data directory exeDir/dataDirFromExecutable.
std::vector<std::string> dataFileCandidates(const std::string& name, const std::string& exeDir);

/// The first candidate of dataFileCandidates(name, executableDir()) that exists, whatever it is
/// (nothing is opened here, so a FIFO or a device cannot block the lookup); empty when none
/// does. `tried` (if given) receives every candidate in order.
std::string findDataFile(const std::string& name, std::vector<std::string>* tried = nullptr);

/// The whole contents of the regular file at `path`. It is opened without blocking and read only
/// when it is a regular file. Throws std::runtime_error with the reason alone, in words: "is not
/// a regular file", "permission denied", "no such file", or the system's text for another error.
std::vector<unsigned char> readRegularFile(const std::string& path);
