#include <gtest/gtest.h>

#include <sys/stat.h>

#include "formats/FormatLoader.h"

#include "tests/support/Station.h"

namespace
{

TEST(FormatFileEditor, LinesAndColumnsCountOnTheCrLfText)
{
    const std::string t = "AB\r\nCDE\r\n\r\nF";
    struct Row {
        std::size_t pos;
        int line, column;
    };
    for (const Row r : {Row{0, 1, 1}, Row{2, 1, 3}, Row{3, 1, 4}, Row{4, 2, 1}, Row{7, 2, 4},
                        Row{9, 3, 1}, Row{11, 4, 1}, Row{12, 4, 2}}) {
        SCOPED_TRACE(r.pos);
        EXPECT_EQ(FormatFileEditor::Countlines(t, r.pos), r.line);
        EXPECT_EQ(FormatFileEditor::LineChar(t, r.pos), r.column);
    }
}

// Saved with the data file open, then a save that fails, then a file that cannot be read.
TEST(FormatFileEditor, SavesKeepTheDataFileOpenAndFailuresKeepTheFileAndTheText)
{
    Started s;
    s.openWith("S.DAT", "", "STOCK-19");
    const std::string before = s.app.read("FILE.FMT");
    ::chmod(s.app.file("FILE.FMT").c_str(), 0640);
    FormatFileEditor& ed = s.e.fmtEditor;
    ed.mnuVwFmt_Click();
    EXPECT_TRUE(ed.Visible);
    EXPECT_EQ(ed.caption, FormatFileEditor::EditCaption);
    EXPECT_EQ(ed.Text, before);
    EXPECT_EQ(ed.CurLine, 1);
    EXPECT_EQ(ed.CurColumn, 1);
    ed.Text += "NEW\r\nA---E\r\nhd";
    ed.mnuVwFmt_Click(); // already open: what was typed stays
    ASSERT_TRUE(ed.Save_Click());
    EXPECT_FALSE(ed.Visible);
    const std::string saved = before + "NEW\r\nA---E\r\nhd\r\n";
    EXPECT_EQ(s.app.read("FILE.FMT"), saved);
    struct stat st {
    };
    ::stat(s.app.file("FILE.FMT").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(s.e.file.ReadyForKeying());
    EXPECT_TRUE(FormatLoader::LoadFormat(s.io, s.app.file("FILE.FMT"), "NEW").ok());

    ed.mnuVwFmt_Click();
    EXPECT_EQ(ed.Text, saved);
    ed.Text = "CHANGED";
    s.io.writeBudget = 3; // the disk is full
    EXPECT_FALSE(ed.Save_Click());
    EXPECT_TRUE(ed.Visible);
    EXPECT_EQ(ed.Text, "CHANGED");
    EXPECT_EQ(s.app.read("FILE.FMT"), saved);
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text.rfind(
                  "The format file " + s.app.file("FILE.FMT") + " could not be saved: ", 0),
              0u);
    ed.Cancel_Click();
    EXPECT_EQ(s.names(), (std::vector<std::string>{"FILE.FMT", "S.DAT", "dupoff.bmp"}))
        << "no copy left behind";

    // A folder that is not flushed: the new text is in place, and the message says so.
    s.io.writeBudget = -1;
    ed.mnuVwFmt_Click();
    ed.Text = "FLUSHED";
    s.io.dirSyncErrno = EIO;
    EXPECT_FALSE(ed.Save_Click());
    EXPECT_EQ(s.app.read("FILE.FMT"), "FLUSHED\r\n");
    EXPECT_NE(s.lastBox().find("The new text is in the file"), std::string::npos) << s.lastBox();
    s.io.dirSyncErrno = 0;
    ed.Cancel_Click();

    // A file that is there but cannot be read: the reason, and no Save over its formats.
    const std::string path = s.app.file("FILE.FMT");
    const std::string cannotOpen =
        "Can't open file: " + path + "\r\nPath:" + s.app.path().string() + ".";
    s.io.readFault = FaultyFileIo::ReadFault{.file = "FILE.FMT"};
    ed.mnuVwFmt_Click();
    EXPECT_EQ(s.dialogs.texts().back(), cannotOpen + "\r\nInput/output error.");
    ed.Text = "ONE\r\nA---E\r\nh";
    EXPECT_FALSE(ed.Save_Click());
    EXPECT_NE(s.lastBox().find("Nothing was saved"), std::string::npos) << s.lastBox();
    EXPECT_EQ(s.app.read("FILE.FMT"), "FLUSHED\r\n");
    ed.Cancel_Click();

    // A file that is not there: the message, the editor with its design text, and Save
    // makes the file.
    std::filesystem::remove(path);
    ed.mnuVwFmt_Click();
    EXPECT_EQ(s.dialogs.texts().back(), cannotOpen);
    EXPECT_EQ(ed.caption, FormatFileEditor::DesignCaption);
    EXPECT_EQ(ed.Text, "");
    ed.Text = "ONE";
    EXPECT_TRUE(ed.Save_Click());
    EXPECT_EQ(s.app.read("FILE.FMT"), "ONE\r\n");
}

} // namespace
