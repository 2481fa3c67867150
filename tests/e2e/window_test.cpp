// The window: resizable down to one pixel and back and up to 1920x1080, the counters following its
// edges; minimised and restored; twice as large, counters and all, on a 2x screen.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "support/screen_areas.h"
#include "support/stepped_run.h"

using namespace e2e;

namespace {

// Gaps between the run clock's white letters and the window's right and top edges.
struct ClockGaps {
    int right;
    int top;
};

ClockGaps clockGaps(const Image& image)
{
    const Rect corner{image.width - 240, 0, 240, 56};
    const Rect letters = boundsOf(image, corner, white, textTolerance);
    if (letters.width == 0)
        return {-1, -1};
    return {image.width - (letters.x + letters.width), letters.y};
}

}  // namespace

TEST(Window, ResizedToOnePixelAndBackOrMinimisedKeepsRunningWithCountersAtTheEdges)
{
    const TimeLimit limit(60);
    SteppedOptions options;
    options.screen = "1920x1080x24";
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();

    // The clock ends a third of an em (10.7 px) from the right edge, its letters a little inside.
    const ClockGaps start = clockGaps(run.shot());
    EXPECT_GE(start.right, 8);
    EXPECT_LE(start.right, 16);
    EXPECT_GE(start.top, 8);
    EXPECT_LE(start.top, 24);

    run.x.resize(run.window, 1, 1);
    ASSERT_TRUE(run.advance(3)) << run.game.stderrText();

    run.x.resize(run.window, 800, 600);
    ASSERT_TRUE(run.advance(2));
    const Image back = run.shot("resized-back-800x600.png");
    const ClockGaps restored = clockGaps(back);
    EXPECT_NEAR(restored.right, start.right, 1);
    EXPECT_NEAR(restored.top, start.top, 1);
    EXPECT_GT(whiteIn(back, itemsCounterArea), 300);

    run.x.resize(run.window, 640, 480);
    ASSERT_TRUE(run.advance(2));
    const Image small = run.shot("resized-640x480.png");
    ASSERT_EQ(small.width, 640);
    ASSERT_EQ(small.height, 480);
    const ClockGaps smaller = clockGaps(small);
    EXPECT_NEAR(smaller.right, start.right, 1);
    EXPECT_NEAR(smaller.top, start.top, 1);
    EXPECT_GT(whiteIn(small, itemsCounterArea), 300);
    // The countdown digit is centred on the new size.
    const Rect digit = boundsOf(small, Rect{100, 60, 440, 420}, white, textTolerance);
    EXPECT_NEAR(digit.x + digit.width / 2.0, 320.0, 20.0);
    EXPECT_NEAR(digit.y + digit.height / 2.0, 240.0, 60.0);

    // Into play at the new size; nothing has complained.
    ASSERT_TRUE(run.finishCountdown());
    ASSERT_TRUE(run.advance(40));
    const Image play = run.shot("resized-play-640x480.png");
    EXPECT_NEAR(clockGaps(play).right, start.right, 3);  // the last digit now varies

    // Minimised, the game goes on frame by frame as before, clock and all; restored, it shows.
    run.x.minimise(run.window);
    const FrameReport before = run.last();
    ASSERT_TRUE(run.advance(32));
    EXPECT_EQ(run.last().runClock, before.runClock + 32 * frameStep);
    run.x.restore(run.window);
    ASSERT_TRUE(run.advance(2));
    EXPECT_GT(changedShare(play, run.shot(), clockArea), 0.0) << "the restored window shows the old clock";

    // Full HD, turning (E alone pushes the left end of the handle), in both views.
    run.x.resize(run.window, 1920, 1080);
    {
        const XClient::Hold turning = run.x.hold({XK_e});
        ASSERT_TRUE(run.advance(24));
    }
    const Image large = run.shot("play-chase-1920x1080.png");
    ASSERT_EQ(large.width, 1920);
    ASSERT_EQ(large.height, 1080);
    EXPECT_NEAR(clockGaps(large).right, start.right, 3);
    run.x.tapKey(XK_F3);
    ASSERT_TRUE(run.advance());
    run.shot("play-overhead-1920x1080.png");
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(Window, OnA2xScreenEverythingIsTwiceAsLargeAndOnANonsenseScaleAsUsual)
{
    const TimeLimit limit(60);
    int countersHeight = 0;
    ClockGaps gaps{};
    {
        SteppedRun run;
        ASSERT_TRUE(run.start()) << run.game.stderrText();
        const Image normal = run.shot();
        countersHeight = boundsOf(normal, itemsCounterArea, white, textTolerance).height;
        gaps = clockGaps(normal);
        EXPECT_EQ(run.quitWith(XK_Escape), 0);
    }

    // GLFW takes the content scale from Xft.dpi, as desktops set it for a 2x screen.
    SteppedOptions options;
    options.screen = "2048x1536x24";
    options.resources = "Xft.dpi: 192";
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    EXPECT_EQ(run.x.size(run.window), std::make_pair(1600, 1200));
    const Image large = run.shot("countdown-2x.png");
    const Rect counters = boundsOf(large, Rect{0, 0, 640, 112}, white, textTolerance);
    EXPECT_NEAR(counters.height, 2 * countersHeight, 2);
    const ClockGaps largeGaps = clockGaps(large);
    EXPECT_NEAR(largeGaps.right, 2 * gaps.right, 3);
    EXPECT_NEAR(largeGaps.top, 2 * gaps.top, 3);
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");

    // An Xft.dpi that means no scale at all gives the ordinary window, not a 0x0 one.
    for (const char* dpi : {"0", "abc", "-96"}) {
        SteppedOptions nonsense;
        nonsense.resources = std::string("Xft.dpi: ") + dpi;
        SteppedRun broken(nonsense);
        ASSERT_TRUE(broken.start()) << dpi << ": " << broken.game.stderrText();
        EXPECT_EQ(broken.x.size(broken.window), std::make_pair(800, 600)) << dpi;
        EXPECT_NEAR(boundsOf(broken.shot(), itemsCounterArea, white, textTolerance).height, countersHeight, 1)
            << dpi;
        EXPECT_EQ(broken.quitWith(XK_Escape), 0) << dpi;
        EXPECT_EQ(broken.game.stderrText(), "") << dpi;
    }
}

// F11 and Alt+Enter fill the screen the window is on and give the window back where it stood, with
// a window manager (which is asked) and without one (GLFW covers the screen itself); the counters
// keep to the corners of whatever the window is.
TEST(Window, F11AndAltEnterFillTheScreenAndGiveTheWindowBackWhereItWas)
{
    const TimeLimit limit(60);
    for (const bool managed : {false, true}) {
        SteppedOptions options;
        if (managed)
            options.windowManager = "/usr/bin/openbox";
        SteppedRun run(options);
        ASSERT_TRUE(run.start()) << run.game.stderrText();
        const auto size = run.x.size(run.window);
        const auto place = run.x.position(run.window);
        const ClockGaps gaps = clockGaps(run.shot());
        ASSERT_EQ(size, std::make_pair(800, 600));

        // The window manager answers in its own time: frames go on until the window has the
        // geometry asked for, for up to ten seconds, then two more so the game draws at its size.
        const auto advanceUntil = [&](std::pair<int, int> wantedSize, std::pair<int, int> wantedPlace) {
            const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(10);
            do {
                if (!run.advance())
                    return false;
            } while ((run.x.size(run.window) != wantedSize || run.x.position(run.window) != wantedPlace) &&
                     Clock::now() < giveUp);
            return run.advance(2);
        };
        for (const bool altEnter : {false, true}) {
            const auto toggle = [&] {
                if (!altEnter) {
                    run.x.tapKey(XK_F11);
                    return;
                }
                const XClient::Hold alt = run.x.hold({XK_Alt_L});
                run.x.tapKey(XK_Return);
            };
            toggle();
            ASSERT_TRUE(advanceUntil({1024, 768}, {0, 0})) << run.game.stderrText();
            EXPECT_EQ(run.x.size(run.window), std::make_pair(1024, 768)) << managed << altEnter;
            EXPECT_EQ(run.x.position(run.window), std::make_pair(0, 0)) << managed << altEnter;
            const ClockGaps full = clockGaps(run.shot(managed ? "fullscreen-managed.png" : "fullscreen.png"));
            EXPECT_NEAR(full.right, gaps.right, 1);
            EXPECT_NEAR(full.top, gaps.top, 1);

            toggle();
            ASSERT_TRUE(advanceUntil(size, place));
            EXPECT_EQ(run.x.size(run.window), size) << managed << altEnter;
            EXPECT_EQ(run.x.position(run.window), place) << managed << altEnter;
        }
        EXPECT_EQ(run.last().runClock, 0.0) << "Alt+Enter left the countdown";
        EXPECT_EQ(run.quitWith(XK_Escape), 0);
        EXPECT_EQ(run.game.stderrText(), "");
    }
}
