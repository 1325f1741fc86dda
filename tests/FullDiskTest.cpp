#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/mount.h>

#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;

TEST(FullDisk, ARecordThatDoesNotFitStaysOnTheScreenAndTheFileOpensAgain)
{
    // A real, tiny file system that fills up: tmpfs of 64 KiB, mounted for the test's life.
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
    EXPECT_THAT(s.lastBox(), testing::HasSubstr("Record " + std::to_string(stored + 1) +
                                                " could not be written to " + data +
                                                ": No space left on device"));
    const auto size = static_cast<std::uintmax_t>(stored) * 21;
    EXPECT_EQ(fs::file_size(data), size) << "no part of the record that did not fit is left";
    EXPECT_EQ(s.e.rec.EndRec, stored + 1);

    // An insertion needs room for a whole new copy: refused, nothing changed.
    s.key("Ctrl+Home");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuInsRec_Click();
    s.type("00002INSERT  002.0");
    EXPECT_THAT(s.lastBox(), testing::HasSubstr("not enough free space"));
    EXPECT_EQ(fs::file_size(data), size);
    EXPECT_TRUE(s.e.rec.InsertPending);

    // Room again (a copy of the file fits now): the record on the screen goes in, and the
    // file opens for keying.
    fs::remove(disk + "/filler");
    s.type("0");
    EXPECT_FALSE(s.e.rec.InsertPending);
    EXPECT_EQ(s.records(data).front(), "00002INSERT  002.0a");
    s.e.file.mnuClose_Click();
    s.open(data, "STOCK-19");
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_EQ(s.e.rec.EndRec, stored + 2);
}

} // namespace
