#pragma once

#include <array>
#include <string>

// One field of the field table: a run of record positions sharing a type code.
struct Field {
    int Start = 0; // first record position, from 1
    int Len = 0;   // number of positions
    char Typ = ' ';
};

// The loaded format (its pairs of format and heading lines) and the field table of the
// format line in use. Filled by FormatLoader, read by every keying class.
class FormatState
{
public:
    static constexpr int MaxPairs = 10;
    static constexpr int MaxFields = 100; // 99 fields and the end marker
    static constexpr int MinFormatLineLength = 5;

    std::string FmtName;
    int FmtCount = 0;
    std::array<std::string, MaxPairs + 1> FmtLines; // by format number 1..FmtCount
    std::array<std::string, MaxPairs + 1> HeadLines;
    int RecLen = 0;
    int FmtNo = 1;

    std::string FmtLine;
    std::array<Field, MaxFields + 1> Fields; // entries 1..FieldCount are fields
    int FieldCount = 0;

    // Rebuilds FmtLine, Fields and FieldCount from FmtLines(FmtNo) over RecLen columns.
    void BuildFieldTable();

    // Field n of the table; numbers outside it give the nearest entry, so a cursor past
    // the table's room never reads beyond it.
    const Field& field(int n) const
    {
        return Fields[static_cast<std::size_t>(n < 0 ? 0 : n > MaxFields ? MaxFields : n)];
    }

    // Format letter stored in the last position of a record: 'a' for format 1.
    char formatLetter() const { return static_cast<char>('a' + FmtNo - 1); }
};
