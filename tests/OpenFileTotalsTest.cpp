#include <gtest/gtest.h>

#include <sstream>

#include "batch/FieldTotals.h"
#include "batch/LineReader.h"
#include "batch/OpenFileTotals.h"
#include "batch/OutputSink.h"
#include "tests/support/Station.h"

namespace
{

const std::string Three = "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n";
// The demo formats and one without a numeric field.
const std::string Formats =
    std::string(Station::DemoFormats) + "NAMES\r\nA----M-------E\r\nNAME SURNAME\r\n";

// A session as the operator keys it, steps split by ", ": 'text' typed, Insert and Delete
// (answered Yes) from the menu, anything else a named key.
void Keys(Station& s, const std::string& session)
{
    std::istringstream in(session);
    for (std::string step; std::getline(in >> std::ws, step, ',');) {
        if (step.front() == '\'')
            s.type(step.substr(1, step.size() - 2));
        else if (step == "Insert" || step == "Delete") {
            s.dialogs.answers = {Dialogs::Answer::Yes};
            step == "Insert" ? s.e.rec.mnuInsRec_Click() : s.e.rec.mnuDelRec_Click();
        } else
            s.press(step);
    }
}

// korvalen-tool's count of the chosen field over the file as it is on the disk.
Result<Totals> Recount(Station& s, const std::string& file, const OpenFileTotals& t)
{
    const RecordLayout layout = RecordLayout::Of(s.e.fmt);
    const OpenFileTotals::Choice& c = t.choices().at(static_cast<std::size_t>(t.chosen()));
    const PairLayout& pair = *layout.pairOf(c.pair);
    FieldTotals full(layout, pair, pair.fields.at(static_cast<std::size_t>(c.field - 1)));
    SystemFileIo io;
    auto in = LineReader::Open(io, s.app.file(file));
    auto out = OutputSink::ToFile(io, s.app.file("recount.txt"));
    if (!in || !out)
        return Error{"the file could not be recounted"};
    return full.run(in.value(), out.value());
}

std::string Figures(const Result<Totals>& r)
{
    if (!r)
        return r.error().message;
    const Totals& t = r.value();
    return std::to_string(t.count) + " " + t.sum.str() + " " + (t.min ? t.min->str() : "-") + " " +
           (t.max ? t.max->str() : "-") + " " + std::to_string(t.blank) + " " +
           std::to_string(t.invalid);
}

std::vector<std::string> Labels(const OpenFileTotals& t)
{
    std::vector<std::string> out;
    for (const auto& c : t.choices())
        out.push_back(c.label);
    return out;
}

} // namespace

// Keyed, corrected, inserted and deleted on the station, the figures follow each record
// stored, as a full count of the file gives them, without the file being read again; keys
// that store nothing are not told.
TEST(OpenFileTotals, FollowTheStationsRecordsWithoutReadingTheFileAgain)
{
    struct Row {
        const char* session;
        bool stores;
        std::string figures; // count, sum, min, max, blank, not numbers
    };
    const Row rows[] = {
        {"'00004FOURTH  004.'", false, "3 6.0 1.0 3.0 0 0"},
        {"'5'", true, "4 10.5 1.0 4.5 0 0"},
        {"Ctrl+Home, '00001FIRST   000.5'", true, "4 10.0 0.5 4.5 0 0"},
        {"Ctrl+End, Up, '00004FOURTH  001.0'", true, "4 6.5 0.5 3.0 0 0"},
        {"Ctrl+Home, Down, Insert, '00009NEW     009.0'", true, "5 15.5 0.5 9.0 0 0"},
        {"Ctrl+Home, Delete", true, "4 15.0 1.0 9.0 0 0"},
        {"Ctrl+End, Up, Delete", true, "3 14.0 2.0 9.0 0 0"},
    };
    Started s(Formats);
    s.openWith("s.dat", Three, "STOCK-19");
    OpenFileTotals t(s.e);
    int told = 0;
    t.OnChange = [&] { ++told; };
    EXPECT_EQ(Labels(t), (std::vector<std::string>{"ITEM (1-5)", "PRICE (14-18)"}));
    EXPECT_EQ(t.chosen(), 0);
    t.choose(1);
    EXPECT_EQ(told, 1);
    t.update();
    EXPECT_EQ(Figures(t.figures()), "3 6.0 1.0 3.0 0 0");
    EXPECT_EQ(s.io.readOnlyOpens["s.dat"], 1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.session);
        const int before = told;
        Keys(s, r.session);
        EXPECT_EQ(told > before, r.stores);
        t.update();
        EXPECT_EQ(Figures(t.figures()), r.figures);
        EXPECT_EQ(Figures(t.figures()), Figures(Recount(s, "s.dat", t)));
        EXPECT_EQ(s.io.readOnlyOpens["s.dat"], 1) << "the file was read again";
    }
}

// Closed, the totals say so; the next file of the same format is read with the same field
// chosen; one of another format starts at its first numeric field, and a format without one
// has none to choose.
TEST(OpenFileTotals, FollowTheFileSetUpAndKeepTheChoiceForTheSameFormat)
{
    Started s(Formats);
    OpenFileTotals t(s.e);
    int told = 0;
    t.OnChange = [&] { ++told; };
    EXPECT_FALSE(t.fileOpen());
    EXPECT_EQ(t.chosen(), -1);
    EXPECT_EQ(Figures(t.figures()), "No data file is open.");

    s.openWith("s.dat", Three, "STOCK-19");
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(t.fileOpen());
    EXPECT_EQ(t.path(), s.app.file("s.dat"));
    t.choose(1);
    t.update();
    EXPECT_EQ(Figures(t.figures()), "3 6.0 1.0 3.0 0 0");

    s.e.file.mnuClose_Click();
    EXPECT_EQ(told, 3);
    EXPECT_FALSE(t.fileOpen());
    EXPECT_TRUE(t.choices().empty());
    t.update();
    EXPECT_EQ(Figures(t.figures()), "No data file is open.");

    s.openWith("t.dat", "00007OTHER   012.5a\r\n", "STOCK-19");
    EXPECT_EQ(t.chosen(), 1);
    t.update();
    EXPECT_EQ(Figures(t.figures()), "1 12.5 12.5 12.5 0 0");
    EXPECT_EQ(s.io.readOnlyOpens["t.dat"], 1);
    s.e.file.mnuClose_Click();

    // Two pairs: the numbers of employees and the blank-filled departments.
    s.openWith("p.dat", "00001SMITH   a\r\n   12JONES   b\r\n", "PAYROLL/2-14");
    EXPECT_EQ(Labels(t), (std::vector<std::string>{"EMP (1-5), format 1", "DEPT (1-5), format 2"}));
    EXPECT_EQ(t.chosen(), 0);
    t.choose(1);
    t.update();
    EXPECT_EQ(Figures(t.figures()), "1 12 12 12 0 0");
    s.e.file.mnuClose_Click();

    s.openWith("n.dat", "", "NAMES-14");
    EXPECT_TRUE(t.fileOpen());
    EXPECT_TRUE(t.choices().empty());
    EXPECT_EQ(t.chosen(), -1);
    t.update();
    EXPECT_FALSE(t.figures());
    s.e.file.mnuClose_Click();

    // A file that cannot be read says why.
    s.openWith("s.dat", Three, "STOCK-19");
    s.io.readFault = FaultyFileIo::ReadFault{.file = "s.dat"};
    t.update();
    EXPECT_EQ(t.figures().error().message.rfind("The data file could not be read: ", 0), 0u)
        << t.figures().error().message;
}
