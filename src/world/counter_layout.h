#pragma once

#include <string>

/// Every character the counters can ever show: the clock's digits and separators, and the
/// letters and space of the items-left line.
inline constexpr char counterCharacters[] = "0123456789:. efilmst";
/// Every character a split under the clock can show (marginText).
inline constexpr char splitCharacters[] = "0123456789.+-";

/// The items-left line: the count in plain decimal, then " item left" for 1, else " items left".
std::string itemsLeftText(int itemsLeft);

// The counters are laid out in logical pixels: `scale` is the window's content scale, screen
// pixels per logical pixel (1 on an ordinary screen, 2 on a 2x one).

/// Baseline of both counters in a window `height` pixels tall: (height - 32 * scale) -
/// 6.4 * scale, pixels from the bottom.
float counterBaseline(int height, float scale = 1.0f);

/// Left end of the items-left line, pixels from the left edge (32 / 3 * scale).
float itemsLeftX(float scale = 1.0f);

/// Left end of the run clock, so that a clock `clockWidth` pixels wide ends 32 / 3 * scale
/// pixels from the right edge of a window `width` pixels wide.
float clockX(int width, float clockWidth, float scale = 1.0f);

/// How much smaller than their own size both counters are drawn in a window `width` pixels wide:
/// 1 where they fit, else the factor at which the items-left line (`itemsWidth` pixels at its own
/// size) and the clock (`clockWidth`), each at its own edge, leave `gap` pixels (about a
/// character, which shrinks with them) between them. Never below a twentieth.
float counterShrink(int width, float itemsWidth, float clockWidth, float gap, float scale = 1.0f);
/// A margin against the record, seconds (negative: ahead), as the splits and the results show it:
/// its sign always ("-0.412", "+1.020", "+0.000" for a tie), then whole seconds and milliseconds,
/// truncated toward zero as the clock is.
std::string marginText(double seconds);

/// Baseline of the split shown under the run clock: one line of the counters' text below theirs.
float splitBaseline(int height, float scale = 1.0f);
