#pragma once

#include <string>

// What each field type code accepts, character by character: the one rule the keying engine
// applies to every key and the batch checker applies to every stored character.
namespace FieldTypes
{

enum class Refusal {
    None,
    NumericOnly,      // N R D Y: digits and the point; B: digits and blanks
    AlphaOnly,        // M: letters and blanks
    Invalid,          // A L J: printable characters up to "Z" and lower-case letters
    DecimalPointOnly, // a position marked "." takes only the point
};

// The type's own rule for character c (a key code or a stored byte).
Refusal TypeRefusal(char type, int c);
// Whether the decimal point position refuses c; L and R fields put other characters there
// themselves (duplication, right adjustment).
bool PointRefused(char type, int c, bool atDecimalPoint);
// The first refusal of c at a position, None when it is accepted.
Refusal Check(char type, int c, bool atDecimalPoint);
// The operator's message for a refusal of c.
std::string Message(Refusal r, char c);

// The types whose content is digits: written as numbers and summed.
bool IsNumeric(char type);

} // namespace FieldTypes
