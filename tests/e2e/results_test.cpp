// The results screen, reached on a one-item store whose item lies under the cart: the first
// play frame takes it, so the results follow the countdown at once.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <optional>

#include "support/game_run.h"
#include "support/screen_areas.h"

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

GameOptions oneItemStore()
{
    GameOptions options;
    options.program = oneItemGamePath();
    return options;
}

bool showsResults(const Image& image)
{
    return whiteIn(image, upperText) > 500 && whiteIn(image, lowerText) > 500 &&
           whiteIn(image, betweenLines) == 0;
}

// Screenshots from the end of the countdown until the results show or `until` has passed.
std::optional<Image> waitForResults(GameRun& run, double until = 6.0)
{
    run.sleepUntil(3.9);
    while (run.sinceCountdown() < until) {
        Image image = run.shot();
        if (showsResults(image))
            return image;
        waitSeconds(0.03);
    }
    return std::nullopt;
}

double sceneBrightness(const Image& image)
{
    return (meanBrightness(image, leftStrip) + meanBrightness(image, rightStrip)) / 2.0;
}

}  // namespace

TEST(ResultsScreen, ShowsTheTimeOverTheDimmedStoreUntilEnter)
{
    const TimeLimit limit(30);
    GameRun run(oneItemStore());
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();
    run.sleepUntil(1.5);
    const Image countdown = run.shot();

    const std::optional<Image> results = waitForResults(run);
    ASSERT_TRUE(results.has_value()) << "no results screen after the countdown";
    saveScreenshot(*results, "results.png");
    EXPECT_LT(run.sinceCountdown(), 5.0) << "the results came late";

    // The same still scene at half brightness.
    EXPECT_NEAR(sceneBrightness(*results) / sceneBrightness(countdown), 0.5, 0.08);

    // Two centred lines: "Time: 0:00.0xx" (14 letters of the fixed-pitch font at 66 points)
    // two thirds up, "Enter quits" (11 letters) one third up.
    const Rect time = boundsOf(*results, upperText, white, textTolerance);
    const Rect enter = boundsOf(*results, lowerText, white, textTolerance);
    EXPECT_NEAR(time.x + time.width / 2.0, 400.0, 12.0);
    EXPECT_NEAR(enter.x + enter.width / 2.0, 400.0, 12.0);
    EXPECT_NEAR(time.y + time.height / 2.0, 600.0 / 3.0, 25.0);
    EXPECT_NEAR(enter.y + enter.height / 2.0, 2.0 * 600.0 / 3.0, 25.0);
    EXPECT_NEAR(time.width / static_cast<double>(enter.width), 14.0 / 11.0, 0.08);

    // The keys still work under the results: F3 switches to the overhead view.
    run.x.tapKey(XK_F3);
    waitSeconds(0.25);
    const Image overhead = run.shot("results-overhead.png");
    EXPECT_GT(changedShare(*results, overhead, leftStrip), 0.2) << "F3 did not switch the view";
    EXPECT_TRUE(showsResults(overhead));

    // A resized window keeps the text size and centres the lines on the new size.
    run.x.resize(run.window, 640, 480);
    waitSeconds(0.3);
    const Image small = run.shot();
    const Rect smallTime = boundsOf(small, Rect{0, 100, 640, 120}, white, textTolerance);
    EXPECT_NEAR(smallTime.width, time.width, 2);
    EXPECT_NEAR(smallTime.x + smallTime.width / 2.0, 320.0, 12.0);
    EXPECT_NEAR(smallTime.y + smallTime.height / 2.0, 480.0 / 3.0, 25.0);
    run.x.resize(run.window, 800, 600);

    // The key pad's Enter is another key.
    {
        const XClient::Hold keypad = run.x.hold({XK_KP_Enter});
        waitSeconds(0.4);
    }
    ASSERT_TRUE(run.game.running()) << "keypad Enter ended the results screen";
    EXPECT_TRUE(showsResults(run.shot()));

    EXPECT_EQ(run.quitWith(XK_Return), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(ResultsScreen, EnterHeldSinceTheCountdownSkipsIt)
{
    const TimeLimit limit(30);
    GameRun run(oneItemStore());
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();
    run.sleepUntil(1.0);
    const XClient::Hold enter = run.x.hold({XK_Return});
    run.sleepUntil(3.5);
    ASSERT_TRUE(run.game.running()) << "Enter ended the countdown";

    const std::optional<int> status = run.game.waitFor(Seconds(6.0 - run.sinceCountdown()));
    ASSERT_TRUE(status.has_value()) << "Enter held down did not end the game after the countdown";
    EXPECT_EQ(*status, 0);
    EXPECT_GT(run.sinceCountdown(), 3.8);
    EXPECT_LT(run.sinceCountdown(), 4.8) << "the game did not end right after the countdown";
    EXPECT_EQ(run.game.stderrText(), "");
}

namespace {

class QuittingResults : public ::testing::TestWithParam<KeySym> {};

}  // namespace

TEST_P(QuittingResults, EndsTheGameWithExitCodeZero)
{
    const TimeLimit limit(30);
    GameRun run(oneItemStore());
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();
    ASSERT_TRUE(waitForResults(run).has_value()) << "no results screen after the countdown";
    EXPECT_EQ(run.quitWith(GetParam()), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

INSTANTIATE_TEST_SUITE_P(QuitKeys, QuittingResults, ::testing::Values(XK_Escape, XK_q, XK_x),
                         [](const ::testing::TestParamInfo<KeySym>& info) -> std::string {
                             return info.param == XK_Escape ? "Escape" : info.param == XK_q ? "Q" : "X";
                         });
