#include "batch/DataFileCompare.h"

#include "common/Latin1.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"

namespace
{

std::string Plural(std::int64_t n, const char* word)
{
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

} // namespace

DataFileCompare::DataFileCompare(const RecordLayout& layout, std::string nameA, std::string nameB)
    : m_layout(layout), m_nameA(std::move(nameA)), m_nameB(std::move(nameB))
{
}

bool DataFileCompare::compareRecord(std::int64_t n, std::string_view a, std::string_view b,
                                    std::string& out)
{
    if (a == b)
        return false;
    const auto recLen = static_cast<std::size_t>(m_layout.recLen());
    const std::string head = "record " + std::to_string(n);
    const auto both = [&](std::string_view x, std::string_view y) {
        return m_nameA + " " + Latin1::Quoted(x) + " / " + m_nameB + " " + Latin1::Quoted(y);
    };
    if (a.size() < recLen || b.size() < recLen) {
        out += head + ": " + both(a, b) + " (not a whole record)\n";
        ++m_counts.fields;
        return true;
    }
    const char letter = a[recLen - 1];
    const PairLayout* pair = m_layout.pairOf(letter);
    if (letter != b[recLen - 1] || pair == nullptr) {
        // Different pairs share no fields to compare.
        out += head + ", format letter: " + both(a.substr(recLen - 1, 1), b.substr(recLen - 1, 1)) +
               "\n";
        ++m_counts.fields;
        return true;
    }
    for (const LayoutField& f : pair->fields) {
        const auto from = static_cast<std::size_t>(f.start - 1);
        const auto len = static_cast<std::size_t>(f.len);
        const std::string_view x = a.substr(from, len);
        const std::string_view y = b.substr(from, len);
        if (x == y)
            continue;
        out += head + ", field " + std::to_string(f.number) + " (" + f.name + "): " + both(x, y) +
               "\n";
        ++m_counts.fields;
    }
    if (a.substr(recLen) != b.substr(recLen)) {
        out += head + ", line end: " + both(a.substr(recLen), b.substr(recLen)) + "\n";
        ++m_counts.fields;
    }
    return true;
}

void DataFileCompare::onlyIn(std::int64_t from, std::int64_t to, const std::string& name,
                             std::string& out) const
{
    if (to < from)
        return;
    out += from == to ? "record " + std::to_string(from)
                      : "records " + std::to_string(from) + " to " + std::to_string(to);
    out += " only in " + name + "\n";
}

Result<CompareCounts> DataFileCompare::run(LineReader& a, LineReader& b, OutputSink& out)
{
    m_counts = {};
    a.setRecLen(m_layout.recLen());
    b.setRecLen(m_layout.recLen());
    std::int64_t n = 0;
    for (;;) {
        const auto x = a.next();
        if (!x)
            return x.error();
        const auto y = b.next();
        if (!y)
            return y.error();
        if (x.value().empty() || y.value().empty()) {
            // The rest of the longer file, counted without holding it.
            LineReader& rest = x.value().empty() ? b : a;
            std::int64_t last = y.value().empty() && x.value().empty() ? n : n + 1;
            for (;;) {
                const auto more = rest.next();
                if (!more)
                    return more.error();
                if (more.value().empty())
                    break;
                ++last;
            }
            const bool inA = !x.value().empty();
            (inA ? m_counts.onlyA : m_counts.onlyB) = last - n;
            onlyIn(n + 1, last, inA ? m_nameA : m_nameB, out.buffer());
            break;
        }
        ++n;
        ++m_counts.compared;
        if (compareRecord(n, x.value(), y.value(), out.buffer()))
            ++m_counts.differing;
        if (const auto spilled = out.spill(); !spilled)
            return spilled.error();
    }
    out.append(Plural(m_counts.compared, "record") + " compared, " +
               std::to_string(m_counts.differing) + " differing (" +
               Plural(m_counts.fields, "field") + "), " + std::to_string(m_counts.onlyA) +
               " only in " + m_nameA + ", " + std::to_string(m_counts.onlyB) + " only in " +
               m_nameB + "\n");
    return m_counts;
}
