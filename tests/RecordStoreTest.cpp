#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

using Records = std::vector<std::string>;

// Three stored STOCK records, the cursor on a new record at the end.
struct Stocked : Started {
    Stocked()
    {
        openWith("s.dat", "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n",
                 "STOCK-19");
    }
    // Changes a slot behind the program's back, to see whether it is written again.
    void overwriteOnDisk(int n, const std::string& rec)
    {
        std::string bytes = app.read("s.dat");
        bytes.replace(static_cast<std::size_t>((n - 1) * 21), 19, rec);
        app.write("s.dat", bytes);
    }
};

TEST(RecordStore, CorrectingWritesOnlyChangedRecordsAsksBeforeInsertOrDeleteAndCleans)
{
    Stocked s;
    s.key("Up", "Up");
    s.overwriteOnDisk(2, "00002ELSEWHERE02.0a");
    s.key("Up"); // leaves record 2 unchanged
    s.type("9");
    s.key("Down"); // leaves record 1 changed
    EXPECT_EQ(s.records("s.dat"),
              (Records{"90001FIRST   001.0a", "00002ELSEWHERE02.0a", "00003THIRD   003.0a"}));
    EXPECT_EQ(s.e.win.previousText, "90001FIRST   001.0a");
    const WindowState& w = s.e.win;
    EXPECT_TRUE(w.mnuBack && w.mnuFwd && w.mnuInsRec && w.mnuDelRec) << "correcting record 2";

    // Keying through a stored record shows the next one; past the last, a new record.
    s.type("00022SECOND  022.0");
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_EQ(s.dataRow(), "00003THIRD   003.0a");
    s.type("00033THIRD   033.0");
    EXPECT_EQ(s.e.rec.CurRec, 4);
    EXPECT_FALSE(s.e.rec.CorrectMode);
    EXPECT_EQ(s.dataRow(), "");
    const Records keyed{"90001FIRST   001.0a", "00022SECOND  022.0a", "00033THIRD   033.0a"};
    EXPECT_EQ(s.records("s.dat"), keyed);

    // Answered No, Insert and Delete change nothing.
    s.key("Up");
    s.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    s.e.rec.mnuInsRec_Click();
    s.e.rec.mnuDelRec_Click();
    EXPECT_FALSE(s.e.rec.InsertPending);
    EXPECT_EQ(s.records("s.dat"), keyed);
    ASSERT_EQ(s.dialogs.boxes.size(), 2u);
    EXPECT_EQ(s.dialogs.boxes[1].text, "Delete number  3?");
    EXPECT_EQ(s.dialogs.boxes[1].icon, Dialogs::Icon::Question);

    // Control and high characters are stored as blanks.
    std::string rec = "A\tB\xC8\x80\x1F";
    RecordStore::CleanRecord(rec);
    EXPECT_EQ(rec, "A B \x80 ");
}

// A record inserted in Verify mode is keyed, not compared, so Backspace corrects it; a
// stored record keyed alike is not written again; memory recall is compared.
TEST(Verify, InsertedRecordsAreKeyedAndUnchangedOnesNotRewritten)
{
    Stocked s;
    s.e.mnuVerify_Click();
    s.key("Ctrl+Home");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuInsRec_Click();
    s.type("00098");
    s.key("Backspace");
    EXPECT_EQ(s.e.scr.CurCol, 5);
    s.type("5NEW     009.5");
    EXPECT_EQ(s.records("s.dat"), (Records{"00095NEW     009.5a", "00001FIRST   001.0a",
                                           "00002SECOND  002.0a", "00003THIRD   003.0a"}));
    EXPECT_EQ(s.dialogs.texts().size(), 1u) << "only the confirmation";

    s.key("Ctrl+Home");
    s.type("00095NEW     009.5");
    s.overwriteOnDisk(1, "00095CHANGED 009.5a");
    s.type("00001FIRST   001.0");
    EXPECT_EQ(s.records("s.dat")[0], "00095CHANGED 009.5a");
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_EQ(s.dialogs.texts().size(), 1u);

    s.e.prefs.MemKeys[5] = Preferences::FixedMemText("00002");
    s.e.prefs.MemKeys[6] = Preferences::FixedMemText("SEXON");
    s.key("F5");
    EXPECT_EQ(s.e.scr.CurCol, 6);
    s.key("F6");
    EXPECT_EQ(s.dialogs.texts().back(), "Mismatch");
    EXPECT_EQ(s.dialogs.texts().size(), 2u);
    EXPECT_EQ(s.e.scr.CurCol, 8) << "stopped on the mismatch, for the operator to key";
    EXPECT_EQ(s.e.rec.RecBuf.substr(5, 5), "SECON");
}

} // namespace
