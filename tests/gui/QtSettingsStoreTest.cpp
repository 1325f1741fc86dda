#include <QtTest>

#include <sys/stat.h>

#include "app/QtSettingsStore.h"
#include "app/QtText.h"
#include "tests/gui/GuiTest.h"

// The edge between the core's byte strings and Qt: settings keep any bytes, file names cross
// in the file system's encoding, record text is Latin-1.
class QtSettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KeepSettingsIn(m_dir); }
    void valuesComeBackAsTheyWere();
    void unreadableFilesAreLeftAlone();
    void aFailedWriteIsToldOnce();
    void textConversions();

private:
    QTemporaryDir m_dir;
    QtSettingsStore m_store{m_dir.path()};
};

// A memory key stores whatever bytes the field held; a new store reads them from the file.
void QtSettingsStoreTest::valuesComeBackAsTheyWere()
{
    const std::pair<std::string, std::string> settings[] = {
        {"formcolor", "65280"},
        {"Data Path", "/home/op/data"},
        {"Memkey", "  SMITH, JOHN "},
        {"Memkey", "M\xDCLLER \xC5S"},
        {"Memkey", ""},
        {"Memkey", std::string("\0A\x01\tB\x7f", 6)}};
    for (const auto& [section, value] : settings) {
        m_store.saveSetting("Korvalen", section, "key", value);
        QCOMPARE(QtSettingsStore(m_dir.path()).getSetting("Korvalen", section, "key", "default"),
                 value);
    }
}

// A folder, or a FIFO that QSettings would wait on, is read as missing, never written over,
// and told once; the other application's file is another matter.
void QtSettingsStoreTest::unreadableFilesAreLeftAlone()
{
    for (const bool fifo : {false, true}) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("korvalen.ini"));
        QVERIFY(fifo ? ::mkfifo(QFile::encodeName(file).constData(), 0644) == 0
                     : QDir().mkdir(file));
        QtSettingsStore store(dir.path());
        QStringList told;
        store.OnFailure = [&](const std::string& m) { told << QString::fromStdString(m); };
        QCOMPARE(store.getSetting("korvalen", "Options", "Show Tips at Startup", "1"), "1");
        store.saveSetting("korvalen", "Options", "Show Tips at Startup", "0");
        QCOMPARE(store.getSetting("korvalen", "Options", "Show Tips at Startup", "1"), "1");
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QStringLiteral("could not be read")), qPrintable(told[0]));
        QVERIFY(!QFileInfo(file).isFile());
        store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
        QCOMPARE(store.getSetting("Korvalen", "dupkey", "dupkey", ""), "123");
        QCOMPARE(told.size(), 1);
    }
}

void QtSettingsStoreTest::aFailedWriteIsToldOnce()
{
    QTemporaryDir dir;
    // The folder the files should go in is a file: nothing can be written there.
    const QString folder = dir.filePath(QStringLiteral("settings"));
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtSettingsStore store(folder);
    QStringList told;
    store.OnFailure = [&](const std::string& m) { told << QString::fromStdString(m); };
    store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
    store.saveSetting("Korvalen", "dupkey", "dupkey", "55");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].startsWith(QStringLiteral("The settings could not be saved to ")),
             qPrintable(told[0]));
}

void QtSettingsStoreTest::textConversions()
{
    const std::string utf8Path = "/data/Z\xC3\xBCrich/kunden.dat";
    const QString path = QtText::Path(utf8Path);
    QCOMPARE(path, QStringLiteral("/data/Z\u00FCrich/kunden.dat"));
    QCOMPARE(QtText::PathBytes(path), utf8Path);
    // A caption naming that file reads as the file system wrote it ...
    QCOMPARE(QtText::Display("KORVALEN - " + utf8Path), QStringLiteral("KORVALEN - ") + path);
    // ... while a record's single-byte text, which is no valid UTF-8, reads as Latin-1.
    const std::string record = "M\xDCLLER \xC5S";
    QCOMPARE(QtText::Display(record), QStringLiteral("M\u00DCLLER \u00C5S"));
}

QTEST_MAIN(QtSettingsStoreTest)
#include "QtSettingsStoreTest.moc"
