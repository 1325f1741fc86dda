#pragma once

#include <cstdint>
#include <ctime>

// Where the program reads the time: the steady milliseconds that keying time is measured
// in, and the wall clock that log rows are stamped with. The program uses SystemClock;
// the scenario runner and the checks move their own.
class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds from any fixed start, never going back.
    virtual std::int64_t steadyMs() = 0;
    virtual std::time_t wallTime() = 0;
};
