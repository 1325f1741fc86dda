#include <gtest/gtest.h>

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

// The last record's letter selects its format; a second station is refused the file, even
// by New, which would empty it; Close leaves the file as it was.
TEST(Opening, LastRecordBecomesThePreviousOneAndTheFileIsLockedUntilClose)
{
    Started s, b;
    const std::string bytes =
        Rec("00001SMITH   ", 'a') + Rec("00002JONES   ", 'a') + Rec("00003BROWN   ", 'b');
    s.openWith("pay.dat", bytes, "PAYROLL/2-14");

    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.rec.EndRec, 4);
    EXPECT_EQ(s.e.rec.OrigRec, "00003BROWN   b");
    EXPECT_EQ(s.e.fmt.FmtNo, 2);
    EXPECT_EQ(s.e.rec.RecBuf, std::string(14, ' '));
    // Caption, menus and the other panels after an opening: runner-open.
    EXPECT_EQ(s.e.win.panels[5], "Typ:B");
    EXPECT_EQ(s.e.win.panels[6], "Fmt:2/2");
    EXPECT_EQ(s.screen.rowText(s.T()), "DEPT SURNAME ");

    const std::string path = s.app.file("pay.dat");
    b.dialogs.openAnswers.push_back(path);
    b.dialogs.chooseEntry("PAYROLL/2-14");
    b.e.file.mnuNew_Click();
    ASSERT_EQ(b.dialogs.boxes.size(), 2u);
    EXPECT_EQ(b.dialogs.boxes[1].text.rfind("Error opening file " + path + ": ", 0), 0u);
    EXPECT_NE(b.dialogs.boxes[1].text.find("another copy"), std::string::npos);
    EXPECT_FALSE(b.e.scr.RecordShown);

    s.e.file.mnuClose_Click(); // the menus and caption after Close: runner-open
    EXPECT_FALSE(s.e.scr.RecordShown || s.e.file.DataFileNo.isOpen());
    EXPECT_TRUE(s.screen.glyphs().empty());
    EXPECT_EQ(s.app.read("pay.dat"), bytes);
}

std::string Records(int n)
{
    std::string bytes;
    for (int i = 0; i < n; ++i)
        bytes += Rec("00001ABCDEFGH12345", 'a');
    return bytes;
}

std::string Junk()
{
    std::string junk;
    for (int i = 0; i < 5000; ++i)
        junk.push_back(static_cast<char>((i * 131 + 7) % 256));
    return junk;
}

// Whatever the file holds, opening it never changes it; only a whole number of records of
// the format's length is set up for keying.
TEST(Opening, SetsUpOnlyWholeRecordsAndLeavesTheFileAlone)
{
    struct Row {
        std::string file, bytes;
        int curRec;      // 0: not set up
        std::string box; // part of the one message expected, or none
    };
    for (const Row& r : {
             Row{"e.dat", "", 1, ""},
             Row{"t.dat", Records(3), 4, ""},
             Row{"big.dat", Records(40000), 40001, ""}, // more than 16 bits can number
             Row{"l.dat", Records(1) + "00002ABCDEFGH12345a", 3, ""}, // no line end at the last
             Row{"Z\xC3\xBCrich \xE9t\xE9.dat", Records(1), 2, ""},
             Row{"m.dat", Rec("1234567890ABCDEFG", 'a') + Rec("1234567890ABCDEFG", 'a'), 0,
                 "Mismatch!\nFormat Length: 19\n Record Length:18"},
             Row{"f.dat", Records(1) + "00002AB", 0, "The data file "},
             Row{"j.dat", Junk(), 0, "Mismatch!"},
         }) {
        SCOPED_TRACE(r.file);
        Started s;
        s.openWith(r.file, r.bytes, "STOCK-19");
        EXPECT_EQ(s.e.scr.RecordShown, r.curRec > 0);
        if (r.curRec > 0) {
            EXPECT_EQ(s.e.rec.CurRec, r.curRec);
            EXPECT_EQ(s.e.rec.EndRec, r.curRec);
            EXPECT_EQ(s.e.win.panels[2], text::SignedDec(r.curRec));
        } else {
            EXPECT_TRUE(s.screen.glyphs().empty());
            EXPECT_TRUE(s.e.win.mnuClose) << "Close must stay available to leave the file";
        }
        if (r.box.empty()) {
            EXPECT_TRUE(s.dialogs.boxes.empty()) << s.lastBox();
        } else {
            ASSERT_EQ(s.dialogs.boxes.size(), 1u);
            EXPECT_NE(s.lastBox().find(r.box), std::string::npos) << s.lastBox();
            EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Exclamation);
        }
        s.e.file.mnuClose_Click();
        EXPECT_EQ(s.app.read(r.file), r.bytes);
    }
}

// Only where the root folder may be written (CI runs as root) and holds no format file.
TEST(Opening, FileInTheRootFolder)
{
    namespace fs = std::filesystem;
    const fs::path data = "/kvtest-" + std::to_string(::getpid()) + ".dat";
    if (::access("/", W_OK) != 0 || fs::exists("/FILE.FMT") || fs::exists("/file.fmt"))
        GTEST_SKIP() << "the root folder cannot be used here";
    struct Cleanup {
        fs::path data;
        ~Cleanup()
        {
            std::error_code ec;
            fs::remove(data, ec);
            fs::remove("/FILE.FMT", ec);
        }
    } cleanup{data};
    Started s;
    s.open(data.string(), "STOCK-19");
    EXPECT_EQ(s.e.file.DataPath, "");
    EXPECT_EQ(s.e.file.FormatFilePath(), "/FILE.FMT");
    EXPECT_TRUE(fs::exists("/FILE.FMT")) << "the application folder's copy seeds the root";
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_TRUE(s.dialogs.boxes.size() == 1u &&
                s.dialogs.boxes[0].text.rfind("Opening New File", 0) == 0);
}

// A question answered No, a format selection cancelled or a format not found leaves every
// file alone; a cancelled Open and a typed name that exists: runner-open, runner-new-file.
TEST(Opening, NothingIsCreatedOrEmptiedUntilTheFormatIsFoundAndNewNamesGetTheirExtension)
{
    Started s;
    const std::string bytes = Rec("00001ABCDEFGH12345", 'a');
    s.app.write("n.dat", bytes);
    s.dialogs.answers.push_back(Dialogs::Answer::No);
    s.e.file.mnuNew_Click();
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Question);
    EXPECT_TRUE(s.dialogs.openRequests.empty());

    s.dialogs.boxes.clear();
    s.dialogs.openAnswers.push_back(s.app.file("x.dat"));
    s.e.file.mnuOpen_Click(); // format selection cancelled
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_TRUE(s.e.win.mnuOpen);
    EXPECT_FALSE(std::filesystem::exists(s.app.path() / "x.dat"));

    // Text typed in the selection's text line: warned, then tried as a name.
    s.open("x.dat", "NOSUCH");
    const auto texts = s.dialogs.texts();
    ASSERT_EQ(texts.size(), 3u); // the first, "No format selected": runner-new-file
    EXPECT_NE(texts[1].find("NOSUCH"), std::string::npos);
    EXPECT_EQ(texts[2], "Format not found");
    EXPECT_EQ(s.dialogs.boxes[2].icon, Icon::Information);
    EXPECT_TRUE(s.e.win.mnuOpen && !s.e.win.mnuClose);
    EXPECT_FALSE(std::filesystem::exists(s.app.path() / "x.dat"));

    s.dialogs.openAnswers.push_back(s.app.file("n.dat"));
    s.dialogs.chooseEntry("NOSUCH");
    s.e.file.mnuNew_Click(); // a format that is missing stops before the file is touched
    EXPECT_EQ(s.app.read("n.dat"), bytes);

    s.dialogs.openAnswers.push_back(s.app.file("n.dat"));
    s.dialogs.chooseEntry("STOCK-19");
    s.e.file.mnuNew_Click();
    EXPECT_EQ(s.app.read("n.dat"), "");
    EXPECT_EQ(s.e.rec.CurRec, 1);
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_FALSE(s.e.file.NewFileFlag);
    EXPECT_EQ(s.dialogs.openRequests.front().startDir, s.app.path().string());
    EXPECT_EQ(s.dialogs.openRequests.front().filters.front(), "Korvalen Files (*.dat)");

    // A new name gets its extension in the chosen folder, which becomes the data folder; its
    // own FILE.FMT is the one read.
    s.e.file.mnuClose_Click();
    const std::string folder = s.app.file("sub.d");
    std::filesystem::create_directory(folder);
    s.app.write(folder + "/FILE.FMT", "STOCK\r\nA---E\r\nhd\r\n"); // a different STOCK
    const auto shown = s.dialogs.boxes.size();
    s.open(folder + "/sales", "STOCK-5");
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_EQ(s.e.fmt.RecLen, 5);
    EXPECT_EQ(s.dialogs.formatLists.back(), (std::vector<std::string>{"STOCK-5"}));
    ASSERT_EQ(s.dialogs.boxes.size(), shown + 1);
    EXPECT_EQ(s.lastBox(), "Opening New File " + folder + "/sales.dat");
    EXPECT_EQ(s.e.file.DataFilePath, folder + "/sales.dat");
    EXPECT_EQ(s.e.file.DataPath, folder);
    EXPECT_EQ(s.store.getSetting("Korvalen", "Data Path", "Data", ""), folder);
}

TEST(StartUp, MissingPictureIsReportedButMemoryKeysStillLoad)
{
    // An empty F2 is a key left unused; the others load and are kept at Exit.
    Station s(Station::DemoFormats, false);
    s.store.saveSetting("Korvalen", "Memkey", "F2", "");
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

    // Without any F2 (a store edited by hand, or by another version) the others still load,
    // so that Exit keeps them.
    Station fresh;
    fresh.store.saveSetting("Korvalen", "Memkey", "F3", "ACME LTD");
    fresh.start();
    EXPECT_EQ(fresh.e.prefs.MemKeys[3], Preferences::FixedMemText("ACME LTD"));
    fresh.e.Form_Terminate();
    EXPECT_EQ(fresh.store.getSetting("Korvalen", "Memkey", "F3", "?"), "ACME LTD");

    // A field can hold any byte, a NUL among them; an F2 stored from it is still an F2.
    Station odd;
    odd.store.saveSetting("Korvalen", "Memkey", "F2", std::string(1, '\0'));
    odd.store.saveSetting("Korvalen", "Memkey", "F3", "ACME LTD");
    odd.start();
    EXPECT_EQ(odd.e.prefs.MemKeys[3], Preferences::FixedMemText("ACME LTD"));
}

} // namespace
