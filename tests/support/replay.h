#pragma once

// Recorded input streams and the exact state they lead to.
//
// Text format, one record per line; '#' starts a comment that runs to the end of the line:
//   <dt> <flags>        one frame: dt is the 8 hex digits of the frame time's IEEE-754 single
//                       bit pattern (3c888889 = 1/60 s), flags eight '0'/'1' in ControlIndex
//                       order: LeftBack LeftForward LeftRight LeftLeft RightBack RightForward
//                       RightRight RightLeft
//   end <key> <value>   the state after the last frame (see Snapshot): floats as 8 hex digits
//                       of their bits, the run clock as 16 hex digits of the double's bits;
//                       keys position, angle, velocity, angularVelocity, push0, push1, clock,
//                       spin, items (the count, then one '1' per held slot and '0' per empty one)
// A stream always starts from the built-in store at its start pose.

#include <string>
#include <vector>

#include "support/sim_random_drive.h"
#include "world/world.h"

namespace sim {

/// The part of a World's state a replay pins down, compared bit for bit.
struct Snapshot {
    b2Vec2 position{0.0f, 0.0f};   ///< cart body origin, units
    float angle = 0.0f;            ///< cart heading, radians, unwrapped
    b2Vec2 velocity{0.0f, 0.0f};   ///< units per second
    float angularVelocity = 0.0f;  ///< radians per second
    b2Vec2 push[2] = {};           ///< both hands' pushes, cart axes, force units
    double clock = 0.0;            ///< run clock, seconds
    float spin = 0.0f;             ///< items' spin angle, degrees
    int itemsLeft = 0;
    std::string slots;  ///< one '1' per held slot, '0' per empty one
};

/// The state of `world` now.
Snapshot snapshot(const World& world);

/// Empty when `a` and `b` have identical bit patterns everywhere; otherwise a line naming each
/// field that differs with both values.
std::string snapshotDifferences(const Snapshot& expected, const Snapshot& actual);

/// An input stream and, when recorded, the state it ends in.
struct Replay {
    std::vector<Frame> frames;
    bool hasEnd = false;  ///< whether `end` was recorded
    Snapshot end;
    std::string header;  ///< comment lines written above the frames, without the '#'
};

/// The text form of `replay` (format above); `end` is written when `hasEnd`.
std::string formatReplay(const Replay& replay);

/// Parses the text form; throws std::runtime_error naming the line of the first error.
Replay parseReplay(const std::string& text);

/// Reads and parses a replay file; throws std::runtime_error when it cannot be read or parsed.
Replay loadReplay(const std::string& path);

/// Writes `replay` to `path`; throws std::runtime_error when it cannot be written.
void saveReplay(const std::string& path, const Replay& replay);

/// Writes the frame's flags into the cart and steps the world by its dt.
void applyFrame(World& world, const Frame& frame);

/// Plays `frames` through a fresh World of the built-in store and returns the state after
/// every frame (element i after frame i).
std::vector<Snapshot> playFrames(const std::vector<Frame>& frames);

}  // namespace sim
