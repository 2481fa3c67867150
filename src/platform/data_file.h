#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Paths are byte strings in the system's own form: UTF-8 on Windows as everywhere else (the
// Windows side converts them to and from the system's UTF-16), so an install under
// C:\Spiele\Einkaufswägen works.

/// The separator between a directory and a name in this system's paths: '/', or '\\' on Windows.
extern const char pathSeparator;

/// The directory that holds the running executable (/proc/self/exe, GetModuleFileNameW), without
/// a trailing separator; empty when the system cannot tell.
std::string executableDir();

/// Where the installed game keeps its data, relative to the directory of its executable
/// ("../share/shelvoy" for the usual bin/ and share/ layout, "..\\share\\shelvoy" on Windows),
/// so a moved install still works.
extern const char* const dataDirFromExecutable;

/// Whether anything stands at `path` (nothing is opened, so nothing can block).
bool pathExists(const std::string& path);

/// The places a data file of the game is looked for, in order: the working directory
/// (the bare name), then, when exeDir is known, beside the executable and in the installed
/// data directory exeDir/dataDirFromExecutable.
std::vector<std::string> dataFileCandidates(const std::string& name, const std::string& exeDir);

/// The first candidate of dataFileCandidates(name, executableDir()) that exists, whatever it is
/// (nothing is opened here, so a FIFO or a device cannot block the lookup); empty when none
/// does. `tried` (if given) receives every candidate in order.
std::string findDataFile(const std::string& name, std::vector<std::string>* tried = nullptr);

/// Why a data file cannot be opened or read, in the terms a player can act on. Each system maps
/// its own error codes onto these and reports any other error in its own words.
enum class FileProblem {
    notARegularFile,   ///< a directory, a FIFO, a pipe, a device
    permissionDenied,  ///< the user may not read it
    openElsewhere,     ///< another program holds it open and shares it with no one
    noSuchFile,        ///< nothing at that path
};

/// The words a player reads for `problem`, one wording on every system: "is not a regular file",
/// "permission denied", "another program has the file open", "no such file".
std::string fileProblemText(FileProblem problem);

/// A regular file, open for reading from its start. Opening never blocks: a FIFO, a device or a
/// directory is refused before anything is read. Closed with the object.
class RegularFile {
public:
    /// Opens `path`. Throws std::runtime_error with the reason alone, in words: fileProblemText's,
    /// or the system's text for another error.
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    /// The file's size when it was opened, bytes.
    std::uint64_t size() const { return m_size; }

    /// Reads the next bytes into `into`, at most `count`; fewer only at the end of the file (0
    /// there). Throws as the constructor does.
    std::size_t read(unsigned char* into, std::size_t count);

private:
    std::intptr_t m_handle;  ///< the system's handle of the open file, owned here
    std::uint64_t m_size = 0;
};
