#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "app/ScriptedDialogs.h"
#include "app/frmKvl.h"
#include "keying/EntryScreenWidget.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

const QColor White(255, 255, 255);

// Band rows of the entry screen, in pixels: heading at row 2.25, data line below it.
constexpr int HeadingY = 44;
constexpr int DataY = 60;
// The data line in character rows; record position 1 is its first cell.
constexpr double DataRow = 3.25;

// STOCK records: PART (N, 5), NAME (A, 8), PRC (R, 5) and the format letter.
const QByteArray StockRecord = "00001BOLT    00150a";
const QByteArray TypedStock = "12345WIDGETS100150";

// Counts what Exit saves, to see that it is saved once.
class CountingStore : public MemorySettingsStore
{
public:
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override
    {
        if (section == "Memkey")
            ++memKeySaves;
        MemorySettingsStore::saveSetting(app, section, key, value);
    }
    int memKeySaves = 0;
};

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

std::string Std(const QString& s)
{
    return s.toStdString();
}

QColor At(const QImage& image, int x, int y)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qRound(x * ratio), qRound(y * ratio));
}

} // namespace

class frmKvlTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void openShowsRecord();
    void exitTerminatesOnce();

    void typedRecordIsWritten();
    void tabKeysTheEngine();
    void digitKeys_data();
    void digitKeys();
    void altDigitSwitchesFormat();
    void ctrlDSwitchesDuplicate();
    void menuShortcutsStayWithMenus();
    void editMenuStepsThroughRecords();
    void verifyComparesKeys();

private:
    void makeWindow();
    void openStock(const QString& dataFile);
    void openFile(const QByteArray& records, const char* entry);
    EntryScreenWidget* entryScreen() const;
    QString dataRow() const;
    QString previousText() const;
    QImage screenImage() const;
    QColor screenPixel(int x, int y) const { return At(screenImage(), x, y); }
    QAction* action(const char* name) const;
    QString panel(int n) const;

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_appDir;
    ScriptedDialogs m_dialogs;
    CountingStore m_store;
    std::unique_ptr<frmKvl> m_window;
};

void frmKvlTest::initTestCase()
{
    // Nothing here may touch the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void frmKvlTest::init()
{
    m_appDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_appDir->isValid());
    WriteFile(m_appDir->filePath(QStringLiteral("file.fmt")), "STOCK\r\n"
                                                              "N----A-------R--.-E\r\n"
                                                              "PART NAME  QTY  PRC\r\n"
                                                              "PAYROLL/2\r\n"
                                                              "N-----A-----\r\n"
                                                              "EMPNO NAME  \r\n"
                                                              "N---D-------\r\n"
                                                              "EMP  DATE   \r\n");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    QVERIFY(picture.save(m_appDir->filePath(QStringLiteral("dupoff.bmp")), "BMP"));
    picture.fill(Qt::green);
    QVERIFY(picture.save(m_appDir->filePath(QStringLiteral("dupon.bmp")), "BMP"));
    m_dialogs = ScriptedDialogs();
    m_store = CountingStore();
    makeWindow();
}

void frmKvlTest::cleanup()
{
    m_window.reset();
    m_appDir.reset();
}

void frmKvlTest::makeWindow()
{
    m_window = std::make_unique<frmKvl>(Std(m_appDir->path()), m_store, &m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Shortcuts and menu mnemonics work only in the active window.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void frmKvlTest::openStock(const QString& dataFile)
{
    m_dialogs.openAnswers.push_back(Std(dataFile));
    m_dialogs.chooseEntry("STOCK-19");
    action("mnuOpen")->trigger();
}

void frmKvlTest::openFile(const QByteArray& records, const char* entry)
{
    const QString dataFile = m_appDir->filePath(QStringLiteral("keyed.dat"));
    WriteFile(dataFile, records);
    m_dialogs.openAnswers.push_back(Std(dataFile));
    m_dialogs.chooseEntry(entry);
    action("mnuOpen")->trigger();
    QVERIFY(m_dialogs.boxes.empty());
}

EntryScreenWidget* frmKvlTest::entryScreen() const
{
    return m_window->findChild<EntryScreenWidget*>(QStringLiteral("EntryScreen"));
}

QString frmKvlTest::dataRow() const
{
    return QString::fromLatin1(entryScreen()->model().rowText(DataRow));
}

QString frmKvlTest::previousText() const
{
    return m_window->findChild<QLineEdit*>(QStringLiteral("Previous"))->text();
}

QImage frmKvlTest::screenImage() const
{
    return entryScreen()->grab().toImage();
}

QAction* frmKvlTest::action(const char* name) const
{
    auto* a = m_window->findChild<QAction*>(QString::fromLatin1(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

QString frmKvlTest::panel(int n) const
{
    const auto* label = m_window->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(n));
    return label ? label->text() : QStringLiteral("<no panel>");
}

void frmKvlTest::startState()
{
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("KORVALEN Data Entry and Verification - Orlenmark"));
    for (const char* enabled : {"mnuNew", "mnuOpen"})
        QVERIFY2(action(enabled)->isEnabled(), enabled);
    for (const char* disabled :
         {"mnuClose", "SaveData", "mnuBack", "mnuFwd", "mnuInsRec", "mnuDelRec", "mnuPrefs"})
        QVERIFY2(!action(disabled)->isEnabled(), disabled);
    // The duplicate pictures exist, so start-up has nothing to complain about.
    QVERIFY(m_dialogs.boxes.empty());
    QVERIFY(!m_window->findChild<QLineEdit*>(QStringLiteral("Previous"))->isVisible());
    QCOMPARE(screenPixel(600, HeadingY), White);
}

void frmKvlTest::openShowsRecord()
{
    // The band is painted in the stored colour 0x00BBGGRR.
    m_window.reset();
    m_store.values[{"Korvalen", "formcolor", "f2"}] = std::to_string(0x4080FF);
    makeWindow();
    const QColor band(255, 128, 64);
    const QString dataFile = m_appDir->filePath(QStringLiteral("stock.dat"));
    WriteFile(dataFile, "1234567890123456789\r\n");
    openStock(dataFile);

    QVERIFY(m_dialogs.boxes.empty());
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("KORVALEN - ( Orlenmark ) ") + dataFile.toUpper());
    for (const char* enabled : {"mnuClose", "SaveData"})
        QVERIFY2(action(enabled)->isEnabled(), enabled);
    for (const char* disabled : {"mnuNew", "mnuOpen"})
        QVERIFY2(!action(disabled)->isEnabled(), disabled);
    QVERIFY2(panel(1).endsWith(QStringLiteral(" - Fmt:STOCK-19")), qPrintable(panel(1)));
    QCOMPARE(panel(2), QStringLiteral(" 2"));
    QCOMPARE(panel(6), QStringLiteral("Fmt:1/1"));

    auto* screen = m_window->findChild<EntryScreenWidget*>();
    auto* previous = m_window->findChild<QLineEdit*>(QStringLiteral("Previous"));
    QVERIFY(previous->isVisible());
    QCOMPARE(previous->geometry(),
             QRect(8, screen->height() - 7 * 16, screen->width() - 16, previous->height()));

    const QImage image = screenImage();
    const int farRight = screen->width() - 4;
    QCOMPARE(At(image, farRight, HeadingY), band);
    QCOMPARE(At(image, farRight, DataY), White);
    // The heading's "P" is drawn in the first cell; the blank after "PART" is not.
    bool inked = false;
    for (int y = 36; y < 52 && !inked; ++y)
        for (int x = 0; x < 8 && !inked; ++x)
            inked = At(image, x, y) != band;
    QVERIFY(inked);
    for (int y = 36; y < 52; ++y)
        for (int x = 32; x < 40; ++x)
            QCOMPARE(At(image, x, y), band);

    action("mnuClose")->trigger();
    QCOMPARE(screenPixel(farRight, HeadingY), White);
    QCOMPARE(screenPixel(4, HeadingY + 4), White);
    for (const char* enabled : {"mnuNew", "mnuOpen"})
        QVERIFY2(action(enabled)->isEnabled(), enabled);
    QVERIFY(!action("mnuClose")->isEnabled());
}

void frmKvlTest::exitTerminatesOnce()
{
    constexpr int MemKeys = 8; // F2..F9
    // File > Exit ends the program and then closes the window, which must not save again.
    action("mnuExit")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_store.memKeySaves, MemKeys);
    m_window.reset();
    QCOMPARE(m_store.memKeySaves, MemKeys);
}

void frmKvlTest::typedRecordIsWritten()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    QCOMPARE(panel(2).trimmed(), QStringLiteral("2"));

    // The last field fills the record up to its format letter, which completes it.
    QTest::keyClicks(entryScreen(), QString::fromLatin1(TypedStock));
    QCOMPARE(previousText(), QString::fromLatin1(TypedStock + "a"));
    QCOMPARE(panel(2).trimmed(), QStringLiteral("3"));
    QCOMPARE(panel(4), QStringLiteral("1"));
}

void frmKvlTest::tabKeysTheEngine()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    auto* screen = entryScreen();
    // Give the focus chain somewhere to go: Tab must still stay on the entry screen.
    m_window->findChild<QLineEdit*>(QStringLiteral("Previous"))->setFocusPolicy(Qt::TabFocus);
    QCOMPARE(QApplication::focusWidget(), screen);

    QTest::keyClick(screen, Qt::Key_Tab);
    QCOMPARE(panel(4), QStringLiteral("6"));
    QCOMPARE(panel(5), QStringLiteral("A(2)"));
    QTest::keyClick(screen, Qt::Key_Tab);
    QCOMPARE(panel(4), QStringLiteral("14"));
    QTest::keyClick(screen, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(panel(4), QStringLiteral("6"));
    QCOMPARE(QApplication::focusWidget(), screen);
}

void frmKvlTest::digitKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyed");
    QTest::addColumn<QString>("column");

    const int none = Qt::NoModifier;
    const int pad = Qt::KeypadModifier;
    QTest::newRow("main row 2") << int(Qt::Key_2) << none << QStringLiteral("2")
                                << QStringLiteral("2");
    QTest::newRow("pad 2") << int(Qt::Key_2) << pad << QStringLiteral("2") << QStringLiteral("2");
    QTest::newRow("pad 7") << int(Qt::Key_7) << pad << QStringLiteral("7") << QStringLiteral("2");
    // The main-row 7 is the Duplicate key: the field comes from the previous record.
    QTest::newRow("main row 7 duplicates")
        << int(Qt::Key_7) << none << QStringLiteral("00001") << QStringLiteral("6");
}

void frmKvlTest::digitKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyed);
    QFETCH(QString, column);

    openFile(StockRecord + "\r\n", "STOCK-19");
    QTest::keyClick(entryScreen(), Qt::Key(key), Qt::KeyboardModifiers::fromInt(modifiers));
    QCOMPARE(dataRow().leftJustified(6).left(6), keyed.leftJustified(6));
    QCOMPARE(panel(4), column);
}

void frmKvlTest::altDigitSwitchesFormat()
{
    openFile("123456ABCDEa\r\n", "PAYROLL/2-12");
    QCOMPARE(panel(6), QStringLiteral("Fmt:1/2"));
    auto* screen = entryScreen();
    const QString column = panel(4);

    QTest::keyClick(screen, Qt::Key_2, Qt::AltModifier);
    QCOMPARE(panel(6), QStringLiteral("Fmt:2/2"));
    // A command key types nothing.
    QCOMPARE(panel(4), column);
    QVERIFY2(dataRow().trimmed().isEmpty(), qPrintable(dataRow()));

    QTest::keyClick(screen, Qt::Key_1, Qt::AltModifier);
    QCOMPARE(panel(6), QStringLiteral("Fmt:1/2"));
}

void frmKvlTest::ctrlDSwitchesDuplicate()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    auto* dup = m_window->findChild<QLabel*>(QStringLiteral("StatusPanel3"));
    const auto shown = [dup] { return dup->pixmap().toImage().pixelColor(0, 0); };
    QCOMPARE(shown(), QColor(Qt::gray));
    const QString column = panel(4);
    // A window shortcut on the same key does not take it from the engine.
    auto* rival = new QAction(m_window.get());
    rival->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_window->addAction(rival);
    QSignalSpy rivalSpy(rival, &QAction::triggered);

    QTest::keyClick(entryScreen(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(shown(), QColor(Qt::green));
    QCOMPARE(rivalSpy.count(), 0);
    QTest::keyClick(entryScreen(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(shown(), QColor(Qt::gray));
    // Ctrl+D types no "d" into the record.
    QCOMPARE(panel(4), column);
    QVERIFY2(dataRow().trimmed().isEmpty(), qPrintable(dataRow()));
}

void frmKvlTest::menuShortcutsStayWithMenus()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    auto* screen = entryScreen();
    // Up steps back to the stored record, where a record may be inserted.
    QTest::keyClick(screen, Qt::Key_Up);
    QCOMPARE(panel(2).trimmed(), QStringLiteral("1"));
    QVERIFY(action("mnuInsRec")->isEnabled());

    m_dialogs.answers.push_back(Dialogs::Answer::No);
    QTest::keyClick(screen, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m_dialogs.boxes.size(), std::size_t{1});
    QCOMPARE(m_dialogs.boxes.back().title, std::string("Confirm Record Insertion"));
    QCOMPARE(panel(2).trimmed(), QStringLiteral("1"));

    // Alt+letter opens its menu instead of reaching the engine.
    QTest::keyClick(screen, Qt::Key_E, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&Edit"));
    menu->close();
}

void frmKvlTest::editMenuStepsThroughRecords()
{
    openFile(StockRecord + "\r\n" + TypedStock + "a\r\n", "STOCK-19");
    QCOMPARE(panel(2).trimmed(), QStringLiteral("3"));
    // Up steps back to record 2; from there the menu steps on.
    QTest::keyClick(entryScreen(), Qt::Key_Up);
    QCOMPARE(panel(2).trimmed(), QStringLiteral("2"));
    QVERIFY(dataRow().startsWith(QString::fromLatin1(TypedStock)));
    QVERIFY(action("mnuBack")->isEnabled());
    action("mnuBack")->trigger();
    QCOMPARE(panel(2).trimmed(), QStringLiteral("1"));
    QVERIFY(dataRow().startsWith(QString::fromLatin1(StockRecord.left(18))));
    QVERIFY(action("mnuFwd")->isEnabled());
    action("mnuFwd")->trigger();
    QCOMPARE(panel(2).trimmed(), QStringLiteral("2"));

    // Deleting record 2 leaves record 1 and the end position.
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    QVERIFY(action("mnuDelRec")->isEnabled());
    action("mnuDelRec")->trigger();
    QFile file(m_appDir->filePath(QStringLiteral("keyed.dat")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), StockRecord + "\r\n");
}

void frmKvlTest::verifyComparesKeys()
{
    openFile(StockRecord + "\r\n", "STOCK-19");
    auto* screen = entryScreen();
    QTest::keyClick(screen, Qt::Key_Up);
    action("mnuVerify")->trigger();
    QVERIFY(action("mnuVerify")->isChecked());

    // The stored record starts with 0: a 9 is a mismatch, a 0 passes on.
    QTest::keyClick(screen, Qt::Key_9, Qt::KeypadModifier);
    QCOMPARE(m_dialogs.texts(), std::vector<std::string>{"Mismatch"});
    QTest::keyClick(screen, Qt::Key_0, Qt::KeypadModifier);
    QCOMPARE(m_dialogs.boxes.size(), std::size_t{1});
    QCOMPARE(panel(4), QStringLiteral("2"));

    action("mnuVerify")->trigger();
    QVERIFY(!action("mnuVerify")->isChecked());
}

QTEST_MAIN(frmKvlTest)
#include "frmKvlTest.moc"
