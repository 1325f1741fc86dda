#include "batch/FieldTotals.h"

#include "common/Latin1.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"

FieldTotals::FieldTotals(const RecordLayout& layout, const PairLayout& pair,
                         const LayoutField& field)
    : m_recLen(layout.recLen()), m_field(layout.recLen(), pair, field)
{
}

Error FieldTotals::TooLarge(const LayoutField& field)
{
    return Error{"the total of field " + std::to_string(field.number) +
                 " is too large to be summed exactly"};
}

Result<Totals> FieldTotals::run(LineReader& in, OutputSink& out)
{
    Totals t;
    const LayoutField& f = m_field.field();
    in.setRecLen(m_recLen);
    const auto done = in.forEach([&](std::string_view s) -> Result<void> {
        const TotalledField::Value v = m_field.read(s);
        switch (v.kind) {
        case TotalledField::Kind::OtherPair:
            return {};
        case TotalledField::Kind::Blank:
            ++t.blank;
            return {};
        case TotalledField::Kind::Invalid:
            ++t.invalid;
            out.append("record " + std::to_string(in.count()) + ", field " +
                       std::to_string(f.number) + " (type " + f.type +
                       "): " + Latin1::Quoted(m_field.text(s)) + " is not a number\n");
            return out.spill();
        case TotalledField::Kind::Number:
            break;
        }
        if (!t.sum.add(v.number))
            return TooLarge(f);
        ++t.count;
        if (!t.min || v.number < *t.min)
            t.min = v.number;
        if (!t.max || v.number > *t.max)
            t.max = v.number;
        return {};
    });
    if (!done)
        return done.error();
    return t;
}
