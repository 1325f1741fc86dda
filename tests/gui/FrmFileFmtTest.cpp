#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

#include "app/FrmFileFmt.h"

namespace
{

using Operator = std::function<void(QComboBox*)>;

// One opening of the dialog: the entries listed, the index it shows, what the operator does
// on its text line, the button then pressed (none: the operator's keys closed it) and the
// choice that comes back.
struct Opening {
    std::vector<std::string> entries;
    int shown;
    Operator act;
    const char* button;
    bool accepted;
    int selected;
    std::string text;
};

Operator Pick(int index)
{
    return [index](QComboBox* c) { c->setCurrentIndex(index); };
}

Operator Type(const char* text, bool enter = false)
{
    return [text, enter](QComboBox* c) {
        QTest::keyClicks(c->lineEdit(), QString::fromLatin1(text));
        if (enter)
            QTest::keyClick(c->lineEdit(), Qt::Key_Return);
    };
}

} // namespace

Q_DECLARE_METATYPE(Opening)

// One dialog over the openings of a session, in order: each opening lists the entries anew and
// shows the last choice where it is still listed.
class FrmFileFmtTest : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();

private:
    FrmFileFmt m_dialog;
};

void FrmFileFmtTest::choice_data()
{
    QTest::addColumn<Opening>("opening");
    const std::vector<std::string> formats = {"STOCK-19", "PAYROLL/2-12"};
    QTest::newRow("list entry") << Opening{formats, -1, Pick(1), "OK", true, 1, "PAYROLL/2-12"};
    // Still listed, at another place: the same entry is chosen.
    QTest::newRow("kept, moved") << Opening{
        {"EXTRA-5", "STOCK-19", "PAYROLL/2-12"}, 2, {}, "OK", true, 2, "PAYROLL/2-12"};
    // No longer listed: the text stays, but it no longer names an entry.
    QTest::newRow("kept, gone") << Opening{{"STOCK-19"}, -1, {}, "OK", true, -1, "PAYROLL/2-12"};
    // Typing replaces the text shown.
    QTest::newRow("typed name") << Opening{formats, -1, Type("stock"), "OK", true, -1, "stock"};
    QTest::newRow("typed entry, Enter")
        << Opening{formats, -1, Type("STOCK-19", true), "", true, 0, "STOCK-19"};
    QTest::newRow("cancel") << Opening{formats, 0, Pick(1), "Cancel", false, 1, "PAYROLL/2-12"};
}

void FrmFileFmtTest::choice()
{
    QFETCH(Opening, opening);
    auto* combo = m_dialog.findChild<QComboBox*>(QStringLiteral("Combo1"));
    int shown = -2;
    QTimer::singleShot(0, &m_dialog, [&] {
        shown = combo->currentIndex();
        if (opening.act)
            opening.act(combo);
        for (auto* b : m_dialog.findChildren<QPushButton*>())
            if (b->text() == QLatin1String(opening.button))
                b->click();
    });
    const auto c = m_dialog.choose(opening.entries);
    QCOMPARE(shown, opening.shown);
    QCOMPARE(c.accepted, opening.accepted);
    QCOMPARE(c.selected, opening.selected);
    QCOMPARE(c.text, opening.text);
    // Typed names are looked up, never added to the list.
    QCOMPARE(combo->count(), static_cast<int>(opening.entries.size()));
}

QTEST_MAIN(FrmFileFmtTest)
#include "FrmFileFmtTest.moc"
