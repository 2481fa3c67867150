#include "main/frame_pacer.h"

namespace {

constexpr double defaultRefreshRate = 60.0;  // Hz, for a display that does not tell
constexpr double slowestPacedRate = 30.0;    // Hz: the game's dt is clamped at 1/30 s
constexpr double earlyShare = 1.0 / 16.0;    // of a period: a frame this early still counts as on time
// Of a period: a swap that blocked this long waited for the display. Well above what copying a
// frame to an X server that does not wait costs (about 1.5 ms at 1920x1080 with software GL), well
// below the wait of a swap that does (the rest of the period after drawing).
constexpr double waitingSwapShare = 1.0 / 4.0;

}  // namespace

double refreshPeriod(int refreshRate)
{
    const double rate = refreshRate > 0 ? static_cast<double>(refreshRate) : defaultRefreshRate;
    return 1.0 / (rate < slowestPacedRate ? slowestPacedRate : rate);
}

double nextFrameStart(FramePacer& pacer, double now, double swapSeconds)
{
    const double due = pacer.mark + pacer.period;
    const bool displayPaces = swapSeconds >= waitingSwapShare * pacer.period;
    if (!pacer.started || displayPaces || now >= due - earlyShare * pacer.period || now < pacer.mark) {
        pacer.started = true;
        pacer.mark = now;
        return now;
    }
    pacer.mark = due;
    return due;
}
