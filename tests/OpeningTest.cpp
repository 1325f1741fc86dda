#include <gtest/gtest.h>

#include <unistd.h>

#include "app/TextUtil.h"
#include "tests/support/Station.h"

namespace
{

using Buttons = Dialogs::Buttons;
using Icon = Dialogs::Icon;

std::string Rec(const std::string& body, char letter)
{
    return body + letter + "\r\n";
}

TEST(Opening, ExistingFileBecomesTheEndPositionWithLastRecordAsPrevious)
{
    Station s;
    s.start();
    s.app.write("pay.dat",
                Rec("00001SMITH   ", 'a') + Rec("00002JONES   ", 'a') + Rec("00003BROWN   ", 'b'));
    s.open("pay.dat", "PAYROLL/2-14");

    EXPECT_TRUE(s.dialogs.boxes.empty()) << s.dialogs.texts().front();
    EXPECT_EQ(s.e.rec.CurRec, 4);
    EXPECT_EQ(s.e.rec.EndRec, 4);
    EXPECT_EQ(s.e.rec.OrigRec, "00003BROWN   b");
    EXPECT_EQ(s.e.fmt.FmtNo, 2) << "the last record's letter selects its format";
    EXPECT_EQ(s.e.rec.RecBuf, std::string(14, ' '));
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_EQ(s.e.scr.CurCol, 1);
    EXPECT_EQ(s.e.fmt.FmtName, "PAYROLL/2-14");

    const WindowState& w = s.e.win;
    EXPECT_EQ(w.caption, "KORVALEN - ( Orlenmark ) " + text::Upper(s.app.file("pay.dat")));
    EXPECT_FALSE(w.mnuNew);
    EXPECT_FALSE(w.mnuOpen);
    EXPECT_TRUE(w.mnuClose);
    EXPECT_TRUE(w.SaveData);
    EXPECT_TRUE(w.previousVisible);
    EXPECT_EQ(w.panels[2], " 4");
    EXPECT_EQ(w.panels[5], "Typ:B");
    EXPECT_EQ(w.panels[6], "Fmt:2/2");
    EXPECT_NE(w.panels[1].find(" - Fmt:PAYROLL/2-14"), std::string::npos);

    EXPECT_EQ(s.screen.rowText(s.T() + 2), "B----M-------E");
    EXPECT_EQ(s.screen.rowText(s.T()), "DEPT SURNAME ");
}

TEST(Opening, MismatchIsReportedAndNothingIsSetUp)
{
    Station s;
    s.start();
    const std::string bytes = Rec("1234567890ABCDEFG", 'a') + Rec("1234567890ABCDEFG", 'a');
    s.app.write("short.dat", bytes);
    s.open("short.dat", "STOCK-19");

    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    const auto& box = s.dialogs.boxes.front();
    EXPECT_EQ(box.text, "Mismatch!\nFormat Length: 19\n Record Length:18");
    EXPECT_EQ(box.buttons, Buttons::OKCancel);
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_FALSE(s.e.scr.RecordShown);
    EXPECT_TRUE(s.screen.glyphs().empty());
    EXPECT_TRUE(s.e.win.mnuClose) << "Close must stay available to leave the file";
    EXPECT_EQ(s.app.read("short.dat"), bytes);
}

TEST(Opening, EmptyAndMissingFiles)
{
    Station s;
    s.start();
    s.app.write("empty.dat", "");
    s.open("empty.dat", "STOCK-19");
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.rec.CurRec, 1);
    EXPECT_EQ(s.e.rec.EndRec, 1);
    EXPECT_EQ(s.e.rec.OrigRec, std::string(19, ' '));
    EXPECT_TRUE(s.e.scr.RecordShown);
    s.e.file.mnuClose_Click();

    // A name without extension gets ".dat" and is created in the chosen folder.
    const std::string folder = s.app.file("sub.d");
    std::filesystem::create_directory(folder);
    s.open(folder + "/sales", "STOCK-19");
    EXPECT_TRUE(std::filesystem::exists(folder + "/sales.dat"));
    EXPECT_EQ(s.dialogs.texts(),
              (std::vector<std::string>{"Opening New File " + folder + "/sales.dat"}));
    EXPECT_EQ(s.e.file.DataPath, folder);
    EXPECT_EQ(s.store.getSetting("Korvalen", "Data Path", "Data", ""), folder);
    EXPECT_EQ(s.e.file.DataFilePath, folder + "/sales.dat");
}

TEST(Opening, DataFolderFollowsTheChosenFileAndItsFormatFile)
{
    Station s;
    s.start();
    TempDir other;
    other.write("FILE.FMT", "STOCK\r\nA---E\r\nhd\r\n"); // a different STOCK there
    s.dialogs.openAnswers.push_back(other.file("x.dat"));
    s.dialogs.chooseEntry("STOCK-5");
    s.e.file.mnuOpen_Click();
    EXPECT_EQ(s.e.fmt.RecLen, 5);
    EXPECT_EQ(s.dialogs.formatLists.back(), (std::vector<std::string>{"STOCK-5"}));
    EXPECT_EQ(s.dialogs.openRequests.front().startDir, s.app.path().string());
    EXPECT_EQ(s.dialogs.openRequests.front().filters.front(), "Korvalen Files (*.dat)");
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

TEST(Opening, FormatFileFoundInAnyLetterCaseAndSeededWhenMissing)
{
    Station s;
    std::filesystem::rename(s.app.path() / "FILE.FMT", s.app.path() / "file.fmt");
    s.start();
    s.open("a.dat", "STOCK-19");
    EXPECT_TRUE(s.e.scr.RecordShown);

    TempDir data; // no FILE.FMT: the application folder's copy is placed there
    s.e.file.mnuClose_Click();
    s.dialogs.boxes.clear();
    s.open(data.file("b.dat"), "PAYROLL/2-14");
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_FALSE(data.read("file.fmt").empty() && data.read("FILE.FMT").empty());
}

TEST(Opening, TrailingFragmentIsNamedAndNothingIsOverwritten)
{
    Station s;
    s.start();
    const std::string bytes = Rec("00001ABCDEFGH12345", 'a') + "00002AB";
    s.app.write("frag.dat", bytes);
    s.open("frag.dat", "STOCK-19");
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_NE(s.dialogs.boxes[0].text.find("7 bytes after record 1"), std::string::npos)
        << s.dialogs.boxes[0].text;
    EXPECT_FALSE(s.e.scr.RecordShown);
    s.e.file.mnuClose_Click();
    EXPECT_EQ(s.app.read("frag.dat"), bytes);
}

TEST(Opening, LastRecordWithoutLineEndCounts)
{
    Station s;
    s.start();
    const std::string bytes = Rec("00001ABCDEFGH12345", 'a') + "00002ABCDEFGH12345a";
    s.app.write("tail.dat", bytes);
    s.open("tail.dat", "STOCK-19");
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_EQ(s.e.rec.OrigRec, "00002ABCDEFGH12345a");
    EXPECT_EQ(s.app.read("tail.dat"), bytes) << "opening alone changes nothing";
}

TEST(Opening, MoreRecordsThanSixteenBitsCanNumber)
{
    Station s;
    s.start();
    std::string bytes;
    const std::string rec = Rec("00001ABCDEFGH12345", 'a');
    bytes.reserve(rec.size() * 40000);
    for (int i = 0; i < 40000; ++i)
        bytes += rec;
    s.app.write("big.dat", bytes);
    s.open("big.dat", "STOCK-19");
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.rec.CurRec, 40001);
    EXPECT_EQ(s.e.win.panels[2], " 40001");
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

TEST(Opening, UnusableFilesAreReported)
{
    Station s;
    s.start();
    std::filesystem::create_directory(s.app.path() / "folder.dat");
    s.open("folder.dat", "STOCK-19");
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text.rfind("Error opening file " + s.app.file("folder.dat"), 0),
              0u);
    EXPECT_EQ(s.dialogs.boxes[0].icon, Icon::Exclamation);
    EXPECT_FALSE(s.e.scr.RecordShown);
    s.e.file.mnuClose_Click();

    // Binary junk is either a mismatch or a fragment; it is never set up or changed.
    std::string junk;
    for (int i = 0; i < 5000; ++i)
        junk.push_back(static_cast<char>((i * 131 + 7) % 256));
    s.app.write("junk.dat", junk);
    s.dialogs.boxes.clear();
    s.open("junk.dat", "STOCK-19");
    EXPECT_FALSE(s.e.scr.RecordShown);
    EXPECT_EQ(s.dialogs.boxes.size(), 1u);
    s.e.file.mnuClose_Click();
    EXPECT_EQ(s.app.read("junk.dat"), junk);
}

TEST(Opening, PathWithNonAsciiCharacters)
{
    Station s;
    s.start();
    const std::filesystem::path folder = s.app.path() / "Z\xC3\xBCrich \xE9t\xE9";
    std::filesystem::create_directory(folder);
    s.open((folder / "kunden.dat").string(), "STOCK-19");
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_TRUE(std::filesystem::exists(folder / "kunden.dat"));
    EXPECT_NE(s.e.win.caption.find("Z\xC3\xBC"), std::string::npos);
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

TEST(Closing, ReturnsToNoFileAndKeepsCaption)
{
    Station s;
    s.start();
    s.open("c.dat", "STOCK-19");
    const std::string caption = s.e.win.caption;
    s.e.file.mnuClose_Click();
    EXPECT_FALSE(s.e.scr.RecordShown);
    EXPECT_FALSE(s.e.file.DataFileNo.isOpen());
    EXPECT_TRUE(s.screen.glyphs().empty());
    EXPECT_EQ(s.screen.cellColor(50, s.T()), ScreenModel::BackColor);
    EXPECT_TRUE(s.e.win.mnuNew);
    EXPECT_TRUE(s.e.win.mnuOpen);
    EXPECT_FALSE(s.e.win.mnuClose);
    EXPECT_EQ(s.e.win.caption, caption);
    EXPECT_TRUE(s.e.file.SaveData_Click()) << "saving with no file open is harmless";
}

TEST(StartUp, MissingPictureIsReportedButMemoryKeysStillLoadAndSurviveExit)
{
    Station s(Station::DemoFormats, false);
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
    EXPECT_EQ(s.store.getSetting("Korvalen", "Memkey", "F2", "?"), "");
}

TEST(StartUp, InitialWindowState)
{
    Station s;
    s.start();
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.win.caption, "KORVALEN Data Entry and Verification - Orlenmark");
    EXPECT_TRUE(s.e.win.mnuNew && s.e.win.mnuOpen);
    EXPECT_FALSE(s.e.win.mnuClose || s.e.win.SaveData);
    EXPECT_FALSE(s.e.win.mnuBack || s.e.win.mnuFwd || s.e.win.mnuInsRec || s.e.win.mnuDelRec);
    EXPECT_FALSE(s.e.win.previousVisible);
    EXPECT_EQ(s.e.file.DataPath, s.app.path().string());
    EXPECT_EQ(s.e.fld.FldType, 'A');
}

} // namespace
