#include "app/StatusPanel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void StatusPanel::setText(const QString& text)
{
    if (text == m_text && m_pixmap.isNull())
        return;
    m_text = text;
    m_pixmap = QPixmap();
    contentChanged();
}

void StatusPanel::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    m_text.clear();
    contentChanged();
}

void StatusPanel::setAlignment(Qt::Alignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

QRect StatusPanel::textRect() const
{
    // Half an "x" between the frame and the side the text keeps to, as in a framed QLabel.
    const int indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    QRect r = contentsRect();
    if (m_alignment & Qt::AlignLeft)
        r.setLeft(r.left() + indent);
    if (m_alignment & Qt::AlignRight)
        r.setRight(r.right() - indent);
    return r;
}

QSize StatusPanel::neededSize() const
{
    const QMargins frame = contentsMargins();
    QSize content;
    if (!m_pixmap.isNull()) {
        content = m_pixmap.deviceIndependentSize().toSize();
    } else {
        // The room a framed QLabel asks for: the text and an "x" more.
        const QFontMetrics metrics = fontMetrics();
        content = metrics.boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft, m_text).size();
        content.rwidth() += metrics.horizontalAdvance(QLatin1Char('x'));
    }
    return content.grownBy(frame).expandedTo(minimumSize());
}

QSize StatusPanel::sizeHint() const
{
    m_hinted = neededSize();
    return m_hinted;
}

void StatusPanel::contentChanged()
{
    // The status bar answers every layout by repainting all of itself: a text that needs
    // no other size asks for none.
    if (neededSize() != m_hinted)
        updateGeometry();
    update(contentsRect());
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    if (!m_pixmap.isNull()) {
        style()->drawItemPixmap(&painter, contentsRect(), static_cast<int>(m_alignment), m_pixmap);
        return;
    }
    style()->drawItemText(&painter, textRect(), static_cast<int>(m_alignment), palette(),
                          isEnabled(), m_text, foregroundRole());
}
