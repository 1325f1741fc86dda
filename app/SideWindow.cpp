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
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main)
        return;
    const QRect frame = main->frameGeometry();
    const QRect screen = main->screen() ? main->screen()->availableGeometry() : frame;
    // Before its first showing the window has no frame yet: it gets one like the main one.
    const int w = width() + frame.width() - main->width();
    // Right of the main window, else left of it, else over its right edge.
    int x = frame.right() + 1 + GapPx;
    if (x + w > screen.right() + 1)
        x = frame.left() - GapPx - w >= screen.left()
                ? frame.left() - GapPx - w
                : std::max(screen.left(), screen.right() + 1 - w);
    move(x, std::max(frame.top(), screen.top()));
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
