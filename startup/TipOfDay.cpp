#include "startup/TipOfDay.h"

#include "common/FindFile.h"
#include "common/FullIo.h"
#include "common/TextUtil.h"
#include "engine/Engine.h"
#include "settings/SettingsStore.h"

namespace
{

constexpr const char* Options = "Options";
constexpr const char* ShowAtStartup = "Show Tips at Startup";

} // namespace

void TipOfDay::Form_Load()
{
    const std::string v = m_e.store.getSetting(ExeName, Options, ShowAtStartup, "1");
    if (text::Val(v) == 0) {
        m_e.win.mnuTipsChecked = false;
        m_e.WindowChanged();
        return;
    }
    chkLoadTipsAtStartup = true;
    Visible = true;
    const std::string name = TipsFile;
    if (!LoadTips(FindFile::AnyCase(m_e.AppDir, name)))
        lblTipText = "That the " + name + " file was not found? " + "\r\n\r\n" +
                     "Create a text file named " + name + " using NotePad with 1 tip per line. " +
                     "Then place it in the same directory as the application. ";
}

bool TipOfDay::LoadTips(const std::filesystem::path& file)
{
    if (file.empty())
        return false;
    // Whatever keeps the file from being read shows the text for a missing one.
    const auto lines = FullIo::ReadLines(m_e.io, file.string());
    if (!lines)
        return false;
    Tips.insert(Tips.end(), lines->begin(), lines->end());
    NextTip();
    return true;
}

void TipOfDay::NextTip()
{
    const std::string s = m_e.store.getSetting(Preferences::AppName, "Last Tip", "prevtip", "");
    const std::int64_t last = s.empty() ? 1 : text::Val(s);
    // A stored number beyond the tips (or below them) starts again at the first.
    CurrentTip = last >= 1 && last < static_cast<std::int64_t>(Tips.size())
                     ? static_cast<std::int32_t>(last + 1)
                     : 1;
    DisplayCurrentTip();
    m_e.store.saveSetting(Preferences::AppName, "Last Tip", "prevtip", std::to_string(CurrentTip));
}

void TipOfDay::PrevTip()
{
    CurrentTip = CurrentTip > 1 ? CurrentTip - 1 : static_cast<std::int32_t>(Tips.size());
    DisplayCurrentTip();
}

void TipOfDay::DisplayCurrentTip()
{
    if (CurrentTip >= 1 && CurrentTip <= static_cast<std::int32_t>(Tips.size()))
        lblTipText = Tips[static_cast<std::size_t>(CurrentTip - 1)];
}

void TipOfDay::chkLoadTipsAtStartup_Click(bool checked)
{
    chkLoadTipsAtStartup = checked;
    m_e.store.saveSetting(ExeName, Options, ShowAtStartup, checked ? "1" : "0");
}

void TipOfDay::cmdOK_Click()
{
    Form_Unload();
}

void TipOfDay::Form_Unload()
{
    Visible = false;
    if (!chkLoadTipsAtStartup) {
        m_e.win.mnuTipsChecked = false;
        m_e.WindowChanged();
    }
}

void TipOfDay::mnuTips_Click()
{
    WindowState& w = m_e.win;
    w.mnuTipsChecked = !w.mnuTipsChecked;
    m_e.store.saveSetting(ExeName, Options, ShowAtStartup, w.mnuTipsChecked ? "1" : "0");
    m_e.WindowChanged();
}
