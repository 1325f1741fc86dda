#pragma once

#include <QWidget>

#include "statusbar/Toolbar.h"

// One picture button of the toolbar strip: it paints its button's artwork in the picture the
// toolbar gives it (drawn as vectors, so it is sharp at any pixel ratio) and reports the
// mouse to the strip.
class ImageButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int picture READ picture)

public:
    ImageButton(Toolbar::Button button, int sizePx, QWidget* parent);

    Toolbar::Button button() const { return m_button; }
    int picture() const { return static_cast<int>(m_picture); }
    void setPicture(Toolbar::Picture p);
    // A button whose command is not offered is drawn greyed, as a disabled menu item is.
    bool offered() const { return m_offered; }
    void setOffered(bool offered);

signals:
    void mouseDown();
    void mouseMoved();
    // A release; clicked when it came over the button the press went down on.
    void mouseUp(bool clicked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintArt(class QPainter& p, QRectF box) const;
    void paintGreyed(class QPainter& p, QRectF box) const;

    Toolbar::Button m_button;
    Toolbar::Picture m_picture = Toolbar::Picture::Flat;
    bool m_down = false;
    bool m_offered = true;
};
