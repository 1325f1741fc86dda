#pragma once

#include <filesystem>
#include <string>

#include "common/SystemClock.h"
#include "common/SystemFileIo.h"
#include "datafile/DataFileLifecycle.h"
#include "datafile/LastCharRemoval.h"
#include "datafile/RecentFiles.h"
#include "datafile/RecordStore.h"
#include "engine/Dialogs.h"
#include "engine/WindowState.h"
#include "formats/FormatFileEditor.h"
#include "formats/FormatState.h"
#include "keying/EntryScreen.h"
#include "keying/FieldExitRules.h"
#include "keying/FieldTracker.h"
#include "keying/KeyDispatch.h"
#include "keying/OperatorAids.h"
#include "keying/RecordCompletion.h"
#include "settings/Preferences.h"
#include "settings/PrefsForm.h"
#include "startup/TipOfDay.h"
#include "stats/KeyingStats.h"
#include "stats/StatsLog.h"
#include "stats/VerifyLog.h"
#include "statusbar/StatusLine.h"
#include "statusbar/Toolbar.h"

class SettingsStore;
class Surface;

// The whole keying station without its windows: the state of every subsystem and the
// services it draws and asks through. The main window owns one; a test makes its own.
class Engine
{
    SystemFileIo m_systemIo; // first, so that io and clock may name them
    SystemClock m_systemClock;

public:
    static constexpr const char* DefaultTitle = "KORVALEN";

    Engine(Surface& surface, Dialogs& dialogs, SettingsStore& store, std::filesystem::path appDir);
    // The same over another file layer, for checks that make writes fail.
    Engine(Surface& surface, Dialogs& dialogs, SettingsStore& store, std::filesystem::path appDir,
           FileIo& io);
    // The same with its own clock, for sessions whose time is not the machine's.
    Engine(Surface& surface, Dialogs& dialogs, SettingsStore& store, std::filesystem::path appDir,
           FileIo& io, Clock& clock);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Surface& surface;
    Dialogs& dialogs;
    SettingsStore& store;
    const std::filesystem::path AppDir;
    // The folder File > Open starts in until one is chosen: the application directory,
    // unless the program is installed where the operator may not write.
    std::filesystem::path DataHome;
    FileIo& io; // what the data file is written through
    Clock& clock;
    // Who keys here, for the logs beside the data files.
    const std::string OperatorName;

    Preferences prefs;
    PrefsForm prefsForm{*this};
    WindowState win;
    FormatState fmt;
    FormatFileEditor fmtEditor{*this};
    DataFileLifecycle file{*this};
    RecentFiles recent{*this};
    LastCharRemoval cut{*this};
    RecordStore rec{*this};
    EntryScreen scr{*this};
    FieldTracker fld{*this};
    StatusLine status{*this};
    FieldExitRules exits{*this};
    RecordCompletion ver{*this};
    OperatorAids aids{*this};
    KeyDispatch keys{*this};
    TipOfDay tip{*this};
    Toolbar toolbar{*this};
    KeyingStats stats{clock};
    StatsLog statsLog{*this};
    VerifyLog verifyLog{*this};

    // Start-up: the stored settings and the Preferences dialog set up from them, then the
    // main window's initial state with the recent files and memory keys.
    void LoadSettings();
    void Form_Load();
    // End of the program: files closed, memory keys saved.
    void Form_Terminate();
    // File > Exit (and the window's close box): Form_Terminate, once the operator agreed to
    // lose a record keyed but not stored. False when the program goes on.
    bool mnuExit_Click();
    bool Ended() const { return m_ended; }
    // A click on the entry screen only puts the caret back.
    void Form_Click();
    // Help > About: what the program is and where to get support.
    void mnuAbout_Click();
    // Help > Korvalen Help: the operator's help page, for the window to open.
    std::filesystem::path HelpPage() const;
    // File > Verify switches Verify mode on and off.
    void mnuVerify_Click();

    // The paths of the status-bar pictures of the duplicate switch.
    std::filesystem::path DupPicture(bool on) const;

    Dialogs::Answer MsgBox(const std::string& text, Dialogs::Buttons buttons = Dialogs::Buttons::OK,
                           Dialogs::Icon icon = Dialogs::Icon::None,
                           const std::string& title = DefaultTitle);
    void WindowChanged() { ++win.revision; }

private:
    bool m_ended = false;
};
