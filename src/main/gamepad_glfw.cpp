// The gamepad's GLFW side: which pad drives, and its state once a frame.

#include <algorithm>

#include "main/gamepad.h"
#include "main/keyboard.h"
#include "main/shell.h"

namespace {

void joystickCallback(int jid, int event)
{
    padsByConnection.erase(std::remove(padsByConnection.begin(), padsByConnection.end(), jid),
                           padsByConnection.end());
    if (event == GLFW_CONNECTED)
        padsByConnection.push_back(jid);
}

}  // namespace

void watchGamepads()
{
    padsByConnection.clear();
    for (int jid = GLFW_JOYSTICK_1; jid <= GLFW_JOYSTICK_LAST; ++jid)
        if (glfwJoystickPresent(jid))
            padsByConnection.push_back(jid);
    glfwSetJoystickCallback(joystickCallback);
}

void readGamepad()
{
    previousPadReading = padReading;
    padReading = GLFWgamepadstate{};
    for (const int jid : padsByConnection)
        if (glfwJoystickIsGamepad(jid) && glfwGetGamepadState(jid, &padReading))
            break;
    for (const int key : padCommandKeys(previousPadReading, padReading))
        onKey(key, GLFW_PRESS);
}
