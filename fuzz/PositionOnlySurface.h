#pragma once

#include "keying/Surface.h"

// A surface that keeps only its size and the print position: the engine's drawing costs
// nothing, so the fuzzer's time goes to the keying logic. The screen model's pixels are
// checked by the tests.
class PositionOnlySurface : public Surface
{
public:
    PositionOnlySurface(double cols, double rows) : m_cols(cols), m_rows(rows) {}

    int cellWidth() const override { return m_cellW; }
    // The same pixels hold fewer cells of a larger size.
    void setCellWidth(int px) override
    {
        m_cols = m_cols * m_cellW / px;
        m_rows = m_rows * m_cellW / px;
        m_cellW = px;
        clear();
    }
    double widthCols() const override { return m_cols; }
    double heightRows() const override { return m_rows; }
    double printCol() const override { return m_col; }
    double printRow() const override { return m_row; }
    void setPrintPos(double col, double row) override
    {
        m_col = col;
        m_row = row;
    }
    void fillBox(double, double, double col2, double row2, Color) override
    {
        setPrintPos(col2, row2);
    }
    void print(std::string_view text) override { m_col += static_cast<double>(text.size()); }
    void clear() override { setPrintPos(0, 0); }
    void createCaret(int, int) override {}
    void setCaretPos(int, int) override {}
    void showCaret() override {}
    void hideCaret() override {}

private:
    double m_cols, m_rows;
    double m_col = 0, m_row = 0;
    int m_cellW = CellWidth;
};
