#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

constexpr Color Green = 0x00FF00, White = 0xFFFFFF, Gold = 0x34BDE4;

// One session: the band's colours as opened (its lines: runner-open), a message shown over it, the
// focus lost and regained, then what Save and Delete say in their colours.
TEST(EntryBand, LinesColoursMessagesAndFocus)
{
    Started s;
    s.e.scr.FocusGained();
    EXPECT_FALSE(s.screen.caret().visible) << "no caret before a record is shown";
    s.openWith("band.dat", "00001BOLT    00150a\r\n00002NUT     00020a\r\n", "STOCK-19");
    const double T = s.T();
    for (double col : {0.0, 18.0, 60.0, 99.0}) {
        SCOPED_TRACE(col);
        EXPECT_EQ(s.screen.cellColor(col, T), Green);
        EXPECT_EQ(s.screen.cellColor(col, T + 1), White);
        EXPECT_EQ(s.screen.cellColor(col, T + 2), Green);
    }
    // The band ends at row 2T + 1; below it the surface is white.
    EXPECT_EQ(s.screen.pixel(400, static_cast<int>((2 * T + 1) * 16) - 1), Green);
    EXPECT_EQ(s.screen.pixel(400, static_cast<int>((2 * T + 1) * 16)), White);
    const auto& caret = s.screen.caret(); // on position 1 of the data line
    EXPECT_TRUE(caret.visible && caret.x == 0 && caret.y == 52 && caret.h == 12);

    // One cell per character, the longer message before wiped.
    s.e.status.DisplayMode("File Saved and X", 0xFF00FF);
    s.e.status.DisplayMode("Fifteen chars!!", Green);
    for (int col = 12; col < 52; ++col)
        EXPECT_EQ(s.screen.cellColor(col, T + 4), col < 27 ? Green : White) << col;
    EXPECT_EQ(s.screen.rowText(T + 4), std::string(12, ' ') + "Fifteen chars!!");
    EXPECT_EQ(s.e.status.ModeColor, Green);
    // Back on the data line, rounded to a whole row.
    EXPECT_EQ(s.screen.printCol(), 0);
    EXPECT_EQ(s.screen.printRow(), 3);
    EXPECT_EQ(s.screen.caret().y, 48);

    s.screen.setPrintPos(5, T + 1); // row 3.25
    s.e.scr.FocusLost();
    s.screen.setPrintPos(0, 0);
    s.e.scr.FocusGained();
    EXPECT_TRUE(s.screen.caret().visible);
    EXPECT_EQ(s.screen.caret().x, 40);
    EXPECT_EQ(s.screen.caret().y, 48);

    auto shown = [&] { return std::pair{s.messageLine(), s.screen.cellColor(12, s.T() + 4)}; };
    using Shown = std::pair<std::string, Color>;

    ASSERT_TRUE(s.e.file.ImgFileSave_Click());
    EXPECT_EQ(shown(), Shown("File Saved", Green));

    // The red line stands while the file is rewritten; then the end position is shown.
    s.key("Ctrl+Home");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    std::vector<Shown> during;
    s.dialogs.onProgress = [&] { during.push_back(shown()); };
    s.e.rec.mnuDelRec_Click();
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(during.front(), Shown("Deleting Record 1", 255));
    EXPECT_EQ(shown(), Shown("Current Rec :  2", White));

    // A save that fails says so in a box, never "File Saved".
    s.e.status.DisplayMode("", White);
    s.io.datasyncErrno = EIO;
    EXPECT_FALSE(s.e.file.ImgFileSave_Click());
    EXPECT_EQ(s.messageLine(), "");
}

TEST(EntryBand, StoredColoursAndKeyingOverACell)
{
    Station s;
    s.store.saveSetting("Korvalen", "formcolor", "f2", "255");
    s.store.saveSetting("Korvalen", "formcolor", "f1", "not a number");
    s.start();
    s.open("k.dat", "STOCK-19");
    EXPECT_EQ(s.screen.cellColor(30, s.T()), 255u)
        << "the stored band colour from the first screen";

    // Keying over a cell fills it first, so no trace of the old glyph remains.
    Surface& surf = s.screen;
    surf.setPrintPos(4, s.T() + 1);
    s.e.scr.OutChr("A");
    surf.setPrintPos(4, s.T() + 1);
    s.e.scr.OutChr("B");
    EXPECT_EQ(s.screen.glyphs().at({52, 32}), "B");
    EXPECT_EQ(s.screen.cellColor(4, s.T() + 1), Gold) << "a colour that is no number is skipped";
    // Printing without the fill overstrikes, as a transparent background does.
    surf.setPrintPos(4, s.T() + 1);
    surf.print("C");
    EXPECT_EQ(s.screen.glyphs().at({52, 32}), "BC");
}

// A format 160 positions long (and one of 81) on an 80-column screen. Sections as keys reach
// and leave them: long-record, section-crossing.
std::string LongFormats()
{
    std::string wide = "N" + std::string(79, '-') + "A" + std::string(78, '-') + "E";
    std::string head;
    for (int i = 0; i < 160; ++i)
        head.push_back(static_cast<char>('a' + i % 26));
    return "WIDE\r\n" + wide + "\r\n" + head + "\r\nODD\r\nA" + std::string(79, '-') +
           "E\r\nodd\r\n";
}

TEST(Sections, LongRecordsShowOneScreenWidthAtATime)
{
    Station s(LongFormats());
    s.screen.resize(640, 400); // 80 columns
    s.start();
    s.open("w.dat", "WIDE-160");
    const std::string fmt = s.e.fmt.FmtLines[1];
    EXPECT_EQ(s.e.scr.ScrCols, 80);

    // The data line shows the section's slice of the record, filled past the cursor or not,
    // with the caret on the cursor's cell.
    std::string rec;
    for (int i = 0; i < 160; ++i)
        rec.push_back(static_cast<char>('0' + i % 10));
    s.e.rec.RecBuf = rec;
    for (const bool correcting : {false, true}) {
        s.e.rec.CorrectMode = correcting;
        s.e.scr.CurCol = 85;
        s.e.scr.DispSecn();
        EXPECT_EQ(s.screen.rowText(s.T() + 1), rec.substr(80, 80));
        EXPECT_EQ(s.screen.rowText(s.T() + 2), fmt.substr(80, 80));
        EXPECT_EQ(s.screen.rowText(s.T()).size(), 80u);
        EXPECT_EQ(s.screen.printCol(), 4);
        EXPECT_EQ(s.screen.caret().x, 4 * Surface::CellWidth);
    }
    EXPECT_EQ(s.e.keys.MaxCol, 159);

    s.e.rec.CorrectMode = false;
    s.e.file.CloseFile();
    s.open("o.dat", "ODD-81");
    s.e.scr.CurCol = 81;
    s.e.scr.DispSecn();
    EXPECT_EQ(s.screen.rowText(s.T() + 2), "E") << "the last section holds the end column alone";
}

TEST(Resize, NormalWindowSnapsToColumnsAndHalfTheScreen)
{
    struct Row {
        const char* name;
        EntryScreen::Size outer, expected;
    };
    const EntryScreen::Size screen{1280, 800};
    for (const Row r :
         {Row{"Whole", {808, 600}, {808, 600}}, Row{"SnapDown", {813, 600}, {808, 600}},
          Row{"TooNarrow", {300, 600}, {640, 600}}, Row{"TooLow", {800, 100}, {800, 400}},
          Row{"Both", {10, 10}, {640, 400}}}) {
        SCOPED_TRACE(r.name);
        const auto got = EntryScreen::SnapOuterSize(r.outer, screen);
        EXPECT_EQ(got.w, r.expected.w);
        EXPECT_EQ(got.h, r.expected.h);
    }
}

} // namespace

TEST(SurfaceModel, ClearLeavesNoFillBehindWhereverItWasPainted)
{
    ScreenModel m(80, 64);
    m.fillBox(1, 1, 3, 2, 255);
    m.resize(96, 64); // a resize keeps what was drawn
    m.fillBox(10, 3, 12, 4, 65280);
    m.clear();
    m.fillBox(0, 0, 1, 1, 0xFF00FF);
    m.clear();
    const auto& px = m.pixels();
    EXPECT_EQ(std::count(px.begin(), px.end(), ScreenModel::BackColor),
              static_cast<std::ptrdiff_t>(px.size()));
}
