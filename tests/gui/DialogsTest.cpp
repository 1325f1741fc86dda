#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <memory>

#include "app/FrmFileFmt.h"
#include "app/QtDialogs.h"
#include "app/frmKvlPrefs.h"
#include "app/frmTip.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/Station.h"

// The program's dialogs as the operator works them.
class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void formatChoiceKeepsTheLastEntryWhereItIsListed();
    void preferencesControlsReachTheForm();
    void tipButtonsStepAndTheBoxSwitchesTipsOff();
    void progressAppearsLateAndCancels();

private:
    FrmFileFmt m_formats; // one dialog over the openings of a session
};

// Each opening lists the entries anew and shows the last choice where it is still listed.
void DialogsTest::formatChoiceKeepsTheLastEntryWhereItIsListed()
{
    // The entries, the index shown, the entry picked or text typed (then Enter if no button
    // is named), the button pressed and the choice that comes back.
    struct Opening {
        std::vector<std::string> entries;
        int shown, pick;
        const char* typed;
        const char* button;
        bool accepted;
        int selected;
        std::string text;
    };
    const std::vector<std::string> formats = {"STOCK-19", "PAYROLL/2-12"};
    for (const Opening& opening : {
             Opening{formats, -1, 1, "", "OK", true, 1, "PAYROLL/2-12"}, // picked from the list
             // Still listed, at another place: the same entry is chosen.
             Opening{
                 {"EXTRA-5", "STOCK-19", "PAYROLL/2-12"}, 2, -1, "", "OK", true, 2, "PAYROLL/2-12"},
             // No longer listed: the text stays, but it no longer names an entry.
             Opening{{"STOCK-19"}, -1, -1, "", "OK", true, -1, "PAYROLL/2-12"},
             // Typing replaces the text shown; Enter is OK.
             Opening{formats, -1, -1, "stock", "OK", true, -1, "stock"},
             Opening{formats, -1, -1, "STOCK-19", "", true, 0, "STOCK-19"},
             Opening{formats, 0, 1, "", "Cancel", false, 1, "PAYROLL/2-12"},
         }) {
        auto* combo = Child<QComboBox>(m_formats, "Combo1");
        int shown = -2;
        QTimer::singleShot(0, &m_formats, [&] {
            shown = combo->currentIndex();
            if (opening.pick >= 0)
                combo->setCurrentIndex(opening.pick);
            QTest::keyClicks(combo->lineEdit(), QString::fromLatin1(opening.typed));
            if (!*opening.button)
                QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            for (auto* b : m_formats.findChildren<QPushButton*>())
                if (b->text() == QLatin1String(opening.button))
                    b->click();
        });
        const auto c = m_formats.choose(opening.entries);
        QCOMPARE(shown, opening.shown);
        QCOMPARE(c.accepted, opening.accepted);
        QCOMPARE(c.selected, opening.selected);
        QCOMPARE(c.text, opening.text);
        // Typed names are looked up, never added to the list.
        QCOMPARE(combo->count(), static_cast<int>(opening.entries.size()));
    }
}

// The controls reach the form; what OK and Cancel do with it preferences.out checks.
void DialogsTest::preferencesControlsReachTheForm()
{
    Station s;
    s.e.LoadSettings();
    frmKvlPrefs dialog(s.e.prefsForm, nullptr);
    const auto child = [&](const char* name) { return Child<QWidget>(dialog, name); };
    const auto work = [&](const std::function<void()>& steps) {
        WorkModal(dialog, steps);
        QVERIFY(!s.e.prefsForm.Visible);
    };
    s.dialogs.colorAnswers = {0x0000FF, 0x00FFFF};
    work([&] {
        QVERIFY(Child<QRadioButton>(dialog, "DupKey7")->isChecked());
        // Text that a key event carries, a letter beyond ASCII among it.
        QTest::keyClicks(child("Mem2"), QStringLiteral("caf"));
        QTest::sendKeyEvent(QTest::Click, child("Mem2"), Qt::Key_unknown, QStringLiteral("\u00e9"),
                            Qt::NoModifier);
        ClickBox(Child<QRadioButton>(dialog, "DupkeyF12"));
        ClickBox(Child<QCheckBox>(dialog, "Check1"));
        Click(dialog, "cmdBkClr");
        Click(dialog, "cmdTxtclr");
        Click(dialog, "OK");
    });
    const Preferences& p = s.e.prefs;
    QCOMPARE(p.MemKeys[2], Preferences::FixedMemText("caf\xe9"));
    QCOMPARE(p.DupKeyCode, Preferences::DupKeyF12);
    QVERIFY(p.UptronSw);
    QCOMPARE(p.FormBackColor, Color(0x0000FF));
    QCOMPARE(p.TextBackColor, Color(0x00FFFF));

    work([&] {
        QTest::keyClicks(child("Mem3"), QStringLiteral("not applied"));
        ClickBox(Child<QCheckBox>(dialog, "Check1"));
        ClickBox(Child<QRadioButton>(dialog, "DupKey7"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QVERIFY(p.UptronSw); // not applied
    work([&] {
        QCOMPARE(Child<QLineEdit>(dialog, "Mem3")->text(), QStringLiteral("not applied"));
        QVERIFY(!Child<QCheckBox>(dialog, "Check1")->isChecked());
        QVERIFY(Child<QRadioButton>(dialog, "DupKey7")->isChecked());
        Click(dialog, "Cancel");
    });
}

// Which tip each start shows, and what the box keeps, the core's TipOfDay tests check.
void DialogsTest::tipButtonsStepAndTheBoxSwitchesTipsOff()
{
    Station s;
    s.app.write("TIPOFDAY.TXT", "one\r\ntwo\r\nthree\r\n");
    s.start();
    s.e.tip.Form_Load();
    frmTip window(s.e.tip, nullptr);
    const auto* text = Child<QLabel>(window, "lblTipText");
    auto* box = Child<QCheckBox>(window, "chkLoadTipsAtStartup");
    QStringList seen;
    WorkModal(window, [&] {
        seen << text->text();
        Click(window, "cmdNextTip");
        seen << text->text();
        Click(window, "CmdPrvTip");
        Click(window, "CmdPrvTip");
        seen << text->text();
        QVERIFY(box->isChecked());
        ClickBox(box);
        Click(window, "cmdOK");
    });
    QCOMPARE(seen,
             (QStringList{QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("one")}));
    QVERIFY(!s.e.win.mnuTipsChecked);
}

// Progress shows after about half a second, goes when done, and reports Cancel.
void DialogsTest::progressAppearsLateAndCancels()
{
    QWidget window;
    window.show();
    QtDialogs dialogs(&window);
    const auto shown = [&window] {
        const auto found = window.findChildren<QProgressDialog*>();
        return !found.isEmpty() && found.front()->isVisible();
    };

    // Ended quickly, then a message box: the dialog must not turn up in the box's loop.
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
    QVERIFY2(window.findChildren<QProgressDialog*>().isEmpty(), "ended work leaves no dialog");
    // Past half a second it shows; Cancel stops the work and takes the dialog away.
    QVERIFY(dialogs.progress("Deleting record 1", 0, 100 << 20));
    QVERIFY(dialogs.progress("Deleting record 1", 10 << 20, 100 << 20));
    QVERIFY2(!shown(), "quick work shows nothing");
    QThread::msleep(600);
    QVERIFY(dialogs.progress("Deleting record 1", 20 << 20, 100 << 20));
    QVERIFY(shown());
    window.findChild<QProgressDialog*>()->cancel();
    QVERIFY(!dialogs.progress("Deleting record 1", 30 << 20, 100 << 20));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.findChildren<QProgressDialog*>().isEmpty());
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
