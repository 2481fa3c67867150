// One session of the game in game time the test controls: the countdown over the still store,
// then play with the counters, both views, both key layouts and the physics overlay, and Esc.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>

#include "record/ghost.h"
#include "record/run_record.h"
#include "sound/mixer.h"
#include "support/fake_pad.h"
#include "support/screen_areas.h"
#include "support/sound_signal.h"
#include "support/stepped_run.h"
#include "support/test_stores.h"

using namespace e2e;

namespace {

constexpr Rect middleBand{0, 100, 800, 400};     // where "SHOP!", the widest word, stands
constexpr Rect scene{0, 60, 800, 540};           // below the counters
constexpr Rect belowTheWords{0, 420, 800, 180};  // the floor and the cart, under any countdown word

int wordHeight(const Image& image) { return boundsOf(image, countdownArea, white, textTolerance).height; }

}  // namespace

TEST(PlaySession, CountdownWordsEachShowForOneSecondOfClockReadingsWithABeepEach)
{
    const TimeLimit limit(60);
    SteppedOptions options;
    options.soundFile = screenshotDirectory() + "/countdown.f32";
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    const double start = run.last().clock;

    // "3": a large white digit with a thick black rim, centred over the grey-lit store.
    const Image three = run.shot("countdown-3.png");
    const Rect digit = boundsOf(three, countdownArea, white, textTolerance);
    EXPECT_GT(whiteIn(three, countdownArea), 3000);
    EXPECT_GT(rimIn(three, countdownArea), 1000);
    EXPECT_GT(digit.height, 100);
    EXPECT_NEAR(digit.x + digit.width / 2.0, 400.0, 20.0);
    EXPECT_NEAR(digit.y + digit.height / 2.0, 300.0, 60.0);
    EXPECT_GT(countNear(three, scene, Rgb{128, 128, 128}, 2), 20000) << "no grey-lit store behind the digit";

    // Every word shows from the reading that starts its second to the first reading a second
    // later, shrinking to 1 - 0.3 t of its first frame's size; the next frame starts the next word
    // at full size. E and I are held from "2" on: the store stands still and the clock stays at 0.
    Image firstFrames[4];
    Image lastFrames[4];
    std::unique_ptr<XClient::Hold> driving;
    for (int word = 0; word < 4; ++word) {
        const long first = word * wordFrames;
        ASSERT_EQ(run.last().frame, first);
        const double wordStart = start + word * (1.0 + frameStep);
        EXPECT_EQ(run.last().clock, wordStart);
        firstFrames[word] = run.shot();
        if (word == 1)
            driving = std::make_unique<XClient::Hold>(
                run.x, std::vector<KeyCode>{run.x.keycode(XK_e), run.x.keycode(XK_i)});
        const int fullHeight = wordHeight(firstFrames[word]);
        for (const int step : {16, 32}) {
            ASSERT_TRUE(run.advance(static_cast<int>(first + step - run.last().frame)));
            const double t = run.last().clock - wordStart;
            lastFrames[word] = run.shot();
            EXPECT_NEAR(wordHeight(lastFrames[word]) / static_cast<double>(fullHeight), 1.0 - 0.3 * t, 0.02)
                << "word " << word << " at " << t << " s";
        }
        if (word == 2)
            driving.reset();
        ASSERT_TRUE(run.advance());
    }
    EXPECT_GT(changedShare(firstFrames[0], firstFrames[1], countdownArea), 0.005) << "\"3\" then \"3\" again";
    EXPECT_GT(changedShare(firstFrames[1], firstFrames[2], countdownArea), 0.005) << "\"2\" then \"2\" again";
    EXPECT_EQ(changedShare(firstFrames[1], lastFrames[2], belowTheWords), 0.0)
        << "the cart moved during the countdown";
    EXPECT_EQ(changedShare(firstFrames[1], lastFrames[2], clockArea), 0.0)
        << "the clock ran during the countdown";
    for (const FrameReport& frame : run.reports()) {
        if (frame.frame >= countdownFrames)
            break;
        EXPECT_EQ(frame.runClock, 0.0) << "frame " << frame.frame;
        EXPECT_EQ(frame.cartX, run.reports()[0].cartX) << "frame " << frame.frame;
        EXPECT_EQ(frame.cartY, run.reports()[0].cartY) << "frame " << frame.frame;
    }

    // "SHOP!", the last word, is much wider than a digit.
    const Rect word = boundsOf(firstFrames[3], middleBand, white, textTolerance);
    saveScreenshot(firstFrames[3], "countdown-shop.png");
    EXPECT_GT(word.width, 3 * digit.width) << "no \"SHOP!\"";
    EXPECT_NEAR(word.x + word.width / 2.0, 400.0, 20.0);

    // The first play frame: its dt is the time since the countdown's last frame, one step.
    ASSERT_EQ(run.last().frame, countdownFrames);
    EXPECT_EQ(run.last().runClock, frameStep);

    // Heard: a beep from each word's first frame to the sample (once through the limiter's
    // look-ahead), the same pitch for "3", "2" and "1", higher for "SHOP!"; silence between them,
    // the cart at rest with its hands pushing.
    const std::vector<float> sound = run.sound();
    const std::vector<std::size_t> onsets = soundOnsets(sound, std::numeric_limits<float>::min(), 480);
    ASSERT_EQ(onsets.size(), 4u);
    double pitches[4];
    for (int w = 0; w < 4; ++w) {
        EXPECT_EQ(onsets[w], run.soundFrameOf(run.reports()[w * wordFrames]) + Mixer::lookahead)
            << "word " << w;
        pitches[w] = crossingsPerSecond(sound, onsets[w], onsets[w] + 4800, audioFrameRate);
    }
    EXPECT_EQ(onsets[1] - onsets[0], 49500u) << "one word, 33 steps of 1/32 s, at 48 kHz";
    EXPECT_NEAR(pitches[1], pitches[0], 0.01 * pitches[0]);
    EXPECT_NEAR(pitches[2], pitches[0], 0.01 * pitches[0]);
    EXPECT_GT(pitches[3], 1.3 * pitches[0]);
    EXPECT_EQ(whiteIn(run.shot(), middleBand), 0) << "the countdown is still showing in play";
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(PlaySession, CountersViewsLayoutsAndOverlayInPlay)
{
    const TimeLimit limit(60);
    SteppedRun run;
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());

    // The counters stand in the top corners and the clock runs, frame by frame.
    ASSERT_TRUE(run.advance());
    const Image play = run.shot("play-chase.png");
    EXPECT_GT(whiteIn(play, itemsCounterArea), 300);
    EXPECT_GT(rimIn(play, itemsCounterArea), 100);
    EXPECT_GT(whiteIn(play, clockArea), 200);
    EXPECT_GT(rimIn(play, clockArea), 100);
    ASSERT_TRUE(run.advance());
    EXPECT_EQ(run.last().runClock, 2 * frameStep);
    EXPECT_GT(changedShare(play, run.shot(), clockArea), 0.0) << "the clock does not run";

    // F3 pressed while a frame is on screen switches the view from the next frame on.
    run.x.tapKey(XK_F3);
    ASSERT_TRUE(run.advance());
    const Image overhead = run.shot("play-overhead.png");
    EXPECT_GT(changedShare(play, overhead, scene), 0.3) << "F3 did not change the view at the next frame";

    // F2: layout 1 reads none of layout 0's keys except E (its left hand's back key).
    run.x.tapKey(XK_F2);
    const FrameReport parkedAt = run.last();
    {
        const XClient::Hold keys = run.x.hold({XK_s, XK_d, XK_f, XK_i, XK_j, XK_k, XK_l});
        ASSERT_TRUE(run.advance(16));
        EXPECT_EQ(changedShare(overhead, run.shot(), aroundOverheadCart), 0.0)
            << "layout 1 drove the cart with layout 0 keys";
    }
    EXPECT_EQ(run.last().cartX, parkedAt.cartX);
    EXPECT_EQ(run.last().cartY, parkedAt.cartY);

    // F2 again: back to layout 0, where E and I push both ends of the handle forward.
    run.x.tapKey(XK_F2);
    const Image parked = run.shot();
    Image driving;
    {
        const XClient::Hold keys = run.x.hold({XK_e, XK_i});
        ASSERT_TRUE(run.advance(32));
        driving = run.shot("play-driving.png");
    }
    const double forward = (run.last().cartX - parkedAt.cartX) * std::cos(parkedAt.cartAngle) +
                           (run.last().cartY - parkedAt.cartY) * std::sin(parkedAt.cartAngle);
    EXPECT_GT(forward, 0.2) << "E and I did not push the cart forward";
    ASSERT_GE(handleTop(parked), 0) << "no cart in the overhead view";
    EXPECT_GT(handleTop(driving), handleTop(parked) + 10)
        << "the overhead view did not show the cart go forward";

    // F1: the physics overlay draws the shelves as flat green polygons, and stays on however long
    // the key is held (past the keyboard's auto-repeat delay); F1 again hides it.
    EXPECT_LT(countNear(driving, driving.whole(), overlayShelf, 10), 50);
    {
        const XClient::Hold f1 = run.x.hold({XK_F1});
        ASSERT_TRUE(run.advance());
        const Image overlay = run.shot("overlay.png");
        EXPECT_GT(countNear(overlay, overlay.whole(), overlayShelf, 10), 5000)
            << "F1 did not show the overlay";
        waitSeconds(1.0);  // the key repeats meanwhile
        ASSERT_TRUE(run.advance(2));
        const Image held = run.shot();
        EXPECT_GT(countNear(held, held.whole(), overlayShelf, 10), 5000)
            << "the overlay went off with F1 held";
    }
    run.x.tapKey(XK_F1);
    ASSERT_TRUE(run.advance());
    const Image hidden = run.shot();
    EXPECT_LT(countNear(hidden, hidden.whole(), overlayShelf, 10), 50) << "the overlay stayed after F1 again";

    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

// A gamepad plugged in during the countdown: its two sticks are the two hands, in the same eight
// flags as the keys, and Y switches the view as F3 does.
TEST(PlaySession, AGamepadPluggedInDuringTheCountdownDrivesAndTurnsTheCart)
{
    const TimeLimit limit(60);
    FakePad pad(false);
    SteppedOptions options;
    options.environment = pad.environment();
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    pad.plugIn();
    ASSERT_TRUE(run.finishCountdown());

    // Both sticks up push both ends of the handle forward: straight on.
    const FrameReport parked = run.last();
    pad.stick(0, 0.0f, -1.0f);
    pad.stick(1, 0.1f, -0.8f);  // a little sideways, within the dead zone
    ASSERT_TRUE(run.advance(32));
    const double forward = (run.last().cartX - parked.cartX) * std::cos(parked.cartAngle) +
                           (run.last().cartY - parked.cartY) * std::sin(parked.cartAngle);
    EXPECT_GT(forward, 0.2) << "both sticks up did not push the cart forward";
    EXPECT_NEAR(run.last().cartAngle, parked.cartAngle, 0.01) << "both sticks up turned the cart";

    // The left stick alone pushes the left end: the cart turns to its right (clockwise from above).
    pad.stick(1, 0.0f, 0.0f);
    const FrameReport straight = run.last();
    ASSERT_TRUE(run.advance(32));
    EXPECT_LT(run.last().cartAngle - straight.cartAngle, -0.1)
        << "the left stick alone did not turn the cart";

    // Y: the overhead view from the next frame on.
    pad.stick(0, 0.0f, 0.0f);
    const Image chase = run.shot();
    pad.press(PadButton::y);
    ASSERT_TRUE(run.advance(2));
    pad.release(PadButton::y);
    EXPECT_GT(changedShare(chase, run.shot(), Rect{0, 60, 800, 540}), 0.3) << "Y did not switch the view";

    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

// Down the aisle through its three items into the results, heard in game time: the rattle while
// the cart rolls, a chime from each item's frame, a step higher each time, the flourish, and M
// silencing it from the next frame's sound until M again; never beyond full scale.
TEST(PlaySession, AChimeForEachItemFromItsFrameAndMSilencesFromTheNextFrame)
{
    const TimeLimit limit(60);
    SteppedOptions options;
    options.store = Store::aisle;
    options.soundFile = screenshotDirectory() + "/aisle.f32";
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    const FrameReport firstPlay = run.last();
    std::vector<FrameReport> taken;
    {
        const XClient::Hold push(run.x, {run.x.keycode(XK_e), run.x.keycode(XK_i)});
        while (run.last().itemsLeft > 0) {
            const int before = run.last().itemsLeft;
            ASSERT_TRUE(run.advance());
            ASSERT_LT(run.last().frame, countdownFrames + 200) << "the aisle took too long";
            if (run.last().itemsLeft < before)
                taken.push_back(run.last());
        }
    }
    ASSERT_EQ(taken.size(), 3u) << "two items in one frame";
    ASSERT_TRUE(run.advance(4));  // the results, four frames in
    // M pressed before a frame is granted is seen in the events after that frame: the sound from the
    // next frame's reading on is muted.
    run.x.tapKey(XK_m);
    ASSERT_TRUE(run.advance(2));
    const FrameReport muted = run.reports()[run.reports().size() - 2];
    ASSERT_TRUE(run.advance(6));
    run.x.tapKey(XK_m);
    ASSERT_TRUE(run.advance(2));
    const FrameReport unmuted = run.reports()[run.reports().size() - 2];
    ASSERT_TRUE(run.advance(4));
    const std::vector<float> sound = run.sound();

    EXPECT_GT(peakIn(sound, run.soundFrameOf(firstPlay) + 4800, run.soundFrameOf(taken[0])), 0.01f)
        << "no rattle while rolling";
    for (std::size_t k = 0; k < taken.size(); ++k) {
        // The chime's tone is in the frame's sound and not in the frame's before; of all the chimes
        // it is the one of this item's step.
        const std::size_t at = run.soundFrameOf(taken[k]) + Mixer::lookahead;
        constexpr std::size_t oneFrame = 1500;  // frameStep at 48 kHz
        const double hz = chimeFrequency(static_cast<int>(k));
        EXPECT_GT(tonePower(sound, at, at + oneFrame, hz, audioFrameRate),
                  20.0 * tonePower(sound, at - oneFrame, at, hz, audioFrameRate))
            << "item " << k;
        int loudest = 0;
        for (int step = 1; step < SoundBank::chimeSteps; ++step)
            if (tonePower(sound, at, at + 4800, chimeFrequency(step), audioFrameRate) >
                tonePower(sound, at, at + 4800, chimeFrequency(loudest), audioFrameRate))
                loudest = step;
        EXPECT_EQ(loudest, static_cast<int>(k)) << "item " << k;
    }

    // M: the sound fades out within 5 ms of the next frame's start, and is back with the flourish
    // after the second press.
    const std::size_t silent = run.soundFrameOf(muted), back = run.soundFrameOf(unmuted);
    EXPECT_GT(peakIn(sound, silent - 4800, silent), 0.01f) << "nothing to silence";
    EXPECT_EQ(peakIn(sound, silent + audioFrameRate / 200, back), 0.0f);
    EXPECT_GT(peakIn(sound, silent - 1, silent), 0.0f) << "muted before the frame";
    EXPECT_GT(peakIn(sound, back, sound.size()), 0.01f);
    EXPECT_LE(peakIn(sound, 0, sound.size()), 1.0f);
    EXPECT_EQ(run.quitWith(XK_Return), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

// A second run down the aisle races the first: the first run's ghost leaves at "SHOP!" and drives
// off with no key held; each item taken shows under the clock, for two seconds of game time, how
// far behind the ghost's run was at as many items. Backspace starts over at once, in a fresh World.
TEST(PlaySession, TheSecondRunRacesTheFirstsGhostWithSplitsAndBackspaceStartsOver)
{
    const TimeLimit limit(60);
    SteppedOptions options;
    options.store = Store::aisle;
    SteppedRun run(options);
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    const FrameReport start = run.last();
    ASSERT_TRUE(run.finishCountdown());
    const Image alone = run.shot();
    {
        const XClient::Hold push(run.x, {run.x.keycode(XK_e), run.x.keycode(XK_i)});
        while (run.last().itemsLeft > 0)
            ASSERT_TRUE(run.advance());
    }
    const FrameReport finished = run.last();
    ASSERT_TRUE(run.advance());

    // The record the game kept replays to the run's time and its cart's last pose, to the bit.
    const LevelDesc aisle = aisleStore();
    std::ifstream file(run.dataHome / "shelvoy/best-run", std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                           std::istreambuf_iterator<char>()};
    const std::optional<RunRecord> record = decodeRecord(bytes.data(), bytes.size());
    ASSERT_TRUE(record) << bytes.size() << " bytes";
    EXPECT_TRUE(verifyRecord(*record, aisle));
    EXPECT_EQ(record->runTime, finished.runClock);
    EXPECT_EQ(static_cast<long>(record->frames.size()), finished.frame - (countdownFrames - 1));
    Ghost replayed(*record, aisle);
    replayed.follow(record->runTime);
    EXPECT_EQ(replayed.cart().body().GetPosition().x, static_cast<float>(finished.cartX));
    EXPECT_EQ(replayed.cart().body().GetPosition().y, static_cast<float>(finished.cartY));
    EXPECT_EQ(replayed.cart().body().GetAngle(), static_cast<float>(finished.cartAngle));

    run.x.tapKey(XK_space);
    ASSERT_TRUE(run.advance());
    ASSERT_TRUE(run.advance(countdownFrames - 1));

    // The ghost at the start, drawn over the cart in the chase view; then it drives away while
    // the cart stands.
    const Image together = run.shot();
    EXPECT_GT(changedShare(alone, together, scene), 0.01) << "no ghost in the chase view";
    ASSERT_TRUE(run.advance(24));
    const Image ghostAhead = run.shot("ghost-chase.png");
    EXPECT_EQ(run.last().cartX, start.cartX) << "the cart moved with no key held";
    EXPECT_EQ(run.last().itemsLeft, 3) << "the ghost took an item of the player's";
    EXPECT_GT(changedShare(together, ghostAhead, scene), 0.01) << "the ghost did not move";
    run.x.tapKey(XK_F3);
    ASSERT_TRUE(run.advance());
    const Image overhead = run.shot("ghost-overhead.png");
    run.x.tapKey(XK_g);  // G hides it
    ASSERT_TRUE(run.advance());
    EXPECT_GT(changedShare(overhead, run.shot(), scene), 0.001) << "G did not hide the ghost";
    run.x.tapKey(XK_g);
    run.x.tapKey(XK_F3);

    // Behind the ghost at the first item: a red "+" split under the clock, gone two seconds later.
    const Rect splitArea{560, 56, 240, 44};
    const Rgb behind{255, 102, 77};
    FrameReport taken;
    {
        const XClient::Hold push(run.x, {run.x.keycode(XK_e), run.x.keycode(XK_i)});
        while (run.last().itemsLeft == 3)
            ASSERT_TRUE(run.advance());
        taken = run.last();
    }
    const Image split = run.shot("split.png");
    EXPECT_GT(countNear(split, splitArea, behind, 40), 50) << "no red split under the clock";
    {
        const XClient::Hold brake(run.x,
                                  {run.x.keycode(XK_d), run.x.keycode(XK_k)});  // short of the next item
        double before = 0.0;
        do {
            before = run.last().cartX;
            ASSERT_TRUE(run.advance());
        } while (run.last().cartX > before);
    }
    const int left = static_cast<int>((taken.runClock + 2.0 - run.last().runClock) / frameStep);
    ASSERT_GT(left, 1);
    ASSERT_TRUE(run.advance(left - 1));
    EXPECT_GT(countNear(run.shot(), splitArea, behind, 40), 50) << "the split went before two seconds";
    ASSERT_TRUE(run.advance());
    EXPECT_EQ(run.last().runClock, taken.runClock + 2.0);
    EXPECT_EQ(countNear(run.shot(), splitArea, behind, 40), 0) << "the split stayed past two seconds";

    // Backspace mid-run: the next frame is the countdown's "3" over a fresh store.
    run.x.tapKey(XK_BackSpace);
    ASSERT_TRUE(run.advance());
    EXPECT_EQ(run.last().itemsLeft, 3);
    EXPECT_EQ(run.last().runClock, 0.0);
    EXPECT_EQ(run.last().cartX, start.cartX);
    EXPECT_EQ(run.last().cartY, start.cartY);
    EXPECT_GT(whiteIn(run.shot(), countdownArea), 3000) << "no countdown";
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}
