#include "main/frame_timer.h"

#include <cmath>

float nextFrameTime(FrameTimer& timer, const std::function<double()>& readClock)
{
    if (!timer.started) {
        timer.previous = readClock();
        timer.started = true;
    }
    const double now = readClock();
    if (!std::isfinite(now))
        return 0.0f;  // no time passes; the next real reading counts from the last one
    if (!std::isfinite(timer.previous))
        timer.previous = now;  // the first reading was no real one
    float dt = static_cast<float>(now - timer.previous);
    if (dt < 0.0f)
        dt = 0.0f;
    else if (dt > maxFrameTime)
        dt = maxFrameTime;
    timer.previous = now;
    return dt;
}
