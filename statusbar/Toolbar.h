#pragma once

#include <array>

class Engine;

// The picture buttons across the top of the main window: which picture each shows (flat,
// raised under the pointer, pressed) and what a click runs.
class Toolbar
{
public:
    enum Button { ImgFileNew, ImgFileOpen, ImgFileSave, ImgFmt, ImgPrf, ButtonCount };
    enum class Picture { Flat, Raised, Pressed };
    // What a click leaves for the window to show.
    enum class Opens { Nothing, FormatEditor, Preferences };

    static constexpr const char* ToolTips[ButtonCount] = {
        ("To create new datafile ( format/structure must exist in FILE.FMT). FILE.FMT is "
         "required in the Datafile directory."),
        "Open Existing Data File",
        "File Save",
        "Edit or Create Format in File.fmt",
        "Set Preferences",
    };

    explicit Toolbar(Engine& e) : m_e(e) {}

    std::array<Picture, ButtonCount> shown{}; // all flat at first

    void MouseDown(Button b);
    void MouseMove(Button b);
    void MouseUp(Button b);
    Opens Click(Button b);
    // The pointer moved over the strip outside the buttons or over the entry screen.
    void MoveOutside();
    // Whether the button's command is offered now, as its menu item is: New and Open
    // while no file is open, Save while one is. A button not offered is greyed and does
    // nothing at all.
    bool Offered(Button b) const;

private:
    void set(Picture p, std::initializer_list<Button> buttons);

    Engine& m_e;
};
