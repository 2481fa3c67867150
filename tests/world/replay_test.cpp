// Recorded input streams played through the real World step. The same inputs must give the
// same state, bit for bit, in every frame, and each stream in tests/data must still end
// exactly where it ended when it was recorded: positions, angle, velocities and pushes as
// float bit patterns, the run clock as a double's, and every item slot. The game links its own
// sinf, cosf, sincosf and atan2f (platform/float_math.h), so the streams end in the same place on
// every system it is built for.
//
// A change in the physics set-up, the order of the step or the rounding of the drive model
// shows up here as a failed replay. When such a change is meant, re-record the streams and
// commit the new files with it:
//
//     SHELVOY_RECORD_REPLAYS=1 build/tests/shelvoy_sim_tests --gtest_filter='*Recorded*'
//
// The file format is described in support/replay.h. The streams, all in the built-in store
// from its start pose:
//   scripted.replay   14 s of scripted driving at 60 Hz: straight on, spins, sideways pushes,
//                     braking, a shelf hit, both keys of a pair, zero and longest frames
//   random.replay     60 s of random flags changing every 0.1 to 1 s, random frame times in
//                     [0, 1/30] (RandomDrive seed 7)
//   autopilot.replay  the autopilot's run through the whole store at 60 Hz
//   autopilot.record  the same run as the game keeps the player's record (record/run_record.h),
//                     written on Linux: it must be believed, and drive the same ghost, everywhere

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "record/ghost.h"
#include "record/run_record.h"
#include "support/autopilot.h"
#include "support/replay.h"
#include "support/sim_checks.h"
#include "support/sim_random_drive.h"

namespace {

constexpr float frameTime = 1.0f / 60.0f;

bool recording()
{
    const char* value = std::getenv("SHELVOY_RECORD_REPLAYS");
    return value && std::string(value) == "1";
}

std::string dataPath(const std::string& name) { return std::string(SHELVOY_TEST_DATA_DIR) + "/" + name; }

CartControls flags(std::initializer_list<ControlIndex> held)
{
    CartControls controls{};
    for (const ControlIndex i : held)
        controls[static_cast<size_t>(i)] = true;
    return controls;
}

void hold(std::vector<sim::Frame>* frames, double seconds, CartControls controls, float dt = frameTime)
{
    for (int n = static_cast<int>(std::lround(seconds / static_cast<double>(dt))); n > 0; --n)
        frames->push_back(sim::Frame{dt, controls});
}

std::vector<sim::Frame> scriptedFrames()
{
    std::vector<sim::Frame> frames;
    hold(&frames, 0.5, flags({}));  // at rest
    // Down the aisle over an item, a spin clockwise, forward and sideways at once, braking,
    // then on into whatever is ahead.
    hold(&frames, 1.5, flags({LeftForward, RightForward}));
    hold(&frames, 0.8, flags({LeftForward, RightBack}));
    hold(&frames, 1.0, flags({LeftForward, RightForward, LeftLeft, RightLeft}));
    hold(&frames, 0.5, flags({LeftBack, RightBack}));
    hold(&frames, 2.5, flags({LeftForward, RightForward}));
    // One hand (anticlockwise), coasting while the pushes decay, both keys of three pairs,
    // sideways alone.
    hold(&frames, 1.0, flags({RightForward}));
    hold(&frames, 1.0, flags({}));
    hold(&frames, 1.0, flags({LeftBack, LeftForward, RightBack, RightForward, LeftRight, LeftLeft}));
    hold(&frames, 1.0, flags({LeftRight, RightRight}));
    // Ragged frame times: zero and the longest frame in turn.
    for (int i = 0; i < 30; ++i) {
        frames.push_back(sim::Frame{0.0f, flags({LeftForward, RightBack})});
        frames.push_back(sim::Frame{sim::maxFrameTime, flags({LeftForward, RightBack})});
    }
    hold(&frames, 2.0, flags({RightForward, RightLeft, LeftBack}));
    return frames;
}

std::vector<sim::Frame> randomFrames()
{
    sim::RandomDrive drive(7u);
    std::vector<sim::Frame> frames;
    for (double clock = 0.0; clock < 60.0;) {
        frames.push_back(drive.next());
        clock += static_cast<double>(frames.back().dt);
    }
    return frames;
}

std::vector<sim::Frame> autopilotFrames()
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    sim::Autopilot pilot(world);
    std::vector<sim::Frame> frames;
    while (world.itemsLeft() > 0 && world.runClock() < 120.0) {
        frames.push_back(sim::Frame{frameTime, pilot.steer(world, frameTime)});
        sim::applyFrame(world, frames.back());
    }
    return frames;
}

struct Stream {
    const char* file;
    std::vector<sim::Frame> (*make)();
    const char* description;
};

const Stream streams[] = {
    {"scripted.replay", scriptedFrames, "14 s of scripted driving at 60 Hz"},
    {"random.replay", randomFrames, "60 s of random flags and frame times, RandomDrive seed 7"},
    {"autopilot.replay", autopilotFrames, "the autopilot's run through the whole store at 60 Hz"},
};

// The stream from tests/data; recorded afresh first when SHELVOY_RECORD_REPLAYS=1.
sim::Replay loadStream(const Stream& stream)
{
    if (recording()) {
        sim::Replay replay;
        replay.frames = stream.make();
        replay.hasEnd = true;
        replay.end = sim::playFrames(replay.frames).back();
        replay.header = std::string("Shelvoy! input stream: ") + stream.description +
                        ".\nBuilt-in store from its start pose. Format: tests/support/replay.h.\n"
                        "Re-record: SHELVOY_RECORD_REPLAYS=1 shelvoy_sim_tests --gtest_filter='*Recorded*'";
        sim::saveReplay(dataPath(stream.file), replay);
    }
    return sim::loadReplay(dataPath(stream.file));
}

class RecordedReplay : public testing::TestWithParam<Stream> {};

}  // namespace

TEST_P(RecordedReplay, EndsExactlyWhereItWasRecorded)
{
    const sim::Replay replay = loadStream(GetParam());
    ASSERT_TRUE(replay.hasEnd);
    ASSERT_FALSE(replay.frames.empty());
    const std::vector<sim::Snapshot> states = sim::playFrames(replay.frames);
    EXPECT_EQ(sim::snapshotDifferences(replay.end, states.back()), "")
        << "after " << replay.frames.size() << " frames";
}

TEST_P(RecordedReplay, SameInputsGiveTheSameStateInEveryFrame)
{
    // Two Worlds side by side, stepped in turn: nothing may leak from one into the other.
    const sim::Replay replay = loadStream(GetParam());
    const LevelDesc desc = builtinLevel();
    World first(desc);
    World second(desc);
    for (size_t i = 0; i < replay.frames.size(); ++i) {
        sim::applyFrame(first, replay.frames[i]);
        sim::applyFrame(second, replay.frames[i]);
        ASSERT_EQ(sim::snapshotDifferences(sim::snapshot(first), sim::snapshot(second)), "") << "frame " << i;
    }
    // And a World built after both have gone through the whole stream again.
    EXPECT_EQ(sim::snapshotDifferences(sim::snapshot(first), sim::playFrames(replay.frames).back()), "");
}

INSTANTIATE_TEST_SUITE_P(Streams, RecordedReplay, testing::ValuesIn(streams),
                         [](const testing::TestParamInfo<Stream>& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });

TEST(RecordedStreams, TheAutopilotStreamTakesEveryItem)
{
    const sim::Replay replay = loadStream(streams[2]);
    EXPECT_EQ(replay.end.itemsLeft, 0);
    EXPECT_EQ(replay.end.slots, std::string(20, '0'));
}

TEST(RecordedStreams, OneFlagOrOneUlpAnywhereChangesTheEnd)
{
    // The replays are only worth something if the smallest change in input shows at the end.
    const std::vector<sim::Frame> frames = scriptedFrames();
    const sim::Snapshot end = sim::playFrames(frames).back();

    std::vector<sim::Frame> longer = frames;
    longer[100].dt = std::nextafter(longer[100].dt, 1.0f);
    EXPECT_NE(sim::snapshotDifferences(end, sim::playFrames(longer).back()), "");

    std::vector<sim::Frame> flipped = frames;
    flipped[200].controls[LeftLeft] = !flipped[200].controls[LeftLeft];
    EXPECT_NE(sim::snapshotDifferences(end, sim::playFrames(flipped).back()), "");
}

TEST(ReplayFormat, TextKeepsEveryBit)
{
    sim::Replay replay;
    replay.header = "first line\n\nthird line\n";
    const float times[] = {0.0f, frameTime, sim::maxFrameTime, 1e-45f, -0.0f, 0.1f};
    for (size_t i = 0; i < 6; ++i) {
        sim::Frame frame;
        frame.dt = times[i];
        for (size_t k = 0; k < 8; ++k)
            frame.controls[k] = ((i * 37 + k * 11) % 3) == 0;
        replay.frames.push_back(frame);
    }
    replay.hasEnd = true;
    replay.end.position.Set(26.0f, -0.0f);
    replay.end.angle = 3.1415927f;
    replay.end.velocity.Set(std::nextafter(1.0f, 2.0f), -1e-38f);
    replay.end.angularVelocity = -12.5f;
    replay.end.push[0].Set(1.0f, -0.45714289f);
    replay.end.push[1].Set(0.3f, 0.0f);
    replay.end.clock = 1.0 / 3.0;
    replay.end.spin = 3600.25f;
    replay.end.itemsLeft = 2;
    replay.end.slots = "0100000000000000001";

    const sim::Replay back = sim::parseReplay(sim::formatReplay(replay));
    EXPECT_EQ(back.header, replay.header);
    ASSERT_EQ(back.frames.size(), replay.frames.size());
    for (size_t i = 0; i < replay.frames.size(); ++i) {
        EXPECT_EQ(std::signbit(back.frames[i].dt), std::signbit(replay.frames[i].dt)) << "frame " << i;
        EXPECT_EQ(back.frames[i].dt, replay.frames[i].dt) << "frame " << i;
        EXPECT_EQ(back.frames[i].controls, replay.frames[i].controls) << "frame " << i;
    }
    ASSERT_TRUE(back.hasEnd);
    EXPECT_EQ(sim::snapshotDifferences(replay.end, back.end), "");
    EXPECT_NE(sim::snapshotDifferences(replay.end, sim::Snapshot{}), "");

    // Frame lines are exactly "<dt bits> <flags>".
    const sim::Replay one = sim::parseReplay("3c888889 01000100\n");
    ASSERT_EQ(one.frames.size(), 1u);
    EXPECT_EQ(one.frames[0].dt, frameTime);
    EXPECT_EQ(one.frames[0].controls, flags({LeftForward, RightForward}));
    EXPECT_FALSE(one.hasEnd);
}

TEST(ReplayFormat, MalformedLinesAreRejectedByNumber)
{
    const char* bad[] = {
        "# fine\n3c88888 01000100\n",       // seven hex digits
        "# fine\n3c888889 0100010\n",       // seven flags
        "# fine\n3c888889 01000102\n",      // not a flag
        "# fine\n3c88888g 01000100\n",      // not hex
        "# fine\nend colour 00000000\n",    // unknown key
        "# fine\nend position 00000000\n",  // one coordinate
        "# fine\nend clock 00000000\n",     // the clock is a double
        "# fine\nend items 3 01x\n",
        "# fine\nend items three 0101\n",
        "# fine\nend spin 00000000\n3c888889 01000100\n",  // a frame after the end
    };
    for (const char* text : bad) {
        try {
            sim::parseReplay(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_TRUE(what.find("line 2") != std::string::npos || what.find("line 3") != std::string::npos)
                << what;
        }
    }
}

namespace {

// A run recorded as the game records it, frame by frame beside its World.
RunRecord recordedRun(const LevelDesc& desc, const std::vector<sim::Frame>& frames)
{
    World world(desc);
    RunRecorder recorder(desc);
    for (const sim::Frame& frame : frames) {
        if (world.itemsLeft() == 0)
            break;
        sim::applyFrame(world, frame);
        recorder.addFrame(frame.dt, frame.controls, world.lastStep().itemsTaken, world.runClock());
    }
    return recorder.record();
}

std::vector<unsigned char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// The autopilot's run kept as the player's record: read back as it was written, believed because
// it replays to its time and splits to the bit, and not once any bit of its result is edited.
TEST(PlayerRecord, TheAutopilotsRunIsBelievedOnlyAsItWasRecorded)
{
    const LevelDesc desc = builtinLevel();
    const sim::Replay replay = loadStream(streams[2]);
    const RunRecord run = recordedRun(desc, replay.frames);
    ASSERT_EQ(run.frames.size(), replay.frames.size());
    EXPECT_EQ(run.runTime, replay.end.clock);
    ASSERT_EQ(run.splits.size(), 20u);
    const std::vector<unsigned char> bytes = encodeRecord(run);
    EXPECT_LT(bytes.size(), 16u * 1024u) << "a 37 s run";
    if (recording()) {
        std::ofstream out(dataPath("autopilot.record"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    const std::vector<unsigned char> kept = fileBytes(dataPath("autopilot.record"));
    const std::optional<RunRecord> back = decodeRecord(kept.data(), kept.size());
    ASSERT_TRUE(back);
    RunRecord sameVersion = run;  // the version that wrote it is the file's own
    sameVersion.gameVersion = back->gameVersion;
    EXPECT_EQ(encodeRecord(sameVersion), kept) << "written differently here";
    EXPECT_EQ(back->runTime, run.runTime);
    EXPECT_EQ(back->splits, run.splits);
    EXPECT_TRUE(verifyRecord(*back, desc));

    RunRecord edited = *back;
    edited.runTime = std::nextafter(edited.runTime, 0.0);
    EXPECT_FALSE(verifyRecord(edited, desc)) << "an edited time";
    edited = *back;
    edited.splits[7] = std::nextafter(edited.splits[7], 0.0);
    EXPECT_FALSE(verifyRecord(edited, desc)) << "an edited split";
    edited = *back;
    edited.frames[500].controls[LeftLeft] = !edited.frames[500].controls[LeftLeft];
    EXPECT_FALSE(verifyRecord(edited, desc)) << "another run";
    edited = *back;
    edited.frames.push_back(edited.frames.back());
    EXPECT_FALSE(verifyRecord(edited, desc)) << "frames after the last item";
    LevelDesc moved = desc;
    moved.startX = std::nextafter(moved.startX, 0.0f);
    EXPECT_FALSE(verifyRecord(*back, moved)) << "another store";
}

// The ghost plays the record beside a run of other frame times, never behind the run's clock and
// never a frame ahead of it, and ends exactly where the record's run ended.
TEST(PlayerRecord, TheGhostFollowsTheRunClockAndEndsWhereTheRecordEnded)
{
    const LevelDesc desc = builtinLevel();
    const sim::Replay replay = loadStream(streams[2]);
    const RunRecord run = recordedRun(desc, replay.frames);
    Ghost ghost(run, desc);
    ghost.follow(0.0);
    EXPECT_EQ(ghost.runClock(), 0.0) << "the ghost left before \"SHOP!\"";
    for (double clock = 1.0 / 32.0; clock < run.runTime + 1.0; clock += 1.0 / 32.0) {
        ghost.follow(clock);
        if (clock <= run.runTime) {
            ASSERT_GE(ghost.runClock(), clock);
            ASSERT_LT(ghost.runClock(), clock + static_cast<double>(frameTime) * 1.001);
        }
    }
    EXPECT_EQ(ghost.runClock(), run.runTime);
    const b2Vec2 at = ghost.cart().body().GetPosition();
    EXPECT_EQ(at.x, replay.end.position.x);
    EXPECT_EQ(at.y, replay.end.position.y);
    EXPECT_EQ(ghost.cart().body().GetAngle(), replay.end.angle);
}

// Bytes that are not a whole record of this format are turned down, each for its reason.
TEST(PlayerRecord, TheReaderTurnsDownEveryCutEveryFlippedByteAndLaterFormats)
{
    const LevelDesc desc = builtinLevel();
    const std::vector<unsigned char> bytes = encodeRecord(recordedRun(desc, autopilotFrames()));
    RecordFault fault = RecordFault::none;
    for (std::size_t size = 0; size < bytes.size(); size += 1 + size / 16) {
        EXPECT_FALSE(decodeRecord(bytes.data(), size, &fault)) << size << " bytes";
        EXPECT_TRUE(fault == RecordFault::truncated || fault == RecordFault::corrupted) << size;
    }
    EXPECT_FALSE(decodeRecord(bytes.data(), bytes.size() - 4, &fault));
    EXPECT_EQ(fault, RecordFault::truncated);
    for (std::size_t at = 0; at < bytes.size(); at += 97) {
        std::vector<unsigned char> flipped = bytes;
        flipped[at] ^= 0x10;
        EXPECT_FALSE(decodeRecord(flipped.data(), flipped.size(), &fault)) << "byte " << at;
    }
    std::vector<unsigned char> later = bytes;
    later[8] = static_cast<unsigned char>(recordFormatVersion + 1);
    EXPECT_FALSE(decodeRecord(later.data(), later.size(), &fault));
    EXPECT_EQ(fault, RecordFault::futureFormat);
    std::vector<unsigned char> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(decodeRecord(longer.data(), longer.size(), &fault));
    EXPECT_EQ(fault, RecordFault::corrupted);
    const std::vector<unsigned char> huge(recordSizeLimit + 1, 0);
    EXPECT_FALSE(decodeRecord(huge.data(), huge.size(), &fault));
    EXPECT_EQ(fault, RecordFault::tooLarge);
    EXPECT_TRUE(decodeRecord(bytes.data(), bytes.size(), &fault));
    EXPECT_EQ(fault, RecordFault::none);
}
