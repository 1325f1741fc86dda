#include "common/SystemClock.h"

#include <time.h>

std::int64_t SystemClock::steadyMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

std::time_t SystemClock::wallTime()
{
    return std::time(nullptr);
}
