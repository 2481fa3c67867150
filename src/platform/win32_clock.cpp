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

// The performance counter's ticks a second, fixed at boot: read once.
double counterFrequency()
{
    static const double frequency = [] {
        LARGE_INTEGER ticks{};
        if (!QueryPerformanceFrequency(&ticks))
            throw std::runtime_error(systemErrorText(GetLastError()));
        return static_cast<double>(ticks.QuadPart);
    }();
    return frequency;
}

// What the pacing sleeps on, made once for the whole run: a waitable timer (null when none could
// be made), and how late a wake-up on it may come, seconds.
struct SleepTimer {
    HANDLE handle;
    double margin;
};

SleepTimer makeSleepTimer()
{
    // A high-resolution timer (Windows 10 1803 and later) wakes within about half a millisecond.
    if (const HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, highResolutionTimer, TIMER_ALL_ACCESS))
        return {timer, wakeUpMargin};
    // Before, an ordinary one, or Sleep should even that fail, wakes at the system timer's ticks,
    // which the game asks to be 1 ms apart (timeBeginPeriod, for the rest of its run) instead of
    // 15.6 ms.
    const bool finerTicks = timeBeginPeriod(1) == TIMERR_NOERROR;
    return {CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS),
            finerTicks ? 2 * wakeUpMargin : 16 * wakeUpMargin};
}

}  // namespace

double monotonicSeconds()
{
    const double frequency = counterFrequency();
    LARGE_INTEGER counter{};
    if (!QueryPerformanceCounter(&counter))
        throw std::runtime_error(systemErrorText(GetLastError()));
    return static_cast<double>(counter.QuadPart) / frequency;
}

void sleepUntilSeconds(double deadline)
{
    if (monotonicSeconds() < deadline - wakeUpMargin) {
        // One timer for the whole run, made at its first sleep; the process's end closes it.
        static const SleepTimer timer = makeSleepTimer();
        const double sleep = deadline - timer.margin - monotonicSeconds();
        if (sleep > 0.0 && !timer.handle) {
            Sleep(static_cast<DWORD>(sleep * 1000.0));  // whole milliseconds, rounded down
        } else if (sleep > 0.0) {
            LARGE_INTEGER due{};
            due.QuadPart = -static_cast<LONGLONG>(sleep * 1e7);  // relative, in 100 ns units
            // Should the timer refuse, the loop below spins the whole wait.
            if (SetWaitableTimer(timer.handle, &due, 0, nullptr, nullptr, FALSE))
                WaitForSingleObject(timer.handle, INFINITE);
        }
    }
    while (monotonicSeconds() < deadline) {
    }
}
