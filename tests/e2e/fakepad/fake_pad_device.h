#pragma once

// The one gamepad that the preloaded shim (fake_pad_shim.cpp) shows GLFW and the harness
// (support/fake_pad.h) plays: an Xbox 360 controller as Linux's xpad driver reports it, and the
// files in the pad's directory through which the two meet.

#include <linux/input.h>

namespace e2e {

/// The environment variable that names the pad's directory; where it is unset or empty the shim
/// changes nothing.
inline constexpr const char* fakePadVariable = "SHELVOY_FAKE_PAD";
/// The device as the game opens it: /dev/input/<this>. In the pad's directory, a FIFO of
/// `struct input_event`s under the same name, there exactly while the pad is plugged in.
inline constexpr const char* fakePadNode = "event99";
/// In the pad's directory: a FIFO of `struct inotify_event`s that stands for the game's inotify
/// watch on /dev/input (IN_CREATE and IN_DELETE of fakePadNode).
inline constexpr const char* fakePadHotplug = "hotplug";
/// The watch descriptor of /dev/input, in the records of the hotplug FIFO and as
/// inotify_add_watch returns it to the game.
inline constexpr int fakePadWatch = 1;

/// The identity xpad gives a wired Xbox 360 controller; GLFW makes the mapping GUID
/// 030000005e0400008e02000014010000 of it.
inline constexpr input_id fakePadId = {BUS_USB, 0x045e, 0x028e, 0x0114};
/// The device name, as EVIOCGNAME reports it.
inline constexpr const char* fakePadName = "Microsoft X-Box 360 pad";

/// The buttons' EV_KEY codes in ascending order: GLFW numbers the joystick's buttons in this order
/// (BTN_A is button 0, BTN_THUMBR button 10).
inline constexpr int fakePadKeys[] = {BTN_A,      BTN_B,     BTN_X,    BTN_Y,      BTN_TL,    BTN_TR,
                                      BTN_SELECT, BTN_START, BTN_MODE, BTN_THUMBL, BTN_THUMBR};

/// One EV_ABS axis: its code and the limits EVIOCGABS reports, in the axis's raw units.
struct FakePadAxis {
    int code;     ///< ABS_X ...
    int minimum;  ///< raw value of full deflection left / up, or of a released trigger
    int maximum;  ///< raw value of full deflection right / down, or of a fully pulled trigger
    int fuzz;     ///< the driver's noise filter, raw units
    int flat;     ///< the driver's dead zone, raw units
};

/// The axes in ascending code order: GLFW numbers the sticks' and triggers' axes in this order
/// and the hat (ABS_HAT0X and ABS_HAT0Y) as hat 0.
inline constexpr FakePadAxis fakePadAxes[] = {
    {ABS_X, -32768, 32767, 16, 128},  {ABS_Y, -32768, 32767, 16, 128},  {ABS_Z, 0, 255, 0, 0},
    {ABS_RX, -32768, 32767, 16, 128}, {ABS_RY, -32768, 32767, 16, 128}, {ABS_RZ, 0, 255, 0, 0},
    {ABS_HAT0X, -1, 1, 0, 0},         {ABS_HAT0Y, -1, 1, 0, 0},
};

}  // namespace e2e
