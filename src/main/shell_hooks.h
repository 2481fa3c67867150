#pragma once

// Where the shell takes its time from, and what happens once a frame is done. The game runs on
// the defaults; a test build substitutes its own to step the game frame by frame in time it
// controls. Nothing else reads these.

#include <functional>

#include "platform/clock.h"

class World;

struct ShellHooks {
    /// A clock reading, seconds from an arbitrary origin: the frame timer's and the countdown's
    /// only source of time.
    std::function<double()> now = monotonicSeconds;
    /// Returns once now() has reached `deadline`, seconds on the same clock (the frame pacing's
    /// wait).
    std::function<void(double deadline)> sleepUntil = sleepUntilSeconds;
    /// Called after every frame of the countdown, the play loop and the results screen, once
    /// the frame is on screen and before the window's events are processed; empty: nothing.
    std::function<void(const World& world)> frameDone;
    /// Whether the game's sound goes to the system's audio device. A test build that renders it
    /// in game time instead (gameSound->render, in frameDone) opens none.
    bool audioDevice = true;
};
