#pragma once

// Which display's refresh rate the frames are paced by. A window shows on one monitor; its rate
// can change during a run (a mode set to another rate, a monitor plugged in or removed, the
// window moved or made fullscreen), and some systems cannot tell where a window stands at all.

#include <vector>

/// A connected monitor as the frame pacing sees it: its place on the desktop and the size and
/// refresh rate of its current video mode (screen coordinates; Hz, 0 when it does not tell).
struct MonitorMode {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int refreshRate = 0;
};

/// Seconds between two readings of the refresh rate when nothing says that it changed: a
/// monitor set to a mode of another rate reports it to no callback.
constexpr double refreshRateCheckInterval = 1.0;

/// The refresh rate to pace the window by, Hz (0: unknown): that of monitors[filled] when the
/// window fills that monitor (filled >= 0); else that of the monitor showing the window's centre
/// (centreX, centreY) when the system can tell where the window is (`placed`); else, and when the
/// centre is on none of them, the fastest monitor's, so that no frame is held back.
int windowRefreshRate(const std::vector<MonitorMode>& monitors, int filled, bool placed, int centreX,
                      int centreY);
