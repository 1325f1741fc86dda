#pragma once

#include <string>

#include "keying/Surface.h"

class Engine;

// The character-cell entry screen: the band of heading, data and format lines at rows T to
// T + 2, the print position and caret, the section of a long record that is shown, and the
// set-up of the screen for each record.
class EntryScreen
{
public:
    static constexpr double ToolbarRows = 2.25; // height of the toolbar strip, in rows

    explicit EntryScreen(Engine& e) : m_e(e) {}

    int CurCol = 1;
    int ScrCols = 0;
    int SecNo = 0;
    int SecStart = 0;
    int PrevSecStart = 0;
    int SavedX = 0;
    int SavedY = 0;
    // True once a record is set up on the screen; keys do nothing before that.
    bool RecordShown = false;
    // True while InitScreen enters the first field: automatic field actions may fill the
    // record then, but only a keystroke completes it.
    bool SettingUp = false;

    // Character cells from three quarters of the normal width to three times it, in steps
    // of a quarter.
    static constexpr int MinCellWidth = Surface::CellWidth * 3 / 4;
    static constexpr int MaxCellWidth = Surface::CellWidth * 3;
    static constexpr int CellWidthStep = Surface::CellWidth / 4;

    // The entry band starts below the toolbar strip: its height in rows of the cell size now.
    double T() const;
    void setToolbarHeightPx(int px) { m_toolbarPx = px; }
    double dataRow() const { return T() + 1; }
    // The band's lower edge: the heading, data and format lines and a quarter row, as many
    // rows below the band's top as the strip is high at the normal size.
    double bandBottom() const { return T() + ToolbarRows + 1; }

    void InitScreen();
    void PosCur();
    void OutChr(std::string_view a);
    void Clearchars(int n, Color textBack);
    void Clearchars2(int n, Color textBack);
    void ClearArea();
    void PrintHeadLine();
    void PrintFmtLine();
    void DispSecn();

    // The screen column of record position col in the section shown.
    int cellCol(int col) const { return col - 1 - SecNo * ScrCols; }
    bool inShownSection(int col) const;
    // Print position and caret to CurCol on the data line. Every move that passes a section
    // edge (keying, arrows, field fills, memory recall) crosses here: the section holding
    // CurCol is drawn first, as DispSecn does, with the caret on the cursor's cell.
    void FollowCursor();
    // Redraws record positions from..from+count-1 that lie in the section shown, on cells
    // of colour back.
    void ShowRange(int from, int count, Color back);
    // The stored record on the data line, for correction.
    void ShowRecordLine();

    // Empties the surface and forgets the record shown (Close, a failed opening).
    void ClearSurface();

    void FocusLost();
    void FocusGained();
    // View > Larger Text, Smaller Text and Normal Size: the cell width one step up or down,
    // or back to normal. The size is kept in the settings and the screen drawn again; the
    // cursor stays on its record position.
    void LargerText();
    void SmallerText();
    void NormalSize() { ChangeTextSize(Surface::CellWidth); }
    void ChangeTextSize(int cellWidth);
    // The stored cell width, at start-up.
    void LoadTextSize();
    // The caret's height in the cell size now.
    int caretHeight() const;

    // The surface changed size: the band reaches its new width. The section shown stays as
    // it is until the next record is set up, so the cursor does not move.
    void Resized();

    // The window's outer size after a resize in the normal state: the width snapped down to
    // whole columns, neither side below half the screen.
    struct Size {
        int w, h;
    };
    static Size SnapOuterSize(Size outer, Size screen, int cellWidth = Surface::CellWidth);

private:
    int surfaceCols() const;
    void PrintSlice(const std::string& line, int from, int count);

    Engine& m_e;
    int m_toolbarPx = static_cast<int>(ToolbarRows * Surface::CellHeight);
    double m_bandCols = 0; // how far the band has been filled
};
