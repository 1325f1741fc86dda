#include "keying/ScreenModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

ScreenModel::ScreenModel(int widthPx, int heightPx)
{
    resize(widthPx, heightPx);
}

void ScreenModel::resize(int widthPx, int heightPx)
{
    widthPx = std::max(widthPx, 0);
    heightPx = std::max(heightPx, 0);
    if (widthPx == m_w && heightPx == m_h)
        return;
    if (widthPx > m_capW || heightPx > m_capH) {
        const int capW = std::max(widthPx, m_capW), capH = std::max(heightPx, m_capH);
        std::vector<Color> next(static_cast<std::size_t>(capW) * static_cast<std::size_t>(capH),
                                BackColor);
        for (int y = 0; y < m_capH; ++y)
            std::copy_n(m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * m_capW, m_capW,
                        next.begin() + static_cast<std::ptrdiff_t>(y) * capW);
        m_pixels = std::move(next);
        m_capW = capW;
        m_capH = capH;
    }
    m_w = widthPx;
    m_h = heightPx;
    markDirty({0, 0, m_w, m_h});
}

int ScreenModel::toPx(double cells, int cellSize)
{
    return static_cast<int>(std::lround(cells * cellSize));
}

void ScreenModel::setCellWidth(int px)
{
    if (px == m_cellW || px <= 0)
        return;
    clear();
    m_cellW = px;
}

double ScreenModel::widthCols() const
{
    return static_cast<double>(m_w) / m_cellW;
}

double ScreenModel::heightRows() const
{
    return static_cast<double>(m_h) / cellHeight();
}

void ScreenModel::setPrintPos(double col, double row)
{
    m_col = col;
    m_row = row;
}

void ScreenModel::fillBox(double col1, double row1, double col2, double row2, Color color)
{
    int x1 = toPx(std::min(col1, col2), m_cellW), x2 = toPx(std::max(col1, col2), m_cellW);
    const int cellH = cellHeight();
    int y1 = toPx(std::min(row1, row2), cellH), y2 = toPx(std::max(row1, row2), cellH);
    m_col = col2;
    m_row = row2;
    // Glyphs under the box are painted over.
    for (auto it = m_glyphs.lower_bound({y1 - cellH + 1, INT32_MIN}); it != m_glyphs.end();) {
        const auto [gy, gx] = it->first;
        if (gy >= y2)
            break;
        if (gx + m_cellW > x1 && gx < x2)
            it = m_glyphs.erase(it);
        else
            ++it;
    }
    x1 = std::clamp(x1, 0, m_w);
    x2 = std::clamp(x2, 0, m_w);
    y1 = std::clamp(y1, 0, m_h);
    y2 = std::clamp(y2, 0, m_h);
    for (int y = y1; y < y2; ++y)
        std::fill_n(m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * m_capW + x1, x2 - x1,
                    color);
    if (x1 < x2 && y1 < y2) {
        m_paintedTop = std::min(m_paintedTop, y1);
        m_paintedBottom = std::max(m_paintedBottom, y2);
    }
    markDirty({x1, y1, x2 - x1, y2 - y1});
}

void ScreenModel::print(std::string_view text)
{
    const int cellH = cellHeight();
    const int y = toPx(m_row, cellH);
    for (const char c : text) {
        const int x = toPx(m_col, m_cellW);
        std::string& cell = m_glyphs[{y, x}];
        if (cell.empty() || cell.back() != c)
            cell.push_back(c);
        markDirty({x, y, m_cellW, cellH});
        m_col += 1;
    }
}

void ScreenModel::clear()
{
    // Only rows a fill has touched differ from the back colour; the rest need no work.
    const int top = std::min(m_paintedTop, m_capH), bottom = std::min(m_paintedBottom, m_capH);
    if (top < bottom)
        std::fill(m_pixels.begin() + static_cast<std::ptrdiff_t>(top) * m_capW,
                  m_pixels.begin() + static_cast<std::ptrdiff_t>(bottom) * m_capW, BackColor);
    m_paintedTop = m_capH;
    m_paintedBottom = 0;
    m_glyphs.clear();
    m_col = 0;
    m_row = 0;
    markDirty({0, 0, m_w, m_h});
}

void ScreenModel::createCaret(int widthPx, int heightPx)
{
    m_caret.created = true;
    m_caret.visible = false;
    m_caret.w = widthPx;
    m_caret.h = heightPx;
    markDirty({m_caret.x, m_caret.y, m_caret.w, m_caret.h});
}

void ScreenModel::setCaretPos(int xPx, int yPx)
{
    markDirty({m_caret.x, m_caret.y, m_caret.w, m_caret.h});
    m_caret.x = xPx;
    m_caret.y = yPx;
    markDirty({m_caret.x, m_caret.y, m_caret.w, m_caret.h});
}

void ScreenModel::showCaret()
{
    if (!m_caret.created)
        return;
    m_caret.visible = true;
    markDirty({m_caret.x, m_caret.y, m_caret.w, m_caret.h});
}

void ScreenModel::hideCaret()
{
    m_caret.visible = false;
    markDirty({m_caret.x, m_caret.y, m_caret.w, m_caret.h});
}

Color ScreenModel::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_w || y >= m_h)
        return BackColor;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_capW) +
                    static_cast<std::size_t>(x)];
}

Color ScreenModel::cellColor(double col, double row) const
{
    return pixel(toPx(col + 0.5, m_cellW), toPx(row + 0.5, cellHeight()));
}

std::string ScreenModel::rowText(double row) const
{
    const int y = toPx(row, cellHeight());
    std::string out;
    for (auto it = m_glyphs.lower_bound({y, INT32_MIN});
         it != m_glyphs.end() && it->first.first == y; ++it) {
        const int x = it->first.second;
        if (x < 0)
            continue;
        const auto col = static_cast<std::size_t>(x / m_cellW);
        if (out.size() <= col)
            out.resize(col + 1, ' ');
        out[col] = it->second.back();
    }
    return out;
}

ScreenModel::Rect ScreenModel::takeDirty()
{
    const Rect r = m_dirty;
    m_dirty = {};
    return r;
}

void ScreenModel::markDirty(Rect r)
{
    if (r.empty())
        return;
    if (m_dirty.empty()) {
        m_dirty = r;
        return;
    }
    const int x1 = std::min(m_dirty.x, r.x), y1 = std::min(m_dirty.y, r.y);
    const int x2 = std::max(m_dirty.x + m_dirty.w, r.x + r.w);
    const int y2 = std::max(m_dirty.y + m_dirty.h, r.y + r.h);
    m_dirty = {x1, y1, x2 - x1, y2 - y1};
}
