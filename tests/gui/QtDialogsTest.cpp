#include <QProgressDialog>
#include <QThread>
#include <QtTest>

#include "app/QtDialogs.h"

// Long work shows a progress dialog only once it has taken about half a second, closes it
// when done, and reports a click on Cancel to the work.
class QtDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void progressAppearsLateAndCancels();
};

void QtDialogsTest::progressAppearsLateAndCancels()
{
    QWidget window;
    window.show();
    QtDialogs dialogs(&window);
    const auto shown = [&window] {
        const auto found = window.findChildren<QProgressDialog*>();
        return !found.isEmpty() && found.front()->isVisible();
    };

    QVERIFY(dialogs.progress("Inserting record 1", 0, 100 << 20));
    QVERIFY(dialogs.progress("Inserting record 1", 10 << 20, 100 << 20));
    QVERIFY2(!shown(), "quick work shows nothing");
    // Ended quickly from a menu command, then a message box: the dialog must not turn up
    // in the box's own event loop.
    QVERIFY(dialogs.progress("Inserting record 1", 0, 0));
    bool turnedUp = true;
    QEventLoop command;
    QTimer::singleShot(0, &command, [&] {
        dialogs.progress("Cut", 10, 100);
        dialogs.progress("Cut", 0, 0);
        QEventLoop box;
        QTimer::singleShot(650, &box, [&] {
            turnedUp = shown();
            box.quit();
        });
        box.exec();
        command.quit();
    });
    command.exec();
    QVERIFY2(!turnedUp, "a progress dialog ended early stays away");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialogs.progress("Inserting record 1", 0, 100 << 20));
    QThread::msleep(600);
    QVERIFY(dialogs.progress("Inserting record 1", 20 << 20, 100 << 20));
    QVERIFY2(shown(), "work past half a second shows the dialog");
    QVERIFY(dialogs.progress("Inserting record 1", 0, 0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.findChildren<QProgressDialog*>().isEmpty());

    QVERIFY(dialogs.progress("Deleting record 1", 0, 100 << 20));
    QThread::msleep(600);
    QVERIFY(dialogs.progress("Deleting record 1", 10 << 20, 100 << 20));
    auto* dialog = window.findChild<QProgressDialog*>();
    QVERIFY(dialog);
    dialog->cancel();
    QVERIFY2(!dialogs.progress("Deleting record 1", 20 << 20, 100 << 20), "Cancel stops the work");
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
