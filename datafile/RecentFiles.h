#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class Engine;

// The data files opened last, each with the format it was opened with, kept in the settings
// under "Recent Files" and shown as the File menu's items below Exit.
class RecentFiles
{
public:
    static constexpr int Stored = 4;

    explicit RecentFiles(Engine& e) : m_e(e) {}

    std::array<std::string, 6> RecentFmt; // by item number, 1..5
    std::int16_t OpenRecentIdx = 0;       // the item of the open file, 0 when none

    // Builds the menu items from the stored entries.
    void LoadRecentFiles();
    // Lists path with the current format as the newest entry, unless it is listed already.
    void AddRecentFile(const std::string& path);
    bool IsInRecent(const std::string& path) const;
    void SaveRecentEntry(const std::string& entry);
    // Reopens the file of item Index with its format, without the file and format dialogs.
    void mnuRecentFile_Click(int Index);

    // The file of the open data file was closed: its item can be chosen again.
    void FileClosed();

    // Where a stored entry's path ends at a "!" and its format begins; npos without one.
    // Folders, file names and format names may all hold "!": the first "!" before which
    // the path names an existing file; else the first after which the format is one that
    // FILE.FMT has; else the first whose format holds no "." (a file name always holds one,
    // a format name never).
    using Test = std::function<bool(const std::string&)>;
    static std::size_t SplitAt(const std::string& value, const Test& fileExists,
                               const Test& formatKnown);

private:
    // Greys out the item showing path, the one file open, and offers every other one.
    void markOpen(const std::string& path);

    Engine& m_e;
};
