// The operator's figures: keying time and its pauses, the five-minute steps, the
// statistics row at each closing and the verification rows that go before a Verify rewrite.

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "common/TextUtil.h"
#include "script/ScriptClock.h"
#include "stats/KeyingStats.h"
#include "stats/LogFile.h"
#include "tests/support/Station.h"

namespace
{

constexpr const char* Stored = "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n";

std::vector<std::string> Lines(const std::string& bytes)
{
    return text::SplitLines(bytes);
}

std::vector<std::string> Columns(const std::string& row)
{
    std::vector<std::string> out(1);
    for (const char c : row) {
        if (c == ',')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

struct Keying : Started {
    Keying() { openWith("STOCK.DAT", Stored, "STOCK"); }
    // Keys "1" after a gap of ms.
    void keyAfter(std::int64_t ms)
    {
        clock.advance(ms);
        type("1");
    }
};

} // namespace

TEST(KeyingTime, PausesOfMoreThanAMinuteAreLeftOut)
{
    struct Row {
        const char* name;
        std::int64_t gapMs;
        std::int64_t counted;
    } const rows[] = {
        {"a key's time", 300, 300},           {"a long look at the paper", 59'999, 59'999},
        {"exactly a minute", 60'000, 60'000}, {"just over a minute", 60'001, 0},
        {"a coffee", 15 * 60'000, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Keying k;
        k.type("0");
        k.keyAfter(r.gapMs);
        EXPECT_EQ(k.e.stats.file().keyingMs, r.counted);
        EXPECT_EQ(k.e.stats.session().keyingMs, r.counted);
        EXPECT_EQ(k.e.stats.file().keystrokes, 2);
    }
}

TEST(KeyingTime, RatesAreTakenOverTheKeyingTime)
{
    Keying k;
    // 100 keys 300 ms apart: 12,000 an hour, all in the session's first step.
    k.type("0");
    for (int i = 1; i < 100; ++i)
        k.keyAfter(300);
    const KeyingCounts& f = k.e.stats.file();
    EXPECT_EQ(f.keyingMs, 99 * 300);
    EXPECT_NEAR(f.keystrokesPerHour(), 100.0 * 3600 / 29.7, 0.01);
    ASSERT_EQ(k.e.stats.steps().size(), 1u);
}

// The chart's steps at their edges: a step is five minutes from the session's start, and a
// key brings the gap before it into its own step, even from the step before.
TEST(KeyingTime, StepsAtTheirBoundaries)
{
    constexpr std::int64_t Step = KeyingStats::StepMs;
    struct Row {
        const char* name;
        std::vector<std::int64_t> keysAt;                         // ms from the session's start
        std::vector<std::pair<std::int64_t, std::int64_t>> steps; // keystrokes, keying ms
    } const rows[] = {
        {"no key, no step", {}, {}},
        {"the last moment of the first step", {Step - 1000, Step - 1}, {{2, 999}}},
        {"a key on the boundary starts the next step", {Step - 1000, Step}, {{1, 0}, {1, 1000}}},
        {"steps between keys are empty",
         {0, 1000, 3 * Step + 500},
         {{2, 1000}, {0, 0}, {0, 0}, {1, 0}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScriptClock clock(0);
        KeyingStats stats(clock);
        std::int64_t now = 0;
        for (const std::int64_t at : r.keysAt) {
            clock.advance(at - now);
            now = at;
            stats.Key(false);
        }
        std::vector<std::pair<std::int64_t, std::int64_t>> seen;
        for (const KeyingStats::Step& s : stats.steps())
            seen.emplace_back(s.keystrokes, s.keyingMs);
        EXPECT_EQ(seen, r.steps);
    }
}

// The gap between the session's last key and an opening's first is the session's time.
TEST(KeyingTime, AnOpeningsKeyingTimeStartsAtItsFirstKey)
{
    ScriptClock clock(0);
    KeyingStats stats(clock);
    stats.Key(false);
    clock.advance(2000);
    stats.FileOpened();
    stats.Key(false);
    clock.advance(3000);
    stats.Key(false);
    EXPECT_EQ(stats.session().keyingMs, 5000);
    EXPECT_EQ(stats.file().keyingMs, 3000);
    EXPECT_EQ(stats.file().keystrokes, 2);
}

TEST(KeyingTime, EachOpeningStartsItsOwnCountsAndTheSessionGoesOn)
{
    Keying k;
    k.type("00003");
    k.key("Shift");                                    // a bare modifier is no keystroke
    k.dialogs.answers.push_back(Dialogs::Answer::Yes); // the record in hand may go
    k.e.file.mnuClose_Click();
    EXPECT_FALSE(k.e.stats.FileOpen());
    k.type("12"); // no record on the screen: nothing reaches it
    k.open("STOCK.DAT", "STOCK");
    k.type("7");
    EXPECT_EQ(k.e.stats.file().keystrokes, 1);
    EXPECT_EQ(k.e.stats.session().keystrokes, 6);
}

TEST(StatsLog, EveryClosingAppendsOneRowUnderOneHeader)
{
    Keying k;
    k.type("00003THIRD   ");
    k.type("X"); // refused by the R field
    k.type("003.0");
    EXPECT_EQ(k.records("STOCK.DAT").size(), 3u);
    k.key("Up");
    k.type("00002SECOND  002.5");
    k.e.file.mnuClose_Click();
    // Another opening, in Verify mode, with no key at all; ended by Exit.
    k.open("STOCK.DAT", "STOCK");
    k.e.mnuVerify_Click();
    ASSERT_TRUE(k.e.mnuExit_Click());

    const auto lines = Lines(k.app.read("STOCK.kvstats"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], StatsColumns::Header);
    const auto first = Columns(lines[1]);
    ASSERT_EQ(first.size(), static_cast<std::size_t>(StatsColumns::Count));
    EXPECT_EQ(first[2], k.e.OperatorName);
    EXPECT_EQ(first[3], k.app.file("STOCK.DAT"));
    EXPECT_EQ(first[4], "STOCK");
    EXPECT_EQ(first[5], "Entry");
    // keystrokes, stored, corrected, verified, mismatches, replaced, refused
    EXPECT_EQ(std::vector<std::string>(first.begin() + 6, first.begin() + 13),
              (std::vector<std::string>{"38", "1", "1", "0", "0", "0", "1"}));
    EXPECT_EQ(first[16], "26.32"); // 1 refused in 38 keys
    const auto second = Columns(lines[2]);
    EXPECT_EQ(second[5], "Verify");
    EXPECT_EQ(second[6], "0");
}

TEST(StatsLog, ALogThatCannotBeWrittenIsSaidOnceAndNeverStopsClosing)
{
    Keying k;
    std::filesystem::create_directory(k.app.path() / "STOCK.kvstats");
    k.e.file.mnuClose_Click();
    k.open("STOCK.DAT", "STOCK");
    k.e.file.mnuClose_Click();
    int said = 0;
    for (const std::string& t : k.dialogs.texts())
        said += text::Contains(t, "statistics of this file could not be written");
    EXPECT_EQ(said, 1);
    EXPECT_FALSE(k.e.file.DataFileNo.isOpen());
    EXPECT_TRUE(k.e.win.mnuOpen);
}

TEST(VerifyLog, ARowThatCannotReachTheDiskLeavesTheStoredRecordAsItWas)
{
    struct Row {
        const char* name;
        void (*fault)(FaultyFileIo&);
    } const rows[] = {
        {"the write fails",
         [](FaultyFileIo& io) {
             io.writeOnce = FaultyFileIo::Once{0, ENOSPC};
         }},
        {"the flush fails",
         [](FaultyFileIo& io) {
             io.syncOnce = FaultyFileIo::Once{0, EIO};
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Keying k;
        k.e.mnuVerify_Click();
        k.key("Ctrl+Home");
        k.type("00001FIRST   001.");
        k.key("Backspace");
        r.fault(k.io);
        k.type("9");
        EXPECT_EQ(k.app.read("STOCK.DAT"), Stored);
        EXPECT_FALSE(std::filesystem::exists(k.app.path() / "STOCK.kvverify"));
        EXPECT_TRUE(text::Contains(k.lastBox(), "verification row could not be written first"))
            << k.lastBox();
        EXPECT_TRUE(text::Contains(k.lastBox(), "it is not stored"));
        EXPECT_EQ(k.e.rec.CurRec, 1);
        EXPECT_EQ(k.e.rec.RecBuf.substr(0, 18), "00001FIRST   001.9");
        // Once the disk takes it, stepping on stores the row and then the record.
        k.key("Down");
        EXPECT_EQ(k.records("STOCK.DAT")[0], "00001FIRST   001.9a");
        EXPECT_EQ(Lines(k.app.read("STOCK.kvverify")).size(), 2u);
    }
}

TEST(VerifyLog, AReplacementNeverStoredLeavesNoRow)
{
    Keying k;
    k.e.mnuVerify_Click();
    k.key("Ctrl+Home");
    k.key("Backspace");
    k.type("7"); // replaces the first position, then the record is left unfinished
    k.dialogs.answers.push_back(Dialogs::Answer::Yes);
    k.e.file.mnuClose_Click();
    EXPECT_EQ(k.app.read("STOCK.DAT"), Stored);
    EXPECT_FALSE(std::filesystem::exists(k.app.path() / "STOCK.kvverify"));
}

TEST(VerifyLog, CharactersCsvMustQuoteAreQuoted)
{
    Keying k;
    VerifyLog::Row row;
    row.time = 0;
    row.record = 12;
    row.position = 3;
    row.field = 1;
    row.fieldType = 'P';
    row.stored = ',';
    row.keyed = '"';
    const std::string line = k.e.verifyLog.Line(row);
    EXPECT_TRUE(line.ends_with(",12,3,1,P,\",\",\"\"\"\",third key\n")) << line;
}

TEST(LogFile, NamesTimesAndAppends)
{
    struct Name {
        const char* data;
        const char* log;
    } const names[] = {
        {"/d/STOCK.DAT", "/d/STOCK.kvstats"}, {"/d/stock.dat", "/d/stock.kvstats"},
        {"/d/STOCK", "/d/STOCK.kvstats"},     {"/d.v2/STOCK", "/d.v2/STOCK.kvstats"},
        {"/d/.hidden", "/d/.hidden.kvstats"}, {"/d/a.b.dat", "/d/a.b.kvstats"},
    };
    for (const Name& n : names)
        EXPECT_EQ(LogFile::BesideDataFile(n.data, ".kvstats"), n.log) << n.data;

    const std::string oldTz = std::getenv("TZ") ? std::getenv("TZ") : "";
    setenv("TZ", "XYZ-1:30", 1);
    tzset();
    EXPECT_EQ(LogFile::IsoLocalTime(0), "1970-01-01T01:30:00+01:30");
    setenv("TZ", oldTz.c_str(), 1);
    tzset();

    TempDir dir;
    SystemFileIo io;
    const std::string log = dir.file("A.kvstats");
    ASSERT_TRUE(LogFile::Append(io, log, "h", "1\n"));
    ASSERT_TRUE(LogFile::Append(io, log, "h", "2\n3\n"));
    EXPECT_EQ(dir.read("A.kvstats"), "h\n1\n2\n3\n");
    // A FIFO in the log's place is refused at once rather than waited on.
    const std::string fifo = dir.file("F.kvstats");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto refused = LogFile::Append(io, fifo, "h", "1\n");
    ASSERT_FALSE(refused);
    EXPECT_TRUE(text::Contains(refused.error().message, "a named pipe (FIFO), not a file"))
        << refused.error().message;
}
