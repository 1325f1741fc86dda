#include "keying/KeyDispatch.h"

#include <cctype>

#include "engine/Engine.h"
#include "keying/KeyCodes.h"

namespace
{

bool ContinuesField(const std::string& line, int col)
{
    if (col < 1 || col > static_cast<int>(line.size()))
        return false;
    const char c = line[static_cast<std::size_t>(col - 1)];
    return c == '-' || c == '.';
}

// Alphabetic fields convert a pad key only when Shift went down in them.
bool IsPadShiftType(char type)
{
    return type == 'L' || type == 'J' || type == 'A';
}

} // namespace

void KeyDispatch::Form_KeyDown(int& keyCode, int shift)
{
    if (!m_e.scr.RecordShown)
        return;
    LastKeyCode = keyCode;
    m_swallowChar = false;
    if (keyCode == KeyCode::Pad9)
        return;
    OperatorAids& aids = m_e.aids;
    if (aids.AltEqualOn) {
        aids.AltEqualNxt(keyCode);
        // The key named the memory key; its character is not keyed.
        m_swallowChar = true;
        return;
    }
    if (keyCode == KeyCode::Tab && shift == 0) {
        TabKey();
        return;
    }
    if (keyCode == KeyCode::Tab && shift == KeyShift::Shift) {
        keyCode = 0;
        ShiftTabKey();
        return;
    }
    if (keyCode == KeyCode::Home && shift == KeyShift::Ctrl) {
        m_e.rec.GoFirst();
        return;
    }
    if (keyCode == KeyCode::End && shift == KeyShift::Ctrl) {
        m_e.rec.GoEnd();
        return;
    }
    if (m_e.prefs.UptronSw && shift == KeyShift::Shift && IsPadShiftType(m_e.fld.FldType))
        aids.PadShift = 1;
    if (shift != KeyShift::Alt)
        keyDownCommand(keyCode);
    else
        altCommand(keyCode);
    if (keyCode >= KeyCode::F2 && keyCode <= KeyCode::F9)
        aids.MemRecall(keyCode - KeyCode::F1 + 1);
}

void KeyDispatch::Press(const KeyStroke& ks)
{
    // After a failed write nothing more goes into the file; modifier keys alone keep quiet.
    const bool modifierOnly = ks.keyCode == KeyCode::ShiftKey || ks.keyCode == KeyCode::CtrlKey ||
                              ks.keyCode == KeyCode::AltKey;
    if (m_e.scr.RecordShown && !m_e.file.DataFileNo.trusted()) {
        if (!modifierOnly)
            m_e.file.ReportUntrusted();
        return;
    }
    if (m_e.file.ReadyForKeying() && !modifierOnly)
        m_e.stats.Key(m_e.ver.VerifyMode);
    int code = ks.keyCode;
    Form_KeyDown(code, ks.shift);
    if (!ks.ch)
        return;
    int c = *ks.ch;
    Form_KeyPress(c);
}

void KeyDispatch::Reached(int col)
{
    if (col <= MaxCol)
        return;
    MaxCol = col;
    Revisit = false;
}

void KeyDispatch::keyDownCommand(int& keyCode)
{
    if (keyCode == m_e.prefs.DupKeyCode) {
        m_e.exits.AutoDup();
        keyCode = 0;
        // The Duplicate key only duplicates: the character of the 7 key is not keyed.
        m_swallowChar = true;
        return;
    }
    switch (keyCode) {
    case KeyCode::F11:
        m_e.exits.FillRecord();
        keyCode = 0;
        return;
    case KeyCode::Left:
        LeftArw();
        return;
    case KeyCode::Right:
        RightArw();
        return;
    case KeyCode::Home:
        HomeKey();
        return;
    case KeyCode::Up:
        m_e.rec.GoBack();
        return;
    case KeyCode::Down:
        m_e.rec.GoFwd();
        return;
    case KeyCode::End:
        EndKey();
        return;
    case KeyCode::Insert:
        InsKey();
        return;
    case KeyCode::Delete:
        DelKey();
        return;
    case KeyCode::Esc:
        EscKey();
        return;
    default:
        return;
    }
}

void KeyDispatch::altCommand(int keyCode)
{
    if (keyCode >= KeyCode::Digit0 + 1 && keyCode <= KeyCode::Digit0 + 9) {
        switchFormat(keyCode - KeyCode::Digit0);
        return;
    }
    if (keyCode == KeyCode::F1)
        AltF1();
    else if (keyCode == KeyCode::Equal)
        m_e.aids.AltEqual();
}

void KeyDispatch::Form_KeyPress(int& keyAscii)
{
    if (!m_e.scr.RecordShown)
        return;
    if (AltF1Sw) {
        AltF1Nxt(keyAscii);
        return;
    }
    if (m_swallowChar) {
        m_swallowChar = false;
        keyAscii = 0;
        return;
    }
    switch (keyAscii) {
    case KeyCode::Tab:
        keyAscii = 0;
        return;
    case 4: // Ctrl+D
        m_e.aids.DupOnOff();
        return;
    case KeyCode::Esc: // Esc has no effect on the entry screen
        keyAscii = 0;
        return;
    case KeyCode::Backspace:
        // A record being inserted is new in Verify mode too: a typo in it can be erased.
        if (m_e.ver.VerifyMode && !m_e.rec.InsertPending)
            m_e.ver.VerifyAccept = true;
        else
            BackSpaceKey();
        return;
    case KeyCode::Enter:
    case ';':
        EnterKey();
        return;
    default:
        m_e.ver.EnterChar(padConverted(keyAscii));
        return;
    }
}

int KeyDispatch::padConverted(int keyAscii)
{
    if (!m_e.prefs.UptronSw)
        return keyAscii;
    OperatorAids& aids = m_e.aids;
    const char type = m_e.fld.FldType;
    if (std::string_view("NBDRY").find(type) != std::string_view::npos)
        return aids.Convert(keyAscii);
    if (IsPadShiftType(type) && aids.PadShift == 1) {
        aids.PadShift = 0;
        return aids.Convert(keyAscii);
    }
    return keyAscii;
}

void KeyDispatch::switchFormat(int n)
{
    FormatState& f = m_e.fmt;
    if (n <= f.FmtCount)
        f.FmtNo = n;
    EntryScreen& scr = m_e.scr;
    scr.CurCol = 1;
    scr.InitScreen();
    // A stored record keeps its characters: show them under the new format.
    if (m_e.rec.CorrectMode)
        scr.ShowRecordLine();
}

void KeyDispatch::RightArw()
{
    EntryScreen& scr = m_e.scr;
    RecordStore& r = m_e.rec;
    if (scr.CurCol >= m_e.fmt.RecLen) {
        m_e.ver.RecordComplete();
        m_e.status.DispStatus();
        return;
    }
    if (scr.CurCol >= MaxCol) {
        MaxCol = scr.CurCol;
        Revisit = false;
    }
    // On a new record the arrow carries the previous record's character over.
    if (!r.CorrectMode && !Revisit) {
        const auto pos = static_cast<std::size_t>(scr.CurCol - 1);
        const char c = pos < r.OrigRec.size() ? r.OrigRec[pos] : ' ';
        if (pos < r.RecBuf.size())
            r.RecBuf[pos] = c;
        scr.FollowCursor();
        scr.OutChr(std::string_view(&c, 1));
    }
    ++scr.CurCol;
    m_e.fld.CursorMovedOn();
}

void KeyDispatch::LeftArw()
{
    EntryScreen& scr = m_e.scr;
    FieldTracker& fld = m_e.fld;
    Revisit = true;
    if (scr.CurCol == 1) {
        fld.CurFld = 1;
        m_e.status.DispStatus();
        return;
    }
    --scr.CurCol;
    fieldChangedLeft(scr.CurCol + 1);
    scr.FollowCursor();
    m_e.status.DispStatus();
}

void KeyDispatch::fieldChangedLeft(int leftCol)
{
    FieldTracker& fld = m_e.fld;
    if (ContinuesField(m_e.fmt.FmtLine, leftCol))
        return;
    if (fld.CurFld > 1)
        --fld.CurFld;
    fld.FldType = m_e.fmt.field(fld.CurFld).Typ;
}

void KeyDispatch::HomeKey()
{
    EntryScreen& scr = m_e.scr;
    if (scr.CurCol > 1)
        Revisit = true;
    scr.CurCol = 1;
    jumpToField(1);
}

void KeyDispatch::EndKey()
{
    const int last = m_e.fmt.FieldCount;
    if (last < 1)
        return;
    if (m_e.fmt.field(last).Start < m_e.scr.CurCol)
        Revisit = true;
    jumpToField(last);
}

void KeyDispatch::TabKey()
{
    if (m_e.fld.CurFld >= m_e.fmt.FieldCount)
        return;
    jumpToField(m_e.fld.CurFld + 1);
}

void KeyDispatch::ShiftTabKey()
{
    Revisit = true;
    if (m_e.fld.CurFld <= 1)
        return;
    jumpToField(m_e.fld.CurFld - 1);
}

void KeyDispatch::jumpToField(int n)
{
    FieldTracker& fld = m_e.fld;
    EntryScreen& scr = m_e.scr;
    const Field& f = m_e.fmt.field(n);
    fld.CurFld = n;
    scr.CurCol = f.Start;
    fld.FldType = f.Typ;
    if (scr.CurCol >= MaxCol)
        Revisit = false;
    m_e.exits.AdjDone = 0;
    fld.FieldInfo();
    scr.FollowCursor();
    m_e.status.DispStatus();
}

void KeyDispatch::BackSpaceKey()
{
    EntryScreen& scr = m_e.scr;
    RecordStore& r = m_e.rec;
    FieldTracker& fld = m_e.fld;
    if (scr.CurCol == 1)
        return;
    --scr.CurCol;
    const auto pos = static_cast<std::size_t>(scr.CurCol - 1);
    if (pos < r.RecBuf.size())
        r.RecBuf[pos] = ' ';
    scr.ShowRange(scr.CurCol, 1, 0xFFFFFF);
    scr.FollowCursor();
    if (!ContinuesField(m_e.fmt.FmtLine, scr.CurCol + 1) && fld.CurFld > 1)
        --fld.CurFld;
    fld.FldType = m_e.fmt.field(fld.CurFld).Typ;
    m_e.status.DispStatus();
}

void KeyDispatch::DelKey()
{
    if (m_e.fld.CurFld == 0)
        return;
    shiftInField(false);
}

void KeyDispatch::InsKey()
{
    shiftInField(true);
}

void KeyDispatch::shiftInField(bool insert)
{
    EntryScreen& scr = m_e.scr;
    RecordStore& r = m_e.rec;
    const Field& f = m_e.fmt.field(m_e.fld.CurFld);
    const int n = f.Start + f.Len - scr.CurCol;
    if (f.Start < 1)
        return;
    const auto from = static_cast<std::size_t>(scr.CurCol - 1);
    if (n <= 0 || from + static_cast<std::size_t>(n) > r.RecBuf.size())
        return;
    const std::string part = r.RecBuf.substr(from, static_cast<std::size_t>(n));
    const std::string t = insert ? (" " + part).substr(0, part.size()) : part.substr(1) + " ";
    r.RecBuf.replace(from, t.size(), t);
    scr.ShowRange(scr.CurCol, n, m_e.prefs.TextBackColor);
    scr.FollowCursor();
}

void KeyDispatch::EnterKey()
{
    FieldTracker& fld = m_e.fld;
    if (fld.FldType == 'R' || fld.FldType == 'J') {
        m_e.exits.Radj();
        // Enter on the last field finishes the record, as it does after a fill; the next
        // key belongs to the next record.
        if (m_e.scr.CurCol >= m_e.fmt.RecLen) {
            m_e.ver.RecordComplete();
            return;
        }
        fld.FieldEntered();
        m_e.status.DispStatus();
        return;
    }
    m_e.exits.FieldExit();
}

void KeyDispatch::AltF1()
{
    m_e.MsgBox("Cursor will drop to the format line \npress any valid field type.");
    Surface& s = m_e.surface;
    EntryScreen& scr = m_e.scr;
    s.setPrintPos(scr.cellCol(scr.CurCol), scr.T() + 2);
    scr.PosCur();
    AltF1Sw = true;
}

void KeyDispatch::AltF1Nxt(int key)
{
    FormatState& f = m_e.fmt;
    EntryScreen& scr = m_e.scr;
    Surface& s = m_e.surface;
    AltF1Sw = false;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    std::string& line = f.FmtLines[static_cast<std::size_t>(f.FmtNo)];
    const auto pos = static_cast<std::size_t>(scr.CurCol - 1);
    const int cell = scr.cellCol(scr.CurCol);
    if (c != '\0' && std::string_view("ABDJLMNRY-").find(c) != std::string_view::npos &&
        pos < line.size()) {
        line[pos] = c;
        m_e.fld.FldType = c;
        s.fillBox(cell, scr.T() + 2, cell + 1, scr.T() + 3, m_e.prefs.FormBackColor);
    }
    // The format line of the section shown, printed again from the changed line.
    const int first = scr.SecNo * scr.ScrCols;
    s.setPrintPos(0, scr.T() + 2);
    if (first < static_cast<int>(line.size()))
        s.print(std::string_view(line).substr(static_cast<std::size_t>(first),
                                              static_cast<std::size_t>(scr.ScrCols)));
    m_e.status.DispStatus();
    scr.FollowCursor();
}
