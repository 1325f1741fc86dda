#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "keying/Surface.h"

// What the entry screen shows, kept in the core: a pixel buffer of fills, the glyphs
// printed over them and the caret. The widget paints it; tests read it. Every change
// widens a dirty rectangle that the widget takes to repaint just that part.
class ScreenModel : public Surface
{
public:
    static constexpr Color BackColor = 0xFFFFFF;
    static constexpr Color TextColor = 0x000040; // RGB(64, 0, 0)

    struct Rect {
        int x = 0, y = 0, w = 0, h = 0;
        bool empty() const { return w <= 0 || h <= 0; }
    };
    struct Caret {
        bool created = false;
        bool visible = false;
        int x = 0, y = 0, w = 1, h = 12;
    };

    ScreenModel(int widthPx = 640, int heightPx = 400);

    // The window's client area changed size; what was drawn stays where it was, also what
    // a smaller size hides, so that it shows again when the window grows back.
    void resize(int widthPx, int heightPx);
    int widthPx() const { return m_w; }
    int heightPx() const { return m_h; }
    // Pixels a row of pixels() holds: the widest the window has been.
    int stride() const { return m_capW; }

    int cellWidth() const override { return m_cellW; }
    void setCellWidth(int px) override;
    double widthCols() const override;
    double heightRows() const override;
    double printCol() const override { return m_col; }
    double printRow() const override { return m_row; }
    void setPrintPos(double col, double row) override;
    void fillBox(double col1, double row1, double col2, double row2, Color color) override;
    void print(std::string_view text) override;
    void clear() override;
    void createCaret(int widthPx, int heightPx) override;
    void setCaretPos(int xPx, int yPx) override;
    void showCaret() override;
    void hideCaret() override;

    Color pixel(int x, int y) const;
    const std::vector<Color>& pixels() const { return m_pixels; }
    // Glyphs by their top-left pixel (y, x); overstruck glyphs share one entry.
    const std::map<std::pair<int, int>, std::string>& glyphs() const { return m_glyphs; }
    const Caret& caret() const { return m_caret; }

    // Back colour of a character cell, read at its centre.
    Color cellColor(double col, double row) const;
    // The text of a row of cells starting at row (may be fractional), as printed; cells
    // without a glyph read as blanks, overstruck cells as their last glyph.
    std::string rowText(double row) const;

    Rect takeDirty();

private:
    void markDirty(Rect r);
    static int toPx(double cells, int cellSize);

    int m_cellW = CellWidth;
    int m_w = 0, m_h = 0;       // the size shown
    int m_capW = 0, m_capH = 0; // the size held
    std::vector<Color> m_pixels;
    std::map<std::pair<int, int>, std::string> m_glyphs;
    double m_col = 0, m_row = 0;
    Caret m_caret;
    Rect m_dirty;
    // Rows that fills have painted since the last clear.
    int m_paintedTop = 0, m_paintedBottom = 0;
};
