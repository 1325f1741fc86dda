#include <gtest/gtest.h>

#include "keying/KeyCodes.h"
#include "tests/support/Station.h"

namespace
{

// N 1-5, B 6-10, R 11-15, R with a point 16-21, J 22-25, A 26-29.
constexpr const char* TypesFormats = "TYPES\r\n"
                                     "N----B----R----R--.--J---A---E\r\n"
                                     "NUM  BLANK RIGHTDEC   JUST ALFA\r\n";
// A 1-4, D 5-8, L 9-12, Y 13-16, S 17-19, N 20-22.
constexpr const char* AutoFormats = "AUTO\r\n"
                                    "A---D---L---Y---S--N--E\r\n"
                                    "NAMEDUP ALDPINC SKPNUM\r\n"
                                    "LASTY\r\n"
                                    "A---Y---E\r\n"
                                    "NAMEINC\r\n"
                                    "ALLDUP\r\n"
                                    "D---E\r\n"
                                    "DUP\r\n";

struct Validation {
    const char* name;
    char type;
    bool atPoint;
    int ch;
    bool accepted;
    std::vector<std::string> boxes;
};

class CharValidTest : public ::testing::TestWithParam<Validation>
{
};

TEST_P(CharValidTest, AcceptsOrRefusesWithItsMessages)
{
    const Validation& v = GetParam();
    Station s;
    s.start();
    s.e.fmt.FmtLine = v.atPoint ? "." : "-";
    s.e.scr.CurCol = 1;
    s.e.fld.FldType = v.type;
    EXPECT_EQ(s.e.fld.CharValid(v.ch), v.accepted);
    EXPECT_EQ(s.dialogs.texts(), v.boxes);
}

const std::string NumericOnly = ". Numeric Only";
const std::string PointOnly = "Only decimal point '.' allowed";

INSTANTIATE_TEST_SUITE_P(
    Keying, CharValidTest,
    ::testing::Values(
        Validation{"N_digit", 'N', false, '5', true, {}},
        Validation{"N_point", 'N', false, '.', true, {}},
        Validation{"N_letter", 'N', false, 'a', false, {"Invalid Character - a" + NumericOnly}},
        Validation{"N_blank", 'N', false, ' ', false, {"Invalid Character -  " + NumericOnly}},
        Validation{"Y_letter", 'Y', false, 'x', false, {"Invalid Character - x" + NumericOnly}},
        Validation{"D_slash", 'D', false, '/', false, {"Invalid Character - /" + NumericOnly}},
        Validation{"B_blank", 'B', false, ' ', true, {}},
        Validation{"B_point", 'B', false, '.', false, {"Invalid Character - ." + NumericOnly}},
        Validation{"M_letter", 'M', false, 'x', true, {}},
        Validation{"M_blank", 'M', false, ' ', true, {}},
        Validation{"M_digit", 'M', false, '7', false, {"Alpha only"}},
        Validation{"A_underscore", 'A', false, '_', false, {"Invalid Character"}},
        Validation{"A_brace", 'A', false, '{', false, {"Invalid Character"}},
        Validation{"A_code200", 'A', false, 200, false, {"Invalid Character"}},
        Validation{"A_hash", 'A', false, '#', true, {}},
        Validation{"J_control", 'J', false, 1, false, {"Invalid Character"}},
        Validation{"P_control", 'P', false, 1, true, {}},
        Validation{"S_control", 'S', false, 1, true, {}},
        Validation{"A_atPoint", 'A', true, 'x', false, {PointOnly}},
        Validation{"A_pointAtPoint", 'A', true, '.', true, {}},
        Validation{"L_atPoint", 'L', true, 'x', true, {}},
        Validation{"R_atPoint", 'R', true, 'x', false, {"Invalid Character - x" + NumericOnly}},
        Validation{"N_letterAtPoint",
                   'N',
                   true,
                   'a',
                   false,
                   {"Invalid Character - a" + NumericOnly, PointOnly}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Keying, NumericTestsOnText)
{
    EXPECT_TRUE(FieldTracker::FieldNumeric("12.5"));
    EXPECT_FALSE(FieldTracker::FieldNumeric("12a"));
    EXPECT_TRUE(FieldTracker::FieldNumeric(""));
    EXPECT_EQ(FieldExitRules::Adjdec("5.5", "R--.--"), "005.50");
    EXPECT_EQ(FieldExitRules::Adjdec("12", "R--.--"), "012.00");
    EXPECT_EQ(FieldExitRules::Adjdec("123456", "R--.--"), "123.00");
    EXPECT_EQ(FieldExitRules::Adjdec("1.239", "R--.--"), "001.23");
}

TEST(Keying, EnterAndSemicolonFillTheRestOfTheFieldByType)
{
    Station s(TypesFormats);
    s.start();
    s.openWith("t.dat", "", "TYPES-30");
    s.type("12");
    s.key("Enter");
    s.type("12;12");
    s.key("Enter");
    s.type("5.5");
    s.key("Enter");
    EXPECT_EQ(s.e.scr.CurCol, 22) << "the adjusted field is not adjusted again";
    s.type("AB;X");
    s.key("Enter");

    EXPECT_EQ(s.records("t.dat"), std::vector<std::string>{"1200012   00012005.5000ABX   a"});
}

TEST(Keying, FillsAreNotKeyingAndAFullDecimalFieldAlignsOnLeaving)
{
    // After Left, Right goes on copying from the previous record where keying stopped.
    Station s(TypesFormats);
    s.start();
    s.app.write("t.dat", "99993" + std::string(24, 'x') + "a\r\n");
    s.open("t.dat", "TYPES-30");
    s.type("12");
    s.key("Enter");
    s.key("Left");
    s.key("Right");
    EXPECT_EQ(s.e.rec.RecBuf.substr(0, 5), "12003");
    EXPECT_EQ(s.e.scr.CurCol, 6);

    // A decimal field keyed to its end is aligned once the next field is entered.
    s.key("Tab");
    s.key("Tab");
    s.type("123456");
    EXPECT_EQ(s.e.rec.RecBuf.substr(15, 6), "123.00");
    EXPECT_EQ(s.e.scr.CurCol, 22);
    EXPECT_EQ(s.e.fld.FldType, 'J');
}

class AutoStation : public Station
{
public:
    AutoStation() : Station(AutoFormats) {}

    void openWith(const std::string& records, const std::string& format)
    {
        start();
        app.write("a.dat", records);
        open("a.dat", format);
        e.prefs.DupKeyCode = KeyCode::F12;
        key("Ctrl+D");
    }
};

TEST(Keying, IncrementOfTheLastFieldCompletesEachRecord)
{
    AutoStation s;
    s.openWith("", "LASTY-9");
    EXPECT_TRUE(s.dialogs.texts().empty());

    s.type("ABCD");
    EXPECT_EQ(s.dialogs.texts(), std::vector<std::string>{"Auto Inc  Max field length = 9"})
        << "nothing to increment on the first record";
    EXPECT_EQ(s.e.scr.CurCol, 5);
    s.type("0009EFGHIJKL");

    EXPECT_EQ(s.records("a.dat"),
              (std::vector<std::string>{"ABCD0009a", "EFGH0010a", "IJKL0011a"}));
    EXPECT_EQ(s.e.rec.CurRec, 4);
}

TEST(Keying, RecordFilledWholeByDuplicationWaitsForAKey)
{
    AutoStation s;
    s.openWith("WXYZa\r\n", "ALLDUP-5");
    // Ctrl+D came after the record was set up; the next record shows the duplication.
    s.key("Right");
    s.key("Right");
    s.key("Right");
    s.key("Right");
    s.key("Right");
    EXPECT_EQ(s.records("a.dat").size(), 2u);
    EXPECT_EQ(s.dataRow(), "WXYZ");
    EXPECT_EQ(s.e.scr.CurCol, 5);

    s.key("Right");
    EXPECT_EQ(s.records("a.dat"), (std::vector<std::string>{"WXYZa", "WXYZa", "WXYZa"}));
    EXPECT_EQ(s.e.rec.EndRec, 4);
}

TEST(Keying, DuplicateKeyCopiesTheRestOfTheField)
{
    AutoStation s;
    s.openWith("PREVABCDLMNO0009XYZ123a\r\n", "AUTO-23");
    s.key("Ctrl+D"); // off again
    s.type("NEW15");
    s.key("F12");
    EXPECT_EQ(s.dataRow(), "NEW15BCD");
    EXPECT_EQ(s.e.scr.CurCol, 9);
    s.type("7");
    EXPECT_EQ(s.dataRow(), "NEW15BCD7") << "with F12 as the Duplicate key, 7 is a character";
    s.key("Alt+F12");
    s.key("Ctrl+F12");
    EXPECT_EQ(s.dataRow(), "NEW15BCD7MNO");

    s.e.prefs.DupKeyCode = KeyCode::Digit7;
    s.type("1");
    s.key("F12");
    s.type("7");
    EXPECT_EQ(s.dataRow(), "NEW15BCD7MNO1009") << "F12 does nothing; 7 duplicates, unkeyed";
}

TEST(Keying, FieldKeysOnAPositionInNoFieldLeaveTheFileWhole)
{
    // Alt+F1 then "-" on position 1 leaves it in no field once the record is set up again;
    // Enter there used to fill from position 0 and throw.
    AutoStation s;
    s.openWith("", "AUTO-23");
    for (const char* k : {"F11", "Right", "Up", "Alt+F1", "-", "End", "Down", "Enter", "F12"})
        s.key(k);
    EXPECT_EQ(s.e.fmt.field(s.e.fld.CurFld).Start, 0);
    const auto recs = s.records("a.dat");
    ASSERT_FALSE(recs.empty());
    for (const auto& r : recs)
        EXPECT_EQ(r.size(), 23u);
}

} // namespace
