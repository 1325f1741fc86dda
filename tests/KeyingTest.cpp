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

TEST(Keying, CharValidAcceptsOrRefusesWithItsMessagesAndNumbersAlign)
{
    const std::string Num = ". Numeric Only", Point = "Only decimal point '.' allowed";
    struct Row {
        char type;
        bool atPoint;
        int ch;
        bool accepted;
        std::vector<std::string> boxes;
    };
    for (const Row& r : {
             Row{'N', false, '5', true, {}},
             Row{'N', false, '.', true, {}},
             Row{'N', false, 'a', false, {"Invalid Character - a" + Num}},
             Row{'N', false, ' ', false, {"Invalid Character -  " + Num}},
             Row{'Y', false, 'x', false, {"Invalid Character - x" + Num}},
             Row{'D', false, '/', false, {"Invalid Character - /" + Num}},
             Row{'B', false, ' ', true, {}},
             Row{'B', false, '.', false, {"Invalid Character - ." + Num}},
             Row{'M', false, 'x', true, {}},
             Row{'M', false, ' ', true, {}},
             Row{'M', false, '7', false, {"Alpha only"}},
             Row{'A', false, '_', false, {"Invalid Character"}},
             Row{'A', false, '{', false, {"Invalid Character"}},
             Row{'A', false, 200, false, {"Invalid Character"}},
             Row{'A', false, '#', true, {}},
             Row{'J', false, 1, false, {"Invalid Character"}},
             Row{'P', false, 1, true, {}},
             Row{'S', false, 1, true, {}},
             Row{'A', true, 'x', false, {Point}},
             Row{'A', true, '.', true, {}},
             Row{'L', true, 'x', true, {}},
             Row{'R', true, 'x', false, {"Invalid Character - x" + Num}},
             Row{'N', true, 'a', false, {"Invalid Character - a" + Num, Point}},
         }) {
        SCOPED_TRACE(std::string(1, r.type) + (r.atPoint ? " at the point, " : ", ") +
                     std::to_string(r.ch));
        Started s;
        s.e.fmt.FmtLine = r.atPoint ? "." : "-";
        s.e.scr.CurCol = 1;
        s.e.fld.FldType = r.type;
        EXPECT_EQ(s.e.fld.CharValid(r.ch), r.accepted);
        EXPECT_EQ(s.dialogs.texts(), r.boxes);
    }

    // The numeric test and the decimal alignment on text alone.
    EXPECT_TRUE(FieldTracker::FieldNumeric("12.5"));
    EXPECT_FALSE(FieldTracker::FieldNumeric("12a"));
    EXPECT_TRUE(FieldTracker::FieldNumeric(""));
    EXPECT_EQ(FieldExitRules::Adjdec("5.5", "R--.--"), "005.50");
    EXPECT_EQ(FieldExitRules::Adjdec("12", "R--.--"), "012.00");
    EXPECT_EQ(FieldExitRules::Adjdec("123456", "R--.--"), "123.00");
    EXPECT_EQ(FieldExitRules::Adjdec("1.239", "R--.--"), "001.23");
}

// Enter and ";" fill the rest of a field by its type; the fill is not keying, so Left then
// Right goes on copying from the record before where keying stopped.
TEST(Keying, FillsByTypeAndAFullDecimalFieldAlignsOnLeaving)
{
    Started s(TypesFormats);
    s.openWith("t.dat", "99993" + std::string(24, 'x') + "a\r\n", "TYPES-30");
    s.type("12");
    s.key("Enter", "Left", "Right");
    EXPECT_EQ(s.e.rec.RecBuf.substr(0, 5), "12003");
    EXPECT_EQ(s.e.scr.CurCol, 6);
    s.type("12;12");
    s.key("Enter");
    s.type("5.5");
    s.key("Enter");
    EXPECT_EQ(s.e.scr.CurCol, 22) << "the adjusted field is not adjusted again";
    s.type("AB;X");
    s.key("Enter");
    EXPECT_EQ(s.records("t.dat").at(1), "1200312   00012005.5000ABX   a");

    // A decimal field keyed to its end is aligned once the next field is entered.
    s.key("Tab", "Tab", "Tab");
    s.type("123456");
    EXPECT_EQ(s.e.rec.RecBuf.substr(15, 6), "123.00");
    EXPECT_EQ(s.e.scr.CurCol, 22);
    EXPECT_EQ(s.e.fld.FldType, 'J');
}

// Over a file of the automatic formats, with F12 as the Duplicate key and the switch on.
struct AutoStation : Started {
    AutoStation(const std::string& records, const std::string& format) : Started(AutoFormats)
    {
        openWith("a.dat", records, format);
        e.prefs.DupKeyCode = KeyCode::F12;
        key("Ctrl+D");
    }
};

TEST(Keying, IncrementOfTheLastFieldCompletesEachRecord)
{
    AutoStation s("", "LASTY-9");
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
    // Ctrl+D came after the record was set up; the next record shows the duplication.
    AutoStation s("WXYZa\r\n", "ALLDUP-5");
    s.key("Right", "Right", "Right", "Right", "Right");
    EXPECT_EQ(s.records("a.dat").size(), 2u);
    EXPECT_EQ(s.dataRow(), "WXYZ");
    EXPECT_EQ(s.e.scr.CurCol, 5);
    s.key("Right");
    EXPECT_EQ(s.records("a.dat"), (std::vector<std::string>{"WXYZa", "WXYZa", "WXYZa"}));
    EXPECT_EQ(s.e.rec.EndRec, 4);
}

TEST(Keying, DuplicateKeyCopiesTheRestOfTheField)
{
    AutoStation s("PREVABCDLMNO0009XYZ123a\r\n", "AUTO-23");
    s.key("Ctrl+D"); // off again
    s.type("NEW15");
    s.key("F12");
    EXPECT_EQ(s.dataRow(), "NEW15BCD");
    EXPECT_EQ(s.e.scr.CurCol, 9);
    s.type("7");
    EXPECT_EQ(s.dataRow(), "NEW15BCD7") << "with F12 as the Duplicate key, 7 is a character";
    s.key("Alt+F12", "Ctrl+F12");
    EXPECT_EQ(s.dataRow(), "NEW15BCD7MNO");

    s.e.prefs.DupKeyCode = KeyCode::Digit7;
    s.type("1");
    s.key("F12");
    s.type("7");
    EXPECT_EQ(s.dataRow(), "NEW15BCD7MNO1009") << "F12 does nothing; 7 duplicates, unkeyed";
}

} // namespace
