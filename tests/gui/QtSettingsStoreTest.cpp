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
    void unreadableOrUnwritableFilesAreToldOnce();
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

// A folder, or a FIFO that QSettings would wait on, is read as missing and never written
// over; where the folder is a file, nothing is written. Each is told once, and the other
// application's file is another matter.
void QtSettingsStoreTest::unreadableOrUnwritableFilesAreToldOnce()
{
    for (const char* kind : {"dir", "fifo", "blocked"}) {
        QTemporaryDir dir;
        const bool blocked = *kind == 'b';
        const QString folder = blocked ? dir.filePath(QStringLiteral("settings")) : dir.path();
        const QString file = folder + QStringLiteral("/korvalen.ini");
        QVERIFY(blocked        ? QFile(folder).open(QIODevice::WriteOnly)
                : *kind == 'd' ? QDir().mkdir(file)
                               : ::mkfifo(QFile::encodeName(file).constData(), 0644) == 0);
        QtSettingsStore store(folder);
        QStringList told;
        store.OnFailure = [&](const std::string& m) { told << QString::fromStdString(m); };
        QCOMPARE(store.getSetting("korvalen", "Options", "Show Tips at Startup", "1"), "1");
        store.saveSetting("korvalen", "Options", "Show Tips at Startup", "0");
        // What could not be written is kept for the session; what could not be read is not.
        QCOMPARE(store.getSetting("korvalen", "Options", "Show Tips at Startup", "1"),
                 blocked ? "0" : "1");
        QCOMPARE(told.size(), 1);
        const QString says = blocked ? QStringLiteral("The settings could not be saved to ")
                                     : QStringLiteral("could not be read");
        QVERIFY2(told[0].contains(says), qPrintable(told[0]));
        QVERIFY(!QFileInfo(file).isFile());
        store.saveSetting("Korvalen", "dupkey", "dupkey", "123");
        QCOMPARE(store.getSetting("Korvalen", "dupkey", "dupkey", ""), "123");
        QCOMPARE(told.size(), 1);
    }
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
