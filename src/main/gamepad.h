#pragma once

// A gamepad as the trolley's two hands: its left stick pushes the left end of the handle, its
// right stick the right end, in the same eight directions the keys give. A few of its buttons
// stand for the keyboard's commands.

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>  // GLFWgamepadstate: the pad's axes and buttons, plain data

#include <functional>
#include <vector>

#include "cart/cart_controls.h"
#include "main/commands.h"

/// How far a stick must lean, in any direction, before it pushes: more than half its travel
/// (each axis runs from -1 to 1; the lean is the length of the stick's (x, y)).
constexpr float stickDeadZone = 0.5f;

/// The driving flags the sticks of `pad` give. Each stick is one hand: leaning up pushes that end
/// of the handle forward, down pulls it back, left and right push it toward the cart's left and
/// right. A stick leaning past stickDeadZone pushes the one or two of these four that its
/// direction points toward: within 22.5 degrees of straight up, up alone; between two of them, both.
CartControls stickControls(const GLFWgamepadstate& pad);

/// The flags that either the keys or the pad set.
CartControls eitherControls(const CartControls& keys, const CartControls& pad);

/// One reading of the driving gamepad.
struct PadReading {
    int joystick = -1;         ///< GLFW's id of the pad read; -1: none (all released, centred)
    GLFWgamepadstate state{};  ///< its sticks and buttons
};

/// Reads the driving gamepad: the first of `joysticks` (GLFW ids, in the order they were
/// connected) that `read` reads as a gamepad (it fills the state and returns true). The walk goes
/// over a copy of the list taken first, so `read` may change `joysticks` (a pad found gone
/// while it is read disconnects at once) without harm.
PadReading readDrivingPad(const std::vector<int>& joysticks,
                          const std::function<bool(int joystick, GLFWgamepadstate& state)>& read);

/// The commands the pad's buttons gave between the readings `before` and `now`, once for each
/// button pressed since: Y (the top face button) switches the camera, Back shows or hides the
/// physics overlay, A and Start play again from the results screen. A button counts only when the same pad
/// was read before with it released: a pad that has just become the driving one gives none for
/// the buttons it holds. No button quits.
std::vector<Command> padCommands(const PadReading& before, const PadReading& now);

/// Keeps `joysticks` (GLFW ids in the order they were connected) up to date with one of GLFW's
/// joystick events: `joystick` connected (GLFW_CONNECTED, put last) or disconnected (removed).
void notePadConnection(std::vector<int>& joysticks, int joystick, int event);

/// Starts watching the joysticks: those already connected, in the order of their ids, then each
/// one connected or disconnected later (through GLFW's joystick callback). Needs GLFW initialised.
void watchGamepads();

/// Reads the driving gamepad into padReading (the previous reading moves to previousPadReading)
/// and carries out the commands its buttons gave since. Called once a frame, after the window's
/// events.
void readGamepad();
