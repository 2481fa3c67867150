// Leak checks of the real game under LeakSanitizer (built only with SHELVOY_SANITIZE): play
// quit with Esc, and whole runs through the results screen to the normal shutdown. The game's
// own allocations must all be released or still reachable at exit.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/stepped_run.h"

using namespace e2e;

namespace {

// The blocks of a LeakSanitizer report ("Direct leak of ..." with their stack frames).
std::vector<std::string> leakBlocks(const std::string& report)
{
    std::vector<std::string> blocks;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("leak of") != std::string::npos)
            blocks.push_back(line + "\n");
        else if (!blocks.empty() && line.find("    #") == 0)
            blocks.back() += line + "\n";
    }
    return blocks;
}

// A leak is the game's own when a frame of its allocation stack (past the allocator itself,
// frame #0) is in the game's sources. Frames in Mesa's software rasteriser show as
// "<unknown module>" once glfwTerminate has unloaded the driver; those, and frames in the
// system's libraries, are not ours.
bool isOurs(const std::string& block)
{
    std::istringstream lines(block);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("    #0 ") == 0 || line.find("    #") != 0)
            continue;
        for (const char* dir : {"/src/main/", "/src/world/", "/src/cart/", "/src/render/", "/src/platform/",
                                "/src/record/", "/src/sound/"})
            if (line.find(dir) != std::string::npos)
                return true;
    }
    return false;
}

class LeakCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Leaks are reported, not turned into an exit code: the test reads the report.
        setenv("ASAN_OPTIONS", "detect_leaks=1:exitcode=0:abort_on_error=0", 1);
    }
};

}  // namespace

TEST_F(LeakCheck, PlayWithTheOverlayAndBothViewsThenEsc)
{
    const TimeLimit limit(60);
    SteppedRun run;
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    {
        auto drive = run.x.hold({XK_e, XK_i});
        ASSERT_TRUE(run.advance(64));
    }
    run.x.tapKey(XK_F1);
    run.x.tapKey(XK_F3);
    {
        auto turn = run.x.hold({XK_e, XK_k});
        ASSERT_TRUE(run.advance(64));
    }
    const std::optional<int> status = run.quitWith(XK_Escape, Seconds(20.0));
    ASSERT_TRUE(status.has_value()) << "still running after Esc";
    EXPECT_EQ(*status, 0);
    const std::string report = run.game.stderrText();
    EXPECT_EQ(report.find("ERROR: LeakSanitizer"), std::string::npos) << report;
    EXPECT_EQ(report.find("ERROR: AddressSanitizer"), std::string::npos) << report;
}

// Runs again and again (Space from the results, the record's ghost in the next, Backspace in its
// countdown), then the normal shutdown.
TEST_F(LeakCheck, WholeRunsAgainAndAgainToTheNormalShutdown)
{
    const TimeLimit limit(60);
    SteppedOptions options;
    options.store = Store::oneItem;
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance(3));  // the one item went in the first play frame; these are results
    run.x.tapKey(XK_space);
    ASSERT_TRUE(run.advance(10));
    run.x.tapKey(XK_BackSpace);
    ASSERT_TRUE(run.advance(countdownFrames + 3));
    ASSERT_EQ(run.last().itemsLeft, 0);
    const std::optional<int> status = run.quitWith(XK_Return, Seconds(20.0));
    ASSERT_TRUE(status.has_value()) << "still running after Enter";
    EXPECT_EQ(*status, 0);
    const std::string report = run.game.stderrText();
    EXPECT_EQ(report.find("ERROR: AddressSanitizer"), std::string::npos) << report;
    for (const std::string& block : leakBlocks(report))
        EXPECT_FALSE(isOurs(block)) << block;
}
