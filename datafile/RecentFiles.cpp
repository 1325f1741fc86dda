#include "datafile/RecentFiles.h"

#include "engine/Engine.h"
#include "settings/SettingsStore.h"

namespace
{

constexpr const char* Section = "Recent Files";

std::string KeyOf(int k)
{
    return "RecentFile" + std::to_string(k);
}

} // namespace

void RecentFiles::LoadRecentFiles()
{
    const SettingsStore& store = m_e.store;
    if (store.getSetting(Preferences::AppName, Section, KeyOf(1), "").empty())
        return;
    auto& items = m_e.win.mnuRecentFile;
    for (int i = 1; i <= Stored; ++i) {
        const std::string value = store.getSetting(Preferences::AppName, Section, KeyOf(i), "");
        items[0].visible = true;
        // The format name follows the last "!": a folder name may hold one too.
        const auto bang = value.rfind('!');
        // Without its format the entry cannot be shown: the item stays as it was.
        if (bang == std::string::npos)
            continue;
        RecentFmt[static_cast<std::size_t>(i)] = value.substr(bang + 1);
        items[static_cast<std::size_t>(i)].caption = value.substr(0, bang);
        items[static_cast<std::size_t>(i)].visible = true;
    }
    m_e.WindowChanged();
}

bool RecentFiles::IsInRecent(const std::string& path) const
{
    const auto& items = m_e.win.mnuRecentFile;
    for (int i = 1; i <= Stored; ++i) {
        const auto& item = items[static_cast<std::size_t>(i)];
        if (item.visible && item.caption == path)
            return true;
    }
    return false;
}

void RecentFiles::AddRecentFile(const std::string& path)
{
    if (!IsInRecent(path))
        SaveRecentEntry(path + "!" + m_e.fmt.FmtName);
    LoadRecentFiles();
    markOpen(path);
}

void RecentFiles::SaveRecentEntry(const std::string& entry)
{
    SettingsStore& store = m_e.store;
    for (int k = Stored - 1; k >= 1; --k) {
        const std::string value = store.getSetting(Preferences::AppName, Section, KeyOf(k), "");
        if (!value.empty())
            store.saveSetting(Preferences::AppName, Section, KeyOf(k + 1), value);
    }
    store.saveSetting(Preferences::AppName, Section, KeyOf(1), entry);
}

void RecentFiles::mnuRecentFile_Click(int Index)
{
    if (Index < 1 || Index > Stored)
        return;
    const auto& item = m_e.win.mnuRecentFile[static_cast<std::size_t>(Index)];
    if (!item.visible || !item.enabled)
        return;
    // The caption changes as the list is rebuilt below.
    const std::string path = item.caption;
    m_e.fmt.FmtName = RecentFmt[static_cast<std::size_t>(Index)];
    if (!m_e.file.LoadFormat(m_e.fmt.FmtName)) {
        m_e.MsgBox("Format not found", Dialogs::Buttons::OK, Dialogs::Icon::Information);
        return;
    }
    m_e.file.OpenDataFile(path);
    AddRecentFile(path);
    WindowState& w = m_e.win;
    w.mnuOpen = false;
    w.mnuNew = false;
    w.mnuClose = true;
    m_e.WindowChanged();
}

void RecentFiles::FileClosed()
{
    markOpen({});
}

void RecentFiles::markOpen(const std::string& path)
{
    auto& items = m_e.win.mnuRecentFile;
    OpenRecentIdx = 0;
    for (int i = 1; i < WindowState::RecentItems; ++i) {
        auto& item = items[static_cast<std::size_t>(i)];
        item.enabled = path.empty() || !item.visible || item.caption != path || OpenRecentIdx != 0;
        if (!item.enabled)
            OpenRecentIdx = static_cast<std::int16_t>(i);
    }
    m_e.WindowChanged();
}
