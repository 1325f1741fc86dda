#include "stats/StatsLog.h"

#include "common/Latin1.h"
#include "engine/Engine.h"
#include "stats/LogFile.h"

void StatsLog::FileOpened(const std::string& path)
{
    FileClosed();
    m_open = true;
    m_path = path;
    m_format = m_e.fmt.FmtName;
    m_start = m_e.clock.wallTime();
    m_e.stats.FileOpened();
}

std::string StatsLog::mode() const
{
    switch (m_e.stats.fileModes()) {
    case KeyingStats::Verify:
        return "Verify";
    case KeyingStats::Entry | KeyingStats::Verify:
        return "Mixed";
    default:
        // No key at all: the mode the station was left in says what the opening was for.
        if (m_e.stats.fileModes() == KeyingStats::None && m_e.ver.VerifyMode)
            return "Verify";
        return "Entry";
    }
}

std::string StatsLog::FormatRow(const Opening& o, const KeyingCounts& counts)
{
    std::string row = LogFile::IsoLocalTime(o.start) + ',' + LogFile::IsoLocalTime(o.end) + ',';
    Latin1::AppendCsv(o.operatorName, row);
    row += ',';
    Latin1::AppendCsv(o.dataFile, row);
    row += ',';
    Latin1::AppendCsv(o.format, row);
    row += ',' + o.mode + ',' + StatsColumns::Figures(counts) + '\n';
    return row;
}

std::string StatsLog::Row(std::time_t end) const
{
    return FormatRow({m_start, end, m_e.OperatorName, m_path, m_format, mode()}, m_e.stats.file());
}

void StatsLog::FileClosed()
{
    if (!m_open)
        return;
    m_open = false;
    const std::string row = Row(m_e.clock.wallTime());
    m_e.stats.FileClosed();
    const std::string log = LogFile::BesideDataFile(m_path, Extension);
    const auto appended = LogFile::Append(m_e.io, log, StatsColumns::Header, row);
    if (appended || !m_failedLogs.insert(log).second)
        return;
    m_e.MsgBox(
        "The keying statistics of this file could not be written: " + appended.error().message +
            ".\nThe data file is not affected; keying goes on, and this is not said "
            "again for " +
            log + ".",
        Dialogs::Buttons::OK, Dialogs::Icon::Exclamation);
}
