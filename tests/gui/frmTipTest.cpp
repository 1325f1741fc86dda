#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/frmTip.h"
#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

// The Tip of the Day as the operator works it, over two starts on the same settings.
class frmTipTest : public QObject
{
    Q_OBJECT

private slots:
    void buttonsStepAndTheBoxSwitchesTipsOff();
};

namespace
{

struct Start {
    explicit Start(TempDir& dir, MemorySettingsStore& store) : e(screen, dialogs, store, dir.path())
    {
        e.LoadSettings();
        e.Form_Load();
        e.tip.Form_Load();
    }
    ScreenModel screen{640, 480};
    ScriptedDialogs dialogs;
    Engine e;
};

// Shows the window and works it once it is up; the steps end by closing it.
void Work(frmTip& window, const std::function<void()>& steps)
{
    QTimer::singleShot(0, &window, steps);
    window.showModal();
}

template <class T> T* Child(const QWidget& w, const char* name)
{
    auto* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

} // namespace

void frmTipTest::buttonsStepAndTheBoxSwitchesTipsOff()
{
    TempDir dir;
    dir.write("TIPOFDAY.TXT", "one\r\ntwo\r\nthree\r\n");
    MemorySettingsStore store;
    {
        Start first(dir, store);
        frmTip window(first.e.tip, nullptr);
        QStringList seen;
        Work(window, [&] {
            const auto* text = Child<QLabel>(window, "lblTipText");
            seen << text->text();
            QTest::mouseClick(Child<QPushButton>(window, "cmdNextTip"), Qt::LeftButton);
            seen << text->text();
            QTest::mouseClick(Child<QPushButton>(window, "CmdPrvTip"), Qt::LeftButton);
            QTest::mouseClick(Child<QPushButton>(window, "CmdPrvTip"), Qt::LeftButton);
            seen << text->text();
            QVERIFY(Child<QCheckBox>(window, "chkLoadTipsAtStartup")->isChecked());
            QCOMPARE(Child<QCheckBox>(window, "chkLoadTipsAtStartup")->toolTip(),
                     QStringLiteral("Uncheck this after seeing All please! "));
            QTest::mouseClick(Child<QPushButton>(window, "cmdOK"), Qt::LeftButton);
        });
        QCOMPARE(seen, (QStringList{QStringLiteral("two"), QStringLiteral("three"),
                                    QStringLiteral("one")}));
        QVERIFY(first.e.win.mnuTipsChecked);
    }
    {
        // Next went on to tip 3 last time, so this start shows tip 1; the box unchecked and
        // OK take Help > Showtips' check mark off and keep tips off from the next start.
        Start second(dir, store);
        frmTip window(second.e.tip, nullptr);
        Work(window, [&] {
            QCOMPARE(Child<QLabel>(window, "lblTipText")->text(), QStringLiteral("one"));
            auto* box = Child<QCheckBox>(window, "chkLoadTipsAtStartup");
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            QTest::mouseClick(Child<QPushButton>(window, "cmdOK"), Qt::LeftButton);
        });
        QVERIFY(!second.e.win.mnuTipsChecked);
    }
    Start third(dir, store);
    QVERIFY(!third.e.tip.Visible);
    QVERIFY(!third.e.win.mnuTipsChecked);
}

QTEST_MAIN(frmTipTest)
#include "frmTipTest.moc"
