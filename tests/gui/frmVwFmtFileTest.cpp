#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

#include "app/frmVwFmtFile.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/Station.h"

// The FILE.FMT editor as the operator works it: the indicator follows the caret through
// every kind of move, Cancel and the close button write nothing, Save writes what is shown
// byte for byte.
class frmVwFmtFileTest : public QObject
{
    Q_OBJECT

private slots:
    void indicatorCancelAndSave();

private:
    QString panels() const
    {
        return Child<QLabel>(m_window, "StatusBar1Panel3")->text() + QLatin1Char('/') +
               Child<QLabel>(m_window, "StatusBar1Panel2")->text();
    }
    QPlainTextEdit* open()
    {
        m_s.e.fmtEditor.mnuVwFmt_Click();
        m_window.showFromModel();
        if (!QTest::qWaitForWindowExposed(&m_window))
            qFatal("the editor did not show");
        return Child<QPlainTextEdit>(m_window, "Text1");
    }

    Station m_s{"AB\r\nCDEF\r\nG\r\n"};
    frmVwFmtFile m_window{m_s.e.fmtEditor, nullptr};
};

void frmVwFmtFileTest::indicatorCancelAndSave()
{
    m_s.e.file.DataPath = m_s.app.path().string();
    QPlainTextEdit* t = open();
    QCOMPARE(m_window.windowTitle(), QStringLiteral("Editing FILE.FMT - Format/structure file"));
    QCOMPARE(panels(), QStringLiteral(" 1/ 1"));
    const std::pair<Qt::Key, const char*> moves[] = {
        {Qt::Key_End, " 1/ 3"},    {Qt::Key_Down, " 2/ 3"},  {Qt::Key_End, " 2/ 5"},
        {Qt::Key_Enter, " 3/ 1"},  {Qt::Key_Right, " 4/ 1"}, {Qt::Key_PageDown, " 5/ 1"},
        {Qt::Key_PageUp, " 1/ 1"}, {Qt::Key_Home, " 1/ 1"}};
    for (const auto& [key, expected] : moves) {
        QTest::keyClick(t, key);
        QCOMPARE(panels(), QString::fromLatin1(expected));
    }
    QTest::keyClicks(t, QStringLiteral("xy"));
    QCOMPARE(panels(), QStringLiteral(" 1/ 3"));
    // Typing past the old end of the text, and a new line, count on the new text.
    QTest::keyClick(t, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(t, QStringLiteral("ok"));
    QCOMPARE(panels(), QStringLiteral(" 5/ 3"));
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(panels(), QStringLiteral(" 6/ 1"));
    // A click puts the caret, and the indicator, on the cell clicked: line 2 from the top.
    const QRect second = t->cursorRect(QTextCursor(t->document()->findBlockByNumber(1)));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(panels(), QStringLiteral(" 2/ 1"));
    m_window.close(); // the window's own close button is Cancel
    QVERIFY(!m_s.e.fmtEditor.Visible);
    QCOMPARE(m_s.app.read("FILE.FMT"), std::string("AB\r\nCDEF\r\nG\r\n"));

    t = open();
    QCOMPARE(t->toPlainText(), QStringLiteral("AB\nCDEF\nG\n"));
    QTest::keyClicks(t, QStringLiteral("lost"));
    Click(m_window, "Cancel");
    QVERIFY(!m_window.isVisible());
    QCOMPARE(m_s.app.read("FILE.FMT"), std::string("AB\r\nCDEF\r\nG\r\n"));

    // Every character code a line can hold, the no-break space 0xA0 among them, comes back
    // from the text box byte for byte: setting the text and each edit read it back.
    std::string line;
    for (int c = 32; c <= 255; ++c)
        line += static_cast<char>(c);
    const std::string bytes = "ALL\r\n" + line + "\r\nA---E\r\n";
    m_s.app.write("FILE.FMT", bytes);
    t = open();
    QTest::keyClicks(t, QStringLiteral("x"));
    QTest::keyClick(t, Qt::Key_Backspace);
    Click(m_window, "Save");
    QVERIFY(!m_window.isVisible());
    QCOMPARE(m_s.app.read("FILE.FMT"), bytes + "\r\n");
}

QTEST_MAIN(frmVwFmtFileTest)
#include "frmVwFmtFileTest.moc"
