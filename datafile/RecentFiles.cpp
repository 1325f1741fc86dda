#include "datafile/RecentFiles.h"

#include <filesystem>
#include <vector>

#include "engine/Engine.h"
#include "formats/FormatLoader.h"
#include "settings/SettingsStore.h"

namespace
{

constexpr const char* Section = "Recent Files";

std::string KeyOf(int k)
{
    return "RecentFile" + std::to_string(k);
}

} // namespace

std::size_t RecentFiles::SplitAt(const std::string& value, const Test& fileExists,
                                 const Test& formatKnown)
{
    std::vector<std::size_t> bangs;
    for (auto at = value.find('!'); at != std::string::npos; at = value.find('!', at + 1))
        bangs.push_back(at);
    if (bangs.size() <= 1)
        return bangs.empty() ? std::string::npos : bangs.front();
    for (const std::size_t at : bangs)
        if (fileExists(value.substr(0, at)))
            return at;
    for (const std::size_t at : bangs)
        if (formatKnown(value.substr(at + 1)))
            return at;
    for (const std::size_t at : bangs)
        if (value.find('.', at + 1) == std::string::npos)
            return at;
    return bangs.back();
}

void RecentFiles::LoadRecentFiles()
{
    const SettingsStore& store = m_e.store;
    if (store.getSetting(Preferences::AppName, Section, KeyOf(1), "").empty())
        return;
    auto& items = m_e.win.mnuRecentFile;
    for (int i = 1; i <= Stored; ++i) {
        const std::string value = store.getSetting(Preferences::AppName, Section, KeyOf(i), "");
        items[0].visible = true;
        const auto bang = SplitAt(
            value,
            [](const std::string& path) {
                std::error_code ec;
                return std::filesystem::is_regular_file(path, ec);
            },
            [this](const std::string& format) {
                return FormatLoader::LoadFormat(m_e.io, m_e.file.FormatFilePath(), format).ok();
            });
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
    if (!item.visible || !item.enabled || !m_e.rec.MayDropRecordInHand("Open another file"))
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
