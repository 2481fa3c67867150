#include "main/frame_pacer.h"

#include <cmath>

namespace {

constexpr double defaultRefreshRate = 60.0;        // Hz, for a display that does not tell
constexpr double slowestPacedRate = 30.0;          // Hz: the game's dt is clamped at 1/30 s
constexpr double fasterThanReported = 1.0 / 32.0;  // of a period: the pace's lead on the display
constexpr double forgivenLateness = 0.25;          // frames: how far a late frame may be made up

}  // namespace

double refreshPeriod(int refreshRate)
{
    const double rate = refreshRate > 0 ? static_cast<double>(refreshRate) : defaultRefreshRate;
    return 1.0 / (rate < slowestPacedRate ? slowestPacedRate : rate);
}

double pacedFrameInterval(double period) { return period * (1.0 - fasterThanReported); }

double nextFrameStart(FramePacer& pacer, double now)
{
    if (!std::isfinite(now)) {
        pacer.started = false;  // nothing to measure from: the next finite reading starts afresh
        return now;
    }
    if (!pacer.started || now < pacer.mark) {
        pacer.started = true;
        pacer.mark = now;
        pacer.credit = 0.0;
        return now;
    }
    // Frames' worth of time since the previous frame was let go, with what was left over before.
    const double interval = pacedFrameInterval(pacer.period);
    double allowed = pacer.credit + (now - pacer.mark) / interval;
    if (allowed > 1.0 + forgivenLateness)
        allowed = 1.0 + forgivenLateness;
    if (allowed >= 1.0) {
        pacer.credit = allowed - 1.0;
        pacer.mark = now;
        return now;
    }
    const double start = now + (1.0 - allowed) * interval;
    pacer.credit = 0.0;
    pacer.mark = start;
    return start;
}
