#pragma once

// Where things are on the game's 800x600 window (pixels, origin top left) and the colours the
// tests look for there.

#include "support/image.h"

namespace e2e {

/// The centre, where the countdown word stands.
inline constexpr Rect countdownArea{150, 100, 500, 400};
/// The "20 items left" counter, top left, and the run clock, top right.
inline constexpr Rect itemsCounterArea{0, 0, 320, 56};
inline constexpr Rect clockArea{560, 0, 240, 56};
/// Around the cart in the overhead view, clear of the nearest item.
inline constexpr Rect aroundOverheadCart{320, 220, 160, 160};

/// The cart's red handle across its rear edge, seen from above. At the start heading the cart
/// faces down the overhead view, its handle on top.
inline constexpr Rgb cartHandle{210, 52, 26};

/// Text is pure white; the brightest lit floor tile is (247, 247, 247).
inline constexpr int textTolerance = 4;
/// The overlay's static bodies (the shelves), (0.5, 0.9, 0.5).
inline constexpr Rgb overlayShelf{128, 230, 128};

/// Top edge of the cart's handle in the overhead view; -1 when it cannot be seen.
inline int handleTop(const Image& image)
{
    const Rect handle = boundsOf(image, image.whole(), cartHandle, 12);
    return handle.width > 0 ? handle.y : -1;
}

inline int whiteIn(const Image& image, Rect area) { return countNear(image, area, white, textTolerance); }
/// Pixels of the black rim around text: dark and colourless. Smoothed edges blend it with what
/// lies behind, so it is rarely pure black; the store's dark shelf sides are bluish.
inline int rimIn(const Image& image, Rect area) { return countGrey(image, area, 0, 80); }

}  // namespace e2e
