#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include "app/frmVwFmtFile.h"
#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

// The FILE.FMT editor as the operator works it: the indicator follows the caret through
// every kind of move, Save writes what is shown, Cancel writes nothing.
class frmVwFmtFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void indicatorShowsTheCaretsLineAndColumn();
    void saveWritesTheTextAndCancelNothing();

private:
    QString panels() const
    {
        const auto* col = m_window.findChild<QLabel*>(QStringLiteral("StatusBar1Panel2"));
        const auto* line = m_window.findChild<QLabel*>(QStringLiteral("StatusBar1Panel3"));
        return line->text() + QLatin1Char('/') + col->text();
    }
    QPlainTextEdit* text() const
    {
        return m_window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    }
    void open()
    {
        m_engine.fmtEditor.mnuVwFmt_Click();
        m_window.showFromModel();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }

    TempDir m_dir;
    ScreenModel m_screen{640, 480};
    ScriptedDialogs m_dialogs;
    MemorySettingsStore m_store;
    Engine m_engine{m_screen, m_dialogs, m_store, m_dir.path()};
    frmVwFmtFile m_window{m_engine.fmtEditor, nullptr};
};

void frmVwFmtFileTest::init()
{
    m_dir.write("FILE.FMT", "AB\r\nCDEF\r\nG\r\n");
    m_engine.file.DataPath = m_dir.path().string();
}

void frmVwFmtFileTest::indicatorShowsTheCaretsLineAndColumn()
{
    open();
    QCOMPARE(m_window.windowTitle(), QStringLiteral("Editing FILE.FMT - Format/structure file"));
    QCOMPARE(panels(), QStringLiteral(" 1/ 1"));
    QPlainTextEdit* t = text();
    struct Step {
        Qt::Key key;
        const char* expected;
    };
    for (const Step s : {Step{Qt::Key_End, " 1/ 3"}, Step{Qt::Key_Down, " 2/ 3"},
                         Step{Qt::Key_End, " 2/ 5"}, Step{Qt::Key_Enter, " 3/ 1"},
                         Step{Qt::Key_Right, " 4/ 1"}, Step{Qt::Key_PageDown, " 5/ 1"},
                         Step{Qt::Key_PageUp, " 1/ 1"}, Step{Qt::Key_Home, " 1/ 1"}}) {
        QTest::keyClick(t, s.key);
        QCOMPARE(panels(), QString::fromLatin1(s.expected));
    }
    QTest::keyClicks(t, QStringLiteral("xy"));
    QCOMPARE(panels(), QStringLiteral(" 1/ 3"));
    // A click puts the caret, and the indicator, on the cell clicked: line 2 from the top.
    const QRect second = t->cursorRect(QTextCursor(t->document()->findBlockByNumber(1)));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(panels(), QStringLiteral(" 2/ 1"));
    m_window.close(); // the window's own close button is Cancel
    QVERIFY(!m_engine.fmtEditor.Visible);
}

void frmVwFmtFileTest::saveWritesTheTextAndCancelNothing()
{
    open();
    QTest::keyClicks(text(), QStringLiteral("Z"));
    QTest::mouseClick(m_window.findChild<QPushButton*>(QStringLiteral("Save")), Qt::LeftButton);
    QVERIFY(!m_window.isVisible());
    QCOMPARE(m_dir.read("FILE.FMT"), std::string("ZAB\r\nCDEF\r\nG\r\n\r\n"));

    open();
    QCOMPARE(text()->toPlainText(), QStringLiteral("ZAB\nCDEF\nG\n\n"));
    QTest::keyClicks(text(), QStringLiteral("lost"));
    QTest::mouseClick(m_window.findChild<QPushButton*>(QStringLiteral("Cancel")), Qt::LeftButton);
    QVERIFY(!m_window.isVisible());
    QCOMPARE(m_dir.read("FILE.FMT"), std::string("ZAB\r\nCDEF\r\nG\r\n\r\n"));
}

QTEST_MAIN(frmVwFmtFileTest)
#include "frmVwFmtFileTest.moc"
