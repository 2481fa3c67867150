#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "main/frame_pacer.h"
#include "main/frame_timer.h"
#include "main/refresh_rate.h"
#include "main/screen_layout.h"
#include "main/shell.h"

namespace {

// Scripted clock readings for the frame timer.
const double* readings = nullptr;
double nextReading() { return *readings++; }

}  // namespace

TEST(FrameTimer, ClampsAndAlwaysMovesOnToTheNewReading)
{
    const double script[] = {100.0, 100.000004, 100.200004, 100.100004, 100.110004, 100.110004};
    readings = script;
    FrameTimer timer;

    const float first = nextFrameTime(timer, nextReading);  // two readings, microseconds apart
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 0.0001f);
    EXPECT_EQ(nextFrameTime(timer, nextReading), 0.033333335f);  // a 0.2 s frame
    EXPECT_EQ(timer.previous, 100.200004);
    EXPECT_EQ(nextFrameTime(timer, nextReading), 0.0f);  // the clock went backwards
    EXPECT_EQ(timer.previous, 100.100004);
    EXPECT_NEAR(nextFrameTime(timer, nextReading), 0.01f, 1e-6);
    EXPECT_EQ(nextFrameTime(timer, nextReading), 0.0f);
    EXPECT_EQ(readings, script + 6);
    EXPECT_EQ(maxFrameTime, static_cast<float>(1.0 / 30.0));

    // A reading that is no number, or infinite, passes no time and poisons nothing after it.
    const double broken[] = {std::nan(""), INFINITY, 100.120004};
    readings = broken;
    EXPECT_EQ(nextFrameTime(timer, nextReading), 0.0f);
    EXPECT_EQ(nextFrameTime(timer, nextReading), 0.0f);
    EXPECT_NEAR(nextFrameTime(timer, nextReading), 0.01f, 1e-6);
}

TEST(FramePacer, HoldsASwapThatDoesNotWaitToTheRefreshRateAndMakesUpNoSlowFrame)
{
    EXPECT_EQ(refreshPeriod(0), 1.0 / 60.0);  // a display that does not tell
    EXPECT_EQ(refreshPeriod(-1), 1.0 / 60.0);
    EXPECT_EQ(refreshPeriod(144), 1.0 / 144.0);
    EXPECT_EQ(refreshPeriod(30), 1.0 / 30.0);
    EXPECT_EQ(refreshPeriod(1), 1.0 / 30.0);  // pacing slower than 30 Hz would slow the game down
    EXPECT_EQ(refreshPeriod(29), 1.0 / 30.0);
    const double period = 1.0 / 60.0;
    const double interval = pacedFrameInterval(period);
    EXPECT_NEAR(interval, period * 31 / 32, 1e-15);

    // A swap that returns at once after 5 ms of drawing (or a minimised window, where nothing is
    // drawn): every frame after the first starts one paced interval after the one before, 62 a
    // second at 60 Hz.
    FramePacer pacer;
    double now = 10.0;
    double previous = nextFrameStart(pacer, now);
    int frames = 1;
    while (previous < 11.0) {
        now = previous + 0.005;
        const double start = nextFrameStart(pacer, now);
        EXPECT_NEAR(start - previous, interval, 1e-12);
        previous = start;
        ++frames;
    }
    EXPECT_EQ(frames, 63);

    // A slow frame is made up for by no more than a quarter of an interval.
    now = pacer.mark + 0.05;
    EXPECT_EQ(nextFrameStart(pacer, now), now);
    EXPECT_NEAR(nextFrameStart(pacer, now + 0.001), now + 0.75 * interval, 1e-12);
    EXPECT_NEAR(nextFrameStart(pacer, pacer.mark), pacer.mark + interval, 1e-12);

    // The period follows the display: 144 Hz lets frames come that often.
    pacer.period = refreshPeriod(144);
    now = pacer.mark + 1.0 / 144.0;
    EXPECT_EQ(nextFrameStart(pacer, now), now);

    // A clock that went back starts afresh.
    now = pacer.mark - 1.0;
    EXPECT_EQ(nextFrameStart(pacer, now), now);
    EXPECT_NEAR(nextFrameStart(pacer, now), now + pacedFrameInterval(pacer.period), 1e-12);

    // So does the first finite reading after one that is no number or infinite, whose frame goes.
    for (const double odd : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        const double start = nextFrameStart(pacer, odd);
        EXPECT_TRUE(start == odd || std::isnan(start)) << odd;
        now += 10.0;
        EXPECT_EQ(nextFrameStart(pacer, now), now) << odd;
        EXPECT_NEAR(nextFrameStart(pacer, now), now + pacedFrameInterval(pacer.period), 1e-12) << odd;
    }
}

TEST(FramePacer, NeverHoldsAFrameOfADisplayThatPacesTheSwapItself)
{
    // Displays whose swap returns on their refresh, with 8 ms of drawing a frame; their rate
    // reported rounded (59.94 Hz as 59 or 60, 143.86 as 144); the clock read after the swap 0.1 ms
    // late as a rule and now and then 2 or 3 ms late (the thread was preempted between the swap's
    // return and the reading).
    for (const auto& [realRate, reportedRate] :
         {std::pair{60.0, 60}, {59.94, 60}, {59.94, 59}, {143.86, 144}}) {
        const double period = 1.0 / realRate;
        FramePacer pacer;
        pacer.period = refreshPeriod(reportedRate);
        double letGo = 0.0;
        int waits = 0;
        for (int frame = 1; frame <= 2000; ++frame) {
            const double refresh = std::ceil((letGo + 0.008) / period) * period;
            const double stall = frame % 97 == 0 ? 0.003 : frame % 50 == 0 ? 0.002 : 0.0001;
            const double now = refresh + stall;
            const double start = nextFrameStart(pacer, now);
            if (start > now)
                ++waits;
            letGo = start > now ? start : now;
        }
        EXPECT_EQ(waits, 0) << realRate << " Hz reported as " << reportedRate;
    }
}

// A 60 Hz monitor at the desktop's origin and a 144 Hz one to its right.
TEST(FramePacer, PacesByTheMonitorTheWindowShowsOnOrElseTheFastest)
{
    const std::vector<MonitorMode> monitors = {{0, 0, 1920, 1080, 60}, {1920, 0, 2560, 1440, 144}};
    EXPECT_EQ(windowRefreshRate(monitors, -1, true, 960, 540), 60);
    EXPECT_EQ(windowRefreshRate(monitors, -1, true, 2000, 100), 144);
    EXPECT_EQ(windowRefreshRate(monitors, 1, true, 960, 540), 144) << "fullscreen on the 144 Hz one";
    // A window the system cannot place (Wayland), or one off every monitor: the fastest, so that
    // the 144 Hz display is never held to 60 frames a second.
    EXPECT_EQ(windowRefreshRate(monitors, -1, false, 960, 540), 144);
    EXPECT_EQ(windowRefreshRate(monitors, -1, true, -5000, 0), 144);
    EXPECT_EQ(windowRefreshRate({}, -1, false, 0, 0), 0);
}

TEST(WindowSize, EachSideIsKeptAtLeastOnePixel)
{
    resetShellState();
    EXPECT_EQ(windowSize.width, 800);
    EXPECT_EQ(windowSize.height, 600);
    onWindowSize(0, 0);  // minimised
    EXPECT_EQ(windowSize.width, 1);
    EXPECT_EQ(windowSize.height, 1);
    onWindowSize(640, -3);
    EXPECT_EQ(windowSize.width, 640);
    EXPECT_EQ(windowSize.height, 1);
    EXPECT_THROW(onWindowClose(), Exit);
    resetShellState();
}

TEST(GlfwFailure, MessageNamesTheCall)
{
    try {
        throwGlfwError(42, "glfwOpenWindow");
        FAIL() << "no throw";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "GLFW error: src/main/shell.cpp:42: glfwOpenWindow failed");
    }
}

TEST(ScreenLayout, CountdownWordsScaleAndCentre)
{
    EXPECT_EQ(countdownText(3), "3");
    EXPECT_EQ(countdownText(1), "1");
    EXPECT_EQ(countdownText(0), "SHOP!");
    EXPECT_EQ(countdownScale(0.0), 1.0f);
    EXPECT_NEAR(countdownScale(0.5), 0.85f, 1e-6);
    EXPECT_LE(countdownScale(61.0 / 60.0), 0.7f);  // the phase's last frame at 60 Hz
    EXPECT_GT(countdownScale(61.0 / 60.0), 0.69f);

    EXPECT_EQ(countdownFaceSize(600), 200u);
    EXPECT_EQ(resultsFaceSize(800), 66u);
    EXPECT_EQ(countdownFaceSize(1), 0u);

    // The results' size stays as the screen started, unless that was too small to read: then it
    // follows the window's width from the first legible size on.
    bool following = false;
    EXPECT_EQ(legibleResultsFaceSize(66, 1, following), 66u);
    EXPECT_EQ(legibleResultsFaceSize(66, 1600, following), 66u);
    EXPECT_FALSE(following);
    EXPECT_EQ(legibleResultsFaceSize(0, 1, following), 0u);  // started minimised, still is
    EXPECT_EQ(legibleResultsFaceSize(0, 95, following), 0u);
    EXPECT_FALSE(following);
    EXPECT_EQ(legibleResultsFaceSize(0, 96, following), 8u);
    EXPECT_EQ(legibleResultsFaceSize(8, 1920, following), 160u);  // restored to full size
    EXPECT_EQ(legibleResultsFaceSize(160, 800, following), 66u);
    EXPECT_EQ(legibleResultsFaceSize(66, 40, following), 66u);  // never below legible again
    following = false;
    EXPECT_EQ(legibleResultsFaceSize(4, 800, following), 66u);

    const TextOrigin at = countdownOrigin(800, 600, 0.5f, 200.0f, 120.0f);
    EXPECT_FLOAT_EQ(at.x, 370.0f);  // the scaled advance is centred
    EXPECT_FLOAT_EQ(at.y, 250.0f);  // and so is a box of the scaled face size
}

TEST(ScreenLayout, ResultsLinesSitAtTwoThirdsAndOneThird)
{
    EXPECT_EQ(resultsLabel("1:23.250"), "Time: 1:23.250");
    const TextOrigin time = resultsLineOrigin(800, 600, 4, 66.0f, 300.0f);
    EXPECT_FLOAT_EQ(time.x, 250.0f);
    EXPECT_FLOAT_EQ(time.y, 367.0f);
    const TextOrigin quit = resultsLineOrigin(800, 601, 2, 66.0f, 200.0f);
    EXPECT_FLOAT_EQ(quit.x, 300.0f);
    EXPECT_NEAR(quit.y, 601.0 / 3.0 - 33.0, 1e-4);  // no integer division
}
