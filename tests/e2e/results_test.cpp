// The results screen, reached on the one-item store whose item lies under the cart: the first
// play frame takes it, so the results follow the countdown at once.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/fake_pad.h"
#include "support/screen_areas.h"
#include "support/stepped_run.h"
#include "support/temp_dir.h"

using namespace e2e;

namespace {

// The 800x600 results screen: the time line about two thirds up the window, "Enter quits"
// about one third up, nothing between them.
constexpr Rect upperText{0, 140, 800, 120};
constexpr Rect lowerText{0, 340, 800, 120};
constexpr Rect betweenLines{0, 265, 800, 70};
// The scene clear of any text, countdown words included.
constexpr Rect leftStrip{0, 60, 100, 540};
constexpr Rect rightStrip{700, 60, 100, 540};

SteppedOptions oneItemStore()
{
    SteppedOptions options;
    options.store = Store::oneItem;
    return options;
}

bool showsResults(const Image& image)
{
    return whiteIn(image, upperText) > 500 && whiteIn(image, lowerText) > 500 &&
           whiteIn(image, betweenLines) == 0;
}

double sceneBrightness(const Image& image)
{
    return (meanBrightness(image, leftStrip) + meanBrightness(image, rightStrip)) / 2.0;
}

}  // namespace

TEST(ResultsScreen, FollowsTheFrameThatTakesTheLastItemAndShowsTheTimeUntilEnter)
{
    const TimeLimit limit(60);
    SteppedRun run(oneItemStore());
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    const Image countdown = run.shot();

    // The frame in which the last item is taken is drawn in full: the undimmed store, the
    // counters, no results yet. Its clock shows that frame's dt, one step.
    ASSERT_TRUE(run.advance());
    ASSERT_EQ(run.last().itemsLeft, 0);
    EXPECT_EQ(run.last().runClock, frameStep);
    const Image taken = run.shot("last-item-taken.png");
    EXPECT_NEAR(sceneBrightness(taken) / sceneBrightness(countdown), 1.0, 0.05);
    EXPECT_GT(whiteIn(taken, itemsCounterArea), 300);
    EXPECT_FALSE(showsResults(taken));

    // The next frame is the results screen: the same still scene at half brightness, the time
    // frozen.
    ASSERT_TRUE(run.advance());
    const Image results = run.shot("results.png");
    ASSERT_TRUE(showsResults(results));
    EXPECT_NEAR(sceneBrightness(results) / sceneBrightness(taken), 0.5, 0.08);
    ASSERT_TRUE(run.advance(3));
    EXPECT_EQ(run.last().runClock, frameStep);
    const Image later = run.shot();
    EXPECT_EQ(changedShare(results, later, later.whole()), 0.0) << "the results screen is not still";

    // Two centred lines: "Time: 0:00.031" (14 letters of the fixed-pitch font at 66 points)
    // two thirds up, "Enter quits" (11 letters) one third up.
    const Rect time = boundsOf(results, upperText, white, textTolerance);
    const Rect enter = boundsOf(results, lowerText, white, textTolerance);
    EXPECT_NEAR(time.x + time.width / 2.0, 400.0, 12.0);
    EXPECT_NEAR(enter.x + enter.width / 2.0, 400.0, 12.0);
    EXPECT_NEAR(time.y + time.height / 2.0, 600.0 / 3.0, 25.0);
    EXPECT_NEAR(enter.y + enter.height / 2.0, 2.0 * 600.0 / 3.0, 25.0);
    EXPECT_NEAR(time.width / static_cast<double>(enter.width), 14.0 / 11.0, 0.08);

    // The keys still work under the results: F3 switches to the overhead view at the next frame.
    run.x.tapKey(XK_F3);
    ASSERT_TRUE(run.advance());
    const Image overhead = run.shot("results-overhead.png");
    EXPECT_GT(changedShare(results, overhead, leftStrip), 0.2) << "F3 did not switch the view";
    EXPECT_TRUE(showsResults(overhead));

    // A resized window keeps the text size and centres the lines on the new size.
    run.x.resize(run.window, 640, 480);
    ASSERT_TRUE(run.advance(2));
    const Image small = run.shot();
    const Rect smallTime = boundsOf(small, Rect{0, 100, 640, 120}, white, textTolerance);
    EXPECT_NEAR(smallTime.width, time.width, 2);
    EXPECT_NEAR(smallTime.x + smallTime.width / 2.0, 320.0, 12.0);
    EXPECT_NEAR(smallTime.y + smallTime.height / 2.0, 480.0 / 3.0, 25.0);
    run.x.resize(run.window, 800, 600);

    // The key pad's Enter is another key.
    {
        const XClient::Hold keypad = run.x.hold({XK_KP_Enter});
        ASSERT_TRUE(run.advance(4)) << "keypad Enter ended the results screen";
    }
    EXPECT_TRUE(showsResults(run.shot()));

    EXPECT_EQ(run.quitWith(XK_Return), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(ResultsScreen, ShowsTheTimeWhenTheFontFileWentAwayDuringTheRun)
{
    const TimeLimit limit(60);
    const TempDir work;
    std::filesystem::copy_file(runDirectory() + "/Receipt.ttf", work / "Receipt.ttf");
    SteppedOptions options = oneItemStore();
    options.workingDirectory = work.path().string();
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    std::filesystem::remove(work / "Receipt.ttf");  // a package upgrade or removal, say

    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance(2)) << run.game.stderrText();
    EXPECT_TRUE(showsResults(run.shot()));
    EXPECT_EQ(run.quitWith(XK_Return), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(ResultsScreen, StartedInATinyWindowItsTimeIsLegibleOnceTheWindowIsLargeAgain)
{
    const TimeLimit limit(60);
    SteppedRun run(oneItemStore());
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    run.x.resize(run.window, 40, 30);  // the results' face size would be 40 / 12 = 3
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance(2));
    run.x.resize(run.window, 800, 600);
    ASSERT_TRUE(run.advance(2));
    const Image results = run.shot();
    EXPECT_TRUE(showsResults(results));
    EXPECT_GT(boundsOf(results, upperText, white, textTolerance).width, 400) << "the time is still tiny";
    EXPECT_EQ(run.quitWith(XK_Return), 0);
}

TEST(ResultsScreen, EnterHeldSinceTheCountdownSkipsIt)
{
    const TimeLimit limit(60);
    SteppedRun run(oneItemStore());
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.advance(wordFrames));
    const XClient::Hold enter = run.x.hold({XK_Return});
    ASSERT_TRUE(run.finishCountdown()) << "Enter ended the countdown";
    ASSERT_TRUE(run.advance());
    EXPECT_EQ(run.last().itemsLeft, 0);

    // Not one results frame: the game ends straight after the frame that took the item.
    EXPECT_FALSE(run.advance()) << "a results frame was drawn";
    EXPECT_EQ(run.game.waitFor(Seconds(5.0)), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

// Some keyboards (on-screen ones, remote desktops, xdotool) send a key's press and release at once:
// both reach the game within one event processing, which leaves the key up.
TEST(ResultsScreen, EnterPressedAndReleasedBetweenTwoFramesLeavesItButNotOneFromPlay)
{
    const TimeLimit limit(60);
    SteppedRun run(oneItemStore());
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance());
    ASSERT_EQ(run.last().itemsLeft, 0);
    const KeyCode enter = run.x.keycode(XK_Return);
    run.x.press(enter);  // read with the events of the frame that took the last item
    run.x.release(enter);
    ASSERT_TRUE(run.advance(2)) << "an Enter tapped in play skipped the results";
    ASSERT_TRUE(showsResults(run.shot()));

    run.x.press(enter);
    run.x.release(enter);
    EXPECT_FALSE(run.advance()) << "the results screen drew another frame after Enter";
    EXPECT_EQ(run.game.waitFor(Seconds(5.0)), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

// The pad's A and Start play again only when pressed on the results screen: held as the last item
// is taken, or held by a pad plugged in there, they leave the time on screen.
TEST(ResultsScreen, APadButtonHeldAsItOpensOrByAPadJustPluggedInLeavesTheTimeOnScreen)
{
    const TimeLimit limit(60);
    FakePad pad;
    SteppedOptions options = oneItemStore();
    options.environment = pad.environment();
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    pad.press(PadButton::a);
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance());
    ASSERT_EQ(run.last().itemsLeft, 0);
    ASSERT_TRUE(run.advance(2)) << "A held as the last item was taken skipped the results";
    EXPECT_TRUE(showsResults(run.shot()));

    pad.pullOut();  // gone while the game reads it
    ASSERT_TRUE(run.advance(2));
    pad.plugIn();
    pad.press(PadButton::start);
    ASSERT_TRUE(run.advance(2)) << "Start held by a pad just plugged in skipped the results";
    pad.release(PadButton::start);
    ASSERT_TRUE(run.advance());
    EXPECT_TRUE(showsResults(run.shot()));

    pad.press(PadButton::start);
    ASSERT_TRUE(run.advance(2)) << "Start pressed on the results screen ended the game";
    EXPECT_EQ(run.last().itemsLeft, 1) << "Start pressed on the results screen did not play again";
    EXPECT_GT(whiteIn(run.shot(), countdownArea), 3000) << "no countdown";
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

// Space on the results screen: a new run from a fresh World, its countdown from "3"; its results
// show the record under the time. The first run ever has no best line; the record is on disk.
TEST(ResultsScreen, SpacePlaysAgainAndTheNextResultsShowTheBest)
{
    const TimeLimit limit(60);
    SteppedRun run(oneItemStore());
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance(2));
    const double firstTime = run.last().runClock;
    const Image first = run.shot();
    ASSERT_TRUE(showsResults(first));
    EXPECT_TRUE(std::filesystem::is_regular_file(run.dataHome / "shelvoy/best-run"));

    // Space held through the results' frames: one new run, not one a frame.
    {
        const XClient::Hold space = run.x.hold({XK_space});
        ASSERT_TRUE(run.advance());
        const long countdownStart = run.last().frame;
        EXPECT_EQ(run.last().itemsLeft, 1) << "the item is not back";
        EXPECT_EQ(run.last().runClock, 0.0);
        EXPECT_EQ(run.last().cartX, run.reports()[0].cartX);
        EXPECT_GT(whiteIn(run.shot(), countdownArea), 3000) << "no countdown";
        ASSERT_TRUE(run.advance(countdownFrames - 1));
        EXPECT_EQ(run.last().itemsLeft, 1) << "the countdown was cut short";
        EXPECT_EQ(run.last().frame, countdownStart + countdownFrames - 1);
    }
    ASSERT_TRUE(run.advance());  // the same time as the first run's: no new best
    ASSERT_EQ(run.last().itemsLeft, 0);
    EXPECT_EQ(run.last().runClock, firstTime);
    ASSERT_TRUE(run.advance());
    const Image same = run.shot("results-best.png");
    EXPECT_GT(whiteIn(same, upperText), 500);
    EXPECT_GT(whiteIn(same, betweenLines), 500) << "no best line";
    EXPECT_EQ(changedShare(first, same, upperText), 0.0) << "another time";

    // Faster: a new best, and the line says by how much.
    run.x.tapKey(XK_space);
    ASSERT_TRUE(run.advance());
    ASSERT_TRUE(run.advance(countdownFrames - 1));
    ASSERT_TRUE(run.advance(1, frameStep / 2));
    ASSERT_LT(run.last().runClock, firstTime);
    ASSERT_TRUE(run.advance());
    const Image better = run.shot("results-new-best.png");
    EXPECT_GT(changedShare(same, better, betweenLines), 0.01) << "the best line did not change";
    EXPECT_EQ(run.quitWith(XK_Return), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

namespace {

class QuittingResults : public ::testing::TestWithParam<KeySym> {};

}  // namespace

TEST_P(QuittingResults, EndsTheGameWithExitCodeZero)
{
    const TimeLimit limit(60);
    SteppedRun run(oneItemStore());
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance(2));
    ASSERT_TRUE(showsResults(run.shot()));
    EXPECT_EQ(run.quitWith(GetParam()), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

INSTANTIATE_TEST_SUITE_P(QuitKeysAndClose, QuittingResults,
                         ::testing::Values(XK_Escape, XK_q, XK_x, NoSymbol),
                         [](const ::testing::TestParamInfo<KeySym>& info) -> std::string {
                             return info.param == XK_Escape ? "Escape"
                                    : info.param == XK_q    ? "Q"
                                    : info.param == XK_x    ? "X"
                                                            : "CloseRequest";
                         });

// A record file that is no record, and a data folder that cannot be made: the game plays on to its
// results as always, says so in one line on stderr, and leaves the old bytes where they can be
// found.
TEST(ResultsScreen, ABadRecordOrAnUnwritableFolderIsOneLineOnStderrAndTheGamePlaysOn)
{
    const TimeLimit limit(60);
    for (const bool unwritable : {false, true}) {
        const TempDir data;
        const std::vector<char> bad = {'S', 'H', 'E', 'L', 'V', 'O', 'Y', 'R', 1, 0, 0};  // cut short
        const std::filesystem::path kept =
            unwritable ? data.path() / "home" : data.path() / "shelvoy" / "best-run";
        if (!unwritable)
            std::filesystem::create_directories(kept.parent_path());
        std::ofstream(kept, std::ios::binary).write(bad.data(), static_cast<std::streamsize>(bad.size()));
        SteppedOptions options = oneItemStore();
        options.environment = {"XDG_DATA_HOME=" +
                               (unwritable ? (data.path() / "home").string() : data.path().string())};
        SteppedRun run(options);
        ASSERT_TRUE(run.start()) << run.game.stderrText();
        ASSERT_TRUE(run.finishCountdown());
        ASSERT_TRUE(run.advance(2));
        EXPECT_TRUE(showsResults(run.shot())) << unwritable;
        EXPECT_EQ(run.quitWith(XK_Return), 0);
        const std::string said = run.game.stderrText();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(unwritable ? "kept in memory" : "set aside as best-run.bad"), std::string::npos)
            << said;
        const std::filesystem::path aside = unwritable ? kept : data.path() / "shelvoy" / "best-run.bad";
        std::ifstream in(aside, std::ios::binary);
        EXPECT_EQ(std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                  bad);
        EXPECT_EQ(std::filesystem::is_regular_file(data.path() / "shelvoy" / "best-run"), !unwritable)
            << "no new record";
    }
}
