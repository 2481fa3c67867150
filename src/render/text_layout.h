#pragma once

#include <vector>

/// Fixed-pitch placement of a string: every character centred in a cell as wide as the
/// widest character, so changing digits never make the text jitter.
struct FixedPitchLayout {
    float cell = 0.0f;     ///< width of one cell, text units
    std::vector<float> x;  ///< left end of each character's pen position, text units
};

/// The fixed-pitch layout for per-character advances (text units): cell = the largest
/// advance, x[i] = (cell - advance[i]) * 0.5 + i * cell.
FixedPitchLayout layoutFixedPitch(const std::vector<float>& advances);

/// The width the fixed-pitch layout covers: n * the largest advance (0 when empty).
float fixedPitchWidth(const std::vector<float>& advances);
