#include "stats/KeyingStats.h"

#include "common/Clock.h"

namespace
{

// A week of steps is set aside at the start, so the key path does not allocate.
constexpr std::size_t StepsReserved = 7 * 24 * 12;

} // namespace

KeyingStats::KeyingStats(Clock& clock)
    : m_clock(clock), m_sessionStartMs(clock.steadyMs()), m_sessionWall(clock.wallTime())
{
    m_steps.reserve(StepsReserved);
}

std::int64_t KeyingStats::KeyingGap(std::int64_t now, std::int64_t& last)
{
    const std::int64_t gap = last < 0 ? 0 : now - last;
    last = now;
    return gap > KeyingCounts::PauseMs ? 0 : gap;
}

void KeyingStats::Key(bool verifyMode)
{
    const std::int64_t now = m_clock.steadyMs();
    const std::int64_t sessionGap = KeyingGap(now, m_sessionLastKey);
    m_session.keyingMs += sessionGap;
    ++m_session.keystrokes;
    const auto step = static_cast<std::size_t>((now - m_sessionStartMs) / StepMs);
    if (step >= m_steps.size())
        m_steps.resize(step + 1);
    m_steps[step].keystrokes += 1;
    m_steps[step].keyingMs += sessionGap;
    if (m_fileOpen) {
        m_file.keyingMs += KeyingGap(now, m_fileLastKey);
        ++m_file.keystrokes;
        m_fileModes |= verifyMode ? Verify : Entry;
    }
    ++m_revision;
}

void KeyingStats::FileOpened()
{
    m_file = {};
    m_fileModes = None;
    m_fileLastKey = -1;
    m_fileOpen = true;
    ++m_revision;
}

void KeyingStats::FileClosed()
{
    m_fileOpen = false;
    ++m_revision;
}

double KeyingStats::StepRate(const Step& s)
{
    return KeyingCounts{.keystrokes = s.keystrokes, .keyingMs = s.keyingMs}.keystrokesPerHour();
}
