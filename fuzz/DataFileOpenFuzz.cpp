// Feeds arbitrary bytes as a data file to the engine's opening with a small two-pair
// format, and checks that opening never alters the file and only sets up the screen over
// a whole run of record slots.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/PositionOnlySurface.h"
#include "tests/support/MemorySettingsStore.h"

namespace
{

// Records of 8 characters; the last one holds the format letter, 'a' or 'b'.
constexpr std::string_view FormatFile = "SMALL/2\r\n"
                                        "AAAANNNE\r\n"
                                        "NAME NO \r\n"
                                        "NNNAAAAE\r\n"
                                        "NO NAME \r\n";
constexpr const char* DataName = "fuzz.dat";
// Twenty columns are room for the record.
constexpr double ScreenCols = 20;
constexpr double ScreenRows = 8;

// With the screen set up, the counted records must be what the file holds: each record's
// characters are there (the last may lack its CR LF) and nothing lies past the last slot.
void CheckCount(const Engine& e, std::int64_t length)
{
    const std::int64_t records = e.rec.EndRec - 1;
    const std::int64_t recLen = e.fmt.RecLen;
    const std::int64_t slot = recLen + 2;
    Require(e.rec.CurRec == e.rec.EndRec && records >= 0);
    Require(e.file.DataFileLen == length);
    if (records == 0) {
        Require(length == 0);
        return;
    }
    Require((records - 1) * slot + recLen <= length);
    Require(length <= records * slot);
    Require(e.fmt.FmtNo >= 1 && e.fmt.FmtNo <= e.fmt.FmtCount);
    Require(static_cast<std::int64_t>(e.rec.OrigRec.size()) == recLen);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzFolder& folder = FuzzFolder::WithFormats("korvalen-open-fuzz", FormatFile);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!folder.write(DataName, input))
        std::abort();

    PositionOnlySurface screen(ScreenCols, ScreenRows);
    ScriptedDialogs dialogs;
    MemorySettingsStore store;
    Engine e(screen, dialogs, store, folder.path());
    e.Form_Load();
    e.file.DataPath = folder.path().string();
    Require(e.file.LoadFormat("SMALL"));
    dialogs.boxes.clear(); // the missing status-bar picture is reported by Form_Load

    e.file.OpenDataFile((folder.path() / DataName).string());
    Require(folder.read(DataName) == input);
    if (e.scr.RecordShown)
        CheckCount(e, static_cast<std::int64_t>(size));
    else
        Require(!dialogs.boxes.empty()); // a file left unset is always explained
    e.file.mnuClose_Click();
    Require(folder.read(DataName) == input);
    return 0;
}
