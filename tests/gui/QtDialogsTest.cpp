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
