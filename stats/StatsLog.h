#pragma once

#include <ctime>
#include <set>
#include <string>

#include "stats/KeyingCounts.h"

class Engine;

// NAME.kvstats beside each data file: one row for each opening, written when the file is
// closed, with the operator's figures for it. A row that cannot be written is said once
// for that log and never stops the closing.
class StatsLog
{
public:
    static constexpr const char* Extension = ".kvstats";

    explicit StatsLog(Engine& e) : m_e(e) {}

    // The file just set up for keying starts an opening.
    void FileOpened(const std::string& path);
    // Ends the opening, if one is going on, and appends its row.
    void FileClosed();
    // The row the opening going on would get if it ended at `end`.
    std::string Row(std::time_t end) const;

    struct Opening {
        std::time_t start = 0, end = 0;
        std::string operatorName, dataFile, format, mode;
    };
    // A row of the log, with its line end: what every row is written as.
    static std::string FormatRow(const Opening& o, const KeyingCounts& counts);

private:
    std::string mode() const;

    Engine& m_e;
    bool m_open = false;
    std::string m_path;
    std::string m_format;
    std::time_t m_start = 0;
    std::set<std::string> m_failedLogs; // told once each
};
