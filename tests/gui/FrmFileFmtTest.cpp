#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

#include "app/FrmFileFmt.h"

namespace
{

using Entries = std::vector<std::string>;
using Operator = std::function<void(QComboBox*)>;

const Entries Formats = {"STOCK-19", "PAYROLL/2-12"};

// Shows the dialog modally; once it is up, the operator acts on its text line and presses a
// button.
Dialogs::FormatChoice Run(FrmFileFmt& dialog, const Entries& entries, const Operator& act,
                          const QString& button)
{
    QTimer::singleShot(0, &dialog, [&] {
        act(dialog.findChild<QComboBox*>(QStringLiteral("Combo1")));
        for (auto* b : dialog.findChildren<QPushButton*>())
            if (b->text() == button)
                b->click();
    });
    return dialog.choose(entries);
}

void Pick(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
}

void Type(QComboBox* combo, const QString& text)
{
    QTest::keyClicks(combo->lineEdit(), text);
}

} // namespace

Q_DECLARE_METATYPE(Operator)

class FrmFileFmtTest : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void reuseKeepsLastChoice();
};

void FrmFileFmtTest::choice_data()
{
    QTest::addColumn<Operator>("act");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("text");

    QTest::newRow("list entry") << Operator([](QComboBox* c) { Pick(c, 1); })
                                << QStringLiteral("OK") << true << 1
                                << QStringLiteral("PAYROLL/2-12");
    QTest::newRow("typed name") << Operator([](QComboBox* c) { Type(c, QStringLiteral("stock")); })
                                << QStringLiteral("OK") << true << -1 << QStringLiteral("stock");
    QTest::newRow("typed entry, Enter") << Operator([](QComboBox* c) {
        Type(c, QStringLiteral("STOCK-19"));
        QTest::keyClick(c->lineEdit(), Qt::Key_Return);
    }) << QString() << true << 0 << QStringLiteral("STOCK-19");
    QTest::newRow("cancel") << Operator([](QComboBox* c) { Pick(c, 0); })
                            << QStringLiteral("Cancel") << false << 0 << QStringLiteral("STOCK-19");
}

void FrmFileFmtTest::choice()
{
    QFETCH(Operator, act);
    QFETCH(QString, button);
    QFETCH(bool, accepted);
    QFETCH(int, selected);
    QFETCH(QString, text);

    FrmFileFmt dialog;
    const auto c = Run(dialog, Formats, act, button);
    QCOMPARE(c.accepted, accepted);
    QCOMPARE(c.selected, selected);
    QCOMPARE(QString::fromStdString(c.text), text);
    // Typed names are looked up, never added to the list.
    QCOMPARE(dialog.findChild<QComboBox*>()->count(), static_cast<int>(Formats.size()));
}

void FrmFileFmtTest::reuseKeepsLastChoice()
{
    FrmFileFmt dialog;
    int shown = -2;
    const Operator look = [&shown](QComboBox* c) { shown = c->currentIndex(); };
    QCOMPARE(Run(
                 dialog, Formats, [](QComboBox* c) { Pick(c, 1); }, QStringLiteral("OK"))
                 .selected,
             1);

    // Still listed, at another place: the operator finds the same entry chosen.
    auto c = Run(dialog, {"EXTRA-5", "STOCK-19", "PAYROLL/2-12"}, look, QStringLiteral("OK"));
    QCOMPARE(shown, 2);
    QCOMPARE(c.selected, 2);
    QCOMPARE(c.text, std::string("PAYROLL/2-12"));

    // No longer listed: the text stays, but it no longer names an entry.
    c = Run(dialog, {"STOCK-19"}, look, QStringLiteral("OK"));
    QCOMPARE(shown, -1);
    QCOMPARE(c.selected, -1);
    QCOMPARE(c.text, std::string("PAYROLL/2-12"));
}

QTEST_MAIN(FrmFileFmtTest)
#include "FrmFileFmtTest.moc"
