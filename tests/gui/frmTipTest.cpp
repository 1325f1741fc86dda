#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include <memory>

#include "app/frmTip.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/Station.h"

// The Tip of the Day as the operator works it, over starts on the same settings.
class frmTipTest : public QObject
{
    Q_OBJECT

private slots:
    void buttonsStepAndTheBoxSwitchesTipsOff();
};

namespace
{

// A start of the program on the settings the last one left.
std::unique_ptr<Station> Start(const MemorySettingsStore& settings)
{
    auto s = std::make_unique<Station>();
    s->app.write("TIPOFDAY.TXT", "one\r\ntwo\r\nthree\r\n");
    s->store = settings;
    s->start();
    s->e.tip.Form_Load();
    return s;
}

} // namespace

void frmTipTest::buttonsStepAndTheBoxSwitchesTipsOff()
{
    const auto first = Start({});
    frmTip window(first->e.tip, nullptr);
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
        QCOMPARE(box->toolTip(), QStringLiteral("Uncheck this after seeing All please! "));
        Click(window, "cmdOK");
    });
    QCOMPARE(seen,
             (QStringList{QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("one")}));
    QVERIFY(first->e.win.mnuTipsChecked);

    // Next went on to tip 3 last time, so this start shows tip 1; the box unchecked and OK
    // take Help > Showtips' check mark off and keep tips off from the next start.
    const auto second = Start(first->store);
    frmTip again(second->e.tip, nullptr);
    WorkModal(again, [&] {
        QCOMPARE(Child<QLabel>(again, "lblTipText")->text(), QStringLiteral("one"));
        ClickBox(Child<QCheckBox>(again, "chkLoadTipsAtStartup"));
        Click(again, "cmdOK");
    });
    QVERIFY(!second->e.win.mnuTipsChecked);
    const auto third = Start(second->store);
    QVERIFY(!third->e.tip.Visible);
    QVERIFY(!third->e.win.mnuTipsChecked);
}

QTEST_MAIN(frmTipTest)
#include "frmTipTest.moc"
