#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "common/NewCopy.h"
#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::StartsWith;

const std::string Three = "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n";
const std::string Fourth = "00004FOURTH  004.0"; // a whole record; the format letter is added

// Three stored STOCK records; every file call goes through the station's fault layer.
struct Stored : Started {
    Stored() { openWith("s.dat", Three, "STOCK-19"); }
    // Record n on the screen, and Yes ready for the question of the Edit command.
    void at(int n)
    {
        key("Ctrl+Home");
        for (int k = 1; k < n; ++k)
            key("Down");
        dialogs.answers.push_back(Dialogs::Answer::Yes);
    }
};

// A record that did not reach the disk stays on the screen, is not counted, and leaves the
// file exactly as it was. Keyed again it goes in, unless a failed flush left the file
// untrusted: then keying stops until the file is closed. A full disk still lets a record be
// overwritten in place, so only a new record meets it.
TEST(Durability, FailedWriteLeavesTheFileAsItWasAndTheRecordOnTheScreen)
{
    struct Row {
        const char* name;
        void (*fault)(FaultyFileIo&);
        int rec; // 4: a new record at the end; 2: a correction
        bool trustedAfter = true;
    };
    const auto full = [](FaultyFileIo& io) { io.writeBudget = 7; };
    const auto broken = [](FaultyFileIo& io) {
        io.writeOnce = FaultyFileIo::Once{}, io.partBytes = 9;
    };
    const auto unflushed = [](FaultyFileIo& io) { io.datasyncErrno = EIO; };
    for (const Row& r : {Row{"full", full, 4}, Row{"write", broken, 4}, Row{"write", broken, 2},
                         Row{"flush", unflushed, 4, false}, Row{"flush", unflushed, 2, false}}) {
        SCOPED_TRACE(r.name + std::string(" fails, record ") + std::to_string(r.rec));
        Stored s;
        if (r.rec == 2)
            s.key("Up", "Up");
        r.fault(s.io);
        s.type(Fourth);
        EXPECT_EQ(s.app.read("s.dat"), Three);
        EXPECT_EQ(s.e.rec.EndRec, 4);
        EXPECT_EQ(s.e.rec.CurRec, r.rec);
        EXPECT_THAT(s.dataRow(), StartsWith(Fourth));
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_THAT(s.lastBox(),
                    StartsWith("Record " + std::to_string(r.rec) + " could not be written to " +
                               s.app.file("s.dat") + ": "));
        EXPECT_THAT(s.lastBox(), HasSubstr("it is not stored"));
        EXPECT_EQ(s.e.file.DataFileNo.trusted(), r.trustedAfter);

        s.io = FaultyFileIo(); // space again, or a new try
        s.type("0");           // the last position again: the record is completed once more
        if (r.trustedAfter) {
            EXPECT_EQ(s.dialogs.boxes.size(), 1u);
            EXPECT_EQ(s.records("s.dat").at(r.rec - 1), Fourth + "a");
            continue;
        }
        ASSERT_EQ(s.dialogs.boxes.size(), 2u);
        EXPECT_THAT(s.lastBox(), HasSubstr("Close the file"));
        EXPECT_THAT(s.dataRow(), StartsWith(Fourth)) << "the record in hand stays";
        EXPECT_EQ(s.app.read("s.dat"), Three);
        s.dialogs.answers = {Dialogs::Answer::Yes}; // the record in hand is given up
        s.e.file.mnuClose_Click();
        s.open("s.dat", "STOCK-19");
        s.type(Fourth);
        EXPECT_EQ(s.records("s.dat").size(), 4u) << "a fresh opening is trusted again";
    }
}

// Insertion and deletion either happen whole or leave the file, the counters and the
// screen as they were; an insertion keyed again once the fault is gone goes in.
TEST(Durability, FailedInsertOrDeleteLeavesTheFileUnchanged)
{
    struct Fault {
        std::function<void(Stored&)> set;
        const char* reason; // found in the message
    };
    for (const Fault& f : {
             Fault{[](Stored& s) { s.io.freeSpace = 40; }, "not enough free space"},
             Fault{[](Stored& s) { s.io.writeBudget = 30; }, "No space left on device"},
             Fault{[](Stored& s) { s.io.datasyncErrno = EIO; }, "Input/output error"},
             Fault{[](Stored& s) { s.io.renameOnce = FaultyFileIo::Once{.err = EACCES}; },
                   "Permission denied"},
             Fault{[](Stored& s) { s.dialogs.cancelProgressAt = 2; }, "cancelled"},
             Fault{[](Stored& s) { s.io.readFault = FaultyFileIo::ReadFault{}; },
                   "Input/output error"}, // reading the file into its copy
         }) {
        for (const bool inserting : {true, false}) {
            SCOPED_TRACE(std::string(f.reason) + (inserting ? ", insert" : ", delete"));
            Stored s;
            s.at(2);
            if (inserting) {
                s.e.rec.mnuInsRec_Click();
                s.type("00009NEW     009.");
            }
            f.set(s);
            inserting ? s.type("0") : s.e.rec.mnuDelRec_Click();
            EXPECT_EQ(s.app.read("s.dat"), Three);
            EXPECT_EQ(s.names(), (std::vector<std::string>{"FILE.FMT", "dupoff.bmp", "s.dat"}));
            EXPECT_EQ(s.e.rec.EndRec, 4);
            EXPECT_EQ(s.e.rec.CurRec, 2);
            EXPECT_THAT(s.lastBox(), HasSubstr(f.reason));
            EXPECT_THAT(s.lastBox(), HasSubstr("The file is unchanged"));
            if (!inserting)
                continue;
            EXPECT_TRUE(s.e.rec.InsertPending);
            EXPECT_EQ(s.dataRow(), "00009NEW     009.0") << "the inserted record stays";
            s.io = FaultyFileIo();
            s.dialogs.cancelProgressAt = 0;
            s.type("0");
            EXPECT_FALSE(s.e.rec.InsertPending);
            EXPECT_EQ(s.records("s.dat"),
                      (std::vector<std::string>{"00001FIRST   001.0a", "00009NEW     009.0a",
                                                "00002SECOND  002.0a", "00003THIRD   003.0a"}));
        }
    }
}

// Every stored record is flushed before its key returns; insertion and deletion switch whole
// files, and the new file holds the lock at once. Copies left beside it go at opening.
TEST(Durability, StoredRecordsAreFlushedAndWholeFilesSwitched)
{
    Stored s;
    const int before = s.io.datasyncs;
    s.type(Fourth);
    EXPECT_EQ(s.io.datasyncs, before + 1) << "the completed record";
    s.key("Up");
    s.type("9");
    s.key("Down"); // leaving a changed stored record
    EXPECT_EQ(s.io.datasyncs, before + 2);
    const std::string four = Three + "90004FOURTH  004.0a\r\n";
    EXPECT_EQ(s.app.read("s.dat"), four);

    s.at(1);
    s.e.rec.mnuInsRec_Click();
    s.type("00009NEW     009.0");
    EXPECT_EQ(s.io.renames, 1);
    EXPECT_EQ(s.records("s.dat").front(), "00009NEW     009.0a");
    EXPECT_EQ(s.e.win.previousText, "00009NEW     009.0a");
    FaultyFileIo other; // the new file holds the lock: a second station is refused
    EXPECT_FALSE(DataFile::Open(other, s.app.file("s.dat"), false).ok());

    s.at(1);
    s.e.rec.mnuDelRec_Click();
    EXPECT_EQ(s.app.read("s.dat"), four);
    EXPECT_EQ(s.io.renames, 2);
    EXPECT_EQ(s.names(), (std::vector<std::string>{"FILE.FMT", "dupoff.bmp", "s.dat"}));
    EXPECT_GT(s.dialogs.progressReports, 0);

    // A folder not flushed after the switch: the new content is in place, keying stops.
    s.io.dirSyncErrno = EIO;
    s.at(3);
    s.e.rec.mnuDelRec_Click();
    EXPECT_EQ(s.records("s.dat").size(), 3u);
    EXPECT_FALSE(s.e.file.DataFileNo.trusted());
    EXPECT_THAT(s.lastBox(), HasSubstr("Close the file"));

    // A copy left by a crash is removed at the next opening.
    s.e.file.mnuClose_Click();
    s.io = FaultyFileIo();
    const std::string leftover = NewCopy::NameFor(s.app.file("s.dat"), 123, 0);
    s.app.write(leftover, "00001FIRST   001.0a\r\n");
    s.open("s.dat", "STOCK-19");
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_EQ(s.e.rec.EndRec, 4);
}

// Every name a file can have can be inserted into and deleted from: the copy's name is cut
// to fit.
TEST(Durability, TheLongestNamesCanBeInsertedIntoAndDeletedFrom)
{
    for (const std::size_t length : {226u, 236u, 255u}) {
        SCOPED_TRACE(length);
        Started s;
        const std::string name = std::string(length - 4, 'L') + ".dat";
        s.openWith(name, Three, "STOCK-19");
        s.key("Ctrl+Home");
        s.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Yes};
        s.e.rec.mnuInsRec_Click();
        s.type("00009NEW     009.0");
        ASSERT_EQ(s.records(name).size(), 4u) << s.lastBox();
        s.key("Ctrl+Home");
        s.e.rec.mnuDelRec_Click();
        EXPECT_EQ(s.app.read(name), Three) << s.lastBox();
    }
}

// Three ways to a file that is not set up for keying: none of the record commands or
// record keys may touch it.
TEST(Durability, RecordCommandsLeaveAFileThatIsNotSetUpAlone)
{
    for (const std::string& content :
         {std::string(), std::string("0001ONE   001.0a\r\n"), Three + "00004FOUR"}) {
        SCOPED_TRACE(content.empty() ? "after Close" : content);
        Stored s;
        s.key("Up"); // Previous and Delete are live for the first file
        ASSERT_TRUE(s.e.win.mnuBack && s.e.win.mnuDelRec);
        s.e.file.mnuClose_Click();
        const std::string name = content.empty() ? "s.dat" : "other.dat";
        if (!content.empty())
            s.openWith(name, content, "STOCK-19"); // a failed length check; a fragment
        const std::string before = s.app.read(name);
        const WindowState& w = s.e.win;
        EXPECT_FALSE(w.mnuBack || w.mnuFwd || w.mnuInsRec || w.mnuDelRec);
        s.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Yes};
        s.e.rec.GoBack();
        s.e.rec.mnuDelRec_Click();
        s.e.rec.mnuInsRec_Click();
        s.e.rec.GoFwd();
        s.key("Up", "Ctrl+Home", "Down", "Ctrl+End");
        s.type("00099TYPED   099.0");
        s.key("Up");
        EXPECT_EQ(s.app.read(name), before);
        EXPECT_FALSE(s.e.scr.RecordShown);
    }
}

} // namespace
