#include "app/ToolbarStrip.h"

#include <QMouseEvent>
#include <QString>

#include "app/ImageButton.h"

namespace
{

// Where each button sits, in pixels, and its size: the flat pictures of New, Open and Save
// are 30 pixels inside a 32-pixel button, Format and Preferences 28.
struct Place {
    int x, y, size;
};
constexpr Place Places[Toolbar::ButtonCount] = {
    {7, 0, 32}, {40, 1, 32}, {72, 0, 32}, {122, 1, 28}, {152, 1, 28}};

} // namespace

ToolbarStrip::ToolbarStrip(Toolbar& toolbar, QWidget* parent) : QWidget(parent), m_toolbar(toolbar)
{
    setObjectName(QStringLiteral("PicToolBar"));
    setFixedHeight(HeightPx);
    setMouseTracking(true);
    static const char* const Names[Toolbar::ButtonCount] = {"ImgFileNew", "ImgFileOpen",
                                                            "ImgFileSave", "ImgFmt", "ImgPrf"};
    for (int i = 0; i < Toolbar::ButtonCount; ++i) {
        const auto b = static_cast<Toolbar::Button>(i);
        auto* button = new ImageButton(b, Places[i].size, this);
        button->setObjectName(QString::fromLatin1(Names[i]));
        button->move(Places[i].x, Places[i].y);
        connect(button, &ImageButton::mouseDown, this, [this, b] {
            m_toolbar.MouseDown(b);
            sync();
        });
        connect(button, &ImageButton::mouseMoved, this, [this, b] {
            m_toolbar.MouseMove(b);
            sync();
        });
        connect(button, &ImageButton::mouseUp, this, [this, b](bool clicked) {
            m_toolbar.MouseUp(b);
            sync();
            if (!clicked)
                return;
            const Toolbar::Opens opens = m_toolbar.Click(b);
            sync();
            emit this->clicked(opens);
        });
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
}

void ToolbarStrip::sync()
{
    for (ImageButton* button : m_buttons) {
        // A greyed button is drawn flat, whatever it showed when its command went.
        const bool offered = m_toolbar.Offered(button->button());
        button->setPicture(offered ? m_toolbar.shown[button->button()] : Toolbar::Picture::Flat);
        button->setOffered(offered);
    }
}

void ToolbarStrip::pointerOutside()
{
    m_toolbar.MoveOutside();
    sync();
}

void ToolbarStrip::mouseMoveEvent(QMouseEvent*)
{
    pointerOutside();
}
