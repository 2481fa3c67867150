#pragma once

// The player's record: the best run through a store, kept as the inputs that drove it, so that
// it can be played again (to check it, and to drive the ghost) bit for bit on every system.
//
// The file, all numbers little-endian, nothing between the fields:
//
//   bytes  field
//   8      magic "SHELVOYR"
//   4      format version, u32 (recordFormatVersion; a larger one is a later game's, not read)
//   1      n, the length of the game's version text (at most 32)
//   n      the game's version that made the record, ASCII ("0.7.4"); for information only
//   8      fingerprint of the store, u64 (storeFingerprint: its map and the cart's start pose)
//   8      the run time: the bits of the run clock's double after the last frame, seconds
//   4      k, the number of split times, u32: one per item of the store (at most 4096)
//   8 * k  split times: the bits of the run clock's double after the frame that took the item
//          (items taken in one frame share its time), in the order they were taken
//   4      f, the number of frames, u32 (at least 1; bounded by the file's 1 MiB)
//   5 * f  frames, in the order they were played: the frame time handed to the World's step as
//          the bits of its float (u32, seconds, 0 to 1/30), then the eight driving flags as one
//          byte, bit i for CartControls index i (cart/cart_controls.h)
//   4      CRC-32 (IEEE 802.3, as zlib's crc32) of every byte before it
//
// A record is believed only once its frames, played through a fresh World of the store from its
// start, take the last item in the last frame at exactly its run time and split times
// (verifyRecord). Anything that reads the format can check a record the same way.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cart/cart_controls.h"

struct LevelDesc;

/// The format version this game writes and reads.
constexpr std::uint32_t recordFormatVersion = 1;
/// The largest record file the game reads, bytes: anything larger is not a record of its.
constexpr std::size_t recordSizeLimit = 1u << 20;

/// One frame of a recorded run.
struct RecordFrame {
    float dt = 0.0f;          ///< the frame time handed to World::step, seconds
    CartControls controls{};  ///< the driving flags written before the step
};

/// A whole run, as kept.
struct RunRecord {
    std::string gameVersion;          ///< the version of the game that made it, ASCII
    std::uint64_t fingerprint = 0;    ///< storeFingerprint of the store it was made in
    double runTime = 0.0;             ///< the run clock after the last frame, seconds
    std::vector<double> splits;       ///< run clock after each item was taken, seconds
    std::vector<RecordFrame> frames;  ///< every play frame, in order
};

/// A 64-bit fingerprint (FNV-1a) of the store's map and the cart's start pose (the bits of its
/// floats): two stores that differ in any cell or in the start give different ones.
std::uint64_t storeFingerprint(const LevelDesc& desc);

/// The file's bytes for `record` (format above).
std::vector<unsigned char> encodeRecord(const RunRecord& record);

/// Why bytes are not a record.
enum class RecordFault {
    none,
    truncated,     ///< shorter than its own fields say
    corrupted,     ///< not the format, or its checksum or a field is wrong
    futureFormat,  ///< a later format version than this game reads
    tooLarge,      ///< over recordSizeLimit
};

/// The words for `fault` in a message ("is truncated", ...).
std::string recordFaultText(RecordFault fault);

/// Reads a record from `size` bytes at `bytes`, trusting none of them: every length is checked
/// against what is there, every frame time against the frame timer's range, the checksum
/// against the whole. On failure returns nothing and sets `fault` (when given).
std::optional<RunRecord> decodeRecord(const unsigned char* bytes, std::size_t size,
                                      RecordFault* fault = nullptr);

/// Whether `record` is a run through `desc`: its fingerprint is the store's, and its frames,
/// played through a fresh World of `desc`, take the last item in the last frame with the run
/// clock's bits equal to its run time and to each split time.
bool verifyRecord(const RunRecord& record, const LevelDesc& desc);

/// A run as it is played, frame by frame, into a RunRecord.
class RunRecorder {
public:
    /// Starts an empty record of a run through `desc`.
    explicit RunRecorder(const LevelDesc& desc);

    /// Notes one play frame: the flags the cart drove with and the step's dt, seconds; then
    /// `itemsTaken` split times at `runClock` (the World's clock after the step, seconds).
    void addFrame(float dt, const CartControls& controls, int itemsTaken, double runClock);

    /// The run so far, its run time the latest runClock.
    const RunRecord& record() const { return m_record; }

private:
    RunRecord m_record;
};
