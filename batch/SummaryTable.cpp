#include "batch/SummaryTable.h"

#include <algorithm>
#include <cstdio>

namespace
{

// A cell as a terminal can show it on one line: control characters as \xNN.
std::string Visible(const std::string& cell)
{
    std::string out;
    for (const char ch : cell) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out;
}

// Characters, not bytes, so that a name with accents lines up.
std::size_t Width(const std::string& s)
{
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void CsvCell(const std::string& cell, std::string& out)
{
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

SummaryTable::SummaryTable(std::vector<Column> columns) : m_columns(std::move(columns)) {}

void SummaryTable::add(std::vector<std::string> cells)
{
    cells.resize(m_columns.size());
    m_rows.push_back(std::move(cells));
}

void SummaryTable::writeText(std::string& out) const
{
    std::vector<std::vector<std::string>> lines;
    lines.reserve(m_rows.size() + 1);
    std::vector<std::string> headings;
    for (const Column& c : m_columns)
        headings.push_back(c.heading);
    lines.push_back(std::move(headings));
    for (const auto& row : m_rows) {
        std::vector<std::string> shown;
        for (const std::string& cell : row)
            shown.push_back(Visible(cell));
        lines.push_back(std::move(shown));
    }
    std::vector<std::size_t> widths(m_columns.size(), 0);
    for (const auto& line : lines)
        for (std::size_t k = 0; k < line.size(); ++k)
            widths[k] = std::max(widths[k], Width(line[k]));
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t k = 0; k < line.size(); ++k) {
            if (k > 0)
                text += "  ";
            const std::string pad(widths[k] - Width(line[k]), ' ');
            text += m_columns[k].left ? line[k] + pad : pad + line[k];
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text;
        out += '\n';
    }
}

void SummaryTable::writeCsv(std::string& out) const
{
    const auto row = [&out](const auto& cells) {
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (k > 0)
                out += ',';
            CsvCell(cells[k], out);
        }
        out += "\r\n";
    };
    std::vector<std::string> names;
    for (const Column& c : m_columns)
        names.push_back(c.name);
    row(names);
    for (const auto& cells : m_rows)
        row(cells);
}
