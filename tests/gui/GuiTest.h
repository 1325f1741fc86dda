#pragma once

#include <QAbstractButton>
#include <QtTest> // and with it all of QtCore

#include <functional>

// What the window tests share: finding controls, clicking boxes, working modal windows.

// A named child of a window; without it a test cannot go on.
template <class T> T* Child(const QObject& parent, const char* name)
{
    auto* c = parent.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

// A left click on a window's named button.
inline void Click(const QObject& window, const char* button)
{
    QTest::mouseClick(Child<QAbstractButton>(window, button), Qt::LeftButton);
}

// A wide check or radio button takes clicks only on its box and label.
inline void ClickBox(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// Shows a modal window and works it once it is up; the steps end by closing it.
template <class W> void WorkModal(W& window, const std::function<void()>& steps)
{
    bool ran = false;
    QTimer::singleShot(0, &window, [&] {
        ran = true;
        steps();
        if (window.isVisible()) {
            window.reject();
            QFAIL("the steps left the window open");
        }
    });
    window.showModal();
    QVERIFY(ran);
    QVERIFY(!window.isVisible());
}

// Nothing a test does may touch the user's own settings.
inline void KeepSettingsIn(const QTemporaryDir& dir)
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
}
