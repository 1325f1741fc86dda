#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "common/Result.h"

class Engine;
class ReplayDialogs;
class ScreenModel;
class ScriptClock;
struct KeyStroke;

// Replays a keying session from script lines against an engine: dialog answers and texts,
// menu commands, typed text, named keys, status-panel clicks and "show" printouts of the window.
// Every message box and printout goes to the output as a line of its own, in order.
class ScriptRunner
{
public:
    // With a clock, every key takes ScriptClock::KeyMs of it and "wait" moves it on.
    ScriptRunner(Engine& e, ScreenModel& screen, ReplayDialogs& dialogs, std::ostream& out,
                 ScriptClock* clock = nullptr);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Start-up as the program does it: the stored settings, then the window.
    void start();
    // One script line. True while the script goes on, false once it has ended (Exit).
    Result<bool> runLine(std::string_view line);
    // Every line of a script until its end or Exit; an error reads "NAME:LINE: what".
    Result<void> run(std::istream& in, const std::string& name);

private:
    Result<bool> command(std::string_view word, std::string_view arg);
    Result<void> answer(std::string_view arg);
    Result<bool> menu(std::string_view arg);
    // While the Preferences dialog is open, the script works its controls.
    Result<void> prefsCommand(std::string_view word, std::string_view arg);
    Result<void> type(std::string_view text);
    Result<void> key(std::string_view name);
    void press(const KeyStroke& k);
    // Moves the script's clock on: a pause of the operator's.
    Result<void> wait(std::string_view seconds);
    Result<void> click(std::string_view panel);
    void show();
    void box(const std::string& title, const std::string& text);

    Engine& m_e;
    ScreenModel& m_screen;
    ReplayDialogs& m_dialogs;
    std::ostream& m_out;
    ScriptClock* m_clock;
};
