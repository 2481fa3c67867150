#include "main/frame_timer.h"

float nextFrameTime(FrameTimer& timer, const std::function<double()>& readClock)
{
    if (!timer.started) {
        timer.previous = readClock();
        timer.started = true;
    }
    const double now = readClock();
    float dt = static_cast<float>(now - timer.previous);
    if (dt < 0.0f)
        dt = 0.0f;
    else if (dt > maxFrameTime)
        dt = maxFrameTime;
    timer.previous = now;
    return dt;
}
