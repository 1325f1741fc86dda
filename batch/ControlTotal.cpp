#include "batch/ControlTotal.h"

#include "common/TextUtil.h"

ControlTotal ControlTotal::Check(std::string_view text, const Decimal& sum)
{
    const std::string typed = text::Trim(text);
    if (typed.empty())
        return {Kind::Untyped, typed};
    const auto control = Decimal::Parse(text, true);
    if (!control)
        return {Kind::NotANumber, typed};
    Decimal difference = *control;
    Decimal off = sum;
    if (!difference.subtract(sum) || !off.subtract(*control))
        return {Kind::TooLarge, typed};
    ControlTotal c(difference.isZero() ? Kind::Balances : Kind::OutOfBalance, typed);
    c.m_difference = difference;
    c.m_off = difference < Decimal() ? off : difference;
    return c;
}

std::string ControlTotal::sentence() const
{
    switch (m_kind) {
    case Kind::Untyped:
        return "Type the control total from the batch's paper.";
    case Kind::NotANumber:
        return "The control total \"" + m_text +
               "\" is not a number: type its digits, with a point and a minus sign where it "
               "has them.";
    case Kind::TooLarge:
        return "The control total is too large to compare with the sum.";
    case Kind::Balances:
        return "The batch balances.";
    case Kind::OutOfBalance:
        break;
    }
    return "The batch is out of balance by " + m_off.str() + ": the records total " +
           (m_difference < Decimal() ? "more" : "less") + " than the control total.";
}
