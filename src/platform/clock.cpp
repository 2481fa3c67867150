#include "platform/clock.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <time.h>

double monotonicSeconds()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        throw std::runtime_error(std::strerror(errno));
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
