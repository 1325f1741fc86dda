// kvscript DIR SCRIPT (or kvscript --version): replays a keying session without a window. DIR is
// the application and data folder (FILE.FMT is read there, settings are kept in DIR/kvscript.ini);
// SCRIPT
// ("-" for standard input) holds one command a line. Message boxes and "show" printouts go
// to standard output. Exit status: 0 done, 1 the settings file could not be written,
// 2 a script error, a missing DIR or an unreadable SCRIPT.

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string_view>

#include "common/BuildInfo.h"
#include "common/FullIo.h"
#include "common/SystemFileIo.h"
#include "engine/Engine.h"
#include "keying/ScreenModel.h"
#include "script/ReplayDialogs.h"
#include "script/ScriptClock.h"
#include "script/ScriptRunner.h"
#include "settings/IniFileSettingsStore.h"

namespace
{

namespace fs = std::filesystem;

constexpr int ScriptFailed = 2;

// The folder as an absolute path without "." parts or a trailing separator, as the Open
// dialog would show it.
fs::path FullDir(const fs::path& dir)
{
    fs::path p = fs::absolute(dir).lexically_normal();
    if (!p.has_filename() && p.has_relative_path())
        p = p.parent_path();
    return p;
}

int Run(const fs::path& dir, std::istream& script, const std::string& scriptName)
{
    ScreenModel screen(640, 480);
    ReplayDialogs dialogs(dir);
    SystemFileIo io;
    IniFileSettingsStore store(io, dir / "kvscript.ini");
    ScriptClock clock(std::time(nullptr));
    Engine engine(screen, dialogs, store, dir, io, clock);
    ScriptRunner runner(engine, screen, dialogs, std::cout, &clock);
    runner.start();
    const auto done = runner.run(script, scriptName);
    std::cout.flush();
    if (!done) {
        std::cerr << done.error().message << '\n';
        return ScriptFailed;
    }
    if (!store.lastWrite()) {
        std::cerr << "kvscript: " << store.lastWrite().error().message << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "kvscript " << BuildInfo::Version << '\n';
        return 0;
    }
    if (argc != 3) {
        std::cerr << "usage: kvscript DIR SCRIPT (\"-\" reads the script from standard input)\n";
        return ScriptFailed;
    }
    std::error_code ec;
    if (!fs::is_directory(argv[1], ec)) {
        std::cerr << "kvscript: " << argv[1] << ": no such folder\n";
        return ScriptFailed;
    }
    const fs::path dir = FullDir(argv[1]);
    const std::string scriptName = argv[2];
    if (scriptName == "-")
        return Run(dir, std::cin, scriptName);
    // Read whole, without waiting on a pipe: a script on a pipe comes on standard input.
    SystemFileIo io;
    const auto text = FullIo::ReadFile(io, scriptName);
    if (!text) {
        std::cerr << "kvscript: " << scriptName << ": cannot read the script ("
                  << text.error().message << ")\n";
        return ScriptFailed;
    }
    std::istringstream script(text.value());
    return Run(dir, script, scriptName);
}
