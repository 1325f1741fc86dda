#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"

// Small text helpers shared by the format reader, the settings and the messages.
namespace text
{

std::string Trim(std::string_view s);
// s without its trailing blanks.
std::string TrimRight(std::string_view s);
std::string Upper(std::string_view s);
bool Contains(std::string_view s, std::string_view part);

// Leading number of s, as the lenient numeric parse reads it: blanks skipped, an optional
// sign, digits; reading stops at the first character that cannot continue the number.
std::int64_t Val(std::string_view s);

// A number written for a message: a blank stands before a non-negative number (" 5").
std::string SignedDec(std::int64_t n);

// Lines of a text without their CR LF (or LF) ends; a last line without one counts.
std::vector<std::string> SplitLines(std::string_view bytes);

// Describes the last system error (errno) in words.
std::string SystemError(int err);

} // namespace text
