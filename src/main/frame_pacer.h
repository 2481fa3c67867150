#pragma once

// Where the buffer swap does not wait for the display (no vsync: Xvfb, remote X, wine, many
// drivers once the window is hidden, vsync switched off), the loop would present frames as fast
// as it can draw them. The pacer holds it to the display's refresh rate instead; where the swap
// already waits, the display paces the loop and the pacer stays out of its way.

/// The refresh period of a display refreshing `refreshRate` times a second (as GLFW's video mode
/// gives it), seconds: 1/60 when the rate is unknown (0 or less), and never longer than the
/// longest frame the game advances by (1/30), so that pacing never slows the game down.
double refreshPeriod(int refreshRate);

/// The pacer's state for the whole run.
struct FramePacer {
    double period = 1.0 / 60.0;  ///< seconds between two of the display's refreshes
    bool started = false;        ///< set by the first frame
    double mark = 0.0;           ///< when the previous frame was let go, clock seconds
};

/// Called once a frame has been presented, or skipped while nothing can be seen, at clock reading
/// `now` (seconds), the swap having taken `swapSeconds` of it (0 when nothing was swapped): the
/// reading at which the next frame may start.
/// - A swap that blocked for a quarter of a period or more waited for the display, which paces
///   the loop: `now`, never a wait.
/// - Otherwise the pacer paces: `now` when a whole period has passed since the previous frame was
///   let go (within a sixteenth of a period), and the end of that period otherwise, so that
///   successive frames start exactly one period apart. A late frame starts the count afresh
///   rather than being made up for by a burst (so does a clock that went back).
double nextFrameStart(FramePacer& pacer, double now, double swapSeconds);
