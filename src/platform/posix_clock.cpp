#include "platform/clock.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <time.h>

namespace {

// A sleeping thread wakes up to this late (the kernel's timer slack and scheduling); the rest of
// the wait is spun.
constexpr double wakeUpMargin = 0.00025;  // seconds

}  // namespace

double monotonicSeconds()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        throw std::runtime_error(std::strerror(errno));
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void sleepUntilSeconds(double deadline)
{
    const double wakeAt = deadline - wakeUpMargin;
    if (monotonicSeconds() < wakeAt) {
        double whole = 0.0;
        const double fraction = std::modf(wakeAt, &whole);
        timespec at{};
        at.tv_sec = static_cast<time_t>(whole);
        at.tv_nsec = static_cast<long>(fraction * 1e9);
        while (const int error = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr)) {
            if (error != EINTR)
                throw std::runtime_error(std::strerror(error));
        }
    }
    while (monotonicSeconds() < deadline) {
    }
}
