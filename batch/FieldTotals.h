#pragma once

#include <cstdint>
#include <optional>

#include "batch/Decimal.h"
#include "batch/RecordLayout.h"
#include "batch/TotalledField.h"
#include "common/Result.h"

class LineReader;
class OutputSink;

struct Totals {
    std::int64_t count = 0;   // values summed
    std::int64_t blank = 0;   // blank fields, left out
    std::int64_t invalid = 0; // fields holding no number, reported
    Decimal sum;
    std::optional<Decimal> min;
    std::optional<Decimal> max;
};

// Count, sum, minimum and maximum of one numeric field over the records of its pair, in
// exact decimal arithmetic.
class FieldTotals
{
public:
    FieldTotals(const RecordLayout& layout, const PairLayout& pair, const LayoutField& field);

    // Fields that hold no number are named on out, one line each.
    Result<Totals> run(LineReader& in, OutputSink& out);

    // What a sum too large to be kept exactly is told as.
    static Error TooLarge(const LayoutField& field);

private:
    int m_recLen;
    TotalledField m_field;
};
