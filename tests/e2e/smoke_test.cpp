// The shipped executable as a player starts it, in wall-clock time: its window and the countdown,
// and Q, X, Esc and the window's close button ending the game with exit code 0 during the
// countdown and during play. Nothing here needs better than about a second of precision; what
// needs exact frames is checked in game time on the test build (stepped_game.cpp).

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <tuple>

#include "sound/sound_bank.h"
#include "support/game_run.h"
#include "support/screen_areas.h"
#include "support/sound_signal.h"
#include "support/temp_dir.h"

using namespace e2e;

namespace {

enum class Phase { countdown, play };
constexpr KeySym closeRequest = NoSymbol;  // WM_DELETE_WINDOW instead of a key

class Quitting : public ::testing::TestWithParam<std::tuple<KeySym, Phase>> {};

}  // namespace

TEST_P(Quitting, EndsTheGameWithExitCodeZero)
{
    const auto [key, phase] = GetParam();
    const TimeLimit limit(40);
    GameRun run;
    ASSERT_TRUE(run.waitForCountdown(Seconds(10.0))) << run.game.stderrText();
    EXPECT_EQ(run.x.size(run.window), std::make_pair(800, 600));
    if (phase == Phase::play) {
        run.sleepUntil(5.0);  // the countdown's four seconds are over, however slow the frames
        ASSERT_EQ(whiteIn(run.shot(), countdownArea), 0) << "the countdown is still showing";
    }

    std::optional<int> status;
    if (key == closeRequest) {
        run.x.requestClose(run.window);
        status = run.game.waitFor(Seconds(5.0));
    } else {
        status = run.quitWith(key, Seconds(5.0));
    }
    ASSERT_TRUE(status.has_value()) << "still running 5 s after the request";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(run.game.stderrText(), "") << "a quit is not a failure";
}

INSTANTIATE_TEST_SUITE_P(KeysAndClose, Quitting,
                         ::testing::Combine(::testing::Values(XK_Escape, XK_q, XK_x, closeRequest),
                                            ::testing::Values(Phase::countdown, Phase::play)),
                         [](const ::testing::TestParamInfo<Quitting::ParamType>& info) {
                             const KeySym key = std::get<0>(info.param);
                             const std::string what = key == XK_Escape ? "Escape"
                                                      : key == XK_q    ? "Q"
                                                      : key == XK_x    ? "X"
                                                                       : "CloseRequest";
                             return what +
                                    (std::get<1>(info.param) == Phase::countdown ? "InCountdown" : "InPlay");
                         });

// The game's sound through SDL's file-writing driver: the countdown's three short beeps, then
// "SHOP!"'s long one. The driver sleeps a buffer's length after writing each buffer, so on a busy
// machine its file runs slow of the wall clock (a second of countdown came out as 0.67 s of file
// with both cores busy, and less under heavier load): the beeps' spacing in the file says nothing
// of the game's, which is checked to the sample in game time (PlaySession, the stepped game). Each
// sound's own length is the file's whatever the wall clock did, and tells the beeps apart.
TEST(Smoke, TheCountdownIsHeardThroughSdlsFileDriver)
{
    const TimeLimit limit(40);
    const TempDir dir;
    GameOptions options;
    options.environment = {"SDL_AUDIODRIVER=disk",
                           "SDL_DISKAUDIOFILE=" + pathAsTheGameSeesIt(dir.path() / "sound")};
    GameRun run(options);
    ASSERT_TRUE(run.waitForCountdown(Seconds(10.0))) << run.game.stderrText();
    run.sleepUntil(5.0);
    EXPECT_EQ(run.quitWith(XK_Escape), 0);

    std::vector<float> left;
    if (std::FILE* file = std::fopen((dir / "sound").c_str(), "rb")) {
        for (float frame[2]; std::fread(frame, sizeof frame, 1, file) == 1;)
            left.push_back(frame[0]);
        std::fclose(file);
    }
    // A tenth of a second of quiet parts two sounds: far less than the file's slowest gap between
    // beeps, far more than a tone's zero crossings.
    const float threshold = 0.01f;
    const std::size_t gap = audioFrameRate / 10;
    const std::vector<std::size_t> onsets = soundOnsets(left, threshold, gap);
    ASSERT_EQ(onsets.size(), 4u) << left.size() << " frames written";
    const SoundBank bank;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        std::size_t last = onsets[i];
        for (std::size_t j = onsets[i]; j < left.size() && j - last < gap; ++j)
            if (std::abs(left[j]) >= threshold)
                last = j;
        const std::size_t expected = (i < 3 ? bank.countdownBeep() : bank.shopBeep()).size();
        EXPECT_NEAR(static_cast<double>(last + 1 - onsets[i]) / audioFrameRate,
                    static_cast<double>(expected) / audioFrameRate, 0.02)
            << "sound " << i << " (its fade in and out lie below the threshold)";
    }
}

// Without a sound card (or a sound server) the game plays on silently and says so once.
TEST(Smoke, WithoutASoundCardTheGamePlaysSilentlyAndSaysSoInOneLine)
{
    const TimeLimit limit(40);
    GameOptions options;
    options.environment = {"SDL_AUDIODRIVER=alsa"};
    GameRun run(options);
    ASSERT_TRUE(run.waitForCountdown(Seconds(10.0))) << run.game.stderrText();
    run.sleepUntil(5.0);
    EXPECT_EQ(whiteIn(run.shot(), countdownArea), 0) << "not in play 5 s after the countdown began";
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    const std::string said = run.game.stderrText();
    EXPECT_TRUE(said.empty() ||
                (said.rfind("Shelvoy!: no sound (", 0) == 0 && said.find('\n') == said.size() - 1))
        << said;
}

// Under Xvfb the buffer swap does not wait for a display refresh: the game paces itself.
TEST(Smoke, PresentsNoMoreFramesThanTheDisplayRefreshesAndRestsWhileMinimised)
{
    const TimeLimit limit(40);
    GameRun run;
    ASSERT_TRUE(run.waitForCountdown(Seconds(10.0))) << run.game.stderrText();
    run.sleepUntil(5.0);  // in play

    const int frames = run.x.countFrames(run.window, Seconds(2.0));
    EXPECT_LE(frames, 130) << "more than 65 frames a second on Xvfb's 60 Hz screen";
    EXPECT_GT(frames, 0);

    run.x.minimise(run.window);
    waitSeconds(0.5);
    const double cpuBefore = run.game.cpuSeconds();
    const Clock::time_point start = Clock::now();
    waitSeconds(2.0);
    const double share = (run.game.cpuSeconds() - cpuBefore) / Seconds(Clock::now() - start).count();
    EXPECT_LT(share, 0.15) << "of one core while minimised";

    run.x.restore(run.window);
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}
