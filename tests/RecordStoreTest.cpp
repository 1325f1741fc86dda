#include <gtest/gtest.h>

#include "tests/support/Station.h"

namespace
{

// A stored record left unchanged, or keyed alike in Verify mode, is not written again: what
// another hand put in its slot meanwhile stays. A changed record is written as it is left.
// The keying itself, in both modes: a-correct-verify.
TEST(RecordStore, OnlyChangedRecordsAreWrittenAndControlCharactersAreStoredAsBlanks)
{
    for (const bool verify : {false, true}) {
        SCOPED_TRACE(verify ? "Verify" : "correcting");
        Started s;
        s.openWith("s.dat", "00001FIRST   001.0a\r\n00002SECOND  002.0a\r\n00003THIRD   003.0a\r\n",
                   "STOCK-19");
        if (verify)
            s.e.mnuVerify_Click();
        s.key("Ctrl+Home", "Down");
        std::string bytes = s.app.read("s.dat");
        s.app.write("s.dat", bytes.replace(21, 19, "00002ELSEWHERE02.0a"));
        if (verify)
            s.type("00002SECOND  002.0");
        else
            s.key("Up");
        EXPECT_EQ(s.app.read("s.dat"), bytes);
        EXPECT_EQ(s.e.rec.CurRec, verify ? 3 : 1);
        if (verify)
            continue;
        s.type("9");
        s.key("Down");
        EXPECT_EQ(s.records("s.dat"),
                  (std::vector<std::string>{"90001FIRST   001.0a", "00002ELSEWHERE02.0a",
                                            "00003THIRD   003.0a"}));
        EXPECT_EQ(s.e.win.previousText, "90001FIRST   001.0a");
    }

    std::string rec = "A\tB\xC8\x80\x1F";
    RecordStore::CleanRecord(rec);
    EXPECT_EQ(rec, "A B \x80 ");
}

} // namespace
