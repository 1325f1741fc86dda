#include "app/EntryScreenWidget.h"

#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <climits>

#include "keying/ScreenModel.h"

namespace
{

QRgb ToRgb(Color c)
{
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

QColor ToQColor(Color c)
{
    return QColor::fromRgb(ToRgb(c));
}

} // namespace

EntryScreenWidget::EntryScreenWidget(ScreenModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_font(QStringLiteral("DejaVu Sans Mono"))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_font.setStyleHint(QFont::TypeWriter);
    followCellSize();
    m_blinkTimer.setInterval(CaretBlinkMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, &EntryScreenWidget::blink);
    m_blinkTimer.start();
}

void EntryScreenWidget::followCellSize()
{
    // 13 pixels in the normal 8 by 16 cell.
    m_fontCellWidth = m_model.cellWidth();
    m_font.setPixelSize(std::max(1, m_fontCellWidth * 13 / Surface::CellWidth));
}

void EntryScreenWidget::flushDirty()
{
    if (m_fontCellWidth != m_model.cellWidth())
        followCellSize();
    const ScreenModel::Rect dirty = m_model.takeDirty();
    // A caret that just moved shows at once instead of in the middle of a blink.
    if (!m_caretPhaseOn) {
        m_caretPhaseOn = true;
        update(caretRect());
    }
    m_blinkTimer.start();
    if (!dirty.empty())
        update(QRect(dirty.x, dirty.y, dirty.w, dirty.h));
}

void EntryScreenWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect rect = event->rect();
    // Outside the model (a resize not yet seen) the widget shows the back colour.
    painter.fillRect(rect, ToQColor(ScreenModel::BackColor));
    const QRect inModel = rect.intersected(QRect(0, 0, m_model.widthPx(), m_model.heightPx()));
    if (!inModel.isEmpty())
        paintPixels(painter, inModel);
    paintGlyphs(painter, rect);
    paintCaret(painter);
}

void EntryScreenWidget::paintPixels(QPainter& painter, const QRect& rect) const
{
    QImage image(rect.size(), QImage::Format_RGB32);
    const auto& pixels = m_model.pixels();
    const auto stride = static_cast<std::size_t>(m_model.stride());
    for (int y = 0; y < rect.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::size_t from = static_cast<std::size_t>(rect.top() + y) * stride +
                                 static_cast<std::size_t>(rect.left());
        for (int x = 0; x < rect.width(); ++x)
            line[x] = ToRgb(pixels[from + static_cast<std::size_t>(x)]);
    }
    painter.drawImage(rect.topLeft(), image);
}

void EntryScreenWidget::paintGlyphs(QPainter& painter, const QRect& rect) const
{
    painter.setFont(m_font);
    painter.setPen(ToQColor(ScreenModel::TextColor));
    const QFontMetrics metrics(m_font);
    const int cellW = m_model.cellWidth(), cellH = m_model.cellHeight();
    const int baseline = metrics.ascent() + (cellH - metrics.height()) / 2;
    const auto& glyphs = m_model.glyphs();
    for (auto it = glyphs.lower_bound({rect.top() - cellH + 1, INT_MIN});
         it != glyphs.end() && it->first.first <= rect.bottom(); ++it) {
        const auto [y, x] = it->first;
        const QRect cell(x, y, cellW, cellH);
        if (!cell.intersects(rect))
            continue;
        // Overstruck characters all land in the same cell.
        for (const char c : it->second)
            painter.drawText(QPoint(x, y + baseline), QString(QChar::fromLatin1(c)));
    }
}

void EntryScreenWidget::paintCaret(QPainter& painter) const
{
    if (!m_model.caret().visible || !m_caretPhaseOn)
        return;
    painter.fillRect(caretRect(), Qt::black);
}

QRect EntryScreenWidget::caretRect() const
{
    const ScreenModel::Caret& c = m_model.caret();
    return QRect(c.x, c.y, c.w, c.h);
}

void EntryScreenWidget::blink()
{
    if (!m_model.caret().visible)
        return;
    m_caretPhaseOn = !m_caretPhaseOn;
    update(caretRect());
}

void EntryScreenWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_model.resize(width(), height());
    m_model.takeDirty(); // a resize repaints the whole widget anyway
    emit resized(size());
}

void EntryScreenWidget::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit focusGained();
}

void EntryScreenWidget::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    emit focusLost();
}

void EntryScreenWidget::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    emit clicked();
}

bool EntryScreenWidget::event(QEvent* event)
{
    // Accepting the override delivers the key here instead of to a matching shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!leftToMenus(*key)) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

bool EntryScreenWidget::leftToMenus(const QKeyEvent& event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    if (modifiers == Qt::AltModifier && key >= Qt::Key_A && key <= Qt::Key_Z)
        return true;
    return m_menuKeys.contains(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))));
}

bool EntryScreenWidget::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab are keying keys: the focus stays on the entry screen.
    return false;
}

void EntryScreenWidget::keyPressEvent(QKeyEvent* event)
{
    // A menu's key that reaches here found no active menu to run (the window was not yet
    // active again after a dialog): it is never typed into the record.
    if (leftToMenus(*event)) {
        event->ignore();
        return;
    }
    // Every other key is the engine's; none travels on to the window.
    event->accept();
    emit keyPressed(KeyTranslation::From(*event));
}
