#include "keying/EntryScreen.h"

#include <algorithm>
#include <cmath>

#include "common/TextUtil.h"
#include "engine/Engine.h"
#include "settings/SettingsStore.h"

namespace
{

int Round(double v)
{
    return static_cast<int>(std::lround(v));
}

} // namespace

int EntryScreen::surfaceCols() const
{
    return std::max(Round(m_e.surface.widthCols()), 1);
}

void EntryScreen::PosCur()
{
    Surface& s = m_e.surface;
    if (s.printCol() < 0)
        s.setPrintPos(0, s.printRow());
    s.setCaretPos(Round(s.printCol() * s.cellWidth()), Round(s.printRow() * s.cellHeight()));
    s.showCaret();
}

void EntryScreen::Clearchars(int n, Color textBack)
{
    Surface& s = m_e.surface;
    SavedX = Round(s.printCol());
    SavedY = Round(s.printRow());
    const double col = s.printCol();
    s.hideCaret();
    s.fillBox(col, dataRow(), col + n, dataRow() + 1, textBack);
    s.setPrintPos(SavedX, dataRow());
    s.showCaret();
}

void EntryScreen::Clearchars2(int n, Color textBack)
{
    Surface& s = m_e.surface;
    s.hideCaret();
    s.fillBox(s.printCol(), s.printRow(), s.printCol() + n, s.printRow() + 1, textBack);
    s.showCaret();
}

void EntryScreen::OutChr(std::string_view a)
{
    Clearchars(1, m_e.prefs.TextBackColor);
    m_e.surface.print(a);
}

void EntryScreen::ClearArea()
{
    Surface& s = m_e.surface;
    m_bandCols = s.widthCols();
    s.fillBox(0, T(), m_bandCols, bandBottom(), m_e.prefs.FormBackColor);
    s.setPrintPos(0, s.printRow());
    Clearchars(ScrCols, 0xFFFFFF);
}

void EntryScreen::PrintSlice(const std::string& line, int from, int count)
{
    if (from < 1 || count <= 0 || from > static_cast<int>(line.size()))
        return;
    m_e.surface.print(std::string_view(line).substr(static_cast<std::size_t>(from - 1),
                                                    static_cast<std::size_t>(count)));
}

void EntryScreen::PrintHeadLine()
{
    m_e.surface.setPrintPos(0, T());
    PrintSlice(m_e.fmt.HeadLines[static_cast<std::size_t>(m_e.fmt.FmtNo)], 1, ScrCols);
}

void EntryScreen::PrintFmtLine()
{
    m_e.surface.setPrintPos(0, T() + 2);
    PrintSlice(m_e.fmt.FmtLines[static_cast<std::size_t>(m_e.fmt.FmtNo)], 1, ScrCols);
}

void EntryScreen::InitScreen()
{
    // A record set up anew drops what Verify replaced in one never written.
    m_e.verifyLog.Discard();
    Surface& s = m_e.surface;
    FormatState& f = m_e.fmt;
    s.clear();
    m_e.status.DisplayMode(m_e.status.ModeMsg, m_e.status.ModeColor);
    SecNo = 0;
    SecStart = 0;
    m_e.keys.Revisit = false;
    ScrCols = surfaceCols();
    ClearArea();
    s.setPrintPos(0, dataRow());
    Clearchars(ScrCols, 0xFFFFFF);
    PrintHeadLine();
    PrintFmtLine();
    f.FmtLine = f.FmtLines[static_cast<std::size_t>(f.FmtNo)];
    s.createCaret(1, caretHeight());
    CurCol = 1;
    s.setPrintPos(0, dataRow());
    PosCur();
    s.showCaret();
    m_e.status.setPanel(1, StatusLine::FilePanelText(m_e.file.DataFilePath, f.FmtName));
    m_e.win.previousVisible = true;
    m_e.fld.CurFld = 0;
    f.BuildFieldTable();
    m_e.status.setPanel(2, std::to_string(m_e.rec.CurRec));
    // The cursor starts on position 1 of every record; the panel must not show the old one.
    m_e.status.setPanel(4, std::to_string(CurCol));
    m_e.status.setPanel(6, "Fmt:" + std::to_string(f.FmtNo) + "/" + std::to_string(f.FmtCount));
    if (!m_e.rec.CorrectMode)
        m_e.rec.RecBuf.assign(static_cast<std::size_t>(f.RecLen), ' ');
    m_e.fld.CurFld = 0;
    // No field of the new record has been left, so none is adjusted on entering the first.
    m_e.fld.DecPos = 0;
    m_e.keys.MaxCol = 0;
    RecordShown = true;
    SettingUp = true;
    m_e.fld.FieldEntered();
    SettingUp = false;
    m_e.ver.VerifyAccept = false;
    m_e.rec.SetUpBuf = m_e.rec.RecBuf;
    m_e.WindowChanged();
}

bool EntryScreen::inShownSection(int col) const
{
    return ScrCols > 0 && (col - 1) / ScrCols == SecNo;
}

void EntryScreen::FollowCursor()
{
    if (!inShownSection(CurCol)) {
        DispSecn();
        return;
    }
    m_e.surface.setPrintPos(cellCol(CurCol), dataRow());
    PosCur();
}

void EntryScreen::ShowRange(int from, int count, Color back)
{
    const int first = std::max(from, SecNo * ScrCols + 1);
    const int last = std::min({from + count - 1, (SecNo + 1) * ScrCols, m_e.fmt.RecLen});
    if (first > last)
        return;
    m_e.surface.setPrintPos(cellCol(first), dataRow());
    Clearchars(last - first + 1, back);
    PrintSlice(m_e.rec.RecBuf, first, last - first + 1);
}

void EntryScreen::ShowRecordLine()
{
    m_e.surface.setPrintPos(0, dataRow());
    PrintSlice(m_e.rec.RecBuf, 1, ScrCols);
    FollowCursor();
}

void EntryScreen::DispSecn()
{
    Surface& s = m_e.surface;
    const FormatState& f = m_e.fmt;
    const RecordStore& r = m_e.rec;
    s.hideCaret();
    ScrCols = surfaceCols();
    SecNo = (CurCol - 1) / ScrCols;
    SecStart = SecNo * ScrCols + 1;
    PrevSecStart = SecStart;
    s.setPrintPos(0, s.printRow());
    ClearArea();
    if (r.CorrectMode)
        m_e.keys.MaxCol = f.RecLen - 1;
    const int w = std::min(f.RecLen - SecStart + 1, ScrCols);
    s.setPrintPos(0, T());
    PrintSlice(f.HeadLines[static_cast<std::size_t>(f.FmtNo)], SecStart, w);
    s.setPrintPos(0, T() + 2);
    PrintSlice(f.FmtLines[static_cast<std::size_t>(f.FmtNo)], SecStart, w);
    // The whole slice, not only the part before the cursor: a fill may have put characters
    // past a cursor moved back since, and they are stored with the record.
    s.setPrintPos(0, dataRow());
    PrintSlice(r.RecBuf, SecStart, w);
    s.setPrintPos(CurCol - SecStart, dataRow());
    PosCur();
}

void EntryScreen::ClearSurface()
{
    m_e.surface.hideCaret();
    m_e.surface.clear();
    RecordShown = false;
}

void EntryScreen::Resized()
{
    Surface& s = m_e.surface;
    const double cols = s.widthCols();
    if (!RecordShown || cols <= m_bandCols)
        return;
    // Beyond the columns of the section the band holds nothing but its colour.
    const double col = s.printCol(), row = s.printRow();
    s.fillBox(m_bandCols, T(), cols, bandBottom(), m_e.prefs.FormBackColor);
    m_bandCols = cols;
    s.setPrintPos(col, row);
}

double EntryScreen::T() const
{
    return static_cast<double>(m_toolbarPx) / m_e.surface.cellHeight();
}

int EntryScreen::caretHeight() const
{
    return m_e.surface.cellHeight() * 3 / 4;
}

void EntryScreen::LargerText()
{
    ChangeTextSize(m_e.surface.cellWidth() + CellWidthStep);
}

void EntryScreen::SmallerText()
{
    ChangeTextSize(m_e.surface.cellWidth() - CellWidthStep);
}

void EntryScreen::ChangeTextSize(int cellWidth)
{
    Surface& s = m_e.surface;
    cellWidth = std::clamp(cellWidth, MinCellWidth, MaxCellWidth);
    if (cellWidth == s.cellWidth())
        return;
    s.setCellWidth(cellWidth);
    m_e.store.saveSetting(Preferences::AppName, "View", "Cell Width", std::to_string(cellWidth));
    if (!RecordShown)
        return;
    // The band, message line and the section holding the cursor, at the new size.
    s.createCaret(1, caretHeight());
    m_e.status.DisplayMode(m_e.status.ModeMsg, m_e.status.ModeColor);
    DispSecn();
    m_e.WindowChanged();
}

void EntryScreen::LoadTextSize()
{
    const std::string stored = m_e.store.getSetting(Preferences::AppName, "View", "Cell Width",
                                                    std::to_string(Surface::CellWidth));
    const int width = static_cast<int>(text::Val(stored));
    // Only a size the menu could have set; anything else leaves the normal size.
    if (width >= MinCellWidth && width <= MaxCellWidth &&
        (width - MinCellWidth) % CellWidthStep == 0)
        m_e.surface.setCellWidth(width);
}

void EntryScreen::FocusLost()
{
    SavedX = Round(m_e.surface.printCol());
    SavedY = Round(m_e.surface.printRow());
}

void EntryScreen::FocusGained()
{
    // With no record on the screen there is no place for the caret to show.
    if (!RecordShown)
        return;
    m_e.surface.createCaret(1, caretHeight());
    m_e.surface.setPrintPos(SavedX, SavedY);
    PosCur();
}

EntryScreen::Size EntryScreen::SnapOuterSize(Size outer, Size screen, int cellWidth)
{
    Size s = outer;
    s.w -= s.w % cellWidth;
    s.w = std::max(s.w, screen.w / 2);
    s.h = std::max(s.h, screen.h / 2);
    return s;
}
