#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "platform/data_file.h"
#include "support/temp_dir.h"

TEST(DataFile, WorkingDirectoryFirstThenBesideTheExecutable)
{
    const std::string bin = std::string("shelvoy") + pathSeparator + "bin";
    const auto candidates = dataFileCandidates("Receipt.ttf", bin);
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], "Receipt.ttf");
    EXPECT_EQ(candidates[1], bin + pathSeparator + "Receipt.ttf");
    EXPECT_EQ(candidates[2], bin + pathSeparator + dataDirFromExecutable + pathSeparator + "Receipt.ttf");
    EXPECT_EQ(dataFileCandidates("Receipt.ttf", std::string(1, pathSeparator)).at(1),
              pathSeparator + std::string("Receipt.ttf"));
    EXPECT_EQ(dataFileCandidates("Receipt.ttf", "").size(), 1u);
}

TEST(DataFile, FindsAnExistingFileAndReportsEveryPlaceTried)
{
    const TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());

    std::vector<std::string> tried;
    EXPECT_EQ(findDataFile("shelvoy-test-file.bin", &tried), "");
    EXPECT_EQ(tried.size(), 3u);
    std::ofstream("shelvoy-test-file.bin") << "x";
    EXPECT_EQ(findDataFile("shelvoy-test-file.bin"), "shelvoy-test-file.bin");

    std::filesystem::current_path(previous);
}

TEST(Clock, MonotonicSecondsNeverGoBack)
{
    const double a = monotonicSeconds();
    const double b = monotonicSeconds();
    EXPECT_GT(a, 0.0);
    EXPECT_GE(b, a);
}
