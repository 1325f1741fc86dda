#pragma once

#include <cstdint>
#include <string_view>

// Colours are 0x00BBGGRR: 255 is red, 65280 green, 0xFFFFFF white.
using Color = std::uint32_t;

// The window surface the entry screen draws on, addressed in character cells (one column
// is 8 pixels, one row 16). Positions may be fractional. Text is drawn with a transparent
// background at the print position, which it advances by one column per character.
class Surface
{
public:
    // The normal character cell, in pixels; larger or smaller text keeps its shape.
    static constexpr int CellWidth = 8;
    static constexpr int CellHeight = 16;

    virtual ~Surface() = default;

    // The character cell now, in whole pixels: twice as high as it is wide.
    virtual int cellWidth() const = 0;
    int cellHeight() const { return 2 * cellWidth(); }
    // Changes the cell size; what was drawn is cleared, to be drawn again at the new size.
    virtual void setCellWidth(int px) = 0;

    virtual double widthCols() const = 0;
    virtual double heightRows() const = 0;

    virtual double printCol() const = 0;
    virtual double printRow() const = 0;
    virtual void setPrintPos(double col, double row) = 0;

    // Fills the box between two corners; the print position moves to the far corner.
    virtual void fillBox(double col1, double row1, double col2, double row2, Color color) = 0;
    virtual void print(std::string_view text) = 0;
    // Clears everything to the surface's back colour; the print position goes to 0, 0.
    virtual void clear() = 0;

    // The caret is placed in pixels.
    virtual void createCaret(int widthPx, int heightPx) = 0;
    virtual void setCaretPos(int xPx, int yPx) = 0;
    virtual void showCaret() = 0;
    virtual void hideCaret() = 0;
};
