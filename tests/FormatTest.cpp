#include <gtest/gtest.h>

#include "common/SystemFileIo.h"
#include "formats/FormatLoader.h"
#include "formats/FormatNames.h"
#include "formats/FormatState.h"
#include "tests/support/TempDir.h"

namespace
{

SystemFileIo io;

// A format file from lines joined by "|", each ended with CR LF.
std::string Lines(const std::string& joined)
{
    std::string out;
    for (const char c : joined + "|")
        out += c == '|' ? std::string("\r\n") : std::string(1, c);
    return out;
}

// Several formats, with the comment, blank and separator lines operators use.
const std::string Sample = Lines("* demo formats|-----------------|"
                                 "PAYROLL/2||N----A-------R--.-E|EMP  NAME   PAY||"
                                 "N----B----A-------E|EMP  DEPT  NOTE|"
                                 "STOCK|A-----E||"
                                 "SPACED /2|A----E|head|A----E|head|"
                                 "ZERO/0|N----E|four    blanks|"
                                 "THREE/3 CHAIN|A----E|h1|N----E|h2|M----E|h3|"
                                 "ELEVEN/11|A----E|x|"
                                 "SHORTER/2|A-----E|h|A---E|h|"
                                 "LAST|A----E");

std::string Junk()
{
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>((i * 7919) % 256));
    return junk;
}

TEST(LoadFormat, FindsTheNamedFormatOrSaysWhyNot)
{
    struct Row {
        const char* query;
        int recLen;                                  // 0: the load fails with the error
        std::vector<std::string> formats{}, heads{}; // every pair's format; headings from the first
        std::string error{}, file = Sample;
    };
    // A matching line that holds "*" hands over to the next one free of separators; 100 field
    // codes are the most a line may hold.
    const std::string orders = Lines("ORDERS * old|ORDERS/2|A----E|a|N----E|n"),
                      full = std::string(99, 'N') + "E", wide = Lines("WIDE|A" + full + "|h");
    for (const Row& r : {
             // a list entry with its length; headings padded to the record
             Row{"payroll/2-80",
                 19,
                 {"N----A-------R--.-E", "N----B----A-------E"},
                 {"EMP  NAME   PAY   ", "EMP  DEPT  NOTE   "}},
             Row{"STOCK", 7, {"A-----E"}},
             Row{"stock", 7, {"A-----E"}},
             Row{"SPACED", 0, {}, {}, "Format SPACED was not found in "}, // the blank counts
             Row{"SPACED /2", 6, {"A----E", "A----E"}},
             Row{"ZERO", 6, {"N----E"}, {"     "}},           // four blanks in a row blank it
             Row{"THREE", 6, {"A----E", "N----E", "M----E"}}, // words after the count go
             Row{"ELEVEN", 0, {}, {}, "Format ELEVEN has 11 pairs in "},
             Row{"NOSUCH", 0, {}, {}, "Format NOSUCH was not found in "},
             Row{"", 0, {}, {}, "No format name was given."},
             Row{"SHORTER", 5, {"A-----E", "A---E"}}, // the length comes from the last pair
             Row{"LAST", 0, {}, {}, "FILE.FMT ends inside pair 1 of format LAST in "},
             Row{"ORDERS", 6, {"A----E", "N----E"}, {}, "", orders},
             Row{"WIDE", 100, {full}, {}, "", Lines("WIDE|" + full + "|h")},
             Row{"WIDE", 0, {}, {}, "WIDE: format line 1 holds 101 field codes; at most 100", wide},
             Row{"PAYROLL", 0, {}, {}, "Format PAYROLL was not found in ", Junk()},
         }) {
        SCOPED_TRACE(r.query);
        TempDir dir;
        const auto def = FormatLoader::LoadFormat(io, dir.write("FILE.FMT", r.file), r.query);
        if (r.recLen == 0) {
            ASSERT_FALSE(def.ok());
            EXPECT_NE(def.error().message.find(r.error), std::string::npos) << def.error().message;
            continue;
        }
        ASSERT_TRUE(def.ok()) << def.error().message;
        EXPECT_EQ(def->RecLen, r.recLen);
        for (std::size_t i = 0; i < r.formats.size(); ++i)
            EXPECT_EQ(def->FmtLines[i + 1], r.formats[i]) << i;
        EXPECT_EQ(def->FmtCount, static_cast<int>(r.formats.size()));
        for (std::size_t i = 0; i < r.heads.size(); ++i)
            EXPECT_EQ(def->HeadLines[i + 1], r.heads[i]) << i;
    }

    // A format file that cannot be read is an error.
    TempDir dir;
    EXPECT_FALSE(FormatLoader::LoadFormat(io, dir.file("NONE.FMT"), "X").ok());
    std::filesystem::create_directory(dir.path() / "FOLDER.FMT");
    EXPECT_FALSE(FormatLoader::LoadFormat(io, dir.file("FOLDER.FMT"), "X").ok());
}

TEST(FieldTable, BuildsFromTheFormatLine)
{
    struct Row {
        const char* line;
        int recLen;
        std::vector<Field> fields;
    };
    for (const Row& r : {
             Row{"A-----E", 7, {{1, 6, 'A'}}},
             Row{"N----A-------R--.-E", 19, {{1, 5, 'N'}, {6, 8, 'A'}, {14, 5, 'R'}}},
             Row{"N---.-E", 7, {{1, 6, 'N'}}},                          // the point continues
             Row{"A- N-E", 6, {{1, 2, 'A'}, {3, 1, ' '}, {4, 2, 'N'}}}, // a blank is a field
             Row{"A--N--", 6, {{1, 3, 'A'}}},                           // no E: last one lost
             Row{"A--E", 6, {{1, 3, 'A'}, {4, 1, 'E'}, {5, 1, ' '}}},   // short: blank fields
             Row{"-----", 5, {}},
         }) {
        SCOPED_TRACE(r.line);
        FormatState f;
        f.FmtLines[1] = r.line;
        f.RecLen = r.recLen;
        f.FmtNo = 1;
        f.BuildFieldTable();
        EXPECT_EQ(f.FmtLine, r.line);
        ASSERT_EQ(f.FieldCount, static_cast<int>(r.fields.size()));
        for (std::size_t i = 0; i < r.fields.size(); ++i) {
            SCOPED_TRACE("field " + std::to_string(i + 1));
            EXPECT_EQ(f.Fields[i + 1].Start, r.fields[i].Start);
            EXPECT_EQ(f.Fields[i + 1].Len, r.fields[i].Len);
            EXPECT_EQ(f.Fields[i + 1].Typ, r.fields[i].Typ);
        }
    }
}

TEST(FormatNames, ListsNameLinesSeedsTheDataFolderAndNamesFolders)
{
    // A heading of 20 or more characters is no name, nor is one too long to list; a name on
    // the last line has no length to show. A short heading is listed too, but does not hide
    // the next format.
    TempDir dir;
    EXPECT_EQ(
        FormatNames::ReadFormatNames(
            io, dir.write("FILE.FMT", Lines("* comment Line|------------------|PAYROLL/2|"
                                            "N----A-------R--.-E|a heading that is long enough|"
                                            "ThisNameIsFarTooLongToList|STOCK|"
                                            "N------------------------------|Dots.InName|A----E|"
                                            "9LIVES|A----E|TAIL")))
            .value(),
        (std::vector<std::string>{"PAYROLL/2-19", "STOCK-31"}));
    EXPECT_EQ(
        FormatNames::ReadFormatNames(
            io, dir.write("FILE.FMT",
                          Lines("STOCK|A----E|Item|PAYROLL/2|N----E|1st|N----E|Pay|X---E|2nd")))
            .value(),
        (std::vector<std::string>{"STOCK-6", "Item-9", "PAYROLL/2-6", "Pay-5"}));

    // The data folder is seeded from the application folder's file, when it has one.
    TempDir app, data;
    app.write("file.fmt", Lines("STOCK|A----E|h"));
    const auto path = FormatNames::SeedFormatFile(data.path(), app.path());
    EXPECT_EQ(FormatNames::ReadFormatNames(io, path).value(),
              (std::vector<std::string>{"STOCK-6"}));
    EXPECT_TRUE(std::filesystem::exists(path));
    TempDir nowhere, empty;
    EXPECT_EQ(
        FormatNames::ReadFormatNames(io, FormatNames::SeedFormatFile(empty.path(), nowhere.path()))
            .error()
            .code,
        ENOENT);

    EXPECT_EQ(FormatNames::PathName("/home/op/data/sales.dat"), "/home/op/data/");
    EXPECT_EQ(FormatNames::PathName("/sales.dat"), "/");
    EXPECT_EQ(FormatNames::PathName("sales.dat"), "");
}

} // namespace
