#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "stats/KeyingCounts.h"

class Clock;

// The engine's counts of the operator's work, for the session and for the data file open
// now, with the session's keying in five-minute steps for the statistics chart. Every
// count is an increment on the key path: no allocation, no disk, one read of the clock.
class KeyingStats
{
public:
    static constexpr std::int64_t StepMs = 5 * 60'000;

    // One five-minute step of the session: its keystrokes and keying time.
    struct Step {
        std::int64_t keystrokes = 0;
        std::int64_t keyingMs = 0;
    };
    // Which modes keys were keyed in during a file's opening.
    enum Modes : unsigned { None = 0, Entry = 1, Verify = 2 };

    explicit KeyingStats(Clock& clock);

    // A key reached the entry screen, in Verify mode or not.
    void Key(bool verifyMode);
    void Refused() { count(&KeyingCounts::refused); }
    void Mismatch() { count(&KeyingCounts::mismatches); }
    void Replaced() { count(&KeyingCounts::replaced); }
    void Stored() { count(&KeyingCounts::stored); }
    void Corrected() { count(&KeyingCounts::corrected); }
    void Verified() { count(&KeyingCounts::verified); }

    // A data file was opened for keying: its counts start from nothing.
    void FileOpened();
    void FileClosed();
    bool FileOpen() const { return m_fileOpen; }

    const KeyingCounts& session() const { return m_session; }
    const KeyingCounts& file() const { return m_file; }
    unsigned fileModes() const { return m_fileModes; }
    // When the session began, on the wall clock: the chart's first step starts there.
    std::time_t sessionStart() const { return m_sessionWall; }
    // The session's steps from its start; the last one is the step in progress.
    const std::vector<Step>& steps() const { return m_steps; }
    // Keystrokes per hour within a step, over its keying time.
    static double StepRate(const Step& s);
    // Grows with every change, so a window redraws only when something moved.
    std::uint64_t revision() const { return m_revision; }

private:
    void count(std::int64_t KeyingCounts::*field)
    {
        ++(m_session.*field);
        ++(m_file.*field);
        ++m_revision;
    }
    // The time since the last key, unless it was a pause (or there was none).
    static std::int64_t KeyingGap(std::int64_t now, std::int64_t& last);

    Clock& m_clock;
    std::int64_t m_sessionStartMs;
    std::time_t m_sessionWall;
    KeyingCounts m_session;
    KeyingCounts m_file;
    bool m_fileOpen = false;
    unsigned m_fileModes = None;
    std::int64_t m_sessionLastKey = -1;
    std::int64_t m_fileLastKey = -1;
    std::vector<Step> m_steps;
    std::uint64_t m_revision = 0;
};
