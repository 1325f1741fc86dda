#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/FieldTotals.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"
#include "batch/RecordLayout.h"
#include "batch/RunningTotals.h"
#include "common/SystemFileIo.h"
#include "formats/FormatState.h"
#include "tests/support/TempDir.h"

namespace
{

using Kind = RecordStore::Change::Kind;
using Records = std::vector<std::string>;

// Pair a: number, name, amount with two decimals; pair b: other fields over the same places.
RecordLayout Mixed()
{
    FormatState f;
    f.FmtCount = 2;
    f.FmtLines[1] = "N--A---R--.--E";
    f.HeadLines[1] = "NO NAME AMOUNT";
    f.FmtLines[2] = "B--M--N-N--.-E";
    f.RecLen = 14;
    return RecordLayout::Of(f);
}

// A pair a record whose amount is the six characters given.
std::string A(const std::string& amount)
{
    return "001ALFA" + amount + "a";
}
const std::string OtherPair = "  1AB 12345.6b";

struct Step {
    Kind kind;
    int slot;
    std::string record; // without CR LF; none for Delete
};

// The file as the changes leave it, recounted from scratch by korvalen-tool's count.
struct File {
    explicit File(Records start = {}) : records(std::move(start)) {}

    TempDir dir;
    SystemFileIo io;
    Records records;

    void apply(const Step& s)
    {
        const auto at = records.begin() + (s.slot - 1);
        if (s.kind == Kind::Written && s.slot == static_cast<int>(records.size()) + 1)
            records.push_back(s.record);
        else if (s.kind == Kind::Written)
            *at = s.record;
        else if (s.kind == Kind::Inserted)
            records.insert(at, s.record);
        else
            records.erase(at);
    }
    LineReader reader()
    {
        std::string bytes;
        for (const std::string& r : records)
            bytes += r + "\r\n";
        auto in = LineReader::Open(io, dir.write("A.DAT", bytes));
        if (!in)
            throw std::runtime_error(in.error().message);
        return std::move(in).value();
    }
    Result<Totals> recount(const RecordLayout& layout, int field)
    {
        const PairLayout& pair = layout.pairs().front();
        FieldTotals full(layout, pair, pair.fields[static_cast<std::size_t>(field - 1)]);
        auto out = OutputSink::ToFile(io, dir.file("out.txt"));
        if (!out)
            throw std::runtime_error(out.error().message);
        LineReader in = reader();
        return full.run(in, out.value());
    }
};

std::string Shown(const std::optional<Decimal>& d)
{
    return d ? d->str() : "-";
}

void ExpectSame(const Result<Totals>& running, const Result<Totals>& full)
{
    ASSERT_EQ(running.ok(), full.ok()) << (full ? running.error() : full.error()).message;
    if (!full) {
        EXPECT_EQ(running.error().message, full.error().message);
        return;
    }
    const Totals& r = running.value();
    const Totals& f = full.value();
    EXPECT_EQ(r.count, f.count);
    EXPECT_EQ(r.blank, f.blank);
    EXPECT_EQ(r.invalid, f.invalid);
    EXPECT_EQ(r.sum.str(), f.sum.str());
    EXPECT_EQ(r.min, f.min) << Shown(r.min) << " against " << Shown(f.min);
    EXPECT_EQ(r.max, f.max) << Shown(r.max) << " against " << Shown(f.max);
}

Step W(int slot, std::string record)
{
    return {Kind::Written, slot, std::move(record)};
}
Step I(int slot, std::string record)
{
    return {Kind::Inserted, slot, std::move(record)};
}
Step D(int slot)
{
    return {Kind::Deleted, slot, {}};
}

} // namespace

// Each change is applied to the running totals and to the file; after every one the running
// figures equal a full count of the file, and at the end they are the ones given.
TEST(RunningTotals, EachChangeLeavesTheFiguresOfAFullCount)
{
    struct Row {
        const char* name;
        Records start;
        std::vector<Step> steps;
        std::string end; // count, sum, min, max, blank, invalid at the end
    };
    const Records three{A("001.00"), A("002.00"), A("003.00")};
    const Row rows[] = {
        {"written at the end of an empty file",
         {},
         {W(1, A("000.10")), W(2, A("000.20"))},
         "2 0.30 0.10 0.20 0 0"},
        {"overwritten first, middle and last",
         three,
         {W(1, A("005.00")), W(2, A("000.50")), W(3, A("009.00"))},
         "3 14.50 0.50 9.00 0 0"},
        {"inserted first, middle and after the last",
         three,
         {I(1, A("004.00")), I(3, A("000.25")), I(6, A("007.00"))},
         "6 17.25 0.25 7.00 0 0"},
        {"deleted first, middle and last",
         {A("001.00"), A("002.00"), A("003.00"), A("004.00")},
         {D(1), D(2), D(2), D(1)},
         "0 0 - - 0 0"},
        {"the minimum and the maximum overwritten",
         three,
         {W(1, A("002.50")), W(3, A("001.50")), W(2, A("001.75"))},
         "3 5.75 1.50 2.50 0 0"},
        {"the minimum and the maximum deleted", three, {D(1), D(2)}, "1 2.00 2.00 2.00 0 0"},
        {"one of two equal minimums overwritten, then the other",
         {A("001.00"), A("005.00"), A("001.00")},
         {W(1, A("003.00")), W(3, A("004.00"))},
         "3 12.00 3.00 5.00 0 0"},
        {"blank and no number in and out",
         three,
         {W(2, A("      ")), W(1, A("01X.00")), I(1, A("  .   ")), W(2, A("006.00")), D(1),
          W(1, A("      "))},
         "1 3.00 3.00 3.00 2 0"},
        {"records of another pair",
         three,
         {W(2, OtherPair), I(1, OtherPair), W(1, A("002.00")), D(3), W(3, OtherPair)},
         "2 3.00 1.00 2.00 0 0"},
        // The sum has as many digits after the point as the numbers it holds.
        {"fewer digits after the point once the last of more goes",
         {A("   1.5"), A("002.25"), A("     4")},
         {D(2), W(1, A("     2")), W(2, A("  0.75"))},
         "2 2.75 0.75 2 0 0"},
    };
    const RecordLayout layout = Mixed();
    const PairLayout& pair = layout.pairs().front();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        File file(row.start);
        RunningTotals running(TotalledField(layout.recLen(), pair, pair.fields[2]));
        LineReader in = file.reader();
        ASSERT_TRUE(running.load(in));
        ExpectSame(running.totals(), file.recount(layout, 3));
        for (const Step& s : row.steps) {
            SCOPED_TRACE(std::to_string(static_cast<int>(s.kind)) + " at " +
                         std::to_string(s.slot));
            ASSERT_TRUE(
                running.apply({s.kind, s.slot, s.kind == Kind::Deleted ? "" : s.record + "\r\n"}));
            file.apply(s);
            EXPECT_EQ(running.slotCount(), file.records.size());
            ExpectSame(running.totals(), file.recount(layout, 3));
        }
        const Totals t = running.totals().value();
        EXPECT_EQ(std::to_string(t.count) + " " + t.sum.str() + " " + Shown(t.min) + " " +
                      Shown(t.max) + " " + std::to_string(t.blank) + " " +
                      std::to_string(t.invalid),
                  row.end);
    }
}

// A change the slots held cannot take is refused and changes nothing: the file must be read
// again.
TEST(RunningTotals, AChangeBeyondTheSlotsHeldIsRefused)
{
    const RecordLayout layout = Mixed();
    const PairLayout& pair = layout.pairs().front();
    File file({A("001.00"), A("002.00")});
    RunningTotals running(TotalledField(layout.recLen(), pair, pair.fields[2]));
    LineReader in = file.reader();
    ASSERT_TRUE(running.load(in));
    const RecordStore::Change refused[] = {
        {Kind::Written, 4, A("009.00") + "\r\n"},
        {Kind::Inserted, 4, A("009.00") + "\r\n"},
        {Kind::Deleted, 3, {}},
        {Kind::Written, 0, A("009.00") + "\r\n"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(running.apply(c)) << static_cast<int>(c.kind) << " at " << c.slot;
        EXPECT_EQ(running.slotCount(), 2u);
        ExpectSame(running.totals(), file.recount(layout, 3));
    }
}

// A sum past what is kept exactly is refused as the full count refuses it; once records go
// it fits again and is exact.
TEST(RunningTotals, ASumTooLargeToKeepExactlyIsSaidAndComesBack)
{
    FormatState f;
    f.FmtCount = 1;
    f.FmtLines[1] = "N" + std::string(36, '-') + "E";
    f.RecLen = 38;
    const RecordLayout layout = RecordLayout::Of(f);
    const PairLayout& pair = layout.pairs().front();
    const std::string huge = std::string(18, '9') + "." + std::string(18, '9') + "a";
    File file;
    RunningTotals running(TotalledField(layout.recLen(), pair, pair.fields[0]));
    LineReader in = file.reader();
    ASSERT_TRUE(running.load(in));
    int fitted = -1; // records held when the sum first no longer fitted
    for (int n = 1; n <= 200 && fitted < 0; ++n) {
        ASSERT_TRUE(running.apply({Kind::Written, n, huge + "\r\n"}));
        file.apply(W(n, huge));
        if (!running.totals())
            fitted = n - 1;
    }
    ASSERT_GT(fitted, 0) << "the sum never grew too large";
    ExpectSame(running.totals(), file.recount(layout, 1));
    EXPECT_EQ(running.totals().error().message,
              "the total of field 1 is too large to be summed exactly");
    ASSERT_TRUE(running.apply({Kind::Deleted, 1, {}}));
    file.apply(D(1));
    ExpectSame(running.totals(), file.recount(layout, 1));
    EXPECT_EQ(running.totals().value().count, fitted);
}
