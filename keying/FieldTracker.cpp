#include "keying/FieldTracker.h"

#include "engine/Engine.h"

namespace
{

bool IsNumericType(char t)
{
    return t == 'N' || t == 'R' || t == 'D' || t == 'Y';
}

bool IsAlphaType(char t)
{
    return t == 'A' || t == 'L' || t == 'J';
}

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

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
    const auto c = static_cast<unsigned char>(k);
    const std::string shown(1, static_cast<char>(c));
    bool ok = true;
    if (IsNumericType(FldType)) {
        if ((c < '0' || c > '9') && c != '.') {
            reject("Invalid Character - " + shown + ". Numeric Only");
            ok = false;
        }
    } else if (FldType == 'B') {
        if (std::string_view("0123456789 ").find(static_cast<char>(c)) == std::string_view::npos) {
            reject("Invalid Character - " + shown + ". Numeric Only");
            ok = false;
        }
    } else if (FldType == 'M') {
        if (k < 32 || !(c == ' ' || IsLetter(c))) {
            reject("Alpha only");
            ok = false;
        }
    } else if (IsAlphaType(FldType)) {
        if (k < 32 || (c > 'Z' && c < 'a') || c > 'z') {
            reject("Invalid Character");
            ok = false;
        }
    }
    // A decimal point position takes only the point, except where right adjustment or
    // duplication puts it there.
    if (FldType != 'L' && FldType != 'R') {
        const std::string& line = m_e.fmt.FmtLine;
        const int col = m_e.scr.CurCol;
        if (col >= 1 && col <= static_cast<int>(line.size()) && line[col - 1] == '.' && c != '.') {
            reject("Only decimal point '.' allowed");
            ok = false;
        }
    }
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
