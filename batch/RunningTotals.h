#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "batch/FieldTotals.h"
#include "batch/TotalledField.h"
#include "common/Result.h"
#include "datafile/RecordStore.h"

class LineReader;

// The totals of one field over a data file, read from the whole file once and then kept up
// to date from each change to its slots, as a full count would give them. Every slot's value
// is kept, so that a rewritten or deleted record takes its own value out again; the minimum
// and maximum are looked for again only when the last value equal to one of them went.
class RunningTotals
{
public:
    explicit RunningTotals(TotalledField field);

    // Every slot of the file, in place of what was held.
    Result<void> load(LineReader& in);
    // False when the change does not fit the slots held: the file has to be read again.
    bool apply(const RecordStore::Change& change);

    // Fails, as korvalen-tool's count does, when the sum is too large to be kept exactly.
    Result<Totals> totals() const;
    std::size_t slotCount() const { return m_slots.size(); }
    const TotalledField& field() const { return m_field; }

private:
    using Value = TotalledField::Value;

    void take(const Value& v);
    void drop(const Value& v);
    // A number now held: the minimum and maximum, and how many equal each.
    void meet(const Decimal& n);
    // After a change: what take and drop could not keep exact is counted again.
    void settle();
    void recount();
    void findMinMax();

    TotalledField m_field;
    std::vector<Value> m_slots;
    Totals m_t;
    std::int64_t m_atMin = 0; // numbers equal to the minimum
    std::int64_t m_atMax = 0;
    // Numbers by their digits after the point: the sum has as many as the most of them.
    std::array<std::int64_t, Decimal::MaxDigits + 1> m_scales{};
    bool m_tooLarge = false;
};
