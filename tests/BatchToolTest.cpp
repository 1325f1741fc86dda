#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "batch/CsvReader.h"
#include "batch/Decimal.h"
#include "batch/RecordLayout.h"
#include "common/SystemFileIo.h"
#include "stats/KeyingCounts.h"
#include "tests/support/TempDir.h"
#include "tool/BatchTool.h"

namespace
{

// PLAIN: number, name, amount with two decimals. MIXED: the same as pair a, and a pair b of
// a blank-filled number, a letters-only name and two numbers, under a heading of no names.
const std::string Formats = CrLf({"PLAIN", "N--A---R--.--E", "NO NAME AMOUNT", "MIXED/2",
                                  "N--A---R--.--E", "NO NAME AMOUNT", "B--M--N-N--.-E", "    "});

struct Station {
    TempDir dir;
    SystemFileIo io;
    std::ostringstream err;
    BatchTool tool{io, err, dir.path() / "app"};

    Station() { dir.write("FILE.FMT", Formats); }
    // The command's output with the folder's path taken out of it.
    std::string out(const std::string& name = "out.txt") const { return local(dir.read(name)); }
    // What went to standard error, the same way.
    std::string said() const { return local(err.str()); }
    std::string local(std::string text) const
    {
        const std::string prefix = dir.path().string() + "/";
        for (auto at = text.find(prefix); at != std::string::npos; at = text.find(prefix))
            text.erase(at, prefix.size());
        return text;
    }
};

struct Case {
    const char* name;
    const char* format;
    std::string data;
    int status;
    std::string output;
};

// A row of the statistics log as the station writes it, the figures through its own
// StatsColumns::Figures; op and file stand as they are in the CSV.
std::string Opening(const std::string& start, const std::string& op, const KeyingCounts& c,
                    const std::string& file = "/data/A.dat", const std::string& mode = "Entry")
{
    return start + ',' + start + ',' + op + ',' + file + ",CUSTOMER," + mode + ',' +
           StatsColumns::Figures(c) + '\n';
}

const std::string StatsHead = std::string(StatsColumns::Header) + "\n";
const std::string VerifyHead = std::string(VerifyColumns::Header) + "\n";
const std::string Day11 = "2026-12-11T09:00:00+01:00";
const std::string Day12 = "2026-12-12T09:00:00+01:00";

TEST(BatchTool, CheckReportsEachFaultOnceWithItsRecordPositionAndField)
{
    const Case cases[] = {
        {"clean", "PLAIN", CrLf({"001ALFA012.50a", "002beta000.10a"}), 0, "2 records, 0 faults\n"},
        {"each fault once", "PLAIN",
         "001ALFA012.50a\r\n0X1BETA000.10a\r\n002B_TA000.20a\r\n003GAMA000.30q\r\n"
         "004DELT000.40aXY005EPSI000.50a",
         1,
         "record 2, position 2, field 1 (type N): \"X\" refused: Invalid Character - X. Numeric "
         "Only\n"
         "record 3, position 5, field 2 (type A): \"_\" refused: Invalid Character\n"
         "record 4, position 14, field 4 (type E): format letter \"q\" is none of a\n"
         "record 5, position 15: expected CR LF, found \"XY\" (the record is not 14 characters "
         "long)\n"
         "record 6, position 15: the last record has no CR LF\n"
         "6 records, 5 faults in 5 records\n"},
        {"several pairs, a point only R may fill", "MIXED",
         CrLf({"001ALFA012500a", "  1AB 12345.6b", "  1A1 12345.6b", "  2AB 1234506b"}), 1,
         "record 3, position 5, field 2 (type M): \"1\" refused: Alpha only\n"
         "record 4, position 12, field 4 (type N): \"0\" refused: Only decimal point '.' "
         "allowed\n"
         "4 records, 2 faults in 2 records\n"},
        {"fragment at the end", "PLAIN", CrLf({"001ALFA012.50a"}) + "00", 1,
         "record 2: a fragment of 2 bytes after the last whole record\n1 record, 1 fault\n"},
        {"file of the wrong length", "PLAIN", CrLf({"001ALFA012.5a"}), 1,
         "record 1: the first line is 13 characters long, the format's records 14\n"
         "0 records, 1 fault\n"},
        {"empty file", "PLAIN", "", 0, "0 records, 0 faults\n"},
    };
    for (const Case& c : cases) {
        Station s;
        const int status =
            s.tool.check(s.dir.write("A.DAT", c.data), {c.format, ""}, s.dir.file("out.txt"));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(s.out(), c.output) << c.name;
        EXPECT_EQ(s.err.str(), "") << c.name;
    }
}

TEST(BatchTool, ExportWritesNumbersTrimmedTextAndQuotesThatLoadBack)
{
    struct ExportCase {
        const char* name;
        const char* format;
        ExportOptions options;
        std::string data;
        int status;
        std::string output;
    };
    using F = ExportOptions::Form;
    const std::string plain =
        CrLf({"001ALFA012.50a", "002A,\"B000.10a", "003\xE9t\xE9       a", "0X1    000.00a"});
    const std::string mixed = CrLf({"001ALFA012.50a", "  1AB 12345.6b"});
    const ExportCase cases[] = {
        {"csv, heading names",
         "PLAIN",
         {F::Csv, false},
         plain,
         0,
         "NO,NAME,AMOUNT\r\n1,ALFA,12.50\r\n2,\"A,\"\"B\",0.10\r\n3,\xC3\xA9t\xC3\xA9,\r\n"
         "0X1,,0.00\r\n"},
        {"csv raw keeps blanks",
         "PLAIN",
         {F::Csv, true},
         plain,
         0,
         "NO,NAME,AMOUNT\r\n1,ALFA,12.50\r\n2,\"A,\"\"B\",0.10\r\n3,\xC3\xA9t\xC3\xA9 ,\r\n"
         "0X1,    ,0.00\r\n"},
        {"jsonl",
         "PLAIN",
         {F::Jsonl, false},
         plain,
         0,
         "{\"NO\":1,\"NAME\":\"ALFA\",\"AMOUNT\":12.50}\n"
         "{\"NO\":2,\"NAME\":\"A,\\\"B\",\"AMOUNT\":0.10}\n"
         "{\"NO\":3,\"NAME\":\"\xC3\xA9t\xC3\xA9\",\"AMOUNT\":null}\n"
         "{\"NO\":\"0X1\",\"NAME\":\"\",\"AMOUNT\":0.00}\n"},
        {"several pairs csv, a heading without names",
         "MIXED",
         {F::Csv, false},
         mixed,
         0,
         "format,NO / F1,NAME / F2,AMOUNT / F3,F4\r\na,1,ALFA,12.50,\r\nb,1,AB,12,345.6\r\n"},
        {"several pairs jsonl",
         "MIXED",
         {F::Jsonl, false},
         mixed,
         0,
         "{\"format\":\"a\",\"NO\":1,\"NAME\":\"ALFA\",\"AMOUNT\":12.50}\n"
         "{\"format\":\"b\",\"F1\":1,\"F2\":\"AB\",\"F3\":12,\"F4\":345.6}\n"},
        {"fragment and a letter of no pair left out",
         "PLAIN",
         {F::Csv, false},
         CrLf({"001ALFA012.50a", "002BETA000.10x"}) + "00",
         1,
         "NO,NAME,AMOUNT\r\n1,ALFA,12.50\r\n"},
        {"empty file", "PLAIN", {F::Csv, false}, "", 0, "NO,NAME,AMOUNT\r\n"},
    };
    for (const ExportCase& c : cases) {
        Station s;
        const int status = s.tool.exportRecords(s.dir.write("A.DAT", c.data), {c.format, ""},
                                                c.options, s.dir.file("out.txt"));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(s.out(), c.output) << c.name;
    }
    Station s;
    s.tool.exportRecords(s.dir.write("A.DAT", CrLf({"001ALFA012.50a", "002BETA000.10x"}) + "00"),
                         {"PLAIN", ""}, {}, s.dir.file("out.txt"));
    EXPECT_EQ(s.err.str(), "record 2 left out: its format letter is none of a\n"
                           "record 3 left out: a fragment, not a whole record\n");
}

TEST(BatchTool, CompareNamesEachDifferingFieldAndTheRecordsOfOneFileOnly)
{
    struct CompareCase {
        const char* name;
        const char* format;
        std::string a, b;
        int status;
        std::string output;
    };
    const std::string a = CrLf({"001ALFA012.50a", "002BETA000.10a", "003GAMA000.20a"});
    const CompareCase cases[] = {
        {"same", "PLAIN", a, a, 0,
         "3 records compared, 0 differing (0 fields), 0 only in A.DAT, 0 only in B.DAT\n"},
        {"two fields of one record", "PLAIN", a,
         CrLf({"001ALFA012.50a", "002BETO000.11a", "003GAMA000.20a"}), 1,
         "record 2, field 2 (NAME): A.DAT \"BETA\" / B.DAT \"BETO\"\n"
         "record 2, field 3 (AMOUNT): A.DAT \"000.10\" / B.DAT \"000.11\"\n"
         "3 records compared, 1 differing (2 fields), 0 only in A.DAT, 0 only in B.DAT\n"},
        {"another pair", "MIXED", CrLf({"001ALFA012.50a"}), CrLf({"  1AB 12345.6b"}), 1,
         "record 1, format letter: A.DAT \"a\" / B.DAT \"b\"\n"
         "1 record compared, 1 differing (1 field), 0 only in A.DAT, 0 only in B.DAT\n"},
        {"records only in A", "PLAIN", a, CrLf({"001ALFA012.50a"}), 1,
         "records 2 to 3 only in A.DAT\n"
         "1 record compared, 0 differing (0 fields), 2 only in A.DAT, 0 only in B.DAT\n"},
        {"a record only in B, a line end missing", "PLAIN", "001ALFA012.50a",
         CrLf({"001ALFA012.50a", "002BETA000.10a"}), 1,
         "record 1, line end: A.DAT \"\" / B.DAT \"\\x0D\\x0A\"\n"
         "record 2 only in B.DAT\n"
         "1 record compared, 1 differing (1 field), 0 only in A.DAT, 1 only in B.DAT\n"},
        {"empty files", "PLAIN", "", "", 0,
         "0 records compared, 0 differing (0 fields), 0 only in A.DAT, 0 only in B.DAT\n"},
    };
    for (const CompareCase& c : cases) {
        Station s;
        const int status = s.tool.compare(s.dir.write("A.DAT", c.a), s.dir.write("B.DAT", c.b),
                                          {c.format, ""}, s.dir.file("out.txt"));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(s.out(), c.output) << c.name;
    }
}

TEST(BatchTool, TotalsAreExactAndBalanceAgainstTheExpectedSum)
{
    struct TotalsCase {
        const char* name;
        const char* format;
        std::string data;
        int field;
        char pair;
        const char* expect; // nullptr: none
        int status;
        std::string output;
    };
    const std::string plain = CrLf({"001ALFA000.10a", "002BETA000.20a"});
    const TotalsCase cases[] = {
        {"with a decimal point", "PLAIN", plain, 3, 'a', nullptr, 0,
         "A.DAT, field 3 (AMOUNT, type R) of pair a\ncount 2\nsum 0.30\nminimum 0.10\n"
         "maximum 0.20\n"},
        {"without a decimal point", "PLAIN", plain, 1, 'a', nullptr, 0,
         "A.DAT, field 1 (NO, type N) of pair a\ncount 2\nsum 3\nminimum 1\nmaximum 2\n"},
        {"balanced", "PLAIN", plain, 3, 'a', "0.3", 0,
         "A.DAT, field 3 (AMOUNT, type R) of pair a\ncount 2\nsum 0.30\nminimum 0.10\n"
         "maximum 0.20\nexpected 0.3\ndifference 0.00 (balanced)\n"},
        {"not balanced", "PLAIN", plain, 3, 'a', "0.35", 1,
         "A.DAT, field 3 (AMOUNT, type R) of pair a\ncount 2\nsum 0.30\nminimum 0.10\n"
         "maximum 0.20\nexpected 0.35\ndifference -0.05 (does not balance)\n"},
        {"blank and not numbers", "PLAIN", CrLf({"001ALFA      a", "0X1BETA000.20a"}), 1, 'a',
         nullptr, 1,
         "record 2, field 1 (type N): \"0X1\" is not a number\n"
         "A.DAT, field 1 (NO, type N) of pair a\ncount 1\nsum 1\nminimum 1\nmaximum 1\n"
         "not numbers 1\n"},
        {"only the records of its pair", "MIXED",
         CrLf({"001ALFA012.50a", "  1AB 12345.6b", "   AB 01002.4b"}) + "0", 4, 'b', nullptr, 0,
         "A.DAT, field 4 (F4, type N) of pair b\ncount 2\nsum 348.0\nminimum 2.4\n"
         "maximum 345.6\n"},
        {"blank-filled", "MIXED", CrLf({"  1AB 12345.6b", "   AB 01002.4b"}), 1, 'b', nullptr, 0,
         "A.DAT, field 1 (F1, type B) of pair b\ncount 1\nsum 1\nminimum 1\nmaximum 1\nblank 1\n"},
        {"empty file", "PLAIN", "", 3, 'a', "0", 0,
         "A.DAT, field 3 (AMOUNT, type R) of pair a\ncount 0\nsum 0\nminimum -\nmaximum -\n"
         "expected 0\ndifference 0 (balanced)\n"},
    };
    for (const TotalsCase& c : cases) {
        Station s;
        TotalsRequest request{c.field, c.pair, {}};
        if (c.expect != nullptr)
            request.expect = c.expect;
        const int status = s.tool.totals(s.dir.write("A.DAT", c.data), {c.format, ""}, request,
                                         s.dir.file("out.txt"));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(s.out(), c.output) << c.name;
    }
}

TEST(BatchTool, RefusalsAreOneLineNamingTheCauseWithStatusTwo)
{
    struct Refusal {
        const char* name;
        std::function<int(Station&)> run;
        std::string says;
    };
    const auto req = [](int field, char pair, std::optional<std::string> expect) {
        return TotalsRequest{field, pair, std::move(expect)};
    };
    const Refusal cases[] = {
        {"missing data file",
         [](Station& s) {
             return s.tool.check(s.dir.file("NO.DAT"), {"PLAIN", ""}, "");
         },
         "NO.DAT: No such file or directory"},
        {"unknown format",
         [](Station& s) {
             return s.tool.check(s.dir.write("A.DAT", ""), {"OTHER", ""}, "");
         },
         "Format OTHER was not found in "},
        {"unreadable FILE.FMT",
         [](Station& s) {
             std::filesystem::create_directory(s.dir.file("DIR.FMT"));
             return s.tool.check(s.dir.write("A.DAT", ""), {"PLAIN", s.dir.file("DIR.FMT")}, "");
         },
         "DIR.FMT (it is a folder, not a file)"},
        {"no FILE.FMT anywhere",
         [](Station& s) {
             std::filesystem::remove(s.dir.file("FILE.FMT"));
             return s.tool.check(s.dir.write("A.DAT", ""), {"PLAIN", ""}, "");
         },
         "no FILE.FMT in "},
        {"a text field's total",
         [&](Station& s) {
             return s.tool.totals(s.dir.write("A.DAT", ""), {"PLAIN", ""}, req(2, 'a', {}), "");
         },
         "--field 2: NAME is of type A, not a numeric field"},
        {"a field past the pair",
         [&](Station& s) {
             return s.tool.totals(s.dir.write("A.DAT", ""), {"PLAIN", ""}, req(4, 'a', {}), "");
         },
         "--field 4: pair a of PLAIN has fields 1 to 3"},
        {"a pair of no format",
         [&](Station& s) {
             return s.tool.totals(s.dir.write("A.DAT", ""), {"PLAIN", ""}, req(1, 'b', {}), "");
         },
         "--pair b: format PLAIN has the pairs a"},
        {"an expected total that is no number",
         [&](Station& s) {
             return s.tool.totals(s.dir.write("A.DAT", ""), {"PLAIN", ""}, req(1, 'a', "1,5"), "");
         },
         "--expect 1,5: not a decimal number"},
        {"-o in a missing folder",
         [](Station& s) {
             return s.tool.check(s.dir.write("A.DAT", ""), {"PLAIN", ""}, s.dir.file("no/out"));
         },
         "no/out: cannot be created"},
        {"cut of a missing file", [](Station& s) { return s.tool.cut(s.dir.file("NO.DAT")); },
         "NO.DAT could not be read"},
        {"missing statistics log",
         [](Station& s) { return s.tool.stats(s.dir.file("NO.kvstats"), false, ""); },
         "NO.kvstats: No such file or directory"},
        {"an empty statistics log",
         [](Station& s) { return s.tool.stats(s.dir.write("A.kvstats", ""), false, ""); },
         "A.kvstats: empty, without the header of a statistics log"},
        {"a statistics log under the verification log's header",
         [](Station& s) { return s.tool.stats(s.dir.write("A.kvstats", VerifyHead), false, ""); },
         "A.kvstats: the first line is not the header of a statistics log"},
        {"a header a column short",
         [](Station& s) {
             const std::string head(StatsColumns::Header);
             return s.tool.stats(s.dir.write("A.kvstats", head.substr(0, head.rfind(',')) + "\n"),
                                 false, "");
         },
         "A.kvstats: the first line is not the header of a statistics log"},
        {"stats -o in a missing folder",
         [](Station& s) {
             return s.tool.stats(s.dir.write("A.kvstats", StatsHead), true, s.dir.file("no/out"));
         },
         "no/out: cannot be created"},
        {"a verification log under the statistics log's header",
         [](Station& s) {
             return s.tool.verifyLog(s.dir.write("A.kvverify", StatsHead), {}, false, "");
         },
         "A.kvverify: the first line is not the header of a verification log"},
        {"missing verification log",
         [](Station& s) { return s.tool.verifyLog(s.dir.file("NO.kvverify"), {}, false, ""); },
         "NO.kvverify: No such file or directory"},
        {"--stats naming a missing file",
         [](Station& s) {
             return s.tool.verifyLog(s.dir.write("A.kvverify", VerifyHead),
                                     {s.dir.file("NO.kvstats"), {}}, false, "");
         },
         "NO.kvstats: No such file or directory"},
        {"a statistics log beside under another header",
         [](Station& s) {
             s.dir.write("A.kvstats", "start,end\n");
             return s.tool.verifyLog(s.dir.write("A.kvverify", VerifyHead), {}, false, "");
         },
         "A.kvstats: the first line is not the header of a statistics log"},
        {"a folder beside named as the statistics log",
         [](Station& s) {
             std::filesystem::create_directory(s.dir.file("A.kvstats"));
             return s.tool.verifyLog(s.dir.write("A.kvverify", VerifyHead), {}, false, "");
         },
         "A.kvstats: it is a folder, not a file"},
    };
    for (const Refusal& c : cases) {
        Station s;
        EXPECT_EQ(c.run(s), BatchTool::Usage) << c.name;
        const std::string err = s.err.str();
        EXPECT_NE(err.find(c.says), std::string::npos) << c.name << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name << ": " << err;
    }
}

// Slots cross the 1 MiB read blocks at every offset; none is lost or split.
TEST(BatchTool, LargeFilesAreReadInBlocksWithoutLosingASlot)
{
    Station s;
    std::string data;
    for (int i = 0; i < 80000; ++i)
        data += "001ALFA000.01a\r\n";
    const std::string file = s.dir.write("A.DAT", data);
    EXPECT_EQ(s.tool.check(file, {"PLAIN", ""}, s.dir.file("out.txt")), 0);
    EXPECT_EQ(s.out(), "80000 records, 0 faults\n");
    EXPECT_EQ(s.tool.totals(file, {"PLAIN", ""}, {3, 'a', "800"}, s.dir.file("out.txt")), 0);
    EXPECT_NE(s.out().find("count 80000\nsum 800.00\n"), std::string::npos) << s.out();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s.dir.path()), {}), 3)
        << "FILE.FMT, the data file and the output: no copy left behind";
}

TEST(BatchTool, CutWritesTheCopyWithoutFormatLetters)
{
    Station s;
    const std::string file = s.dir.write("A.DAT", CrLf({"001ALFA012.50a", "002BETA000.10a"}));
    EXPECT_EQ(s.tool.cut(file), 0);
    EXPECT_EQ(s.dir.read("A.fil"), CrLf({"001ALFA012.50", "002BETA000.10"}));
}

struct LogCase {
    const char* name;
    std::string log;
    bool csv;
    int status;
    std::string output;
    std::string said;
};

TEST(BatchTool, StatsSumsEachOperatorsDayAndWorksTheRatesOutOfTheSums)
{
    const std::string csvHead =
        "operator,day,openings,keystrokes,keying_seconds,keystrokes_per_hour,records_stored,"
        "records_corrected,records_verified,records_per_hour,refused,refused_per_1000,"
        "mismatches,replaced,replaced_per_1000\r\n";
    // 1,000 keys in 10 minutes (6,000 an hour) and 1,000 in one (60,000): 2,000 in 11
    // minutes are 10,909 an hour, not the mean 33,000; 10 and 20 records 163.6, not 630.
    const std::string speeds =
        Opening(Day11, "anna",
                {.keystrokes = 1000, .stored = 10, .refused = 2, .keyingMs = 600000}) +
        Opening(
            "2026-12-11T14:00:00+01:00", "anna",
            {.keystrokes = 1000, .verified = 20, .mismatches = 1, .replaced = 3, .keyingMs = 60000},
            "/data/A.dat", "Verify");
    const KeyingCounts k100{.keystrokes = 100, .stored = 1, .keyingMs = 36000};
    const LogCase cases[] = {
        {"rates from the sums, not their mean", StatsHead + speeds, true, 0,
         csvHead + "anna,2026-12-11,2,2000,660.0,10909,10,0,20,163.6,2,1.00,1,3,1.50\r\n"
                   "total,,2,2000,660.0,10909,10,0,20,163.6,2,1.00,1,3,1.50\r\n",
         ""},
        {"the text table", StatsHead + speeds + Opening(Day12, "bo", k100), false, 0,
         "operator  day         openings  keystrokes   keying  keys/h  stored  corrected  verified"
         "  records/h  refused  refused/1000  mismatches  replaced  replaced/1000\n"
         "anna      2026-12-11         2        2000  0:11:00   10909      10          0        20"
         "      163.6        2          1.00           1         3           1.50\n"
         "bo        2026-12-12         1         100  0:00:36   10000       1          0         0"
         "      100.0        0          0.00           0         0           0.00\n"
         "total                        3        2100  0:11:36   10862      11          0        20"
         "      160.3        2          0.95           1         3           1.43\n",
         ""},
        {"per operator, then day, the day as written in its own offset",
         StatsHead + Opening(Day12, "bo", {.keystrokes = 100, .stored = 1, .keyingMs = 36000}) +
             Opening(Day12, "anna", {.keystrokes = 200, .stored = 2, .keyingMs = 36000}) +
             Opening("2026-12-11T23:30:00-05:00", "anna",
                     {.keystrokes = 300, .stored = 3, .keyingMs = 36000}) +
             Opening("2026-12-11T10:00:00Z", "bo",
                     {.keystrokes = 400, .stored = 4, .keyingMs = 36000}) +
             Opening(Day11, "anna", {.keystrokes = 500, .stored = 5, .keyingMs = 72000}),
         true, 0,
         csvHead + "anna,2026-12-11,2,800,108.0,26667,8,0,0,266.7,0,0.00,0,0,0.00\r\n"
                   "anna,2026-12-12,1,200,36.0,20000,2,0,0,200.0,0,0.00,0,0,0.00\r\n"
                   "bo,2026-12-11,1,400,36.0,40000,4,0,0,400.0,0,0.00,0,0,0.00\r\n"
                   "bo,2026-12-12,1,100,36.0,10000,1,0,0,100.0,0,0.00,0,0,0.00\r\n"
                   "total,,5,1500,216.0,25000,15,0,0,250.0,0,0.00,0,0,0.00\r\n",
         ""},
        {"quoted commas, quotes and line ends; lines counted through them",
         StatsHead + Opening(Day11, "\"smith, j\"", k100, "\"/data/a \"\"b\"\",\nc.dat\"") +
             Opening(Day11, "\"o\"\"neil\"", k100, "\"/data/\r\n\r\nd.dat\"") +
             Opening(Day11, "smith", k100, "/data/A.dat", "Edit"),
         true, 1,
         csvHead + "\"o\"\"neil\",2026-12-11,1,100,36.0,10000,1,0,0,100.0,0,0.00,0,0,0.00\r\n"
                   "\"smith, j\",2026-12-11,1,100,36.0,10000,1,0,0,100.0,0,0.00,0,0,0.00\r\n"
                   "total,,2,200,72.0,10000,2,0,0,100.0,0,0.00,0,0,0.00\r\n",
         "korvalen-tool: A.kvstats line 7: mode \"Edit\" is none of Entry, Verify, Mixed\n"},
        {"each malformed row named, the others summed",
         StatsHead + Opening(Day11, "anna", k100) +
             "2026-12-11T09:00:00+01:00,2026-12-11T09:00:00+01:00,anna,/data/A.dat,CUSTOMER,"
             "Entry,100,1,0,0,0,0,0,36.0,10000,100.0,0.00\n" +
             Opening(Day11, "anna", {.keystrokes = -3}) +
             Opening("2026-12-11 09:00:00", "anna", k100) +
             Opening("2026-12-11T25:00:00+01:00", "anna", k100) +
             "2026-12-11T09:00:00+01:00,2026-12-11T09:00:00+01:00,anna,/data/A.dat,CUSTOMER,"
             "Entry,100,1,0,0,0,0,0,1.2345,10000,100.0,0.00,0.00\n" +
             "2026-12-11T09:00:00+01:00,2026-12-11T09:00:00+01:00,anna,/data/A.dat,CUSTOMER,"
             "Entry,100,1,0,0,0,0,0,36.0,1e4,100.0,0.00,0.00\n" +
             Opening(Day11, "an\"na", k100) + Opening(Day11, "\"an\"na\"", k100) +
             Opening(Day11, "anna", k100) + Opening(Day11, "\"anna", k100) +
             Opening(Day11, "anna", k100),
         true, 1,
         csvHead + "anna,2026-12-11,2,200,72.0,10000,2,0,0,100.0,0,0.00,0,0,0.00\r\n"
                   "total,,2,200,72.0,10000,2,0,0,100.0,0,0.00,0,0,0.00\r\n",
         "korvalen-tool: A.kvstats line 3: 17 fields where the header has 18\n"
         "korvalen-tool: A.kvstats line 4: keystrokes \"-3\" is not a whole number\n"
         "korvalen-tool: A.kvstats line 5: start \"2026-12-11 09:00:00\" is not a time like "
         "2026-12-11T09:15:02+01:00\n"
         "korvalen-tool: A.kvstats line 6: start \"2026-12-11T25:00:00+01:00\" is not a time "
         "like 2026-12-11T09:15:02+01:00\n"
         "korvalen-tool: A.kvstats line 7: keying_seconds \"1.2345\" is not a number of "
         "seconds\n"
         "korvalen-tool: A.kvstats line 8: keystrokes_per_hour \"1e4\" is not a number\n"
         "korvalen-tool: A.kvstats line 9: a quote inside a field that does not start with "
         "one\n"
         "korvalen-tool: A.kvstats line 10: characters after a field's closing quote\n"
         "korvalen-tool: A.kvstats line 12: a quoted field not closed by the end of the file\n"},
        {"figures whose sum would not fit",
         StatsHead + Opening(Day11, "zed", {.keystrokes = 9'000'000'000'000'000'000}) +
             Opening(Day12, "zed", {.keystrokes = 9'000'000'000'000'000'000}),
         true, 1,
         csvHead + "zed,2026-12-11,1,9000000000000000000,0.0,0,0,0,0,0.0,0,0.00,0,0,0.00\r\n"
                   "total,,1,9000000000000000000,0.0,0,0,0,0,0.0,0,0.00,0,0,0.00\r\n",
         "korvalen-tool: A.kvstats line 3: figures that carry the log's sums past 2^63\n"},
        {"header only", StatsHead, true, 0,
         csvHead + "total,,0,0,0.0,0,0,0,0,0.0,0,0.00,0,0,0.00\r\n", ""},
    };
    for (const LogCase& c : cases) {
        Station s;
        const int status =
            s.tool.stats(s.dir.write("A.kvstats", c.log), c.csv, s.dir.file("out.txt"));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(s.out(), c.output) << c.name;
        EXPECT_EQ(s.said(), c.said) << c.name;
    }
}

// A replacement as the station logs it, in field 2 (type A) at position 5; stored and keyed
// stand as they are in the CSV.
std::string Replaced(const std::string& time, const std::string& op, int record,
                     const std::string& stored, const std::string& keyed, bool thirdKey)
{
    return time + ',' + op + ',' + std::to_string(record) + ",5,2,A," + stored + ',' + keyed + ',' +
           std::string(thirdKey ? VerifyColumns::ThirdKey : VerifyColumns::Backspace) + '\n';
}

TEST(BatchTool, VerifyLogCountsReplacementsPerThousandKeystrokesOfTheStatisticsLog)
{
    struct VerifyCase {
        const char* name;
        std::string log;
        const char* stats; // the statistics log's name; nullptr: none
        bool named;        // given with --stats, else found beside the log
        std::string statsLog;
        std::optional<std::int64_t> record;
        int status;
        std::string output;
        std::string said;
    };
    const std::string head = "operator,day,replaced,by_third_key,by_backspace,records_touched,"
                             "keystrokes,replaced_per_1000\r\n";
    // anna replaces 3 in 1,500 keystrokes (2.00), bo 1 in 400 (2.50): 4 in 1,900 are 2.11,
    // not the mean 2.25.
    const std::string log =
        VerifyHead + Replaced(Day11, "anna", 3, "A", "B", true) +
        Replaced("2026-12-11T10:00:00+01:00", "anna", 3, "\",\"", "\"\"\"\"", true) +
        Replaced("2026-12-11T11:00:00+01:00", "anna", 7, " ", "\xC3\xA9", false) +
        Replaced(Day12, "bo", 3, "1", "2", false);
    const std::string stats =
        StatsHead + Opening(Day11, "anna", {.keystrokes = 1000, .keyingMs = 600000}) +
        Opening("2026-12-11T13:00:00+01:00", "anna", {.keystrokes = 500, .keyingMs = 60000}) +
        Opening(Day12, "bo", {.keystrokes = 400, .keyingMs = 60000}) +
        Opening(Day12, "cy", {.keystrokes = 9000, .keyingMs = 60000});
    const VerifyCase cases[] = {
        {"per operator and day, the statistics log beside",
         log,
         "A.kvstats",
         false,
         stats,
         {},
         0,
         head + "anna,2026-12-11,3,2,1,2,1500,2.00\r\nbo,2026-12-12,1,0,1,1,400,2.50\r\n"
                "total,,4,2,2,2,1900,2.11\r\n",
         ""},
        {"another statistics log named",
         log,
         "OTHER.kvstats",
         true,
         stats,
         {},
         0,
         head + "anna,2026-12-11,3,2,1,2,1500,2.00\r\nbo,2026-12-12,1,0,1,1,400,2.50\r\n"
                "total,,4,2,2,2,1900,2.11\r\n",
         ""},
        {"one record", log, "A.kvstats", false, stats, 3, 0,
         head + "anna,2026-12-11,2,2,0,1,1500,1.33\r\nbo,2026-12-12,1,0,1,1,400,2.50\r\n"
                "total,,3,2,1,1,1900,1.58\r\n",
         ""},
        {"no statistics log",
         log,
         nullptr,
         false,
         "",
         {},
         0,
         head + "anna,2026-12-11,3,2,1,2,,\r\nbo,2026-12-12,1,0,1,1,,\r\ntotal,,4,2,2,2,,\r\n",
         "korvalen-tool: no statistics log A.kvstats: replaced per 1,000 keystrokes left out "
         "(name one with --stats)\n"},
        {"a day the statistics log does not hold",
         log + Replaced(Day11, "bo", 9, "1", "2", true),
         "A.kvstats",
         false,
         stats,
         {},
         0,
         head + "anna,2026-12-11,3,2,1,2,1500,2.00\r\nbo,2026-12-11,1,1,0,1,,\r\n"
                "bo,2026-12-12,1,0,1,1,400,2.50\r\ntotal,,5,3,2,3,,\r\n",
         "korvalen-tool: A.kvstats holds no opening for 1 operator and day of A.kvverify: their "
         "replaced per 1,000 keystrokes left out\n"},
        {"malformed rows in either log named, the others counted",
         log + Replaced(Day11, "anna", 0, "1", "2", true) +
             Replaced(Day11, "anna", 3, "12", "2", true) +
             Replaced(Day11, "anna", 3, "", "2", true) +
             Replaced(Day11, "anna", 3, "1", "\xC3", true) +
             Replaced(Day11, "anna", 3, "1", "2", true).replace(0, 0, "x") +
             "2026-12-11T09:00:00+01:00,anna,3,5,2,7,1,2,Backspace\n" +
             "2026-12-11T09:00:00+01:00,anna,3,5,2,A,1,2,Enter\n" +
             "2026-12-11T09:00:00+01:00,anna,3,5,2,A,1,2\n",
         "A.kvstats",
         false,
         stats + Opening(Day11, "anna", {.keystrokes = 1}, "A", "Edit"),
         {},
         1,
         head + "anna,2026-12-11,3,2,1,2,1500,2.00\r\nbo,2026-12-12,1,0,1,1,400,2.50\r\n"
                "total,,4,2,2,2,1900,2.11\r\n",
         "korvalen-tool: A.kvverify line 6: record \"0\" is not a number from 1\n"
         "korvalen-tool: A.kvverify line 7: stored \"12\" is not one character\n"
         "korvalen-tool: A.kvverify line 8: stored \"\" is not one character\n"
         "korvalen-tool: A.kvverify line 9: keyed \"\xC3\" is not one character\n"
         "korvalen-tool: A.kvverify line 10: time \"x2026-12-11T09:00:00+01:00\" is not a time "
         "like 2026-12-11T09:15:02+01:00\n"
         "korvalen-tool: A.kvverify line 11: field_type \"7\" is not a field type letter\n"
         "korvalen-tool: A.kvverify line 12: accepted \"Enter\" is neither third key nor "
         "Backspace\n"
         "korvalen-tool: A.kvverify line 13: 8 fields where the header has 9\n"
         "korvalen-tool: A.kvstats line 6: mode \"Edit\" is none of Entry, Verify, Mixed\n"},
        {"header only",
         VerifyHead,
         "A.kvstats",
         false,
         StatsHead,
         {},
         0,
         head + "total,,0,0,0,0,0,0.00\r\n",
         ""},
    };
    for (const VerifyCase& c : cases) {
        Station s;
        VerifyLogRequest request{"", c.record};
        if (c.stats != nullptr) {
            const std::string path = s.dir.write(c.stats, c.statsLog);
            if (c.named)
                request.statsFile = path;
        }
        const int status = s.tool.verifyLog(s.dir.write("A.kvverify", c.log), request, true,
                                            s.dir.file("out.txt"));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(s.out(), c.output) << c.name;
        EXPECT_EQ(s.said(), c.said) << c.name;
    }
    // The text table marks what the missing statistics log would have given.
    Station s;
    EXPECT_EQ(s.tool.verifyLog(s.dir.write("A.kvverify", log), {}, false, s.dir.file("out.txt")),
              0);
    EXPECT_EQ(s.out(), "operator  day         replaced  third key  Backspace  records  "
                       "keystrokes  replaced/1000\n"
                       "anna      2026-12-11         3          2          1        2           "
                       "-              -\n"
                       "bo        2026-12-12         1          0          1        1           "
                       "-              -\n"
                       "total                        4          2          2        2           "
                       "-              -\n");
}

// Rows as read, one a line: the line each starts on, its fields, what is wrong with it.
std::string ReadRows(const std::string& bytes)
{
    TempDir dir;
    SystemFileIo io;
    auto in = CsvReader::Open(io, dir.write("A.csv", bytes));
    if (!in)
        return "not opened: " + in.error().message;
    std::string rows;
    for (;;) {
        const auto more = in.value().next();
        if (!more)
            return rows + "failed: " + more.error().message;
        if (!more.value())
            return rows;
        rows += std::to_string(in.value().line()) + ":";
        for (const std::string& f : in.value().fields())
            rows += "[" + f + "]";
        if (!in.value().fault().empty())
            rows += " " + in.value().fault();
        rows += "\n";
    }
}

TEST(CsvReader, ReadsQuotedFieldsAndEitherLineEndCountingLines)
{
    struct CsvCase {
        const char* name;
        std::string bytes;
        std::string rows;
    };
    const CsvCase cases[] = {
        {"LF, CR LF, a last line without one", "a,b\nc,d\r\ne,f", "1:[a][b]\n2:[c][d]\n3:[e][f]\n"},
        {"empty fields", ",\n,,x\n", "1:[][]\n2:[][][x]\n"},
        {"quoted comma, doubled quote, line ends inside",
         "\"a,b\",\"say \"\"hi\"\"\"\n\"1\n2\",\"3\r\n4\"\nz\n",
         "1:[a,b][say \"hi\"]\n2:[1\n2][3\r\n4]\n5:[z]\n"},
        {"blank lines passed over, an empty quoted field is a row", "\n\r\na\n\n\"\"\n",
         "3:[a]\n5:[]\n"},
        {"a CR not before a line end is kept", "a\rb\n", "1:[a\rb]\n"},
        {"a stray quote", "ab\"c,d\n",
         "1:[ab\"c][d] a quote inside a field that does not start "
         "with one\n"},
        {"characters after the closing quote", "\"ab\"c,d\n",
         "1:[abc][d] characters after a field's closing quote\n"},
        {"a quote left open", "a\n\"b,c\nd\n",
         "1:[a]\n2:[b,c\nd\n] a quoted field not closed by the end of the file\n"},
        {"empty file", "", ""},
    };
    for (const CsvCase& c : cases)
        EXPECT_EQ(ReadRows(c.bytes), c.rows) << c.name;
}

// Rows cross the 1 MiB read blocks at every offset of a row; a row past the limit is cut off
// and the one after it read whole.
TEST(CsvReader, LargeFilesAreReadInBlocksAndLongRowsCutOff)
{
    TempDir dir;
    SystemFileIo io;
    const std::string row = "\"a,\"\"b\"\"\",c\r\n";
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += row;
    bytes += std::string(CsvReader::RowBytes + 10, 'x') + "\nlast\n";
    auto in = CsvReader::Open(io, dir.write("A.csv", bytes));
    ASSERT_TRUE(in);
    CsvReader& r = in.value();
    std::int64_t same = 0;
    for (int i = 0; i < 200000; ++i) {
        ASSERT_TRUE(*r.next());
        same += r.fields().size() == 2 && r.fields()[0] == "a,\"b\"" && r.fields()[1] == "c" &&
                r.fault().empty() && r.line() == i + 1;
    }
    EXPECT_EQ(same, 200000);
    ASSERT_TRUE(*r.next());
    EXPECT_EQ(r.fault(), "a row of more than 65536 bytes");
    EXPECT_EQ(r.fields()[0].size(), CsvReader::RowBytes - 1);
    ASSERT_TRUE(*r.next());
    EXPECT_EQ(r.fields()[0], "last");
    EXPECT_EQ(r.line(), 200002);
    EXPECT_FALSE(*r.next());
}

TEST(Decimal, SumsCompareAndParseExactly)
{
    Decimal sum;
    for (int i = 0; i < 1000000; ++i)
        ASSERT_TRUE(sum.add(*Decimal::Parse("0.01")));
    EXPECT_EQ(sum.str(), "10000.00");

    struct ParseCase {
        const char* text;
        bool signedOk;
        const char* shown; // nullptr: refused
    };
    const ParseCase parses[] = {
        {"  012.50 ", false, "12.50"},
        {".5", false, "0.5"},
        {"7.", false, "7"},
        {"-1.5", true, "-1.5"},
        {"-1.5", false, nullptr},
        {"1.2.3", false, nullptr},
        {"   ", false, nullptr},
        {"1 2", false, nullptr},
        {"000000000000000000000001", false, "1"},
        {"1234567890123456789", false, nullptr},
    };
    for (const ParseCase& c : parses) {
        const auto d = Decimal::Parse(c.text, c.signedOk);
        EXPECT_EQ(d.has_value(), c.shown != nullptr) << c.text;
        if (d && c.shown) {
            EXPECT_EQ(d->str(), c.shown) << c.text;
        }
    }
    EXPECT_TRUE(*Decimal::Parse("0.10") == *Decimal::Parse("0.1"));
    EXPECT_TRUE(*Decimal::Parse("9.99") < *Decimal::Parse("10"));
    // An overflow is refused and leaves the number as it was, never wrapped round.
    Decimal big = *Decimal::Parse("999999999999999999.999999999999999999");
    int doublings = 0;
    while (doublings < 64 && big.add(big))
        ++doublings;
    EXPECT_LT(doublings, 64);
    const std::string before = big.str();
    EXPECT_FALSE(big.add(big));
    EXPECT_EQ(big.str(), before);
}

// A heading word belongs to the field it overlaps most; fields under no word are F<n>.
TEST(RecordLayout, HeadingWordsNameTheFieldTheyOverlapMost)
{
    const std::vector<LayoutField> fields = {
        {1, 1, 3, 'N', "N--", {}}, {2, 4, 4, 'A', "A---", {}}, {3, 8, 6, 'R', "R--.--", {}}};
    EXPECT_EQ(RecordLayout::Names(fields, "NO NAME AMOUNT."),
              (std::vector<std::string>{"NO", "NAME", "AMOUNT"}));
    EXPECT_EQ(RecordLayout::Names(fields, "  CUSTNAME"),
              (std::vector<std::string>{"F1", "CUSTNAME", "F3"}));
    EXPECT_EQ(RecordLayout::Names(fields, ""), (std::vector<std::string>{"F1", "F2", "F3"}));
}

} // namespace
