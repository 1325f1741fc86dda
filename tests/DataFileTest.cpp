#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "datafile/DataFile.h"
#include "datafile/SlotCheck.h"
#include "tests/support/FaultyFileIo.h"
#include "tests/support/TempDir.h"

namespace
{

namespace fs = std::filesystem;
SystemFileIo io;

// A file's length and its first line's length (-1: no CR) laid over 19-byte records. Empty
// files, whole records, a short first line and 40000 records: Opening's table.
TEST(SlotCheck, ClassifiesWhatTheFileHoldsByItsMeasuredFirstLine)
{
    using K = SlotCheck::Kind;
    struct Row {
        const char* name;
        std::int64_t length;
        int measured;
        K kind;
        std::int64_t records; // whole records
        bool lacksLineEnd;
    };
    for (const Row& r : {
             Row{"last lacks CR LF", 61, 19, K::Ok, 3, true},
             Row{"last lacks LF", 62, 19, K::Ok, 3, true},
             Row{"lone record without CR", 19, -1, K::Ok, 1, true},
             Row{"no CR, wrong length", 25, -1, K::Mismatch, 0, false},
             Row{"trailing fragment", 47, 19, K::Fragment, 2, false},
             Row{"piece shorter than a slot", 5, 3, K::Mismatch, 0, false},
         }) {
        SCOPED_TRACE(r.name);
        const SlotCheck c = SlotCheck::Of(r.length, r.measured, 19);
        EXPECT_EQ(c.kind, r.kind);
        EXPECT_EQ(c.records, r.records);
        EXPECT_EQ(c.lastLacksLineEnd, r.lacksLineEnd);
    }

    // The first line is measured up to its CR; a first record and an empty file: every opening.
    TempDir dir;
    const auto measure = [&](const std::string& bytes) {
        return DataFile::Open(io, dir.write("m.dat", bytes), false)->measureRecLen().value();
    };
    EXPECT_EQ(measure("no line end"), -1);
    EXPECT_EQ(measure(std::string(10000, 'x') + "\r\n"), 10000);
    // A first line past the longest possible record stops the search instead of reading on.
    EXPECT_EQ(measure(std::string((1 << 20) + 100, 'x') + "\r\n"), -1);
    EXPECT_EQ(measure(std::string(1 << 20, 'x')), -1);
}

// Slots are written in place or appended, completing a last record that lacks its line end
// or part of it; reads and writes past the end are refused. Reading and removing slots as
// keying does it: the scenarios and Durability.
TEST(DataFile, WritesSlotsInPlaceAndRefusesWhatCannotBeKeyed)
{
    TempDir dir;
    for (const std::string tail : {"", "\r", "\r\n"}) {
        SCOPED_TRACE("tail of " + std::to_string(tail.size()));
        dir.write("d.dat", "AAAAa\r\nBBBBa" + tail);
        auto f = DataFile::Open(io, dir.file("d.dat"), false);
        ASSERT_TRUE(f.ok()) << f.error().message;
        DataFile& file = f.value();
        ASSERT_TRUE(file.writeSlot(3, 5, "CCCCa\r\n").ok());
        ASSERT_TRUE(file.writeSlot(1, 5, "DDDDa\r\n").ok());
        EXPECT_FALSE(file.readSlot(4, 5).ok()) << "past the end there is no record";
        EXPECT_FALSE(file.readSlot(0, 5).ok());
        EXPECT_FALSE(file.writeSlot(5, 5, "EEEEa\r\n").ok()) << "a gap would be left";
        file.close();
        EXPECT_EQ(dir.read("d.dat"), "DDDDa\r\nBBBBa\r\nCCCCa\r\n");
    }

    // Another station renames its new copy over the file between our opening and our lock:
    // we key into the file the path names, or are refused while that station holds it.
    for (const bool stillHeld : {false, true}) {
        SCOPED_TRACE(stillHeld ? "the other station still has it" : "the other station is done");
        dir.write("r.dat", "OLD_a\r\n");
        FaultyFileIo racing;
        DataFile other;
        racing.beforeLock = [&] {
            const auto copy = dir.write(".r.dat.kvnew-1-0", "NEW_a\r\n");
            fs::rename(copy, dir.file("r.dat"));
            if (stillHeld)
                other = DataFile::Open(io, dir.file("r.dat"), false).value();
        };
        auto opened = DataFile::Open(racing, dir.file("r.dat"), stillHeld);
        if (stillHeld) {
            ASSERT_FALSE(opened.ok());
            EXPECT_NE(opened.error().message.find("another copy"), std::string::npos);
            EXPECT_EQ(dir.read("r.dat"), "NEW_a\r\n") << "the refused copy must not empty it";
            other.close();
            EXPECT_TRUE(DataFile::Open(io, dir.file("r.dat"), true).ok())
                << "the lock ends with it";
            continue;
        }
        ASSERT_TRUE(opened.ok()) << opened.error().message;
        EXPECT_EQ(opened.value().readSlot(1, 5).value(), "NEW_a\r\n");
        ASSERT_TRUE(opened.value().writeSlot(2, 5, "MORE_\r\n").ok());
        EXPECT_EQ(dir.read("r.dat"), "NEW_a\r\nMORE_\r\n") << "stored in the file that is there";
    }

    // Root may write anywhere, so a read-only file is tried as an ordinary user.
    const auto path = dir.write("ro.dat", "AAAAa\r\n");
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const auto ro = DataFile::Open(io, path, false);
        ::_exit(ro.ok() ? 1 : (ro.error().message.find("ermission") != std::string::npos ? 0 : 2));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: opened, 2: other error, 3: could not drop root";
}

} // namespace
