#include <gtest/gtest.h>

#include <functional>

#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;

const std::string Three = "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n";

// Three stored STOCK records; every file call goes through the station's fault layer.
class Stored : public Station
{
public:
    Stored()
    {
        start();
        app.write("s.dat", Three);
        open("s.dat", "STOCK-19");
    }
    std::string bytes() const { return app.read("s.dat"); }
    bool copiesLeft() const
    {
        for (const auto& entry : fs::directory_iterator(app.path()))
            if (entry.path().filename().string().find(".kvnew-") != std::string::npos)
                return true;
        return false;
    }
    std::string lastBox() const { return dialogs.boxes.empty() ? "" : dialogs.boxes.back().text; }
    // Starts an insertion before record n and keys the new record but for its last position.
    void goTo(int n)
    {
        key("Ctrl+Home");
        for (int k = 1; k < n; ++k)
            key("Down");
    }
    void insertBefore(int n)
    {
        goTo(n);
        dialogs.answers.push_back(Dialogs::Answer::Yes);
        e.rec.mnuInsRec_Click();
        type("00009NEW     009.");
    }
    void deleteRecord(int n)
    {
        goTo(n);
        dialogs.answers.push_back(Dialogs::Answer::Yes);
        e.rec.mnuDelRec_Click();
    }
};

TEST(Durability, EveryStoredRecordIsFlushedBeforeTheKeyReturns)
{
    Stored s;
    const int before = s.io.datasyncs;
    s.type("00004FOURTH  004.0");
    EXPECT_EQ(s.io.datasyncs, before + 1) << "the completed record";
    s.key("Up");
    s.type("9");
    s.key("Down"); // leaving a changed stored record
    EXPECT_EQ(s.io.datasyncs, before + 2);
    EXPECT_EQ(s.records("s.dat")[3], "90004FOURTH  004.0a");
}

struct WriteFault {
    const char* name;
    std::function<void(FaultyFileIo&)> set;
    bool trustedAfter;
    bool growingOnly; // a full disk still lets a record be overwritten in place
};

void PrintTo(const WriteFault& f, std::ostream* os)
{
    *os << f.name;
}

class FailedWrite : public testing::TestWithParam<WriteFault>
{
};

// A record that did not reach the disk stays on the screen, is not counted, and leaves the
// file exactly as it was.
TEST_P(FailedWrite, LeavesTheFileAsItWasAndTheRecordOnTheScreen)
{
    for (const bool append : {true, false}) {
        SCOPED_TRACE(append ? "new record at the end" : "correcting record 2");
        if (!append && GetParam().growingOnly)
            continue;
        Stored s;
        if (!append) {
            s.key("Up");
            s.key("Up");
        }
        GetParam().set(s.io);
        s.type("00004FOURTH  004.0");
        EXPECT_EQ(s.bytes(), Three);
        EXPECT_EQ(s.e.rec.EndRec, 4);
        EXPECT_EQ(s.e.rec.CurRec, append ? 4 : 2);
        EXPECT_EQ(s.dataRow().rfind("00004FOURTH  004.0", 0), 0u) << s.dataRow();
        ASSERT_FALSE(s.dialogs.boxes.empty());
        const std::string box = s.dialogs.boxes.front().text;
        EXPECT_EQ(box.rfind("Record" + std::string(append ? " 4" : " 2") +
                                " could not be written to " + s.app.file("s.dat") + ": ",
                            0),
                  0u)
            << box;
        EXPECT_NE(box.find("it is not stored"), std::string::npos) << box;
        EXPECT_EQ(s.e.file.DataFileNo.trusted(), GetParam().trustedAfter);

        // Space again, or a new try: a fault that left the file trusted lets the key through;
        // after a failed flush keying stops until the file is closed.
        s.io = FaultyFileIo();
        const auto boxes = s.dialogs.boxes.size();
        s.type("0"); // the last position again: the record is completed once more
        if (GetParam().trustedAfter) {
            EXPECT_EQ(s.dialogs.boxes.size(), boxes);
            continue;
        }
        ASSERT_EQ(s.dialogs.boxes.size(), boxes + 1);
        EXPECT_NE(s.lastBox().find("Close the file"), std::string::npos) << s.lastBox();
        EXPECT_EQ(s.dataRow().rfind("00004FOURTH  004.0", 0), 0u) << "the record in hand stays";
        s.e.file.mnuClose_Click();
        s.open("s.dat", "STOCK-19");
        s.type("00004FOURTH  004.0");
        EXPECT_EQ(s.records("s.dat").size(), 4u) << "a fresh opening is trusted again";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedWrite,
    testing::Values(
        WriteFault{"DiskFullPartWay", [](FaultyFileIo& io) { io.writeBudget = 7; }, true, true},
        WriteFault{"IoErrorPartWay",
                   [](FaultyFileIo& io) {
                       io.nextWriteErrno = EIO;
                       io.partBytes = 9;
                   },
                   true, false},
        WriteFault{"FlushFails", [](FaultyFileIo& io) { io.datasyncErrno = EIO; }, false, false}),
    [](const auto& row) { return std::string(row.param.name); });

struct SwitchFault {
    const char* name;
    std::function<void(Stored&)> set;
    const char* reason; // found in the message
};

void PrintTo(const SwitchFault& f, std::ostream* os)
{
    *os << f.name;
}

class FailedSwitch : public testing::TestWithParam<SwitchFault>
{
};

// Insertion and deletion either happen whole or leave the file, the counters and the
// screen as they were.
TEST_P(FailedSwitch, LeavesTheFileUnchanged)
{
    for (const bool inserting : {true, false}) {
        SCOPED_TRACE(inserting ? "insert" : "delete");
        Stored s;
        if (inserting)
            s.insertBefore(2);
        GetParam().set(s);
        if (inserting)
            s.type("0");
        else
            s.deleteRecord(2);
        EXPECT_EQ(s.bytes(), Three);
        EXPECT_FALSE(s.copiesLeft());
        EXPECT_EQ(s.e.rec.EndRec, 4);
        EXPECT_EQ(s.e.rec.CurRec, 2);
        EXPECT_NE(s.lastBox().find(GetParam().reason), std::string::npos) << s.lastBox();
        EXPECT_NE(s.lastBox().find("The file is unchanged"), std::string::npos) << s.lastBox();
        if (!inserting)
            continue;
        EXPECT_TRUE(s.e.rec.InsertPending);
        EXPECT_EQ(s.dataRow(), "00009NEW     009.0") << "the inserted record stays";
        s.io = FaultyFileIo();
        s.dialogs.cancelProgressAt = 0;
        s.type("0"); // keyed again once the disk has room
        EXPECT_FALSE(s.e.rec.InsertPending);
        EXPECT_EQ(s.records("s.dat"),
                  (std::vector<std::string>{"00001FIRST   001.0a", "00009NEW     009.0a",
                                            "00002SECOND  002.0a", "00003THIRD   003.0a"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedSwitch,
    testing::Values(SwitchFault{"NotEnoughSpace", [](Stored& s) { s.io.freeSpace = 40; },
                                "not enough free space"},
                    SwitchFault{"DiskFullDuringCopy", [](Stored& s) { s.io.writeBudget = 30; },
                                "No space left on device"},
                    SwitchFault{"CopyNotFlushed", [](Stored& s) { s.io.datasyncErrno = EIO; },
                                "Input/output error"},
                    SwitchFault{"RenameRefused", [](Stored& s) { s.io.renameErrno = EACCES; },
                                "Permission denied"},
                    SwitchFault{"Cancelled", [](Stored& s) { s.dialogs.cancelProgressAt = 2; },
                                "cancelled"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Durability, InsertAndDeleteSwitchWholeFilesUnderTheLock)
{
    Stored s;
    s.insertBefore(1);
    s.type("0");
    EXPECT_EQ(s.io.renames, 1);
    EXPECT_EQ(s.records("s.dat").front(), "00009NEW     009.0a");
    EXPECT_EQ(s.e.win.previousText, "00009NEW     009.0a");
    // The new file holds the lock: a second station is refused.
    FaultyFileIo other;
    EXPECT_FALSE(DataFile::Open(other, s.app.file("s.dat"), false).ok());

    s.deleteRecord(1);
    EXPECT_EQ(s.bytes(), Three);
    EXPECT_EQ(s.io.renames, 2);
    EXPECT_FALSE(s.copiesLeft());
    EXPECT_GT(s.dialogs.progressReports, 0);
}

TEST(Durability, FolderNotFlushedAfterTheSwitchStopsKeying)
{
    Stored s;
    s.io.dirSyncErrno = EIO;
    s.deleteRecord(3);
    EXPECT_EQ(s.records("s.dat").size(), 2u) << "the new content is in place";
    EXPECT_FALSE(s.e.file.DataFileNo.trusted());
    EXPECT_NE(s.lastBox().find("Close the file"), std::string::npos) << s.lastBox();
}

TEST(Durability, ACopyLeftByACrashIsRemovedAtOpening)
{
    Station s;
    s.start();
    s.app.write("s.dat", Three);
    const std::string leftover = DataFile::CopyPrefix(s.app.file("s.dat")) + "123-0";
    TempDir::Write(leftover, "00001FIRST   001.0a\r\n");
    s.open("s.dat", "STOCK-19");
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_EQ(s.e.rec.EndRec, 4);
}

// Three ways to a file that is not set up for keying: none of the record commands or
// record keys may touch it.
TEST(Durability, RecordCommandsLeaveAFileThatIsNotSetUpAlone)
{
    struct Way {
        const char* name;
        std::string content;
        bool close;
    };
    for (const Way& way : {Way{"after Close", Three, true},
                           Way{"after a failed length check", "0001ONE   001.0a\r\n", false},
                           Way{"after a refused fragment", Three + "00004FOUR", false}}) {
        SCOPED_TRACE(way.name);
        Station s;
        s.start();
        s.app.write("first.dat", Three);
        s.open("first.dat", "STOCK-19");
        s.key("Up"); // Previous and Delete are live for the first file
        ASSERT_TRUE(s.e.win.mnuBack && s.e.win.mnuDelRec);
        s.e.file.mnuClose_Click();
        const std::string name = way.close ? "first.dat" : "second.dat";
        if (!way.close) {
            s.app.write(name, way.content);
            s.open(name, "STOCK-19");
        }
        const std::string before = s.app.read(name);
        const WindowState& w = s.e.win;
        EXPECT_FALSE(w.mnuBack || w.mnuFwd || w.mnuInsRec || w.mnuDelRec);
        s.dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::Yes};
        s.e.rec.GoBack();
        s.e.rec.mnuDelRec_Click();
        s.e.rec.mnuInsRec_Click();
        s.e.rec.GoFwd();
        for (const char* k : {"Up", "Ctrl+Home", "Down", "Ctrl+End"})
            s.key(k);
        s.type("00099TYPED   099.0");
        s.key("Up");
        EXPECT_EQ(s.app.read(name), before);
        EXPECT_FALSE(s.e.scr.RecordShown);
    }
}

} // namespace
