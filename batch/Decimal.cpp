#include "batch/Decimal.h"

#include <algorithm>

namespace
{

// Plain loops: find_first_not_of calls memchr once a character.
std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits with at most one point and at least one digit.
bool IsPlainNumber(std::string_view t)
{
    bool digit = false;
    bool point = false;
    for (const char c : t) {
        if (IsDigit(c))
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

} // namespace

std::optional<Decimal> Decimal::Parse(std::string_view text, bool signedOk)
{
    std::string_view t = Trimmed(text);
    bool negative = false;
    if (signedOk && !t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (!IsPlainNumber(t))
        return std::nullopt;
    Wide units = 0;
    int digits = 0; // of the whole part, leading zeros aside
    int scale = 0;
    bool point = false;
    for (const char c : t) {
        if (c == '.') {
            point = true;
            continue;
        }
        if (point)
            ++scale;
        else if (units != 0 || c != '0')
            ++digits;
        if (digits > MaxDigits || scale > MaxDigits)
            return std::nullopt;
        units = units * 10 + (c - '0');
    }
    return Decimal(negative ? -units : units, scale);
}

bool Decimal::AppendPlain(std::string_view text, std::string& out)
{
    const std::string_view t = Trimmed(text);
    if (!IsPlainNumber(t))
        return false;
    const auto point = t.find('.');
    std::string_view whole = t.substr(0, point);
    std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : t.substr(point + 1);
    while (whole.size() > 1 && whole.front() == '0')
        whole.remove_prefix(1);
    if (whole.empty())
        out += '0';
    out += whole;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    return true;
}

bool Decimal::rescaled(int scale, Wide& units) const
{
    units = m_units;
    for (int s = m_scale; s < scale; ++s) {
        if (__builtin_mul_overflow(units, Wide(10), &units))
            return false;
    }
    return true;
}

bool Decimal::add(const Decimal& other)
{
    const int scale = std::max(m_scale, other.m_scale);
    Wide a = 0;
    Wide b = 0;
    if (!rescaled(scale, a) || !other.rescaled(scale, b) || __builtin_add_overflow(a, b, &a))
        return false;
    *this = Decimal(a, scale);
    return true;
}

bool Decimal::subtract(const Decimal& other)
{
    Decimal negated = other;
    negated.m_units = -negated.m_units;
    return add(negated);
}

std::string Decimal::str() const
{
    Wide u = m_units < 0 ? -m_units : m_units;
    const auto scale = static_cast<std::size_t>(m_scale);
    std::string digits; // lowest first
    while (u != 0 || digits.size() <= scale) {
        digits += static_cast<char>('0' + static_cast<int>(u % 10));
        u /= 10;
    }
    std::string out = m_units < 0 ? "-" : "";
    out.append(digits.rbegin(), digits.rend() - static_cast<std::ptrdiff_t>(scale));
    if (scale > 0) {
        out += '.';
        out.append(digits.rend() - static_cast<std::ptrdiff_t>(scale), digits.rend());
    }
    return out;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    Decimal::Wide x = 0;
    Decimal::Wide y = 0;
    // Parsed numbers have at most MaxDigits on each side, so both fit at the larger scale;
    // a sum too large to rescale is the larger in size.
    if (!a.rescaled(scale, x))
        return a.m_units < 0 ? std::strong_ordering::less : std::strong_ordering::greater;
    if (!b.rescaled(scale, y))
        return b.m_units < 0 ? std::strong_ordering::greater : std::strong_ordering::less;
    return x < y   ? std::strong_ordering::less
           : x > y ? std::strong_ordering::greater
                   : std::strong_ordering::equal;
}
