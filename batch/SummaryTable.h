#pragma once

#include <string>
#include <vector>

// A report's rows under named columns, written as a text table lined up for a terminal or
// as CSV (RFC 4180, CR LF rows) for a spreadsheet. Cells are UTF-8.
class SummaryTable
{
public:
    struct Column {
        std::string heading; // in the text table
        std::string name;    // in the CSV header
        bool left = false;   // text, lined up on the left; numbers on the right
    };

    explicit SummaryTable(std::vector<Column> columns);

    // A row of one cell per column.
    void add(std::vector<std::string> cells);

    void writeText(std::string& out) const;
    void writeCsv(std::string& out) const;

private:
    std::vector<Column> m_columns;
    std::vector<std::vector<std::string>> m_rows;
};
