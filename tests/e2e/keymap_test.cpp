// Keys are read by the character the keyboard layout gives them: a Dvorak typist switches to
// layout 1 with F2 and keeps the QWERTY hand positions.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "support/game_run.h"
#include "support/screen_areas.h"

using namespace e2e;

namespace {

// Physical keys of the evdev keymap: QWERTY's E and I, Dvorak's "." and "c".
constexpr KeyCode leftForwardKey = 26;
constexpr KeyCode rightForwardKey = 31;

}  // namespace

TEST(Keymaps, DvorakDrivesLayoutOneWithTheQwertyHandPositions)
{
    const TimeLimit limit(30);
    GameOptions options;
    options.keymap = "dvorak";
    GameRun run(options);
    ASSERT_EQ(run.x.keycode(XK_period), leftForwardKey) << "the Dvorak keymap is not in place";
    ASSERT_EQ(run.x.keycode(XK_c), rightForwardKey) << "the Dvorak keymap is not in place";
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();

    run.sleepUntil(4.4);  // past the countdown
    run.x.tapKey(XK_F3);  // the overhead view shows the cart move
    waitSeconds(0.25);
    const Image parked = run.shot();

    // Layout 0 wants the characters D, E, F, S, K, I, L, J: these keys now give "." and "c".
    {
        const XClient::Hold keys = run.x.holdCodes({leftForwardKey, rightForwardKey});
        waitSeconds(0.6);
        EXPECT_EQ(changedShare(parked, run.shot(), aroundOverheadCart), 0.0)
            << "layout 0 drove the cart with Dvorak's \".\" and \"c\"";
    }

    // Layout 1, "E.UOTCNH": "." and "c" push both ends of the handle forward.
    run.x.tapKey(XK_F2);
    {
        const XClient::Hold keys = run.x.holdCodes({leftForwardKey, rightForwardKey});
        waitSeconds(1.0);
        const Image driving = run.shot("dvorak-driving.png");
        EXPECT_GT(changedShare(parked, driving, aroundOverheadCart), 0.05)
            << "layout 1 did not drive the cart on a Dvorak keymap";
        EXPECT_GT(handleTop(driving), handleTop(parked) + 10) << "the cart did not go forward";
    }

    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(Keymaps, SwitchToDvorakDuringPlayTakesEffectWhenTheWindowRegainsFocus)
{
    const TimeLimit limit(30);
    GameRun run;
    ASSERT_TRUE(run.waitForCountdown()) << run.game.stderrText();
    run.sleepUntil(4.4);
    run.x.tapKey(XK_F3);
    run.x.tapKey(XK_F2);  // layout 1 while the keymap is still QWERTY

    // The player switches the keymap in another window, then comes back to the game.
    run.x.focus(None);
    run.server.setKeymap("dvorak");
    waitSeconds(0.2);
    run.x.focus(run.window);
    waitSeconds(0.2);
    const Image parked = run.shot();
    {
        const XClient::Hold keys = run.x.holdCodes({leftForwardKey, rightForwardKey});
        waitSeconds(1.0);
        const Image driving = run.shot("dvorak-after-switch.png");
        ASSERT_GE(handleTop(parked), 0) << "no cart in the overhead view";
        EXPECT_GT(handleTop(driving), handleTop(parked) + 10)
            << "\".\" and \"c\" did not drive forward after the keymap switch";
    }
    EXPECT_EQ(run.quitWith(XK_Escape), 0);  // F-keys and Esc stay where they were
    EXPECT_EQ(run.game.stderrText(), "");
}
