#include "batch/LogSummary.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "batch/CsvReader.h"

namespace
{

std::vector<std::string_view> Names(std::string_view header)
{
    std::vector<std::string_view> names;
    for (std::size_t at = 0;;) {
        const std::size_t comma = header.find(',', at);
        names.push_back(header.substr(at, comma - at));
        if (comma == std::string_view::npos)
            return names;
        at = comma + 1;
    }
}

bool Digits(std::string_view s)
{
    for (const char c : s)
        if (c < '0' || c > '9')
            return false;
    return !s.empty();
}

// A whole number of digits alone, no sign, that fits.
std::optional<std::int64_t> Whole(std::string_view s)
{
    std::int64_t n = 0;
    if (!Digits(s) || std::from_chars(s.data(), s.data() + s.size(), n).ec != std::errc())
        return std::nullopt;
    return n;
}

int Two(std::string_view s, std::size_t at)
{
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// The day of a time written as 2026-12-11T09:15:02+01:00 (or with Z for the offset), as
// written; empty when s is no such time.
std::string_view DayOf(std::string_view s)
{
    constexpr std::string_view Shape = "dddd-dd-ddTdd:dd:dd";
    if (s.size() < Shape.size())
        return {};
    for (std::size_t i = 0; i < Shape.size(); ++i)
        if (Shape[i] == 'd' ? s[i] < '0' || s[i] > '9' : s[i] != Shape[i])
            return {};
    const std::string_view offset = s.substr(Shape.size());
    const bool zone = offset == "Z" ||
                      (offset.size() == 6 && (offset[0] == '+' || offset[0] == '-') &&
                       Digits(offset.substr(1, 2)) && offset[3] == ':' &&
                       Digits(offset.substr(4, 2)) && Two(offset, 1) <= 14 && Two(offset, 4) <= 59);
    const int month = Two(s, 5);
    const int day = Two(s, 8);
    if (!zone || month < 1 || month > 12 || day < 1 || day > 31 || Two(s, 11) > 23 ||
        Two(s, 14) > 59 || Two(s, 17) > 60)
        return {};
    return s.substr(0, 10);
}

// Seconds with up to three decimals, as milliseconds.
std::optional<std::int64_t> Millis(std::string_view s)
{
    const std::size_t point = s.find('.');
    const auto whole = Whole(s.substr(0, point));
    if (!whole || *whole >= INT64_MAX / 1000)
        return std::nullopt;
    std::int64_t ms = *whole * 1000;
    if (point == std::string_view::npos)
        return ms;
    const std::string_view decimals = s.substr(point + 1);
    if (!Digits(decimals) || decimals.size() > 3)
        return std::nullopt;
    int scale = 100;
    for (const char c : decimals) {
        ms += (c - '0') * scale;
        scale /= 10;
    }
    return ms;
}

bool IsNumber(std::string_view s)
{
    const std::size_t point = s.find('.');
    return Digits(s.substr(0, point)) &&
           (point == std::string_view::npos || Digits(s.substr(point + 1)));
}

// One character of UTF-8, whatever its length.
bool OneCharacter(std::string_view s)
{
    if (s.empty())
        return false;
    const auto lead = static_cast<unsigned char>(s[0]);
    const std::size_t length = lead < 0x80                    ? 1
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || s.size() != length)
        return false;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return false;
    return true;
}

// A field's text in a message: in quotes, control characters as \xNN, a long one cut short.
std::string Shown(std::string_view s)
{
    constexpr std::size_t Longest = 40;
    std::string out = "\"";
    std::size_t n = 0;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (++n > Longest && (c & 0xC0) != 0x80)
            return out + "...\"";
        if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// Whether c can be added to sum without carrying a count past what it holds.
bool Fits(const KeyingCounts& sum, const KeyingCounts& c)
{
    for (const auto count :
         {&KeyingCounts::keystrokes, &KeyingCounts::stored, &KeyingCounts::corrected,
          &KeyingCounts::verified, &KeyingCounts::mismatches, &KeyingCounts::replaced,
          &KeyingCounts::refused, &KeyingCounts::keyingMs})
        if (c.*count > INT64_MAX - sum.*count)
            return false;
    return true;
}

std::string Bad(std::string_view column, std::string_view value, std::string_view what)
{
    return std::string(column) + ' ' + Shown(value) + ' ' + std::string(what);
}

} // namespace

bool LogSummary::IsHeader(std::span<const std::string> row, std::string_view header)
{
    const auto names = Names(header);
    if (row.size() != names.size())
        return false;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (row[i] != names[i])
            return false;
    return true;
}

template <typename AddRow>
Result<std::int64_t> LogSummary::addRows(CsvReader& in, const Report& report,
                                         std::string_view header, AddRow addRow)
{
    const std::size_t columns = Names(header).size();
    std::int64_t malformed = 0;
    for (;;) {
        const auto more = in.next();
        if (!more)
            return more.error();
        if (!more.value())
            return malformed;
        const auto row = in.fields();
        std::string fault = in.fault();
        if (fault.empty() && row.size() != columns)
            fault = std::to_string(row.size()) + " fields where the header has " +
                    std::to_string(columns);
        if (fault.empty())
            fault = addRow(row);
        if (!fault.empty()) {
            ++malformed;
            report(in.line(), fault);
        }
    }
}

std::string LogSummary::addStatsRow(std::span<const std::string> row)
{
    static const auto names = Names(StatsColumns::Header);
    const std::string_view day = DayOf(row[0]);
    if (day.empty())
        return Bad(names[0], row[0], "is not a time like 2026-12-11T09:15:02+01:00");
    if (DayOf(row[1]).empty())
        return Bad(names[1], row[1], "is not a time like 2026-12-11T09:15:02+01:00");
    if (row[5] != "Entry" && row[5] != "Verify" && row[5] != "Mixed")
        return Bad(names[5], row[5], "is none of Entry, Verify, Mixed");
    std::int64_t figures[7];
    for (std::size_t i = 0; i < 7; ++i) {
        const auto n = Whole(row[6 + i]);
        if (!n)
            return Bad(names[6 + i], row[6 + i], "is not a whole number");
        figures[i] = *n;
    }
    const auto ms = Millis(row[13]);
    if (!ms)
        return Bad(names[13], row[13], "is not a number of seconds");
    // The rates are the station's own for the opening; the summary works them out again
    // from the summed counts, but a row whose rates are no numbers is not the station's.
    for (std::size_t i = 14; i < row.size(); ++i)
        if (!IsNumber(row[i]))
            return Bad(names[i], row[i], "is not a number");
    KeyingCounts c;
    c.keystrokes = figures[0];
    c.stored = figures[1];
    c.corrected = figures[2];
    c.verified = figures[3];
    c.mismatches = figures[4];
    c.replaced = figures[5];
    c.refused = figures[6];
    c.keyingMs = *ms;
    // Every group is part of the total, so a row the total can take any group can.
    if (!Fits(m_sum, c))
        return "figures that carry the log's sums past 2^63";
    m_sum.add(c);
    Group& g = m_groups[{row[2], std::string(day)}];
    ++g.openings;
    g.counts.add(c);
    return {};
}

std::string LogSummary::addVerifyRow(std::span<const std::string> row,
                                     std::optional<std::int64_t> record)
{
    static const auto names = Names(VerifyColumns::Header);
    const std::string_view day = DayOf(row[0]);
    if (day.empty())
        return Bad(names[0], row[0], "is not a time like 2026-12-11T09:15:02+01:00");
    std::int64_t numbers[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const auto n = Whole(row[2 + i]);
        if (!n || *n < 1)
            return Bad(names[2 + i], row[2 + i], "is not a number from 1");
        numbers[i] = *n;
    }
    const std::string& type = row[5];
    if (type.size() != 1 ||
        !((type[0] >= 'A' && type[0] <= 'Z') || (type[0] >= 'a' && type[0] <= 'z')))
        return Bad(names[5], type, "is not a field type letter");
    for (std::size_t i = 6; i < 8; ++i)
        if (!OneCharacter(row[i]))
            return Bad(names[i], row[i], "is not one character");
    const bool third = row[8] == VerifyColumns::ThirdKey;
    if (!third && row[8] != VerifyColumns::Backspace)
        return Bad(names[8], row[8],
                   "is neither " + std::string(VerifyColumns::ThirdKey) + " nor " +
                       std::string(VerifyColumns::Backspace));
    if (record && numbers[0] != *record)
        return {};
    Group& g = m_groups[{row[1], std::string(day)}];
    ++g.replacements;
    ++(third ? g.byThirdKey : g.byBackspace);
    g.records.insert(numbers[0]);
    return {};
}

Result<std::int64_t> LogSummary::addStats(CsvReader& in, const Report& report)
{
    return addRows(in, report, StatsColumns::Header,
                   [this](std::span<const std::string> row) { return addStatsRow(row); });
}

Result<std::int64_t> LogSummary::addVerify(CsvReader& in, const Report& report,
                                           std::optional<std::int64_t> record)
{
    return addRows(
        in, report, VerifyColumns::Header,
        [this, record](std::span<const std::string> row) { return addVerifyRow(row, record); });
}

LogSummary::Group LogSummary::total() const
{
    Group t;
    for (const auto& [key, g] : m_groups) {
        t.openings += g.openings;
        t.counts.add(g.counts);
        t.replacements += g.replacements;
        t.byThirdKey += g.byThirdKey;
        t.byBackspace += g.byBackspace;
        t.records.insert(g.records.begin(), g.records.end());
    }
    return t;
}
