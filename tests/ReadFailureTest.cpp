#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <sys/stat.h>

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
        Started s;
        s.openWith("s.dat", Three, "STOCK-19");
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
