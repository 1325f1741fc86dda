#include "keying/FieldTracker.h"

#include "app/Engine.h"

void FieldTracker::FieldEntered()
{
    const FormatState& f = m_e.fmt;
    const int col = m_e.scr.CurCol;
    const char ch =
        col >= 1 && col <= static_cast<int>(f.FmtLine.size()) ? f.FmtLine[col - 1] : ' ';
    if (ch == '-' || ch == '.')
        return;
    PrevFldType = FldType;
    FldType = ch;
    ++CurFld;
    if (CurFld > f.FieldCount)
        CurFld = f.FieldCount;
    DecPos = 0;
    FieldInfo();
    m_e.status.setPanel(5, std::string("Typ:") + FldType);
}

void FieldTracker::FieldInfo()
{
    const FormatState& f = m_e.fmt;
    const Field& fld = f.Fields[static_cast<std::size_t>(CurFld)];
    FldStart = fld.Start;
    FldLen = fld.Len;
    const int keyed = m_e.scr.CurCol - FldStart;
    const auto& buf = m_e.rec.RecBuf;
    FldKeyed =
        FldStart >= 1 && keyed > 0 && FldStart <= static_cast<int>(buf.size())
            ? buf.substr(static_cast<std::size_t>(FldStart - 1), static_cast<std::size_t>(keyed))
            : std::string();
    const std::string& line = f.FmtLines[static_cast<std::size_t>(f.FmtNo)];
    FldPic =
        FldStart >= 1 && FldStart <= static_cast<int>(line.size())
            ? line.substr(static_cast<std::size_t>(FldStart - 1), static_cast<std::size_t>(FldLen))
            : std::string();
    const auto dot = FldPic.find('.');
    DecPos = dot == std::string::npos ? 0 : static_cast<int>(dot) + 1;
}
