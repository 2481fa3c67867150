#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "platform/data_file.h"

TEST(DataFile, WorkingDirectoryFirstThenBesideTheExecutable)
{
    const auto candidates = dataFileCandidates("Receipt.ttf", "/opt/shelvoy/bin");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], "Receipt.ttf");
    EXPECT_EQ(candidates[1], "/opt/shelvoy/bin/Receipt.ttf");
    EXPECT_EQ(candidates[2], std::string("/opt/shelvoy/bin/") + dataDirFromExecutable + "/Receipt.ttf");
    EXPECT_EQ(dataFileCandidates("Receipt.ttf", "/").at(1), "/Receipt.ttf");
    EXPECT_EQ(dataFileCandidates("Receipt.ttf", "").size(), 1u);
}

TEST(DataFile, ExecutableDirIsWhereThisTestRuns)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    const std::string path(self, static_cast<size_t>(n));
    EXPECT_EQ(executableDir(), path.substr(0, path.rfind('/')));
}

TEST(DataFile, FindsAReadableFileAndReportsEveryPlaceTried)
{
    char previous[PATH_MAX];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    char dir[] = "/tmp/shelvoy-data-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(chdir(dir), 0);

    std::vector<std::string> tried;
    EXPECT_EQ(findDataFile("shelvoy-test-file.bin", &tried), "");
    EXPECT_EQ(tried.size(), 3u);
    std::ofstream("shelvoy-test-file.bin") << "x";
    EXPECT_EQ(findDataFile("shelvoy-test-file.bin"), "shelvoy-test-file.bin");

    std::remove("shelvoy-test-file.bin");
    ASSERT_EQ(chdir(previous), 0);
    rmdir(dir);
}

TEST(Clock, MonotonicSecondsNeverGoBack)
{
    const double a = monotonicSeconds();
    const double b = monotonicSeconds();
    EXPECT_GT(a, 0.0);
    EXPECT_GE(b, a);
}
