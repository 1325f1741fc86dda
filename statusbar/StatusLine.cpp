#include "statusbar/StatusLine.h"

#include <cmath>

#include "engine/Engine.h"

void StatusLine::DisplayMode(const std::string& msg, Color color)
{
    Surface& s = m_e.surface;
    EntryScreen& scr = m_e.scr;
    scr.SavedX = static_cast<int>(std::lround(s.printCol()));
    scr.SavedY = static_cast<int>(std::lround(s.printRow()));
    const double row = scr.T() + 4;
    s.setPrintPos(MessageColumn, row);
    scr.Clearchars2(MessageWidth, 0xFFFFFF);
    s.setPrintPos(MessageColumn, row);
    scr.Clearchars2(static_cast<int>(msg.size()), color);
    s.setPrintPos(MessageColumn, row);
    s.print(msg);
    ModeColor = color;
    s.setPrintPos(scr.SavedX, scr.SavedY);
    scr.PosCur();
}

void StatusLine::DispStatus()
{
    setPanel(5, std::string(1, m_e.fld.FldType) + "(" + std::to_string(m_e.fld.CurFld) + ")");
    setPanel(4, std::to_string(m_e.scr.CurCol));
}

void StatusLine::setPanel(int n, const std::string& text)
{
    auto& panel = m_e.win.panels.at(static_cast<std::size_t>(n));
    if (panel == text)
        return;
    panel = text;
    m_e.WindowChanged();
}

std::string StatusLine::FilePanelText(const std::string& dataFile, const std::string& fmtName)
{
    // A path short enough to show whole is not abbreviated.
    const std::string shown = dataFile.size() <= 21 ? dataFile
                                                    : dataFile.substr(0, 3) + ".." +
                                                          dataFile.substr(dataFile.size() - 16);
    return shown + " - Fmt:" + fmtName;
}

void StatusLine::PanelClick(int n)
{
    if (PanelKey(n) == "DupSw")
        m_e.aids.DupOnOff();
}

std::string_view StatusLine::PanelKey(int n)
{
    switch (n) {
    case 2:
        return "pan2";
    case 3:
        return "DupSw";
    default:
        return {};
    }
}

std::string_view StatusLine::PanelToolTip(int n)
{
    static constexpr std::string_view Tips[PanelCount + 1] = {
        "",           "File Name",    "Record Number", "Press Ctrl-D to Toggle", "Character Count",
        "Field Type", "Format number"};
    return n >= 1 && n <= PanelCount ? Tips[n] : std::string_view{};
}
