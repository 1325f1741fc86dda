#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"

class FileIo;

// The entries offered by the format selection dialog, and the path helpers it carries.
namespace FormatNames
{

// Entries "NAME-LENGTH" for every name line of the file: the name line as it stands, then
// "-" and the length of the line after it.
Result<std::vector<std::string>> ReadFormatNames(FileIo& io, const std::filesystem::path& fmtFile);

// Finds FILE.FMT in dataDir; when there is none, seeds it from appDir's copy first.
// Returns the path to read (which may not exist when neither folder has one).
std::filesystem::path SeedFormatFile(const std::filesystem::path& dataDir,
                                     const std::filesystem::path& appDir);

// True when text starts with a letter A-Z or a-z.
bool IsAlpha(std::string_view text);

// The path up to and including its last separator; empty when there is none.
std::string PathName(std::string_view path);

} // namespace FormatNames
