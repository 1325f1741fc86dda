#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "batch/CsvReader.h"
#include "batch/Exporter.h"
#include "batch/LineReader.h"
#include "batch/LogSummary.h"
#include "batch/OutputSink.h"
#include "batch/RecordLayout.h"
#include "common/Result.h"

class FileIo;

// The format a command reads a data file under: its name, and FILE.FMT's path when given
// (else the data file's folder's, else the application directory's).
struct FormatChoice {
    std::string name;
    std::string fmtFile;
};

struct TotalsRequest {
    int field = 0; // from 1 along the format line
    char pair = 'a';
    std::optional<std::string> expect;
};

struct VerifyLogRequest {
    std::string statsFile; // empty: NAME.kvstats beside NAME.kvverify, when there is one
    std::optional<std::int64_t> record;
};

// The commands of korvalen-tool over the batch classes. Each returns the exit status:
// Clean, Faults (the file has faults, the files differ, the batch does not balance, a log
// row is malformed) or Usage (a missing file, an unknown format, an unreadable FILE.FMT, a
// log without its header, a failed write). Reports go to output ("" for standard output),
// problems one line each to err.
class BatchTool
{
public:
    static constexpr int Clean = 0;
    static constexpr int Faults = 1;
    static constexpr int Usage = 2;

    BatchTool(FileIo& io, std::ostream& err, std::filesystem::path appDir);

    int check(const std::string& file, const FormatChoice& format, const std::string& output);
    int exportRecords(const std::string& file, const FormatChoice& format,
                      const ExportOptions& options, const std::string& output);
    int compare(const std::string& a, const std::string& b, const FormatChoice& format,
                const std::string& output);
    int totals(const std::string& file, const FormatChoice& format, const TotalsRequest& request,
               const std::string& output);
    int cut(const std::string& file);
    // The statistics log summed per operator and day; a text table, or CSV.
    int stats(const std::string& file, bool csv, const std::string& output);
    // The replacements of the verification log per operator and day, per 1,000 keystrokes of
    // the statistics log.
    int verifyLog(const std::string& file, const VerifyLogRequest& request, bool csv,
                  const std::string& output);

    // The FILE.FMT a data file is read under.
    Result<std::filesystem::path> formatFile(const std::string& file,
                                             const FormatChoice& format) const;

private:
    // What a command that reads a data file through works on.
    struct Batch {
        LineReader in;
        RecordLayout records;
        OutputSink out;
    };
    Result<Batch> open(const std::string& file, const FormatChoice& format,
                       const std::string& output) const;
    Result<RecordLayout> layout(const std::string& file, const FormatChoice& format) const;
    Result<OutputSink> sink(const std::string& output) const;
    // A log opened and read past its header; kind names it in the refusal.
    Result<CsvReader> openLog(const std::string& file, std::string_view header,
                              const std::string& kind) const;
    // Malformed rows of the log file, one line each on err.
    LogSummary::Report reportFor(const std::string& file) const;
    // The status of a command whose work ended in done: a failure is said on err, a closed
    // pipe ends quietly.
    int ended(const Result<void>& done, int status) const;
    int fail(const std::string& message) const;

    FileIo& m_io;
    std::ostream& m_err;
    std::filesystem::path m_appDir;
};
