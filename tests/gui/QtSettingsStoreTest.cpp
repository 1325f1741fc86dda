#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "app/QtSettingsStore.h"

class QtSettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();

private:
    QTemporaryDir m_dir;
    QtSettingsStore m_store;
};

void QtSettingsStoreTest::initTestCase()
{
    // Nothing here may touch the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

void QtSettingsStoreTest::roundTrip_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("number") << QByteArray("formcolor") << QByteArray("65280");
    QTest::newRow("blank in section") << QByteArray("Data Path") << QByteArray("/home/op/data");
    QTest::newRow("commas, edge blanks") << QByteArray("Memkey") << QByteArray("  SMITH, JOHN ");
    QTest::newRow("latin-1") << QByteArray("Memkey") << QByteArray("M\xDCLLER \xC5S");
    QTest::newRow("empty") << QByteArray("Memkey") << QByteArray();
    // A memory key stores whatever bytes the field held.
    QTest::newRow("control bytes") << QByteArray("Memkey") << QByteArray("\0A\x01\tB\x7f", 6);
}

void QtSettingsStoreTest::roundTrip()
{
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, value);

    m_store.saveSetting("Korvalen", section.toStdString(), "key", value.toStdString());
    QCOMPARE(m_store.getSetting("Korvalen", section.toStdString(), "key", "default"),
             value.toStdString());
    QVERIFY(QFileInfo::exists(m_dir.filePath(QStringLiteral("Korvalen/Korvalen.ini"))));
}

QTEST_MAIN(QtSettingsStoreTest)
#include "QtSettingsStoreTest.moc"
