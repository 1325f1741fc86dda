#include "stats/KeyingCounts.h"

#include <charconv>

void KeyingCounts::add(const KeyingCounts& o)
{
    keystrokes += o.keystrokes;
    stored += o.stored;
    corrected += o.corrected;
    verified += o.verified;
    mismatches += o.mismatches;
    replaced += o.replaced;
    refused += o.refused;
    keyingMs += o.keyingMs;
}

namespace
{

double PerHour(std::int64_t n, std::int64_t ms)
{
    return ms <= 0 ? 0.0 : static_cast<double>(n) * 3'600'000.0 / static_cast<double>(ms);
}

double PerThousand(std::int64_t n, std::int64_t keys)
{
    return keys <= 0 ? 0.0 : static_cast<double>(n) * 1000.0 / static_cast<double>(keys);
}

} // namespace

double KeyingCounts::keystrokesPerHour() const
{
    return PerHour(keystrokes, keyingMs);
}

double KeyingCounts::recordsPerHour() const
{
    // Every record finished counts, whether new, corrected or verified.
    return PerHour(stored + corrected + verified, keyingMs);
}

double KeyingCounts::refusedPerThousand() const
{
    return PerThousand(refused, keystrokes);
}

double KeyingCounts::replacedPerThousand() const
{
    return PerThousand(replaced, keystrokes);
}

namespace StatsColumns
{

std::string Fixed(double value, int decimals)
{
    // Not printf: a desktop locale's decimal comma would split the CSV column.
    char buf[64];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, end.ptr);
}

std::string Figures(const KeyingCounts& c)
{
    std::string s;
    for (const std::int64_t n :
         {c.keystrokes, c.stored, c.corrected, c.verified, c.mismatches, c.replaced, c.refused})
        s += std::to_string(n) + ',';
    s += Fixed(c.keyingSeconds(), 1) + ',';
    s += Fixed(c.keystrokesPerHour(), 0) + ',';
    s += Fixed(c.recordsPerHour(), 1) + ',';
    s += Fixed(c.refusedPerThousand(), 2) + ',';
    s += Fixed(c.replacedPerThousand(), 2);
    return s;
}

} // namespace StatsColumns
