// One session of the shipped game, played as a player would: the countdown over the store,
// then the counters, both views, the physics overlay, both key layouts, and Esc to leave.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "support/game_run.h"
#include "support/screen_areas.h"

using namespace e2e;

namespace {

constexpr Rect middleBand{0, 100, 800, 400};     // where "SHOP!", the widest word, stands
constexpr Rect scene{0, 60, 800, 540};           // below the counters
constexpr Rect belowTheWords{0, 420, 800, 180};  // the floor and the cart, under any countdown word

}  // namespace

TEST(PlaySession, CountdownThenCountersViewsOverlayAndLayouts)
{
    const TimeLimit limit(40);
    GameRun run;
    ASSERT_TRUE(run.waitForWindow()) << "no window titled \"" << gameTitle << "\"\n" << run.game.stderrText();
    EXPECT_LT(Seconds(run.shownAt() - run.game.startedAt()).count(), 1.5) << "slow to open the window";
    EXPECT_EQ(run.x.title(run.window), gameTitle);
    EXPECT_EQ(run.x.size(run.window), std::make_pair(800, 600));
    ASSERT_TRUE(run.waitForCountdown()) << "no countdown";

    // "3": a large white digit with a thick black rim, centred over the store.
    run.sleepUntil(0.3);
    const double beforeThree = run.sinceCountdown();
    const Image three = run.shot("countdown-3.png");
    const double afterThree = run.sinceCountdown();
    const Rect digit = boundsOf(three, countdownArea, white, textTolerance);
    EXPECT_GT(whiteIn(three, countdownArea), 3000);
    EXPECT_GT(rimIn(three, countdownArea), 1000);
    EXPECT_GT(digit.height, 100);
    EXPECT_NEAR(digit.x + digit.width / 2.0, 400.0, 20.0);
    EXPECT_NEAR(digit.y + digit.height / 2.0, 300.0, 60.0);
    EXPECT_GT(countNear(three, scene, Rgb{128, 128, 128}, 2), 20000) << "no grey-lit store behind the digit";
    // It shrinks as its second runs out, to 1 - 0.3 t of its size after t seconds. A busy machine
    // can hold the test up around a screenshot, so each picture's moment is only known to lie
    // between the clock readings on either side of it, less the age of the frame it shows, and
    // the game's countdown began up to one look before the test saw it.
    run.sleepUntil(0.8);
    const double beforeShrunk = run.sinceCountdown();
    const Rect shrunk = boundsOf(run.shot(), countdownArea, white, textTolerance);
    const double afterShrunk = run.sinceCountdown();
    if (afterShrunk < 0.95) {  // still the same word
        constexpr double frameAge = 0.05, lateSight = 0.05;
        const auto size = [](double t) { return 1 - 0.3 * t; };
        const double least = size(afterShrunk + lateSight) / size(beforeThree - frameAge);
        const double most = size(beforeShrunk - frameAge) / size(afterThree + lateSight);
        const double ratio = shrunk.height / static_cast<double>(digit.height);
        EXPECT_GT(ratio, least - 0.03) << "shot between " << beforeShrunk << " and " << afterShrunk << " s";
        EXPECT_LT(ratio, most + 0.03) << "shot between " << beforeShrunk << " and " << afterShrunk << " s";
    }

    // "2" to "1": the store stands still and the clock stays at zero, even with E and I held.
    run.sleepUntil(1.4);
    const Image two = run.shot("countdown-2.png");
    {
        const XClient::Hold driving = run.x.hold({XK_e, XK_i});
        run.sleepUntil(2.5);
        const Image one = run.shot("countdown-1.png");
        EXPECT_EQ(changedShare(two, one, belowTheWords), 0.0) << "the cart moved during the countdown";
        EXPECT_EQ(changedShare(two, one, clockArea), 0.0) << "the clock ran during the countdown";
    }

    // "SHOP!", the last word, is much wider than a digit.
    run.sleepUntil(3.3);
    Image shop = run.shot();
    Rect word = boundsOf(shop, middleBand, white, textTolerance);
    while (word.width <= 3 * digit.width && run.sinceCountdown() < 4.1) {
        shop = run.shot();
        word = boundsOf(shop, middleBand, white, textTolerance);
    }
    saveScreenshot(shop, "countdown-shop.png");
    EXPECT_GT(word.width, 3 * digit.width) << "no \"SHOP!\"";
    EXPECT_NEAR(word.x + word.width / 2.0, 400.0, 20.0);

    // Play: the word has gone from the middle and the counters stand in the top corners.
    run.sleepUntil(4.2);
    Image play = run.shot();
    while (whiteIn(play, middleBand) > 0 && run.sinceCountdown() < 5.0)
        play = run.shot();
    saveScreenshot(play, "play-chase.png");
    EXPECT_EQ(whiteIn(play, middleBand), 0)
        << "the countdown is still showing at " << run.sinceCountdown() << " s";
    EXPECT_GT(whiteIn(play, itemsCounterArea), 300);
    EXPECT_GT(rimIn(play, itemsCounterArea), 100);
    EXPECT_GT(whiteIn(play, clockArea), 200);
    EXPECT_GT(rimIn(play, clockArea), 100);
    waitSeconds(0.2);
    EXPECT_GT(changedShare(play, run.shot(), clockArea), 0.0) << "the clock does not run";

    // F3: the overhead view.
    run.x.tapKey(XK_F3);
    waitSeconds(0.25);
    const Image overhead = run.shot("play-overhead.png");
    EXPECT_GT(changedShare(play, overhead, scene), 0.3) << "F3 did not change the view";

    // F2: layout 1 reads none of layout 0's keys except E (its left hand's back key).
    run.x.tapKey(XK_F2);
    {
        const XClient::Hold keys = run.x.hold({XK_s, XK_d, XK_f, XK_i, XK_j, XK_k, XK_l});
        waitSeconds(0.6);
        EXPECT_EQ(changedShare(overhead, run.shot(), aroundOverheadCart), 0.0)
            << "layout 1 drove the cart with layout 0 keys";
    }

    // F2 again: back to layout 0, where E and I push both ends of the handle forward.
    run.x.tapKey(XK_F2);
    const Image parked = run.shot();
    Image driving;
    {
        const XClient::Hold keys = run.x.hold({XK_e, XK_i});
        waitSeconds(1.0);
        driving = run.shot("play-driving.png");
    }
    EXPECT_GT(changedShare(parked, driving, aroundOverheadCart), 0.05) << "E and I did not drive the cart";
    ASSERT_GE(handleTop(parked), 0) << "no cart in the overhead view";
    EXPECT_GT(handleTop(driving), handleTop(parked) + 10) << "E and I did not drive the cart forward";

    // F1: the physics overlay draws the shelves as flat green polygons, and stays on however long
    // the key is held (past the keyboard's auto-repeat delay); F1 again hides it.
    EXPECT_LT(countNear(driving, driving.whole(), overlayShelf, 10), 50);
    {
        const Clock::time_point pressed = Clock::now();
        const XClient::Hold f1 = run.x.hold({XK_F1});
        waitSeconds(0.25);
        saveScreenshot(run.shot(), "overlay.png");
        for (double held = 0.25; held < 1.4; held = Seconds(Clock::now() - pressed).count()) {
            const Image overlay = run.shot();
            if (countNear(overlay, overlay.whole(), overlayShelf, 10) < 5000) {
                ADD_FAILURE() << "the overlay went off with F1 held for " << held << " s";
                break;
            }
            waitSeconds(0.05);
        }
    }
    run.x.tapKey(XK_F1);
    waitSeconds(0.25);
    const Image hidden = run.shot();
    EXPECT_LT(countNear(hidden, hidden.whole(), overlayShelf, 10), 50) << "the overlay stayed after F1 again";

    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}
