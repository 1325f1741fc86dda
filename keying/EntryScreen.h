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

    // The entry band starts below the toolbar strip: its height in rows, as the window has it.
    double T() const { return m_toolbarRows; }
    void setToolbarRows(double rows) { m_toolbarRows = rows; }
    double dataRow() const { return T() + 1; }

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
    // The surface changed size: the band reaches its new width. The section shown stays as
    // it is until the next record is set up, so the cursor does not move.
    void Resized();

    // The window's outer size after a resize in the normal state: the width snapped down to
    // whole columns, neither side below half the screen.
    struct Size {
        int w, h;
    };
    static Size SnapOuterSize(Size outer, Size screen);

private:
    int surfaceCols() const;
    void PrintSlice(const std::string& line, int from, int count);

    Engine& m_e;
    double m_toolbarRows = ToolbarRows;
    double m_bandCols = 0; // how far the band has been filled
};
