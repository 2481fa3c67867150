// The player's record on disk, in a folder of the test's own: believed, written, beaten, set aside
// when it is not a record, kept in memory when the folder cannot be written, and the better of two
// games finishing at once kept. Nothing of the player's own folder is read or written.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/data_file.h"
#include "record/record_keeper.h"
#include "support/small_level.h"
#include "support/temp_dir.h"
#include "world/world.h"

namespace {

// A store whose one item lies under the cart: a run is one frame, its time that frame's.
const SmallLevel oneItem({"xxxxx", "x   x", "x o x", "x   x", "xxxxx"}, 2.5f, 2.5f, 0.0f);

RunRecord runOf(float dt)
{
    World world(oneItem.desc);
    RunRecorder recorder(oneItem.desc);
    world.step(dt);
    recorder.addFrame(dt, world.cart().controls, world.lastStep().itemsTaken, world.runClock());
    return recorder.record();
}

std::vector<unsigned char> bytesAt(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write(const std::filesystem::path& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct Lines {
    std::vector<std::string> said;
    std::function<void(const std::string&)> report()
    {
        return [this](const std::string& line) { said.push_back(line); };
    }
};

}  // namespace

TEST(RecordKeeper, KeepsTheBestRunFromGameToGame)
{
    const TempDir home;
    const std::string folder = home / "data" + std::string(1, pathSeparator) + "shelvoy";
    Lines lines;
    {
        RecordKeeper first(folder, oneItem.desc, lines.report());
        EXPECT_EQ(first.best(), nullptr);
        const RecordKeeper::Outcome outcome = first.offer(runOf(0.03125f));
        EXPECT_TRUE(outcome.newBest);
        EXPECT_FALSE(outcome.hadRecord) << "the first run ever has no best line";
    }
    RecordKeeper second(folder, oneItem.desc, lines.report());
    ASSERT_NE(second.best(), nullptr);
    EXPECT_EQ(second.best()->runTime, 0.03125);
    RecordKeeper::Outcome outcome = second.offer(runOf(0.03125f));
    EXPECT_FALSE(outcome.newBest) << "a tie is no new best";
    EXPECT_EQ(outcome.best, 0.03125);
    outcome = second.offer(runOf(0.0234375f));
    EXPECT_TRUE(outcome.newBest);
    EXPECT_TRUE(outcome.hadRecord);
    EXPECT_EQ(outcome.previous, 0.03125);
    EXPECT_EQ(RecordKeeper(folder, oneItem.desc, lines.report()).best()->runTime, 0.0234375);
    EXPECT_EQ(lines.said, std::vector<std::string>{});
    // Only the record itself is left in the folder (no temporary file).
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    EXPECT_TRUE(names == std::vector<std::string>{recordFileName} ||
                names == (std::vector<std::string>{recordFileName, ".lock"}) ||
                names == (std::vector<std::string>{".lock", recordFileName}));
}

// Each kind of file that is no believable record: set aside under a name of its own with its bytes
// as they were, one line said, and the next record written in its place.
TEST(RecordKeeper, SetsAsideEveryBadFileUnderANameOfItsOwnAndNeverOverIt)
{
    const std::vector<unsigned char> good = encodeRecord(runOf(0.03125f));
    std::vector<unsigned char> corrupted = good;
    corrupted[good.size() / 2] ^= 0x40;
    const std::vector<unsigned char> truncated(good.begin(), good.end() - 3);
    std::vector<unsigned char> future = good;
    future[8] = 2;
    RunRecord editedRun = runOf(0.03125f);
    editedRun.runTime = 0.01;
    editedRun.splits = {0.01};
    const std::vector<unsigned char> edited = encodeRecord(editedRun);
    const std::vector<unsigned char> oversized(recordSizeLimit + 1, 'x');
    const std::vector<std::vector<unsigned char>> bad = {corrupted, truncated, future, edited, oversized};

    const TempDir folder;
    const std::filesystem::path record = folder.path() / recordFileName;
    for (std::size_t k = 0; k < bad.size(); ++k) {
        write(record, bad[k]);
        Lines lines;
        RecordKeeper keeper(folder.path().string(), oneItem.desc, lines.report());
        EXPECT_EQ(keeper.best(), nullptr) << "file " << k;
        ASSERT_EQ(lines.said.size(), 1u) << "file " << k;
        const std::string aside = k == 0 ? "best-run.bad" : "best-run.bad-" + std::to_string(k + 1);
        EXPECT_NE(lines.said[0].find(aside), std::string::npos) << lines.said[0];
        EXPECT_EQ(bytesAt(folder.path() / aside), bad[k]) << "file " << k;
        EXPECT_FALSE(std::filesystem::exists(record)) << "file " << k;
        EXPECT_TRUE(keeper.offer(runOf(0.03125f)).newBest);
        EXPECT_EQ(bytesAt(record), good);
        EXPECT_EQ(lines.said.size(), 1u) << "file " << k;
    }
    // Every file set aside is still there as it was: none was written over.
    for (std::size_t k = 0; k < bad.size(); ++k)
        EXPECT_EQ(
            bytesAt(folder.path() / (k == 0 ? "best-run.bad" : "best-run.bad-" + std::to_string(k + 1))),
            bad[k]);
}

// A folder that cannot be made or written: the record lives for the session, said once.
TEST(RecordKeeper, AFolderThatCannotBeWrittenKeepsTheRecordInMemoryAndSaysSoOnce)
{
    const TempDir home;
    write(home.path() / "data", {'n', 'o', 't'});  // a file where the folder's parent should be
    Lines lines;
    RecordKeeper keeper(home / "data" + std::string(1, pathSeparator) + "shelvoy", oneItem.desc,
                        lines.report());
    EXPECT_TRUE(keeper.offer(runOf(0.03125f)).newBest);
    const RecordKeeper::Outcome better = keeper.offer(runOf(0.0234375f));
    EXPECT_TRUE(better.newBest);
    EXPECT_TRUE(better.hadRecord);
    EXPECT_FALSE(keeper.offer(runOf(0.03125f)).newBest) << "the session's record is kept";
    ASSERT_EQ(lines.said.size(), 1u);
    EXPECT_NE(lines.said[0].find("kept in memory"), std::string::npos) << lines.said[0];
    EXPECT_EQ(bytesAt(home.path() / "data"), (std::vector<unsigned char>{'n', 'o', 't'}));
}

// Two games finishing at once, many times over: the lock keeps the read, the comparison and the
// replacement of one from mixing with the other's, so the faster run is what the folder keeps.
TEST(RecordKeeper, TwoGamesFinishingAtOnceKeepTheBetterRecord)
{
    const TempDir folder;
    const RunRecord slow = runOf(0.03125f), fast = runOf(0.015625f);
    for (int round = 0; round < 20; ++round) {
        std::filesystem::remove(folder.path() / recordFileName);
        RecordKeeper a(folder.path().string(), oneItem.desc), b(folder.path().string(), oneItem.desc);
        std::thread first([&] { a.offer(round % 2 ? slow : fast); });
        std::thread second([&] { b.offer(round % 2 ? fast : slow); });
        first.join();
        second.join();
        const std::vector<unsigned char> kept = bytesAt(folder.path() / recordFileName);
        const std::optional<RunRecord> record = decodeRecord(kept.data(), kept.size());
        ASSERT_TRUE(record) << "round " << round;
        EXPECT_EQ(record->runTime, fast.runTime) << "round " << round;
    }
}
