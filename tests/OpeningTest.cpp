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

TEST(Opening, LastRecordBecomesThePreviousOneAndCloseLeavesTheFile)
{
    Station s;
    s.start();
    s.app.write("pay.dat",
                Rec("00001SMITH   ", 'a') + Rec("00002JONES   ", 'a') + Rec("00003BROWN   ", 'b'));
    s.open("pay.dat", "PAYROLL/2-14");

    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.rec.EndRec, 4);
    EXPECT_EQ(s.e.rec.OrigRec, "00003BROWN   b");
    EXPECT_EQ(s.e.fmt.FmtNo, 2) << "the last record's letter selects its format";
    EXPECT_EQ(s.e.rec.RecBuf, std::string(14, ' '));
    const WindowState& w = s.e.win;
    EXPECT_EQ(w.caption, "KORVALEN - ( Orlenmark ) " + text::Upper(s.app.file("pay.dat")));
    EXPECT_TRUE(!w.mnuNew && !w.mnuOpen && w.mnuClose && w.SaveData && w.previousVisible);
    EXPECT_EQ(w.panels[2], " 4");
    EXPECT_EQ(w.panels[5], "Typ:B");
    EXPECT_EQ(w.panels[6], "Fmt:2/2");
    EXPECT_NE(w.panels[1].find(" - Fmt:PAYROLL/2-14"), std::string::npos);
    EXPECT_EQ(s.screen.rowText(s.T()), "DEPT SURNAME ");

    s.e.file.mnuClose_Click();
    EXPECT_FALSE(s.e.scr.RecordShown || s.e.file.DataFileNo.isOpen());
    EXPECT_TRUE(s.screen.glyphs().empty());
    EXPECT_TRUE(w.mnuNew && w.mnuOpen && !w.mnuClose);
    EXPECT_EQ(w.caption, "KORVALEN - ( Orlenmark ) " + text::Upper(s.app.file("pay.dat")));
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
struct OpenRow {
    const char* name;
    std::string file;
    std::string bytes;
    int curRec;      // 0: not set up
    std::string box; // part of the one message expected, or none
    friend void PrintTo(const OpenRow& row, std::ostream* os) { *os << row.name; }
};

class OpenFileTest : public ::testing::TestWithParam<OpenRow>
{
};

TEST_P(OpenFileTest, SetsUpOnlyWholeRecords)
{
    const OpenRow& row = GetParam();
    Station s;
    s.start();
    s.app.write(row.file, row.bytes);
    s.open(row.file, "STOCK-19");
    EXPECT_EQ(s.e.scr.RecordShown, row.curRec > 0);
    if (row.curRec > 0) {
        EXPECT_EQ(s.e.rec.CurRec, row.curRec);
        EXPECT_EQ(s.e.rec.EndRec, row.curRec);
        EXPECT_EQ(s.e.win.panels[2], text::SignedDec(row.curRec));
    } else {
        EXPECT_TRUE(s.screen.glyphs().empty());
        EXPECT_TRUE(s.e.win.mnuClose) << "Close must stay available to leave the file";
    }
    if (row.box.empty()) {
        EXPECT_TRUE(s.dialogs.boxes.empty()) << s.dialogs.texts().front();
    } else {
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_NE(s.dialogs.boxes[0].text.find(row.box), std::string::npos)
            << s.dialogs.boxes[0].text;
        EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Exclamation);
    }
    s.e.file.mnuClose_Click();
    EXPECT_EQ(s.app.read(row.file), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenFileTest,
    ::testing::Values(
        OpenRow{"Empty", "e.dat", "", 1, ""}, OpenRow{"ThreeRecords", "t.dat", Records(3), 4, ""},
        OpenRow{"MoreThanSixteenBitsCanNumber", "big.dat", Records(40000), 40001, ""},
        OpenRow{"LastRecordWithoutLineEnd", "l.dat", Records(1) + "00002ABCDEFGH12345a", 3, ""},
        OpenRow{"NonAsciiName", "Z\xC3\xBCrich \xE9t\xE9.dat", Records(1), 2, ""},
        OpenRow{"Mismatch", "m.dat", Rec("1234567890ABCDEFG", 'a') + Rec("1234567890ABCDEFG", 'a'),
                0, "Mismatch!\nFormat Length: 19\n Record Length:18"},
        OpenRow{"TrailingFragment", "f.dat", Records(1) + "00002AB", 0, "The data file "},
        OpenRow{"BinaryJunk", "j.dat", Junk(), 0, "Mismatch!"}),
    [](const auto& row) { return std::string(row.param.name); });

// The chosen file's folder becomes the data folder, and its own FILE.FMT is the one read.
TEST(Opening, NewNameGetsItsExtensionInTheChosenFolder)
{
    Station s;
    s.start();
    const std::string folder = s.app.file("sub.d");
    std::filesystem::create_directory(folder);
    s.app.write(folder + "/FILE.FMT", "STOCK\r\nA---E\r\nhd\r\n"); // a different STOCK
    s.open(folder + "/sales", "STOCK-5");
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_EQ(s.e.fmt.RecLen, 5);
    EXPECT_EQ(s.dialogs.formatLists.back(), (std::vector<std::string>{"STOCK-5"}));
    EXPECT_EQ(s.dialogs.openRequests.front().startDir, s.app.path().string());
    EXPECT_EQ(s.dialogs.openRequests.front().filters.front(), "Korvalen Files (*.dat)");
    EXPECT_EQ(s.dialogs.texts(),
              (std::vector<std::string>{"Opening New File " + folder + "/sales.dat"}));
    EXPECT_EQ(s.e.file.DataFilePath, folder + "/sales.dat");
    EXPECT_EQ(s.e.file.DataPath, folder);
    EXPECT_EQ(s.store.getSetting("Korvalen", "Data Path", "Data", ""), folder);
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

    Station s;
    s.start();
    s.open(data.string(), "STOCK-19");
    EXPECT_EQ(s.e.file.DataPath, "");
    EXPECT_EQ(s.e.file.FormatFilePath(), "/FILE.FMT");
    EXPECT_TRUE(fs::exists("/FILE.FMT")) << "the application folder's copy seeds the root";
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_TRUE(s.dialogs.boxes.size() == 1u &&
                s.dialogs.boxes[0].text.rfind("Opening New File", 0) == 0);
}

TEST(Opening, SecondStationIsRefusedTheFileItKeys)
{
    Station a, b;
    a.start();
    b.start();
    const std::string bytes = Rec("00001ABCDEFGH12345", 'a');
    const std::string path = a.app.write("shared.dat", bytes);
    a.open(path, "STOCK-19");
    ASSERT_TRUE(a.e.scr.RecordShown);

    // Even New, which would empty it, is refused.
    b.dialogs.openAnswers.push_back(path);
    b.dialogs.chooseEntry("STOCK-19");
    b.e.file.mnuNew_Click();
    ASSERT_EQ(b.dialogs.boxes.size(), 2u);
    EXPECT_EQ(b.dialogs.boxes[1].text.rfind("Error opening file " + path + ": ", 0), 0u);
    EXPECT_NE(b.dialogs.boxes[1].text.find("another copy"), std::string::npos);
    EXPECT_FALSE(b.e.scr.RecordShown);
    EXPECT_EQ(a.app.read("shared.dat"), bytes);
}

TEST(Opening, DialogsThatGiveNothing)
{
    Station s;
    s.start();
    s.e.file.mnuOpen_Click(); // Open dialog cancelled
    EXPECT_EQ(s.dialogs.texts(), (std::vector<std::string>{"No File Selected"}));

    s.dialogs.boxes.clear();
    s.dialogs.openAnswers.push_back(s.app.file("x.dat"));
    s.e.file.mnuOpen_Click(); // format selection cancelled
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_TRUE(s.e.win.mnuOpen);
    EXPECT_FALSE(std::filesystem::exists(s.app.path() / "x.dat"));

    // Text typed in the selection's text line: warned, then tried as a name.
    s.open("x.dat", "NOSUCH");
    const auto texts = s.dialogs.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "No format selected");
    EXPECT_EQ(s.dialogs.boxes[0].title, "Format Selection");
    EXPECT_NE(texts[1].find("NOSUCH"), std::string::npos);
    EXPECT_EQ(texts[2], "Format not found");
    EXPECT_EQ(s.dialogs.boxes[2].icon, Icon::Information);
    EXPECT_TRUE(s.e.win.mnuOpen);
    EXPECT_FALSE(s.e.win.mnuClose);
    EXPECT_FALSE(std::filesystem::exists(s.app.path() / "x.dat"));

    // A typed name that exists still opens.
    s.dialogs.boxes.clear();
    s.open("y.dat", "stock");
    EXPECT_TRUE(s.e.scr.RecordShown);
}

TEST(NewFile, EmptiesAnExistingFileOnlyWhenConfirmed)
{
    Station s;
    s.start();
    const std::string bytes = Rec("00001ABCDEFGH12345", 'a');
    s.app.write("n.dat", bytes);

    s.dialogs.answers.push_back(Dialogs::Answer::No);
    s.e.file.mnuNew_Click();
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Question);
    EXPECT_TRUE(s.dialogs.openRequests.empty());
    EXPECT_EQ(s.app.read("n.dat"), bytes);

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

    // Without any F2 the section was never saved by us: nothing is loaded.
    Station fresh;
    fresh.store.saveSetting("Korvalen", "Memkey", "F3", "ACME LTD");
    fresh.start();
    EXPECT_EQ(fresh.e.prefs.MemKeys[3], Preferences::FixedMemText(""));

    // A field can hold any byte, a NUL among them; an F2 stored from it is still an F2.
    Station odd;
    odd.store.saveSetting("Korvalen", "Memkey", "F2", std::string(1, '\0'));
    odd.store.saveSetting("Korvalen", "Memkey", "F3", "ACME LTD");
    odd.start();
    EXPECT_EQ(odd.e.prefs.MemKeys[3], Preferences::FixedMemText("ACME LTD"));
}

} // namespace
