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

#include "app/frmKvl.h"
#include "keying/EntryScreenWidget.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/ScriptedDialogs.h"

namespace
{

const QColor Green(0, 255, 0);
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
    void openShowsRecord_data();
    void openShowsRecord();
    void mismatchLeavesBandUnpainted();
    void exitTerminatesOnce_data();
    void exitTerminatesOnce();
    void resizeSnapsWidth_data();
    void resizeSnapsWidth();

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

void frmKvlTest::openShowsRecord_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: the file does not exist yet
    QTest::addColumn<QString>("recordPanel");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QByteArray>("formColor"); // the stored band colour, 0x00BBGGRR
    QTest::addColumn<QColor>("band");

    QTest::newRow("new file") << QByteArray() << QStringLiteral(" 1") << 1 << QByteArray() << Green;
    QTest::newRow("one record, own band colour")
        << QByteArray("1234567890123456789\r\n") << QStringLiteral(" 2") << 0
        << QByteArray::number(0x4080FF) << QColor(255, 128, 64);
}

void frmKvlTest::openShowsRecord()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, recordPanel);
    QFETCH(int, boxes);
    QFETCH(QByteArray, formColor);
    QFETCH(QColor, band);

    if (!formColor.isEmpty()) {
        m_window.reset();
        m_store.values[{"Korvalen", "formcolor", "f2"}] = formColor.toStdString();
        makeWindow();
    }
    const QString dataFile = m_appDir->filePath(QStringLiteral("stock.dat"));
    if (!contents.isEmpty())
        WriteFile(dataFile, contents);
    openStock(dataFile);

    QCOMPARE(static_cast<int>(m_dialogs.boxes.size()), boxes);
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("KORVALEN - ( Orlenmark ) ") + dataFile.toUpper());
    for (const char* enabled : {"mnuClose", "SaveData"})
        QVERIFY2(action(enabled)->isEnabled(), enabled);
    for (const char* disabled : {"mnuNew", "mnuOpen"})
        QVERIFY2(!action(disabled)->isEnabled(), disabled);
    QVERIFY2(panel(1).endsWith(QStringLiteral(" - Fmt:STOCK-19")), qPrintable(panel(1)));
    QCOMPARE(panel(2), recordPanel);
    QCOMPARE(panel(6), QStringLiteral("Fmt:1/1"));

    auto* screen = m_window->findChild<EntryScreenWidget*>();
    auto* previous = m_window->findChild<QLineEdit*>(QStringLiteral("Previous"));
    QVERIFY(previous->isVisible());
    QCOMPARE(previous->geometry().left(), 8);
    QCOMPARE(previous->width(), screen->width() - 16);
    QCOMPARE(previous->geometry().top(), screen->height() - 7 * 16);
    const auto* label = m_window->findChild<QLabel*>(QStringLiteral("LblPrv"));
    QVERIFY(label->isVisible());
    QCOMPARE(label->geometry().top(), previous->geometry().top() - 16);
    QVERIFY(qAbs(label->geometry().center().x() - screen->width() / 2) <= 1);

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

void frmKvlTest::mismatchLeavesBandUnpainted()
{
    const QString dataFile = m_appDir->filePath(QStringLiteral("short.dat"));
    WriteFile(dataFile, "123456789012345678\r\n");
    openStock(dataFile);

    QCOMPARE(static_cast<int>(m_dialogs.boxes.size()), 1);
    QVERIFY2(m_dialogs.boxes[0].text.starts_with("Mismatch!"), m_dialogs.boxes[0].text.c_str());
    QCOMPARE(screenPixel(m_window->findChild<EntryScreenWidget*>()->width() - 4, HeadingY), White);
    QVERIFY(!m_window->findChild<QLineEdit*>(QStringLiteral("Previous"))->isVisible());
}

void frmKvlTest::exitTerminatesOnce_data()
{
    QTest::addColumn<bool>("viaMenu");
    QTest::newRow("File Exit") << true;
    QTest::newRow("close box") << false;
}

void frmKvlTest::exitTerminatesOnce()
{
    QFETCH(bool, viaMenu);
    constexpr int MemKeys = 8; // F2..F9

    if (viaMenu)
        action("mnuExit")->trigger();
    else
        QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_store.memKeySaves, MemKeys);
    m_window.reset();
    QCOMPARE(m_store.memKeySaves, MemKeys);
}

void frmKvlTest::resizeSnapsWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("wider") << 843;
    QTest::newRow("narrower") << 781;
}

void frmKvlTest::resizeSnapsWidth()
{
    QFETCH(int, width);
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    const int outer = width + frame.width();

    m_window->resize(width, 500);
    // The outer width goes down to whole columns; the height stays as asked.
    QTRY_COMPARE(m_window->frameGeometry().width(), outer - outer % 8);
    QCOMPARE(m_window->height(), 500);
}

QTEST_MAIN(frmKvlTest)
#include "frmKvlTest.moc"
