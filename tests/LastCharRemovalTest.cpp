#include <gtest/gtest.h>

#include <filesystem>

#include "common/NewCopy.h"
#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;

constexpr const char* Title = "Last Character removal";

// What a Cut of bytes must give, a line at a time.
std::string Expected(const std::string& bytes)
{
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lf = std::min(bytes.find('\n', at), bytes.size());
        std::string line = bytes.substr(at, lf - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            line.pop_back();
        out += line + "\r\n";
        at = lf + 1;
    }
    return out;
}

// One session: a Cut of the open file, one named without extension over an older copy, a
// copy longer than a read block, a hard link to its input refused and a cut cancelled.
TEST(LastCharRemoval, CutsRefusalsAndCancellationsInOneSession)
{
    EXPECT_EQ(LastCharRemoval::OutputName("/d/DEMO.DAT"), "/d/DEMO.fil");
    EXPECT_EQ(LastCharRemoval::OutputName("/d/a.b.dat"), "/d/a.fil");
    EXPECT_EQ(LastCharRemoval::OutputName("/d/v1.2/DEMO.DAT"), "/d/v1.2/DEMO.fil");
    EXPECT_EQ(LastCharRemoval::OutputName("/d/v1.2/NOEXT"), "/d/v1.2/NOEXT.fil");

    // The default answer, the menus after a Cut, the copy's records, the refused names (its own
    // input, a folder, a missing file) and an empty or cancelled answer: cut.
    Started s;
    s.openWith("S.DAT", CrLf({"00001WIDGET      00001.50a"}), "STOCK-19");
    s.dialogs.inputAnswers = {s.app.file("S.DAT")};
    s.e.cut.mnuCut_Click();
    ASSERT_EQ(s.dialogs.inputRequests.size(), 1u);
    EXPECT_EQ(s.dialogs.inputRequests[0].prompt, "Data file name in " + s.app.path().string());
    EXPECT_EQ(s.dialogs.inputRequests[0].title, Title);
    EXPECT_FALSE(s.e.file.DataFileNo.isOpen());
    EXPECT_EQ(s.app.read("S.fil"), CrLf({"00001WIDGET      00001.50"}));
    EXPECT_EQ(s.dialogs.boxes.back().title, Title);
    EXPECT_EQ(s.dialogs.boxes.back().text,
              "Last character removed from file : " + s.app.file("S.DAT") +
                  "\rFile name : " + s.app.file("S.fil"));

    // A name without extension is read as NAME.dat in the data folder; the old copy is replaced.
    s.app.write("T.dat", "xy\r\n");
    s.app.write("T.fil", "older and longer\r\n");
    s.dialogs.inputAnswers = {"T"};
    s.e.cut.mnuCut_Click();
    EXPECT_EQ(s.app.read("T.fil"), "x\r\n");

    // Every line loses one character, across the read blocks.
    std::string bytes;
    for (int i = 0; i < 30000; ++i)
        bytes += std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26) + "\r\n";
    bytes += "\r\n\n";                           // empty lines stay empty
    bytes += "only LF\n";                        // a line ended by LF alone
    bytes += std::string(3 << 20, 'L') + "\r\n"; // longer than a read block
    bytes += "no line end";
    const int reports = s.dialogs.progressReports;
    const auto done =
        s.e.cut.RemoveLastCharacters(s.app.write("BIG.DAT", bytes), s.app.file("BIG.fil"));
    ASSERT_TRUE(done) << done.error().message;
    EXPECT_TRUE(done.value());
    EXPECT_EQ(s.app.read("BIG.fil"), Expected(bytes));
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
        const char* says; // of the input or of the copy
    };
    for (const Row& r : {
             Row{"DiskFull", [](FaultyFileIo& io) { io.writeBudget = 100000; },
                 "BIG.fil could not be written"},
             Row{"WriteError",
                 [](FaultyFileIo& io) { io.writeOnce = FaultyFileIo::Once{}, io.partBytes = 10; },
                 "BIG.fil could not be written"},
             Row{"FlushFails", [](FaultyFileIo& io) { io.datasyncErrno = EIO; },
                 "BIG.fil could not be written"},
             Row{"RenameRefused",
                 [](FaultyFileIo& io) { io.renameOnce = FaultyFileIo::Once{.err = EACCES}; },
                 "BIG.fil could not be written"},
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

// A Cut killed part-way leaves its copy unlocked: the next Cut in that folder clears it away,
// but never one that a live Cut is still writing. Names as long as a file's name may be work.
TEST(LastCharRemoval, CopiesOfKilledCutsGoAtTheNextAndLongNamesWork)
{
    Started s;
    s.app.write("A.DAT", "abc\r\n");
    const std::string stale = NewCopy::NameFor(s.app.file("A.fil"), 99999, 7);
    s.app.write(stale, "part of a copy");
    NewCopy live(s.io, s.app.file("B.fil"));
    ASSERT_GE(live.create(0644), 0);
    s.dialogs.inputAnswers = {"A.DAT"};
    s.e.cut.mnuCut_Click();
    EXPECT_EQ(s.app.read("A.fil"), "ab\r\n");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live.path()));

    const std::string longest = std::string(251, 'N') + ".dat"; // 255 bytes
    s.app.write(longest, "abc\r\n");
    s.dialogs.inputAnswers = {longest};
    s.e.cut.mnuCut_Click();
    EXPECT_EQ(s.app.read(std::string(251, 'N') + ".fil"), "ab\r\n") << s.lastBox();
    EXPECT_EQ(NewCopy::NameFor("/d/" + longest, 4194304, 4294967295u).size(), 3 + 255u);
}

} // namespace
