#include <gtest/gtest.h>

#include <functional>

#include "keying/ScreenModel.h"
#include "settings/IniFileSettingsStore.h"
#include "settings/Preferences.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/Station.h"

namespace
{

// Memory keys go out trimmed and cut (preferences, memory-store) and are cut on loading
// (memory-recall); a Cancel of the dialog: d-prefs-cancel.
TEST(Settings, StoredValuesAreRead)
{
    constexpr Color Tx = 0x34BDE4, Fm = 0x00FF00; // as the first run has them
    struct Row {
        const char *section, *key, *value;
        Color text, form;
        int dup;
        bool pad;
    };
    for (const Row r : {
             Row{nullptr, nullptr, nullptr, Tx, Fm, 55, false}, // the first run
             Row{"formcolor", "f1", "255", 255, Fm, 55, false},
             Row{"formcolor", "f2", "16711935", Tx, 0xFF00FF, 55, false},
             Row{"formcolor", "f2", "12abc", Tx, Fm, 55, false},
             Row{"formcolor", "f1", "-1", Tx, Fm, 55, false},
             Row{"formcolor", "f2", "16777216", Tx, Fm, 55, false}, // beyond 24 bits
             Row{"dupkey", "dupkey", "99999999999999999999", Tx, Fm, 55, false},
             Row{"dupkey", "dupkey", "123", Tx, Fm, 123, false},
             Row{"dupkey", "dupkey", "x", Tx, Fm, 0, false},
             Row{"uptronsw", "sw", "-1", Tx, Fm, 55, true},
             Row{"uptronsw", "sw", "-1x", Tx, Fm, 55, true},
             Row{"uptronsw", "sw", "-1.0", Tx, Fm, 55, true},
             Row{"uptronsw", "sw", "0", Tx, Fm, 55, false},
             Row{"uptronsw", "sw", "yes", Tx, Fm, 55, false},
             Row{"uptronsw", "sw", "65536", Tx, Fm, 55, false}, // beyond 16 bits
         }) {
        SCOPED_TRACE(r.value ? r.value : "nothing stored");
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

// What OK stores and the dialog shows after: preferences. Stored values read at start: the
// table above and the settings file's round trip.
TEST(Preferences, SettingsThatCannotBeReadOrWrittenAreToldOnceAndNotWrittenOver)
{
    TempDir dir;
    dir.write("dupoff.bmp", "BM");
    {
        Start first(dir.path());
        first.e.prefsForm.Show();
        first.e.prefsForm.Mem[2] = "ACME";
        first.e.prefsForm.OK_Click();
        first.e.Form_Terminate();
        ASSERT_TRUE(first.store.lastWrite());
    }
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

} // namespace
