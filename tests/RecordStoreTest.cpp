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

TEST(RecordStore, SteppingBackAndForthThroughStoredRecords)
{
    Stocked s;
    s.key("Up");
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_TRUE(s.e.rec.CorrectMode);
    EXPECT_EQ(s.dataRow(), "00003THIRD   003.0a");
    EXPECT_EQ(s.messageLine(), " -- Correct --");
    const WindowState& w = s.e.win;
    EXPECT_TRUE(w.mnuBack && w.mnuFwd && w.mnuInsRec && w.mnuDelRec);

    s.key("Up");
    s.key("Up");
    s.key("Up");
    EXPECT_EQ(s.e.rec.CurRec, 1) << "Up on record 1 stays there";
    EXPECT_EQ(s.dataRow(), "00001FIRST   001.0a");

    s.key("Down");
    s.key("Down");
    s.key("Down");
    EXPECT_EQ(s.e.rec.CurRec, 4);
    EXPECT_FALSE(s.e.rec.CorrectMode);
    EXPECT_EQ(s.messageLine(), " - O K -");
    EXPECT_EQ(s.dataRow(), "");
    EXPECT_TRUE(w.mnuBack && !w.mnuFwd && !w.mnuInsRec && !w.mnuDelRec);
    EXPECT_EQ(s.stored().size(), 3u);
}

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

TEST(RecordStore, LeavingTheNewRecordWritesNothing)
{
    Stocked s;
    s.type("00004HALF");
    s.key("Up");
    EXPECT_EQ(s.stored().size(), 3u);
    EXPECT_EQ(s.app.read("s.dat").size(), 63u);
    s.key("Ctrl+End");
    s.type("00004");
    s.key("Ctrl+Home");
    EXPECT_EQ(s.stored().size(), 3u);
    EXPECT_EQ(s.e.rec.CurRec, 1);
}

TEST(RecordStore, ControlHomeAndEndWriteTheChangedRecordFirst)
{
    Stocked s;
    s.key("Up");
    s.type("7");
    s.key("Ctrl+Home");
    EXPECT_EQ(s.stored()[2], "70003THIRD   003.0a");
    s.type("8");
    s.key("Ctrl+End");
    EXPECT_EQ(s.stored()[0], "80001FIRST   001.0a");
    EXPECT_EQ(s.e.rec.CurRec, 4);
    EXPECT_EQ(s.messageLine(), " -- OK --");
    // The new record duplicates from the last stored one.
    s.key("F12");
    EXPECT_EQ(s.dataRow(), "70003");
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

TEST(RecordStore, InsertedRecordOpensItsGapWhenCompleted)
{
    Stocked s;
    s.key("Ctrl+Home");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuInsRec_Click();
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].title, "Confirm Record Insertion");
    EXPECT_EQ(s.dialogs.boxes[0].text, "Insert Record at  1?");
    EXPECT_EQ(s.messageLine(), "Please input complete record");
    EXPECT_EQ(s.dataRow(), "");

    s.type("00000ZERO");
    s.key("Up");
    s.key("Ctrl+End");
    EXPECT_EQ(s.e.rec.CurRec, 1) << "navigation waits for the inserted record";
    s.key("Enter");
    s.type("000.5");

    EXPECT_EQ(s.stored(), (Records{"00000ZERO    000.5a", "00001FIRST   001.0a",
                                   "00002SECOND  002.0a", "00003THIRD   003.0a"}));
    EXPECT_EQ(s.e.rec.EndRec, 5);
    EXPECT_EQ(s.e.rec.CurRec, 2);
    EXPECT_EQ(s.messageLine(), " Current Rec:  2");
    EXPECT_EQ(s.e.status.ModeColor, 65280u);
    EXPECT_EQ(s.dataRow(), "00001FIRST   001.0a");
    EXPECT_FALSE(s.e.win.mnuInsRec || s.e.win.mnuDelRec);
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

TEST(RecordStore, DeletedRecordLeavesTheFileOneSlotShorter)
{
    Stocked s;
    s.key("Up");
    s.key("Up");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuDelRec_Click();
    EXPECT_EQ(s.dialogs.boxes.at(0).title, "Confirm Record Deletion");
    EXPECT_EQ(s.stored(), (Records{"00001FIRST   001.0a", "00003THIRD   003.0a"}));
    EXPECT_EQ(s.e.rec.EndRec, 3);
    EXPECT_EQ(s.e.rec.CurRec, 3);
    EXPECT_EQ(s.messageLine(), "Current Rec :  3");
    EXPECT_EQ(s.dataRow(), "") << "the end position is a blank new record";
    EXPECT_FALSE(s.e.rec.CorrectMode);
    EXPECT_FALSE(s.e.win.mnuInsRec || s.e.win.mnuDelRec);

    s.type("00004FOURTH  004.0");
    EXPECT_EQ(s.stored().back(), "00004FOURTH  004.0a");
    EXPECT_EQ(s.stored().size(), 3u);
}

TEST(RecordStore, FailedWriteKeepsTheRecordOnTheScreen)
{
    Stocked s;
    s.e.file.DataFileNo.close(); // the file is gone from under the program
    s.type("00004FOURTH  004.0");
    ASSERT_EQ(s.dialogs.boxes.size(), 2u);
    EXPECT_EQ(
        s.dialogs.boxes[0].text.rfind("Record 4 could not be written to " + s.app.file("s.dat"), 0),
        0u)
        << s.dialogs.boxes[0].text;
    EXPECT_EQ(s.dialogs.boxes[1].text, "The record stays on the screen; it is not stored.");
    EXPECT_EQ(s.e.rec.CurRec, 4);
    EXPECT_EQ(s.e.rec.EndRec, 4);
    EXPECT_EQ(s.dataRow(), "00004FOURTH  004.0");
    EXPECT_EQ(s.e.win.previousText, "") << "nothing was written";
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

TEST(Verify, MatchesAdvanceAndTheThirdMismatchReplaces)
{
    Verifying s;
    EXPECT_TRUE(s.e.win.mnuVerifyChecked);
    s.type("0000");
    EXPECT_EQ(s.e.scr.CurCol, 5);
    s.type("9");
    EXPECT_EQ(s.e.scr.CurCol, 5) << "a mismatch is keyed again";
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].title, "Verification");
    EXPECT_EQ(s.dialogs.boxes[0].text, "Mismatch");
    s.type("99");
    EXPECT_EQ(s.dialogs.boxes.size(), 3u);
    EXPECT_EQ(s.e.scr.CurCol, 6);
    EXPECT_EQ(s.e.rec.RecBuf.substr(0, 5), "00009");
    EXPECT_EQ(s.e.win.panels[5], "A(2)") << "the field under the cursor is followed";

    s.type("FIRST   001.0");
    EXPECT_EQ(s.e.rec.CurRec, 2);
    EXPECT_EQ(s.dataRow(), "00002SECOND  002.0a") << "the next record comes at once";
    EXPECT_EQ(s.stored()[0], "00009FIRST   001.0a");
}

TEST(Verify, BackspaceAcceptsTheNextMismatchesSilently)
{
    Verifying s;
    s.key("Backspace");
    EXPECT_EQ(s.e.scr.CurCol, 1);
    s.type("12");
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.e.rec.RecBuf.substr(0, 2), "12");
    EXPECT_EQ(s.dataRow().substr(0, 2), "12");
}

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

} // namespace
