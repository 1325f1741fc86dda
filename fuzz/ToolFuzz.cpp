// Feeds korvalen-tool's check, export (CSV and JSON Lines) and totals arbitrary FILE.FMT text
// and data-file bytes through BatchTool, as the executable calls them. Input: two bytes of
// FILE.FMT's length, FILE.FMT, then the data file. Every command must end with a status of
// 0, 1 or 2, and every CSV written must parse back (RFC 4180) to one header and one row per
// record of a pair, each of the layout's column count.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/RecordLayout.h"
#include "batch/TotalledField.h"
#include "common/SystemFileIo.h"
#include "formats/FormatLoader.h"
#include "formats/FormatNames.h"
#include "fuzz/FuzzFolder.h"
#include "tool/BatchTool.h"

namespace
{

// The column count of each CSV row, or nothing when the text is no valid CSV.
std::optional<std::vector<std::size_t>> CsvRows(std::string_view csv)
{
    std::vector<std::size_t> rows;
    std::size_t columns = 1;
    std::size_t i = 0;
    while (i < csv.size()) {
        if (csv[i] == '"') {
            for (++i;; ++i) {
                if (i >= csv.size())
                    return std::nullopt; // an open quote at the end
                if (csv[i] != '"')
                    continue;
                if (i + 1 < csv.size() && csv[i + 1] == '"') {
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            if (i < csv.size() && csv[i] != ',' && csv[i] != '\r')
                return std::nullopt; // text after a closing quote
            continue;
        }
        if (csv[i] == ',') {
            ++columns;
        } else if (csv[i] == '\r') {
            if (i + 1 >= csv.size() || csv[i + 1] != '\n')
                return std::nullopt;
            rows.push_back(columns);
            columns = 1;
            ++i;
        } else if (csv[i] == '\n' || csv[i] == '"') {
            return std::nullopt; // bare line ends and quotes belong inside quotes
        }
        ++i;
    }
    if (columns != 1)
        return std::nullopt; // the last row has no CR LF
    return rows;
}

// Records the export writes: whole ones whose letter names a pair.
std::size_t ExportedRecords(std::string_view data, const RecordLayout& layout)
{
    const auto recLen = static_cast<std::size_t>(layout.recLen());
    std::size_t n = 0;
    for (std::size_t at = 0; at < data.size(); at += recLen + 2) {
        if (data.size() - at >= recLen && layout.pairOf(data[at + recLen - 1]) != nullptr)
            ++n;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    static const FuzzFolder folder("korvalen-tool-fuzz");
    if (size < 2 || folder.path().empty())
        return 0;
    const std::size_t fmtLen = std::min<std::size_t>(bytes[0] | (bytes[1] << 8), size - 2);
    const std::string_view input(reinterpret_cast<const char*>(bytes) + 2, size - 2);
    const std::string_view fmt = input.substr(0, fmtLen);
    const std::string_view data = input.substr(fmtLen);
    if (!folder.write("FILE.FMT", fmt) || !folder.write("A.DAT", data))
        std::abort();

    SystemFileIo io;
    const std::string fmtFile = (folder.path() / "FILE.FMT").string();
    const std::string file = (folder.path() / "A.DAT").string();
    const std::string out = (folder.path() / "out").string();
    const auto names = FormatNames::ReadFormatNames(io, fmtFile);
    const std::string name = names && !names->empty() ? names->front() : "X";
    std::ostringstream err;
    BatchTool tool(io, err, folder.path());
    const FormatChoice format{name, ""};

    const int checked = tool.check(file, format, out);
    Require(checked >= 0 && checked <= 2);
    const int jsonl = tool.exportRecords(file, format, {ExportOptions::Form::Jsonl, false}, out);
    Require(jsonl >= 0 && jsonl <= 2);
    const int exported = tool.exportRecords(file, format, {ExportOptions::Form::Csv, true}, out);
    Require(exported >= 0 && exported <= 2);

    const auto def = FormatLoader::LoadFormat(io, fmtFile, name);
    Require(def.ok() == (exported != 2));
    if (!def)
        return 0;
    const RecordLayout layout = RecordLayout::Of(def.value());
    std::size_t columns = layout.pairs().size() > 1 ? 1 : 0;
    std::size_t widest = 0;
    for (const PairLayout& p : layout.pairs())
        widest = std::max(widest, p.fields.size());
    columns += widest;
    const auto rows = CsvRows(folder.read("out"));
    Require(rows.has_value());
    Require(rows->size() == ExportedRecords(data, layout) + 1);
    for (const std::size_t c : *rows)
        Require(c == std::max<std::size_t>(columns, 1));

    // The first numeric field of the first pair, balanced against nothing.
    for (const LayoutField& f : layout.pairs().front().fields) {
        if (!TotalledField::Qualifies(f))
            continue;
        const int totals = tool.totals(file, format, {f.number, 'a', "0"}, out);
        Require(totals >= 0 && totals <= 2);
        break;
    }
    return 0;
}
