#include <gtest/gtest.h>

#include "keying/KeyCodes.h"
#include "tests/support/Station.h"

namespace
{

using Records = std::vector<std::string>;

// Three stored STOCK records, the cursor on a new record at the end.
class Stocked : public Station
{
public:
    Stocked()
    {
        start();
        e.prefs.DupKeyCode = KeyCode::F12;
        app.write("s.dat", "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n");
        open("s.dat", "STOCK-19");
    }
    Records stored() const { return records("s.dat"); }
    // Changes a slot behind the program's back, to see whether it is written again.
    void overwriteOnDisk(int n, const std::string& rec)
    {
        std::string bytes = app.read("s.dat");
        bytes.replace(static_cast<std::size_t>((n - 1) * 21), 19, rec);
        app.write("s.dat", bytes);
    }
};

TEST(RecordStore, OnlyAChangedStoredRecordIsWrittenWhenLeft)
{
    Stocked s;
    s.key("Up");
    s.key("Up");
    s.overwriteOnDisk(2, "00002ELSEWHERE02.0a");
    s.key("Up"); // leaves record 2 unchanged
    s.type("9");
    s.key("Down"); // leaves record 1 changed
    EXPECT_EQ(s.stored(),
              (Records{"90001FIRST   001.0a", "00002ELSEWHERE02.0a", "00003THIRD   003.0a"}));
    EXPECT_EQ(s.e.win.previousText, "90001FIRST   001.0a");
    const WindowState& w = s.e.win;
    EXPECT_TRUE(w.mnuBack && w.mnuFwd && w.mnuInsRec && w.mnuDelRec) << "correcting record 2";
}

TEST(RecordStore, ControlAndHighCharactersAreStoredAsBlanks)
{
    std::string rec = "A\tB";
    rec += static_cast<char>(200);
    rec += static_cast<char>(128);
    rec += static_cast<char>(31);
    RecordStore::CleanRecord(rec);
    EXPECT_EQ(rec, std::string("A B ") + static_cast<char>(128) + " ");
}

TEST(RecordStore, KeyingThroughAStoredRecordShowsTheNextOne)
{
    Stocked s;
    s.key("Up");
    s.key("Up");
    s.type("00022SECOND  022.0");
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_EQ(s.dataRow(), "00003THIRD   003.0a");
    s.type("00033THIRD   033.0");
    EXPECT_EQ(s.e.rec.CurRec, 4);
    EXPECT_FALSE(s.e.rec.CorrectMode);
    EXPECT_EQ(s.dataRow(), "");
    EXPECT_EQ(s.stored(),
              (Records{"00001FIRST   001.0a", "00022SECOND  022.0a", "00033THIRD   033.0a"}));
}

TEST(RecordStore, AnsweringNoInsertsOrDeletesNothing)
{
    Stocked s;
    s.key("Up");
    s.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
    s.e.rec.mnuInsRec_Click();
    s.e.rec.mnuDelRec_Click();
    EXPECT_FALSE(s.e.rec.InsertPending);
    EXPECT_EQ(s.stored().size(), 3u);
    EXPECT_EQ(s.dialogs.boxes[1].text, "Delete number  3?");
    EXPECT_EQ(s.dialogs.boxes[1].icon, Dialogs::Icon::Question);
}

class Verifying : public Stocked
{
public:
    Verifying()
    {
        e.mnuVerify_Click();
        key("Ctrl+Home");
    }
};

TEST(Verify, RecordVerifiedWithoutChangesIsNotRewritten)
{
    Verifying s;
    s.overwriteOnDisk(1, "00001FIRST   001.0a");
    s.type("00001FIRST   001.0");
    s.overwriteOnDisk(1, "00001CHANGED 001.0a");
    s.type("00002SECOND  002.0");
    EXPECT_EQ(s.stored()[0], "00001CHANGED 001.0a");
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_TRUE(s.dialogs.boxes.empty());
}

TEST(Verify, MemoryRecallIsComparedLikeKeying)
{
    Verifying s;
    s.e.prefs.MemKeys[5] = Preferences::FixedMemText("00001");
    s.e.prefs.MemKeys[6] = Preferences::FixedMemText("FIRZT");
    s.key("F5");
    EXPECT_EQ(s.e.scr.CurCol, 6);
    s.key("F6");
    EXPECT_EQ(s.dialogs.texts(), std::vector<std::string>{"Mismatch"});
    EXPECT_EQ(s.e.scr.CurCol, 9) << "stopped on the mismatch, for the operator to key";
    EXPECT_EQ(s.e.rec.RecBuf.substr(5, 5), "FIRST");
}

TEST(Verify, ARecordBeingInsertedCanBeCorrectedWithBackspace)
{
    Verifying s;
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuInsRec_Click();
    s.type("00098");
    s.key("Backspace");
    EXPECT_EQ(s.e.scr.CurCol, 5);
    s.type("5NEW     009.5");
    EXPECT_EQ(s.stored().front(), "00095NEW     009.5a");
    EXPECT_EQ(s.stored().size(), 4u);
    EXPECT_EQ(s.dialogs.texts().size(), 1u) << "only the confirmation";
}

} // namespace
