#include <gtest/gtest.h>

#include <sys/stat.h>

#include "startup/AppDirectory.h"
#include "tests/support/Station.h"

namespace fs = std::filesystem;

// The program's own files are beside the executable or in the installed share folder; an
// installed program starts in the operator's folder, with copies of the demo files.
TEST(AppDirectory, AnInstalledProgramFindsItsFilesAndStartsInTheOperatorsFolder)
{
    TempDir prefix, documents;
    const fs::path bin = prefix.path() / "bin", app = prefix.path() / "share" / "korvalen";
    fs::create_directories(bin);
    fs::create_directories(app);
    EXPECT_EQ(AppDirectory::Find(bin), bin) << "no FILE.FMT anywhere";
    prefix.write("share/korvalen/file.fmt", "");
    EXPECT_EQ(AppDirectory::Find(bin), app);
    prefix.write("bin/FILE.FMT", "");
    EXPECT_EQ(AppDirectory::Find(bin), bin) << "a build folder keeps its own";

    prefix.write("share/korvalen/DEMO.DAT", "DEMO RECORDS\r\n");
    prefix.write("share/korvalen/ORDERS.DAT", "ORDER LINES\r\n");
    ::chmod((app / "DEMO.DAT").c_str(), 0444);
    EXPECT_EQ(AppDirectory::StartFolder(app, true, documents.path()).path, app);
    EXPECT_FALSE(fs::exists(documents.path() / "Korvalen"));

    fs::create_directory(documents.path() / "Korvalen");
    documents.write("Korvalen/ORDERS.DAT", "KEYED BY THE OPERATOR\r\n");
    const auto first = AppDirectory::StartFolder(app, false, documents.path());
    const fs::path own = documents.path() / "Korvalen";
    EXPECT_EQ(first.path, own);
    EXPECT_EQ(first.problem, "");
    EXPECT_EQ(documents.read("Korvalen/DEMO.DAT"), "DEMO RECORDS\r\n");
    EXPECT_EQ(documents.read("Korvalen/ORDERS.DAT"), "KEYED BY THE OPERATOR\r\n") << "never over";
    const auto perms = fs::status(own / "DEMO.DAT").permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none) << "the copy is for keying";

    // A file where the folder should be: the program's folder, and the operator is told.
    TempDir blocked;
    blocked.write("Korvalen", "");
    const auto refused = AppDirectory::StartFolder(app, false, blocked.path());
    EXPECT_EQ(refused.path, app);
    EXPECT_NE(refused.problem.find("could not be made"), std::string::npos) << refused.problem;

    // A demo file that cannot be copied is said, and nothing of it is left to be opened.
    TempDir broken, elsewhere;
    fs::create_directory(broken.path() / "DEMO.DAT");
    const auto failed = AppDirectory::StartFolder(broken.path(), false, elsewhere.path());
    EXPECT_EQ(failed.path, elsewhere.path() / "Korvalen");
    EXPECT_NE(failed.problem.find("could not be copied"), std::string::npos) << failed.problem;
    EXPECT_FALSE(fs::exists(elsewhere.path() / "Korvalen" / "DEMO.DAT"));
}

// Larger and smaller text: the cell size in steps of a quarter, kept in the settings, and
// the screen drawn again at the new size with the cursor where it was. The first Open
// starts in the operator's data folder.
TEST(TextSize, CellsGrowAndShrinkInStepsWithinTheirLimitsAndTheRecordIsDrawnAgain)
{
    Station s;
    TempDir own;
    s.e.DataHome = own.path();
    s.start();
    s.e.file.mnuOpen_Click(); // cancelled
    s.openWith("T.DAT", "", "STOCK-19");
    EXPECT_EQ(s.dialogs.openRequests.at(0).startDir, own.path().string());
    s.type("123");
    ASSERT_EQ(s.screen.cellWidth(), 8);
    s.e.scr.LargerText();
    EXPECT_EQ(s.screen.cellWidth(), 10);
    EXPECT_EQ(s.screen.cellHeight(), 20);
    EXPECT_EQ(s.store.getSetting("Korvalen", "View", "Cell Width", ""), "10");
    // The band below the same toolbar strip, at the new cell size.
    EXPECT_EQ(s.dataRow(), "123");
    EXPECT_EQ(text::TrimRight(s.screen.rowText(s.T())), "ITEM NAME   PRICE");
    EXPECT_EQ(s.screen.caret().x, 3 * 10);
    EXPECT_EQ(s.screen.caret().h, 15);
    const int lastCol = static_cast<int>(s.screen.widthCols()) - 1;
    EXPECT_EQ(s.screen.cellColor(lastCol, s.T()), s.e.prefs.FormBackColor);
    EXPECT_EQ(s.screen.cellColor(lastCol, s.T() + 2), s.e.prefs.FormBackColor);
    s.type("4");
    EXPECT_EQ(s.dataRow(), "1234");

    for (int i = 0; i < 20; ++i)
        s.e.scr.LargerText();
    EXPECT_EQ(s.screen.cellWidth(), 24) << "three times the normal width at most";
    for (int i = 0; i < 20; ++i)
        s.e.scr.SmallerText();
    EXPECT_EQ(s.screen.cellWidth(), 6) << "three quarters at least";
    s.e.scr.NormalSize();
    EXPECT_EQ(s.screen.cellWidth(), 8);
    EXPECT_EQ(s.dataRow(), "1234");

    // The next start takes the stored size; one the menu cannot set leaves the normal size.
    for (const auto& [stored, expected] : {std::pair{"12", 12}, {"13", 8}, {"40", 8}, {"x", 8}}) {
        Station next;
        next.store.saveSetting("Korvalen", "View", "Cell Width", stored);
        next.start();
        EXPECT_EQ(next.screen.cellWidth(), expected) << stored;
    }
}
