#include "main/frame_pacer.h"

namespace {

constexpr double defaultRefreshRate = 60.0;  // Hz, for a display that does not tell
constexpr double earlyShare = 1.0 / 16.0;    // of a period: a swap this early still counts as on time

}  // namespace

double refreshPeriod(int refreshRate)
{
    return 1.0 / (refreshRate > 0 ? static_cast<double>(refreshRate) : defaultRefreshRate);
}

double nextFrameStart(FramePacer& pacer, double now)
{
    const double due = pacer.mark + pacer.period;
    if (!pacer.started || now >= due - earlyShare * pacer.period || now < pacer.mark) {
        pacer.started = true;
        pacer.mark = now;
        return now;
    }
    pacer.mark = due;
    return due;
}
