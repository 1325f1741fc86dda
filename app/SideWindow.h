#pragma once

#include <QPointer>
#include <QWidget>

class QTimer;

// A window beside the main window that follows the engine: shown without being activated,
// and looking at the engine on a timer while it is shown, never from the key path, so the
// entry screen keeps the operator's keys and the focus. Closing it only hides it.
class SideWindow : public QWidget
{
    Q_OBJECT

public:
    // At most four looks a second: the figures move with every key.
    static constexpr int RefreshMs = 250;
    // How long after showing the window an activation is the window system's, not the
    // operator's, and goes back to the window that had it.
    static constexpr int GiveBackMs = 500;

    // Shows the window, beside its parent the first time, leaving the focus where it is.
    void showBeside();
    // Moves a window of the main window's beside it: right of it, else left, else over its
    // right edge; below the other windows already open there, so that none hides another.
    static void PlaceBeside(QWidget& window);

protected:
    explicit SideWindow(QWidget* parent);

    // Shows what changed in the engine since the last look.
    virtual void refresh() = 0;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeBeside();

    QTimer* m_timer = nullptr;
    QTimer* m_giveBackTimer = nullptr;
    QPointer<QWidget> m_giveBack; // the window that had the keys when this one was shown
    bool m_placed = false;
};
