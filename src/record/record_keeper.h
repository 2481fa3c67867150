#pragma once

#include <functional>
#include <memory>
#include <string>

#include "record/run_record.h"

/// The name of the record's file in the player's data folder.
inline constexpr char recordFileName[] = "best-run";

/// The player's best run through one store, kept from game to game: read and believed at start
/// (only a record whose run replays to its result), offered every finished run, and written back
/// when beaten. Nothing it meets ends the game: a file that is not a believable record is set
/// aside under another name (never deleted, never overwritten), a folder that cannot be written
/// leaves the record in memory for the session; each problem is one line through `report`.
class RecordKeeper {
public:
    /// How a run offered compares with the record.
    struct Outcome {
        bool hadRecord = false;  ///< a record existed before this run
        bool newBest = false;    ///< this run is the record now
        double previous = 0.0;   ///< the record's time before the run, seconds (when hadRecord)
        double best = 0.0;       ///< the record's time after it, seconds
    };

    /// Reads the record of `desc` from `folder` (empty: none, the record lives in memory only).
    /// `desc` must outlive the keeper. `report` takes one line about a problem (without its line
    /// break); by default it goes to stderr.
    RecordKeeper(std::string folder, const LevelDesc& desc,
                 std::function<void(const std::string& line)> report = {});

    /// The best run known, shared with whatever plays it (a ghost); null while there is none.
    std::shared_ptr<const RunRecord> best() const { return m_best; }

    /// A finished run of `desc`: kept, and written to the folder, when it is faster than the best
    /// known, the folder's own record included (another game may have written one meanwhile);
    /// the read, the comparison and the replacement happen under the folder's lock.
    Outcome offer(const RunRecord& run);

private:
    // The folder's record as it is now, believed or set aside (false: a file stands there that
    // must not be replaced). Call under the lock.
    bool readFolder(std::shared_ptr<const RunRecord>& found);
    void reportOnce(const std::string& line);

    std::string m_folder;
    const LevelDesc& m_desc;
    std::function<void(const std::string&)> m_report;
    std::shared_ptr<const RunRecord> m_best;
    bool m_unwritable = false;  ///< told once: the record stays in memory
};
