#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "batch/RecordLayout.h"
#include "common/Result.h"

class LineReader;
class OutputSink;

struct ExportOptions {
    enum class Form { Csv, Jsonl };
    Form form = Form::Csv;
    bool raw = false; // text fields keep their trailing blanks
};

struct ExportCounts {
    std::int64_t rows = 0;
    std::int64_t skipped = 0; // records of no pair and fragments, reported instead
    int columns = 0;
};

// Writes one row per record and one column per field, as CSV (RFC 4180) or JSON Lines, in
// UTF-8. With several pairs a first column names the record's pair by its letter, and CSV
// rows of shorter pairs are filled out with empty cells.
class Exporter
{
public:
    Exporter(const RecordLayout& layout, ExportOptions options);

    // Records that fit no pair are named on report and left out.
    Result<ExportCounts> run(LineReader& in, OutputSink& out, std::ostream& report);

    // The CSV header's names: a column's field names of each pair, different ones joined
    // by " / ".
    std::vector<std::string> columnNames() const;

private:
    void header(std::string& out) const;
    void row(const PairLayout& pair, std::string_view record, std::string& out) const;
    void csvCell(const LayoutField& f, std::string_view text, std::string& out) const;
    void jsonValue(const LayoutField& f, std::string_view text, std::string& out) const;

    const RecordLayout& m_layout;
    ExportOptions m_options;
    bool m_pairColumn = false;
    std::size_t m_fieldColumns = 0;
};
