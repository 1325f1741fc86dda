#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What an operator's keying came to over a stretch of time: the counts the engine keeps
// for the session and for each opening of a data file, and the rates a shop is run on.
// The statistics window, the statistics log and korvalen-tool's summaries all take their
// figures from here, so they agree.
struct KeyingCounts {
    std::int64_t keystrokes = 0; // keys that reached the entry screen, bare modifiers left out
    std::int64_t stored = 0;     // records written at the end or into an insertion
    std::int64_t corrected = 0;  // stored records rewritten after stepping back to them
    std::int64_t verified = 0;   // records keyed through in Verify mode
    std::int64_t mismatches = 0; // "Mismatch" boxes shown
    std::int64_t replaced = 0;   // stored characters Verify replaced
    std::int64_t refused = 0;    // keys refused with a message
    std::int64_t keyingMs = 0;   // time between keys, pauses of more than a minute left out

    // A gap between two keys longer than this is a pause, not keying.
    static constexpr std::int64_t PauseMs = 60'000;

    void add(const KeyingCounts& other);

    // Rates over the keying time, 0 before any keying time was counted.
    double keystrokesPerHour() const;
    double recordsPerHour() const;
    // Per 1,000 keystrokes, 0 before the first keystroke.
    double refusedPerThousand() const;
    double replacedPerThousand() const;
    double keyingSeconds() const { return static_cast<double>(keyingMs) / 1000.0; }
};

// The CSV columns a row of the statistics log holds after its start, end, operator, data
// file, format and mode; the same text in the log's header and in korvalen-tool.
namespace StatsColumns
{

constexpr std::string_view Header =
    "start,end,operator,data_file,format,mode,keystrokes,records_stored,records_corrected,"
    "records_verified,mismatches,replaced,refused,keying_seconds,keystrokes_per_hour,"
    "records_per_hour,refused_per_1000,replaced_per_1000";
constexpr int Count = 18;

// The figures of a row, from keystrokes to replaced_per_1000, joined by commas.
std::string Figures(const KeyingCounts& c);
// A rate written as the log and the tool write it: fixed, with `decimals` places.
std::string Fixed(double value, int decimals);

} // namespace StatsColumns

// The CSV columns of the verification log, one row per character Verify replaced.
namespace VerifyColumns
{

constexpr std::string_view Header =
    "time,operator,record,position,field,field_type,stored,keyed,accepted";
constexpr int Count = 9;
// How the replacement was accepted: the third mismatching key, or after Backspace.
constexpr std::string_view ThirdKey = "third key";
constexpr std::string_view Backspace = "Backspace";

} // namespace VerifyColumns
