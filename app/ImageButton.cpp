#include "app/ImageButton.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

ImageButton::ImageButton(Toolbar::Button button, int sizePx, QWidget* parent)
    : QWidget(parent), m_button(button)
{
    setFixedSize(sizePx, sizePx);
    setMouseTracking(true);
    setToolTip(QString::fromLatin1(Toolbar::ToolTips[button]));
}

void ImageButton::setPicture(Toolbar::Picture p)
{
    if (p == m_picture)
        return;
    m_picture = p;
    update();
}

void ImageButton::setOffered(bool offered)
{
    if (offered == m_offered)
        return;
    m_offered = offered;
    update();
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_down = true;
    emit mouseDown();
}

void ImageButton::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_down)
        return;
    m_down = false;
    emit mouseUp(rect().contains(event->position().toPoint()));
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool pressed = m_picture == Toolbar::Picture::Pressed;
    if (m_picture != Toolbar::Picture::Flat) {
        // Raised: light above and left, shadow below and right; pressed the other way.
        const QColor light(255, 255, 255), dark(110, 110, 110);
        p.setPen(QPen(pressed ? dark : light, 1));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(QPen(pressed ? light : dark, 1));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    const double inset = width() * 0.16;
    QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (pressed)
        box.translate(1, 1);
    if (m_offered)
        paintArt(p, box);
    else
        paintGreyed(p, box);
}

void ImageButton::paintGreyed(QPainter& p, QRectF box) const
{
    // The artwork drawn at the device's pixel ratio, then turned into light greys.
    const qreal ratio = p.device()->devicePixelRatioF();
    QImage art((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    art.setDevicePixelRatio(ratio);
    art.fill(Qt::transparent);
    {
        QPainter ap(&art);
        ap.setRenderHint(QPainter::Antialiasing);
        paintArt(ap, box);
    }
    for (int y = 0; y < art.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(art.scanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha == 0)
                continue;
            const int grey = 150 + qGray(qUnpremultiply(line[x])) * 90 / 255;
            line[x] = qPremultiply(qRgba(grey, grey, grey, alpha));
        }
    }
    p.drawImage(QPointF(0, 0), art);
}

void ImageButton::paintArt(QPainter& p, QRectF b) const
{
    const QColor ink(40, 40, 40);
    p.setPen(QPen(ink, 1.2));
    const double w = b.width(), h = b.height();
    const auto page = [&](const QColor& fill) {
        QPainterPath path;
        path.moveTo(b.left() + w * 0.15, b.top());
        path.lineTo(b.left() + w * 0.62, b.top());
        path.lineTo(b.left() + w * 0.85, b.top() + h * 0.25);
        path.lineTo(b.left() + w * 0.85, b.bottom());
        path.lineTo(b.left() + w * 0.15, b.bottom());
        path.closeSubpath();
        p.setBrush(fill);
        p.drawPath(path);
        p.drawLine(QPointF(b.left() + w * 0.62, b.top()),
                   QPointF(b.left() + w * 0.62, b.top() + h * 0.25));
        p.drawLine(QPointF(b.left() + w * 0.62, b.top() + h * 0.25),
                   QPointF(b.left() + w * 0.85, b.top() + h * 0.25));
    };
    switch (m_button) {
    case Toolbar::ImgFileNew:
        page(Qt::white);
        p.setPen(QPen(QColor(220, 150, 0), 1.6));
        p.drawLine(QPointF(b.left() + w * 0.5, b.top() + h * 0.45),
                   QPointF(b.left() + w * 0.5, b.top() + h * 0.85));
        p.drawLine(QPointF(b.left() + w * 0.3, b.top() + h * 0.65),
                   QPointF(b.left() + w * 0.7, b.top() + h * 0.65));
        break;
    case Toolbar::ImgFileOpen: {
        p.setBrush(QColor(230, 190, 80));
        p.drawRect(QRectF(b.left(), b.top() + h * 0.2, w * 0.4, h * 0.15));
        p.drawRect(QRectF(b.left(), b.top() + h * 0.32, w, h * 0.6));
        p.setBrush(QColor(250, 215, 110));
        QPainterPath flap;
        flap.moveTo(b.left() + w * 0.12, b.top() + h * 0.5);
        flap.lineTo(b.right(), b.top() + h * 0.5);
        flap.lineTo(b.right() - w * 0.1, b.bottom() - h * 0.08);
        flap.lineTo(b.left(), b.bottom() - h * 0.08);
        flap.closeSubpath();
        p.drawPath(flap);
        break;
    }
    case Toolbar::ImgFileSave:
        p.setBrush(QColor(50, 90, 170));
        p.drawRoundedRect(b, w * 0.08, h * 0.08);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(b.left() + w * 0.18, b.top() + h * 0.08, w * 0.64, h * 0.38));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(b.left() + w * 0.28, b.top() + h * 0.62, w * 0.44, h * 0.3));
        break;
    case Toolbar::ImgFmt:
        page(QColor(255, 255, 235));
        p.setPen(QPen(QColor(30, 80, 160), 1.2));
        for (const double y : {0.42, 0.58, 0.74})
            p.drawLine(QPointF(b.left() + w * 0.27, b.top() + h * y),
                       QPointF(b.left() + w * 0.73, b.top() + h * y));
        break;
    case Toolbar::ImgPrf: {
        const QPointF c = b.center();
        const double outer = w * 0.48, inner = w * 0.34;
        QPainterPath gear;
        for (int i = 0; i < 16; ++i) {
            const double a = i * M_PI / 8;
            const double rad = (i % 2 == 0) ? outer : inner;
            const QPointF pt(c.x() + rad * std::cos(a), c.y() + rad * std::sin(a));
            i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
        }
        gear.closeSubpath();
        p.setBrush(QColor(150, 150, 160));
        p.drawPath(gear);
        p.setBrush(Qt::white);
        p.drawEllipse(c, w * 0.13, h * 0.13);
        break;
    }
    case Toolbar::ButtonCount:
        break;
    }
}
