#include <QtTest>

#include "app/QtText.h"

// File names cross into Qt in the file system's encoding; record text in Latin-1.
class QtTextTest : public QObject
{
    Q_OBJECT

private slots:
    void conversions();
};

void QtTextTest::conversions()
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
    QCOMPARE(QtText::ToLatin1(QtText::Latin1(record)), record);
}

QTEST_MAIN(QtTextTest)
#include "QtTextTest.moc"
