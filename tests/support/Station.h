#pragma once

#include <string>

#include "app/Engine.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"
#include "app/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

// A keying station for tests: an engine over a screen model, scripted dialogs and an
// in-memory settings store, with an application folder of its own that holds FILE.FMT.
struct Station {
    static constexpr const char* DemoFormats = "* test formats\r\n"
                                               "STOCK\r\n"
                                               "N----A-------R--.-E\r\n"
                                               "ITEM NAME   PRICE\r\n"
                                               "PAYROLL/2\r\n"
                                               "N----A-------E\r\n"
                                               "EMP  NAME\r\n"
                                               "B----M-------E\r\n"
                                               "DEPT SURNAME\r\n";

    TempDir app;
    ScreenModel screen{800, 560};
    ScriptedDialogs dialogs;
    MemorySettingsStore store;
    Engine e{screen, dialogs, store, app.path()};

    explicit Station(const std::string& formats = DemoFormats, bool withPicture = true)
    {
        app.write("FILE.FMT", formats);
        if (withPicture)
            app.write("dupoff.bmp", "BM");
    }

    void start()
    {
        e.LoadSettings();
        e.Form_Load();
    }

    // File > Open with the given file (relative names are taken in the app folder) and
    // the given list entry (or typed text) in the format selection.
    void open(const std::string& file, const std::string& entry)
    {
        dialogs.openAnswers.push_back(file.front() == '/' ? file : app.file(file));
        dialogs.chooseEntry(entry);
        e.file.mnuOpen_Click();
    }

    double T() const { return e.scr.T(); }
};
