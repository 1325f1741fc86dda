#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

std::vector<std::string> Captions(const Engine& e)
{
    std::vector<std::string> out;
    for (int i = 1; i < WindowState::RecentItems; ++i)
        if (e.win.mnuRecentFile[static_cast<std::size_t>(i)].visible)
            out.push_back(e.win.mnuRecentFile[static_cast<std::size_t>(i)].caption);
    return out;
}

// The four newest stored, each with the format it was opened with, and a format holding "!"
// listed once and reopened: d-recent-stored; the menu they make, greyed items and reopening
// through the menu: recent-files.

TEST(RecentFiles, StoredEntriesAsTheyComeBack)
{
    Station s;
    TempDir other;
    other.write("FILE.FMT", "OTHER\r\nA--E\r\nX\r\n");
    // A file deleted since in a folder whose name holds "!", a value without "!", a case
    // twin and a file kept elsewhere.
    std::filesystem::create_directory(s.app.file("a!b"));
    const std::string gone = s.app.file("a!b/gone.dat");
    s.store.saveSetting("Korvalen", "Recent Files", "RecentFile1", gone + "!STOCK-19");
    s.store.saveSetting("Korvalen", "Recent Files", "RecentFile2", "no format mark");
    s.store.saveSetting("Korvalen", "Recent Files", "RecentFile3",
                        s.app.file("a!b/GONE.DAT") + "!STOCK-19");
    s.store.saveSetting("Korvalen", "Recent Files", "RecentFile4",
                        other.file("O.DAT") + "!STOCK-19");
    s.start();
    EXPECT_EQ(Captions(s.e),
              (std::vector<std::string>{gone, s.app.file("a!b/GONE.DAT"), other.file("O.DAT")}));

    // FILE.FMT is read from the data folder, not the file's: STOCK is not in the other one.
    s.e.file.DataPath = other.path().string();
    s.e.recent.mnuRecentFile_Click(4);
    EXPECT_EQ(s.dialogs.texts().back(), "Format not found");
    EXPECT_FALSE(s.e.file.DataFileNo.isOpen());

    // A file deleted since is created anew.
    s.e.file.DataPath = s.app.path().string();
    s.e.recent.mnuRecentFile_Click(1);
    EXPECT_TRUE(s.e.file.ReadyForKeying());
    EXPECT_EQ(s.e.fmt.FmtName, "STOCK-19");
    EXPECT_TRUE(std::filesystem::exists(gone));
    EXPECT_EQ(s.dialogs.texts().back(), "Opening New File " + gone);
}

// Folders, file names and format names may each hold "!"; where the stored entry splits.
TEST(RecentFiles, EntriesSplitWhereThePathEnds)
{
    struct Row {
        const char* name;
        std::string path, format;
        bool exists;            // the file is there
        const char* known = ""; // FILE.FMT's format, when it helps
    };
    for (const Row& r : {
             Row{"plain", "/d/X.DAT", "STOCK-19", false},
             Row{"pairs", "/d/X.DAT", "PAYROLL/2-19", true},
             Row{"folder", "/d/wow!/X.DAT", "STOCK-19", false},
             Row{"folder, file there", "/d/wow!/X.DAT", "STOCK-19", true},
             Row{"file name", "/d/A!B.DAT", "PAYROLL/2-19", false},
             Row{"format", "/d/X.DAT", "AB!C", false},
             Row{"format with pairs", "/d/X.DAT", "AB!C/2-19", false},
             Row{"format, file there", "/d/X.DAT", "AB!C-6", true},
             Row{"both, file there", "/d/wow!/X.DAT", "AB!C", true},
             Row{"after the extension, file there", "/d/X.DAT!OLD", "FMT", true},
             Row{"after the extension, format known", "/d/X.DAT!OLD", "FMT", false, "FMT"},
         }) {
        SCOPED_TRACE(r.name);
        const std::string value = r.path + "!" + r.format;
        const auto at = RecentFiles::SplitAt(
            value, [&](const std::string& p) { return r.exists && p == r.path; },
            [&](const std::string& f) { return f == r.known; });
        EXPECT_EQ(at, r.path.size());
    }
    EXPECT_EQ(RecentFiles::SplitAt("no format", {}, {}), std::string::npos);

    // The engine itself refuses the open file's item: kvscript only offers what is not greyed.
    Started s;
    s.openWith("X.DAT", "", "STOCK-19");
    s.e.recent.mnuRecentFile_Click(1);
    EXPECT_TRUE(s.dialogs.boxes.empty());
}

} // namespace
