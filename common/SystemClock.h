#pragma once

#include "common/Clock.h"

// The machine's clocks. The steady one is the coarse monotonic clock: a few milliseconds
// of resolution are plenty for pauses of a minute, and it costs a key next to nothing.
class SystemClock : public Clock
{
public:
    std::int64_t steadyMs() override;
    std::time_t wallTime() override;
};
