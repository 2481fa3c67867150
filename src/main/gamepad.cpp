#include "main/gamepad.h"

namespace {

// The flags of one hand from its stick: the (negative, positive) pairs of its two axes.
void handFromStick(float x, float y, ControlIndex back, ControlIndex forward, ControlIndex right,
                   ControlIndex left, CartControls& flags)
{
    flags[back] = y > stickDeadZone;  // GLFW's y grows downward
    flags[forward] = y < -stickDeadZone;
    flags[right] = x > stickDeadZone;
    flags[left] = x < -stickDeadZone;
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

std::vector<int> padCommandKeys(const GLFWgamepadstate& before, const GLFWgamepadstate& now)
{
    std::vector<int> keys;
    if (pressedSince(before, now, GLFW_GAMEPAD_BUTTON_Y))
        keys.push_back(GLFW_KEY_F3);
    if (pressedSince(before, now, GLFW_GAMEPAD_BUTTON_BACK))
        keys.push_back(GLFW_KEY_F1);
    return keys;
}

bool padLeavesResults(const GLFWgamepadstate& pad)
{
    return pad.buttons[GLFW_GAMEPAD_BUTTON_A] == GLFW_PRESS ||
           pad.buttons[GLFW_GAMEPAD_BUTTON_START] == GLFW_PRESS;
}
