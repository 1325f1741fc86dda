#include "batch/DataFileCheck.h"

#include "common/Latin1.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"
#include "datafile/SlotCheck.h"
#include "keying/FieldTypes.h"

namespace
{

std::string Plural(std::int64_t n, const char* word)
{
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

} // namespace

DataFileCheck::DataFileCheck(const RecordLayout& layout) : m_layout(layout)
{
    const auto columns = static_cast<std::size_t>(std::max(layout.recLen() - 1, 0));
    for (const PairLayout& pair : layout.pairs()) {
        PairRules rules;
        rules.byPosition.resize(columns);
        rules.fieldAt.resize(columns, nullptr);
        for (std::size_t r = 0; r < Ranges; ++r) {
            rules.lo[r].resize(columns, 0);
            rules.span[r].resize(columns, 255);
        }
        for (const LayoutField& f : pair.fields) {
            for (int i = 0; i < f.len; ++i) {
                const auto col = static_cast<std::size_t>(f.start - 1 + i);
                if (col >= columns)
                    break;
                const bool atPoint = col < pair.formatLine.size() && pair.formatLine[col] == '.';
                rules.fieldAt[col] = &f;
                for (int c = 0; c < 256; ++c)
                    rules.byPosition[col][static_cast<std::size_t>(c)] =
                        static_cast<std::uint8_t>(FieldTypes::Check(f.type, c, atPoint));
                AddRanges(rules, col);
            }
        }
        m_rules.push_back(std::move(rules));
    }
}

void DataFileCheck::AddRanges(PairRules& rules, std::size_t col)
{
    const Refusals& refusals = rules.byPosition[col];
    std::size_t found = 0;
    for (int c = 0; c < 256;) {
        if (refusals[static_cast<std::size_t>(c)] != 0) {
            ++c;
            continue;
        }
        int end = c;
        while (end + 1 < 256 && refusals[static_cast<std::size_t>(end + 1)] == 0)
            ++end;
        if (found == Ranges) {
            rules.ranged = false;
            return;
        }
        rules.lo[found][col] = static_cast<std::uint8_t>(c);
        rules.span[found][col] = static_cast<std::uint8_t>(end - c);
        ++found;
        c = end + 1;
    }
    if (found == 0) {
        rules.ranged = false;
        return;
    }
    // Unused ranges repeat the first, so they accept nothing more.
    for (std::size_t r = found; r < Ranges; ++r) {
        rules.lo[r][col] = rules.lo[0][col];
        rules.span[r][col] = rules.span[0][col];
    }
}

bool DataFileCheck::Clean(const PairRules& rules, std::string_view slot)
{
    const std::size_t columns = rules.byPosition.size();
    if (!rules.ranged) {
        unsigned refused = 0;
        for (std::size_t col = 0; col < columns; ++col)
            refused |= rules.byPosition[col][static_cast<unsigned char>(slot[col])];
        return refused == 0;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(slot.data());
    const std::uint8_t *lo0 = rules.lo[0].data(), *lo1 = rules.lo[1].data(),
                       *lo2 = rules.lo[2].data();
    const std::uint8_t *sp0 = rules.span[0].data(), *sp1 = rules.span[1].data(),
                       *sp2 = rules.span[2].data();
    std::uint8_t refused = 0;
    for (std::size_t col = 0; col < columns; ++col) {
        const std::uint8_t c = bytes[col];
        // Bitwise, not short-circuit: no branch in the loop.
        const int ok = (static_cast<std::uint8_t>(c - lo0[col]) <= sp0[col]) |
                       (static_cast<std::uint8_t>(c - lo1[col]) <= sp1[col]) |
                       (static_cast<std::uint8_t>(c - lo2[col]) <= sp2[col]);
        refused |= static_cast<std::uint8_t>(ok ^ 1);
    }
    return refused == 0;
}

void DataFileCheck::fault(std::int64_t n, int position, const LayoutField* field, char type,
                          std::string_view what, std::string& out)
{
    ++m_counts.faults;
    out += "record " + std::to_string(n);
    if (position > 0)
        out += ", position " + std::to_string(position);
    if (field != nullptr || type != ' ') {
        out += ", field " + std::to_string(field != nullptr ? field->number : 0);
        out += std::string(" (type ") + type + ")";
    }
    out += ": ";
    out += what;
    out += '\n';
}

bool DataFileCheck::checkRecord(std::int64_t n, std::string_view slot, std::string& out)
{
    const int recLen = m_layout.recLen();
    const auto before = m_counts.faults;
    if (static_cast<int>(slot.size()) < recLen) {
        fault(n, 0, nullptr, ' ',
              "a fragment of " + Plural(static_cast<std::int64_t>(slot.size()), "byte") +
                  " after the last whole record",
              out);
        return true;
    }
    const std::string_view lineEnd = slot.substr(static_cast<std::size_t>(recLen));
    if (lineEnd.empty()) {
        fault(n, recLen + 1, nullptr, ' ', "the last record has no CR LF", out);
    } else if (lineEnd != "\r\n") {
        // Without its line end in place the record is out of step: its characters say nothing.
        fault(n, recLen + 1, nullptr, ' ',
              "expected CR LF, found " + Latin1::Quoted(lineEnd) + " (the record is not " +
                  std::to_string(recLen) + " characters long)",
              out);
        return true;
    }
    const char letter = slot[static_cast<std::size_t>(recLen - 1)];
    const PairLayout* pair = m_layout.pairOf(letter);
    if (pair == nullptr) {
        const int number = m_layout.pairs().empty()
                               ? 0
                               : static_cast<int>(m_layout.pairs().front().fields.size()) + 1;
        const LayoutField letterField{number, recLen, 1, 'E', {}, {}};
        fault(n, recLen, &letterField, 'E',
              "format letter " +
                  Latin1::Quoted(slot.substr(static_cast<std::size_t>(recLen - 1), 1)) +
                  " is none of " + m_layout.letters(),
              out);
        return true;
    }
    const PairRules& rules = m_rules[static_cast<std::size_t>(pair->letter - 'a')];
    const std::size_t columns = rules.byPosition.size();
    // Nearly every record is clean: one pass without branches finds out.
    if (Clean(rules, slot))
        return m_counts.faults != before;
    for (std::size_t col = 0; col < columns; ++col) {
        const auto c = static_cast<unsigned char>(slot[col]);
        const auto r = static_cast<FieldTypes::Refusal>(rules.byPosition[col][c]);
        if (r == FieldTypes::Refusal::None)
            continue;
        const LayoutField* f = rules.fieldAt[col];
        fault(n, static_cast<int>(col) + 1, f, f->type,
              Latin1::Quoted(slot.substr(col, 1)) +
                  " refused: " + FieldTypes::Message(r, static_cast<char>(c)),
              out);
    }
    return m_counts.faults != before;
}

Result<CheckCounts> DataFileCheck::run(LineReader& in, OutputSink& out)
{
    m_counts = {};
    const int recLen = m_layout.recLen();
    const auto measured = in.measureRecLen();
    if (!measured)
        return measured.error();
    const SlotCheck shape = SlotCheck::Of(in.length(), measured.value(), recLen);
    if (shape.kind == SlotCheck::Kind::Mismatch) {
        const std::string what = measured.value() < 0
                                     ? "no CR in the first block: the file holds no records of " +
                                           std::to_string(recLen) + " characters"
                                     : "the first line is " + std::to_string(measured.value()) +
                                           " characters long, the format's records " +
                                           std::to_string(recLen);
        fault(1, 0, nullptr, ' ', what, out.buffer());
    } else {
        in.setRecLen(recLen);
        const auto done = in.forEach([&](std::string_view slot) {
            ++m_counts.records;
            const bool whole = static_cast<int>(slot.size()) >= recLen;
            if (checkRecord(in.count(), slot, out.buffer()) && whole)
                ++m_counts.faultyRecords;
            return out.spill();
        });
        if (!done)
            return done.error();
        // A fragment is no record, though it is reported under the next number.
        if (shape.kind == SlotCheck::Kind::Fragment)
            --m_counts.records;
    }
    std::string counts =
        Plural(m_counts.records, "record") + ", " + Plural(m_counts.faults, "fault");
    if (m_counts.faultyRecords > 0)
        counts += " in " + Plural(m_counts.faultyRecords, "record");
    out.append(counts + "\n");
    return m_counts;
}
