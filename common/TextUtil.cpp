#include "common/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace text
{

std::string Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

std::string TrimRight(std::string_view s)
{
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool Contains(std::string_view s, std::string_view part)
{
    return s.find(part) != std::string_view::npos;
}

std::int64_t Val(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v > (INT64_MAX - 9) / 10)
            break; // saturate rather than overflow on absurd input
        v = v * 10 + (s[i] - '0');
    }
    return negative ? -v : v;
}

std::string SignedDec(std::int64_t n)
{
    std::string digits = std::to_string(n);
    if (n >= 0)
        digits.insert(digits.begin(), ' ');
    return digits;
}

std::vector<std::string> SplitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lf = std::min(bytes.find('\n', at), bytes.size());
        std::string line(bytes.substr(at, lf - at));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        at = lf + 1;
    }
    return lines;
}

std::string SystemError(int err)
{
    return std::strerror(err);
}

} // namespace text
