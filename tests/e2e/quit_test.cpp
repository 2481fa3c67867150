// Q, X, Esc and the window's close request end the game at once, silently, with exit code 0,
// during the countdown and during play. (The results screen: results_test.cpp.)

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <tuple>

#include "support/game_run.h"
#include "support/screen_areas.h"

using namespace e2e;

namespace {

enum class Phase { countdown, play };
constexpr KeySym closeRequest = NoSymbol;  // WM_DELETE_WINDOW instead of a key

class Quitting : public ::testing::TestWithParam<std::tuple<KeySym, Phase>> {};

}  // namespace

TEST_P(Quitting, EndsTheGameAtOnceWithExitCodeZero)
{
    const auto [key, phase] = GetParam();
    const TimeLimit limit(20);
    GameRun run;
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();

    // Make sure of the phase from what is on the screen.
    if (phase == Phase::countdown) {
        run.sleepUntil(0.5);
        ASSERT_GT(whiteIn(run.shot(), countdownArea), 0) << "no countdown showing";
    } else {
        run.sleepUntil(4.5);
        ASSERT_EQ(whiteIn(run.shot(), countdownArea), 0) << "the countdown is still showing";
    }

    const Clock::time_point asked = Clock::now();
    std::optional<int> status;
    if (key == closeRequest) {
        run.x.requestClose(run.window);
        status = run.game.waitFor(Seconds(0.5));
    } else {
        status = run.quitWith(key, Seconds(0.5));
    }
    ASSERT_TRUE(status.has_value()) << "still running 0.5 s after the request";
    EXPECT_EQ(*status, 0);
    EXPECT_LT(Seconds(Clock::now() - asked).count(), 0.5);
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
