#pragma once

// Where the buffer swap does not wait for the display (no vsync: Xvfb, remote X, wine, many
// drivers once the window is hidden, vsync switched off), the loop would present frames as fast
// as it can draw them. The pacer holds it to about the display's refresh rate instead. Where the
// swap does wait, the frames already come once a period, and the pacer must never hold one back:
// it lets frames run a little faster than the rate it is told (a display's rate is reported
// rounded, down as often as not) and forgives a frame that is late by up to a quarter of a period
// (the thread was preempted after the swap returned, say), so that the frame after it, which the
// display lets go on its usual beat, is not taken for an early one.

/// The refresh period of a display refreshing `refreshRate` times a second (as GLFW's video mode
/// gives it), seconds: 1/60 when the rate is unknown (0 or less), and never longer than the
/// longest frame the game advances by (1/30), so that pacing never slows the game down.
double refreshPeriod(int refreshRate);

/// The pacer's state for the whole run.
struct FramePacer {
    double period = 1.0 / 60.0;  ///< seconds between two of the display's refreshes
    bool started = false;        ///< set by the first frame
    double mark = 0.0;           ///< when the previous frame was let go, clock seconds
    double credit = 0.0;         ///< frames' worth the loop may run ahead of the pace, 0 to 1/4
};

/// The shortest time between two frames the pacer lets go in a row, seconds: a little shorter
/// than `period` (by a thirty-second), so that a display whose real rate lies just above the one
/// reported never finds its frames held.
double pacedFrameInterval(double period);

/// Called once a frame has been presented, or skipped while nothing can be seen, at clock reading
/// `now` (seconds): the reading at which the next frame may start. `now` itself when the pace
/// allows the frame, else the moment it does: frames that come early (a swap that did not wait)
/// start pacedFrameInterval() apart. Every interval a frame takes counts toward the next, up to a
/// quarter of one: a frame that comes late makes up no more than that (no burst), and one that
/// comes that much early after a late one is not held. A clock that went back starts afresh; a
/// reading that is no number or infinite lets its frame go at once (it returns that reading) and
/// leaves the next finite one to start afresh.
double nextFrameStart(FramePacer& pacer, double now);
