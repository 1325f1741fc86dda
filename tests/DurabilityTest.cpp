#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>

#include "common/NewCopy.h"
#include "settings/IniFileSettingsStore.h"
#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::StartsWith;

const std::string Three = "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n";
const std::string Fourth = "00004FOURTH  004.0"; // a whole record; the format letter is added
using Records = std::vector<std::string>;
const Records Stored3{"00001FIRST   001.0a", "00002SECOND  002.0a", "00003THIRD   003.0a"};

// A session as the operator keys it, steps split by ", ": 'text' typed, Verify, Insert and
// Delete (answered Yes) from the menu, anything else a named key.
void Keys(Started& s, const std::string& session)
{
    std::istringstream in(session);
    for (std::string step; std::getline(in >> std::ws, step, ',');) {
        if (step.front() == '\'')
            s.type(step.substr(1, step.size() - 2));
        else if (step == "Verify")
            s.e.mnuVerify_Click();
        else if (step == "Insert" || step == "Delete") {
            s.dialogs.answers = {Dialogs::Answer::Yes};
            step == "Insert" ? s.e.rec.mnuInsRec_Click() : s.e.rec.mnuDelRec_Click();
        } else
            s.press(step);
    }
}

// Three stored STOCK records; every file call goes through the station's fault layer.
struct Stored : Started {
    explicit Stored(const std::string& name = "s.dat") { openWith(name, Three, "STOCK-19"); }
};

// A record that did not reach the disk stays on the screen, is not counted, and leaves the
// file exactly as it was; an insertion or a deletion either happens whole or leaves the file,
// the counters and the screen as they were. Keyed again once the fault is gone, the record
// goes in, unless a failed flush left the file untrusted: then keying stops until the file is
// closed. A full disk still lets a record be overwritten in place, so only a new one meets it.
TEST(Durability, AFailedChangeLeavesTheFileAsItWasAndTheRecordOnTheScreen)
{
    struct Fault {
        void (*set)(Stored&);
        const char* says;
        const char* changes; // a New record 4, a Fix of record 2, an Insert or a Delete at 2
        bool trustedAfter = true;
    };
    using Once = FaultyFileIo::Once;
    const char* const Eio = "Input/output error";
    for (const Fault& f : {
             Fault{[](Stored& s) { s.io.writeBudget = 7; }, "No space left on device", "N"},
             Fault{[](Stored& s) { s.io.writeOnce = Once{}, s.io.partBytes = 9; }, Eio, "NF"},
             Fault{[](Stored& s) { s.io.datasyncErrno = EIO; }, Eio, "NF", false},
             Fault{[](Stored& s) { s.io.freeSpace = 40; }, "not enough free space", "ID"},
             Fault{[](Stored& s) { s.io.writeBudget = 30; }, "No space left on device", "ID"},
             Fault{[](Stored& s) { s.io.datasyncErrno = EIO; }, Eio, "ID"},
             Fault{[](Stored& s) { s.io.renameOnce = Once{.err = EACCES}; }, "Permission", "ID"},
             Fault{[](Stored& s) { s.dialogs.cancelProgressAt = 2; }, "cancelled", "ID"},
             // reading the file into its copy
             Fault{[](Stored& s) { s.io.readFault = FaultyFileIo::ReadFault{}; }, Eio, "ID"},
         }) {
        for (const char op : std::string(f.changes)) {
            SCOPED_TRACE(f.says + std::string(", ") + op);
            const int rec = op == 'N' ? 4 : 2;
            const bool edit = op == 'I' || op == 'D';
            Stored s;
            Keys(s, op == 'N' ? "Ctrl+End, Down" : "Ctrl+Home, Down");
            if (op == 'I')
                Keys(s, "Insert, '00009NEW     009.'");
            f.set(s);
            op == 'D' ? Keys(s, "Delete") : s.type(op == 'I' ? "0" : Fourth);
            EXPECT_EQ(s.app.read("s.dat"), Three);
            EXPECT_EQ(s.names(), (Records{"FILE.FMT", "dupoff.bmp", "s.dat"}));
            EXPECT_EQ(s.e.rec.EndRec, 4);
            EXPECT_EQ(s.e.rec.CurRec, rec);
            const std::string shown = op == 'I' ? "00009NEW     009.0" : Fourth;
            EXPECT_THAT(s.dataRow(), StartsWith(op == 'D' ? "00002SECOND  002.0a" : shown));
            ASSERT_EQ(s.dialogs.boxes.size(), edit ? 2u : 1u); // after the question
            EXPECT_THAT(s.lastBox(), HasSubstr(f.says));
            if (edit) {
                EXPECT_THAT(s.lastBox(), HasSubstr("The file is unchanged"));
                EXPECT_EQ(s.e.rec.InsertPending, op == 'I');
            } else {
                EXPECT_THAT(s.lastBox(),
                            StartsWith("Record " + std::to_string(rec) +
                                       " could not be written to " + s.app.file("s.dat") + ": "));
                EXPECT_THAT(s.lastBox(), HasSubstr("it is not stored"));
            }
            EXPECT_EQ(s.e.file.DataFileNo.trusted(), f.trustedAfter);
            if (op == 'D')
                continue;

            s.io = FaultyFileIo(); // space again, or a new try
            s.dialogs.cancelProgressAt = 0;
            const auto boxes = s.dialogs.boxes.size();
            s.type("0"); // the last position again: the record is completed once more
            if (f.trustedAfter) {
                Records stored = Stored3;
                if (op == 'I')
                    stored.insert(stored.begin() + 1, "00009NEW     009.0a");
                else
                    (op == 'N' ? stored.emplace_back() : stored[1]) = Fourth + "a";
                EXPECT_EQ(s.records("s.dat"), stored);
                EXPECT_EQ(s.dialogs.boxes.size(), boxes);
                EXPECT_FALSE(s.e.rec.InsertPending);
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
}

// Every stored record is flushed before its key returns; insertion and deletion switch whole
// files, and the new file holds the lock at once; the copy's name is cut to fit beside the
// longest name a file can have. Copies left beside it go at opening.
TEST(Durability, StoredRecordsAreFlushedAndWholeFilesSwitched)
{
    const std::string name = std::string(251, 'l') + ".dat"; // 255 bytes
    Stored s(name);
    const int before = s.io.datasyncs;
    s.type(Fourth);
    EXPECT_EQ(s.io.datasyncs, before + 1) << "the completed record";
    s.key("Up");
    s.type("9");
    s.key("Down"); // leaving a changed stored record
    EXPECT_EQ(s.io.datasyncs, before + 2);
    const std::string four = Three + "90004FOURTH  004.0a\r\n";
    EXPECT_EQ(s.app.read(name), four);

    Keys(s, "Ctrl+Home, Insert, '00009NEW     009.0'");
    EXPECT_EQ(s.io.renames, 1);
    EXPECT_EQ(s.records(name).front(), "00009NEW     009.0a");
    EXPECT_EQ(s.e.win.previousText, "00009NEW     009.0a");
    FaultyFileIo other; // the new file holds the lock: a second station is refused
    EXPECT_FALSE(DataFile::Open(other, s.app.file(name), false).ok());

    Keys(s, "Ctrl+Home, Delete");
    EXPECT_EQ(s.app.read(name), four);
    EXPECT_EQ(s.io.renames, 2);
    EXPECT_EQ(s.names(), (Records{"FILE.FMT", "dupoff.bmp", name}));

    // A folder not flushed after the switch: the new content is in place, keying stops.
    s.io.dirSyncErrno = EIO;
    Keys(s, "Ctrl+Home, Down, Down, Delete");
    EXPECT_EQ(s.records(name).size(), 3u);
    EXPECT_FALSE(s.e.file.DataFileNo.trusted());
    EXPECT_THAT(s.lastBox(), HasSubstr("Close the file"));

    // A copy left by a crash is removed at the next opening.
    s.e.file.mnuClose_Click();
    s.io = FaultyFileIo();
    const std::string leftover = NewCopy::NameFor(s.app.file(name), 123, 0);
    s.app.write(leftover, "00001FIRST   001.0a\r\n");
    s.open(name, "STOCK-19");
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_EQ(s.e.rec.EndRec, 4);
}

// Ways to a file that is not set up for keying: closed, a failed length check, a fragment,
// and an opening whose read of the first record or of the one to duplicate from fails (said
// so, with no word of a mismatch). None of the record commands or record keys may touch it.
TEST(Durability, RecordCommandsLeaveAFileThatIsNotSetUpAlone)
{
    struct Row {
        std::string content; // of other.dat; none: s.dat, closed
        int failing = 0;     // the slot whose read fails at opening
        const char* box = "";
        bool open = true; // the file stays open, for Close
    };
    for (const Row& r : {Row{""}, Row{"0001ONE   001.0a\r\n"}, Row{Three + "00004FOUR"},
                         Row{Three, 1, ": it could not be read (Input/output error)", false},
                         Row{Three, 3, "could not be read: Input/output error"}}) {
        SCOPED_TRACE(r.content + " failing " + std::to_string(r.failing));
        Stored s;
        s.key("Up"); // Previous and Delete are live for the first file
        ASSERT_TRUE(s.e.win.mnuBack && s.e.win.mnuDelRec);
        s.e.file.mnuClose_Click();
        const std::string name = r.content.empty() ? "s.dat" : "other.dat";
        if (r.failing)
            s.io.readFault = FaultyFileIo::ReadFault{.offset = (r.failing - 1) * 21, .file = name};
        if (!r.content.empty())
            s.openWith(name, r.content, "STOCK-19");
        if (r.failing) {
            EXPECT_THAT(s.lastBox(), HasSubstr(r.box));
            EXPECT_THAT(s.lastBox(), testing::Not(HasSubstr("Mismatch")));
        }
        EXPECT_FALSE(s.e.file.ReadyForKeying());
        EXPECT_EQ(s.e.file.DataFileNo.isOpen(), r.open && !r.content.empty());
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

// A stored record left unchanged, or keyed alike in Verify mode, is not written again: what
// another hand put in its slot meanwhile stays. A changed record is written as it is left.
// The keying itself, in both modes: a-correct-verify.
TEST(RecordStore, OnlyChangedRecordsAreWrittenAndControlCharactersAreStoredAsBlanks)
{
    for (const bool verify : {false, true}) {
        SCOPED_TRACE(verify ? "Verify" : "correcting");
        Stored s;
        if (verify)
            s.e.mnuVerify_Click();
        s.key("Ctrl+Home", "Down");
        std::string bytes = s.app.read("s.dat");
        s.app.write("s.dat", bytes.replace(21, 19, "00002ELSEWHERE02.0a"));
        if (verify)
            s.type("00002SECOND  002.0");
        else
            s.key("Up");
        EXPECT_EQ(s.app.read("s.dat"), bytes);
        EXPECT_EQ(s.e.rec.CurRec, verify ? 3 : 1);
        if (verify)
            continue;
        s.type("9");
        s.key("Down");
        EXPECT_EQ(s.records("s.dat"),
                  (Records{"90001FIRST   001.0a", "00002ELSEWHERE02.0a", "00003THIRD   003.0a"}));
        EXPECT_EQ(s.e.win.previousText, "90001FIRST   001.0a");
    }

    std::string rec = "A\tB\xC8\x80\x1F";
    RecordStore::CleanRecord(rec);
    EXPECT_EQ(rec, "A B \x80 ");
}

// A full disk as in the first test, on a real, tiny file system that fills up: tmpfs of
// 64 KiB, mounted for the test's life.
TEST(FullDisk, ARecordThatDoesNotFitStaysOnTheScreenUntilThereIsRoom)
{
    TempDir base;
    const std::string disk = base.file("disk"), data = disk + "/d.dat";
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root and a kernel that allows it: "
                     << std::strerror(errno);
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};
    base.write(disk + "/filler", std::string(36 << 10, 'x'));
    Started s;
    s.openWith(data, "", "STOCK-19");
    ASSERT_TRUE(s.e.scr.RecordShown);

    int stored = 0;
    for (; s.dialogs.boxes.empty() && stored < 10000; ++stored)
        s.type("00001FIRST   001.0");
    ASSERT_FALSE(s.dialogs.boxes.empty()) << "the disk never filled";
    --stored; // the record refused
    EXPECT_THAT(s.lastBox(),
                HasSubstr("Record " + std::to_string(stored + 1) + " could not be written to " +
                          data + ": No space left on device"));
    const auto size = static_cast<std::uintmax_t>(stored) * 21;
    EXPECT_EQ(fs::file_size(data), size) << "no part of the record that did not fit is left";
    EXPECT_EQ(s.e.rec.EndRec, stored + 1);

    // An insertion needs room for a whole new copy: refused, nothing changed.
    s.key("Ctrl+Home");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuInsRec_Click();
    s.type("00002INSERT  002.0");
    EXPECT_THAT(s.lastBox(), HasSubstr("not enough free space"));
    EXPECT_EQ(fs::file_size(data), size);
    EXPECT_TRUE(s.e.rec.InsertPending);

    // Room again (a copy of the file fits now): the record on the screen goes in.
    fs::remove(disk + "/filler");
    s.type("0");
    EXPECT_FALSE(s.e.rec.InsertPending);
    EXPECT_EQ(s.records(data).front(), "00002INSERT  002.0a");
    EXPECT_EQ(fs::file_size(data), size + 21);
}

// Whatever read fails, the screen stays on the record it showed, under its own number, and
// what the operator changes next is written to that record's slot and no other. After a
// deletion there is no record to stay on: a blank new record, nothing of another in it.
TEST(ReadFailure, AStepWhoseReadFailsStaysOnTheRecordInHand)
{
    struct Row {
        const char* before; // keys before the fault is set
        const char* step;   // keys whose read of slot `failing` fails
        int failing;
        std::int64_t shortBytes; // the read gives this much of the slot; -1: it fails
        int stays;
        std::string shown;
        Records file = {}; // after "9" and Up; none: record `stays` with its first character 9
    };
    const Records inserted{Stored3[0], "90009NEW     009.0a", Stored3[1], Stored3[2]};
    for (const Row& r : {
             Row{"'00009'", "Up", 3, -1, 4, "00009", Stored3},
             Row{"Up", "Up", 2, -1, 3, Stored3[2]},
             Row{"Up", "Up", 2, 7, 3, Stored3[2]},
             Row{"Ctrl+Home", "Down", 2, -1, 1, Stored3[0]},
             Row{"Up", "Ctrl+Home", 1, -1, 3, Stored3[2]},
             Row{"Ctrl+Home", "Ctrl+End", 3, -1, 1, Stored3[0]}, // the record to duplicate from
             Row{"Ctrl+Home", "'00001FIRXT   001.0'", 2, -1, 1, "00001FIRXT   001.0a"},
             // Verify compares the 9 and keeps the stored 0.
             Row{"Verify, Ctrl+Home", "'00001FIRST   001.0'", 2, -1, 1, Stored3[0], Stored3},
             // SECOND, moved up by the insertion, cannot be read.
             Row{"Ctrl+Home, Down, Insert", "'00009NEW     009.0'", 3, -1, 2, "00009NEW     009.0a",
                 inserted},
             Row{"Up", "Delete", 2, -1, 3, "", {Stored3[0], Stored3[1]}},
         }) {
        SCOPED_TRACE(std::string(r.before) + ", fault, " + r.step);
        Stored s;
        Keys(s, r.before);
        s.io.readFault = FaultyFileIo::ReadFault{
            .shortBytes = r.shortBytes, .offset = (r.failing - 1) * 21, .file = "s.dat"};
        Keys(s, r.step);
        EXPECT_FALSE(s.io.readFault) << "the read meant to fail was not made";
        EXPECT_EQ(s.e.rec.CurRec, r.stays);
        EXPECT_EQ(s.dataRow(), r.shown);
        EXPECT_THAT(s.lastBox(),
                    StartsWith("Record" + text::SignedDec(r.failing) + " could not be read from " +
                               s.app.file("s.dat") + ": "));
        EXPECT_THAT(s.lastBox(), HasSubstr(r.shown.empty() ? "no previous record to duplicate from"
                                                           : "The screen stays on record" +
                                                                 text::SignedDec(r.stays) + "."));
        if (r.shortBytes >= 0) {
            EXPECT_THAT(s.lastBox(), HasSubstr("only 7 of its 19 characters could be read"));
        }
        Records file = r.file;
        if (file.empty())
            (file = Stored3).at(r.stays - 1) = "9" + r.shown.substr(1);
        Keys(s, "'9', Up");
        EXPECT_EQ(s.records("s.dat"), file);
    }
}

// No file the program reads waits for ever, crashes it or is taken for what it is not.
TEST(ReadFailure, SpecialFilesAreRefusedWithoutWaitingOrCrashing)
{
    struct Kind {
        std::function<void(const std::string& path)> make;
        const char* reason; // in the refusal
    };
    const auto link = [](const char* to) { return [=](auto& p) { fs::create_symlink(to, p); }; };
    const auto node = [](mode_t type) {
        return [=](auto& p) { ASSERT_EQ(::mknod(p.c_str(), type | 0644, 0), 0) << p; };
    };
    for (const Kind& k : {
             Kind{node(S_IFIFO), "it is a named pipe (FIFO), not a file"},
             Kind{node(S_IFSOCK), "it is a socket, not a file"},
             Kind{link("/dev/zero"), "it is a device, not a file"},
             Kind{[](auto& p) { fs::create_directory(p); }, "it is a folder, not a file"},
             Kind{link("/proc/self/mem"), "Input/output error"}, // the memory of the process
         }) {
        SCOPED_TRACE(k.reason);
        Started s;
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
