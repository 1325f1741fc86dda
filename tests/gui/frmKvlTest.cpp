#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>

#include <map>
#include <memory>

#include "app/EntryScreenWidget.h"
#include "app/ImageButton.h"
#include "app/StatusPanel.h"
#include "app/frmKvl.h"
#include "engine/ScriptedDialogs.h"
#include "keying/ScreenModel.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

namespace
{

const QColor White(255, 255, 255);
// The stored band colour 0x00BBGGRR, and how it is painted.
constexpr int StoredBand = 0x4080FF;
const QColor Band(255, 128, 64);

// STOCK records: PART (N, 5), NAME (A, 8), PRC (R, 5) and the format letter.
const std::string StockRecord = "00001BOLT    00150a";

QColor At(const QImage& image, int x, int y)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qRound(x * ratio), qRound(y * ratio));
}

// The box around everything painted in another colour than the background.
QRect Ink(const QImage& image, QRgb background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

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

// What the widgets of a window painted, and which of them asked for a layout, while it watches.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget& window)
    {
        window.installEventFilter(this);
        for (QWidget* w : window.findChildren<QWidget*>())
            w->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted[watched] += static_cast<QPaintEvent*>(event)->region();
        else if (event->type() == QEvent::LayoutRequest)
            laidOut.append(QLatin1String(watched->metaObject()->className()) + QLatin1Char(' ') +
                           watched->objectName());
        return false;
    }
    std::map<const QObject*, QRegion> painted;
    QStringList laidOut;
};

} // namespace

class frmKvlTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KeepSettingsIn(m_settingsDir); }
    void init();
    void cleanup() { m_window.reset(); }

    void windowPaintsTheModelAndTakesItsKeys();
    void duplicateSwitchAndCommandKeys();
    void aKeyRepaintsOnlyWhatItChanged_data();
    void aKeyRepaintsOnlyWhatItChanged();
    void aPanelTakesTheWidthItsTextNeeds();
    void helpOpensThePageOrSaysWhy();
    void toolbarFollowsThePointerAndRunsItsCommands();
    void toolbarArtworkIsSharpAtPixelRatioTwo();

private:
    void openFile(const std::string& records, const char* entry);
    template <class T> T* child(const char* name) const { return Child<T>(*m_window, name); }
    EntryScreenWidget* screen() const { return child<EntryScreenWidget>("EntryScreen"); }
    QLineEdit* previous() const { return child<QLineEdit>("Previous"); }
    QImage screenImage() const { return screen()->grab().toImage(); }
    StatusPanel* panelLabel(int n) const
    {
        return child<StatusPanel>(("StatusPanel" + std::to_string(n)).c_str());
    }
    QString panel(int n) const { return panelLabel(n)->text().trimmed(); }
    QColor dupShown() const { return panelLabel(3)->pixmap().toImage().pixelColor(0, 0); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    void expectEnabled(std::initializer_list<const char*> names, bool enabled) const
    {
        for (const char* name : names)
            QVERIFY2(action(name)->isEnabled() == enabled, name);
    }

    ImageButton* button(int b) const { return child<ImageButton>(ButtonNames[b]); }
    void play(const char* steps);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<TempDir> m_appDir;
    ScriptedDialogs m_dialogs;
    MemorySettingsStore m_store;
    std::unique_ptr<frmKvl> m_window;
    int m_moves = 0;
};

void frmKvlTest::init()
{
    m_appDir = std::make_unique<TempDir>();
    m_appDir->write("file.fmt",
                    CrLf({"STOCK", "N----A-------R--.-E", "PART NAME  QTY  PRC", "PAYROLL/2",
                          "N-----A-----", "EMPNO NAME  ", "N---D-------", "EMP  DATE   "}));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    QVERIFY(picture.save(QString::fromStdString(m_appDir->file("dupoff.bmp")), "BMP"));
    picture.fill(Qt::green);
    QVERIFY(picture.save(QString::fromStdString(m_appDir->file("dupon.bmp")), "BMP"));
    m_dialogs = ScriptedDialogs();
    m_store = MemorySettingsStore();
    m_store.values[{"Korvalen", "formcolor", "f2"}] = std::to_string(StoredBand);
    m_window = std::make_unique<frmKvl>(m_appDir->path().string(), m_store, &m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Shortcuts and menu mnemonics work only in the active window.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void frmKvlTest::openFile(const std::string& records, const char* entry)
{
    m_dialogs.openAnswers.push_back(m_appDir->write("keyed.dat", records));
    m_dialogs.chooseEntry(entry);
    action("mnuOpen")->trigger();
    QVERIFY(m_dialogs.boxes.empty());
}

// Menus follow the engine; band, record and previous box follow width and text size.
// Keying keys reach the engine, menu keys their menus; Exit asks (unstored-record.out).
void frmKvlTest::windowPaintsTheModelAndTakesItsKeys()
{
    expectEnabled({"mnuNew", "mnuOpen", "mnuCut", "mnuPrefs"}, true);
    expectEnabled({"mnuClose", "SaveData", "mnuBack", "mnuFwd", "mnuInsRec", "mnuDelRec"}, false);
    for (int n = 1; n <= 6; ++n)
        QVERIFY(!panelLabel(n)->toolTip().isEmpty());
    QVERIFY(m_dialogs.boxes.empty()); // the duplicate pictures exist
    QVERIFY(!previous()->isVisible());
    QCOMPARE(At(screenImage(), 600, 44), White);
    auto* entry = screen();
    // Ctrl+O is File > Open's, not a key typed into the screen.
    QTest::keyClick(entry, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(m_dialogs.openRequests.size(), std::size_t(1));
    m_dialogs.boxes.clear(); // "No File Selected"

    openFile(StockRecord + "\r\n", "STOCK-19");
    expectEnabled({"mnuClose", "SaveData"}, true);
    expectEnabled({"mnuNew", "mnuOpen"}, false);
    QVERIFY(previous()->isVisible());
    QTest::keyClick(entry, Qt::Key_7, Qt::KeypadModifier); // the pad's 7 types
    // The band: below the 36-pixel strip, 3.25 cell rows, edge to edge; the box 7 rows up.
    const auto shownAt = [&](int cellWidth, const char* when) {
        const int cellHeight = 2 * cellWidth, right = entry->width() - 4;
        const int bottom = 36 + 13 * cellHeight / 4;
        QCOMPARE(entry->model().cellWidth(), cellWidth);
        QCOMPARE(entry->cellFont().pixelSize(), cellWidth * 13 / 8);
        QCOMPARE(panelLabel(1)->font().pixelSize(), cellWidth * 12 / 8);
        const QImage image = screenImage();
        QVERIFY2(At(image, right, 38) == Band, when);
        QVERIFY2(At(image, right, bottom - 2) == Band, when);
        QVERIFY2(At(image, right, bottom + 2) != Band, when);
        // The heading's "P" in the first 8 by 16 cell.
        QVERIFY2(!Ink(image.copy(0, 36, 8, 16), Band.rgb()).isEmpty(), when);
        QCOMPARE(entry->model().rowText(m_window->engine().scr.dataRow()).substr(0, 1), "7");
        QCOMPARE(previous()->geometry(),
                 QRect(cellWidth, entry->height() - 7 * cellHeight, entry->width() - 2 * cellWidth,
                       previous()->height()));
    };
    shownAt(8, "opened");
    // The blank after "PART" is not drawn.
    QVERIFY(Ink(screenImage().copy(32, 36, 8, 16), Band.rgb()).isEmpty());
    const QSize size = m_window->size();
    m_window->resize(size.width() + 300, size.height());
    QTRY_VERIFY(m_window->width() > size.width() + 250); // snapped to whole columns
    shownAt(8, "grown");
    // A window manager may draw the screen narrower than the window allows for a moment.
    entry->resize(300, entry->height());
    m_window->resize(size);
    QTRY_COMPARE(entry->width(), m_window->centralWidget()->width());
    QVERIFY(entry->width() > 300);
    shownAt(8, "shrunk and grown back");
    QTest::keyClick(entry, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(entry, Qt::Key_Equal, Qt::ControlModifier);
    shownAt(12, "larger");
    QTest::keyClick(entry, Qt::Key_Minus, Qt::ControlModifier);
    shownAt(10, "smaller");
    QTest::keyClick(entry, Qt::Key_0, Qt::ControlModifier);
    shownAt(8, "normal");

    // Give the focus chain somewhere to go: Tab must still stay on the entry screen.
    previous()->setFocusPolicy(Qt::TabFocus);
    // The main-row 7 is the Duplicate key; Shift+Tab and Tab step fields.
    QTest::keyClicks(entry, QStringLiteral("2345"));
    QTest::keyClick(entry, Qt::Key_7);
    QTest::keyClick(entry, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(panel(4), QStringLiteral("6"));
    QTest::keyClick(entry, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), entry);
    QTest::keyClicks(entry, QStringLiteral("00150"));
    QCOMPARE(previous()->text(), QStringLiteral("72345BOLT    00150a"));
    // Up steps back to record 2; from there Edit > Previous and Next step on.
    QTest::keyClick(entry, Qt::Key_Up);
    action("mnuBack")->trigger();
    QCOMPARE(panel(2), QStringLiteral("1"));
    action("mnuFwd")->trigger();
    QCOMPARE(panel(2), QStringLiteral("2"));
    // A menu key that no menu took is not keyed.
    QSignalSpy keyed(entry, &EntryScreenWidget::keyPressed);
    QKeyEvent stray(QEvent::KeyPress, Qt::Key_Y, Qt::ControlModifier);
    static_cast<QObject*>(entry)->event(&stray); // past the shortcut map
    QCOMPARE(keyed.count(), 0);
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    action("mnuDelRec")->trigger();
    QCOMPARE(m_appDir->read("keyed.dat"), StockRecord + "\r\n");

    // Unanswered, Exit's question keeps the window open.
    QTest::keyClicks(entry, QStringLiteral("123"));
    const auto asked = m_dialogs.boxes.size();
    QTest::keyClick(entry, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_dialogs.boxes.size(), asked + 1);
    m_dialogs.answers.push_back(Dialogs::Answer::Yes); // the keyed "123" is dropped
    action("mnuClose")->trigger();
    QCOMPARE(At(screenImage(), entry->width() - 4, 44), White);
    QVERIFY(Ink(screenImage().copy(0, 36, 8, 16), White.rgb()).isEmpty());
    // The close box saves the memory keys F2..F9; the window it closes saves nothing again.
    m_store.values.clear();
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_store.getAllSettings("Korvalen", "Memkey").size(), std::size_t{8});
    m_store.values.clear();
    m_window.reset();
    QVERIFY(m_store.values.empty());
}

// Engine keys that the window's own shortcuts must not take; the duplicate panel's clicks.
void frmKvlTest::duplicateSwitchAndCommandKeys()
{
    openFile("123456ABCDEa\r\n", "PAYROLL/2-12");
    auto* entry = screen();
    QCOMPARE(dupShown(), QColor(Qt::gray));
    auto* rival = new QAction(m_window.get());
    rival->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence(Qt::Key_F5),
                         QKeySequence(Qt::SHIFT | Qt::Key_F9), QKeySequence(Qt::CTRL | Qt::Key_F2),
                         QKeySequence(Qt::ALT | Qt::Key_F7)});
    m_window->addAction(rival);
    QSignalSpy rivalSpy(rival, &QAction::triggered);

    QTest::keyClick(entry, Qt::Key_2, Qt::AltModifier);
    QCOMPARE(panel(6), QStringLiteral("Fmt:2/2"));
    QTest::keyClick(entry, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(dupShown(), QColor(Qt::green));
    QTest::keyClick(entry, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(dupShown(), QColor(Qt::gray));
    // The memory keys reach the engine with every modifier.
    QSignalSpy keyed(entry, &EntryScreenWidget::keyPressed);
    // Qt's Shift, Ctrl and Alt flags lie in the order of the engine's mask bits.
    for (int f = 2; f <= 9; ++f)
        for (int mask = 0; mask <= 4; ++mask) {
            keyed.clear();
            const auto modifier = Qt::KeyboardModifiers::fromInt(mask * Qt::ShiftModifier);
            QTest::keyClick(entry, Qt::Key(Qt::Key_F1 + f - 1), modifier);
            QVERIFY(!keyed.isEmpty()); // the last stroke: the modifier's own press comes first
            QCOMPARE(keyed.takeLast().at(0).value<KeyStroke>(), (KeyStroke{111 + f, mask, {}}));
        }
    QCOMPARE(rivalSpy.count(), 0);

    // A left click toggles; a double click (press, release, double click, release) is two.
    StatusPanel* dup = panelLabel(3);
    const Engine& engine = m_window->engine();
    QTest::mouseClick(dup, Qt::LeftButton);
    QCOMPARE(dupShown(), QColor(Qt::green));
    QTest::mouseClick(dup, Qt::LeftButton);
    QVERIFY(!engine.aids.DupSw);
    QTest::mouseDClick(dup, Qt::LeftButton);
    QVERIFY(!engine.aids.DupSw);
    QTest::mouseRelease(dup, Qt::LeftButton);
    QVERIFY(engine.aids.DupSw);
    // None of these is a left click on the duplicate panel.
    const unsigned revision = engine.win.revision;
    QTest::mouseClick(dup, Qt::RightButton);
    QTest::mouseClick(panelLabel(4), Qt::LeftButton);
    QTest::mouseClick(panelLabel(1), Qt::LeftButton);
    QTest::mousePress(dup, Qt::LeftButton);
    QTest::mouseRelease(panelLabel(4), Qt::LeftButton);
    QTest::mousePress(dup, Qt::LeftButton); // dragged off before the release
    QTest::mouseRelease(dup, Qt::LeftButton, {}, QPoint(dup->width() + 3, 2));
    QTest::mousePress(m_window->statusBar(), Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(dup, Qt::LeftButton);
    QCOMPARE(engine.win.revision, revision);
    QCOMPARE(dupShown(), QColor(Qt::green));
}

void frmKvlTest::aKeyRepaintsOnlyWhatItChanged_data()
{
    // In the PART field, N of 5 positions: the digits keyed before the one measured.
    QTest::addColumn<QString>("keyedBefore");
    QTest::addColumn<QList<int>>("panels"); // the status panels whose text the key changes
    // A field entered shows its type in panel 5; its first key shows its number there too.
    QTest::newRow("first position") << QString() << QList<int>{4, 5};
    QTest::newRow("inside the field") << QStringLiteral("12") << QList<int>{4};
    // The last position moves the cursor into the NAME field: its type shows in panel 5.
    QTest::newRow("last position") << QStringLiteral("1234") << QList<int>{4, 5};
}

// A typed key repaints the cell it filled and the caret, and of the status bar the panels
// whose text changed; nothing is laid out again.
void frmKvlTest::aKeyRepaintsOnlyWhatItChanged()
{
    QFETCH(QString, keyedBefore);
    QFETCH(QList<int>, panels);
    openFile("", "STOCK-19");
    auto* entry = screen();
    QTest::keyClicks(entry, keyedBefore);
    QTest::qWait(20); // the repaints of what came before
    const QString column = panel(4);
    const PaintLog log(*m_window);
    QTest::keyClick(entry, Qt::Key_9);
    QTRY_VERIFY(log.painted.count(entry));
    QCOMPARE(panel(4), QString::number(column.toInt() + 1));

    const int cellW = entry->model().cellWidth(), cellH = entry->model().cellHeight();
    const QRect box = log.painted.at(entry).boundingRect();
    QVERIFY2(box.width() <= 2 * cellW && box.height() <= cellH,
             qPrintable(QStringLiteral("painted %1x%2").arg(box.width()).arg(box.height())));
    for (int n = 1; n <= 6; ++n)
        QVERIFY2(log.painted.count(panelLabel(n)) == std::size_t(panels.contains(n)),
                 qPrintable(QStringLiteral("panel %1").arg(n)));
    QVERIFY(!log.painted.count(previous()));
    QCOMPARE(log.laidOut, QStringList());
}

// A panel that keeps its size on most texts still grows, and shrinks back, with one that needs
// another size.
void frmKvlTest::aPanelTakesTheWidthItsTextNeeds()
{
    StatusPanel* format = panelLabel(6);
    const int normal = format->width();
    const QString wide = QStringLiteral("Fmt:") + QString(40, QLatin1Char('9'));
    format->setText(wide);
    QTRY_VERIFY(format->width() > normal);
    QVERIFY(format->width() > format->fontMetrics().horizontalAdvance(wide));
    format->setText(QStringLiteral("Fmt:1/2"));
    QTRY_COMPARE(format->width(), normal);
}

// A script on the PATH stands in for the desktop's opener: it notes the URL and exits.
void frmKvlTest::helpOpensThePageOrSaysWhy()
{
    const std::string page = m_appDir->file("kvhelp.html");
    const std::string notFound = "The help file " + page + " was not found.";
    const std::string noViewer = "No program was found to show the help page " + page + ".";
    action("Kvhelp")->trigger();
    QCOMPARE(m_dialogs.texts(), std::vector<std::string>{notFound});
    m_appDir->write("kvhelp.html", "<p>");
    TempDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()));
    // The opener's exit status (3: no viewer; none: no opener) and the messages told by then.
    for (const auto& [status, told] : {std::pair{"0", 1u}, {"3", 2u}, {"", 3u}}) {
        std::filesystem::remove(bin.file("opened"));
        std::filesystem::remove(bin.file(frmKvl::Opener));
        if (*status) {
            bin.write(frmKvl::Opener,
                      "#!/bin/sh\necho \"$1\" >" + bin.file("opened") + "\nexit " + status + "\n");
            std::filesystem::permissions(bin.file(frmKvl::Opener),
                                         std::filesystem::perms::owner_all);
        }
        action("Kvhelp")->trigger();
        if (*status)
            QTRY_COMPARE(bin.read("opened"), "file://" + page + "\n");
        QTest::qWait(200);
        QTRY_COMPARE(m_dialogs.texts().size(), std::size_t{told});
        QCOMPARE(m_dialogs.texts().back(), told == 1 ? notFound : noViewer);
    }
    qputenv("PATH", path);
}

// Steps, each followed by the five pictures it leaves (F flat, R raised, P pressed): a move
// (m), press (p), release (r), release away from the button (x) or click (c) on a button
// named by its letter, or a move over the strip between the buttons or the entry screen.
void frmKvlTest::play(const char* steps)
{
    const QStringList words = QString::fromLatin1(steps).split(QLatin1Char(' '));
    for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
        const QString& step = words[i];
        const char how = step[0].toLatin1();
        ImageButton* b =
            step.size() == 2 ? button(QStringLiteral("nosfp").indexOf(step[1])) : nullptr;
        const QPoint at(10, 10);
        if (step == QLatin1String("strip"))
            QTest::mouseMove(child<QWidget>("PicToolBar"), QPoint(300, 10));
        else if (step == QLatin1String("screen"))
            QTest::mouseMove(screen(), QPoint(200, 200));
        else if (how == 'm') // a real move: Qt drops a move to where the pointer already is
            QTest::mouseMove(b, QPoint(8 + 4 * (++m_moves % 2), 12));
        else if (how == 'p')
            QTest::mousePress(b, Qt::LeftButton, {}, at);
        else if (how == 'c')
            QTest::mouseClick(b, Qt::LeftButton, {}, at);
        else
            QTest::mouseRelease(b, Qt::LeftButton, {}, how == 'x' ? QPoint(40, 10) : at);
        QString shown;
        for (int n = 0; n < Toolbar::ButtonCount; ++n)
            shown += QStringLiteral("FRP").at(button(n)->picture());
        QVERIFY2(shown == words[i + 1], qPrintable(step + QLatin1String(" left ") + shown));
    }
}

void frmKvlTest::toolbarFollowsThePointerAndRunsItsCommands()
{
    // Without a file Save is greyed: nothing on it changes a picture. Over New only New
    // changes; over Open the others flatten; so does all over the strip or the screen.
    ImageButton& save = *button(Toolbar::ImgFileSave);
    const QImage greyed = Render(save, 1);
    play("ms FFFFF ps FFFFF rs FFFFF mf FFFRF mp FFFFR mn RFFFR mo FRFFF strip FFFFF "
         "mf FFFRF screen FFFFF");
    // Open stays pressed after the release until the pointer moves; File > Open is cancelled.
    play("mo FRFFF po FPFFF ro FPFFF");
    QCOMPARE(m_dialogs.openRequests.size(), std::size_t(1));
    // New's click runs New Data File (answered No); a move over New leaves Open as it was.
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    const auto before = m_dialogs.boxes.size();
    play("mo FRFFF mn RRFFF cn RRFFF");
    QCOMPARE(m_dialogs.boxes.size(), before + 1);
    QVERIFY(m_dialogs.answers.empty());

    // A file open: New and Open greyed, doing nothing; Save's three pictures all differ.
    m_dialogs.openAnswers.push_back(m_appDir->write("parts.dat", ""));
    m_dialogs.chooseEntry("STOCK-19");
    play("co FFFFF");
    const QImage flat = Render(save, 1);
    const auto boxes = m_dialogs.boxes.size();
    const auto requests = m_dialogs.openRequests.size();
    play("ms FFRFF mn FFRFF cn FFRFF");
    QCOMPARE(m_dialogs.boxes.size(), boxes);
    QCOMPARE(m_dialogs.openRequests.size(), requests);
    const QImage raised = Render(save, 1);
    play("ps FFPFF");
    const QImage pressed = Render(save, 1);
    QVERIFY(flat != greyed && flat != raised && raised != pressed && flat != pressed);
    // From Save onto Format, Save goes flat; back onto Save, Format stays raised.
    play("xs FFRFF mf FFFRF ms FFRRF mp FFFFR mn FFFFR mo FFFFR mf FFFRF");

    // Format opens the editor beside the window, which stays usable.
    play("cf FFFRF");
    auto* editor = child<QWidget>("frmVwFmtFile");
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

void frmKvlTest::toolbarArtworkIsSharpAtPixelRatioTwo()
{
    // At ratio 2 the art is drawn on the finer grid, not blown up, and fills the button.
    for (int b = 0; b < Toolbar::ButtonCount; ++b) {
        ImageButton& art = *button(b);
        art.setOffered(true); // the artwork itself, not its greyed form
        const QImage one = Render(art, 1);
        const QImage two = Render(art, 2);
        QCOMPARE(two.size(), one.size() * 2);
        for (const auto mode : {Qt::FastTransformation, Qt::SmoothTransformation})
            QVERIFY2(DifferingPixels(two, one.scaled(two.size(), Qt::IgnoreAspectRatio, mode)) >
                         two.width() * two.height() / 50,
                     ButtonNames[b]);
        const QRect inkOne = Ink(one, one.pixel(0, 0)), inkTwo = Ink(two, two.pixel(0, 0));
        QVERIFY2(!inkOne.isEmpty(), ButtonNames[b]);
        // Edges blur by a pixel at 1x, so the boxes differ by up to three.
        QVERIFY2(std::abs(inkTwo.width() - 2 * inkOne.width()) <= 3, ButtonNames[b]);
        QVERIFY2(std::abs(inkTwo.height() - 2 * inkOne.height()) <= 3, ButtonNames[b]);
        QVERIFY2((inkTwo.center() - 2 * inkOne.center()).manhattanLength() <= 3, ButtonNames[b]);
    }
}

QTEST_MAIN(frmKvlTest)
#include "frmKvlTest.moc"
