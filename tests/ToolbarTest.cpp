#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

using B = Toolbar::Button;

// The five pictures, New to Preferences: F flat, R raised, P pressed.
std::string Shown(const Toolbar& t)
{
    std::string out;
    for (const auto p : t.shown)
        out += p == Toolbar::Picture::Flat ? 'F' : p == Toolbar::Picture::Raised ? 'R' : 'P';
    return out;
}

TEST(Toolbar, PicturesFollowThePointerAndClicksRunTheirCommands)
{
    Started s;
    Toolbar& t = s.e.toolbar;
    EXPECT_EQ(Shown(t), "FFFFF");
    struct Step {
        void (Toolbar::*event)(B);
        B button;
        const char* after;
    };
    for (const Step step : {
             Step{&Toolbar::MouseMove, B::ImgFileSave, "FFRFF"},
             Step{&Toolbar::MouseMove, B::ImgFmt, "FFFRF"},
             // Over Save only New and Open go flat: Format stays raised.
             Step{&Toolbar::MouseMove, B::ImgFileSave, "FFRRF"},
             Step{&Toolbar::MouseMove, B::ImgFileOpen, "FRFFF"},
             Step{&Toolbar::MouseDown, B::ImgFileOpen, "FPFFF"},
             Step{&Toolbar::MouseUp, B::ImgFileOpen, "FPFFF"}, // stays pressed
             Step{&Toolbar::MouseMove, B::ImgPrf, "FFFFR"},    // and Open flat again
             Step{&Toolbar::MouseDown, B::ImgPrf, "FFFFP"},
             Step{&Toolbar::MouseUp, B::ImgPrf, "FFFFF"}, // Preferences goes flat
             Step{&Toolbar::MouseDown, B::ImgFileSave, "FFPFF"},
             Step{&Toolbar::MouseUp, B::ImgFileSave, "FFRFF"},
             Step{&Toolbar::MouseMove, B::ImgFileNew, "RFRFF"},
             Step{&Toolbar::MouseDown, B::ImgFileNew, "PFRFF"},
             Step{&Toolbar::MouseUp, B::ImgFileNew, "RFRFF"},
         }) {
        (t.*step.event)(step.button);
        EXPECT_EQ(Shown(t), step.after) << "after button " << step.button;
    }
    t.MoveOutside();
    EXPECT_EQ(Shown(t), "FFFFF");

    // Clicks run their commands, and New nothing while it is greyed.
    EXPECT_EQ(t.Click(B::ImgPrf), Toolbar::Opens::Preferences);
    EXPECT_TRUE(s.e.prefsForm.Visible);
    s.e.prefsForm.Cancel_Click();
    EXPECT_EQ(t.Click(B::ImgFmt), Toolbar::Opens::FormatEditor);
    EXPECT_TRUE(s.e.fmtEditor.Visible);
    EXPECT_EQ(t.Click(B::ImgFileSave), Toolbar::Opens::Nothing);
    EXPECT_TRUE(s.dialogs.boxes.empty()) << "no file, nothing saved, nothing said";

    t.Click(B::ImgFileOpen); // the Open dialog, cancelled
    EXPECT_EQ(s.dialogs.texts(), std::vector<std::string>{"No File Selected"});
    s.openWith("S.DAT", "", "STOCK-19");
    t.Click(B::ImgFileSave);
    EXPECT_EQ(s.screen.rowText(s.T() + 4).find("File Saved"), StatusLine::MessageColumn);

    // A file is open, so New is greyed: no picture changes, no question.
    const auto boxes = s.dialogs.boxes.size();
    const auto openings = s.dialogs.openRequests.size();
    t.MouseMove(B::ImgFileNew);
    t.MouseDown(B::ImgFileNew);
    t.MouseUp(B::ImgFileNew);
    t.Click(B::ImgFileNew);
    t.Click(B::ImgFileOpen);
    EXPECT_EQ(Shown(t), "FFFFF");
    EXPECT_EQ(s.dialogs.boxes.size(), boxes);
    EXPECT_EQ(s.dialogs.openRequests.size(), openings);
}

} // namespace
