#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "batch/Decimal.h"

// The control total from a batch's paper against the sum of its records: the batch balances
// exactly when the two are equal.
class ControlTotal
{
public:
    enum class Kind { Untyped, NotANumber, TooLarge, Balances, OutOfBalance };

    // text as the operator typed it: a signed decimal number, blanks around it allowed.
    static ControlTotal Check(std::string_view text, const Decimal& sum);

    Kind kind() const { return m_kind; }
    // The control total less the sum; for Balances and OutOfBalance.
    const Decimal& difference() const { return m_difference; }
    // What the station says of it, in a sentence.
    std::string sentence() const;

private:
    ControlTotal(Kind kind, std::string text) : m_kind(kind), m_text(std::move(text)) {}

    Kind m_kind;
    std::string m_text;
    Decimal m_difference;
    Decimal m_off; // how far the records are from the control total, whichever way
};
