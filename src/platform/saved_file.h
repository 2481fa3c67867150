#pragma once

// The one place the game keeps something between runs: small files in the player's data folder,
// replaced whole and atomically (the old bytes or the new, never a torn file), under a lock that
// two games share. On Linux the folder is $XDG_DATA_HOME/shelvoy (~/.local/share/shelvoy without
// it), on Windows %APPDATA%\Shelvoy; in a browser the page's own storage (per origin) stands in
// for it, a name there being a key.

#include <cstddef>
#include <string>
#include <vector>

/// The player's data folder for the game, without a trailing separator; empty when the system
/// tells none (no home). Nothing is made or opened here.
std::string savedDataFolder();

/// Makes `folder` and any missing parents (private to the user where the system has such
/// permissions). Empty on success, else the reason in words.
std::string makeSavedDataFolder(const std::string& folder);

/// What reading a saved file found.
struct SavedRead {
    enum class Status {
        absent,      ///< no such file
        read,        ///< `bytes` holds the whole file
        tooLarge,    ///< larger than the limit asked for: nothing read
        unreadable,  ///< there, but not readable as a file: `why` says why
    };
    Status status = Status::absent;
    std::vector<unsigned char> bytes;
    std::string why;  ///< the reason in words, for unreadable
};

/// Reads the file `name` in `folder` whole when it holds at most `limit` bytes. Never blocks on a
/// FIFO or device (they are unreadable).
SavedRead readSavedFile(const std::string& folder, const std::string& name, std::size_t limit);

/// readSavedFile for the file at `path`, through RegularFile (platform/data_file.h): the desktop
/// systems' way.
SavedRead readSavedFileAt(const std::string& path, std::size_t limit);

/// Replaces the file `name` in `folder` by `bytes` atomically: written to a temporary file in the
/// folder, flushed to the disk, then renamed over the old one (the folder flushed too), so that a
/// crash at any moment leaves the old file or the new one. Empty on success, else the reason in
/// words (the old file, if any, is untouched then, and no temporary file is left).
std::string replaceSavedFile(const std::string& folder, const std::string& name,
                             const std::vector<unsigned char>& bytes);

/// Moves the file `name` in `folder` aside, to `name` + ".bad" (then ".bad-2", ".bad-3", ... :
/// the first name nothing stands at), never over another file. The name it now has, or empty
/// when it could not be moved (`why` then says why).
std::string setSavedFileAside(const std::string& folder, const std::string& name, std::string& why);

/// An exclusive lock on the game's saved files in `folder`, shared by every game of the user's:
/// held from construction to destruction, waiting for another game that holds it. Where no lock
/// can be had (a read-only folder) it holds nothing, and says so.
class SavedDataLock {
public:
    explicit SavedDataLock(const std::string& folder);
    ~SavedDataLock();
    SavedDataLock(const SavedDataLock&) = delete;
    SavedDataLock& operator=(const SavedDataLock&) = delete;

    /// Whether the lock is held.
    bool held() const { return m_handle != -1; }

private:
    long long m_handle = -1;  ///< the system's handle of what is locked, owned here; -1: none
};
