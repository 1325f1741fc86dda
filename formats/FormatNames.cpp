#include "formats/FormatNames.h"

#include "common/FindFile.h"
#include "common/FullIo.h"
#include "common/TextUtil.h"

namespace FormatNames
{

namespace
{

bool IsNameLine(std::string_view line)
{
    return line.size() < 20 && !text::Contains(line, ".") && !text::Contains(line, "-") &&
           IsAlpha(line) && !text::Contains(line, "*");
}

} // namespace

Result<std::vector<std::string>> ReadFormatNames(FileIo& io, const std::filesystem::path& fmtFile)
{
    std::vector<std::string> entries;
    const auto lines = FullIo::ReadLines(io, fmtFile.string());
    if (!lines)
        return lines.error();
    const auto& all = lines.value();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!IsNameLine(all[i]) || i + 1 >= all.size())
            continue;
        entries.push_back(all[i] + "-" + std::to_string(all[i + 1].size()));
        // The line after a name is its format line and is skipped, unless it is itself a
        // name: then the line before was a short heading, and the format must still be listed.
        if (!IsNameLine(all[i + 1]))
            ++i;
    }
    return entries;
}

std::filesystem::path SeedFormatFile(const std::filesystem::path& dataDir,
                                     const std::filesystem::path& appDir)
{
    namespace fs = std::filesystem;
    const fs::path own = FindFile::AnyCase(dataDir, "FILE.FMT");
    std::error_code ec;
    if (fs::exists(own, ec))
        return own;
    const fs::path seed = FindFile::AnyCase(appDir, "FILE.FMT");
    if (fs::exists(seed, ec))
        fs::copy_file(seed, own, ec);
    return own;
}

bool IsAlpha(std::string_view text)
{
    if (text.empty())
        return false;
    const char c = text.front();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string PathName(std::string_view path)
{
    const auto last =
        path.find_last_of(static_cast<char>(std::filesystem::path::preferred_separator));
    if (last == std::string_view::npos)
        return {};
    return std::string(path.substr(0, last + 1));
}

} // namespace FormatNames
