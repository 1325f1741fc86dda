#include "formats/FormatLoader.h"

#include <algorithm>

#include "common/FullIo.h"
#include "common/TextUtil.h"

namespace FormatLoader
{

namespace
{

bool IsSeparatorLine(std::string_view line)
{
    return text::Contains(line, "*") || text::Contains(line, "--") || text::Contains(line, "..");
}

int PairCount(std::string_view nameLine)
{
    const auto slash = nameLine.find('/');
    if (slash == std::string_view::npos)
        return 1;
    const auto count = text::Val(nameLine.substr(slash + 1));
    return count <= 0 ? 1 : static_cast<int>(std::min<std::int64_t>(count, 1000));
}

int CodeCount(std::string_view formatLine)
{
    return static_cast<int>(std::count_if(formatLine.begin(), formatLine.end(),
                                          [](char c) { return c != '-' && c != '.'; }));
}

std::string Heading(std::string line, int recLen)
{
    if (text::Contains(line, "    "))
        line.clear();
    if (static_cast<int>(line.size()) < recLen)
        line.resize(static_cast<std::size_t>(std::max(recLen - 1, 0)), ' ');
    return line;
}

} // namespace

std::string FmtNamePart(std::string_view line)
{
    const auto slash = line.find('/');
    if (slash != std::string_view::npos)
        return std::string(line.substr(0, slash));
    return text::Trim(line);
}

Result<FormatDef> LoadFormat(FileIo& io, const std::filesystem::path& fmtFile,
                             std::string_view name)
{
    std::string wanted(name.substr(0, name.find('-')));
    wanted = FmtNamePart(text::Upper(text::Trim(wanted)));
    const std::string where = " in " + fmtFile.string();
    if (wanted.empty())
        return Error{"No format name was given."};

    auto lines = FullIo::ReadLines(io, fmtFile.string());
    if (!lines)
        return Error{"Can't open file: " + fmtFile.string() + " (" + lines.error().message + ")",
                     lines.error().code};
    const auto& all = lines.value();

    std::size_t i = 0;
    bool found = false;
    for (;; ++i) {
        if (i >= all.size())
            return Error{"Format " + std::string(name) + " was not found" + where + "."};
        const std::string line = text::Upper(text::Trim(all[i]));
        if (FmtNamePart(line) == wanted)
            found = true;
        if (found && !IsSeparatorLine(line))
            break;
    }

    FormatDef def;
    def.FmtCount = PairCount(text::Trim(all[i]));
    if (def.FmtCount > FormatState::MaxPairs)
        return Error{"Format " + std::string(name) + " has " + std::to_string(def.FmtCount) +
                     " pairs" + where + "; at most " + std::to_string(FormatState::MaxPairs) +
                     " are allowed."};
    ++i;
    for (int pair = 1; pair <= def.FmtCount; ++pair) {
        while (i < all.size() && static_cast<int>(all[i].size()) < FormatState::MinFormatLineLength)
            ++i;
        if (i + 1 >= all.size())
            return Error{"FILE.FMT ends inside pair " + std::to_string(pair) + " of format " +
                         std::string(name) + where + "."};
        const std::string& formatLine = all[i++];
        if (CodeCount(formatLine) > FormatState::MaxFields)
            return Error{"Format " + std::string(name) + ": format line " + std::to_string(pair) +
                         " holds " + std::to_string(CodeCount(formatLine)) +
                         " field codes; at most " + std::to_string(FormatState::MaxFields) +
                         " are allowed."};
        def.FmtLines[pair] = formatLine;
        def.RecLen = static_cast<int>(formatLine.size());
        def.HeadLines[pair] = Heading(all[i++], def.RecLen);
    }
    return def;
}

void Apply(const FormatDef& def, FormatState& state)
{
    state.FmtCount = def.FmtCount;
    state.FmtLines = def.FmtLines;
    state.HeadLines = def.HeadLines;
    state.RecLen = def.RecLen;
    state.FmtNo = 1;
}

} // namespace FormatLoader
