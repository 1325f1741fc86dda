#include "tool/BatchTool.h"

#include <cerrno>
#include <cstdio>
#include <ostream>
#include <unistd.h>

#include "batch/DataFileCheck.h"
#include "batch/DataFileCompare.h"
#include "batch/FieldTotals.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"
#include "batch/SummaryTable.h"
#include "batch/TotalledField.h"
#include "common/FindFile.h"
#include "datafile/LastCharRemoval.h"
#include "formats/FormatLoader.h"

namespace fs = std::filesystem;

namespace
{

constexpr const char* Prefix = "korvalen-tool: ";

// The error of a command's result, or success.
template <typename T> Result<void> Done(const Result<T>& r)
{
    if (!r)
        return r.error();
    return {};
}

} // namespace

BatchTool::BatchTool(FileIo& io, std::ostream& err, fs::path appDir)
    : m_io(io), m_err(err), m_appDir(std::move(appDir))
{
}

int BatchTool::fail(const std::string& message) const
{
    m_err << Prefix << message << '\n';
    return Usage;
}

int BatchTool::ended(const Result<void>& done, int status) const
{
    if (done)
        return status;
    if (OutputSink::ClosedPipe(done.error()))
        return Clean;
    return fail(done.error().message);
}

Result<fs::path> BatchTool::formatFile(const std::string& file, const FormatChoice& format) const
{
    if (!format.fmtFile.empty())
        return fs::path(format.fmtFile);
    std::error_code ec;
    const fs::path dataDir = fs::absolute(file, ec).parent_path();
    const fs::path own = FindFile::AnyCase(dataDir, "FILE.FMT");
    if (fs::exists(own, ec))
        return own;
    const fs::path app = FindFile::AnyCase(m_appDir, "FILE.FMT");
    if (fs::exists(app, ec))
        return app;
    return Error{"no FILE.FMT in " + dataDir.string() + " nor in " + m_appDir.string() +
                 " (name one with --fmt)"};
}

Result<RecordLayout> BatchTool::layout(const std::string& file, const FormatChoice& format) const
{
    const auto fmt = formatFile(file, format);
    if (!fmt)
        return fmt.error();
    const auto def = FormatLoader::LoadFormat(m_io, fmt.value(), format.name);
    if (!def)
        return def.error();
    return RecordLayout::Of(def.value());
}

Result<OutputSink> BatchTool::sink(const std::string& output) const
{
    if (output.empty())
        return OutputSink::ToDescriptor(STDOUT_FILENO);
    return OutputSink::ToFile(m_io, output);
}

Result<BatchTool::Batch> BatchTool::open(const std::string& file, const FormatChoice& format,
                                         const std::string& output) const
{
    auto in = LineReader::Open(m_io, file);
    if (!in)
        return in.error();
    auto rl = layout(file, format);
    if (!rl)
        return rl.error();
    auto out = sink(output);
    if (!out)
        return out.error();
    return Batch{std::move(in).value(), std::move(rl).value(), std::move(out).value()};
}

int BatchTool::check(const std::string& file, const FormatChoice& format, const std::string& output)
{
    auto batch = open(file, format, output);
    if (!batch)
        return fail(batch.error().message);
    auto& [in, rl, out] = batch.value();
    DataFileCheck check(rl);
    const auto counts = check.run(in, out);
    if (!counts)
        return ended(Done(counts), Usage);
    return ended(out.finish(), counts.value().faults > 0 ? Faults : Clean);
}

int BatchTool::exportRecords(const std::string& file, const FormatChoice& format,
                             const ExportOptions& options, const std::string& output)
{
    auto batch = open(file, format, output);
    if (!batch)
        return fail(batch.error().message);
    auto& [in, rl, out] = batch.value();
    Exporter exporter(rl, options);
    const auto counts = exporter.run(in, out, m_err);
    if (!counts)
        return ended(Done(counts), Usage);
    return ended(out.finish(), counts.value().skipped > 0 ? Faults : Clean);
}

int BatchTool::compare(const std::string& a, const std::string& b, const FormatChoice& format,
                       const std::string& output)
{
    auto batch = open(a, format, output);
    if (!batch)
        return fail(batch.error().message);
    auto inB = LineReader::Open(m_io, b);
    if (!inB)
        return fail(inB.error().message);
    auto& [inA, rl, out] = batch.value();
    DataFileCompare compare(rl, a, b);
    const auto counts = compare.run(inA, inB.value(), out);
    if (!counts)
        return ended(Done(counts), Usage);
    return ended(out.finish(), counts.value().any() ? Faults : Clean);
}

int BatchTool::totals(const std::string& file, const FormatChoice& format,
                      const TotalsRequest& request, const std::string& output)
{
    auto in = LineReader::Open(m_io, file);
    if (!in)
        return fail(in.error().message);
    const auto rl = layout(file, format);
    if (!rl)
        return fail(rl.error().message);
    const PairLayout* pair = rl.value().pairOf(request.pair);
    if (pair == nullptr)
        return fail(std::string("--pair ") + request.pair + ": format " + format.name +
                    " has the pairs " + rl.value().letters());
    const int fields = static_cast<int>(pair->fields.size());
    if (request.field < 1 || request.field > fields)
        return fail("--field " + std::to_string(request.field) + ": pair " + pair->letter + " of " +
                    format.name + " has fields 1 to " + std::to_string(fields));
    const LayoutField& field = pair->fields[static_cast<std::size_t>(request.field - 1)];
    if (!TotalledField::Qualifies(field))
        return fail("--field " + std::to_string(request.field) + ": " + field.name +
                    " is of type " + field.type + ", not a numeric field");
    std::optional<Decimal> expected;
    if (request.expect) {
        expected = Decimal::Parse(*request.expect, true);
        if (!expected)
            return fail("--expect " + *request.expect + ": not a decimal number");
    }
    auto out = sink(output);
    if (!out)
        return fail(out.error().message);
    FieldTotals totals(rl.value(), *pair, field);
    const auto t = totals.run(in.value(), out.value());
    if (!t)
        return ended(Done(t), Usage);
    const Totals& v = t.value();
    OutputSink& o = out.value();
    o.append(file + ", field " + std::to_string(field.number) + " (" + field.name + ", type " +
             field.type + ") of pair " + pair->letter + "\n");
    o.append("count " + std::to_string(v.count) + "\n");
    o.append("sum " + v.sum.str() + "\n");
    o.append("minimum " + (v.min ? v.min->str() : std::string("-")) + "\n");
    o.append("maximum " + (v.max ? v.max->str() : std::string("-")) + "\n");
    if (v.blank > 0)
        o.append("blank " + std::to_string(v.blank) + "\n");
    if (v.invalid > 0)
        o.append("not numbers " + std::to_string(v.invalid) + "\n");
    bool balanced = true;
    if (expected) {
        Decimal difference = v.sum;
        if (!difference.subtract(*expected))
            return fail("--expect " + *request.expect + ": too large to compare with the sum");
        balanced = difference.isZero();
        o.append("expected " + expected->str() + "\n");
        o.append("difference " + difference.str() +
                 (balanced ? " (balanced)" : " (does not balance)") + "\n");
    }
    return ended(o.finish(), balanced && v.invalid == 0 ? Clean : Faults);
}

int BatchTool::cut(const std::string& file)
{
    const std::string output = LastCharRemoval::OutputName(file);
    if (LastCharRemoval::WouldOverwrite(file, output))
        return fail("the copy of " + file + " without the last characters would be written over " +
                    "the file itself, so nothing was done");
    const auto done = LastCharRemoval::WriteCopy(m_io, file, output, {});
    if (!done)
        return fail(done.error().message);
    auto out = OutputSink::ToDescriptor(STDOUT_FILENO);
    out.append("Last character removed from file " + file + ": " + output + "\n");
    return ended(out.finish(), Clean);
}

Result<CsvReader> BatchTool::openLog(const std::string& file, std::string_view header,
                                     const std::string& kind) const
{
    auto in = CsvReader::Open(m_io, file);
    if (!in)
        return in.error();
    const auto first = in.value().next();
    if (!first)
        return Error{file + ": " + first.error().message, first.error().code};
    if (!first.value())
        return Error{file + ": empty, without the header of " + kind};
    if (!in.value().fault().empty() || !LogSummary::IsHeader(in.value().fields(), header))
        return Error{file + ": the first line is not the header of " + kind};
    return in;
}

LogSummary::Report BatchTool::reportFor(const std::string& file) const
{
    return [this, file](std::int64_t line, const std::string& fault) {
        m_err << Prefix << file << " line " << line << ": " << fault << '\n';
    };
}

namespace
{

std::string Count(std::int64_t n)
{
    return std::to_string(n);
}

// Keying time in the text table: hours, minutes and seconds.
std::string Clock(std::int64_t ms)
{
    const std::int64_t s = (ms + 500) / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    return buf;
}

SummaryTable StatsTable()
{
    return SummaryTable({{"operator", "operator", true},
                         {"day", "day", true},
                         {"openings", "openings"},
                         {"keystrokes", "keystrokes"},
                         {"keying", "keying_seconds"},
                         {"keys/h", "keystrokes_per_hour"},
                         {"stored", "records_stored"},
                         {"corrected", "records_corrected"},
                         {"verified", "records_verified"},
                         {"records/h", "records_per_hour"},
                         {"refused", "refused"},
                         {"refused/1000", "refused_per_1000"},
                         {"mismatches", "mismatches"},
                         {"replaced", "replaced"},
                         {"replaced/1000", "replaced_per_1000"}});
}

// The rates are worked out again from the summed counts, never averaged from the rows.
std::vector<std::string> StatsCells(const std::string& who, const std::string& day,
                                    const LogSummary::Group& g, bool csv)
{
    const KeyingCounts& c = g.counts;
    using StatsColumns::Fixed;
    return {who,
            day,
            Count(g.openings),
            Count(c.keystrokes),
            csv ? Fixed(c.keyingSeconds(), 1) : Clock(c.keyingMs),
            Fixed(c.keystrokesPerHour(), 0),
            Count(c.stored),
            Count(c.corrected),
            Count(c.verified),
            Fixed(c.recordsPerHour(), 1),
            Count(c.refused),
            Fixed(c.refusedPerThousand(), 2),
            Count(c.mismatches),
            Count(c.replaced),
            Fixed(c.replacedPerThousand(), 2)};
}

SummaryTable VerifyTable()
{
    return SummaryTable({{"operator", "operator", true},
                         {"day", "day", true},
                         {"replaced", "replaced"},
                         {"third key", "by_third_key"},
                         {"Backspace", "by_backspace"},
                         {"records", "records_touched"},
                         {"keystrokes", "keystrokes"},
                         {"replaced/1000", "replaced_per_1000"}});
}

// A verification log's figures, with the keystrokes of the statistics log when known.
std::vector<std::string> VerifyCells(const std::string& who, const std::string& day,
                                     const LogSummary::Group& g,
                                     std::optional<std::int64_t> keystrokes, bool csv)
{
    const std::string unknown = csv ? "" : "-";
    KeyingCounts c;
    c.replaced = g.replacements;
    c.keystrokes = keystrokes.value_or(0);
    return {who,
            day,
            Count(g.replacements),
            Count(g.byThirdKey),
            Count(g.byBackspace),
            Count(static_cast<std::int64_t>(g.records.size())),
            keystrokes ? Count(*keystrokes) : unknown,
            keystrokes ? StatsColumns::Fixed(c.replacedPerThousand(), 2) : unknown};
}

// The statistics log beside a verification log: the same name, ending .kvstats.
fs::path StatsBeside(const std::string& verifyFile)
{
    fs::path p(verifyFile);
    p.replace_extension(".kvstats");
    const fs::path dir = p.parent_path();
    const fs::path found =
        FindFile::AnyCase(dir.empty() ? fs::path(".") : dir, p.filename().string());
    return dir.empty() ? found.filename() : found;
}

} // namespace

int BatchTool::stats(const std::string& file, bool csv, const std::string& output)
{
    auto in = openLog(file, StatsColumns::Header, "a statistics log");
    if (!in)
        return fail(in.error().message);
    auto out = sink(output);
    if (!out)
        return fail(out.error().message);
    LogSummary summary;
    const auto malformed = summary.addStats(in.value(), reportFor(file));
    if (!malformed)
        return fail(file + ": " + malformed.error().message);
    SummaryTable table = StatsTable();
    for (const auto& [key, g] : summary.groups())
        table.add(StatsCells(key.first, key.second, g, csv));
    table.add(StatsCells("total", "", summary.total(), csv));
    if (csv)
        table.writeCsv(out.value().buffer());
    else
        table.writeText(out.value().buffer());
    return ended(out.value().finish(), malformed.value() > 0 ? Faults : Clean);
}

int BatchTool::verifyLog(const std::string& file, const VerifyLogRequest& request, bool csv,
                         const std::string& output)
{
    auto in = openLog(file, VerifyColumns::Header, "a verification log");
    if (!in)
        return fail(in.error().message);
    // A statistics log named with --stats must be there; the one beside may be missing.
    const std::string statsFile =
        request.statsFile.empty() ? StatsBeside(file).string() : request.statsFile;
    std::optional<CsvReader> statsIn;
    if (auto s = openLog(statsFile, StatsColumns::Header, "a statistics log"); s)
        statsIn.emplace(std::move(s).value());
    else if (!request.statsFile.empty() || s.error().code != ENOENT)
        return fail(s.error().message);
    auto out = sink(output);
    if (!out)
        return fail(out.error().message);

    LogSummary replacements;
    const auto malformed = replacements.addVerify(in.value(), reportFor(file), request.record);
    if (!malformed)
        return fail(file + ": " + malformed.error().message);
    LogSummary keying;
    std::int64_t statsMalformed = 0;
    if (statsIn) {
        const auto m = keying.addStats(*statsIn, reportFor(statsFile));
        if (!m)
            return fail(statsFile + ": " + m.error().message);
        statsMalformed = m.value();
    } else {
        m_err << Prefix << "no statistics log " << statsFile
              << ": replaced per 1,000 keystrokes left out (name one with --stats)\n";
    }

    SummaryTable table = VerifyTable();
    std::int64_t keystrokes = 0;
    std::int64_t unknown = 0;
    const auto keysOf = [&](const LogSummary::Key& key) -> std::optional<std::int64_t> {
        if (!statsIn)
            return std::nullopt;
        const auto at = keying.groups().find(key);
        if (at == keying.groups().end()) {
            ++unknown;
            return std::nullopt;
        }
        keystrokes += at->second.counts.keystrokes;
        return at->second.counts.keystrokes;
    };
    for (const auto& [key, g] : replacements.groups())
        table.add(VerifyCells(key.first, key.second, g, keysOf(key), csv));
    // The total's rate over the keystrokes of its own rows, and only when all are known.
    std::optional<std::int64_t> totalKeys;
    if (statsIn && unknown == 0)
        totalKeys = keystrokes;
    table.add(VerifyCells("total", "", replacements.total(), totalKeys, csv));
    if (unknown > 0)
        m_err << Prefix << statsFile << " holds no opening for " << unknown
              << (unknown == 1 ? " operator and day" : " operators and days") << " of " << file
              << ": their replaced per 1,000 keystrokes left out\n";
    if (csv)
        table.writeCsv(out.value().buffer());
    else
        table.writeText(out.value().buffer());
    return ended(out.value().finish(), malformed.value() + statsMalformed > 0 ? Faults : Clean);
}
