#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "app/EntryScreenWidget.h"
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
// Band rows of the entry screen, in pixels: heading at row 2.25, data line below it.
constexpr int HeadingY = 44;
constexpr int DataY = 60;

// STOCK records: PART (N, 5), NAME (A, 8), PRC (R, 5) and the format letter.
const std::string StockRecord = "00001BOLT    00150a";

// Counts what Exit saves, to see that it is saved once.
struct CountingStore : MemorySettingsStore {
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        memKeySaves += section == "Memkey";
        MemorySettingsStore::saveSetting(app, section, key, value);
    }
    int memKeySaves = 0;
};

QColor At(const QImage& image, int x, int y)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qRound(x * ratio), qRound(y * ratio));
}

// Whether the character cell with its top left at (x, y) holds anything but the background.
bool Inked(const QImage& image, int x, int y, const QColor& background)
{
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 8; ++dx)
            if (At(image, x + dx, y + dy) != background)
                return true;
    return false;
}

} // namespace

class frmKvlTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KeepSettingsIn(m_settingsDir); }
    void init();
    void cleanup() { m_window.reset(); }

    void windowShowsEngineStateAndExitsOnce();
    void keyingAndMenus();
    void duplicateSwitchAndCommandKeys();
    void helpOpensThePageOrSaysWhy();
    void exitAsksForARecordInHand();
    void theBandFollowsTheWindowsWidth();

private:
    void openFile(const std::string& records, const char* entry);
    template <class T> T* child(const char* name) const { return Child<T>(*m_window, name); }
    EntryScreenWidget* screen() const { return child<EntryScreenWidget>("EntryScreen"); }
    QLineEdit* previous() const { return child<QLineEdit>("Previous"); }
    QString dataRow() const { return QString::fromLatin1(screen()->model().rowText(3.25)); }
    QImage screenImage() const { return screen()->grab().toImage(); }
    QLabel* panelLabel(int n) const
    {
        return child<QLabel>(("StatusPanel" + std::to_string(n)).c_str());
    }
    QString panel(int n) const { return panelLabel(n)->text(); }
    QColor dupShown() const { return panelLabel(3)->pixmap().toImage().pixelColor(0, 0); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    void expectEnabled(std::initializer_list<const char*> names, bool enabled) const
    {
        for (const char* name : names)
            QVERIFY2(action(name)->isEnabled() == enabled, name);
    }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<TempDir> m_appDir;
    ScriptedDialogs m_dialogs;
    CountingStore m_store;
    std::unique_ptr<frmKvl> m_window;
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
    m_store = CountingStore();
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

void frmKvlTest::windowShowsEngineStateAndExitsOnce()
{
    expectEnabled({"mnuNew", "mnuOpen", "mnuCut", "mnuPrefs"}, true);
    expectEnabled({"mnuClose", "SaveData", "mnuBack", "mnuFwd", "mnuInsRec", "mnuDelRec"}, false);
    for (int n = 1; n <= 6; ++n)
        QVERIFY(!panelLabel(n)->toolTip().isEmpty());
    QCOMPARE(panelLabel(3)->toolTip(), QStringLiteral("Press Ctrl-D to Toggle"));
    // The duplicate pictures exist, so start-up has nothing to complain about.
    QVERIFY(m_dialogs.boxes.empty());
    QVERIFY(!previous()->isVisible());
    QCOMPARE(At(screenImage(), 600, HeadingY), White);

    openFile("1234567890123456789\r\n", "STOCK-19");
    expectEnabled({"mnuClose", "SaveData"}, true);
    expectEnabled({"mnuNew", "mnuOpen"}, false);
    QVERIFY2(panel(1).endsWith(QStringLiteral(" - Fmt:STOCK-19")), qPrintable(panel(1)));

    const auto* entry = screen();
    QVERIFY(previous()->isVisible());
    QCOMPARE(previous()->geometry(),
             QRect(8, entry->height() - 7 * 16, entry->width() - 16, previous()->height()));
    // The band takes the stored colour; the heading's "P" is drawn in the first cell, the
    // blank after "PART" is not.
    const QImage image = screenImage();
    const int farRight = entry->width() - 4;
    QCOMPARE(At(image, farRight, HeadingY), Band);
    QCOMPARE(At(image, farRight, DataY), White);
    QVERIFY(Inked(image, 0, 36, Band));
    QVERIFY(!Inked(image, 32, 36, Band));

    action("mnuClose")->trigger();
    QCOMPARE(At(screenImage(), farRight, HeadingY), White);
    QVERIFY(!Inked(screenImage(), 0, 36, White));
    expectEnabled({"mnuNew", "mnuOpen"}, true);
    expectEnabled({"mnuClose"}, false);

    // File > Exit saves the memory keys F2..F9, then closes the window, which must not save
    // them again.
    m_store.memKeySaves = 0;
    action("mnuExit")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_store.memKeySaves, 8);
    m_window.reset();
    QCOMPARE(m_store.memKeySaves, 8);
}

void frmKvlTest::keyingAndMenus()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    auto* entry = screen();
    // Give the focus chain somewhere to go: Tab must still stay on the entry screen.
    previous()->setFocusPolicy(Qt::TabFocus);
    QCOMPARE(QApplication::focusWidget(), entry);

    // The pad's 7 types; the main-row 7 is the Duplicate key, which takes the field from the
    // previous record and types nothing.
    QTest::keyClick(entry, Qt::Key_7, Qt::KeypadModifier);
    QCOMPARE(panel(4), QStringLiteral("2"));
    QTest::keyClicks(entry, QStringLiteral("2345"));
    QTest::keyClick(entry, Qt::Key_7);
    QCOMPARE(dataRow().leftJustified(14).left(14), QStringLiteral("72345BOLT     "));
    QCOMPARE(panel(4), QStringLiteral("14"));
    QTest::keyClick(entry, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(panel(4), QStringLiteral("6"));
    QTest::keyClick(entry, Qt::Key_Tab);
    QCOMPARE(panel(4), QStringLiteral("14"));
    QCOMPARE(QApplication::focusWidget(), entry);
    // The last field fills the record up to its format letter, which completes it.
    QTest::keyClicks(entry, QStringLiteral("00150"));
    QCOMPARE(previous()->text(), QStringLiteral("72345BOLT    00150a"));
    QCOMPARE(panel(2).trimmed(), QStringLiteral("3"));

    // Up steps back to record 2; from there the menu steps on.
    QTest::keyClick(entry, Qt::Key_Up);
    QCOMPARE(panel(2).trimmed(), QStringLiteral("2"));
    action("mnuBack")->trigger();
    QCOMPARE(panel(2).trimmed(), QStringLiteral("1"));
    action("mnuFwd")->trigger();
    QCOMPARE(panel(2).trimmed(), QStringLiteral("2"));

    // Menu shortcuts and Alt+letter stay with the menus.
    m_dialogs.answers.push_back(Dialogs::Answer::No);
    QTest::keyClick(entry, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m_dialogs.texts().size(), std::size_t{1});
    QCOMPARE(m_dialogs.boxes.back().title, std::string("Confirm Record Insertion"));
    QTest::keyClick(entry, Qt::Key_E, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&Edit"));
    menu->close();
    // A menu key that no menu took is not keyed either.
    QSignalSpy keyed(entry, &EntryScreenWidget::keyPressed);
    QKeyEvent stray(QEvent::KeyPress, Qt::Key_Y, Qt::ControlModifier);
    static_cast<QObject*>(entry)->event(&stray); // past the shortcut map
    QCOMPARE(keyed.count(), 0);

    // Deleting record 2 leaves record 1.
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    action("mnuDelRec")->trigger();
    QCOMPARE(m_appDir->read("keyed.dat"), StockRecord + "\r\n");

    // Qt checks the item by itself; the engine must have switched too.
    action("mnuVerify")->trigger();
    QVERIFY(action("mnuVerify")->isChecked() && m_window->engine().win.mnuVerifyChecked);
}

void frmKvlTest::duplicateSwitchAndCommandKeys()
{
    openFile("123456ABCDEa\r\n", "PAYROLL/2-12");
    auto* entry = screen();
    QCOMPARE(dupShown(), QColor(Qt::gray));
    // A window shortcut on the same key does not take it from the engine.
    auto* rival = new QAction(m_window.get());
    rival->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence(Qt::Key_F5),
                         QKeySequence(Qt::SHIFT | Qt::Key_F9), QKeySequence(Qt::CTRL | Qt::Key_F2),
                         QKeySequence(Qt::ALT | Qt::Key_F7),
                         QKeySequence(Qt::ALT | Qt::Key_Equal)});
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
    const std::pair<Qt::KeyboardModifiers, int> modifiers[] = {
        {Qt::NoModifier, 0},
        {Qt::ShiftModifier, 1},
        {Qt::ControlModifier, 2},
        {Qt::ControlModifier | Qt::ShiftModifier, 3},
        {Qt::AltModifier, 4}};
    for (int f = 2; f <= 9; ++f)
        for (const auto& [modifier, mask] : modifiers) {
            keyed.clear();
            QTest::keyClick(entry, Qt::Key(Qt::Key_F1 + f - 1), modifier);
            QVERIFY(!keyed.isEmpty()); // the last stroke: the modifier's own press comes first
            QCOMPARE(keyed.takeLast().at(0).value<KeyStroke>(), (KeyStroke{111 + f, mask, {}}));
        }
    QCOMPARE(rivalSpy.count(), 0);

    // A left click on the duplicate panel toggles the switch; a double click arrives as press,
    // release, double click, release: two clicks.
    QLabel* dup = panelLabel(3);
    const Engine& engine = m_window->engine();
    QVERIFY(!engine.aids.DupSw);
    QTest::mouseClick(dup, Qt::LeftButton);
    QVERIFY(engine.aids.DupSw);
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
    QVERIFY(engine.aids.DupSw);
    QCOMPARE(engine.win.revision, revision);
    QCOMPARE(dupShown(), QColor(Qt::green));

    // Alt+= asks for the memory key to store under.
    QTest::keyClick(entry, Qt::Key_Equal, Qt::AltModifier);
    QCOMPARE(m_dialogs.texts().size(), std::size_t{1});
    QCOMPARE(m_dialogs.texts().back().substr(0, 15), std::string("Press any key F"));
    QCOMPARE(rivalSpy.count(), 0);
}

// The desktop's opener stands in as a script on the PATH that notes what it was given and
// exits with the status the test asks for.
void frmKvlTest::helpOpensThePageOrSaysWhy()
{
    action("Kvhelp")->trigger();
    QCOMPARE(m_dialogs.texts(),
             std::vector<std::string>{"The help file " + m_appDir->file("kvhelp.html") +
                                      " was not found."});

    const std::string page = m_appDir->write("kvhelp.html", "<p>");
    TempDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()) + ':' + path);
    const auto useOpener = [&](int status) {
        bin.write(frmKvl::Opener, "#!/bin/sh\necho \"$1\" >" + bin.file("opened") + "\nexit " +
                                      std::to_string(status) + "\n");
        std::filesystem::permissions(bin.file(frmKvl::Opener), std::filesystem::perms::owner_all);
        std::filesystem::remove(bin.file("opened"));
        action("Kvhelp")->trigger();
        QTRY_VERIFY(std::filesystem::exists(bin.file("opened")));
        QCOMPARE(bin.read("opened"), "file://" + page + "\n");
    };
    useOpener(0);
    QTest::qWait(200);
    QCOMPARE(m_dialogs.texts().size(), std::size_t{1}); // a viewer was found
    // An opener that finds no viewer for HTML fails after it started.
    useOpener(3);
    QTRY_COMPARE(m_dialogs.texts().size(), std::size_t{2});
    QCOMPARE(m_dialogs.texts().back(), "No program was found to show the help page " + page + ".");
    // No opener at all.
    std::filesystem::remove(bin.file(frmKvl::Opener));
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()));
    action("Kvhelp")->trigger();
    QTRY_COMPARE(m_dialogs.texts().size(), std::size_t{3});
    qputenv("PATH", path);
}

// Keyed characters not yet stored are never lost by one key: Exit (Ctrl+X) and the close
// box ask first, No is the default and keeps everything; with nothing keyed nothing is asked.
void frmKvlTest::exitAsksForARecordInHand()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    auto* entry = screen();
    QTest::keyClicks(entry, QStringLiteral("123"));
    QTest::keyClick(entry, Qt::Key_X, Qt::ControlModifier); // unanswered: the default, No
    QCOMPARE(m_dialogs.texts().back(),
             std::string("The record on the screen has not been stored. Exit anyway?"));
    QCOMPARE(m_dialogs.boxes.back().buttons, Dialogs::Buttons::YesNoDefaultNo);
    QVERIFY(m_window->isVisible());
    QTest::keyClicks(entry, QStringLiteral("45"));
    QCOMPARE(dataRow().left(5), QStringLiteral("12345"));
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_dialogs.texts().size(), std::size_t{2});
    QCOMPARE(m_appDir->read("keyed.dat"), StockRecord + "\r\n");
}

// Grown, shrunk past its minimum and grown back, the window shows the band across its
// whole width, and the record on it as it was.
void frmKvlTest::theBandFollowsTheWindowsWidth()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    QTest::keyClicks(screen(), QStringLiteral("4"));
    const auto bandReachesTheEdge = [&](const char* when) {
        const QImage image = screenImage();
        const int right = screen()->width() - 4;
        QVERIFY2(At(image, right, HeadingY) == Band, when);
        QVERIFY2(At(image, right, HeadingY + 32) == Band, when); // the format line's row
        QVERIFY2(Inked(image, 0, 36, Band), when);               // the heading's "P"
        QCOMPARE(dataRow().left(1), QStringLiteral("4"));
    };
    const QSize size = m_window->size();
    m_window->resize(size.width() + 300, size.height());
    QTRY_VERIFY(m_window->width() > size.width() + 250); // snapped to whole columns
    bandReachesTheEdge("grown");
    // A window manager may draw the screen narrower than the window allows for a moment.
    screen()->resize(300, screen()->height());
    m_window->resize(size);
    QTRY_COMPARE(screen()->width(), m_window->centralWidget()->width());
    QVERIFY(screen()->width() > 300);
    bandReachesTheEdge("shrunk and grown back");
}

QTEST_MAIN(frmKvlTest)
#include "frmKvlTest.moc"
