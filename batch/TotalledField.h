#pragma once

#include <string_view>

#include "batch/Decimal.h"
#include "batch/RecordLayout.h"

// A numeric field of one pair as the totals read it, from a record slot: korvalen-tool's
// totals and the station's running totals take the same fields and read them the same way.
class TotalledField
{
public:
    // What a slot holds in the field. OtherPair: the slot is a record of another pair, or too
    // short to be one, and does not count.
    enum class Kind { OtherPair, Blank, Invalid, Number };
    struct Value {
        Kind kind = Kind::OtherPair;
        Decimal number; // for Number
    };

    // The fields whose total can be taken: those of the numeric types.
    static bool Qualifies(const LayoutField& field);

    TotalledField(int recLen, const PairLayout& pair, const LayoutField& field);

    Value read(std::string_view slot) const;
    // The field's text in a slot that is a record of its pair.
    std::string_view text(std::string_view slot) const { return slot.substr(m_from, m_len); }

    int recLen() const { return static_cast<int>(m_recLen); }
    char letter() const { return m_letter; }
    const LayoutField& field() const { return m_field; }

private:
    std::size_t m_recLen;
    char m_letter;
    LayoutField m_field;
    std::size_t m_from;
    std::size_t m_len;
};
