#pragma once

#include <array>

#include <QWidget>

#include "statusbar/Toolbar.h"

class ImageButton;

// The strip across the top of the entry screen with the five picture buttons; the pictures
// follow the toolbar model after every mouse event.
class ToolbarStrip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int HeightPx = 36; // 2.25 rows

    ToolbarStrip(Toolbar& toolbar, QWidget* parent);

    // Shows the pictures the model holds.
    void sync();
    // The pointer moved over the entry screen: every button goes flat.
    void pointerOutside();

signals:
    // A click ran its command; opens names the window the window should now show.
    void clicked(Toolbar::Opens opens);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Toolbar& m_toolbar;
    std::array<ImageButton*, Toolbar::ButtonCount> m_buttons{};
};
