#include <gtest/gtest.h>

#include "settings/IniFileSettingsStore.h"
#include "settings/Preferences.h"
#include "tests/support/TempDir.h"

namespace
{

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Values as the program stores them, and the ones the file's own syntax could swallow.
struct Saved {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
};

const std::vector<Saved> Awkward{
    {"Plain", "dupkey", "dupkey", "55"},
    {"SectionWithBlank", "Data Path", "Data", "/home/op/key data"},
    {"InnerBlanks", "Memkey", "F2", "ACME  TOOL CO"},
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
    {"Latin1", "Memkey", "\xC4", "M\xDCLLER"},
};

TEST(IniFileSettingsStore, WhatIsSavedIsReadBackFromTheFile)
{
    TempDir dir;
    const auto file = dir.path() / "kvscript.ini";
    {
        IniFileSettingsStore store(file);
        for (const Saved& s : Awkward)
            store.saveSetting("Korvalen", s.section, s.key, s.value);
        store.saveSetting("Other", "Memkey", "F2", "another program's");
        EXPECT_TRUE(store.lastWrite().ok());
    }
    const IniFileSettingsStore again(file);
    for (const Saved& s : Awkward) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(again.getSetting("Korvalen", s.section, s.key, "missing"), s.value);
    }
    EXPECT_EQ(again.getSetting("Other", "Memkey", "F2", ""), "another program's");
    EXPECT_EQ(again.getSetting("Korvalen", "Memkey", "F1", "default"), "default");
    EXPECT_EQ(again.getSetting("Korvalen", "nosection", "F2", "default"), "default");
    const Pairs memkeys = again.getAllSettings("Korvalen", "Memkey");
    ASSERT_EQ(memkeys.size(), 9u);
    EXPECT_EQ(memkeys.front(), (std::pair<std::string, std::string>{"F2", "ACME  TOOL CO"}));
    EXPECT_EQ(memkeys.back().first, "\xC4") << "keys come in key order";
    EXPECT_TRUE(again.getAllSettings("Korvalen", "none").empty());
}

TEST(IniFileSettingsStore, ALaterSaveReplacesTheValueInTheFile)
{
    TempDir dir;
    const auto file = dir.path() / "s.ini";
    IniFileSettingsStore store(file);
    store.saveSetting("Korvalen", "dupkey", "dupkey", "55");
    store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
    EXPECT_EQ(IniFileSettingsStore(file).getSetting("Korvalen", "dupkey", "dupkey", ""), "123");
    EXPECT_EQ(dir.read("s.ini"), "[Korvalen/dupkey]\ndupkey=123\n");
}

TEST(IniFileSettingsStore, AMissingFileIsAnEmptyStoreAndIsMadeOnTheFirstSave)
{
    TempDir dir;
    const auto file = dir.path() / "new.ini";
    IniFileSettingsStore store(file);
    Preferences prefs;
    prefs.LoadSettings(store); // a first run writes the Duplicate key default back
    EXPECT_EQ(prefs.DupKeyCode, Preferences::DupKey7);
    EXPECT_EQ(IniFileSettingsStore(file).getSetting("Korvalen", "dupkey", "dupkey", ""), "55");
}

TEST(IniFileSettingsStore, AFailedWriteIsReportedAndKeepsTheValue)
{
    TempDir dir;
    IniFileSettingsStore store(dir.path() / "no such folder" / "s.ini");
    store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
    ASSERT_FALSE(store.lastWrite().ok());
    EXPECT_NE(store.lastWrite().error().message.find("no such folder"), std::string::npos);
    EXPECT_EQ(store.getSetting("Korvalen", "dupkey", "dupkey", ""), "123");
}

TEST(IniFileSettingsStore, ReadsAHandWrittenFile)
{
    const auto sections = IniFileSettingsStore::ParseText("; settings\r\n"
                                                          "orphan=before any section\r\n"
                                                          "[ Korvalen/formcolor ]\r\n"
                                                          "  f1 = 255  \r\n"
                                                          "# f2=1\r\n"
                                                          "no equals sign here\r\n"
                                                          "\r\n"
                                                          "[Korvalen/Memkey\r\n"
                                                          "F2=\"  kept  \"  trailing\r\n"
                                                          "\"F=3\" = \"a\\\"b\\\\c\\nd\"\n");
    const IniFileSettingsStore::Sections expected{
        {"", {{"orphan", "before any section"}}},
        {"Korvalen/formcolor", {{"f1", "255"}, {"F2", "  kept  "}, {"F=3", "a\"b\\c\nd"}}},
    };
    EXPECT_EQ(sections, expected) << "an unclosed header is skipped; its keys stay where they were";
}

} // namespace
