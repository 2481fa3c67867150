#pragma once

// Whether the buffer swap itself holds the frames to the display's pace. A desktop's swap waits
// for the display's refresh only where the driver and the window let it (vsync on, the window
// shown, a real display rather than Xvfb): the game paces its frames by the display's rate. A
// page's swap always returns at the browser's next animation frame, and pacing of the game's own
// on top of it, by a rate read from those same frames, would hold frames back on a fast display.

/// Whether the swap returns only at the display's next refresh, whatever the system's settings:
/// then the game adds no pacing of its own.
bool swapWaitsForDisplay();
