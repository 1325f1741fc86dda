#pragma once

#include <QWidget>

// The frameless start-up window naming the program and its version.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ShowMs = 500;

    explicit frmSplash(QWidget* parent = nullptr);

    // "Version " and the program's major, minor and revision numbers.
    static QString VersionText();

    // Shows the window for ShowMs while events (and painting) keep running.
    void showForAWhile();
};
