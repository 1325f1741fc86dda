#include <gtest/gtest.h>

#include "common/FullIo.h"
#include "tests/support/Station.h"

namespace
{

// One start of the program over the stored settings of the one before.
struct Start : Station {
    Start(const std::string& tips, const MemorySettingsStore& before = {})
    {
        if (!tips.empty())
            app.write("TIPOFDAY.TXT", tips);
        store.values = before.values;
        start();
        e.tip.Form_Load();
    }
    std::string prevtip() const { return store.getSetting("Korvalen", "Last Tip", "prevtip", ""); }
};

const std::string Five = CrLf({"one", "two", "three", "four", "five"});

TEST(TipOfDay, EachStartShowsTheTipAfterTheOneShownLastOrSaysHowToMakeSome)
{
    // The first start shows the second tip and stores it: tips.
    Start first(Five);
    Start second(Five, first.store);
    EXPECT_EQ(second.e.tip.lblTipText, "three");

    // Below the first it starts again at the first (beyond the last: d-tips-wrap).
    MemorySettingsStore negative;
    negative.saveSetting("Korvalen", "Last Tip", "prevtip", "-7");
    Start wrapped(Five, negative);
    EXPECT_EQ(wrapped.e.tip.lblTipText, "one");
    EXPECT_EQ(wrapped.prevtip(), "1");
    EXPECT_EQ(Start(CrLf({"only"})).e.tip.lblTipText, "only");

    // Previous wraps to the last and is not stored: Next goes on from the stored one.
    TipOfDay& tip = wrapped.e.tip;
    tip.PrevTip();
    EXPECT_EQ(tip.lblTipText, "five");
    tip.PrevTip();
    EXPECT_EQ(tip.lblTipText, "four");
    tip.NextTip();
    EXPECT_EQ(tip.lblTipText, "two");

    // Without a tips file the window says how to make one (the "tip:" line of
    // recent-files.out); Next does not move off that text.
    Start none("");
    none.e.tip.NextTip();
    EXPECT_EQ(none.e.tip.lblTipText.rfind("That the TIPOFDAY.TXT file was not found?", 0), 0u);
}

// A start with tips switched off, and Help > Showtips turning them on: d-tips-off.
TEST(TipOfDay, TheSwitchAndTheHelpMenusCheckMark)
{
    Start first(Five);
    first.e.tip.chkLoadTipsAtStartup_Click(false);
    first.e.tip.cmdOK_Click();
    EXPECT_FALSE(first.e.win.mnuTipsChecked);
    EXPECT_EQ(first.store.getSetting("korvalen", "Options", "Show Tips at Startup", ""), "0");

    // Checked again inside the window: stored, but the menu keeps what it showed.
    first.e.tip.chkLoadTipsAtStartup_Click(true);
    first.e.tip.cmdOK_Click();
    EXPECT_FALSE(first.e.win.mnuTipsChecked);
    EXPECT_EQ(first.store.getSetting("korvalen", "Options", "Show Tips at Startup", ""), "1");
    first.e.tip.mnuTips_Click();
    EXPECT_FALSE(first.e.tip.Visible) << "the menu command does not show the window";
}

// F11 fills the record from its first position, over what was keyed: a text saying it
// fills "the rest" leads an operator to lose work.
TEST(TipOfDay, TheShippedTextsSayWhatF11Does)
{
    SystemFileIo io;
    for (const char* name : {"TIPOFDAY.TXT", "kvhelp.html"}) {
        SCOPED_TRACE(name);
        const auto text = FullIo::ReadFile(io, std::string(DEMO_DATA_DIR) + "/" + name);
        ASSERT_TRUE(text.ok());
        const auto at = text->find("F11");
        ASSERT_NE(at, std::string::npos);
        const std::string said = text->substr(at, 160);
        EXPECT_NE(said.find("whole record"), std::string::npos) << said;
        EXPECT_EQ(said.find("rest"), std::string::npos) << said;
    }
}

} // namespace
