#pragma once

#include "common/Clock.h"

// The time of a replayed session: it moves only as the script keys and waits, so the
// keying time a script produces is the same on every run. The wall clock starts at the
// real time, so the logs a script writes look like any other.
class ScriptClock : public Clock
{
public:
    // What one key takes: 12,000 keystrokes an hour.
    static constexpr std::int64_t KeyMs = 300;

    explicit ScriptClock(std::time_t wallStart) : m_wallStart(wallStart) {}

    std::int64_t steadyMs() override { return m_ms; }
    std::time_t wallTime() override { return m_wallStart + m_ms / 1000; }
    void advance(std::int64_t ms) { m_ms += ms; }

private:
    std::time_t m_wallStart;
    std::int64_t m_ms = 0;
};
