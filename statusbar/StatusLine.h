#pragma once

#include <string>
#include <string_view>

#include "keying/Surface.h"

class Engine;

// The message line under the entry band (ModeMsg on ModeColor) and the cursor panels of
// the status bar.
class StatusLine
{
public:
    static constexpr int MessageColumn = 12;
    static constexpr int MessageWidth = 40;
    static constexpr int PanelCount = 6;

    explicit StatusLine(Engine& e) : m_e(e) {}

    std::string ModeMsg;
    Color ModeColor = 0xFFFFFF;

    // Writes msg on the message line on a color background; the print position and caret
    // are put back where they were.
    void DisplayMode(const std::string& msg, Color color);
    // Panels 4 (cursor position) and 5 (field type and number).
    void DispStatus();
    void setPanel(int n, const std::string& text);
    // A click on status panel n: the duplicate-switch panel toggles the switch.
    void PanelClick(int n);
    // The key a panel is known by ("pan2", "DupSw"); empty for the others.
    static std::string_view PanelKey(int n);
    static std::string_view PanelToolTip(int n);

    // Panel 1: the upper-cased path cut to its first 3 and last 16 characters, and the
    // format name.
    static std::string FilePanelText(const std::string& dataFile, const std::string& fmtName);

private:
    Engine& m_e;
};
