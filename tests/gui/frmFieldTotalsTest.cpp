#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include <memory>

#include "app/EntryScreenWidget.h"
#include "app/frmFieldTotals.h"
#include "app/frmKvl.h"
#include "engine/ScriptedDialogs.h"
#include "tests/gui/GuiTest.h"
#include "tests/gui/MainWindowTest.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

namespace
{

// ORDERS records: ITEM (N, 5), NAME (A, 8), QTY (N, 4), PRICE (R, 7) and the format letter.
// NOTES has no numeric field.
const std::string Formats = CrLf({"ORDERS", "N----A-------N---R---.--E", "ITEM NAME   QTY  PRICE",
                                  "NOTES", "A-------M---E", "TEXT    WHO"});
const std::string TwoOrders = CrLf({"00001BOLT    00100001.50a", "00002NAIL    00200000.75a"});

// Keys as the keyboard sends them: to the widget that has the keyboard focus.
void Type(const QString& text)
{
    QTest::keyClicks(static_cast<QWidget*>(nullptr), text);
}
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
}

} // namespace

// Tools > Field Totals as the operator works it: beside the entry screen, which keeps the
// keyboard; the figures follow the records keyed; the control total balances or not; the
// choice stays when the window is closed; a closed file or a format without numbers is said.
class frmFieldTotalsTest : public MainWindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { KeepSettingsIn(m_settingsDir); }
    void init();
    void cleanup() { m_window.reset(); }

    void opensBesideAndLeavesTheKeyboardToTheEntryScreen();
    void figuresFollowTheKeyedRecordsAndTheControlTotal();
    void saysWhenThereIsNothingToTotal();

private:
    frmFieldTotals* openTotals();
    template <class T> T* child(const char* name) const { return Child<T>(*m_window, name); }
    QString figure(const char* name) const { return child<QLabel>(name)->text(); }
    QComboBox* field() const { return child<QComboBox>("Field"); }
    void expectKeyboardOnTheEntryScreen() const
    {
        QTRY_COMPARE(QApplication::activeWindow(), m_window.get());
        QCOMPARE(QApplication::focusWidget(), screen());
    }
};

void frmFieldTotalsTest::init()
{
    // Room on the screen to the right of the main window.
    startWindow(Formats, true);
}

frmFieldTotals* frmFieldTotalsTest::openTotals()
{
    child<QAction>("mnuFieldTotals")->trigger();
    auto* totals = child<frmFieldTotals>("frmFieldTotals");
    if (!QTest::qWaitForWindowExposed(totals))
        qFatal("the totals window did not show");
    return totals;
}

void frmFieldTotalsTest::opensBesideAndLeavesTheKeyboardToTheEntryScreen()
{
    openFile("orders.dat", TwoOrders, "ORDERS-25");
    frmFieldTotals* totals = openTotals();
    QVERIFY(!totals->isModal());
    QCOMPARE(totals->parentWidget(), m_window.get());
    const QRect main = m_window->frameGeometry(), beside = totals->frameGeometry();
    QVERIFY2(!main.intersects(beside), "it covers the main window");
    QVERIFY(m_window->screen()->availableGeometry().contains(beside));
    QCOMPARE(beside.top(), main.top());
    QVERIFY(beside.left() > main.right());
    expectKeyboardOnTheEntryScreen();

    // Keys typed go where the keyboard is: the entry screen, which stores the record.
    Type(QStringLiteral("00003NUT     00050000.25"));
    QCOMPARE(m_appDir->read("orders.dat"), TwoOrders + "00003NUT     00050000.25a\r\n");

    // The operator's choice of a field hands the keyboard back to the entry screen; so does
    // Enter after the control total. A tool window counts as active while its main window is,
    // so the application's active window is what is waited for.
    totals->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), totals);
    emit field()->activated(1);
    expectKeyboardOnTheEntryScreen();
    totals->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), totals);
    auto* control = child<QLineEdit>("ControlTotal");
    control->setFocus();
    Type(QStringLiteral("80"));
    Press(Qt::Key_Return);
    QCOMPARE(control->text(), QStringLiteral("80"));
    expectKeyboardOnTheEntryScreen();
    Type(QStringLiteral("00004"));
    QCOMPARE(m_window->engine().rec.RecBuf.substr(0, 5), "00004");

    // Closed and opened again, it shows the same field and control total where it was.
    const QPoint at = totals->pos();
    totals->close();
    QVERIFY(!totals->isVisible());
    QCOMPARE(openTotals(), totals);
    QCOMPARE(field()->currentText(), QStringLiteral("QTY (14-17)"));
    QCOMPARE(control->text(), QStringLiteral("80"));
    QCOMPARE(totals->pos(), at);
    expectKeyboardOnTheEntryScreen();
}

void frmFieldTotalsTest::figuresFollowTheKeyedRecordsAndTheControlTotal()
{
    openFile("orders.dat", TwoOrders, "ORDERS-25");
    openTotals();
    QComboBox* f = field();
    QStringList labels;
    for (int i = 0; i < f->count(); ++i)
        labels << f->itemText(i);
    QCOMPARE(labels, (QStringList{QStringLiteral("ITEM (1-5)"), QStringLiteral("QTY (14-17)"),
                                  QStringLiteral("PRICE (18-24)")}));
    QCOMPARE(f->currentIndex(), 0);
    emit f->activated(2);
    QCOMPARE(figure("Count"), QStringLiteral("2"));
    QCOMPARE(figure("Sum"), QStringLiteral("2.25"));
    QCOMPARE(figure("Minimum"), QStringLiteral("0.75"));
    QCOMPARE(figure("Maximum"), QStringLiteral("1.50"));
    QCOMPARE(figure("Balance"), QStringLiteral("Type the control total from the batch's paper."));

    // A record stored changes the figures soon after, not at each key.
    Type(QStringLiteral("00003NUT     0005000"));
    QTest::qWait(2 * frmFieldTotals::RefreshMs);
    QCOMPARE(figure("Count"), QStringLiteral("2"));
    Type(QStringLiteral("2.25"));
    QTRY_COMPARE(figure("Count"), QStringLiteral("3"));
    QCOMPARE(figure("Sum"), QStringLiteral("4.50"));
    QCOMPARE(figure("Maximum"), QStringLiteral("2.25"));

    // The control total from the paper, as the operator types it.
    auto* control = child<QLineEdit>("ControlTotal");
    const struct {
        const char* typed;
        const char* difference;
        const char* says;
    } checks[] = {
        {"4.5", "0.00", "The batch balances."},
        {"4.6", "0.10",
         "The batch is out of balance by 0.10: the records total less than the control total."},
    };
    for (const auto& c : checks) {
        control->clear();
        QTest::keyClicks(control, QString::fromLatin1(c.typed));
        QCOMPARE(figure("Difference"), QString::fromLatin1(c.difference));
        QCOMPARE(figure("Balance"), QString::fromLatin1(c.says));
    }

    // Correcting the first record out of balance brings the batch back.
    control->setText(QStringLiteral("4.00"));
    Press(Qt::Key_Home, Qt::ControlModifier);
    Type(QStringLiteral("00001BOLT    00100001.00"));
    QTRY_COMPARE(figure("Balance"), QStringLiteral("The batch balances."));
    QCOMPARE(figure("Sum"), QStringLiteral("4.00"));
    QCOMPARE(figure("Minimum"), QStringLiteral("0.75"));
}

void frmFieldTotalsTest::saysWhenThereIsNothingToTotal()
{
    frmFieldTotals* totals = openTotals();
    auto* notice = child<QLabel>("Notice");
    QVERIFY(notice->isVisible());
    QVERIFY(notice->text().startsWith(QStringLiteral("No data file is open.")));
    QVERIFY(!child<QLineEdit>("ControlTotal")->isVisible());
    QVERIFY(!field()->isEnabled());

    openFile("orders.dat", TwoOrders, "ORDERS-25");
    QTRY_VERIFY(!notice->isVisible());
    QCOMPARE(figure("Count"), QStringLiteral("2"));
    QCOMPARE(figure("Sum"), QStringLiteral("3"));
    child<QAction>("mnuClose")->trigger();
    QTRY_VERIFY(notice->isVisible());
    QVERIFY(notice->text().startsWith(QStringLiteral("No data file is open.")));

    openFile("notes.dat", CrLf({"REMINDERSMAYa"}), "NOTES-13");
    QTRY_COMPARE(notice->text(), QStringLiteral("Format NOTES-13 has no numeric field to total."));
    QVERIFY(!child<QLineEdit>("ControlTotal")->isVisible());
    QCOMPARE(field()->count(), 0);
    QVERIFY(totals->isVisible());
}

QTEST_MAIN(frmFieldTotalsTest)
#include "frmFieldTotalsTest.moc"
