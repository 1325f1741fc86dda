#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

// An exact decimal number: an integer count of units of 10^-scale. Sums and differences
// stay exact where binary floating point would round (0.10 + 0.20 is 0.30).
class Decimal
{
public:
    // Digits before and after the point a parsed number may have: any two such numbers
    // compare exactly, and sums of billions of them still fit.
    static constexpr int MaxDigits = 18;

    Decimal() = default;

    // Digits with at most one point, blanks around them; a sign only when signed. Nothing
    // for blanks alone, other characters or more than MaxDigits digits on either side.
    static std::optional<Decimal> Parse(std::string_view text, bool signedOk = false);
    // The number as written in a field, without its leading zeros ("00040" is 40,
    // "02500.00" is 2500.00, ".5" is 0.5), appended to out; false when it is no number.
    static bool AppendPlain(std::string_view text, std::string& out);

    // False when the result would not fit.
    bool add(const Decimal& other);
    bool subtract(const Decimal& other);
    std::string str() const;
    bool isZero() const { return m_units == 0; }
    // Digits after the point: a sum has as many as the most of its terms.
    int scale() const { return m_scale; }

    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);
    friend bool operator==(const Decimal& a, const Decimal& b)
    {
        return (a <=> b) == std::strong_ordering::equal;
    }

private:
    __extension__ typedef __int128 Wide;

    Decimal(Wide units, int scale) : m_units(units), m_scale(scale) {}
    // The same value with scale digits after the point; false when it would not fit.
    bool rescaled(int scale, Wide& units) const;

    Wide m_units = 0;
    int m_scale = 0;
};
