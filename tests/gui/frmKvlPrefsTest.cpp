#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "app/frmKvlPrefs.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/Station.h"

// The Preferences dialog as the operator works it: typing, clicking, OK and Cancel.
class frmKvlPrefsTest : public QObject
{
    Q_OBJECT

private slots:
    void okAppliesAndCancelKeepsTheControls();

private:
    void work(const std::function<void()>& steps)
    {
        WorkModal(m_dialog, steps);
        QVERIFY(!m_s.e.prefsForm.Visible);
    }
    template <class T> T* child(const char* name) const { return Child<T>(m_dialog, name); }
    std::string stored(const char* section, const char* key) const
    {
        return m_s.store.getSetting("Korvalen", section, key, "");
    }

    Station m_s;
    frmKvlPrefs m_dialog{m_s.e.prefsForm, nullptr};
};

void frmKvlPrefsTest::okAppliesAndCancelKeepsTheControls()
{
    m_s.e.LoadSettings();
    QCOMPARE(m_dialog.windowTitle(), QStringLiteral("Preferences"));
    m_s.dialogs.colorAnswers = {0x0000FF};
    work([this] {
        QVERIFY(child<QRadioButton>("DupKey7")->isChecked());
        auto* mem2 = child<QLineEdit>("Mem2");
        QTest::keyClicks(mem2, QStringLiteral("  caf"));
        QTest::sendKeyEvent(QTest::Click, mem2, Qt::Key_unknown, QStringLiteral("\u00e9"),
                            Qt::NoModifier);
        QTest::keyClicks(mem2, QStringLiteral("  "));
        QTest::keyClicks(child<QLineEdit>("Mem9"), QString(40, QLatin1Char('z')));
        ClickBox(child<QRadioButton>("DupkeyF12"));
        ClickBox(child<QCheckBox>("Check1"));
        Click(m_dialog, "cmdBkClr");
        Click(m_dialog, "OK");
    });
    const Preferences& p = m_s.e.prefs;
    QCOMPARE(p.MemKeys[2], Preferences::FixedMemText("caf\xe9"));
    QCOMPARE(p.MemKeys[9], std::string(32, 'z'));
    QCOMPARE(p.DupKeyCode, Preferences::DupKeyF12);
    QVERIFY(p.UptronSw);
    QCOMPARE(p.FormBackColor, Color(0x0000FF));
    QCOMPARE(stored("Memkey", "F2"), std::string("caf\xe9"));
    QCOMPARE(stored("dupkey", "dupkey"), std::string("123"));
    QCOMPARE(stored("uptronsw", "sw"), std::string("-1"));
    QCOMPARE(stored("formcolor", "f2"), std::string("255"));

    // Cancel applies and stores nothing, but the next opening shows the controls as left.
    const bool padBefore = m_s.e.prefs.UptronSw;
    const std::string f3Before = m_s.e.prefs.MemKeys[3];
    work([this] {
        QTest::keyClicks(child<QLineEdit>("Mem3"), QStringLiteral("not applied"));
        ClickBox(child<QCheckBox>("Check1"));
        ClickBox(child<QRadioButton>("DupKey7"));
        // The colour picker is cancelled: nothing queued.
        Click(m_dialog, "cmdTxtclr");
        QTest::keyClick(&m_dialog, Qt::Key_Escape);
    });
    QCOMPARE(m_s.dialogs.texts().back(), std::string("Cancelled"));
    QCOMPARE(m_s.e.prefs.MemKeys[3], f3Before);
    QCOMPARE(m_s.e.prefs.UptronSw, padBefore);
    // The Duplicate key acts at once, but only OK stores it.
    QCOMPARE(m_s.e.prefs.DupKeyCode, Preferences::DupKey7);
    QCOMPARE(stored("dupkey", "dupkey"), std::string("123"));
    work([this, padBefore] {
        QCOMPARE(child<QLineEdit>("Mem3")->text(), QStringLiteral("not applied"));
        QCOMPARE(child<QCheckBox>("Check1")->isChecked(), !padBefore);
        QVERIFY(child<QRadioButton>("DupKey7")->isChecked());
        Click(m_dialog, "Cancel");
    });
}

QTEST_MAIN(frmKvlPrefsTest)
#include "frmKvlPrefsTest.moc"
