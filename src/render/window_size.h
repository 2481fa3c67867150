#pragma once

// What the drawing needs to know of the window: its size and its content scale. The shell writes
// both from its window callbacks; they are defined with the shell's other switches
// (main/shell_state.cpp), the one place the game keeps mutable globals.

/// The client area in framebuffer pixels, each at least 1.
struct WindowSize {
    int width = 800;
    int height = 600;
};

/// Current window size, pixels; written by the size callback, read for every viewport, 2D
/// projection and text placement.
extern WindowSize windowSize;
/// The window's content scale: screen pixels per logical pixel (2 on a 2x screen); written at
/// window set-up and by the content-scale callback.
extern float contentScale;

/// The content scale the game uses for a window whose system reports `reported`: that, when it is
/// a plausible one (0.5 to 8), and 1 otherwise (an Xft.dpi of 0, -96 or "abc" gives 0 or less).
inline float usableContentScale(float reported)
{
    return reported >= 0.5f && reported <= 8.0f ? reported : 1.0f;  // false for NaN too
}
