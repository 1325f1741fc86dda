#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/NewCopy.h"
#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;
using testing::StartsWith;

constexpr const char* Title = "Last Character removal";

// One session: the question asked, a stale copy and a live one, and a copy longer than a
// read block. The default answer, the menus after a Cut, the copy's records, the refused
// names and an empty or cancelled answer: scenario cut; a name without extension over an
// older copy and the longest name: a-cut-names.
TEST(LastCharRemoval, CutsAskForTheNameClearStaleCopiesAndSpanReadBlocks)
{
    EXPECT_EQ(LastCharRemoval::OutputName("/d/a.b.dat"), "/d/a.fil");
    EXPECT_EQ(LastCharRemoval::OutputName("/d/v1.2/NOEXT"), "/d/v1.2/NOEXT.fil");

    Started s;
    s.dialogs.inputAnswers = {""};
    s.e.cut.mnuCut_Click();
    ASSERT_EQ(s.dialogs.inputRequests.size(), 1u);
    EXPECT_EQ(s.dialogs.inputRequests[0].prompt, "Data file name in " + s.app.path().string());
    EXPECT_EQ(s.dialogs.inputRequests[0].title, Title);

    // A Cut killed part-way left its copy unlocked: the next Cut in the folder clears it
    // away, but never one that a live Cut is still writing.
    s.app.write("A.DAT", "abc\r\n");
    const std::string stale = NewCopy::NameFor(s.app.file("A.fil"), 99999, 7);
    s.app.write(stale, "part of a copy");
    NewCopy live(s.io, s.app.file("B.fil"));
    ASSERT_GE(live.create(0644), 0);
    s.dialogs.inputAnswers = {"A.DAT"};
    s.e.cut.mnuCut_Click();
    EXPECT_EQ(s.app.read("A.fil"), "ab\r\n");
    EXPECT_EQ(s.dialogs.boxes.back().title, Title);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live.path()));
    // The longest name's copy, for the largest process number and serial, is cut to fit.
    EXPECT_EQ(NewCopy::NameFor("/d/" + std::string(251, 'N') + ".dat", 4194304, 4294967295u).size(),
              3 + 255u);

    // Every line loses one character, across the read blocks.
    std::string bytes, cut;
    for (int i = 0; i < 30000; ++i) {
        const std::string line(static_cast<std::size_t>(i % 97), 'a' + i % 26);
        bytes += line + "\r\n";
        cut += line.substr(0, line.empty() ? 0 : line.size() - 1) + "\r\n";
    }
    // An empty line ended by LF alone, then one longer than a read block.
    bytes += "\n" + std::string(3 << 20, 'L') + "\r\n";
    cut += "\r\n" + std::string((3 << 20) - 1, 'L') + "\r\n";
    const int reports = s.dialogs.progressReports;
    const auto done =
        s.e.cut.RemoveLastCharacters(s.app.write("BIG.DAT", bytes), s.app.file("BIG.fil"));
    ASSERT_TRUE(done) << done.error().message;
    EXPECT_TRUE(done.value());
    EXPECT_TRUE(s.app.read("BIG.fil") == cut);
    EXPECT_GT(s.dialogs.progressReports, reports + 2);
}

// A Cut that fails says so, one that is cancelled part-way says nothing; either way the copy
// made before stays and no part of the new one is left. A write failing part-way:
// Durability.
TEST(LastCharRemoval, AFailureOrCancelLeavesNoPartOfTheCopy)
{
    struct Row {
        const char* name;
        void (*fault)(Started&);
        const char* says = "The file $/BIG.fil could not be written"; // $: the folder; none: quiet
    };
    for (const Row& r : {
             Row{"DiskFull", [](Started& s) { s.io.writeBudget = 100000; }},
             Row{"FlushFails", [](Started& s) { s.io.datasyncErrno = EIO; }}, // the copy's fsync
             Row{"RenameRefused",
                 [](Started& s) { s.io.renameOnce = FaultyFileIo::Once{.err = EACCES}; }},
             Row{"ReadError",
                 [](Started& s) {
                     s.io.readFault = FaultyFileIo::ReadFault{.after = 1, .file = "BIG.DAT"};
                 },
                 "The file $/BIG.DAT could not be read: Input/output error."},
             Row{"Cancelled", [](Started& s) { s.dialogs.cancelProgressAt = 2; }, nullptr},
             // Its own input under another name, through a hard link.
             Row{"HardLink",
                 [](Started& s) {
                     fs::remove(s.app.file("BIG.fil"));
                     fs::create_hard_link(s.app.file("BIG.DAT"), s.app.file("BIG.fil"));
                 },
                 "The copy of $/BIG.DAT without the last characters would be written over the "
                 "file itself"},
         }) {
        SCOPED_TRACE(r.name);
        Started s;
        s.app.write("BIG.DAT", std::string(3 << 20, 'x') + "\r\n");
        s.app.write("BIG.fil", "the copy made before\r\n");
        r.fault(s);
        const auto before = s.names();
        const std::string copy = s.app.read("BIG.fil");
        s.dialogs.inputAnswers = {"BIG.DAT"};
        s.e.cut.mnuCut_Click();
        ASSERT_EQ(s.dialogs.boxes.size(), r.says ? 1u : 0u);
        if (r.says) {
            EXPECT_EQ(s.dialogs.boxes[0].title, Title);
            std::string says = r.says;
            EXPECT_THAT(s.lastBox(), StartsWith(says.replace(says.find('$'), 1, s.app.path())));
        }
        EXPECT_EQ(s.app.read("BIG.fil"), copy);
        EXPECT_EQ(s.names(), before);
    }
}

} // namespace
