#include <gtest/gtest.h>

#include <sstream>

#include "app/Engine.h"
#include "app/ReplayDialogs.h"
#include "app/ScriptRunner.h"
#include "app/TextUtil.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/Station.h"
#include "tests/support/TempDir.h"

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

    Result<void> run(const std::string& script)
    {
        std::istringstream in(script);
        return runner.run(in, "t.kvs");
    }

    // The output lines that start with prefix.
    std::vector<std::string> lines(const std::string& prefix) const
    {
        std::vector<std::string> found;
        std::istringstream in(out.str());
        for (std::string l; std::getline(in, l);)
            if (l.rfind(prefix, 0) == 0)
                found.push_back(l);
        return found;
    }
};

TEST(ScriptRunner, ScriptErrorsNameTheLineAndStopThere)
{
    struct Row {
        const char* name;
        const char* script;
        const char* error;
        std::size_t shows; // printouts made before the error
    };
    for (const Row& r : {
             Row{"UnknownCommand", "show\n# note\n\n   \nfoo bar\nshow\n",
                 "t.kvs:5: unknown command 'foo'", 1},
             Row{"CrLfLines", "show\r\nShow\r\n", "t.kvs:2: unknown command 'Show'", 1},
             Row{"UnknownMenu", "menu Opne\n", "t.kvs:1: unknown menu 'Opne'", 0},
             Row{"UnknownKey", "key Enter\nkey Ctrl+Hom\n",
                 "t.kvs:2: unknown key 'Hom' in 'Ctrl+Hom'", 0},
             Row{"BadAnswer", "answer Maybe\nshow\n",
                 "t.kvs:1: unknown answer 'Maybe' (Yes, No, OK or Cancel)", 0},
             Row{"AnswerNoButton", "answer Cancel\nmenu New\nshow\n",
                 "t.kvs:2: answer Cancel is not a button of the box 'KORVALEN' (Yes/No)", 0},
             Row{"Untypeable", "type ab\tc\n", "t.kvs:1: no key types \\x09", 0},
             Row{"ShowWithText", "show\nshow all\n", "t.kvs:2: show takes nothing after it", 1},
         }) {
        SCOPED_TRACE(r.name);
        Replay p;
        const auto done = p.run(r.script);
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().message, r.error);
        EXPECT_EQ(p.lines("caption: ").size(), r.shows);
    }
}

TEST(ScriptRunner, ExitEndsTheScriptOnceTheMemoryKeysAreSaved)
{
    Replay p;
    ASSERT_TRUE(p.run("menu Exit\nshow\nnot a command\n").ok());
    EXPECT_EQ(p.out.str(), "");
    EXPECT_TRUE(p.store.values.count({"Korvalen", "Memkey", "F9"}));
}

TEST(ScriptRunner, AnswersGoToTheNextBoxAndTextsToTheNextDialog)
{
    struct Row {
        const char* name;
        const char* script;
        std::vector<std::string> boxes;
    };
    const std::string newFile = "box: KORVALEN | Select YES if the format/structure exists in "
                                "File.fmt ?\\nIf a file of the SAME NAME exists it will be "
                                "DELETED\\nCreate New File ?";
    const std::string noFile = "box: KORVALEN | No File Selected";
    for (const Row& r : {
             Row{"NewAnsweredNo", "answer No\nmenu New\n", {newFile}},
             Row{"NewAnsweredYes", "answer Yes\nmenu New\n", {newFile, noFile}},
             Row{"NewTakesItsFirstButton", "menu New\n", {newFile, noFile}},
             Row{"AnswersAreUsedInTurn",
                 "answer No\nanswer Yes\nmenu New\nmenu New\n",
                 {newFile, newFile, noFile}},
             Row{"OpenWithNothingChosen", "menu Open\n", {noFile}},
         }) {
        SCOPED_TRACE(r.name);
        Replay p;
        ASSERT_TRUE(p.run(r.script).ok());
        EXPECT_EQ(p.lines("box: "), r.boxes);
    }
}

TEST(ScriptRunner, ChosenTextsServeTheOpenDialogAndTheFormatSelectionInTurn)
{
    TempDir elsewhere;
    struct Row {
        const char* name;
        std::string script;
        std::string file;
        std::string format;
    };
    Replay p;
    for (const Row& r : {
             Row{"RelativeInsideDir", "choose k.dat\nchoose STOCK-19\nmenu Open\n",
                 p.dir.file("k.dat"), "STOCK-19"},
             Row{"AbsoluteAsGiven",
                 "choose " + elsewhere.file("w.dat") + "\nchoose PAYROLL/2-14\n" +
                     "menu Close\nmenu Open\n",
                 elsewhere.file("w.dat"), "PAYROLL/2-14"},
         }) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(p.run(r.script).ok());
        EXPECT_EQ(p.e.file.DataFilePath, r.file);
        EXPECT_EQ(p.e.fmt.FmtName, r.format);
        EXPECT_EQ(p.e.win.caption, "KORVALEN - ( Orlenmark ) " + text::Upper(r.file));
    }
}

TEST(ScriptRunner, GreyedOutMenuItemsDoNothing)
{
    Replay p;
    ASSERT_TRUE(p.run("choose k.dat\nchoose STOCK-19\nmenu Open\n").ok());
    const std::size_t boxes = p.lines("box: ").size();
    // Open and New are greyed out while a file is open: no Open dialog, no question.
    ASSERT_TRUE(p.run("menu Open\nmenu New\n").ok());
    EXPECT_EQ(p.lines("box: ").size(), boxes);
    ASSERT_TRUE(p.run("menu Close\nmenu Open\n").ok());
    EXPECT_EQ(p.lines("box: ").back(), "box: KORVALEN | No File Selected");
}

TEST(ScriptRunner, TypedTextKeepsItsBlanks)
{
    Replay p;
    ASSERT_TRUE(
        p.run("choose k.dat\nchoose STOCK-19\nmenu Open\ntype 12345\ntype  AB\nshow\n").ok());
    EXPECT_EQ(p.lines("data: "), std::vector<std::string>{"data: 12345 AB"});
    EXPECT_EQ(p.e.scr.CurCol, 9);
}

TEST(ScriptRunner, ABoxIsOneLineWhateverItsLineBreaks)
{
    Replay p;
    p.dialogs.messageBox("a\r\nb\rc\nd\n\r\ne\r", "Title", Dialogs::Buttons::OK,
                         Dialogs::Icon::None);
    EXPECT_EQ(p.out.str(), "box: Title | a\\nb\\nc\\nd\\n\\ne\\n\n");
}

TEST(ReplayDialogs, OneQueueOfTextsForOpenInputAndFormatSelection)
{
    TempDir dir;
    ReplayDialogs d(dir.path());
    const std::vector<std::string> entries{"STOCK-19", "PAYROLL/2-14"};
    for (const char* t : {"a.dat", "/abs/b.dat", "typed", "PAYROLL/2-14", "STOCK", "", "k.dat"})
        d.queueText(t);
    EXPECT_EQ(d.openFile({}), dir.file("a.dat")) << "the full path, as the real dialog gives";
    EXPECT_EQ(d.openFile({}), "/abs/b.dat");
    EXPECT_EQ(d.inputBox("prompt", "title", "default"), "typed");
    const auto listed = d.chooseFormat(entries);
    EXPECT_TRUE(listed.accepted);
    EXPECT_EQ(listed.selected, 1);
    EXPECT_EQ(listed.text, "PAYROLL/2-14");
    const auto typed = d.chooseFormat(entries);
    EXPECT_TRUE(typed.accepted);
    EXPECT_EQ(typed.selected, -1);
    EXPECT_EQ(typed.text, "STOCK");
    EXPECT_EQ(d.openFile({}), "") << "an empty name stays empty";
    EXPECT_EQ(d.chooseFormat(entries).text, "k.dat");
    // With nothing queued every one of them is cancelled.
    EXPECT_FALSE(d.openFile({}).has_value());
    EXPECT_FALSE(d.inputBox("prompt", "title", "default").has_value());
    EXPECT_FALSE(d.chooseFormat(entries).accepted);
}

} // namespace
