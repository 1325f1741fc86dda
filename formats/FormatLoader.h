#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/Result.h"
#include "formats/FormatState.h"

class FileIo;

// A format as found in FILE.FMT: its pairs of format and heading lines.
struct FormatDef {
    int FmtCount = 0;
    std::array<std::string, FormatState::MaxPairs + 1> FmtLines;
    std::array<std::string, FormatState::MaxPairs + 1> HeadLines;
    int RecLen = 0;
};

// Reads named formats out of FILE.FMT.
namespace FormatLoader
{

// Finds the format whose name part equals that of name (case ignored, cut at the first
// "-") and reads its pairs. The error names what went wrong and where.
Result<FormatDef> LoadFormat(FileIo& io, const std::filesystem::path& fmtFile,
                             std::string_view name);

// The characters before the first "/" as they stand, else the whole line trimmed.
std::string FmtNamePart(std::string_view line);

// Copies a loaded format into the shared state, with FmtNo back at 1.
void Apply(const FormatDef& def, FormatState& state);

} // namespace FormatLoader
