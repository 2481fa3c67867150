#include <gtest/gtest.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "main/gamepad.h"
#include "main/keyboard.h"
#include "main/shell.h"

namespace {

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { resetShellState(); }
    void TearDown() override { resetShellState(); }
};

// Key names as X reports them for a US QWERTY and a US Dvorak keymap (the same physical keys).
const char* qwertyName(int key)
{
    static std::map<int, std::string> names;
    if (names.empty()) {
        for (int k = GLFW_KEY_A; k <= GLFW_KEY_Z; ++k)
            names[k] = std::string(1, static_cast<char>('a' + (k - GLFW_KEY_A)));
        names[GLFW_KEY_PERIOD] = ".";
        names[GLFW_KEY_COMMA] = ",";
        names[GLFW_KEY_SEMICOLON] = ";";
        names[GLFW_KEY_APOSTROPHE] = "'";
    }
    const auto found = names.find(key);
    return found == names.end() ? nullptr : found->second.c_str();
}

const char* dvorakName(int key)
{
    static const std::map<int, std::string> names = {
        {GLFW_KEY_APOSTROPHE, "-"}, {GLFW_KEY_COMMA, "w"}, {GLFW_KEY_PERIOD, "v"}, {GLFW_KEY_SLASH, "z"},
        {GLFW_KEY_SEMICOLON, "s"},  {GLFW_KEY_A, "a"},     {GLFW_KEY_B, "x"},      {GLFW_KEY_C, "j"},
        {GLFW_KEY_D, "e"},          {GLFW_KEY_E, "."},     {GLFW_KEY_F, "u"},      {GLFW_KEY_G, "i"},
        {GLFW_KEY_H, "d"},          {GLFW_KEY_I, "c"},     {GLFW_KEY_J, "h"},      {GLFW_KEY_K, "t"},
        {GLFW_KEY_L, "n"},          {GLFW_KEY_M, "m"},     {GLFW_KEY_N, "b"},      {GLFW_KEY_O, "r"},
        {GLFW_KEY_P, "l"},          {GLFW_KEY_Q, "'"},     {GLFW_KEY_R, "p"},      {GLFW_KEY_S, "o"},
        {GLFW_KEY_T, "y"},          {GLFW_KEY_U, "g"},     {GLFW_KEY_V, "k"},      {GLFW_KEY_W, ","},
        {GLFW_KEY_X, "q"},          {GLFW_KEY_Y, "f"},     {GLFW_KEY_Z, ";"},
    };
    const auto found = names.find(key);
    return found == names.end() ? nullptr : found->second.c_str();
}

CartControls controlsFor(const char* layout, const KeyLookup& lookup, std::set<int> down)
{
    return readControls(layout, lookup, [&](int key) { return down.count(key) > 0; });
}

}  // namespace

TEST_F(Keyboard, QuitKeysThrowExitOnPressOnly)
{
    for (int key : {int('Q'), int('X'), GLFW_KEY_ESCAPE}) {
        EXPECT_THROW(onKey(key, GLFW_PRESS), Exit) << key;
        EXPECT_NO_THROW(onKey(key, GLFW_RELEASE)) << key;
        EXPECT_NO_THROW(onKey(key, GLFW_REPEAT)) << key;  // a held key acted on its press
    }
    // The classic Esc code is Enter under GLFW 3: it must not quit.
    EXPECT_NO_THROW(onKey(GLFW_KEY_ENTER, GLFW_PRESS));
}

TEST_F(Keyboard, FunctionKeysFlipTheSwitchesModuloTwo)
{
    onKey(GLFW_KEY_F1, GLFW_PRESS);
    EXPECT_TRUE(debugOverlay);
    onKey(GLFW_KEY_F1, GLFW_REPEAT);
    onKey(GLFW_KEY_F1, GLFW_RELEASE);
    EXPECT_TRUE(debugOverlay);
    onKey(GLFW_KEY_F1, GLFW_PRESS);
    EXPECT_FALSE(debugOverlay);

    for (int i = 1; i <= 5; ++i) {
        onKey(GLFW_KEY_F2, GLFW_PRESS);
        onKey(GLFW_KEY_F3, GLFW_PRESS);
        EXPECT_EQ(layoutIndex, i % 2);
        EXPECT_EQ(cameraIndex, i % 2);
    }
    onKey('M', GLFW_PRESS);  // with no run going, only the switch
    EXPECT_TRUE(soundMuted);
    onKey('M', GLFW_PRESS);
    EXPECT_FALSE(soundMuted);
    onKey('E', GLFW_PRESS);  // driving keys are not commands
    onKey(GLFW_KEY_KP_ENTER, GLFW_PRESS);
    EXPECT_EQ(layoutIndex, 1);
    EXPECT_EQ(cameraIndex, 1);
    EXPECT_FALSE(debugOverlay);
    EXPECT_FALSE(leaveResultsRequested) << "the key pad's Enter is another key";

    // F11 and Alt+Enter ask for fullscreen (twice within one event processing: no change);
    // Enter alone is kept for the results screen.
    onKey(GLFW_KEY_F11, GLFW_PRESS);
    EXPECT_TRUE(fullscreenRequested);
    onKey(GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_ALT);
    EXPECT_FALSE(fullscreenRequested);
    EXPECT_FALSE(leaveResultsRequested);
    onKey(GLFW_KEY_ENTER, GLFW_PRESS);
    EXPECT_TRUE(leaveResultsRequested);
    EXPECT_FALSE(fullscreenRequested);

    // Backspace asks for a new run at once, Space for one from the results; G hides the ghost
    // and shows it again. None of them quits.
    onKey(GLFW_KEY_BACKSPACE, GLFW_PRESS);
    EXPECT_TRUE(againRequested);
    EXPECT_FALSE(againFromResultsRequested);
    onKey(' ', GLFW_PRESS);
    EXPECT_TRUE(againFromResultsRequested);
    onKey('G', GLFW_PRESS);
    EXPECT_FALSE(ghostShown);
    onKey('G', GLFW_PRESS);
    EXPECT_TRUE(ghostShown);
}

TEST_F(Keyboard, PrintableKeysArriveAsTheirLayoutCharacter)
{
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_A, "q"), 'Q');  // AZERTY: the key labelled Q quits
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_Q, "a"), 'A');
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_B, "x"), 'X');  // Dvorak
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_E, "."), '.');
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_Q, nullptr), GLFW_KEY_Q);
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_2, "\xc3\xa9"), GLFW_KEY_2);  // "é": not one ASCII character
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_ESCAPE, nullptr), GLFW_KEY_ESCAPE);
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_F1, nullptr), GLFW_KEY_F1);
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_KP_ENTER, nullptr), GLFW_KEY_KP_ENTER);
    EXPECT_EQ(legacyKeyCode(GLFW_KEY_KP_DECIMAL, "."), GLFW_KEY_KP_DECIMAL);  // keypad keeps its own
}

TEST_F(Keyboard, LayoutStrings)
{
    EXPECT_STREQ(keyLayouts[0], "DEFSKILJ");
    EXPECT_STREQ(keyLayouts[1], "E.UOTCNH");
}

TEST_F(Keyboard, DvorakLayoutReadsTheSamePhysicalKeysAsQwerty)
{
    KeyLookup qwerty;
    qwerty.rebuild(qwertyName);
    KeyLookup dvorak;
    dvorak.rebuild(dvorakName);

    const int physical[8] = {GLFW_KEY_D, GLFW_KEY_E, GLFW_KEY_F, GLFW_KEY_S,
                             GLFW_KEY_K, GLFW_KEY_I, GLFW_KEY_L, GLFW_KEY_J};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(qwerty.keyFor(keyLayouts[0][i]), physical[i]) << i;
        EXPECT_EQ(dvorak.keyFor(keyLayouts[1][i]), physical[i]) << i;
    }

    const CartControls bothForward = controlsFor(keyLayouts[1], dvorak, {GLFW_KEY_E, GLFW_KEY_I});
    EXPECT_EQ(bothForward, controlsFor(keyLayouts[0], qwerty, {GLFW_KEY_E, GLFW_KEY_I}));
    EXPECT_TRUE(bothForward[LeftForward]);
    EXPECT_TRUE(bothForward[RightForward]);

    // The other layout's keys are not in this one: a stale flag reads false.
    EXPECT_EQ(controlsFor(keyLayouts[1], qwerty, {GLFW_KEY_I}), CartControls{});

    // A lookup knows when the keyboard layout has changed under it, for either key layout.
    for (const char* layout : keyLayouts) {
        EXPECT_TRUE(qwerty.current(layout, qwertyName)) << layout;
        EXPECT_FALSE(qwerty.current(layout, dvorakName)) << layout;
        EXPECT_TRUE(dvorak.current(layout, dvorakName)) << layout;
    }
}

TEST_F(Keyboard, UnknownNamesFallBackToTheTokenOfTheSameCode)
{
    KeyLookup none;
    none.rebuild([](int) -> const char* { return nullptr; });
    EXPECT_EQ(none.keyFor('.'), 46);  // GLFW_KEY_PERIOD
    EXPECT_EQ(none.keyFor('E'), GLFW_KEY_E);
    EXPECT_EQ(none.keyFor('e'), GLFW_KEY_E);

    // Both keys of a pair held: the sampler passes both on; the cart resolves them.
    const CartControls both = controlsFor(keyLayouts[0], none, {GLFW_KEY_D, GLFW_KEY_E});
    EXPECT_TRUE(both[LeftBack]);
    EXPECT_TRUE(both[LeftForward]);
}

TEST_F(Keyboard, GamepadSticksAreTheHandsBeyondHalfTheirTravelAndSomeButtonsAreCommands)
{
    GLFWgamepadstate pad{};
    EXPECT_EQ(stickControls(pad), CartControls{});
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1.0f;  // both sticks up: straight on, as E and I
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = -0.51f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = 0.15f;  // a little sideways: still straight up
    EXPECT_EQ(stickControls(pad), controlsFor(keyLayouts[0], KeyLookup{}, {GLFW_KEY_E, GLFW_KEY_I}));

    // Past half the travel in any direction a stick pushes, toward the one or two pushes it points
    // to: held diagonally at 60 % it pushes both ways, though each axis is under half.
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.42f;  // the left stick up and to the right
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.42f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.45f;  // under half the travel: the right hand rests
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.15f;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = 1.0f;  // triggers drive nothing
    CartControls expected{};
    expected[LeftForward] = expected[LeftRight] = true;
    EXPECT_EQ(stickControls(pad), expected);
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = -0.3f;  // down, a little left: pulls back alone
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = 0.9f;
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.7f;  // mostly left, a little down: left and back
    pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.35f;
    expected = CartControls{};
    expected[LeftBack] = expected[RightLeft] = expected[RightBack] = true;
    EXPECT_EQ(stickControls(pad), expected);

    // Keys and pad combine: either sets a flag.
    CartControls keys{};
    keys[RightForward] = true;
    CartControls both = expected;
    both[RightForward] = true;
    EXPECT_EQ(eitherControls(keys, expected), both);
}

// Buttons are commands once per press, and only a press of the pad that is driving: Y the
// camera, Back the overlay, A and Start play again from the results. A button held since before (as the last
// item is taken, say) or held by a pad just plugged in is no press.
TEST_F(Keyboard, GamepadButtonsCountPressesOfThePadThatDrives)
{
    PadReading before{0, {}};
    PadReading now = before;
    for (int button : {GLFW_GAMEPAD_BUTTON_Y, GLFW_GAMEPAD_BUTTON_BACK, GLFW_GAMEPAD_BUTTON_START})
        now.state.buttons[button] = GLFW_PRESS;
    const std::vector<Command> pressed{Command::switchCamera, Command::toggleOverlay,
                                       Command::againFromResults};
    EXPECT_EQ(padCommands(before, now), pressed);
    EXPECT_TRUE(padCommands(now, now).empty());
    now.state.buttons[GLFW_GAMEPAD_BUTTON_START] = GLFW_RELEASE;
    now.state.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    EXPECT_EQ(padCommands(before, now), pressed);
    EXPECT_TRUE(padCommands(PadReading{}, now).empty()) << "a pad just plugged in";
    EXPECT_TRUE(padCommands(PadReading{1, {}}, now).empty()) << "another pad took over";

    // The first gamepad in connection order drives. One found gone as it is read disconnects
    // there and then: the walk goes on to the next pad, in a list that changed under it.
    std::vector<int> joysticks = {0, 1, 2};
    GLFWgamepadstate second{};
    second.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    const PadReading driving = readDrivingPad(joysticks, [&](int jid, GLFWgamepadstate& state) {
        if (jid == 0) {
            notePadConnection(joysticks, 0, GLFW_DISCONNECTED);
            return false;
        }
        state = jid == 1 ? second : GLFWgamepadstate{};
        return true;
    });
    EXPECT_EQ(driving.joystick, 1);
    EXPECT_EQ(driving.state.buttons[GLFW_GAMEPAD_BUTTON_A], GLFW_PRESS);
    EXPECT_EQ(joysticks, (std::vector<int>{1, 2}));
    notePadConnection(joysticks, 0, GLFW_CONNECTED);  // plugged in again: last in the order
    EXPECT_EQ(joysticks, (std::vector<int>{1, 2, 0}));
}
