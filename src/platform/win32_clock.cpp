// The clock on Windows: the performance counter, and a high-resolution waitable timer for the
// frame pacing's sleep.

#include "platform/clock.h"

#include <windows.h>

#include <timeapi.h>

#include <stdexcept>

#include "platform/win32_system.h"

namespace {

// A sleeping thread wakes up to this late on a high-resolution timer (its resolution and the
// scheduling); the rest of the wait is spun.
constexpr double wakeUpMargin = 0.001;  // seconds

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, Windows 10 1803's, which older mingw-w64 headers lack.
constexpr DWORD highResolutionTimer = 0x00000002;

}  // namespace

double monotonicSeconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&counter))
        throw std::runtime_error(systemErrorText(GetLastError()));
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void sleepUntilSeconds(double deadline)
{
    if (monotonicSeconds() < deadline - wakeUpMargin) {
        // A high-resolution timer (Windows 10 1803 and later) wakes within about half a
        // millisecond. Before, an ordinary one wakes at the system timer's ticks, which the game
        // asks to be 1 ms apart (timeBeginPeriod, for the rest of its run) instead of 15.6 ms.
        OwnedHandle timer(CreateWaitableTimerExW(nullptr, nullptr, highResolutionTimer, TIMER_ALL_ACCESS));
        double margin = wakeUpMargin;
        if (!timer.valid()) {
            static const bool finerTicks = timeBeginPeriod(1) == TIMERR_NOERROR;
            timer = OwnedHandle(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
            margin = finerTicks ? 2 * wakeUpMargin : 16 * wakeUpMargin;
        }
        if (!timer.valid())
            throw std::runtime_error(systemErrorText(GetLastError()));
        const double sleep = deadline - margin - monotonicSeconds();
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(sleep * 1e7);  // relative, in 100 ns units
        if (sleep > 0.0 && (!SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE) ||
                            WaitForSingleObject(timer.get(), INFINITE) != WAIT_OBJECT_0))
            throw std::runtime_error(systemErrorText(GetLastError()));
    }
    while (monotonicSeconds() < deadline) {
    }
}
