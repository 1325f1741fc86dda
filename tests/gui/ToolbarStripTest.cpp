#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <memory>

#include "app/EntryScreenWidget.h"
#include "app/ImageButton.h"
#include "app/frmKvl.h"
#include "engine/ScriptedDialogs.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

namespace
{

// The buttons by the letter the steps name them with.
const char ButtonLetters[] = "nosfp";
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
    void initTestCase() { KeepSettingsIn(m_settingsDir); }
    void init();
    void cleanup() { m_window.reset(); }

    void picturesFollowThePointer();
    void clicksRunTheirCommands();
    void artworkIsSharpAtPixelRatioTwo();

private:
    ImageButton* button(int b) const { return Child<ImageButton>(*m_window, ButtonNames[b]); }
    void play(const char* steps);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<TempDir> m_appDir;
    ScriptedDialogs m_dialogs;
    MemorySettingsStore m_store;
    std::unique_ptr<frmKvl> m_window;
    int m_moves = 0;
};

void ToolbarStripTest::init()
{
    m_appDir = std::make_unique<TempDir>();
    m_appDir->write("file.fmt", CrLf({"STOCK", "N----A-------E", "PART NAME"}));
    m_dialogs = ScriptedDialogs();
    m_store = MemorySettingsStore();
    m_window = std::make_unique<frmKvl>(m_appDir->path().string(), m_store, &m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    for (int b = 0; b < Toolbar::ButtonCount; ++b)
        QVERIFY2(button(b)->isVisible(), ButtonNames[b]);
}

// Steps, each followed by the five pictures it leaves (F flat, R raised, P pressed): a move
// (m), press (p), release (r), release away from the button (x) or click (c) on a button
// named by its letter, or a move over the strip between the buttons or the entry screen.
void ToolbarStripTest::play(const char* steps)
{
    const QStringList words = QString::fromLatin1(steps).split(QLatin1Char(' '));
    for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
        const QString& step = words[i];
        if (step == QLatin1String("strip")) {
            QTest::mouseMove(Child<QWidget>(*m_window, "PicToolBar"), QPoint(300, 10));
        } else if (step == QLatin1String("screen")) {
            QTest::mouseMove(Child<EntryScreenWidget>(*m_window, "EntryScreen"), QPoint(200, 200));
        } else {
            ImageButton* b = button(int(strchr(ButtonLetters, step[1].toLatin1()) - ButtonLetters));
            const QPoint at(10, 10);
            switch (step[0].toLatin1()) {
            case 'm': // a real move: Qt drops a move to where the pointer already is
                QTest::mouseMove(b, QPoint(8 + 4 * (++m_moves % 2), 12));
                break;
            case 'p':
                QTest::mousePress(b, Qt::LeftButton, {}, at);
                break;
            case 'r':
                QTest::mouseRelease(b, Qt::LeftButton, {}, at);
                break;
            case 'x':
                QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(40, 10));
                break;
            default:
                QTest::mouseClick(b, Qt::LeftButton, {}, at);
            }
        }
        QString shown;
        for (int b = 0; b < Toolbar::ButtonCount; ++b)
            shown += QStringLiteral("FRP").at(button(b)->picture());
        QVERIFY2(shown == words[i + 1], qPrintable(step + QLatin1String(" left ") + shown));
    }
}

void ToolbarStripTest::picturesFollowThePointer()
{
    // Each picture is painted differently.
    ImageButton& save = *button(Toolbar::ImgFileSave);
    const QImage flat = Render(save, 1);
    play("ms FFRFF");
    const QImage raised = Render(save, 1);
    play("ps FFPFF");
    QVERIFY(flat != raised && raised != Render(save, 1) && flat != Render(save, 1));
    // From Save onto Format, Save goes flat; back onto Save, Format stays raised. A move over
    // New changes New only; over Open, it flattens all the others. The strip between the
    // buttons and the entry screen both flatten all five.
    play("xs FFRFF mf FFFRF ms FFRRF mp FFFFR mf FFFRF mn RFFRF mo FRFFF ms FFRFF strip FFFFF "
         "mf FFFRF screen FFFFF");
}

void ToolbarStripTest::clicksRunTheirCommands()
{
    // Open stays pressed after the release until the pointer moves. Its click runs File >
    // Open, here cancelled.
    play("mo FRFFF po FPFFF ro FPFFF");
    QCOMPARE(m_dialogs.openRequests.size(), std::size_t(1));
    // New while it is offered: raised after the click, which runs New Data File (its first
    // question is answered No here). A move over New leaves Open as it was.
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    const auto before = m_dialogs.boxes.size();
    play("mo FRFFF mn RRFFF cn RRFFF");
    QCOMPARE(m_dialogs.boxes.size(), before + 1);
    QVERIFY(m_dialogs.answers.empty());

    // With a file open New is greyed: nothing on it changes a picture or runs anything.
    m_dialogs.openAnswers.push_back(m_appDir->write("parts.dat", ""));
    m_dialogs.chooseEntry("STOCK-14");
    play("co FPFFF");
    QVERIFY(!Child<QAction>(*m_window, "mnuNew")->isEnabled());
    const auto boxes = m_dialogs.boxes.size();
    const auto requests = m_dialogs.openRequests.size();
    play("ms FFRFF mn FFRFF cn FFRFF");
    QCOMPARE(m_dialogs.boxes.size(), boxes);
    QCOMPARE(m_dialogs.openRequests.size(), requests);

    // Format opens the editor beside the window, which stays usable.
    play("mf FFFRF cf FFFRF");
    auto* editor = Child<QWidget>(*m_window, "frmVwFmtFile");
    QVERIFY(editor->isVisible() && !editor->isModal());
    editor->close();

    // Preferences: flat again on release, and the dialog is modal.
    QString modalTitle;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modalTitle = modal->windowTitle();
            modal->close();
        }
    });
    poll.start(10);
    play("mp FFFFR cp FFFFF");
    QCOMPARE(modalTitle, QStringLiteral("Preferences"));
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
