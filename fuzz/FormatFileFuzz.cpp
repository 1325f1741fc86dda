// Feeds arbitrary bytes as FILE.FMT to the format list and the format reader, and checks
// that every pair of a format that loads gives a sound field table.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/SystemFileIo.h"
#include "formats/FormatLoader.h"
#include "formats/FormatNames.h"
#include "fuzz/FuzzFolder.h"

namespace
{

// Formats offered by the selection dialog that are loaded per input, to bound the time.
constexpr std::size_t MaxEntriesLoaded = 8;
constexpr std::size_t MaxNameLength = 20;

// The name the operator would type: the input's first line, as long as a name line can be.
std::string NameFromInput(std::string_view input)
{
    const auto end = input.find_first_of("\r\n");
    return std::string(input.substr(0, std::min({end, input.size(), MaxNameLength})));
}

bool IsCode(char c)
{
    return c != '-' && c != '.';
}

// Field-table entries BuildFieldTable is expected to fill: one per code position within
// RecLen (blank past the line's end counts as a code), at most MaxFields.
int CodePositions(const FormatState& st)
{
    int n = 0;
    for (int j = 1; j <= st.RecLen && n < FormatState::MaxFields; ++j) {
        const char c = j <= static_cast<int>(st.FmtLine.size()) ? st.FmtLine[j - 1] : ' ';
        if (IsCode(c))
            ++n;
    }
    return n;
}

void CheckFieldTable(const FormatState& st)
{
    Require(st.FieldCount >= 0 && st.FieldCount <= FormatState::MaxFields - 1);
    const int entries = CodePositions(st);
    Require(st.FieldCount == (entries > 0 ? entries - 1 : 0));
    // The fields and the end marker after them run in ascending order, each starting where
    // the one before ends, and none reaches past the record.
    for (int k = 1; k <= entries; ++k) {
        const Field& f = st.Fields[static_cast<std::size_t>(k)];
        Require(f.Start >= 1 && f.Len >= 1);
        Require(f.Start + f.Len - 1 <= st.RecLen);
        if (k > 1) {
            const Field& prev = st.Fields[static_cast<std::size_t>(k - 1)];
            Require(f.Start == prev.Start + prev.Len);
        }
    }
    if (entries > 0) {
        const Field& last = st.Fields[static_cast<std::size_t>(entries)];
        Require(last.Start + last.Len - 1 == st.RecLen);
    }
}

SystemFileIo io;

void LoadAndCheck(const std::filesystem::path& fmtFile, const std::string& name)
{
    const auto def = FormatLoader::LoadFormat(io, fmtFile, name);
    if (!def) {
        Require(!def.error().message.empty());
        return;
    }
    Require(def->FmtCount >= 1 && def->FmtCount <= FormatState::MaxPairs);
    Require(def->RecLen >= FormatState::MinFormatLineLength);
    FormatState st;
    FormatLoader::Apply(def.value(), st);
    Require(st.FmtNo == 1 && st.RecLen == def->RecLen);
    for (int pair = 1; pair <= st.FmtCount; ++pair) {
        st.FmtNo = pair;
        st.BuildFieldTable();
        Require(st.FmtLine == def->FmtLines[static_cast<std::size_t>(pair)]);
        CheckFieldTable(st);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder("korvalen-fmt-fuzz");
    if (folder.path().empty()) {
        std::fputs("FormatFileFuzz: cannot make a temporary folder\n", stderr);
        std::abort();
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!folder.write("FILE.FMT", input))
        std::abort();
    const auto fmtFile = folder.path() / "FILE.FMT";

    LoadAndCheck(fmtFile, NameFromInput(input));
    const auto read = FormatNames::ReadFormatNames(io, fmtFile);
    Require(read.ok());
    const auto& entries = read.value();
    for (std::size_t i = 0; i < entries.size() && i < MaxEntriesLoaded; ++i) {
        // An entry is "NAME-LENGTH" of a name line: short, starting with a letter.
        const auto dash = entries[i].rfind('-');
        Require(dash != std::string::npos && dash < MaxNameLength);
        Require(FormatNames::IsAlpha(entries[i]));
        LoadAndCheck(fmtFile, entries[i]);
    }
    return 0;
}
