// The clock on Windows asks the system once for what stays the same all run (the counter's
// frequency, the timer the pacing sleeps on), and sleeps to its deadline even where no waitable
// timer can be made. The system's functions are watched through this program's import slots.

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/clock.h"

// The import address slots the calls of the clock go through.
extern "C" void* __imp_CreateWaitableTimerExW;
extern "C" void* __imp_QueryPerformanceFrequency;

namespace {

int timersAskedFor = 0;
int frequenciesAskedFor = 0;
void* systemFrequency = nullptr;

HANDLE WINAPI noTimer(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD)
{
    ++timersAskedFor;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

BOOL WINAPI countedFrequency(LARGE_INTEGER* frequency)
{
    ++frequenciesAskedFor;
    return reinterpret_cast<BOOL(WINAPI*)(LARGE_INTEGER*)>(systemFrequency)(frequency);
}

// Points the import slot `slot` at `function`; returns what it pointed at.
void* redirect(void*& slot, void* function)
{
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
    void* const previous = slot;
    slot = function;
    VirtualProtect(&slot, sizeof slot, protection, &protection);
    return previous;
}

}  // namespace

// The first sleep of this process makes its timer: ctest runs each test in a process of its own.
TEST(Win32Clock, AsksOnceForTheFrequencyAndTheTimerAndSleepsWithoutOne)
{
    systemFrequency = redirect(__imp_QueryPerformanceFrequency, reinterpret_cast<void*>(&countedFrequency));
    void* const systemTimer = redirect(__imp_CreateWaitableTimerExW, reinterpret_cast<void*>(&noTimer));
    for (int sleep = 0; sleep < 5; ++sleep) {
        const double deadline = monotonicSeconds() + 0.01;
        EXPECT_NO_THROW(sleepUntilSeconds(deadline));
        EXPECT_GE(monotonicSeconds(), deadline);
    }
    redirect(__imp_CreateWaitableTimerExW, systemTimer);
    redirect(__imp_QueryPerformanceFrequency, systemFrequency);
    EXPECT_LE(frequenciesAskedFor, 1);
    EXPECT_EQ(timersAskedFor, 2);  // a high-resolution timer, then an ordinary one, for the run
}
