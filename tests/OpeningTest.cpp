#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

#include "common/TextUtil.h"
#include "tests/support/Station.h"

namespace
{

using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;

std::string Rec(const std::string& body, char letter)
{
    return body + letter + "\r\n";
}

// A second station is refused the file, even by New, which would empty it, until Close. The
// last record's letter selecting the format, and Close leaving the file as it was:
// d-open-last, runner-open.
TEST(Opening, TheFileIsLockedUntilClose)
{
    Started s, b;
    s.openWith("pay.dat", Rec("00001SMITH   ", 'a'), "PAYROLL/2-14");
    const std::string path = s.app.file("pay.dat");
    b.dialogs.openAnswers.push_back(path);
    b.dialogs.chooseEntry("PAYROLL/2-14");
    b.e.file.mnuNew_Click();
    ASSERT_EQ(b.dialogs.boxes.size(), 2u);
    EXPECT_EQ(b.dialogs.boxes[1].text.rfind("Error opening file " + path + ": ", 0), 0u);
    EXPECT_NE(b.dialogs.boxes[1].text.find("another copy"), std::string::npos);
    EXPECT_FALSE(b.e.scr.RecordShown);

    s.e.file.mnuClose_Click();
    EXPECT_FALSE(s.e.file.DataFileNo.isOpen());
    b.open(path, "PAYROLL/2-14");
    EXPECT_TRUE(b.e.file.ReadyForKeying()) << b.lastBox();
}

// Whatever the file holds, opening it never changes it; only a whole number of records of
// the format's length is set up for keying. Files that are empty, lack the last line end,
// have a long name, a part record or junk: d-open-shapes; here the record count past 16
// bits and the icon of a refusal.
TEST(Opening, CountsRecordsPastSixteenBitsAndWarnsOfTheWrongLength)
{
    Started s;
    std::string big;
    for (int i = 0; i < 40000; ++i)
        big += Rec("00001ABCDEFGH12345", 'a');
    s.openWith("big.dat", big, "STOCK-19");
    EXPECT_EQ(s.e.rec.CurRec, 40001);
    EXPECT_EQ(s.e.rec.EndRec, 40001);
    EXPECT_EQ(s.e.win.panels[2], text::SignedDec(40001));
    EXPECT_TRUE(s.dialogs.boxes.empty()) << s.lastBox();
    s.e.file.mnuClose_Click();
    EXPECT_EQ(s.app.read("big.dat"), big);

    s.openWith("m.dat", Rec("1234567890ABCDEFG", 'a'), "STOCK-19");
    EXPECT_FALSE(s.e.scr.RecordShown);
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Exclamation);
}

// Only where the root folder may be written (CI runs as root) and holds no format file.
TEST(Opening, FileInTheRootFolder)
{
    namespace fs = std::filesystem;
    const fs::path data = "/kvtest-" + std::to_string(::getpid()) + ".dat";
    if (::access("/", W_OK) != 0 || fs::exists("/FILE.FMT") || fs::exists("/file.fmt"))
        GTEST_SKIP() << "the root folder cannot be used here";
    const std::shared_ptr<void> cleanup(nullptr, [&](void*) {
        std::error_code ec;
        fs::remove(data, ec);
        fs::remove("/FILE.FMT", ec);
    });
    Started s;
    s.open(data.string(), "STOCK-19");
    EXPECT_EQ(s.e.file.DataPath, "");
    EXPECT_EQ(s.e.file.FormatFilePath(), "/FILE.FMT");
    EXPECT_TRUE(fs::exists("/FILE.FMT")) << "the application folder's copy seeds the root";
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_TRUE(s.dialogs.boxes.size() == 1u &&
                s.dialogs.boxes[0].text.rfind("Opening New File", 0) == 0);
}

// What is asked and in which folder; that nothing is created or emptied until the format is
// found: b-new-and-open, runner-new-file; the extension added and the data folder: d-new-folder.
TEST(Opening, NewNamesGetTheirExtensionInTheChosenFolder)
{
    Started s;
    s.dialogs.answers.push_back(Dialogs::Answer::No);
    s.e.file.mnuNew_Click();
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Question);
    s.open("x.dat", "NOSUCH");
    EXPECT_EQ(s.dialogs.boxes.back().icon, Icon::Information);
    EXPECT_EQ(s.dialogs.openRequests.front().startDir, s.app.path().string());
    EXPECT_EQ(s.dialogs.openRequests.front().filters.front(), "Korvalen Files (*.dat)");

    // The chosen folder's own FILE.FMT is the one listed (and the one read: d-new-folder).
    const std::string folder = s.app.file("sub.d");
    std::filesystem::create_directory(folder);
    s.app.write(folder + "/FILE.FMT", "STOCK\r\nA---E\r\nhd\r\n"); // a different STOCK
    s.open(folder + "/sales", "STOCK-5");
    EXPECT_EQ(s.dialogs.formatLists.back(), (std::vector<std::string>{"STOCK-5"}));
}

// An empty F2 is a key left unused; a store without any F2 (edited by hand) or with a NUL in
// it (a field holds any byte) still loads the others, so that Exit keeps them.
TEST(StartUp, MissingPictureIsReportedButMemoryKeysStillLoad)
{
    for (const std::string& f2 : {std::string(), std::string(1, '\0'), std::string("none")}) {
        SCOPED_TRACE(f2);
        Station s(Station::DemoFormats, false);
        if (f2 != "none")
            s.store.saveSetting("Korvalen", "Memkey", "F2", f2);
        s.store.saveSetting("Korvalen", "Memkey", "F3", "ACME LTD");
        s.store.saveSetting("Korvalen", "Memkey", "F9", "99");
        s.start();
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_EQ(s.dialogs.boxes[0].text.rfind("Error in Line: 0", 0), 0u);
        EXPECT_NE(s.dialogs.boxes[0].text.find("dupoff.bmp"), std::string::npos);
        EXPECT_EQ(s.e.prefs.MemKeys[3], Preferences::FixedMemText("ACME LTD"));
        s.e.Form_Terminate();
        EXPECT_EQ(s.store.getSetting("Korvalen", "Memkey", "F3", "?"), "ACME LTD");
        EXPECT_EQ(s.store.getSetting("Korvalen", "Memkey", "F9", "?"), "99");
    }
}

} // namespace
