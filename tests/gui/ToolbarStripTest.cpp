#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "app/EntryScreenWidget.h"
#include "app/ImageButton.h"
#include "app/frmKvl.h"
#include "engine/ScriptedDialogs.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

const char* const ButtonNames[Toolbar::ButtonCount] = {"ImgFileNew", "ImgFileOpen", "ImgFileSave",
                                                       "ImgFmt", "ImgPrf"};

QImage Render(ImageButton& button, qreal ratio)
{
    QImage image(button.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::lightGray);
    button.render(&image);
    return image;
}

int DifferingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// The box around everything painted in another colour than the top left corner.
QRect Ink(const QImage& image)
{
    QRect box;
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class ToolbarStripTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m_window.reset(); }

    void picturesFollowThePointer();
    void clicksRunTheirCommands();
    void artworkIsSharpAtPixelRatioTwo();

private:
    ImageButton* button(int b) const
    {
        return m_window->findChild<ImageButton*>(QString::fromLatin1(ButtonNames[b]));
    }
    // The five pictures as letters: F flat, R raised, P pressed.
    QString shown() const
    {
        QString s;
        for (int b = 0; b < Toolbar::ButtonCount; ++b)
            s += QStringLiteral("FRP").at(button(b)->picture());
        return s;
    }
    // A real move: Qt drops a move to where the pointer already is.
    void moveOver(int b) { QTest::mouseMove(button(b), QPoint(8 + 4 * (++m_moves % 2), 12)); }
    void press(int b) { QTest::mousePress(button(b), Qt::LeftButton, {}, QPoint(10, 10)); }
    void release(int b) { QTest::mouseRelease(button(b), Qt::LeftButton, {}, QPoint(10, 10)); }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_appDir;
    ScriptedDialogs m_dialogs;
    MemorySettingsStore m_store;
    std::unique_ptr<frmKvl> m_window;
    int m_moves = 0;
};

void ToolbarStripTest::initTestCase()
{
    KeepSettingsIn(m_settingsDir);
}

void ToolbarStripTest::init()
{
    m_appDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_appDir->isValid());
    QFile fmt(m_appDir->filePath(QStringLiteral("file.fmt")));
    QVERIFY(fmt.open(QIODevice::WriteOnly));
    fmt.write("STOCK\r\nN----A-------E\r\nPART NAME\r\n");
    fmt.close();
    m_dialogs = ScriptedDialogs();
    m_store = MemorySettingsStore();
    m_window = std::make_unique<frmKvl>(m_appDir->path().toStdString(), m_store, &m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    for (int b = 0; b < Toolbar::ButtonCount; ++b)
        QVERIFY2(button(b) && button(b)->isVisible(), ButtonNames[b]);
}

void ToolbarStripTest::picturesFollowThePointer()
{
    QCOMPARE(shown(), QStringLiteral("FFFFF"));
    // Each picture is painted differently.
    ImageButton& save = *button(Toolbar::ImgFileSave);
    const QImage flat = Render(save, 1);
    moveOver(Toolbar::ImgFileSave);
    QCOMPARE(shown(), QStringLiteral("FFRFF"));
    const QImage raised = Render(save, 1);
    press(Toolbar::ImgFileSave);
    QCOMPARE(shown(), QStringLiteral("FFPFF"));
    QVERIFY(flat != raised && raised != Render(save, 1) && flat != Render(save, 1));
    QTest::mouseRelease(&save, Qt::LeftButton, {}, QPoint(40, 10)); // let go elsewhere
    QCOMPARE(shown(), QStringLiteral("FFRFF"));

    // From Save onto Format, Save goes flat; back onto Save, Format stays raised.
    moveOver(Toolbar::ImgFmt);
    QCOMPARE(shown(), QStringLiteral("FFFRF"));
    moveOver(Toolbar::ImgFileSave);
    QCOMPARE(shown(), QStringLiteral("FFRRF"));
    moveOver(Toolbar::ImgPrf);
    QCOMPARE(shown(), QStringLiteral("FFFFR"));
    moveOver(Toolbar::ImgFmt);
    QCOMPARE(shown(), QStringLiteral("FFFRF"));
    // A move over New changes New only; over Open, it flattens all the others.
    moveOver(Toolbar::ImgFileNew);
    QCOMPARE(shown(), QStringLiteral("RFFRF"));
    moveOver(Toolbar::ImgFileOpen);
    QCOMPARE(shown(), QStringLiteral("FRFFF"));

    // The strip between the buttons and the entry screen both flatten all five.
    moveOver(Toolbar::ImgFileSave);
    QTest::mouseMove(m_window->findChild<QWidget*>(QStringLiteral("PicToolBar")), QPoint(300, 10));
    QCOMPARE(shown(), QStringLiteral("FFFFF"));
    moveOver(Toolbar::ImgFmt);
    QTest::mouseMove(m_window->findChild<EntryScreenWidget*>(QStringLiteral("EntryScreen")),
                     QPoint(200, 200));
    QCOMPARE(shown(), QStringLiteral("FFFFF"));
}

void ToolbarStripTest::clicksRunTheirCommands()
{
    // Open: pressed, and still pressed after the release until the pointer moves. Its
    // click runs File > Open, here cancelled.
    moveOver(Toolbar::ImgFileOpen);
    press(Toolbar::ImgFileOpen);
    QCOMPARE(shown(), QStringLiteral("FPFFF"));
    release(Toolbar::ImgFileOpen);
    QCOMPARE(shown(), QStringLiteral("FPFFF"));
    QCOMPARE(m_dialogs.openRequests.size(), std::size_t(1));
    moveOver(Toolbar::ImgFileOpen);
    QCOMPARE(shown(), QStringLiteral("FRFFF"));

    // New while it is offered: raised after the click, which runs New Data File (its first
    // question is answered No here).
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    const std::size_t before = m_dialogs.boxes.size();
    moveOver(Toolbar::ImgFileNew);
    QTest::mouseClick(button(Toolbar::ImgFileNew), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(shown(), QStringLiteral("RRFFF")); // a move over New leaves Open as it was
    QCOMPARE(m_dialogs.boxes.size(), before + 1);
    QVERIFY(m_dialogs.answers.empty());

    // With a file open New is greyed: nothing on it changes a picture or runs anything.
    const QString data = m_appDir->filePath(QStringLiteral("parts.dat"));
    QFile(data).open(QIODevice::WriteOnly);
    m_dialogs.openAnswers.push_back(data.toStdString());
    m_dialogs.chooseEntry("STOCK-14");
    QTest::mouseClick(button(Toolbar::ImgFileOpen), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!m_window->findChild<QAction*>(QStringLiteral("mnuNew"))->isEnabled());
    moveOver(Toolbar::ImgFileSave);
    const std::size_t boxes = m_dialogs.boxes.size();
    const auto requests = m_dialogs.openRequests.size();
    moveOver(Toolbar::ImgFileNew);
    QTest::mouseClick(button(Toolbar::ImgFileNew), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(shown(), QStringLiteral("FFRFF"));
    QCOMPARE(m_dialogs.boxes.size(), boxes);
    QCOMPARE(m_dialogs.openRequests.size(), requests);

    // Format opens the editor beside the window, which stays usable.
    moveOver(Toolbar::ImgFmt);
    QTest::mouseClick(button(Toolbar::ImgFmt), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(shown(), QStringLiteral("FFFRF"));
    auto* editor = m_window->findChild<QWidget*>(QStringLiteral("frmVwFmtFile"));
    QVERIFY(editor && editor->isVisible());
    QVERIFY(!editor->isModal());
    editor->close();

    // Preferences: flat again on release, and the dialog is modal.
    QString modalTitle;
    QString prfWhileOpen;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        modalTitle = modal->windowTitle();
        prfWhileOpen = shown();
        modal->close();
    });
    moveOver(Toolbar::ImgPrf);
    poll.start(10);
    QTest::mouseClick(button(Toolbar::ImgPrf), Qt::LeftButton, {}, QPoint(10, 10));
    poll.stop();
    QCOMPARE(modalTitle, QStringLiteral("Preferences"));
    QCOMPARE(prfWhileOpen, QStringLiteral("FFFFF"));
}

void ToolbarStripTest::artworkIsSharpAtPixelRatioTwo()
{
    // At ratio 2 the art is drawn on the finer grid, not a 1x picture blown up: it differs
    // from both kinds of scaling of the 1x picture, and fills the button as at 1x.
    for (int b = 0; b < Toolbar::ButtonCount; ++b) {
        ImageButton& art = *button(b);
        const QImage one = Render(art, 1);
        const QImage two = Render(art, 2);
        QCOMPARE(two.size(), one.size() * 2);
        for (const auto mode : {Qt::FastTransformation, Qt::SmoothTransformation})
            QVERIFY2(DifferingPixels(two, one.scaled(two.size(), Qt::IgnoreAspectRatio, mode)) >
                         two.width() * two.height() / 50,
                     ButtonNames[b]);
        const QRect inkOne = Ink(one), inkTwo = Ink(two);
        QVERIFY2(!inkOne.isEmpty(), ButtonNames[b]);
        // Edges blur by a pixel at 1x, so the boxes differ by up to three.
        QVERIFY2(std::abs(inkTwo.width() - 2 * inkOne.width()) <= 3, ButtonNames[b]);
        QVERIFY2(std::abs(inkTwo.height() - 2 * inkOne.height()) <= 3, ButtonNames[b]);
        QVERIFY2((inkTwo.center() - 2 * inkOne.center()).manhattanLength() <= 3, ButtonNames[b]);
    }
}

QTEST_MAIN(ToolbarStripTest)
#include "ToolbarStripTest.moc"
