#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "common/FullIo.h"
#include "settings/IniFileSettingsStore.h"
#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::StartsWith;
using Records = std::vector<std::string>;

const std::string Three = "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n";
const Records Stored3{"00001FIRST   001.0a", "00002SECOND  002.0a", "00003THIRD   003.0a"};

off_t SlotAt(int n)
{
    return static_cast<off_t>((n - 1) * 21);
}

// Whatever read fails, the screen stays on the record it showed, under its own number, and
// what the operator changes next is written to that record's slot and no other.
TEST(ReadFailure, AStepWhoseReadFailsStaysOnTheRecordInHand)
{
    struct Row {
        const char* name;
        std::function<void(Started&)> toStart; // the record in hand before the step
        std::function<void(Started&)> step;
        int failing; // the slot whose read fails
        std::int64_t shortBytes;
        int stays;
        std::string shown;
        Records file; // after "9" is typed and the record left
    };
    const auto keys = [](auto... names) { return [=](Started& s) { s.key(names...); }; };
    const auto typed = [](const char* text) { return [=](Started& s) { s.type(text); }; };
    for (const Row& r : {
             Row{"up from the end", typed("00009"), keys("Up"), 3, -1, 4, "00009", Stored3},
             Row{"up to record 2",
                 keys("Up"),
                 keys("Up"),
                 2,
                 -1,
                 3,
                 "00003THIRD   003.0a",
                 {Stored3[0], Stored3[1], "90003THIRD   003.0a"}},
             Row{"up to record 2, cut short",
                 keys("Up"),
                 keys("Up"),
                 2,
                 7,
                 3,
                 "00003THIRD   003.0a",
                 {Stored3[0], Stored3[1], "90003THIRD   003.0a"}},
             Row{"down",
                 keys("Ctrl+Home"),
                 keys("Down"),
                 2,
                 -1,
                 1,
                 "00001FIRST   001.0a",
                 {"90001FIRST   001.0a", Stored3[1], Stored3[2]}},
             Row{"Ctrl+Home",
                 keys("Up"),
                 keys("Ctrl+Home"),
                 1,
                 -1,
                 3,
                 "00003THIRD   003.0a",
                 {Stored3[0], Stored3[1], "90003THIRD   003.0a"}},
             Row{"Ctrl+End, for the record to duplicate from",
                 keys("Ctrl+Home"),
                 keys("Ctrl+End"),
                 3,
                 -1,
                 1,
                 "00001FIRST   001.0a",
                 {"90001FIRST   001.0a", Stored3[1], Stored3[2]}},
             Row{"keyed through record 1",
                 keys("Ctrl+Home"),
                 typed("00001FIRXT   001.0"),
                 2,
                 -1,
                 1,
                 "00001FIRXT   001.0a",
                 {"90001FIRXT   001.0a", Stored3[1], Stored3[2]}},
             Row{"verified through record 1",
                 [](Started& s) {
                     s.e.mnuVerify_Click();
                     s.key("Ctrl+Home");
                 },
                 typed("00001FIRST   001.0"), 2, -1, 1, "00001FIRST   001.0a",
                 Stored3}, // Verify compares the 9 and keeps the stored 0
         }) {
        SCOPED_TRACE(r.name);
        Started s;
        s.openWith("s.dat", Three, "STOCK-19");
        r.toStart(s);
        s.io.readFault = FaultyFileIo::ReadFault{
            .shortBytes = r.shortBytes, .offset = SlotAt(r.failing), .file = "s.dat"};
        r.step(s);
        EXPECT_FALSE(s.io.readFault) << "the read meant to fail was not made";
        EXPECT_EQ(s.e.rec.CurRec, r.stays);
        EXPECT_EQ(s.dataRow(), r.shown);
        EXPECT_THAT(s.lastBox(),
                    StartsWith("Record" + text::SignedDec(r.failing) + " could not be read from " +
                               s.app.file("s.dat") + ": "));
        EXPECT_THAT(s.lastBox(),
                    HasSubstr("The screen stays on record" + text::SignedDec(r.stays) + "."));
        if (r.shortBytes >= 0) {
            EXPECT_THAT(s.lastBox(), HasSubstr("only 7 of its 19 characters could be read"));
        }
        s.type("9");
        s.key("Up");
        EXPECT_EQ(s.records("s.dat"), r.file);
    }
}

// Insertion and deletion move whole records; when the record to show afterwards cannot be
// read, nothing of another record is left to be written over.
TEST(ReadFailure, AfterAnInsertionOrDeletionAnUnreadRecordIsNotShown)
{
    {
        SCOPED_TRACE("insertion");
        Started s;
        s.openWith("s.dat", Three, "STOCK-19");
        s.key("Ctrl+Home", "Down");
        s.dialogs.answers = {Dialogs::Answer::Yes};
        s.e.rec.mnuInsRec_Click();
        s.io.readFault =
            FaultyFileIo::ReadFault{.offset = SlotAt(3), .file = "s.dat"}; // SECOND, moved up
        s.type("00009NEW     009.0");
        EXPECT_EQ(s.e.rec.CurRec, 2) << "the inserted record stays";
        EXPECT_EQ(s.dataRow(), "00009NEW     009.0a");
        EXPECT_THAT(s.lastBox(), HasSubstr("The screen stays on record 2."));
        s.type("9");
        s.key("Down");
        EXPECT_EQ(s.records("s.dat"),
                  (Records{Stored3[0], "90009NEW     009.0a", Stored3[1], Stored3[2]}));
    }
    {
        SCOPED_TRACE("deletion");
        Started s;
        s.openWith("s.dat", Three, "STOCK-19");
        s.key("Up");
        s.dialogs.answers = {Dialogs::Answer::Yes};
        s.io.readFault =
            FaultyFileIo::ReadFault{.offset = SlotAt(2), .file = "s.dat"}; // the new last record
        s.e.rec.mnuDelRec_Click();
        EXPECT_EQ(s.records("s.dat"), (Records{Stored3[0], Stored3[1]}));
        EXPECT_EQ(s.e.rec.CurRec, 3);
        EXPECT_FALSE(s.e.rec.CorrectMode);
        EXPECT_EQ(s.dataRow(), "") << "a new record, not the deleted one";
        EXPECT_THAT(s.lastBox(), HasSubstr("no previous record to duplicate from"));
        s.type("00003AGAIN   003.0");
        EXPECT_EQ(s.records("s.dat"), (Records{Stored3[0], Stored3[1], "00003AGAIN   003.0a"}));
    }
}

// An opening whose reads fail says so, and never sets the file up for keying.
TEST(ReadFailure, AnOpeningThatCannotReadTheFileSaysSo)
{
    struct Row {
        const char* name;
        int failing;
        std::string box;
        bool open; // the file stays open, for Close
    };
    for (const Row& r : {
             Row{"length check", 1, ": it could not be read (Input/output error)", false},
             Row{"record to duplicate from", 3, "could not be read: Input/output error", true},
         }) {
        SCOPED_TRACE(r.name);
        Started s;
        s.app.write("s.dat", Three);
        s.io.readFault = FaultyFileIo::ReadFault{.offset = SlotAt(r.failing), .file = "s.dat"};
        s.open("s.dat", "STOCK-19");
        EXPECT_THAT(s.lastBox(), HasSubstr(r.box));
        EXPECT_THAT(s.lastBox(), testing::Not(HasSubstr("Mismatch")));
        EXPECT_FALSE(s.e.file.ReadyForKeying());
        EXPECT_EQ(s.e.file.DataFileNo.isOpen(), r.open);
        s.type("00004FOURTH  004.0");
        EXPECT_EQ(s.app.read("s.dat"), Three);
    }
}

// A folder where a file of ours is bound to be: made here, as named pipes, sockets and
// devices are, for the table below.
using Make = std::function<void(const std::string& path)>;

void MakeFifo(const std::string& path)
{
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
}

void MakeSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof addr.sun_path);
    path.copy(addr.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd); // the name stays
}

void LinkTo(const std::string& target, const std::string& path)
{
    fs::create_symlink(target, path);
}

// No file the program reads waits for ever, crashes it or is taken for what it is not.
TEST(ReadFailure, SpecialFilesAreRefusedWithoutWaitingOrCrashing)
{
    struct Kind {
        const char* name;
        Make make;
        const char* reason; // in the refusal
    };
    for (const Kind& k : {
             Kind{"FIFO", MakeFifo, "it is a named pipe (FIFO), not a file"},
             Kind{"socket", MakeSocket, "it is a socket, not a file"},
             Kind{"device", [](const std::string& p) { LinkTo("/dev/zero", p); },
                  "it is a device, not a file"},
             Kind{"folder", [](const std::string& p) { fs::create_directory(p); },
                  "it is a folder, not a file"},
             Kind{"memory of the process",
                  [](const std::string& p) { LinkTo("/proc/self/mem", p); }, "Input/output error"},
         }) {
        SCOPED_TRACE(k.name);
        {
            Station s;
            k.make(s.app.file("kvscript.ini"));
            IniFileSettingsStore store(s.io, s.app.file("kvscript.ini"));
            std::vector<std::string> told;
            store.OnFailure = [&](const std::string& m) { told.push_back(m); };
            EXPECT_EQ(store.getSetting("Korvalen", "dupkey", "dupkey", "none"), "none");
            store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
            ASSERT_EQ(told.size(), 1u) << "the settings file";
            EXPECT_THAT(told[0], HasSubstr(k.reason));
            EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(s.app.file("kvscript.ini"))))
                << "not written over";
        }
        Started s;
        k.make(s.app.file("TIPOFDAY.TXT"));
        s.e.tip.Form_Load();
        EXPECT_THAT(s.e.tip.lblTipText, StartsWith("That the TIPOFDAY.TXT file was not found?"));

        k.make(s.app.file("k.dat"));
        s.open("k.dat", "STOCK-19");
        EXPECT_THAT(s.lastBox(), StartsWith("Error opening file " + s.app.file("k.dat") + ": "));
        EXPECT_THAT(s.lastBox(), HasSubstr(k.reason));
        EXPECT_FALSE(s.e.file.ReadyForKeying());

        fs::remove_all(s.app.file("FILE.FMT"));
        k.make(s.app.file("FILE.FMT"));
        EXPECT_FALSE(s.e.file.LoadFormat("STOCK"));
        EXPECT_THAT(s.lastBox(), HasSubstr(k.reason)) << "loading a format";
        s.e.file.mnuClose_Click();
        s.dialogs.openAnswers.push_back(s.app.file("new.dat"));
        s.e.file.mnuOpen_Click();
        EXPECT_THAT(s.lastBox(), HasSubstr("could not be read: " + std::string(k.reason)))
            << "listing the formats";
        EXPECT_FALSE(fs::exists(s.app.file("new.dat")));
    }
}

} // namespace
