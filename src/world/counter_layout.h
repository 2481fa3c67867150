#pragma once

#include <string>

/// The items-left line: the count in plain decimal, then " item left" for 1, else " items left".
std::string itemsLeftText(int itemsLeft);

/// Baseline of both counters in a window `height` pixels tall: (height - 32) - 6.4, pixels
/// from the bottom.
float counterBaseline(int height);

/// Left end of the items-left line, pixels from the left edge (32 / 3).
float itemsLeftX();

/// Left end of the run clock, so that a clock `clockWidth` pixels wide ends 32 / 3 pixels
/// from the right edge of a window `width` pixels wide.
float clockX(int width, float clockWidth);
