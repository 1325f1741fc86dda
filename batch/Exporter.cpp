#include "batch/Exporter.h"

#include <algorithm>
#include <ostream>

#include "batch/Decimal.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"
#include "common/Latin1.h"
#include "keying/FieldTypes.h"

namespace
{

void JsonText(std::string_view bytes, std::string& out)
{
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += Hex[u >> 4];
            out += Hex[u & 0xF];
        } else {
            Latin1::AppendUtf8(std::string_view(&c, 1), out);
        }
    }
    out += '"';
}

// Plain loops: find_last_not_of calls memchr once a character.
std::string_view TrimRight(std::string_view s)
{
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.substr(0, n);
}

bool Blank(std::string_view s)
{
    return TrimRight(s).empty();
}

} // namespace

Exporter::Exporter(const RecordLayout& layout, ExportOptions options)
    : m_layout(layout), m_options(options), m_pairColumn(layout.pairs().size() > 1)
{
    for (const PairLayout& p : layout.pairs())
        m_fieldColumns = std::max(m_fieldColumns, p.fields.size());
}

std::vector<std::string> Exporter::columnNames() const
{
    std::vector<std::string> names;
    if (m_pairColumn)
        names.emplace_back("format");
    for (std::size_t k = 0; k < m_fieldColumns; ++k) {
        std::string name;
        for (const PairLayout& p : m_layout.pairs()) {
            if (k >= p.fields.size())
                continue;
            const std::string& own = p.fields[k].name;
            if (name.empty())
                name = own;
            else if (name != own && name.find(" / " + own) == std::string::npos)
                name += " / " + own;
        }
        names.push_back(name);
    }
    return names;
}

void Exporter::header(std::string& out) const
{
    if (m_options.form == ExportOptions::Form::Jsonl)
        return;
    const auto names = columnNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += ',';
        Latin1::AppendCsv(names[i], out);
    }
    out += "\r\n";
}

void Exporter::csvCell(const LayoutField& f, std::string_view text, std::string& out) const
{
    if (FieldTypes::IsNumeric(f.type) && (Blank(text) || Decimal::AppendPlain(text, out)))
        return;
    Latin1::AppendCsv(m_options.raw ? text : TrimRight(text), out);
}

void Exporter::jsonValue(const LayoutField& f, std::string_view text, std::string& out) const
{
    if (FieldTypes::IsNumeric(f.type)) {
        if (Blank(text)) {
            out += "null";
            return;
        }
        if (Decimal::AppendPlain(text, out))
            return;
    }
    JsonText(m_options.raw ? text : TrimRight(text), out);
}

void Exporter::row(const PairLayout& pair, std::string_view record, std::string& out) const
{
    const auto text = [&](const LayoutField& f) {
        return record.substr(static_cast<std::size_t>(f.start - 1),
                             static_cast<std::size_t>(f.len));
    };
    if (m_options.form == ExportOptions::Form::Csv) {
        if (m_pairColumn) {
            out += pair.letter;
            out += ',';
        }
        for (std::size_t k = 0; k < pair.fields.size(); ++k) {
            if (k > 0)
                out += ',';
            csvCell(pair.fields[k], text(pair.fields[k]), out);
        }
        out.append(m_fieldColumns - pair.fields.size(), ',');
        out += "\r\n";
        return;
    }
    out += '{';
    if (m_pairColumn) {
        out += "\"format\":\"";
        out += pair.letter;
        out += "\",";
    }
    for (std::size_t k = 0; k < pair.fields.size(); ++k) {
        if (k > 0)
            out += ',';
        JsonText(pair.fields[k].name, out);
        out += ':';
        jsonValue(pair.fields[k], text(pair.fields[k]), out);
    }
    out += "}\n";
}

Result<ExportCounts> Exporter::run(LineReader& in, OutputSink& out, std::ostream& report)
{
    ExportCounts counts;
    counts.columns = static_cast<int>(m_fieldColumns) + (m_pairColumn ? 1 : 0);
    const int recLen = m_layout.recLen();
    in.setRecLen(recLen);
    header(out.buffer());
    const auto done = in.forEach([&](std::string_view s) -> Result<void> {
        const bool whole = static_cast<int>(s.size()) >= recLen;
        const PairLayout* pair =
            whole ? m_layout.pairOf(s[static_cast<std::size_t>(recLen - 1)]) : nullptr;
        if (pair == nullptr) {
            ++counts.skipped;
            report << "record " << in.count() << " left out: "
                   << (!whole ? "a fragment, not a whole record"
                              : "its format letter is none of " + m_layout.letters())
                   << '\n';
            return {};
        }
        row(*pair, s.substr(0, static_cast<std::size_t>(recLen)), out.buffer());
        ++counts.rows;
        return out.spill();
    });
    if (!done)
        return done.error();
    return counts;
}
