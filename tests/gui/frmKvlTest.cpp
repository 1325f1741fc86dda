#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "app/ScriptedDialogs.h"
#include "app/frmKvl.h"
#include "keying/EntryScreenWidget.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

const QColor White(255, 255, 255);

// Band rows of the entry screen, in pixels: heading at row 2.25, data line below it.
constexpr int HeadingY = 44;
constexpr int DataY = 60;

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

private:
    void makeWindow();
    void openStock(const QString& dataFile);
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
}

void frmKvlTest::openStock(const QString& dataFile)
{
    m_dialogs.openAnswers.push_back(Std(dataFile));
    m_dialogs.chooseEntry("STOCK-19");
    action("mnuOpen")->trigger();
}

QImage frmKvlTest::screenImage() const
{
    return m_window->findChild<EntryScreenWidget*>()->grab().toImage();
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

QTEST_MAIN(frmKvlTest)
#include "frmKvlTest.moc"
