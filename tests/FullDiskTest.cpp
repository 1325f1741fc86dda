#include <gtest/gtest.h>

#include <cstring>
#include <sys/mount.h>

#include "tests/support/Station.h"

namespace
{

namespace fs = std::filesystem;

// A real, tiny file system that fills up: tmpfs of 64 KiB, mounted for the test's life.
class SmallDisk
{
public:
    SmallDisk() : m_path(m_base.path() / "disk")
    {
        fs::create_directory(m_path);
        if (::mount("tmpfs", m_path.c_str(), "tmpfs", 0, "size=64k") != 0)
            m_error = std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (m_error.empty())
            ::umount2(m_path.c_str(), MNT_DETACH);
    }
    const std::string& error() const { return m_error; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    TempDir m_base;
    fs::path m_path;
    std::string m_error;
};

TEST(FullDisk, ARecordThatDoesNotFitStaysOnTheScreenAndTheFileOpensAgain)
{
    SmallDisk disk;
    if (!disk.error().empty())
        GTEST_SKIP() << "mounting a small tmpfs needs root and a kernel that allows it: "
                     << disk.error();
    TempDir::Write(disk.file("filler"), std::string(36 << 10, 'x'));
    Station s;
    s.start();
    TempDir::Write(disk.file("d.dat"), "");
    s.open(disk.file("d.dat"), "STOCK-19");
    ASSERT_TRUE(s.e.scr.RecordShown);

    int stored = 0;
    while (s.dialogs.boxes.empty() && stored < 10000) {
        s.type("00001FIRST   001.0");
        if (s.dialogs.boxes.empty())
            ++stored;
    }
    ASSERT_FALSE(s.dialogs.boxes.empty()) << "the disk never filled";
    const std::string box = s.dialogs.boxes.front().text;
    EXPECT_NE(box.find("Record " + std::to_string(stored + 1) + " could not be written to " +
                       disk.file("d.dat") + ": No space left on device"),
              std::string::npos)
        << box;
    EXPECT_EQ(fs::file_size(disk.file("d.dat")), static_cast<std::uintmax_t>(stored) * 21)
        << "no part of the record that did not fit is left";
    EXPECT_EQ(s.e.rec.EndRec, stored + 1);

    // An insertion needs room for a whole new copy: refused, nothing changed.
    const auto boxes = s.dialogs.boxes.size();
    s.key("Ctrl+Home");
    s.dialogs.answers.push_back(Dialogs::Answer::Yes);
    s.e.rec.mnuInsRec_Click();
    s.type("00002INSERT  002.0");
    ASSERT_GT(s.dialogs.boxes.size(), boxes);
    EXPECT_NE(s.dialogs.boxes.back().text.find("not enough free space"), std::string::npos)
        << s.dialogs.boxes.back().text;
    EXPECT_EQ(fs::file_size(disk.file("d.dat")), static_cast<std::uintmax_t>(stored) * 21);
    EXPECT_TRUE(s.e.rec.InsertPending);

    // Room again (a copy of the file fits now): the record on the screen goes in, and the file
    // opens for keying.
    fs::remove(disk.file("filler"));
    s.type("0");
    EXPECT_FALSE(s.e.rec.InsertPending);
    EXPECT_EQ(s.records(disk.file("d.dat")).front(), "00002INSERT  002.0a");
    s.e.file.mnuClose_Click();
    s.open(disk.file("d.dat"), "STOCK-19");
    EXPECT_TRUE(s.e.scr.RecordShown);
    EXPECT_EQ(s.e.rec.EndRec, stored + 2);
}

} // namespace
