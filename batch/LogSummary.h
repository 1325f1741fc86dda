#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "common/Result.h"
#include "stats/KeyingCounts.h"

class CsvReader;

// The rows of a statistics log or of a verification log added up per operator and day. The
// day is the date part of the row's time as the station wrote it, in its local time, so a
// late shift is not split at midnight UTC.
class LogSummary
{
public:
    // The operator's login name, then the day (YYYY-MM-DD).
    using Key = std::pair<std::string, std::string>;
    struct Group {
        std::int64_t openings = 0; // rows of the statistics log
        KeyingCounts counts;
        std::int64_t replacements = 0; // rows of the verification log
        std::int64_t byThirdKey = 0;
        std::int64_t byBackspace = 0;
        std::set<std::int64_t> records; // the records the replacements were made in
    };

    // Told the line and the fault of each malformed row.
    using Report = std::function<void(std::int64_t line, const std::string& fault)>;

    // Whether a log's first row is the header its kind is written with.
    static bool IsHeader(std::span<const std::string> row, std::string_view header);

    // Adds the rows of a statistics log after its header. Each malformed row goes to report
    // and is left out; the count of them, or a failed read.
    Result<std::int64_t> addStats(CsvReader& in, const Report& report);
    // The same for a verification log; with record, only the replacements made in it.
    Result<std::int64_t> addVerify(CsvReader& in, const Report& report,
                                   std::optional<std::int64_t> record = {});

    const std::map<Key, Group>& groups() const { return m_groups; }
    // Every group added up; its records are those of all groups together.
    Group total() const;

private:
    template <typename AddRow>
    Result<std::int64_t> addRows(CsvReader& in, const Report& report, std::string_view header,
                                 AddRow addRow);
    std::string addStatsRow(std::span<const std::string> row);
    std::string addVerifyRow(std::span<const std::string> row, std::optional<std::int64_t> record);

    std::map<Key, Group> m_groups;
    KeyingCounts m_sum; // of every row taken, so that no sum overflows
};
