#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QTableView>
#include <QValueAxis>
#include <QtTest>

#include <memory>

#include "app/EntryScreenWidget.h"
#include "app/QtText.h"
#include "app/frmKvl.h"
#include "app/frmStats.h"
#include "engine/ScriptedDialogs.h"
#include "script/ScriptClock.h"
#include "stats/KeyingStats.h"
#include "tests/gui/GuiTest.h"
#include "tests/gui/MainWindowTest.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/TempDir.h"

namespace
{

// STOCK records: PART (N, 5), NAME (A, 8), PRC (R, 5) and the format letter.
const std::string Bolt = "00001BOLT    00150a\r\n";
const std::string Nut = "00002NUT     00200a\r\n";
const std::string LogHeader =
    "time,operator,record,position,field,field_type,stored,keyed,accepted\n";
// Two rows another station wrote, its operator's name in UTF-8, the second replacing a blank.
const std::string EarlierRows = "2026-12-10T09:00:00+01:00,J\xC3\xBCrgen,1,7,2,A,L,I,third key\n"
                                "2026-12-10T09:05:00+01:00,J\xC3\xBCrgen,2,12,2,A, ,X,Backspace\n";

QString Label(const QWidget& window, const char* name)
{
    return Child<QLabel>(window, name)->text();
}

QLineSeries* Series(const QWidget& stats)
{
    QChart* chart = Child<QChartView>(stats, "StepChart")->chart();
    return qobject_cast<QLineSeries*>(chart->series().value(0));
}

QAbstractItemModel* LogModel(const QWidget& log)
{
    return Child<QTableView>(log, "LogTable")->model();
}

// A row of the log table, its cells joined by "|", after its heading.
QString LogRow(const QWidget& log, int row)
{
    const QAbstractItemModel* m = LogModel(log);
    QStringList cells{m->headerData(row, Qt::Vertical).toString()};
    for (int c = 0; c < m->columnCount(); ++c)
        cells << m->index(row, c).data().toString();
    return cells.join(QLatin1Char('|'));
}

QStringList LogRows(const QWidget& log)
{
    QStringList rows;
    for (int r = 0; r < LogModel(log)->rowCount(); ++r)
        rows << LogRow(log, r);
    return rows;
}

} // namespace

class SideWindowsTest : public MainWindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { KeepSettingsIn(m_settingsDir); }
    void init();
    void cleanup() { m_window.reset(); }

    void windowsOpenBesideAndLeaveTheKeys();
    void chartFollowsTheFiveMinuteSteps();
    void verifyLogShowsThisSessionFirst();
    void verifyLogSaysWhatItCannotShow();

private:
    void openFile(const std::string& name, const std::string& records)
    {
        MainWindowTest::openFile(name, records, "STOCK-19");
    }
    QAction* action(const char* name) const { return Child<QAction>(*m_window, name); }
    QWidget* statsWindow() const { return Child<QWidget>(*m_window, "frmStats"); }
    QWidget* logWindow() const { return Child<QWidget>(*m_window, "frmVerifyLog"); }
    // Keys as the operator types them: to whichever window has the focus.
    static void type(const char* keys) { QTest::keyClicks(nullptr, QString::fromLatin1(keys)); }
    void expectEntryScreenHasTheKeys() const
    {
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), m_window.get());
        QCOMPARE(QApplication::focusWidget(), screen());
    }
};

void SideWindowsTest::init()
{
    startWindow(CrLf({"STOCK", "N----A-------R--.-E", "PART NAME  QTY  PRC"}));
}

// Both windows open beside the entry screen, which keeps the keys: a record is keyed and
// stored while they are up. The figures follow on the timer, not on the key.
void SideWindowsTest::windowsOpenBesideAndLeaveTheKeys()
{
    openFile("keyed.dat", Bolt);
    action("mnuStats")->trigger();
    action("mnuVerifyLog")->trigger();
    QWidget* stats = statsWindow();
    QWidget* log = logWindow();
    for (QWidget* w : {stats, log}) {
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(w->isWindow() && !w->isModal());
        QCOMPARE(w->parentWidget(), m_window.get());
        // Right of the main window where the screen leaves room (WideScreen.json makes it
        // 1920 wide), else over the main window's right edge, on the screen.
        const QRect main = m_window->frameGeometry(), screen = m_window->screen()->geometry();
        const QRect side = w->frameGeometry();
        // The first at the main window's top, the next below it: neither hides the other.
        if (w == stats)
            QCOMPARE(side.top(), main.top());
        else
            QVERIFY(!side.intersects(stats->frameGeometry()));
        if (main.right() + side.width() + 8 <= screen.right())
            QVERIFY(side.left() > main.right() && side.left() <= main.right() + 9);
        else
            QCOMPARE(side.right(), screen.right());
    }
    expectEntryScreenHasTheKeys();
    QTRY_COMPARE(Label(*stats, "SessionKeystrokes"), QStringLiteral("0"));
    QCOMPARE(Label(*stats, "FileStored"), QStringLiteral("0"));
    QCOMPARE(Series(*stats)->count(), 0);

    type("00002NUT     00200");
    QCOMPARE(m_appDir->read("keyed.dat"), Bolt + Nut);
    // Nothing was redrawn from the keys themselves.
    QCOMPARE(Label(*stats, "SessionKeystrokes"), QStringLiteral("0"));
    QTRY_COMPARE(Label(*stats, "SessionKeystrokes"), QStringLiteral("18"));
    for (const char* name : {"SessionStored", "FileStored"})
        QCOMPARE(Label(*stats, name), QStringLiteral("1"));
    QCOMPARE(Label(*stats, "FileKeystrokes"), QStringLiteral("18"));
    QCOMPARE(Series(*stats)->count(), 1);
    expectEntryScreenHasTheKeys();

    // Closed, the window keeps nothing of its own: opened again it shows the engine's
    // figures, in the same window.
    stats->close();
    QVERIFY(!stats->isVisible());
    type("0");
    action("mnuStats")->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(stats));
    QCOMPARE(Label(*stats, "SessionKeystrokes"), QStringLiteral("19"));
    QCOMPARE(m_window->findChildren<frmStats*>().size(), 1);
    expectEntryScreenHasTheKeys();
    // A closed file's figures are no longer the open file's.
    m_dialogs.answers.push_back(Dialogs::Answer::Yes);
    action("mnuClose")->trigger();
    QTRY_COMPARE(Label(*stats, "FileKeystrokes"), QStringLiteral("\u2013"));
    QCOMPARE(Label(*stats, "SessionKeystrokes"), QStringLiteral("19"));
}

// The chart's points are the core's steps: the step going on moves its point, a new step
// adds one, steps without keys add zeros, and the series is never rebuilt.
void SideWindowsTest::chartFollowsTheFiveMinuteSteps()
{
    constexpr std::time_t Start = 1'800'000'000;
    constexpr std::int64_t Minute = 60'000;
    ScriptClock clock(Start);
    KeyingStats counts(clock);
    frmStats window(counts, nullptr);
    window.showBeside();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLineSeries* series = Series(window);
    QSignalSpy added(series, &QXYSeries::pointAdded);
    QSignalSpy moved(series, &QXYSeries::pointReplaced);
    QSignalSpy rebuilt(series, &QXYSeries::pointsReplaced);
    QSignalSpy removed(series, &QXYSeries::pointRemoved);
    QSignalSpy cleared(series, &QXYSeries::pointsRemoved);
    QCOMPARE(Label(window, "FileKeystrokes"), QStringLiteral("\u2013"));

    std::int64_t at = 0;
    const auto keyAt = [&](std::int64_t minute) {
        clock.advance(minute * Minute - at);
        at = minute * Minute;
        counts.Key(false);
    };
    // Keys at the given minutes, and the rates the chart shows after them, step by step.
    struct Stretch {
        std::vector<std::int64_t> minutes;
        std::vector<double> rates;
    };
    const Stretch stretches[] = {
        {{0}, {0}},                  // one key: no keying time yet
        {{1, 2, 3, 4}, {75}},        // five keys in four minutes
        {{5}, {75, 60}},             // the next step: one key a minute
        {{17}, {75, 60, 0, 0}},      // after a pause of twelve minutes
        {{18, 19}, {75, 60, 0, 90}}, // three keys in two minutes in the fourth step
    };
    for (const Stretch& s : stretches) {
        for (const std::int64_t m : s.minutes)
            keyAt(m);
        const auto n = static_cast<qsizetype>(s.rates.size());
        QTRY_COMPARE(series->count(), n);
        QTRY_COMPARE(series->at(n - 1).y(), s.rates.back());
        for (qsizetype i = 0; i < n; ++i) {
            QCOMPARE(series->at(i).x(), (Start + 300.0 * i) * 1000.0);
            QCOMPARE(series->at(i).y(), s.rates[static_cast<std::size_t>(i)]);
        }
        QCOMPARE(added.count(), n);
        auto* time = qobject_cast<QDateTimeAxis*>(series->attachedAxes().value(0));
        QVERIFY(time);
        QCOMPARE(time->max().toMSecsSinceEpoch(), (Start + 300 * n) * 1000);
    }
    QVERIFY(moved.count() >= 1);
    QCOMPARE(rebuilt.count(), 0);
    QCOMPARE(removed.count() + cleared.count(), 0);
    auto* rate = qobject_cast<QValueAxis*>(series->attachedAxes().value(1));
    QVERIFY(rate && rate->max() >= 90);

    // 9 keys; keying time 5 + 2 minutes, the pause left out.
    QCOMPARE(Label(window, "SessionKeystrokes"), QStringLiteral("9"));
    QCOMPARE(Label(window, "SessionKeyingTime"), QStringLiteral("0:07:00"));
    QCOMPARE(Label(window, "SessionKeystrokesPerHour"), QStringLiteral("77"));
    // An hour more at one key a minute shows in hours.
    for (std::int64_t m = 20; m <= 80; ++m)
        keyAt(m);
    counts.Refused();
    counts.FileOpened();
    QTRY_COMPARE(Label(window, "SessionKeyingTime"), QStringLiteral("1:08:00"));
    QCOMPARE(Label(window, "SessionKeystrokes"), QStringLiteral("70"));
    QCOMPARE(Label(window, "SessionRefusedPer1000"), QStringLiteral("14.29"));
    QCOMPARE(Label(window, "SessionKeystrokesPerHour"), QStringLiteral("62"));
    QCOMPARE(Label(window, "FileKeystrokes"), QStringLiteral("0"));
    QCOMPARE(Label(window, "FileKeyingTime"), QStringLiteral("0:00:00"));
    QCOMPARE(series->count(), 17);
    QCOMPARE(rebuilt.count(), 0);
}

// Verify replaces a character: its row comes first, marked as this session's, above the
// log's earlier rows (once, though the log holds it too); a record number narrows the rows.
void SideWindowsTest::verifyLogShowsThisSessionFirst()
{
    m_appDir->write("keyed.kvverify", LogHeader + EarlierRows);
    openFile("keyed.dat", Bolt + Nut);
    action("mnuVerifyLog")->trigger();
    QWidget* log = logWindow();
    QVERIFY(QTest::qWaitForWindowExposed(log));
    const QString earlier[] = {
        QStringLiteral("line 2|2026-12-10T09:00:00+01:00|J\u00FCrgen|1|7|2|A|L|I|third key"),
        QStringLiteral("line 3|2026-12-10T09:05:00+01:00|J\u00FCrgen|2|12|2|A|\u2423|X|Backspace")};
    QCOMPARE(LogRows(*log), QStringList(std::begin(earlier), std::end(earlier)));
    QVERIFY(Label(*log, "Note").startsWith(QStringLiteral("0 replaced in this session, 2 before")));

    action("mnuVerify")->trigger();
    expectEntryScreenHasTheKeys();
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Home, Qt::ControlModifier);
    // The third 2 over the stored 1 replaces it; the record is written when keyed through.
    type("0000222BOLT    00150");
    QCOMPARE(m_appDir->read("keyed.dat"), "00002BOLT    00150a\r\n" + Nut);
    QCOMPARE(m_window->engine().verifyLog.SessionRows().size(), std::size_t{1});
    const QString session =
        QStringLiteral("this session|") +
        QString::fromStdString(
            m_appDir->read("keyed.kvverify").substr(LogHeader.size() + EarlierRows.size()))
            .trimmed()
            .replace(QLatin1Char(','), QLatin1Char('|'));
    QVERIFY(session.endsWith(QStringLiteral("|1|5|1|N|1|2|third key")));
    QTRY_COMPARE(LogRows(*log), (QStringList{session, earlier[0], earlier[1]}));
    QVERIFY(Label(*log, "Note").startsWith(QStringLiteral("1 replaced in this session, 2 before")));
    expectEntryScreenHasTheKeys();

    auto* filter = Child<QLineEdit>(*log, "RecordFilter");
    const auto filtered = [&](const char* record, const QStringList& rows) {
        filter->setText(QString::fromLatin1(record));
        QCOMPARE(LogRows(*log), rows);
    };
    filtered("2", {earlier[1]});
    filtered("1", {session, earlier[0]});
    filtered("3", {});
    filtered("", {session, earlier[0], earlier[1]});
}

// Without a file, without replacements, and with a log that cannot be read, the window
// says so beside its table.
void SideWindowsTest::verifyLogSaysWhatItCannotShow()
{
    action("mnuVerifyLog")->trigger();
    QWidget* log = logWindow();
    QVERIFY(QTest::qWaitForWindowExposed(log));
    QCOMPARE(Label(*log, "Note"), QStringLiteral("No data file is open."));
    QCOMPARE(LogModel(*log)->rowCount(), 0);

    struct Case {
        const char* name;
        std::string log; // "/" for a folder in the log's place, empty for none
        int rows;
        const char* note;
        bool leftOut; // lines that could not be read are counted
    };
    const char* const noneYet = "No characters have been replaced in this file yet.";
    const char* const unreadable = "The verification log could not be read: ";
    const char* const twoBefore = "0 replaced in this session, 2 before";
    const Case cases[] = {
        {"none", "", 0, noneYet, false},
        {"header only", LogHeader, 0, noneYet, false},
        {"folder", "/", 0, unreadable, false},
        {"not a log", "start,end\n" + EarlierRows, 0, unreadable, false},
        {"short line", LogHeader + "2026-12-10T09:00:00+01:00,ann,1\n" + EarlierRows, 2, twoBefore,
         true},
        {"open quote", LogHeader + EarlierRows + "2026-12-10T09:00:00+01:00,\"ann\n", 2, twoBefore,
         true},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "case" + std::to_string(++n);
        if (c.log == "/")
            std::filesystem::create_directory(m_appDir->file(name + ".kvverify"));
        else if (!c.log.empty())
            m_appDir->write(name + ".kvverify", c.log);
        if (m_window->engine().stats.FileOpen())
            action("mnuClose")->trigger();
        openFile(name + ".dat", Bolt + Nut);
        QTRY_VERIFY2(Label(*log, "Note").startsWith(QString::fromLatin1(c.note)), c.name);
        QVERIFY2(LogModel(*log)->rowCount() == c.rows, c.name);
        QVERIFY2(Label(*log, "Note").contains(QStringLiteral("left out")) == c.leftOut, c.name);
    }
}

QTEST_MAIN(SideWindowsTest)
#include "SideWindowsTest.moc"
