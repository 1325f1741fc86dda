#include "keying/OperatorAids.h"

#include <algorithm>

#include "common/TextUtil.h"
#include "engine/Engine.h"
#include "keying/KeyCodes.h"

namespace
{

bool IsNumericRecallType(char type)
{
    return type == 'N' || type == 'D' || type == 'B' || type == 'Y';
}

} // namespace

void OperatorAids::DupOnOff()
{
    DupSw = !DupSw;
    m_e.win.dupPictureOn = DupSw;
    m_e.WindowChanged();
}

void OperatorAids::AltEqual()
{
    // From the start of the field the cursor is in (not a start left over from a field
    // since moved out of) up to the cursor.
    const Field& f = m_e.fmt.field(m_e.fld.CurFld);
    const int keyed = m_e.scr.CurCol - f.Start;
    const std::string& buf = m_e.rec.RecBuf;
    MemText =
        f.Start >= 1 && keyed > 0 && f.Start <= static_cast<int>(buf.size())
            ? buf.substr(static_cast<std::size_t>(f.Start - 1), static_cast<std::size_t>(keyed))
            : std::string();
    AltEqualOn = true;
    m_e.MsgBox("Press any key F2-F9 to store characters\n from beginning of the field");
}

void OperatorAids::AltEqualNxt(int keyCode)
{
    AltEqualOn = false;
    if (keyCode < KeyCode::F2 || keyCode > KeyCode::F9) {
        m_e.MsgBox("Only F2 - F9 keys allowed");
        return;
    }
    const auto slot = static_cast<std::size_t>(keyCode - KeyCode::F1 + 1);
    m_e.prefs.MemKeys[slot] = Preferences::FixedMemText(MemText);
    m_e.prefs.SaveMemKeys(m_e.store);
    // Or a later OK in Preferences would put the box's older text back.
    m_e.prefsForm.MemKeyStored(static_cast<int>(slot));
}

std::string OperatorAids::RecallText(const std::string& slot)
{
    std::string s = text::Trim(slot);
    for (char& c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < ' ' || u > 128)
            c = ' ';
    }
    return s;
}

void OperatorAids::MemRecall(int n)
{
    if (n < 2 || n > 9)
        return;
    FieldTracker& fld = m_e.fld;
    EntryScreen& scr = m_e.scr;
    RecordStore& r = m_e.rec;
    const Field& f = m_e.fmt.field(fld.CurFld);
    // No field under the cursor (Alt+F1 can make the first code a "-"): nothing to type.
    if (f.Start < 1)
        return;
    fld.FldStart = f.Start;
    fld.FldLen = f.Len;
    const int k = scr.CurCol - f.Start;
    if (k < 0 || k > f.Len)
        return;
    std::string s = RecallText(m_e.prefs.MemKeys[static_cast<std::size_t>(n)]);
    if (static_cast<int>(s.size()) < MinRecall)
        return;
    s.resize(std::min(s.size(), static_cast<std::size_t>(f.Len - k)));
    if (IsNumericRecallType(fld.FldType) && !FieldTracker::FieldNumeric(s))
        return;
    if (m_e.ver.VerifyMode && !r.InsertPending) {
        // Verifying, the text is keyed as the operator would key it: each character is
        // compared with the stored one, and a mismatch stops the recall there.
        for (const char c : s) {
            const int col = scr.CurCol;
            const auto rec = r.CurRec;
            m_e.ver.EnterChar(static_cast<unsigned char>(c));
            if (scr.CurCol != col + 1 || r.CurRec != rec)
                return;
        }
        return;
    }
    const int from = scr.CurCol;
    if (from + static_cast<int>(s.size()) - 1 > static_cast<int>(r.RecBuf.size()))
        return;
    r.RecBuf.replace(static_cast<std::size_t>(from - 1), s.size(), s);
    scr.CurCol = f.Start + f.Len;
    m_e.exits.FieldFilled(from, static_cast<int>(s.size()), false);
}

int OperatorAids::Convert(int keyAscii) const
{
    const int last = m_e.keys.LastKeyCode;
    if (last >= KeyCode::Pad0 && last < KeyCode::Pad9)
        return keyAscii;
    switch (keyAscii) {
    case '9':
        return last == KeyCode::Pad9 ? '9' : '0';
    case 'U':
    case 'u':
        return '1';
    case 'I':
    case 'i':
        return '2';
    case 'O':
    case 'o':
        return '3';
    case 'J':
    case 'j':
        return '4';
    case 'K':
    case 'k':
        return '5';
    case 'L':
    case 'l':
        return '6';
    case 'M':
    case 'm':
        return '7';
    case ',':
    case '<':
        return '8';
    case '.': {
        // A decimal-point column of the format line keeps its point.
        const std::string& line = m_e.fmt.FmtLine;
        const int col = m_e.scr.CurCol;
        const bool point = col >= 1 && col <= static_cast<int>(line.size()) && line[col - 1] == '.';
        return point ? '.' : '9';
    }
    case '>':
        return '9';
    case '(':
        return '0';
    default:
        return keyAscii;
    }
}
