#pragma once

#include <filesystem>
#include <string_view>

// The program's own files (FILE.FMT, TIPOFDAY.TXT, the pictures, the help page) may be
// spelled in any letter case on disk.
namespace FindFile
{

// dir/name when it exists, else the first entry of dir whose name equals name without
// regard to case, else dir/name as given (so callers can still report or create it).
std::filesystem::path AnyCase(const std::filesystem::path& dir, std::string_view name);

} // namespace FindFile
