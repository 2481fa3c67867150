#pragma once

#include <functional>

/// The longest frame the game advances by, seconds (1/30 rounded to single precision).
constexpr float maxFrameTime = 0.033333335f;

/// The frame timer's state for the whole run.
struct FrameTimer {
    bool started = false;   ///< set by the first reading
    double previous = 0.0;  ///< the previous clock reading, seconds
};

/// Seconds since the timer's previous reading, from `readClock` (seconds, double precision;
/// read twice on the first call, once after). Rounded to single precision and clamped to
/// [0, maxFrameTime]; the previous reading becomes the new one whatever the clamp did. A reading
/// that is NaN or infinite gives 0 and is passed over: the next real one counts from the last.
float nextFrameTime(FrameTimer& timer, const std::function<double()>& readClock);
