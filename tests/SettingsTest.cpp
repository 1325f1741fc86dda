#include <gtest/gtest.h>

#include <functional>

#include "keying/ScreenModel.h"
#include "settings/IniFileSettingsStore.h"
#include "settings/Preferences.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/Station.h"

namespace
{

TEST(Settings, StoredValuesAreReadAndMemoryKeysRoundTrip)
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
             Row{"ColourNegative", "formcolor", "f1", "-1", 0x34BDE4, 0x00FF00, 55, false},
             Row{"ColourBeyond24Bits", "formcolor", "f2", "16777216", 0x34BDE4, 0x00FF00, 55,
                 false},
             Row{"DupBeyondAnyKey", "dupkey", "dupkey", "99999999999999999999", 0x34BDE4, 0x00FF00,
                 55, false},
             Row{"DupF12", "dupkey", "dupkey", "123", 0x34BDE4, 0x00FF00, 123, false},
             Row{"DupNotANumber", "dupkey", "dupkey", "x", 0x34BDE4, 0x00FF00, 0, false},
             Row{"PadOn", "uptronsw", "sw", "-1", 0x34BDE4, 0x00FF00, 55, true},
             Row{"PadOnTrailingText", "uptronsw", "sw", "-1x", 0x34BDE4, 0x00FF00, 55, true},
             Row{"PadOnDecimal", "uptronsw", "sw", "-1.0", 0x34BDE4, 0x00FF00, 55, true},
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
        const bool dupStored = r.section && std::string(r.section) == "dupkey";
        EXPECT_EQ(store.getSetting("Korvalen", "dupkey", "dupkey", ""), dupStored ? r.value : "55");
    }

    // Memory keys go out trimmed and cut, and come back padded.
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

// One start of the program on a settings file: the store, the engine and its start-up.
struct Start {
    explicit Start(const std::filesystem::path& dir,
                   const std::function<void(FaultyFileIo&)>& fault = {})
        : store(io, dir / "settings.ini"), e(screen, dialogs, store, dir, io)
    {
        if (fault)
            fault(io);
        e.LoadSettings();
        e.Form_Load();
    }
    ScreenModel screen{640, 480};
    ScriptedDialogs dialogs;
    FaultyFileIo io;
    IniFileSettingsStore store;
    Engine e;
};

TEST(Preferences, WhatTheDialogStoresSurvivesARestart)
{
    TempDir dir;
    dir.write("dupoff.bmp", "BM");
    {
        Start first(dir.path());
        EXPECT_EQ(first.store.getSetting("Korvalen", "dupkey", "dupkey", ""), "55");
        PrefsForm& form = first.e.prefsForm;
        form.Show();
        form.Mem[2] = "  ACME  ";
        form.Mem[3] = std::string(40, 'x');
        form.DupkeyF12_Click();
        form.Check1 = true;
        first.dialogs.colorAnswers = {0x0000FF};
        form.cmdBkClr_Click();
        form.OK_Click();
        EXPECT_FALSE(form.Visible);
        first.e.Form_Terminate();
        ASSERT_TRUE(first.store.lastWrite());
    }
    Start second(dir.path());
    const Preferences& p = second.e.prefs;
    EXPECT_EQ(p.FormBackColor, 0x0000FFu);
    EXPECT_EQ(p.TextBackColor, Preferences::DefaultTextBack);
    EXPECT_EQ(p.DupKeyCode, Preferences::DupKeyF12);
    EXPECT_TRUE(p.UptronSw);
    EXPECT_EQ(p.MemKeys[2], Preferences::FixedMemText("ACME"));
    EXPECT_EQ(p.MemKeys[3], std::string(32, 'x'));
    // The dialog opens on what is in force.
    const PrefsForm& form = second.e.prefsForm;
    EXPECT_EQ(form.Mem[2], "ACME");
    EXPECT_TRUE(form.DupkeyF12);
    EXPECT_TRUE(form.Check1);

    // Settings that could not be read are not written over, and the operator hears of it
    // once, at start.
    const std::string stored = dir.read("settings.ini");
    {
        Start unread(dir.path(), [](FaultyFileIo& io) {
            io.readFault = FaultyFileIo::ReadFault{.file = "settings.ini"};
        });
        ASSERT_EQ(unread.dialogs.texts().size(), 1u);
        EXPECT_EQ(unread.dialogs.texts()[0].rfind("The settings file " + dir.file("settings.ini") +
                                                      " could not be read: Input/output error.",
                                                  0),
                  0u);
        EXPECT_EQ(unread.e.prefs.DupKeyCode, Preferences::DupKey7) << "the built-in value";
        unread.e.prefsForm.Show();
        unread.e.prefsForm.OK_Click();
        unread.e.Form_Terminate();
        EXPECT_EQ(unread.dialogs.texts().size(), 1u);
    }
    EXPECT_EQ(dir.read("settings.ini"), stored);

    // A write that fails is told once, and leaves no copy behind.
    Start unwritable(dir.path(), [](FaultyFileIo& io) { io.writeBudget = 0; });
    unwritable.e.prefsForm.Show();
    unwritable.e.prefsForm.OK_Click();
    unwritable.e.Form_Terminate();
    ASSERT_EQ(unwritable.dialogs.texts().size(), 1u);
    EXPECT_EQ(unwritable.dialogs.texts()[0].rfind(
                  "The settings could not be saved to " + dir.file("settings.ini") + ": ", 0),
              0u);
    EXPECT_EQ(dir.read("settings.ini"), stored);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// That the typed texts are shown again, and a key stored from the keyboard kept by OK:
// preferences.
TEST(Preferences, CancelAppliesOnlyWhatActsAtOnce)
{
    Started s;
    PrefsForm& form = s.e.prefsForm;
    form.Show();
    form.Mem[4] = "typed";
    form.Check1 = true;
    form.DupkeyF12_Click();
    s.dialogs.colorAnswers = {255};
    form.cmdTxtclr_Click();
    form.cmdBkClr_Click(); // nothing queued: the picker is cancelled
    form.Cancel_Click();

    EXPECT_EQ(s.dialogs.texts(), std::vector<std::string>{"Cancelled"});
    EXPECT_EQ(s.e.prefs.DupKeyCode, Preferences::DupKeyF12);
    EXPECT_EQ(s.store.getSetting("Korvalen", "dupkey", "dupkey", ""), "55");
    EXPECT_EQ(s.e.prefs.TextBackColor, 255u);
    EXPECT_EQ(s.store.getSetting("Korvalen", "formcolor", "f1", ""), "255");
    EXPECT_EQ(s.e.prefs.FormBackColor, Preferences::DefaultFormBack);
    EXPECT_FALSE(s.store.hasSetting("Korvalen", "formcolor", "f2"));
    EXPECT_FALSE(s.e.prefs.UptronSw);
    EXPECT_EQ(s.e.prefs.MemKeys[4], Preferences::FixedMemText(""));
    EXPECT_EQ(s.store.getSetting("Korvalen", "Memkey", "F4", "?"), "?");
}

} // namespace
