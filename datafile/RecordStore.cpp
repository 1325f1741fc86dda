#include "datafile/RecordStore.h"

#include "common/TextUtil.h"
#include "engine/Engine.h"

namespace
{

constexpr Color Magenta = 0xFF00FF;
constexpr Color White = 0xFFFFFF;
constexpr Color Red = 255;

} // namespace

Result<void> RecordStore::ReadRecord(std::int32_t n)
{
    FormatState& f = m_e.fmt;
    if (n < 1 || n >= EndRec)
        return Error{"There is no record" + text::SignedDec(n) + "."};
    auto slot = m_e.file.DataFileNo.readSlot(n, f.RecLen);
    if (!slot)
        return slot.error();
    RecBuf = std::move(slot).value();
    RecBuf.resize(static_cast<std::size_t>(f.RecLen), ' ');
    OrigRec = RecBuf;
    const int no = f.RecLen >= 1 ? RecBuf[static_cast<std::size_t>(f.RecLen - 1)] - 'a' + 1 : 1;
    f.FmtNo = no < 1 || no > f.FmtCount ? 1 : no;
    return {};
}

void RecordStore::CleanRecord(std::string& s)
{
    for (char& c : s) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code > 128)
            c = ' ';
    }
}

std::string RecordStore::stampedSlot()
{
    const FormatState& f = m_e.fmt;
    RecBuf.resize(static_cast<std::size_t>(f.RecLen), ' ');
    RecBuf.back() = f.formatLetter();
    CleanRecord(RecBuf);
    return RecBuf + "\r\n";
}

void RecordStore::showStored(Change change)
{
    m_e.win.previousText = RecBuf;
    m_e.WindowChanged();
    OnChange.notify(change);
}

Result<void> RecordStore::WriteRecord(std::int32_t n)
{
    if (m_e.fmt.RecLen < 1)
        return Error{"No format is loaded."};
    std::string slot = stampedSlot();
    if (const auto logged = m_e.verifyLog.WritePending(n); !logged)
        return logged.error();
    const auto written = m_e.file.DataFileNo.writeSlot(n, m_e.fmt.RecLen, slot);
    if (!written)
        return written;
    showStored({Change::Kind::Written, n, std::move(slot)});
    return {};
}

void RecordStore::reportSlotError(const std::string& what, std::int32_t n, const Error& err,
                                  const std::string& after)
{
    m_e.MsgBox("Record" + text::SignedDec(n) + " could not be " + what + " " +
                   m_e.file.DataFilePath + ": " + err.message + "." +
                   (after.empty() ? "" : "\n" + after),
               Dialogs::Buttons::OK, Dialogs::Icon::Exclamation);
}

bool RecordStore::WriteRecordOrReport(std::int32_t n)
{
    const auto written = WriteRecord(n);
    if (written)
        return true;
    reportSlotError("written to", n, written.error(),
                    "The record stays on the screen; it is not stored.");
    return false;
}

bool RecordStore::recordCommandsAllowed() const
{
    return m_e.file.ReadyForKeying() && !InsertPending;
}

DataFile::Progress RecordStore::progressFor(const std::string& label) const
{
    return [this, label](std::int64_t done, std::int64_t total) {
        return m_e.dialogs.progress(label, done, total);
    };
}

void RecordStore::endProgress(const std::string& label) const
{
    m_e.dialogs.progress(label, 0, 0);
}

bool RecordStore::changedStoredRecord() const
{
    return CorrectMode && CurRec < EndRec &&
           RecBuf.compare(0, static_cast<std::size_t>(m_e.fmt.RecLen), OrigRec) != 0;
}

bool RecordStore::MayDropRecordInHand(const std::string& goOn)
{
    if (!m_e.scr.RecordShown || !m_e.file.ReadyForKeying() || RecBuf == SetUpBuf)
        return true;
    return m_e.MsgBox("The record on the screen has not been stored. " + goOn + " anyway?",
                      Dialogs::Buttons::YesNoDefaultNo,
                      Dialogs::Icon::Question) == Dialogs::Answer::Yes;
}

bool RecordStore::saveBeforeLeaving()
{
    // A new record at the end is stored only by completing it.
    if (!changedStoredRecord())
        return true;
    if (!WriteRecordOrReport(CurRec))
        return false;
    m_e.stats.Corrected();
    // Should the next record not be read, this one stays, as stored.
    OrigRec = RecBuf;
    SetUpBuf = RecBuf;
    return true;
}

void RecordStore::setEditMenu(bool correcting)
{
    WindowState& w = m_e.win;
    w.mnuInsRec = correcting;
    w.mnuDelRec = correcting;
    w.mnuFwd = correcting;
    w.mnuBack = true;
    m_e.WindowChanged();
}

void RecordStore::correctMessage()
{
    StatusLine& st = m_e.status;
    st.ModeMsg = " -- Correct -- ";
    st.ModeColor = Magenta;
    st.DisplayMode(st.ModeMsg, st.ModeColor);
}

bool RecordStore::fetch(std::int32_t n, const std::string& otherwise)
{
    // The end position shows a blank new record, with the last stored record as the
    // previous one to duplicate from.
    const std::int32_t slot = n >= EndRec ? EndRec - 1 : n;
    if (slot < 1) {
        OrigRec.assign(static_cast<std::size_t>(m_e.fmt.RecLen), ' ');
        return true;
    }
    const auto read = ReadRecord(slot);
    if (read)
        return true;
    // Nothing changed: the record in hand stays under its own number, so no slot is ever
    // written from a buffer that was not read from it.
    reportSlotError("read from", slot, read.error(),
                    otherwise.empty() ? "The screen stays on record" + text::SignedDec(CurRec) + "."
                                      : otherwise);
    return false;
}

void RecordStore::show(std::int32_t n)
{
    EntryScreen& scr = m_e.scr;
    CurRec = n;
    CorrectMode = n < EndRec; // a stored record on the screen is corrected, never blanked
    scr.InitScreen();
    if (!CorrectMode)
        return;
    OrigRec = RecBuf;
    scr.ShowRecordLine();
}

bool RecordStore::ViewRec(std::int32_t n)
{
    if (!fetch(n))
        return false;
    show(n);
    return true;
}

void RecordStore::GoBack()
{
    stepBackTo(CurRec > 1 ? CurRec - 1 : 1);
}

void RecordStore::GoFirst()
{
    stepBackTo(1);
}

void RecordStore::stepBackTo(std::int32_t n)
{
    if (!recordCommandsAllowed() || EndRec <= 1)
        return;
    if (!saveBeforeLeaving() || !fetch(n))
        return;
    m_e.scr.CurCol = 1;
    correctMessage();
    setEditMenu(true);
    show(n);
}

void RecordStore::GoFwd()
{
    // At the end position there is nowhere to go, and the record being keyed stays.
    if (!recordCommandsAllowed() || !CorrectMode)
        return;
    const std::int32_t n = CurRec < EndRec ? CurRec + 1 : CurRec;
    if (!saveBeforeLeaving() || !fetch(n))
        return;
    m_e.scr.CurCol = 1;
    StatusLine& st = m_e.status;
    if (n < EndRec) {
        setEditMenu(true);
        st.ModeMsg = " -- Correct -- ";
        st.DisplayMode(st.ModeMsg, Red);
    } else {
        setEditMenu(false);
        st.ModeMsg = " - O K - ";
        st.DisplayMode(st.ModeMsg, White);
    }
    show(n);
}

void RecordStore::GoEnd()
{
    if (!recordCommandsAllowed() || !CorrectMode)
        return;
    if (!saveBeforeLeaving() || !fetch(EndRec))
        return;
    m_e.scr.CurCol = 1;
    StatusLine& st = m_e.status;
    st.ModeMsg = " -- OK -- ";
    st.ModeColor = White;
    st.DisplayMode(st.ModeMsg, st.ModeColor);
    setEditMenu(false);
    show(EndRec);
}

void RecordStore::mnuInsRec_Click()
{
    if (!recordCommandsAllowed() || !CorrectMode || CurRec >= EndRec)
        return;
    const auto answer =
        m_e.MsgBox("Insert Record at " + text::SignedDec(CurRec) + "?", Dialogs::Buttons::YesNo,
                   Dialogs::Icon::Question, "Confirm Record Insertion");
    if (answer != Dialogs::Answer::Yes)
        return;
    // Changes to the record about to move up are kept.
    if (!saveBeforeLeaving())
        return;
    StatusLine& st = m_e.status;
    st.ModeMsg = "Please input complete record";
    st.ModeColor = Red;
    // The new record starts blank, as the screen shows it.
    RecBuf.assign(static_cast<std::size_t>(m_e.fmt.RecLen), ' ');
    m_e.scr.InitScreen();
    InsertPending = true;
}

bool RecordStore::OpenGap(std::int32_t p)
{
    DataFile& file = m_e.file.DataFileNo;
    const std::string label =
        "Inserting record" + text::SignedDec(p) + " into " + m_e.file.DataFilePath;
    std::string slot = stampedSlot();
    const auto inserted = file.insertSlot(p, m_e.fmt.RecLen, slot, progressFor(label));
    endProgress(label);
    if (!inserted) {
        reportSlotError("inserted into", p, inserted.error(),
                        "The file is unchanged; the record stays on the screen.");
        return false;
    }
    ++EndRec;
    showStored({Change::Kind::Inserted, p, std::move(slot)});
    if (!file.trusted())
        m_e.file.ReportUntrusted();
    return true;
}

bool RecordStore::CloseGap(std::int32_t p)
{
    DataFile& file = m_e.file.DataFileNo;
    const std::string label =
        "Deleting record" + text::SignedDec(p) + " from " + m_e.file.DataFilePath;
    const auto removed = file.removeSlot(p, m_e.fmt.RecLen, progressFor(label));
    endProgress(label);
    if (!removed) {
        reportSlotError("deleted from", p, removed.error(), "The file is unchanged.");
        return false;
    }
    --EndRec;
    CurRec = EndRec;
    m_e.status.ModeMsg = " - O K - ";
    OnChange.notify({Change::Kind::Deleted, p, {}});
    if (!file.trusted())
        m_e.file.ReportUntrusted();
    return true;
}

void RecordStore::mnuDelRec_Click()
{
    if (!recordCommandsAllowed() || !CorrectMode || CurRec >= EndRec)
        return;
    const auto answer =
        m_e.MsgBox("Delete number " + text::SignedDec(CurRec) + "?", Dialogs::Buttons::YesNo,
                   Dialogs::Icon::Question, "Confirm Record Deletion");
    if (answer != Dialogs::Answer::Yes)
        return;
    StatusLine& st = m_e.status;
    st.DisplayMode("Deleting Record" + text::SignedDec(CurRec), Red);
    if (!CloseGap(CurRec)) {
        ViewRec(CurRec);
        return;
    }
    // The deleted record is gone, so there is no staying on it: a new record at the end.
    if (!fetch(CurRec, "The new record at the end has no previous record to duplicate from."))
        OrigRec.assign(static_cast<std::size_t>(m_e.fmt.RecLen), ' ');
    show(CurRec);
    st.DisplayMode("Current Rec : " + text::SignedDec(CurRec), White);
    setEditMenu(false);
}

void RecordStore::ShowNextAfterStoring()
{
    const std::int32_t next = CurRec + 1;
    if (next >= EndRec) {
        CurRec = next;
        NextRecord();
        return;
    }
    show(fetch(next) ? next : CurRec);
}

void RecordStore::NextRecord()
{
    if (CurRec >= EndRec) {
        EndRec = CurRec;
        // Corrected through the last stored record: the message says so, as stepping
        // forward onto the end does.
        if (CorrectMode) {
            m_e.status.ModeMsg = " - O K - ";
            m_e.status.ModeColor = White;
        }
        CorrectMode = false;
        setEditMenu(false);
    }
    m_e.scr.InitScreen();
}
