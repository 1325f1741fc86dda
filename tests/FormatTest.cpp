#include <gtest/gtest.h>

#include "formats/FormatLoader.h"
#include "formats/FormatNames.h"
#include "formats/FormatState.h"
#include "tests/support/TempDir.h"

namespace
{

// A file holding several formats, with the comment and separator lines operators use.
const std::string Sample = CrLf({
    "* demo formats",
    "-----------------",
    "PAYROLL/2",
    "",
    "N----A-------R--.-E",
    "EMP  NAME   PAY",
    "",
    "N----B----A-------E",
    "EMP  DEPT  NOTE",
    "STOCK",
    "A-----E",
    "",
    "SPACED /2",
    "A----E",
    "head",
    "A----E",
    "head",
    "ZERO/0",
    "N----E",
    "four    blanks",
    "THREE/3 CHAIN",
    "A----E",
    "h1",
    "N----E",
    "h2",
    "M----E",
    "h3",
    "ELEVEN/11",
    "A----E",
    "x",
    "SHORTER/2",
    "A-----E",
    "h",
    "A---E",
    "h",
    "LAST",
    "A----E",
});

struct LoadRow {
    const char* name;
    const char* query;
    int pairs; // 0: the load fails
    int recLen;
    const char* firstFormat;

    friend void PrintTo(const LoadRow& row, std::ostream* os) { *os << row.name; }
};

class LoadFormatTest : public ::testing::TestWithParam<LoadRow>
{
};

TEST_P(LoadFormatTest, FindsTheNamedFormat)
{
    TempDir dir;
    const auto path = dir.write("FILE.FMT", Sample);
    const LoadRow& row = GetParam();
    const auto def = FormatLoader::LoadFormat(path, row.query);
    if (row.pairs == 0) {
        ASSERT_FALSE(def.ok());
        EXPECT_FALSE(def.error().message.empty());
        return;
    }
    ASSERT_TRUE(def.ok()) << def.error().message;
    EXPECT_EQ(def->FmtCount, row.pairs);
    EXPECT_EQ(def->RecLen, row.recLen);
    EXPECT_EQ(def->FmtLines[1], row.firstFormat);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LoadFormatTest,
    ::testing::Values(LoadRow{"ListEntryWithSuffix", "payroll/2-80", 2, 19, "N----A-------R--.-E"},
                      LoadRow{"PlainName", "STOCK", 1, 7, "A-----E"},
                      LoadRow{"LowerCase", "stock", 1, 7, "A-----E"},
                      LoadRow{"BlankBeforeSlashIsPartOfName", "SPACED", 0, 0, ""},
                      LoadRow{"NameWithItsBlank", "SPACED /2", 2, 6, "A----E"},
                      LoadRow{"ZeroCountIsOnePair", "ZERO", 1, 6, "N----E"},
                      LoadRow{"WordsAfterCountIgnored", "THREE", 3, 6, "A----E"},
                      LoadRow{"ElevenPairsRefused", "ELEVEN", 0, 0, ""},
                      LoadRow{"MissingFormat", "NOSUCH", 0, 0, ""},
                      LoadRow{"EmptyNameFindsNothing", "", 0, 0, ""},
                      LoadRow{"RecLenFromLastPair", "SHORTER", 2, 5, "A-----E"},
                      LoadRow{"FileEndsInsidePair", "LAST", 0, 0, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LoadFormat, HeadingsArePaddedOrBlanked)
{
    TempDir dir;
    const auto path = dir.write("FILE.FMT", Sample);
    const auto payroll = FormatLoader::LoadFormat(path, "PAYROLL");
    ASSERT_TRUE(payroll.ok());
    EXPECT_EQ(payroll->HeadLines[1], "EMP  NAME   PAY   "); // padded to RecLen - 1
    EXPECT_EQ(payroll->HeadLines[2], "EMP  DEPT  NOTE   ");
    EXPECT_EQ(payroll->FmtLines[2], "N----B----A-------E");

    const auto zero = FormatLoader::LoadFormat(path, "ZERO");
    ASSERT_TRUE(zero.ok());
    EXPECT_EQ(zero->HeadLines[1], std::string(5, ' ')) << "four blanks in a row blank it";
}

TEST(LoadFormat, CommentLineMatchingTheNameHandsOverToTheNextLine)
{
    TempDir dir;
    // The matching line holds "*", so the next line free of separators is the name line.
    const auto path =
        dir.write("FILE.FMT", CrLf({"ORDERS * old", "ORDERS/2", "A----E", "a", "N----E", "n"}));
    const auto def = FormatLoader::LoadFormat(path, "ORDERS");
    ASSERT_TRUE(def.ok()) << def.error().message;
    EXPECT_EQ(def->FmtCount, 2);
    EXPECT_EQ(def->FmtLines[2], "N----E");
}

TEST(LoadFormat, TooManyFieldCodesNamesFormatAndLimit)
{
    TempDir dir;
    std::string line(101, 'A');
    line += "E";
    const auto path = dir.write("FILE.FMT", CrLf({"WIDE", line, "h"}));
    const auto def = FormatLoader::LoadFormat(path, "WIDE");
    ASSERT_FALSE(def.ok());
    EXPECT_NE(def.error().message.find("WIDE"), std::string::npos);
    EXPECT_NE(def.error().message.find("100"), std::string::npos);

    line = std::string(99, 'N') + "E"; // exactly 100 codes loads
    const auto ok =
        FormatLoader::LoadFormat(dir.write("FILE.FMT", CrLf({"WIDE", line, "h"})), "WIDE");
    EXPECT_TRUE(ok.ok());
}

TEST(LoadFormat, UnreadableFileIsAnErrorNotACrash)
{
    TempDir dir;
    EXPECT_FALSE(FormatLoader::LoadFormat(dir.file("FILE.FMT"), "X").ok());
    std::filesystem::create_directory(dir.path() / "FOLDER.FMT");
    EXPECT_FALSE(FormatLoader::LoadFormat(dir.file("FOLDER.FMT"), "X").ok());
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>((i * 7919) % 256));
    EXPECT_FALSE(FormatLoader::LoadFormat(dir.write("JUNK.FMT", junk), "PAYROLL").ok());
}

struct FieldRow {
    const char* name;
    const char* line;
    int recLen;
    int fieldCount;
    std::vector<Field> fields;

    friend void PrintTo(const FieldRow& row, std::ostream* os) { *os << row.name; }
};

class FieldTableTest : public ::testing::TestWithParam<FieldRow>
{
};

TEST_P(FieldTableTest, Builds)
{
    const FieldRow& row = GetParam();
    FormatState f;
    f.FmtLines[1] = row.line;
    f.RecLen = row.recLen;
    f.FmtNo = 1;
    f.BuildFieldTable();
    EXPECT_EQ(f.FmtLine, row.line);
    ASSERT_EQ(f.FieldCount, row.fieldCount);
    for (int i = 0; i < row.fieldCount; ++i) {
        SCOPED_TRACE("field " + std::to_string(i + 1));
        EXPECT_EQ(f.Fields[i + 1].Start, row.fields[i].Start);
        EXPECT_EQ(f.Fields[i + 1].Len, row.fields[i].Len);
        EXPECT_EQ(f.Fields[i + 1].Typ, row.fields[i].Typ);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FieldTableTest,
    ::testing::Values(
        FieldRow{"OneField", "A-----E", 7, 1, {{1, 6, 'A'}}},
        FieldRow{
            "FourFields", "N----A-------R--.-E", 19, 3, {{1, 5, 'N'}, {6, 8, 'A'}, {14, 5, 'R'}}},
        FieldRow{"DecimalContinuesField", "N---.-E", 7, 1, {{1, 6, 'N'}}},
        FieldRow{"BlankIsAOneColumnField", "A- N-E", 6, 3, {{1, 2, 'A'}, {3, 1, ' '}, {4, 2, 'N'}}},
        FieldRow{"TrailingDashLosesLastField", "A--N--", 6, 1, {{1, 3, 'A'}}},
        FieldRow{
            "ShorterLineGetsBlankFields", "A--E", 6, 3, {{1, 3, 'A'}, {4, 1, 'E'}, {5, 1, ' '}}},
        FieldRow{"NoCodesAtAll", "-----", 5, 0, {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FormatNames, ListsNameLinesWithTheNextLineLength)
{
    TempDir dir;
    const auto path = dir.write("FILE.FMT", CrLf({
                                                "* comment Line",
                                                "------------------",
                                                "PAYROLL/2",
                                                "N----A-------R--.-E",
                                                "a heading that is long enough",
                                                "ThisNameIsFarTooLongToList",
                                                "STOCK",
                                                "N------------------------------",
                                                "Dots.InName",
                                                "A----E",
                                                "9LIVES",
                                                "A----E",
                                                "TAIL",
                                            }));
    const auto names = FormatNames::ReadFormatNames(path);
    // The long heading is no name (it has 20 or more characters), a name on the last line
    // has no length to show.
    EXPECT_EQ(names, (std::vector<std::string>{"PAYROLL/2-19", "STOCK-31"}));
}

TEST(FormatNames, ShortHeadingIsListedTooButDoesNotHideTheNextFormat)
{
    TempDir dir;
    const auto names = FormatNames::ReadFormatNames(
        dir.write("FILE.FMT", CrLf({"STOCK", "A----E", "Item", "PAYROLL/2", "N----E", "1st",
                                    "N----E", "Pay", "X---E", "2nd"})));
    EXPECT_EQ(names, (std::vector<std::string>{"STOCK-6", "Item-9", "PAYROLL/2-6", "Pay-5"}));
}

TEST(FormatNames, SeedsTheDataFolderFromTheApplicationFolder)
{
    TempDir app, data;
    app.write("file.fmt", CrLf({"STOCK", "A----E", "h"}));
    const auto path = FormatNames::SeedFormatFile(data.path(), app.path());
    EXPECT_EQ(FormatNames::ReadFormatNames(path), (std::vector<std::string>{"STOCK-6"}));
    EXPECT_TRUE(std::filesystem::exists(path));

    TempDir nowhere, empty;
    EXPECT_TRUE(
        FormatNames::ReadFormatNames(FormatNames::SeedFormatFile(empty.path(), nowhere.path()))
            .empty());
}

TEST(FormatNames, PathNameEndsWithTheSeparator)
{
    EXPECT_EQ(FormatNames::PathName("/home/op/data/sales.dat"), "/home/op/data/");
    EXPECT_EQ(FormatNames::PathName("/sales.dat"), "/");
    EXPECT_EQ(FormatNames::PathName("sales.dat"), "");
}

} // namespace
