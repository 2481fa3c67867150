// Keys are read by the character the keyboard layout gives them: a Dvorak typist switches to
// layout 1 with F2 and keeps the QWERTY hand positions.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cmath>

#include "support/screen_areas.h"
#include "support/stepped_run.h"

using namespace e2e;

namespace {

// Physical keys of the evdev keymap: QWERTY's E and I, Dvorak's "." and "c".
constexpr KeyCode leftForwardKey = 26;
constexpr KeyCode rightForwardKey = 31;

// How far the cart has gone along its heading since `from`, units.
double forwardSince(const FrameReport& from, const FrameReport& to)
{
    return (to.cartX - from.cartX) * std::cos(from.cartAngle) +
           (to.cartY - from.cartY) * std::sin(from.cartAngle);
}

// Into play, in the overhead view, where the cart's handle shows how it moves.
void toOverheadPlay(SteppedRun& run)
{
    ASSERT_TRUE(run.start()) << run.game.stderrText();
    ASSERT_TRUE(run.finishCountdown());
    run.x.tapKey(XK_F3);
    ASSERT_TRUE(run.advance());
}

// Holds QWERTY's E and I (wherever the keymap puts them) for a second of game time and checks
// that both ends of the handle were pushed forward.
void expectForwardDrive(SteppedRun& run, const char* what)
{
    const Image parked = run.shot();
    const FrameReport before = run.last();
    {
        const XClient::Hold keys = run.x.holdCodes({leftForwardKey, rightForwardKey});
        ASSERT_TRUE(run.advance(32));
    }
    EXPECT_GT(forwardSince(before, run.last()), 0.2) << what;
    ASSERT_GE(handleTop(parked), 0) << "no cart in the overhead view";
    EXPECT_GT(handleTop(run.shot()), handleTop(parked) + 10) << what << ", as the overhead view shows";
}

}  // namespace

TEST(Keymaps, DvorakDrivesLayoutOneWithTheQwertyHandPositions)
{
    const TimeLimit limit(60);
    SteppedOptions options;
    options.keymap = "dvorak";
    SteppedRun run(options);
    ASSERT_EQ(run.x.keycode(XK_period), leftForwardKey) << "the Dvorak keymap is not in place";
    ASSERT_EQ(run.x.keycode(XK_c), rightForwardKey) << "the Dvorak keymap is not in place";
    toOverheadPlay(run);

    // Layout 0 wants the characters D, E, F, S, K, I, L, J: these keys now give "." and "c".
    const Image parked = run.shot();
    const FrameReport before = run.last();
    {
        const XClient::Hold keys = run.x.holdCodes({leftForwardKey, rightForwardKey});
        ASSERT_TRUE(run.advance(16));
    }
    EXPECT_EQ(run.last().cartX, before.cartX) << "layout 0 drove the cart with Dvorak's \".\" and \"c\"";
    EXPECT_EQ(changedShare(parked, run.shot(), aroundOverheadCart), 0.0);

    // Layout 1, "E.UOTCNH": "." and "c" push both ends of the handle forward.
    run.x.tapKey(XK_F2);
    expectForwardDrive(run, "layout 1 did not drive the cart forward on a Dvorak keymap");
    EXPECT_EQ(run.quitWith(XK_Escape), 0);
    EXPECT_EQ(run.game.stderrText(), "");
}

TEST(Keymaps, ALayoutSwitchedDuringPlayDrivesAtOnce)
{
    const TimeLimit limit(60);
    SteppedRun run;
    toOverheadPlay(run);
    run.x.tapKey(XK_F2);  // layout 1 while the keymap is still QWERTY

    // A desktop's layout shortcut switches to Dvorak; the game keeps the focus.
    run.server.setKeymap("dvorak");
    ASSERT_TRUE(run.advance());
    expectForwardDrive(run, "\".\" and \"c\" did not drive forward right after the keymap switch");
    EXPECT_EQ(run.quitWith(XK_Escape), 0);  // F-keys and Esc stay where they were
    EXPECT_EQ(run.game.stderrText(), "");
}
