#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

using B = Toolbar::Button;

// The pictures and the New, Format and Preferences clicks are driven through real mouse events
// in tests/gui/frmKvlTest; here the Save and Open clicks, which hang on the open file.
TEST(Toolbar, SaveAndOpenActOnlyWhileTheyCan)
{
    Started s;
    Toolbar& t = s.e.toolbar;
    // No file: nothing to save, so no box and no "File Saved" to mislead.
    EXPECT_EQ(t.Click(B::ImgFileSave), Toolbar::Opens::Nothing);
    EXPECT_TRUE(s.dialogs.boxes.empty());
    EXPECT_EQ(s.messageLine(), "");

    s.openWith("S.DAT", "", "STOCK-19");
    t.Click(B::ImgFileSave);
    EXPECT_EQ(s.messageLine().find("File Saved"), 0u);

    // With a file open, Open is greyed like its menu item.
    const auto openings = s.dialogs.openRequests.size();
    t.Click(B::ImgFileOpen);
    EXPECT_EQ(s.dialogs.openRequests.size(), openings);
    EXPECT_TRUE(s.dialogs.boxes.empty());
}

} // namespace
