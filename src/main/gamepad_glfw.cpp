// The gamepad's GLFW side: which pad drives, and its state once a frame.

#include "main/gamepad.h"
#include "main/shell.h"

namespace {

void joystickCallback(int jid, int event) { notePadConnection(padsByConnection, jid, event); }

// A pad found gone while it is read disconnects there and then: GLFW runs joystickCallback from
// inside these calls.
bool readGamepadState(int jid, GLFWgamepadstate& state)
{
    return glfwJoystickIsGamepad(jid) && glfwGetGamepadState(jid, &state);
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
    padReading = readDrivingPad(padsByConnection, readGamepadState);
    for (const Command command : padCommands(previousPadReading, padReading))
        carryOut(command);
}
