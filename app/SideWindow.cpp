#include "app/SideWindow.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>

namespace
{

constexpr int GapPx = 8;

} // namespace

SideWindow::SideWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_timer = new QTimer(this);
    m_timer->setInterval(RefreshMs);
    connect(m_timer, &QTimer::timeout, this, [this] { refresh(); });
    m_giveBackTimer = new QTimer(this);
    m_giveBackTimer->setSingleShot(true);
    m_giveBackTimer->setInterval(GiveBackMs);
    connect(m_giveBackTimer, &QTimer::timeout, this, [this] { m_giveBack = nullptr; });
}

void SideWindow::showBeside()
{
    if (!m_placed) {
        placeBeside();
        m_placed = true;
    }
    if (isVisible())
        return;
    // Not every window system leaves a new window inactive when asked to (the offscreen
    // one never does), so an activation right after showing is handed back.
    QWidget* active = QApplication::activeWindow();
    m_giveBack = active != this ? active : nullptr;
    m_giveBackTimer->start();
    show();
}

void SideWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_giveBack)
        return;
    QWidget* back = m_giveBack;
    m_giveBack = nullptr;
    back->activateWindow();
}

void SideWindow::placeBeside()
{
    PlaceBeside(*this);
}

void SideWindow::PlaceBeside(QWidget& window)
{
    const QWidget* main = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!main)
        return;
    const QRect frame = main->frameGeometry();
    const QRect screen = main->screen() ? main->screen()->availableGeometry() : frame;
    // Before its first showing the window has no frame yet: it gets one like the main one.
    const int w = window.width() + frame.width() - main->width();
    const int h = window.height() + frame.height() - main->height();
    int x = frame.right() + 1 + GapPx;
    if (x + w > screen.right() + 1)
        x = frame.left() - GapPx - w >= screen.left()
                ? frame.left() - GapPx - w
                : std::max(screen.left(), screen.right() + 1 - w);
    int y = std::max(frame.top(), screen.top());
    for (const QWidget* other : main->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == &window || !other->isWindow() || !other->isVisible())
            continue;
        const QRect taken = other->frameGeometry();
        if (taken.left() < x + w && x < taken.right() + 1)
            y = std::max(y, taken.bottom() + 1 + GapPx);
    }
    // No room left below them: the lowest place on the screen.
    window.move(x, std::min(y, std::max(screen.top(), screen.bottom() + 1 - h)));
}

void SideWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
    m_timer->start();
}

void SideWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer->stop();
}
