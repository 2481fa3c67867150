#include "main/gamepad.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Within this share of the lean, an axis of the stick pushes nothing: sin 22.5 degrees, so that
// each of the eight directions gets the same 45 degrees around it.
constexpr float offAxisShare = 0.38268343f;

// The flags of one hand from its stick: the (negative, positive) pairs of its two axes.
void handFromStick(float x, float y, ControlIndex back, ControlIndex forward, ControlIndex right,
                   ControlIndex left, CartControls& flags)
{
    const float lean = std::sqrt(x * x + y * y);
    if (!(lean > stickDeadZone))
        return;
    const float least = offAxisShare * lean;
    flags[back] = y > least;  // GLFW's y grows downward
    flags[forward] = y < -least;
    flags[right] = x > least;
    flags[left] = x < -least;
}

bool pressedSince(const GLFWgamepadstate& before, const GLFWgamepadstate& now, int button)
{
    return now.buttons[button] == GLFW_PRESS && before.buttons[button] != GLFW_PRESS;
}

}  // namespace

CartControls stickControls(const GLFWgamepadstate& pad)
{
    CartControls flags{};
    handFromStick(pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X], pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y], LeftBack,
                  LeftForward, LeftRight, LeftLeft, flags);
    handFromStick(pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X], pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y], RightBack,
                  RightForward, RightRight, RightLeft, flags);
    return flags;
}

CartControls eitherControls(const CartControls& keys, const CartControls& pad)
{
    CartControls flags{};
    for (size_t i = 0; i < flags.size(); ++i)
        flags[i] = keys[i] || pad[i];
    return flags;
}

PadReading readDrivingPad(const std::vector<int>& joysticks,
                          const std::function<bool(int joystick, GLFWgamepadstate& state)>& read)
{
    std::array<int, GLFW_JOYSTICK_LAST + 1> ids{};
    const size_t count = std::min(joysticks.size(), ids.size());
    std::copy_n(joysticks.begin(), count, ids.begin());
    for (size_t i = 0; i < count; ++i) {
        PadReading reading;
        if (read(ids[i], reading.state)) {
            reading.joystick = ids[i];
            return reading;
        }
    }
    return PadReading{};
}

std::vector<Command> padCommands(const PadReading& before, const PadReading& now)
{
    std::vector<Command> commands;
    if (now.joystick < 0 || now.joystick != before.joystick)
        return commands;
    const auto pressed = [&](int button) { return pressedSince(before.state, now.state, button); };
    if (pressed(GLFW_GAMEPAD_BUTTON_Y))
        commands.push_back(Command::switchCamera);
    if (pressed(GLFW_GAMEPAD_BUTTON_BACK))
        commands.push_back(Command::toggleOverlay);
    if (pressed(GLFW_GAMEPAD_BUTTON_A) || pressed(GLFW_GAMEPAD_BUTTON_START))
        commands.push_back(Command::againFromResults);
    return commands;
}

void notePadConnection(std::vector<int>& joysticks, int joystick, int event)
{
    joysticks.erase(std::remove(joysticks.begin(), joysticks.end(), joystick), joysticks.end());
    if (event == GLFW_CONNECTED)
        joysticks.push_back(joystick);
}
