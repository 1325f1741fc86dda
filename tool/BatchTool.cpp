#include "tool/BatchTool.h"

#include <ostream>
#include <unistd.h>

#include "batch/DataFileCheck.h"
#include "batch/DataFileCompare.h"
#include "batch/FieldTotals.h"
#include "batch/LineReader.h"
#include "batch/OutputSink.h"
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
