#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

// Every code 0..255 in every field type, away from and at a decimal point: the characters
// each type takes are written out once, every other code is refused with the type's message.
// Fill, alignment and the automatic fields after keys: scenarios b-fill-by-type, d-adjdec,
// b-auto-increment, b-dup-whole-record, b-dup-key; the numeric test of recalled text:
// memory-recall and the checks below.
TEST(Keying, EachFieldTypeTakesOnlyItsOwnCharacters)
{
    const std::string Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const std::string Numeric = "0123456789.", Blank = "0123456789 ", Alpha = " " + Letters;
    const std::string Printable = " !\"#$%&'()*+,-./0123456789:;<=>?@" + Letters;
    std::string every;
    for (int k = 0; k < 256; ++k)
        every.push_back(static_cast<char>(k));
    const std::string Digits = "Invalid Character - %. Numeric Only";
    struct Row {
        char type;
        std::string takes, refusal; // "%" stands for the character refused
    };
    // P is left out: FILE.FMT calls it numeric with blank fill, like B, yet it takes any code.
    const Row rows[] = {
        {'N', Numeric, Digits},
        {'R', Numeric, Digits},
        {'D', Numeric, Digits},
        {'Y', Numeric, Digits},
        {'B', Blank, Digits},
        {'M', Alpha, "Alpha only"},
        {'A', Printable, "Invalid Character"},
        {'L', Printable, "Invalid Character"},
        {'J', Printable, "Invalid Character"},
        {'S', every, ""},
    };
    Started s;
    s.e.scr.CurCol = 1;
    for (const Row& r : rows) {
        for (const bool atPoint : {false, true}) {
            SCOPED_TRACE(std::string(1, r.type) + (atPoint ? " at the point" : ""));
            s.e.fmt.FmtLine = atPoint ? "." : "-";
            s.e.fld.FldType = r.type;
            // Only R and L, which alignment and duplication fill, take more than the point.
            const bool pointOnly = atPoint && r.type != 'R' && r.type != 'L';
            std::string took, expected;
            for (int k = 0; k < 256; ++k) {
                const char c = static_cast<char>(k);
                std::vector<std::string> boxes;
                if (r.takes.find(c) == std::string::npos) {
                    std::string refusal = r.refusal;
                    if (const auto at = refusal.find('%'); at != std::string::npos)
                        refusal.replace(at, 1, 1, c);
                    boxes.push_back(refusal);
                }
                if (pointOnly && c != '.')
                    boxes.push_back("Only decimal point '.' allowed");
                if (boxes.empty())
                    expected.push_back(c);
                s.dialogs.boxes.clear();
                if (s.e.fld.CharValid(k))
                    took.push_back(c);
                EXPECT_EQ(s.dialogs.texts(), boxes) << "code " << k;
            }
            EXPECT_EQ(took, expected);
        }
    }
    // A point is numeric too: no recall of memory-recall puts one in an N, B, D or Y field.
    EXPECT_TRUE(FieldTracker::FieldNumeric("12.5"));
    EXPECT_FALSE(FieldTracker::FieldNumeric("12.a"));
}

} // namespace
