#include "keying/RecordCompletion.h"

#include "common/TextUtil.h"
#include "engine/Engine.h"

namespace
{

constexpr Color White = 0xFFFFFF;
constexpr Color Green = 65280;

} // namespace

void RecordCompletion::EnterChar(int k)
{
    EntryScreen& scr = m_e.scr;
    RecordStore& r = m_e.rec;
    if (!scr.RecordShown || r.RecBuf.empty())
        return;
    if (!m_e.fld.CharValid(k))
        return;
    // An inserted record is new: there is nothing stored to compare it with.
    if (VerifyMode && !r.InsertPending) {
        VerifyChar(k);
        return;
    }
    const char c = static_cast<char>(k);
    const int col = scr.CurCol;
    if (col >= 1 && col <= static_cast<int>(r.RecBuf.size()))
        r.RecBuf[static_cast<std::size_t>(col - 1)] = c;
    scr.FollowCursor();
    scr.OutChr(std::string_view(&c, 1));
    advanceAfterChar();
}

void RecordCompletion::advanceAfterChar()
{
    EntryScreen& scr = m_e.scr;
    ++scr.CurCol;
    m_e.keys.Reached(scr.CurCol);
    if (scr.CurCol >= m_e.fmt.RecLen) {
        if (VerifyMode && !m_e.rec.InsertPending)
            completeVerifiedRecord();
        else
            RecordComplete();
        return;
    }
    m_e.fld.CursorMovedOn();
}

bool RecordCompletion::RecordComplete()
{
    RecordStore& r = m_e.rec;
    EntryScreen& scr = m_e.scr;
    StatusLine& st = m_e.status;
    const bool inserting = r.InsertPending;
    const bool correcting = r.CorrectMode && !inserting;
    if (!r.CorrectMode && !inserting) {
        st.ModeMsg = std::string(StatusLine::MessageWidth, ' ');
        st.ModeColor = White;
    }
    if (inserting) {
        // The record goes in with the gap, so no moment holds one without the other.
        if (!r.OpenGap(r.CurRec)) {
            stayOnRecord();
            return false;
        }
        r.InsertPending = false;
    } else if (!r.WriteRecordOrReport(r.CurRec)) {
        stayOnRecord();
        return false;
    }
    // A field action can finish a stored record in Verify mode too: it was verified.
    if (!correcting)
        m_e.stats.Stored();
    else if (VerifyMode)
        m_e.stats.Verified();
    else
        m_e.stats.Corrected();
    scr.CurCol = 1;
    m_e.fld.CurFld = 1;
    r.OrigRec = r.RecBuf;
    st.DispStatus();
    if (inserting) {
        st.ModeMsg = " Current Rec: " + text::SignedDec(r.CurRec + 1);
        m_e.win.mnuInsRec = false;
        m_e.win.mnuDelRec = false;
        st.ModeColor = Green;
    }
    r.ShowNextAfterStoring();
    return true;
}

void RecordCompletion::VerifyChar(int k)
{
    EntryScreen& scr = m_e.scr;
    RecordStore& r = m_e.rec;
    const char c = static_cast<char>(k);
    const auto pos = static_cast<std::size_t>(scr.CurCol - 1);
    if (pos >= r.RecBuf.size())
        return;
    if (r.RecBuf[pos] != c) {
        if (!VerifyAccept) {
            m_e.stats.Mismatch();
            m_e.MsgBox("Mismatch", Dialogs::Buttons::OK, Dialogs::Icon::None, "Verification");
            if (++MismatchCount <= 2) {
                scr.FollowCursor();
                return; // the operator keys the position again
            }
            MismatchCount = 0;
        }
        m_e.stats.Replaced();
        m_e.verifyLog.Replaced(r.RecBuf[pos], c, VerifyAccept);
        r.RecBuf[pos] = c;
        VerifyChanged = true;
    }
    scr.FollowCursor();
    scr.OutChr(std::string_view(&c, 1));
    advanceAfterChar();
}

void RecordCompletion::completeVerifiedRecord()
{
    RecordStore& r = m_e.rec;
    EntryScreen& scr = m_e.scr;
    // A record at the end position has nothing stored yet: it is written like a new one.
    const bool stored = r.CurRec < r.EndRec;
    if ((VerifyChanged || !stored) && !r.WriteRecordOrReport(r.CurRec)) {
        stayOnRecord();
        return;
    }
    if (stored)
        m_e.stats.Verified();
    else
        m_e.stats.Stored();
    scr.CurCol = 1;
    m_e.fld.CurFld = 1;
    r.OrigRec = r.RecBuf;
    m_e.status.DispStatus();
    r.ShowNextAfterStoring();
}

void RecordCompletion::stayOnRecord()
{
    EntryScreen& scr = m_e.scr;
    scr.CurCol = m_e.fmt.RecLen;
    scr.FollowCursor();
}

void RecordCompletion::mnuVerify_Click()
{
    VerifyMode = !VerifyMode;
    m_e.win.mnuVerifyChecked = VerifyMode;
    m_e.WindowChanged();
}
