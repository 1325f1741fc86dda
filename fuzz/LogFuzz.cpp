// Feeds korvalen-tool's log summaries arbitrary statistics and verification logs, and checks
// that rows written the station's way read back to the counts they were written with.
// Input: a first byte choosing the check, then the log's bytes (after its header) or the
// bytes the rows are drawn from.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "batch/CsvReader.h"
#include "batch/LogSummary.h"
#include "common/Latin1.h"
#include "common/SystemFileIo.h"
#include "fuzz/FuzzFolder.h"
#include "stats/KeyingCounts.h"
#include "stats/StatsLog.h"

namespace
{

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

const FuzzFolder& Folder()
{
    static const FuzzFolder folder("kvlog");
    Require(!folder.path().empty());
    return folder;
}

// Sums a log's rows; a summary that reads at all must add up to its groups.
void Summarise(const std::string& header, std::string_view body, bool stats)
{
    SystemFileIo io;
    const std::string name = stats ? "A.kvstats" : "A.kvverify";
    Require(Folder().write(name, header + "\n" + std::string(body)));
    auto in = CsvReader::Open(io, (Folder().path() / name).string());
    Require(in.ok());
    auto first = in.value().next();
    Require(first.ok() && first.value());
    LogSummary summary;
    const auto ignore = [](std::int64_t, const std::string&) {};
    const auto added =
        stats ? summary.addStats(in.value(), ignore) : summary.addVerify(in.value(), ignore);
    if (!added)
        return;
    std::int64_t keys = 0, replacements = 0;
    for (const auto& [key, group] : summary.groups()) {
        keys += group.counts.keystrokes;
        replacements += group.replacements;
    }
    const LogSummary::Group total = summary.total();
    Require(total.counts.keystrokes == keys && total.replacements == replacements);
}

// Rows drawn from the bytes, written as the station writes them, must read back whole.
void RoundTrip(std::string_view bytes)
{
    std::string log;
    KeyingCounts written;
    std::int64_t rows = 0;
    std::string firstOperator;
    for (std::size_t at = 0; at + 10 <= bytes.size() && rows < 50; at += 10, ++rows) {
        const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
        KeyingCounts c;
        c.keystrokes = b(0) * 256 + b(1);
        c.stored = b(2);
        c.corrected = b(3) & 15;
        c.verified = b(3) >> 4;
        c.mismatches = b(4);
        c.replaced = b(5) & 31;
        c.refused = b(6);
        c.keyingMs = (b(7) * 256 + b(8)) * 100;
        written.add(c);
        // Every operator name holds bytes CSV must quote or convert.
        std::string op = "op" + std::string(1, static_cast<char>(b(9) | 0x20)) + ",\"x";
        if (rows == 0)
            firstOperator = op;
        StatsLog::Opening o{1'700'000'000, 1'700'000'060, op, "/d/A.DAT", "STOCK", "Entry"};
        log += StatsLog::FormatRow(o, c);
    }
    SystemFileIo io;
    Require(Folder().write("R.kvstats", std::string(StatsColumns::Header) + "\n" + log));
    auto in = CsvReader::Open(io, (Folder().path() / "R.kvstats").string());
    Require(in.ok());
    Require(in.value().next().value());
    LogSummary summary;
    const auto added =
        summary.addStats(in.value(), [](std::int64_t, const std::string&) { std::abort(); });
    Require(added.ok() && added.value() == 0);
    const KeyingCounts read = summary.total().counts;
    Require(read.keystrokes == written.keystrokes && read.stored == written.stored &&
            read.corrected == written.corrected && read.verified == written.verified &&
            read.mismatches == written.mismatches && read.replaced == written.replaced &&
            read.refused == written.refused && read.keyingMs == written.keyingMs);
    Require(summary.total().openings == rows);
    if (rows > 0) {
        std::string utf8;
        Latin1::AppendUtf8(firstOperator, utf8);
        bool found = false;
        for (const auto& [key, group] : summary.groups())
            found |= key.first == utf8;
        Require(found);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        Summarise(std::string(StatsColumns::Header), rest, true);
        break;
    case 1:
        Summarise(std::string(VerifyColumns::Header), rest, false);
        break;
    default:
        RoundTrip(rest);
        break;
    }
    return 0;
}
