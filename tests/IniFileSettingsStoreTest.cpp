#include <gtest/gtest.h>

#include "common/SystemFileIo.h"
#include "settings/IniFileSettingsStore.h"
#include "tests/support/TempDir.h"

namespace
{

SystemFileIo io;

// Values as the program stores them, and the ones the file's own syntax could swallow.
struct Saved {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
};

const std::vector<Saved> Awkward{
    {"SectionWithBlank", "Data Path", "Data", "/home/op/key data"},
    {"OuterBlanks", "Memkey", "F3", "  indented and padded   "},
    {"Empty", "Memkey", "F4", ""},
    {"OnlyBlanks", "Memkey", "F5", "    "},
    {"Quotes", "Memkey", "F6", "\"quoted\" and \\ back"},
    {"Equals", "Memkey", "F7", "a=b=c"},
    {"CommentSigns", "Memkey", "F8", "; not a comment # nor this"},
    {"LineBreaks", "Memkey", "F9", "one\r\ntwo\nthree"},
    {"Brackets", "odd]section[", "[key]", "[value]"},
    {"KeyWithBlanks", "formcolor", " f 1 ", "255"},
    {"KeyLikeAComment", "odd keys", "; semi", "1"},
    {"KeyLikeAHashComment", "odd keys", "#hash", "2"},
};

TEST(IniFileSettingsStore, AMissingFileIsMadeOnTheFirstSaveAndAFailedWriteIsReported)
{
    TempDir dir;
    const auto file = dir.path() / "kvscript.ini";
    {
        IniFileSettingsStore store(io, file);
        EXPECT_EQ(store.getSetting("Korvalen", "dupkey", "dupkey", "default"), "default");
        for (const Saved& s : Awkward)
            store.saveSetting("Korvalen", s.section, s.key, s.value);
        EXPECT_TRUE(store.lastWrite().ok()) << store.lastWrite().error().message;
    }
    const IniFileSettingsStore again(io, file);
    for (const Saved& s : Awkward) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(again.getSetting("Korvalen", s.section, s.key, "missing"), s.value);
    }

    // A failed write is reported and the value kept.
    IniFileSettingsStore store(io, dir.path() / "no such folder" / "s.ini");
    store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
    ASSERT_FALSE(store.lastWrite().ok());
    EXPECT_NE(store.lastWrite().error().message.find("no such folder"), std::string::npos);
    EXPECT_EQ(store.getSetting("Korvalen", "dupkey", "dupkey", ""), "123");
}

} // namespace
