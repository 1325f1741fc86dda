#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "batch/RecordLayout.h"
#include "common/Result.h"

class LineReader;
class OutputSink;

struct CompareCounts {
    std::int64_t compared = 0;
    std::int64_t differing = 0; // records
    std::int64_t fields = 0;    // fields that differ, over all records
    std::int64_t onlyA = 0;
    std::int64_t onlyB = 0;
    bool any() const { return differing > 0 || onlyA > 0 || onlyB > 0; }
};

// Independent double entry: two keyings of the same documents, record by record and field
// by field.
class DataFileCompare
{
public:
    DataFileCompare(const RecordLayout& layout, std::string nameA, std::string nameB);

    // One line per differing field or record, the records only one file has, then the counts.
    Result<CompareCounts> run(LineReader& a, LineReader& b, OutputSink& out);

private:
    // The differences of record n; false when there are none.
    bool compareRecord(std::int64_t n, std::string_view a, std::string_view b, std::string& out);
    void onlyIn(std::int64_t from, std::int64_t to, const std::string& name,
                std::string& out) const;

    const RecordLayout& m_layout;
    std::string m_nameA;
    std::string m_nameB;
    CompareCounts m_counts;
};
