#include "datafile/DataFileLifecycle.h"

#include <cerrno>
#include <limits>
#include <utility>

#include "common/FindFile.h"
#include "common/TextUtil.h"
#include "datafile/SlotCheck.h"
#include "engine/Engine.h"
#include "formats/FormatLoader.h"
#include "formats/FormatNames.h"
#include "settings/SettingsStore.h"

namespace
{

using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;
namespace fs = std::filesystem;

std::string WithoutTrailingSeparator(std::string dir)
{
    if (!dir.empty() && dir.back() == static_cast<char>(fs::path::preferred_separator))
        dir.pop_back();
    return dir;
}

} // namespace

std::string DataFileLifecycle::WithDefaultExtension(const std::string& name)
{
    // Only the file's own name counts: a dot in a folder name is no extension.
    if (fs::path(name).filename().string().find('.') != std::string::npos)
        return name;
    return name + ".dat";
}

std::string DataFileLifecycle::DataDir() const
{
    // A data folder kept without its trailing separator is empty for the root folder.
    return DataPath.empty() ? std::string(1, fs::path::preferred_separator) : DataPath;
}

std::string DataFileLifecycle::FormatFilePath() const
{
    return FindFile::AnyCase(DataDir(), "FILE.FMT").string();
}

bool DataFileLifecycle::LoadFormat(const std::string& name)
{
    m_e.scr.ClearSurface();
    const auto def = FormatLoader::LoadFormat(m_e.io, FormatFilePath(), name);
    if (!def) {
        m_e.MsgBox(def.error().message, Buttons::OK, Icon::Exclamation);
        return false;
    }
    FormatLoader::Apply(def.value(), m_e.fmt);
    return true;
}

void DataFileLifecycle::mnuNew_Click()
{
    if (!m_e.rec.MayDropRecordInHand("Create a new file"))
        return;
    const auto answer = m_e.MsgBox("Select YES if the format/structure exists in File.fmt ?\n"
                                   "If a file of the SAME NAME exists it will be DELETED\n"
                                   "Create New File ?",
                                   Buttons::YesNo, Icon::Question);
    if (answer != Dialogs::Answer::Yes)
        return;
    NewFileFlag = true;
    open();
    NewFileFlag = false;
}

void DataFileLifecycle::mnuOpen_Click()
{
    if (m_e.rec.MayDropRecordInHand("Open another file"))
        open();
}

void DataFileLifecycle::open()
{
    const std::string stored = m_e.store.getSetting(Preferences::AppName, "Data Path", "Data", "");
    if (!stored.empty())
        DataPath = stored;

    Dialogs::OpenRequest request;
    request.title = "Open";
    request.filters = {"Korvalen Files (*.dat)", "Text Files (*.txt)", "All Files(*.*)"};
    request.startDir = DataPath;
    request.lastName = m_lastOpenName;
    const auto chosen = m_e.dialogs.openFile(request);
    if (!chosen || chosen->empty()) {
        m_e.MsgBox("No File Selected");
        return;
    }
    const std::string path = WithDefaultExtension(*chosen);
    m_lastOpenName = path;
    DataPath = WithoutTrailingSeparator(FormatNames::PathName(path));
    m_e.store.saveSetting(Preferences::AppName, "Data Path", "Data", DataPath);

    const auto fmtFile = FormatNames::SeedFormatFile(DataDir(), m_e.AppDir);
    const auto names = FormatNames::ReadFormatNames(m_e.io, fmtFile);
    // None there to seed it from: an empty list, and the name typed is looked for in vain.
    if (!names && names.error().code != ENOENT) {
        m_e.MsgBox("The format file " + fmtFile.string() +
                       " could not be read: " + names.error().message + ".\nNo file was opened.",
                   Buttons::OK, Icon::Exclamation);
        return;
    }
    const auto choice =
        m_e.dialogs.chooseFormat(names ? names.value() : std::vector<std::string>{});
    if (!choice.accepted)
        return; // Cancel chooses no format: nothing is opened
    if (choice.selected < 0)
        m_e.MsgBox("No format selected", Buttons::OK, Icon::Exclamation, "Format Selection");
    m_e.fmt.FmtName = choice.text;

    if (!LoadFormat(m_e.fmt.FmtName)) {
        m_e.MsgBox("Format not found", Buttons::OK, Icon::Information);
        return;
    }
    m_e.fmt.FmtNo = 1;
    m_e.rec.CurRec = 1;
    OpenDataFile(path);
    WindowState& w = m_e.win;
    w.mnuOpen = false;
    w.mnuNew = false;
    w.mnuClose = true;
    w.SaveData = true;
    m_e.WindowChanged();
}

void DataFileLifecycle::OpenDataFile(const std::string& path)
{
    const FormatState& f = m_e.fmt;
    RecordStore& r = m_e.rec;
    const bool isNew = NewFileFlag;
    NewFileFlag = false;
    // A file open until now (a recent item opens over it) ends its opening here.
    m_e.statsLog.FileClosed();
    m_e.scr.RecordShown = false;
    tearDown();
    disableRecordCommands();

    std::error_code ec;
    if (!isNew && !fs::exists(path, ec))
        m_e.MsgBox("Opening New File " + path);
    auto opened = DataFile::Open(m_e.io, path, isNew);
    if (!opened) {
        m_e.MsgBox("Error opening file " + path + ": " + opened.error().message, Buttons::OK,
                   Icon::Exclamation);
        return;
    }
    DataFileNo = std::move(opened).value();
    const auto length = DataFileNo.length();
    const auto measured = isNew ? Result<int>(0) : DataFileNo.measureRecLen();
    if (!length || !measured) {
        // Nothing known of its records: a length check would only mislead.
        const Error& err = !length ? length.error() : measured.error();
        DataFileNo.close();
        m_e.MsgBox("Error opening file " + path + ": it could not be read (" + err.message + ")",
                   Buttons::OK, Icon::Exclamation);
        return;
    }
    DataFileLen = length.value();
    const SlotCheck check = SlotCheck::Of(DataFileLen, measured.value(), f.RecLen);

    DataFilePath = path;
    m_e.win.caption = CaptionPrefix + path;
    r.RecBuf.assign(static_cast<std::size_t>(f.RecLen), ' ');
    m_e.WindowChanged();

    switch (check.kind) {
    case SlotCheck::Kind::Mismatch:
        m_e.MsgBox("Mismatch!\nFormat Length:" + text::SignedDec(f.RecLen) +
                       "\n Record Length:" + std::to_string(measured.value()),
                   Buttons::OKCancel, Icon::Exclamation);
        return;
    case SlotCheck::Kind::Fragment:
        m_e.MsgBox("The data file " + path + " ends with " + std::to_string(check.fragmentBytes) +
                       " bytes after record" + text::SignedDec(check.records) +
                       " that are not a whole record of" + text::SignedDec(f.RecLen) +
                       " characters and CR LF.\nThe file is not set up for keying, so nothing in "
                       "it is overwritten. Close it and check it with a text editor.",
                   Buttons::OK, Icon::Exclamation);
        return;
    case SlotCheck::Kind::Empty:
    case SlotCheck::Kind::Ok:
        break;
    }
    if (check.records >= std::numeric_limits<std::int32_t>::max() - 1) {
        m_e.MsgBox("The data file " + path + " holds more records than can be numbered.",
                   Buttons::OK, Icon::Exclamation);
        return;
    }
    r.CurRec = static_cast<std::int32_t>(check.records) + 1;
    r.EndRec = r.CurRec;
    r.CorrectMode = false;
    r.InsertPending = false;
    if (r.CurRec > 1) {
        // The record duplication copies from: without it, D and L fields would take another.
        const auto read = r.ReadRecord(r.CurRec - 1);
        if (!read) {
            m_e.MsgBox("Record" + text::SignedDec(r.CurRec - 1) + " of " + path +
                           " could not be read: " + read.error().message +
                           ".\nThe file is not set up for keying. Close it and open it again.",
                       Buttons::OK, Icon::Exclamation);
            return;
        }
    }
    r.OrigRec = r.RecBuf.substr(0, static_cast<std::size_t>(f.RecLen));
    // Work starts on a new record at the end; stored ones are reached by stepping back.
    WindowState& w = m_e.win;
    w.mnuBack = r.EndRec > 1;
    w.mnuFwd = w.mnuInsRec = w.mnuDelRec = false;
    m_e.scr.CurCol = 1;
    m_setUp = true;
    m_e.statsLog.FileOpened(path);
    m_e.verifyLog.FileOpened();
    m_e.recent.AddRecentFile(path);
    m_e.scr.InitScreen();
    m_e.status.setPanel(2, text::SignedDec(r.CurRec));
    OnEvent.notify(Event::SetUp);
}

void DataFileLifecycle::tearDown()
{
    if (std::exchange(m_setUp, false))
        OnEvent.notify(Event::Closed);
}

void DataFileLifecycle::disableRecordCommands()
{
    WindowState& w = m_e.win;
    w.mnuBack = w.mnuFwd = w.mnuInsRec = w.mnuDelRec = false;
    m_e.WindowChanged();
}

void DataFileLifecycle::ReportUntrusted()
{
    m_e.MsgBox("Writing to the data file " + DataFilePath +
                   " failed earlier, so what the disk holds is uncertain and no more is keyed "
                   "into it.\nThe record on the screen is not stored. Close the file with File "
                   "> Close and check it before keying into it again.",
               Buttons::OK, Icon::Exclamation);
}

void DataFileLifecycle::mnuClose_Click()
{
    if (m_e.rec.MayDropRecordInHand("Close the file"))
        CloseFile();
}

void DataFileLifecycle::CloseFile()
{
    m_e.statsLog.FileClosed();
    DataFileNo.close();
    tearDown();
    m_e.rec.InsertPending = false;
    m_e.scr.ClearSurface();
    disableRecordCommands();
    WindowState& w = m_e.win;
    w.mnuNew = true;
    w.mnuOpen = true;
    w.mnuPrefs = true;
    w.mnuClose = false;
    m_e.recent.FileClosed();
    m_e.WindowChanged();
}

bool DataFileLifecycle::ImgFileSave_Click()
{
    if (!SaveData_Click())
        return false;
    m_e.status.DisplayMode("File Saved", 65280);
    return true;
}

bool DataFileLifecycle::SaveData_Click()
{
    const auto flushed = DataFileNo.flush();
    if (flushed)
        return true;
    m_e.MsgBox("The data file " + DataFilePath +
                   " could not be written to the disk: " + flushed.error().message,
               Buttons::OK, Icon::Exclamation);
    return false;
}
