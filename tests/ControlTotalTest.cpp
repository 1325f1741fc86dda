#include <gtest/gtest.h>

#include "batch/ControlTotal.h"

namespace
{

Decimal Num(const char* text)
{
    return Decimal::Parse(text, true).value();
}

// The largest sum that repeated adding of the largest field value reaches.
Decimal Huge()
{
    const Decimal most = Num("999999999999999999.999999999999999999");
    Decimal sum;
    while (sum.add(most)) {
    }
    return sum;
}

} // namespace

// The operator's text against the records' sum: balanced exactly when the control total less
// the sum is zero, at whatever digits after the point either has.
TEST(ControlTotal, BalancesExactlyWhenTheDifferenceIsZero)
{
    using Kind = ControlTotal::Kind;
    struct Row {
        const char* text;
        Decimal sum;
        Kind kind;
        const char* difference; // "" where there is none
        std::string sentence;
    };
    const std::string untyped = "Type the control total from the batch's paper.";
    const Row rows[] = {
        {"", Num("0.30"), Kind::Untyped, "", untyped},
        {"   ", Num("0.30"), Kind::Untyped, "", untyped},
        {"0.30", Num("0.30"), Kind::Balances, "0.00", "The batch balances."},
        {" 0.3 ", Num("0.30"), Kind::Balances, "0.00", "The batch balances."},
        {"+0.3", Num("0.30"), Kind::Balances, "0.00", "The batch balances."},
        {"0", Decimal(), Kind::Balances, "0", "The batch balances."},
        {"0.35", Num("0.30"), Kind::OutOfBalance, "0.05",
         "The batch is out of balance by 0.05: the records total less than the control total."},
        {"0.25", Num("0.30"), Kind::OutOfBalance, "-0.05",
         "The batch is out of balance by 0.05: the records total more than the control total."},
        {"-1", Num("0.30"), Kind::OutOfBalance, "-1.30",
         "The batch is out of balance by 1.30: the records total more than the control total."},
        {"0.000001", Decimal(), Kind::OutOfBalance, "0.000001",
         "The batch is out of balance by 0.000001: the records total less than the control "
         "total."},
        {"1,5", Num("1.5"), Kind::NotANumber, "",
         "The control total \"1,5\" is not a number: type its digits, with a point and a minus "
         "sign where it has them."},
        {"12a", Num("12"), Kind::NotANumber, "", ""},
        {"--1", Num("1"), Kind::NotANumber, "", ""},
        {"1.2.3", Num("1"), Kind::NotANumber, "", ""},
        {"- 1", Num("1"), Kind::NotANumber, "", ""},
        {"-999999999999999999.999999999999999999", Huge(), Kind::TooLarge, "",
         "The control total is too large to compare with the sum."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("\"") + r.text + "\" against " + r.sum.str());
        const ControlTotal c = ControlTotal::Check(r.text, r.sum);
        EXPECT_EQ(c.kind(), r.kind);
        if (*r.difference) {
            EXPECT_EQ(c.difference().str(), r.difference);
        }
        if (!r.sentence.empty()) {
            EXPECT_EQ(c.sentence(), r.sentence);
        }
    }
}
