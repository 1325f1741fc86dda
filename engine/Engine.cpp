#include "engine/Engine.h"

#include "common/BuildInfo.h"
#include "common/FindFile.h"
#include "common/TextUtil.h"
#include "keying/Surface.h"
#include "settings/SettingsStore.h"
#include "stats/LogFile.h"

Engine::Engine(Surface& surface_, Dialogs& dialogs_, SettingsStore& store_,
               std::filesystem::path appDir)
    : Engine(surface_, dialogs_, store_, std::move(appDir), m_systemIo)
{
}

Engine::Engine(Surface& surface_, Dialogs& dialogs_, SettingsStore& store_,
               std::filesystem::path appDir, FileIo& io_)
    : Engine(surface_, dialogs_, store_, std::move(appDir), io_, m_systemClock)
{
}

Engine::Engine(Surface& surface_, Dialogs& dialogs_, SettingsStore& store_,
               std::filesystem::path appDir, FileIo& io_, Clock& clock_)
    : surface(surface_), dialogs(dialogs_), store(store_), AppDir(std::move(appDir)),
      DataHome(AppDir), io(io_), clock(clock_), OperatorName(LogFile::OperatorName())
{
    store.OnFailure = [this](const std::string& message) {
        MsgBox(message, Dialogs::Buttons::OK, Dialogs::Icon::Exclamation);
    };
}

Engine::~Engine()
{
    store.OnFailure = nullptr;
}

void Engine::LoadSettings()
{
    prefs.LoadSettings(store);
    prefsForm.Form_Load();
    scr.LoadTextSize();
}

std::filesystem::path Engine::DupPicture(bool on) const
{
    return FindFile::AnyCase(AppDir, on ? "dupon.bmp" : "dupoff.bmp");
}

void Engine::Form_Load()
{
    fmt.FmtNo = 1;
    scr.CurCol = 1;
    fld.CurFld = 1;
    fld.FldType = 'A';
    file.DataPath = DataHome.string();
    win.dupPictureOn = false;
    std::error_code ec;
    const auto picture = DupPicture(false);
    // A missing picture is reported, but the rest of the load still runs so that the
    // memory keys are read and not later saved over with blanks.
    if (!std::filesystem::exists(picture, ec))
        MsgBox("Error in Line:" + text::SignedDec(0) + "File not found: " + picture.string());
    recent.LoadRecentFiles();
    prefs.LoadMemKeys(store);
    prefsForm.FillMemBoxes();
    WindowChanged();
}

void Engine::Form_Terminate()
{
    statsLog.FileClosed();
    file.DataFileNo.close();
    prefs.SaveMemKeys(store);
    m_ended = true;
}

bool Engine::mnuExit_Click()
{
    if (!rec.MayDropRecordInHand("Exit"))
        return false;
    Form_Terminate();
    return true;
}

void Engine::Form_Click()
{
    if (scr.RecordShown)
        scr.PosCur();
}

void Engine::mnuVerify_Click()
{
    ver.mnuVerify_Click();
}

Dialogs::Answer Engine::MsgBox(const std::string& text, Dialogs::Buttons buttons,
                               Dialogs::Icon icon, const std::string& title)
{
    return dialogs.messageBox(text, title, buttons, icon);
}

void Engine::mnuAbout_Click()
{
    const std::string platform = BuildInfo::Platform;
    MsgBox("    KORVALEN Data Entry and Verification \r"
           "          for " +
               platform + ", version " + BuildInfo::Version +
               ".\r"
               "\r"
               " USE AT YOUR OWN RISK. For Support contact\r"
               "    support@korvalen.example",
           Dialogs::Buttons::OK, Dialogs::Icon::None, "KORVALEN for " + platform + "(beta)");
}

std::filesystem::path Engine::HelpPage() const
{
    return FindFile::AnyCase(AppDir, "kvhelp.html");
}
