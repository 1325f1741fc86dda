#pragma once

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/TextUtil.h"
#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "keying/KeyNames.h"
#include "keying/ScreenModel.h"
#include "script/ScriptClock.h"
#include "tests/support/FaultyFileIo.h"
#include "tests/support/MemorySettingsStore.h"
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
    FaultyFileIo io;                       // passes everything through until a test sets a fault
    ScriptClock clock{std::time(nullptr)}; // moves only when a test moves it
    Engine e{screen, dialogs, store, app.path(), io, clock};

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

    // File > Open with the given file and the given list entry (or typed text) in the
    // format selection.
    void open(const std::string& file, const std::string& entry)
    {
        dialogs.openAnswers.push_back(app.file(file));
        dialogs.chooseEntry(entry);
        e.file.mnuOpen_Click();
    }
    // The same over a data file written first, so that no message about a new file comes up.
    void openWith(const std::string& file, const std::string& bytes, const std::string& entry)
    {
        app.write(file, bytes);
        open(file, entry);
    }

    double T() const { return e.scr.T(); }

    // Keystrokes as the window delivers them: the key-down, then its character.
    void type(const std::string& text)
    {
        for (const char c : text)
            e.keys.Press(KeyNames::ForChar(c).value());
    }
    // Named keys, one after the other: key("Up", "Up", "Enter").
    template <class... Names> void key(const Names&... names) { (press(names), ...); }
    void press(const std::string& name)
    {
        const auto ks = KeyNames::Parse(name);
        if (!ks)
            throw std::invalid_argument(name + ": " + ks.error().message);
        e.keys.Press(ks.value());
    }

    // The records of a data file, without their CR LF.
    std::vector<std::string> records(const std::string& file) const
    {
        std::vector<std::string> out;
        const std::string bytes = app.read(file);
        for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
            end = std::min(bytes.find("\r\n", at), bytes.size());
            out.push_back(bytes.substr(at, end - at));
        }
        return out;
    }
    // The names in the application folder, sorted: to see that no copy was left behind.
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(app.path()))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    std::string lastBox() const { return dialogs.boxes.empty() ? "" : dialogs.boxes.back().text; }
    std::string dataRow() const { return text::TrimRight(screen.rowText(T() + 1)); }
    std::string messageLine() const
    {
        const std::string row = screen.rowText(T() + 4);
        return row.size() <= StatusLine::MessageColumn
                   ? std::string()
                   : text::TrimRight(row.substr(StatusLine::MessageColumn));
    }
};

// A station started at once, over the settings store as it comes.
struct Started : Station {
    explicit Started(const std::string& formats = DemoFormats) : Station(formats) { start(); }
};
