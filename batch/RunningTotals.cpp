#include "batch/RunningTotals.h"

#include <utility>

#include "batch/LineReader.h"

RunningTotals::RunningTotals(TotalledField field) : m_field(std::move(field)) {}

Result<void> RunningTotals::load(LineReader& in)
{
    std::vector<Value> slots;
    in.setRecLen(m_field.recLen());
    const auto done = in.forEach([&](std::string_view s) -> Result<void> {
        slots.push_back(m_field.read(s));
        return {};
    });
    if (!done)
        return done;
    m_slots = std::move(slots);
    recount();
    return {};
}

bool RunningTotals::apply(const RecordStore::Change& change)
{
    using Kind = RecordStore::Change::Kind;
    if (change.slot < 1)
        return false;
    const auto at = static_cast<std::size_t>(change.slot - 1);
    // A record may be written at the end, and inserted there; only stored ones go.
    if (at > m_slots.size() || (change.kind == Kind::Deleted && at == m_slots.size()))
        return false;
    const auto pos = m_slots.begin() + static_cast<std::ptrdiff_t>(at);
    switch (change.kind) {
    case Kind::Written: {
        const Value v = m_field.read(change.bytes);
        if (at == m_slots.size()) {
            m_slots.push_back(v);
        } else {
            drop(*pos);
            *pos = v;
        }
        take(v);
        break;
    }
    case Kind::Inserted: {
        const Value v = m_field.read(change.bytes);
        m_slots.insert(pos, v);
        take(v);
        break;
    }
    case Kind::Deleted:
        drop(*pos);
        m_slots.erase(pos);
        break;
    }
    settle();
    return true;
}

Result<Totals> RunningTotals::totals() const
{
    if (m_tooLarge)
        return FieldTotals::TooLarge(m_field.field());
    return m_t;
}

void RunningTotals::take(const Value& v)
{
    switch (v.kind) {
    case TotalledField::Kind::OtherPair:
        return;
    case TotalledField::Kind::Blank:
        ++m_t.blank;
        return;
    case TotalledField::Kind::Invalid:
        ++m_t.invalid;
        return;
    case TotalledField::Kind::Number:
        break;
    }
    const Decimal& n = v.number;
    ++m_t.count;
    ++m_scales[static_cast<std::size_t>(n.scale())];
    if (!m_tooLarge && !m_t.sum.add(n))
        m_tooLarge = true;
    meet(n);
}

void RunningTotals::meet(const Decimal& n)
{
    if (!m_t.min || n < *m_t.min) {
        m_t.min = n;
        m_atMin = 1;
    } else if (n == *m_t.min) {
        ++m_atMin;
    }
    if (!m_t.max || n > *m_t.max) {
        m_t.max = n;
        m_atMax = 1;
    } else if (n == *m_t.max) {
        ++m_atMax;
    }
}

void RunningTotals::drop(const Value& v)
{
    switch (v.kind) {
    case TotalledField::Kind::OtherPair:
        return;
    case TotalledField::Kind::Blank:
        --m_t.blank;
        return;
    case TotalledField::Kind::Invalid:
        --m_t.invalid;
        return;
    case TotalledField::Kind::Number:
        break;
    }
    const Decimal& n = v.number;
    --m_t.count;
    --m_scales[static_cast<std::size_t>(n.scale())];
    // Numbers are never negative, so what is left of a sum that fitted fits.
    if (!m_tooLarge && !m_t.sum.subtract(n))
        m_tooLarge = true;
    if (m_t.min && n == *m_t.min)
        --m_atMin;
    if (m_t.max && n == *m_t.max)
        --m_atMax;
}

void RunningTotals::settle()
{
    int scale = 0;
    for (int s = Decimal::MaxDigits; s > 0 && scale == 0; --s)
        if (m_scales[static_cast<std::size_t>(s)] > 0)
            scale = s;
    // A sum too large, or one with more digits after the point than any number left has,
    // is counted again; so are a minimum and a maximum that the file no longer holds.
    if (m_tooLarge || m_t.sum.scale() > scale)
        recount();
    else if ((m_t.min && m_atMin <= 0) || (m_t.max && m_atMax <= 0))
        findMinMax();
}

void RunningTotals::recount()
{
    m_t = Totals();
    m_scales = {};
    m_atMin = m_atMax = 0;
    m_tooLarge = false;
    for (const Value& v : m_slots)
        take(v);
}

void RunningTotals::findMinMax()
{
    m_t.min.reset();
    m_t.max.reset();
    m_atMin = m_atMax = 0;
    for (const Value& v : m_slots)
        if (v.kind == TotalledField::Kind::Number)
            meet(v.number);
}
