#pragma once

// A gamepad as the trolley's two hands: its left stick pushes the left end of the handle, its
// right stick the right end, in the same eight directions the keys give. A few of its buttons
// stand for the keyboard's commands.

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>  // GLFWgamepadstate: the pad's axes and buttons, plain data

#include <vector>

#include "cart/cart_controls.h"

/// How far a stick must lean along one of its axes before it pushes: more than half its travel
/// (axes run from -1 to 1).
constexpr float stickDeadZone = 0.5f;

/// The driving flags the sticks of `pad` give. Each stick is one hand: leaning up pushes that end
/// of the handle forward, down pulls it back, left and right push it toward the cart's left and
/// right. An axis sets its flag when it leans further than stickDeadZone that way.
CartControls stickControls(const GLFWgamepadstate& pad);

/// The flags that either the keys or the pad set.
CartControls eitherControls(const CartControls& keys, const CartControls& pad);

/// The keys whose commands the pad's buttons gave between the readings `before` and `now`, once
/// for each button pressed since: Y (the top face button) switches the camera as F3 does, Back
/// shows or hides the physics overlay as F1 does. No button quits.
std::vector<int> padCommandKeys(const GLFWgamepadstate& before, const GLFWgamepadstate& now);

/// Whether `pad` asks to leave the results screen, as Enter does: A or Start held.
bool padLeavesResults(const GLFWgamepadstate& pad);

/// Starts watching the joysticks: those already connected, in the order of their ids, then each
/// one connected or disconnected later (through GLFW's joystick callback). Needs GLFW initialised.
void watchGamepads();

/// Reads the driving gamepad, the first connected one that GLFW recognises as a gamepad, into
/// padReading (the previous reading moves to previousPadReading), and carries out the commands
/// its buttons gave since. Called once a frame, after the window's events.
void readGamepad();
