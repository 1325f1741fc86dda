#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/RecordLayout.h"
#include "common/Result.h"

class LineReader;
class OutputSink;

struct CheckCounts {
    std::int64_t records = 0;
    std::int64_t faults = 0;
    std::int64_t faultyRecords = 0;
};

// Checks every slot of a data file as the keying engine would have stored it: its length,
// its CR LF, its format letter, and each character against its field's type.
class DataFileCheck
{
public:
    explicit DataFileCheck(const RecordLayout& layout);

    // One line per fault to out, then the counts.
    Result<CheckCounts> run(LineReader& in, OutputSink& out);

private:
    // For each pair and record position, the refusal of every byte value (0 for none),
    // worked out once through the keying engine's rule; and the bytes it accepts as up to
    // three ranges lo..lo+span, which a clean record is checked against in one pass the
    // compiler can vectorize.
    using Refusals = std::array<std::uint8_t, 256>;
    static constexpr std::size_t Ranges = 3;
    struct PairRules {
        std::vector<Refusals> byPosition;
        std::vector<const LayoutField*> fieldAt;
        std::array<std::vector<std::uint8_t>, Ranges> lo;
        std::array<std::vector<std::uint8_t>, Ranges> span;
        bool ranged = true; // every position's bytes fit in Ranges ranges
    };

    static void AddRanges(PairRules& rules, std::size_t col);
    static bool Clean(const PairRules& rules, std::string_view slot);

    // Faults of one record; false when it has none.
    bool checkRecord(std::int64_t n, std::string_view slot, std::string& out);
    void fault(std::int64_t n, int position, const LayoutField* field, char type,
               std::string_view what, std::string& out);

    const RecordLayout& m_layout;
    std::vector<PairRules> m_rules;
    CheckCounts m_counts;
};
