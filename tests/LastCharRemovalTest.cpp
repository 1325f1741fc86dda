#include <gtest/gtest.h>

#include "common/NewCopy.h"
#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;

constexpr const char* Title = "Last Character removal";

// One session: the question asked, a stale copy and a live one, a copy longer than a read
// block, a hard link to its input refused and a cut cancelled. The default answer, the
// menus after a Cut, the copy's records, the refused names and an empty or cancelled
// answer: scenario cut; a name without extension over an older copy and the longest name:
// a-cut-names.
TEST(LastCharRemoval, CutsRefusalsAndCancellationsInOneSession)
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
    bytes += std::string(3 << 20, 'L') + "\r\n"; // longer than a read block
    cut += std::string((3 << 20) - 1, 'L') + "\r\n";
    const int reports = s.dialogs.progressReports;
    const auto done =
        s.e.cut.RemoveLastCharacters(s.app.write("BIG.DAT", bytes), s.app.file("BIG.fil"));
    ASSERT_TRUE(done) << done.error().message;
    EXPECT_TRUE(done.value());
    EXPECT_TRUE(s.app.read("BIG.fil") == cut);
    EXPECT_GT(s.dialogs.progressReports, reports + 2);
    // Its own input under another name, through a hard link, is refused.
    s.app.write("L.dat", "abc\r\n");
    fs::create_hard_link(s.app.file("L.dat"), s.app.file("L.fil"));
    const auto before = s.names();
    const auto boxes = s.dialogs.boxes.size();
    s.dialogs.inputAnswers = {"L.dat"};
    s.e.cut.mnuCut_Click();
    ASSERT_EQ(s.dialogs.boxes.size(), boxes + 1);
    EXPECT_EQ(s.dialogs.boxes.back().title, Title);
    EXPECT_NE(s.lastBox().find("over the file itself"), std::string::npos) << s.lastBox();
    EXPECT_EQ(s.app.read("L.dat"), "abc\r\n");

    // Cancelled part-way: quietly nothing, and the copy goes.
    s.app.write("HUGE.DAT", std::string(3 << 20, 'x') + "\r\n");
    s.dialogs.cancelProgressAt = s.dialogs.progressReports + 2;
    s.dialogs.inputAnswers = {"HUGE.DAT"};
    s.e.cut.mnuCut_Click();
    EXPECT_EQ(s.dialogs.boxes.size(), boxes + 1);
    auto after = s.names();
    std::erase(after, "HUGE.DAT");
    EXPECT_EQ(after, before);
}

TEST(LastCharRemoval, AFailureSaysSoAndLeavesNoPartOfTheCopy)
{
    struct Row {
        const char* name;
        void (*fault)(FaultyFileIo&);
        const char* says = "BIG.fil could not be written"; // or of the input
    };
    for (const Row& r : {
             Row{"DiskFull", [](FaultyFileIo& io) { io.writeBudget = 100000; }},
             Row{"WriteError",
                 [](FaultyFileIo& io) { io.writeOnce = FaultyFileIo::Once{}, io.partBytes = 10; }},
             Row{"FlushFails", [](FaultyFileIo& io) { io.datasyncErrno = EIO; }},
             Row{"RenameRefused",
                 [](FaultyFileIo& io) { io.renameOnce = FaultyFileIo::Once{.err = EACCES}; }},
             Row{"ReadError",
                 [](FaultyFileIo& io) {
                     io.readFault = FaultyFileIo::ReadFault{.after = 1, .file = "BIG.DAT"};
                 },
                 "BIG.DAT could not be read: Input/output error."},
         }) {
        SCOPED_TRACE(r.name);
        Started s;
        s.app.write("BIG.DAT", std::string(3 << 20, 'x') + "\r\n");
        s.app.write("BIG.fil", "the copy made before\r\n");
        const auto before = s.names();
        r.fault(s.io);
        s.dialogs.inputAnswers = {"BIG.DAT"};
        s.e.cut.mnuCut_Click();
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_EQ(s.dialogs.boxes[0].title, Title);
        EXPECT_EQ(s.dialogs.boxes[0].text.rfind("The file " + s.app.path().string() + "/", 0), 0u);
        EXPECT_NE(s.dialogs.boxes[0].text.find(r.says), std::string::npos)
            << s.dialogs.boxes[0].text;
        EXPECT_EQ(s.app.read("BIG.fil"), "the copy made before\r\n");
        EXPECT_EQ(s.names(), before);
    }
}

} // namespace
