#include <gtest/gtest.h>

#include <sstream>

#include "engine/Engine.h"
#include "keying/ScreenModel.h"
#include "script/ReplayDialogs.h"
#include "script/ScriptRunner.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/Station.h"
#include "tests/support/TempDir.h"

// Opening, show printouts, box lines, answers, greyed-out items, typed blanks and Exit ending
// a script are replayed by the scenario files (b-new-and-open, runner-open, runner-new-file);
// a script error stops kvscript, so its messages are checked here.
namespace
{

// An engine replaying a script in a folder of its own that holds the test formats.
struct Replay {
    TempDir dir;
    ScreenModel screen{640, 480};
    ReplayDialogs dialogs{dir.path()};
    MemorySettingsStore store;
    Engine e{screen, dialogs, store, dir.path()};
    std::ostringstream out;
    ScriptRunner runner{e, screen, dialogs, out};

    Replay()
    {
        dir.write("FILE.FMT", Station::DemoFormats);
        dir.write("dupoff.bmp", "BM");
        runner.start();
    }
};

TEST(ScriptRunner, ScriptErrorsNameTheLineAndStopThere)
{
    struct Row {
        const char* script;
        const char* error;
        std::size_t shows; // printouts made before the error
    };
    for (const Row& r : {
             // CR LF ends, a comment and blank lines are counted as lines.
             Row{"show\r\n# note\r\n\n   \nfoo bar\nshow\n", "t.kvs:5: unknown command 'foo'", 1},
             Row{"menu Opne\n", "t.kvs:1: unknown menu 'Opne'", 0},
             Row{"key Enter\nkey Ctrl+Hom\n", "t.kvs:2: unknown key 'Hom' in 'Ctrl+Hom'", 0},
             Row{"answer Maybe\nshow\n", "t.kvs:1: unknown answer 'Maybe' (Yes, No, OK or Cancel)",
                 0},
             Row{"answer Cancel\nmenu New\nshow\n",
                 "t.kvs:2: answer Cancel is not a button of the box 'KORVALEN' (Yes/No)", 0},
             Row{"type ab\tc\n", "t.kvs:1: no key types \\x09", 0},
             Row{"show\nshow all\n", "t.kvs:2: show takes nothing after it", 1},
             Row{"wait 5\nwait -1\n", "t.kvs:2: wait takes a number of seconds, not '-1'", 0},
             Row{"wait 1.5\n", "t.kvs:1: wait takes a number of seconds, not '1.5'", 0},
             Row{"menu Options\nmenu New\n",
                 "t.kvs:2: 'menu' cannot be done while the Preferences dialog is open (set, "
                 "click, choose, answer, accept or show; click OK or Cancel to close it)",
                 0},
             Row{"menu Options\nset F10 x\n", "t.kvs:2: unknown box 'F10' (F2 to F9)", 0},
             Row{"menu Options\nchoose 16777216\nclick FormBackColor\n",
                 "t.kvs:3: choose 16777216 is no colour (a decimal number up to 16777215)", 0},
             Row{"accept\nmenu Open\n", "t.kvs:2: accept answers an input box, not the Open dialog",
                 0},
         }) {
        SCOPED_TRACE(r.script);
        Replay p;
        std::istringstream in(r.script);
        const auto done = p.runner.run(in, "t.kvs");
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().message, r.error);
        std::size_t shows = 0; // each printout has one caption line
        for (auto at = p.out.str().find("caption: "); at != std::string::npos;
             at = p.out.str().find("caption: ", at + 1))
            ++shows;
        EXPECT_EQ(shows, r.shows);
    }
}

} // namespace
