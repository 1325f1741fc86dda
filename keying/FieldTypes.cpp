#include "keying/FieldTypes.h"

#include <string_view>

namespace FieldTypes
{

namespace
{

bool IsDigitType(char t)
{
    return t == 'N' || t == 'R' || t == 'D' || t == 'Y';
}

bool IsAlphaType(char t)
{
    return t == 'A' || t == 'L' || t == 'J';
}

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

Refusal TypeRefusal(char type, int k)
{
    const auto c = static_cast<unsigned char>(k);
    if (IsDigitType(type))
        return (c < '0' || c > '9') && c != '.' ? Refusal::NumericOnly : Refusal::None;
    if (type == 'B')
        return std::string_view("0123456789 ").find(static_cast<char>(c)) == std::string_view::npos
                   ? Refusal::NumericOnly
                   : Refusal::None;
    if (type == 'M')
        return k < 32 || !(c == ' ' || IsLetter(c)) ? Refusal::AlphaOnly : Refusal::None;
    if (IsAlphaType(type))
        return k < 32 || (c > 'Z' && c < 'a') || c > 'z' ? Refusal::Invalid : Refusal::None;
    return Refusal::None;
}

bool PointRefused(char type, int k, bool atDecimalPoint)
{
    return atDecimalPoint && type != 'L' && type != 'R' && static_cast<unsigned char>(k) != '.';
}

Refusal Check(char type, int c, bool atDecimalPoint)
{
    const Refusal r = TypeRefusal(type, c);
    if (r != Refusal::None)
        return r;
    return PointRefused(type, c, atDecimalPoint) ? Refusal::DecimalPointOnly : Refusal::None;
}

std::string Message(Refusal r, char c)
{
    switch (r) {
    case Refusal::NumericOnly:
        return "Invalid Character - " + std::string(1, c) + ". Numeric Only";
    case Refusal::AlphaOnly:
        return "Alpha only";
    case Refusal::Invalid:
        return "Invalid Character";
    case Refusal::DecimalPointOnly:
        return "Only decimal point '.' allowed";
    case Refusal::None:
        break;
    }
    return {};
}

bool IsNumeric(char type)
{
    return IsDigitType(type) || type == 'B';
}

} // namespace FieldTypes
