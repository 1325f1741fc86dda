#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "datafile/DataFile.h"
#include "datafile/SlotCheck.h"
#include "datafile/SystemFileIo.h"
#include "tests/support/TempDir.h"

namespace
{

SystemFileIo io;

struct CheckRow {
    const char* name;
    std::int64_t length;
    int measured;
    int recLen;
    SlotCheck::Kind kind;
    std::int64_t records;
    bool lacksLineEnd;

    friend void PrintTo(const CheckRow& row, std::ostream* os) { *os << row.name; }
};

class SlotCheckTest : public ::testing::TestWithParam<CheckRow>
{
};

TEST_P(SlotCheckTest, Classifies)
{
    const CheckRow& r = GetParam();
    const SlotCheck c = SlotCheck::Of(r.length, r.measured, r.recLen);
    EXPECT_EQ(c.kind, r.kind);
    if (r.kind == SlotCheck::Kind::Ok || r.kind == SlotCheck::Kind::Fragment) {
        EXPECT_EQ(c.records, r.records);
    }
    EXPECT_EQ(c.lastLacksLineEnd, r.lacksLineEnd);
}

using K = SlotCheck::Kind;
INSTANTIATE_TEST_SUITE_P(
    Files, SlotCheckTest,
    ::testing::Values(CheckRow{"Empty", 0, 0, 19, K::Empty, 0, false},
                      CheckRow{"ThreeRecords", 63, 19, 19, K::Ok, 3, false},
                      CheckRow{"ShortFirstLine", 60, 18, 19, K::Mismatch, 0, false},
                      CheckRow{"LastLacksCrLf", 61, 19, 19, K::Ok, 3, true},
                      CheckRow{"LastLacksLf", 62, 19, 19, K::Ok, 3, true},
                      CheckRow{"LoneRecordWithoutCr", 19, -1, 19, K::Ok, 1, true},
                      CheckRow{"NoCrWrongLength", 25, -1, 19, K::Mismatch, 0, false},
                      CheckRow{"TrailingFragment", 47, 19, 19, K::Fragment, 2, false},
                      CheckRow{"PieceShorterThanASlot", 5, 3, 19, K::Mismatch, 0, false},
                      CheckRow{"ManyRecords", 21LL * 100000, 19, 19, K::Ok, 100000, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MeasureRecLen, ReadsUpToTheFirstCr)
{
    TempDir dir;
    EXPECT_EQ(MeasureRecLen(dir.write("a.dat", "ABCDEFGHIJKLMNOPQRa\r\nx")).value(), 19);
    EXPECT_EQ(MeasureRecLen(dir.write("b.dat", "no line end")).value(), -1);
    EXPECT_EQ(MeasureRecLen(dir.write("c.dat", "")).value(), -1);
    EXPECT_EQ(MeasureRecLen(dir.write("d.dat", std::string(10000, 'x') + "\r\n")).value(), 10000);
    EXPECT_FALSE(MeasureRecLen(dir.file("missing.dat")).ok());
    // A first line past the longest possible record stops the search instead of reading on.
    EXPECT_EQ(MeasureRecLen(dir.write("e.dat", std::string((1 << 20) + 100, 'x') + "\r\n")).value(),
              -1);
    EXPECT_EQ(MeasureRecLen(dir.write("f.dat", std::string(1 << 20, 'x'))).value(), -1);
}

TEST(DataFile, WritesAndReadsSlots)
{
    TempDir dir;
    auto f = DataFile::Open(io, dir.file("d.dat"), false);
    ASSERT_TRUE(f.ok()) << f.error().message;
    DataFile& file = f.value();
    ASSERT_TRUE(file.writeSlot(1, 5, "AAAAa\r\n").ok());
    ASSERT_TRUE(file.writeSlot(2, 5, "BBBBa\r\n").ok());
    ASSERT_TRUE(file.writeSlot(1, 5, "CCCCa\r\n").ok());
    EXPECT_EQ(file.readSlot(2, 5).value(), "BBBBa\r\n");
    EXPECT_EQ(file.readSlot(3, 5).value(), "") << "past the end reads nothing";
    EXPECT_FALSE(file.readSlot(0, 5).ok());
    EXPECT_FALSE(file.writeSlot(4, 5, "DDDDa\r\n").ok()) << "a gap would be left";
    EXPECT_EQ(file.length().value(), 14);
    ASSERT_TRUE(file.removeSlot(2, 5).ok());
    EXPECT_EQ(file.length().value(), 7);
    EXPECT_TRUE(file.flush().ok());
    file.close();
    EXPECT_EQ(dir.read("d.dat"), "CCCCa\r\n");
}

TEST(DataFile, AppendingCompletesALastRecordWithoutItsLineEnd)
{
    TempDir dir;
    for (const std::string tail : {"", "\r"}) {
        SCOPED_TRACE("tail of " + std::to_string(tail.size()));
        dir.write("d.dat", "AAAAa\r\nBBBBa" + tail);
        auto f = DataFile::Open(io, dir.file("d.dat"), false);
        ASSERT_TRUE(f.ok());
        ASSERT_TRUE(f.value().writeSlot(3, 5, "CCCCa\r\n").ok());
        f.value().close();
        EXPECT_EQ(dir.read("d.dat"), "AAAAa\r\nBBBBa\r\nCCCCa\r\n");
    }
}

TEST(DataFile, RefusesFoldersAndASecondKeyingCopy)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.dat");
    EXPECT_FALSE(DataFile::Open(io, dir.file("folder.dat"), false).ok());

    dir.write("d.dat", "AAAAa\r\n");
    auto first = DataFile::Open(io, dir.file("d.dat"), false);
    ASSERT_TRUE(first.ok());
    const auto second = DataFile::Open(io, dir.file("d.dat"), true);
    ASSERT_FALSE(second.ok());
    EXPECT_NE(second.error().message.find("another copy"), std::string::npos);
    EXPECT_EQ(dir.read("d.dat"), "AAAAa\r\n") << "the refused copy must not empty the file";
    first.value().close();
    EXPECT_TRUE(DataFile::Open(io, dir.file("d.dat"), false).ok()) << "the lock ends with the file";
}

// Root may write anywhere, so a read-only file is tried as an ordinary user.
TEST(DataFile, ReadOnlyFileIsRefused)
{
    TempDir dir;
    const auto path = dir.write("ro.dat", "AAAAa\r\n");
    namespace fs = std::filesystem;
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const auto f = DataFile::Open(io, path, false);
        ::_exit(f.ok() ? 1 : (f.error().message.find("ermission") != std::string::npos ? 0 : 2));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: opened, 2: other error, 3: could not drop root";
}

} // namespace
