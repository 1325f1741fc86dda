#include "batch/FieldTotals.h"

#include "common/Latin1.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"

FieldTotals::FieldTotals(const RecordLayout& layout, const PairLayout& pair,
                         const LayoutField& field)
    : m_layout(layout), m_pair(pair), m_field(field)
{
}

Result<Totals> FieldTotals::run(LineReader& in, OutputSink& out)
{
    Totals t;
    const auto recLen = static_cast<std::size_t>(m_layout.recLen());
    const auto from = static_cast<std::size_t>(m_field.start - 1);
    const auto len = static_cast<std::size_t>(m_field.len);
    in.setRecLen(m_layout.recLen());
    const auto done = in.forEach([&](std::string_view s) -> Result<void> {
        if (s.size() < recLen || s[recLen - 1] != m_pair.letter)
            return {};
        const std::string_view text = s.substr(from, len);
        const auto value = Decimal::Parse(text);
        if (!value) {
            if (text.find_first_not_of(' ') == std::string_view::npos) {
                ++t.blank;
                return {};
            }
            ++t.invalid;
            out.append("record " + std::to_string(in.count()) + ", field " +
                       std::to_string(m_field.number) + " (type " + m_field.type +
                       "): " + Latin1::Quoted(text) + " is not a number\n");
            return out.spill();
        }
        if (!t.sum.add(*value))
            return Error{"the total of field " + std::to_string(m_field.number) +
                         " is too large to be summed exactly"};
        ++t.count;
        if (!t.min || *value < *t.min)
            t.min = *value;
        if (!t.max || *value > *t.max)
            t.max = *value;
        return {};
    });
    if (!done)
        return done.error();
    return t;
}
