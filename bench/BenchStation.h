#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/Engine.h"
#include "engine/ScriptedDialogs.h"
#include "keying/KeyNames.h"
#include "keying/ScreenModel.h"
#include "tests/support/MemorySettingsStore.h"

// A headless station over an application folder of the caller's choosing, so that its data
// files sit on the disk under test. The folder holds one format of 80-character records:
// a 79-character field and the format letter, so that 79 typed characters complete a record.
class BenchStation
{
public:
    static constexpr int RecLen = 80;
    static constexpr const char* Entry = "BENCH80-80";

    // Writes FILE.FMT and the duplicate picture into folder.
    static void WriteAppFolder(const std::filesystem::path& folder,
                               const std::filesystem::path& demoData);
    // Record n: its number in ten digits, filler, and the format letter.
    static std::string RecordText(std::int64_t n);
    // Writes records 1..count, about 1 MB per write; false when the disk refused.
    static bool WriteDataFile(const std::filesystem::path& path, std::int64_t count);
    // The character typed as key i of a record (0..78).
    static char TypedChar(std::int64_t i) { return static_cast<char>('A' + i % 26); }

    explicit BenchStation(const std::filesystem::path& folder);

    // File > Open of an existing file under the bench format; false when it did not open.
    bool open(const std::filesystem::path& dataFile);
    void press(const KeyStroke& k) { e.keys.Press(k); }
    void pressChar(char c) { e.keys.Press(KeyNames::ForChar(c).value()); }

    ScreenModel screen{800, 560};
    ScriptedDialogs dialogs;
    MemorySettingsStore store;
    Engine e;
};
