#include "keying/FieldTracker.h"

#include "engine/Engine.h"
#include "keying/FieldTypes.h"

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
    FieldExitRules& exits = m_e.exits;
    // An R field with a decimal point left without Enter is aligned now.
    if (PrevFldType == 'R' && DecPos >= 1 && exits.AdjDone == 0 && CurFld >= 1) {
        exits.Radj();
        DecPos = 0;
    }
    exits.AdjDone = 0;
    ++CurFld;
    if (autoAction())
        return;
    if (CurFld > f.FieldCount)
        CurFld = f.FieldCount;
    DecPos = 0;
    FieldInfo();
    ShowFieldType();
}

void FieldTracker::CursorMovedOn()
{
    m_e.scr.FollowCursor();
    FieldEntered();
    m_e.status.DispStatus();
}

bool FieldTracker::autoAction()
{
    const bool dup = m_e.aids.DupSw;
    const bool fresh = dup && !m_e.keys.Revisit && !m_e.rec.CorrectMode;
    if (fresh && FldType == 'Y') {
        m_e.exits.AutoInc();
        return true;
    }
    if (fresh && (FldType == 'D' || FldType == 'L')) {
        m_e.exits.AutoDup();
        return true;
    }
    if (dup && FldType == 'S') {
        m_e.exits.AutoSkip();
        return true;
    }
    return false;
}

void FieldTracker::ShowFieldType()
{
    m_e.status.setPanel(5, std::string("Typ:") + FldType);
}

void FieldTracker::FieldInfo()
{
    const FormatState& f = m_e.fmt;
    const Field& fld = f.field(CurFld);
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

void FieldTracker::reject(const std::string& message)
{
    m_e.MsgBox(message);
}

bool FieldTracker::CharValid(int k)
{
    const char c = static_cast<char>(k);
    bool ok = true;
    if (const auto r = FieldTypes::TypeRefusal(FldType, k); r != FieldTypes::Refusal::None) {
        reject(FieldTypes::Message(r, c));
        ok = false;
    }
    // A decimal point position takes only the point, except where right adjustment or
    // duplication puts it there.
    const std::string& line = m_e.fmt.FmtLine;
    const int col = m_e.scr.CurCol;
    const bool atPoint = col >= 1 && col <= static_cast<int>(line.size()) && line[col - 1] == '.';
    if (FieldTypes::PointRefused(FldType, k, atPoint)) {
        reject(FieldTypes::Message(FieldTypes::Refusal::DecimalPointOnly, c));
        ok = false;
    }
    if (!ok)
        m_e.stats.Refused();
    return ok;
}

bool FieldTracker::IsDigitOrDot(std::string_view s)
{
    return !s.empty() && ((s[0] >= '0' && s[0] <= '9') || s[0] == '.');
}

bool FieldTracker::FieldNumeric(std::string_view x)
{
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!IsDigitOrDot(x.substr(i)))
            return false;
    }
    return true;
}
