// korvalen-tool: batch work on KORVALEN data files without a display: check, export,
// compare, totals and cut, and the summaries of the statistics and verification logs. Exit
// status 0 clean, 1 faults, differences or malformed log rows, 2 a usage error or a file that
// cannot be read.

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <iostream>

#include "common/BuildInfo.h"
#include "common/SystemFileIo.h"
#include "startup/AppDirectory.h"
#include "tool/BatchTool.h"

namespace
{

namespace fs = std::filesystem;

// The executable's own folder, where the build and the package place FILE.FMT's seed.
fs::path ExeDir(const char* argv0)
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path();
    return fs::absolute(argv0, ec).parent_path();
}

void OutputOption(CLI::App& cmd, std::string& output)
{
    cmd.add_option("-o,--output", output,
                   "write to this file, built beside it and renamed when complete "
                   "(default: standard output)");
}

// The options every command that reads records under a format takes.
void FormatOptions(CLI::App& cmd, FormatChoice& format, std::string& output)
{
    cmd.add_option("--format", format.name, "the format's name in FILE.FMT")->required();
    cmd.add_option("--fmt", format.fmtFile,
                   "FILE.FMT to read (default: the data file's folder, else the "
                   "application directory)");
    OutputOption(cmd, output);
}

} // namespace

int main(int argc, char** argv)
{
    // A reader that went away (| head) is an EPIPE from write, ended quietly.
    std::signal(SIGPIPE, SIG_IGN);

    CLI::App app{"Batch work on KORVALEN data files: check, export, compare, totals, cut; "
                 "summaries of the statistics and verification logs: stats, verifylog."};
    app.name("korvalen-tool");
    app.set_version_flag("--version", std::string("korvalen-tool ") + BuildInfo::Version);
    app.require_subcommand(1);

    FormatChoice format;
    std::string output;
    std::string file;
    std::string second;

    CLI::App* check =
        app.add_subcommand("check", "check every record as the keying engine would have stored it");
    check->add_option("FILE", file, "the data file")->required();
    FormatOptions(*check, format, output);

    ExportOptions exportOptions;
    CLI::App* exp = app.add_subcommand("export", "write the records as CSV or JSON Lines");
    exp->add_option("FILE", file, "the data file")->required();
    FormatOptions(*exp, format, output);
    bool csv = false;
    bool jsonl = false;
    auto* csvFlag = exp->add_flag("--csv", csv, "CSV, RFC 4180 (the default)");
    exp->add_flag("--jsonl", jsonl, "JSON Lines, one object a record")->excludes(csvFlag);
    exp->add_flag("--raw", exportOptions.raw, "keep the trailing blanks of text fields");

    CLI::App* cmp = app.add_subcommand("compare", "compare two keyings of the same documents");
    cmp->add_option("A", file, "the first keying")->required();
    cmp->add_option("B", second, "the second keying")->required();
    FormatOptions(*cmp, format, output);

    TotalsRequest request;
    CLI::App* tot =
        app.add_subcommand("totals", "count, sum, minimum and maximum of a numeric field, exactly");
    tot->add_option("FILE", file, "the data file")->required();
    FormatOptions(*tot, format, output);
    tot->add_option("--field", request.field, "the field's number, from 1 along the format line")
        ->required();
    std::string pair = "a";
    std::string expect;
    tot->add_option("--pair", pair, "the pair's format letter (default a)")
        ->check([](const std::string& p) {
            return p.size() == 1 ? std::string() : std::string("one format letter: a, b, ...");
        });
    const auto* expectOption =
        tot->add_option("--expect", expect,
                        "the batch total: prints the difference, exit 1 when it does not balance");

    CLI::App* cut = app.add_subcommand(
        "cut", "write FILE.fil: each line without its last character (Tools > Cut)");
    cut->add_option("FILE", file, "the data file")->required();

    bool tableCsv = false;
    CLI::App* sta = app.add_subcommand(
        "stats", "the statistics log NAME.kvstats summed per operator and day, and in total");
    sta->add_option("FILE", file, "the statistics log")->required();
    sta->add_flag("--csv", tableCsv, "CSV, RFC 4180, for a spreadsheet (default: a text table)");
    OutputOption(*sta, output);

    VerifyLogRequest verify;
    std::int64_t record = 0;
    CLI::App* ver = app.add_subcommand(
        "verifylog", "the replacements of the verification log NAME.kvverify per operator and day");
    ver->add_option("FILE", file, "the verification log")->required();
    ver->add_option("--stats", verify.statsFile,
                    "the statistics log the keystrokes come from (default: NAME.kvstats beside "
                    "FILE, when there is one)");
    const auto* recordOption =
        ver->add_option("--record", record, "only the replacements made in this record")
            ->check([](const std::string& n) {
                return !n.empty() && n.size() <= 18 &&
                               n.find_first_not_of("0123456789") == std::string::npos &&
                               n.find_first_not_of('0') != std::string::npos
                           ? std::string()
                           : std::string("a record number, from 1");
            });
    ver->add_flag("--csv", tableCsv, "CSV, RFC 4180, for a spreadsheet (default: a text table)");
    OutputOption(*ver, output);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "korvalen-tool: " << e.what() << " (see korvalen-tool --help)\n";
        return BatchTool::Usage;
    }

    SystemFileIo io;
    BatchTool tool(io, std::cerr, AppDirectory::Find(ExeDir(argv[0])));
    if (*check)
        return tool.check(file, format, output);
    if (*exp) {
        exportOptions.form = jsonl ? ExportOptions::Form::Jsonl : ExportOptions::Form::Csv;
        return tool.exportRecords(file, format, exportOptions, output);
    }
    if (*cmp)
        return tool.compare(file, second, format, output);
    if (*tot) {
        request.pair = pair.front();
        if (expectOption->count() > 0)
            request.expect = expect;
        return tool.totals(file, format, request, output);
    }
    if (*sta)
        return tool.stats(file, tableCsv, output);
    if (*ver) {
        if (recordOption->count() > 0)
            verify.record = record;
        return tool.verifyLog(file, verify, tableCsv, output);
    }
    return tool.cut(file);
}
