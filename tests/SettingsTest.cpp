#include <gtest/gtest.h>

#include "settings/Preferences.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

TEST(Settings, StoredValuesAreRead)
{
    struct Row {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
        Color text, form;
        int dup;
        bool pad;
    };
    for (const Row r : {
             Row{"FirstRun", nullptr, nullptr, nullptr, 0x34BDE4, 0x00FF00, 55, false},
             Row{"TextColour", "formcolor", "f1", "255", 255, 0x00FF00, 55, false},
             Row{"FormColour", "formcolor", "f2", "16711935", 0x34BDE4, 0xFF00FF, 55, false},
             Row{"ColourNotANumber", "formcolor", "f2", "12abc", 0x34BDE4, 0x00FF00, 55, false},
             Row{"DupF12", "dupkey", "dupkey", "123", 0x34BDE4, 0x00FF00, 123, false},
             Row{"DupNotANumber", "dupkey", "dupkey", "x", 0x34BDE4, 0x00FF00, 0, false},
             Row{"PadOn", "uptronsw", "sw", "-1", 0x34BDE4, 0x00FF00, 55, true},
             Row{"PadOff", "uptronsw", "sw", "0", 0x34BDE4, 0x00FF00, 55, false},
             Row{"PadNotANumber", "uptronsw", "sw", "yes", 0x34BDE4, 0x00FF00, 55, false},
             Row{"PadBeyond16Bits", "uptronsw", "sw", "65536", 0x34BDE4, 0x00FF00, 55, false},
         }) {
        SCOPED_TRACE(r.name);
        MemorySettingsStore store;
        if (r.section)
            store.saveSetting("Korvalen", r.section, r.key, r.value);
        Preferences p;
        p.LoadSettings(store);
        EXPECT_EQ(p.TextBackColor, r.text);
        EXPECT_EQ(p.FormBackColor, r.form);
        EXPECT_EQ(p.DupKeyCode, r.dup);
        EXPECT_EQ(p.UptronSw, r.pad);
        // A missing Duplicate key is written back with its default.
        EXPECT_EQ(store.getSetting("Korvalen", "dupkey", "dupkey", ""),
                  r.dup == 55 ? "55" : r.value);
    }
}

TEST(Settings, MemoryKeysRoundTripTrimmedAndCut)
{
    MemorySettingsStore store;
    Preferences p;
    p.MemKeys[2] = Preferences::FixedMemText("  ACME  ");
    p.MemKeys[5] = Preferences::FixedMemText(std::string(40, 'x'));
    p.SaveMemKeys(store);
    EXPECT_EQ(store.getSetting("Korvalen", "Memkey", "F2", "?"), "ACME");
    EXPECT_EQ(store.getSetting("Korvalen", "Memkey", "F5", "?"), std::string(32, 'x'));
    EXPECT_EQ(store.getSetting("Korvalen", "Memkey", "F9", "?"), "");

    Preferences q;
    q.LoadMemKeys(store);
    EXPECT_EQ(q.MemKeys[2], "ACME" + std::string(28, ' '));
    EXPECT_EQ(q.MemKeys[5].size(), 32u);
    EXPECT_EQ(q.MemKeys[9], std::string(32, ' '));
}

} // namespace
