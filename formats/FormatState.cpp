#include "formats/FormatState.h"

void FormatState::BuildFieldTable()
{
    FmtLine = FmtLines.at(static_cast<std::size_t>(FmtNo));
    int n = 0;
    for (int j = 1; j <= RecLen; ++j) {
        const char c = j <= static_cast<int>(FmtLine.size()) ? FmtLine[j - 1] : ' ';
        if (c == '-' || c == '.')
            continue;
        // Codes past the table's room are ignored; the loader refuses such lines, but
        // Alt+F1 can still turn dashes into codes in memory.
        if (n == MaxFields)
            break;
        ++n;
        Fields[n].Start = j;
        Fields[n].Typ = c;
        if (n > 1)
            Fields[n - 1].Len = j - Fields[n - 1].Start;
    }
    if (n >= 1)
        Fields[n].Len = RecLen - Fields[n].Start + 1;
    FieldCount = n > 0 ? n - 1 : 0;
}
