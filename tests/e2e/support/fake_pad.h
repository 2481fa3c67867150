#pragma once

// A gamepad for the game on a machine that has none: the shim preloaded into the game
// (fakepad/fake_pad_shim.cpp) shows GLFW one evdev device, an Xbox 360 controller, and this side
// plays it: plugs it in, pulls it out, moves its sticks and presses its buttons.
//
//     FakePad pad;                          // plugged in from the start
//     SteppedOptions options;
//     options.environment = pad.environment();
//     SteppedRun run(options);
//     run.start();
//     pad.stick(0, 0.0f, -1.0f);            // left stick fully up
//     pad.press(PadButton::start);
//     run.advance();                        // the game's next look at the pad sees both
//
// The game sees what was written at its next glfwGetGamepadState (or any other joystick call),
// and a plug-in or pull-out at its next glfwPollEvents. One game at a time plays one FakePad.
// Linux builds of the game only: the shim works through the C library's open, read and ioctl.

#include <linux/input.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace e2e {

/// The pad's buttons, numbered as GLFW numbers a gamepad's (GLFW_GAMEPAD_BUTTON_A is 0, ...,
/// GLFW_GAMEPAD_BUTTON_DPAD_LEFT is 14), so that `static_cast<PadButton>(GLFW_GAMEPAD_BUTTON_X)`
/// names the same button. The d-pad is the pad's hat, as on the real controller.
enum class PadButton {
    a,
    b,
    x,
    y,
    leftBumper,
    rightBumper,
    back,
    start,
    guide,
    leftThumb,
    rightThumb,
    dpadUp,
    dpadRight,
    dpadDown,
    dpadLeft,
};

class FakePad {
public:
    /// Makes the pad's directory (a TempDir of its own, removed with the FakePad), with the pad
    /// plugged in when `pluggedIn`, its sticks centred and every button released.
    explicit FakePad(bool pluggedIn = true);
    /// Pulls the pad out; a game still running sees it go.
    ~FakePad();
    FakePad(const FakePad&) = delete;
    FakePad& operator=(const FakePad&) = delete;

    /// The NAME=value entries that give the game this pad: LD_PRELOAD (the shim) and
    /// SHELVOY_FAKE_PAD (the directory); for GameOptions::environment or SteppedOptions::environment.
    std::vector<std::string> environment() const;

    /// Plugs the pad in, at rest (sticks centred, buttons released); the game opens it at its next
    /// glfwPollEvents, or at glfwInit if it has not started yet. Throws if it is plugged in already.
    void plugIn();
    /// Pulls the pad out; what the game has not read yet is lost, as with a real cable. Throws if it
    /// is out already.
    void pullOut();
    /// True between plugIn() (or a constructor told so) and pullOut().
    bool pluggedIn() const { return m_node >= 0; }

    /// Moves stick `stickIndex` (0 the left, 1 the right) to `x`, `y`, each clamped to -1..1, the
    /// units GLFW reports the stick's axes in: x -1 full left, +1 full right; y -1 full up, +1 full
    /// down. The raw value written is the nearest the controller can report: GLFW reads it back
    /// within 1/65535 of what was asked (a centred stick reads 0.0000153).
    void stick(int stickIndex, float x, float y);
    /// Presses `button` (it stays down until released).
    void press(PadButton button);
    /// Releases `button`.
    void release(PadButton button);

    /// The pad's directory (the value of SHELVOY_FAKE_PAD); owned by the FakePad.
    const std::filesystem::path& directory() const { return m_directory.path(); }

private:
    void setButton(PadButton button, bool down);
    // Writes `events` and a SYN_REPORT as one report, which the game reads whole.
    void send(std::vector<input_event> events);
    void sendHotplug(unsigned mask);
    void sendDpad();

    TempDir m_directory;
    int m_hotplug = -1;   // both ends of the hotplug FIFO, held for the FakePad's life
    int m_node = -1;      // both ends of the device FIFO while plugged in, else -1
    bool m_dpad[4] = {};  // up, right, down, left held, for the hat's two axes
};

}  // namespace e2e
