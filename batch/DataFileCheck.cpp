#include "batch/DataFileCheck.h"

#include "batch/Latin1.h"
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
            }
        }
        m_rules.push_back(std::move(rules));
    }
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
    unsigned refused = 0;
    for (std::size_t col = 0; col < columns; ++col)
        refused |= rules.byPosition[col][static_cast<unsigned char>(slot[col])];
    if (refused == 0)
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
        for (;;) {
            const auto slot = in.next();
            if (!slot)
                return slot.error();
            if (slot.value().empty())
                break;
            ++m_counts.records;
            const bool whole = static_cast<int>(slot.value().size()) >= recLen;
            if (checkRecord(in.count(), slot.value(), out.buffer()) && whole)
                ++m_counts.faultyRecords;
            if (const auto spilled = out.spill(); !spilled)
                return spilled.error();
        }
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
