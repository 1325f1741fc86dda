#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "app/frmKvlPrefs.h"
#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"

// The Preferences dialog as the operator works it: typing, clicking, OK and Cancel.
class frmKvlPrefsTest : public QObject
{
    Q_OBJECT

private slots:
    void okAppliesAndStoresWhatWasSet();
    void cancelKeepsTheControlsForTheNextOpening();

private:
    // Clicks on the box itself: a wide button takes clicks only on its box and label.
    static void clickBox(QAbstractButton* b)
    {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Opens the dialog and works it with steps once it shows; the steps end by closing it.
    void work(const std::function<void(frmKvlPrefs&)>& steps);
    template <class T> T* child(const char* name) const
    {
        auto* w = m_dialog.findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    ScreenModel m_screen{640, 480};
    ScriptedDialogs m_dialogs;
    MemorySettingsStore m_store;
    Engine m_engine{m_screen, m_dialogs, m_store, "/nonexistent"};
    frmKvlPrefs m_dialog{m_engine.prefsForm, nullptr};
};

void frmKvlPrefsTest::work(const std::function<void(frmKvlPrefs&)>& steps)
{
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        ran = true;
        steps(m_dialog);
        if (m_dialog.isVisible()) {
            m_dialog.reject();
            QFAIL("the steps left the dialog open");
        }
    });
    m_dialog.showModal();
    QVERIFY(ran);
    QVERIFY(!m_dialog.isVisible());
    QVERIFY(!m_engine.prefsForm.Visible);
}

void frmKvlPrefsTest::okAppliesAndStoresWhatWasSet()
{
    m_engine.LoadSettings();
    QCOMPARE(m_dialog.windowTitle(), QStringLiteral("Preferences"));
    m_dialogs.colorAnswers = {0x0000FF};
    work([this](frmKvlPrefs&) {
        QVERIFY(child<QRadioButton>("DupKey7")->isChecked());
        auto* mem2 = child<QLineEdit>("Mem2");
        QTest::keyClicks(mem2, QStringLiteral("  caf"));
        QTest::sendKeyEvent(QTest::Click, mem2, Qt::Key_unknown, QStringLiteral("\u00e9"),
                            Qt::NoModifier);
        QTest::keyClicks(mem2, QStringLiteral("  "));
        QTest::keyClicks(child<QLineEdit>("Mem9"), QString(40, QLatin1Char('z')));
        clickBox(child<QRadioButton>("DupkeyF12"));
        clickBox(child<QCheckBox>("Check1"));
        QTest::mouseClick(child<QPushButton>("cmdBkClr"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>("OK"), Qt::LeftButton);
    });
    const Preferences& p = m_engine.prefs;
    QCOMPARE(p.MemKeys[2], Preferences::FixedMemText("caf\xe9"));
    QCOMPARE(p.MemKeys[9], std::string(32, 'z'));
    QCOMPARE(p.DupKeyCode, Preferences::DupKeyF12);
    QVERIFY(p.UptronSw);
    QCOMPARE(p.FormBackColor, Color(0x0000FF));
    QCOMPARE(m_store.getSetting("Korvalen", "Memkey", "F2", ""), std::string("caf\xe9"));
    QCOMPARE(m_store.getSetting("Korvalen", "dupkey", "dupkey", ""), std::string("123"));
    QCOMPARE(m_store.getSetting("Korvalen", "uptronsw", "sw", ""), std::string("-1"));
    QCOMPARE(m_store.getSetting("Korvalen", "formcolor", "f2", ""), std::string("255"));
}

void frmKvlPrefsTest::cancelKeepsTheControlsForTheNextOpening()
{
    const bool padBefore = m_engine.prefs.UptronSw;
    const std::string f3Before = m_engine.prefs.MemKeys[3];
    work([this](frmKvlPrefs&) {
        QTest::keyClicks(child<QLineEdit>("Mem3"), QStringLiteral("not applied"));
        clickBox(child<QCheckBox>("Check1"));
        clickBox(child<QRadioButton>("DupKey7"));
        // The colour picker is cancelled: nothing queued.
        QTest::mouseClick(child<QPushButton>("cmdTxtclr"), Qt::LeftButton);
        QTest::keyClick(&m_dialog, Qt::Key_Escape);
    });
    QCOMPARE(m_dialogs.texts().back(), std::string("Cancelled"));
    QCOMPARE(m_engine.prefs.MemKeys[3], f3Before);
    QCOMPARE(m_engine.prefs.UptronSw, padBefore);
    // The Duplicate key acts at once, but only OK stores it.
    QCOMPARE(m_engine.prefs.DupKeyCode, Preferences::DupKey7);
    QCOMPARE(m_store.getSetting("Korvalen", "dupkey", "dupkey", ""), std::string("123"));
    work([this, padBefore](frmKvlPrefs&) {
        QCOMPARE(child<QLineEdit>("Mem3")->text(), QStringLiteral("not applied"));
        QCOMPARE(child<QCheckBox>("Check1")->isChecked(), !padBefore);
        QVERIFY(child<QRadioButton>("DupKey7")->isChecked());
        QTest::mouseClick(child<QPushButton>("Cancel"), Qt::LeftButton);
    });
}

QTEST_MAIN(frmKvlPrefsTest)
#include "frmKvlPrefsTest.moc"
