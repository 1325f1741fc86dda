#pragma once

#include <array>
#include <string>

#include "keying/Surface.h"

class SettingsStore;

// The user's settings as the program uses them, with the loaders and savers that move
// them to and from the settings store under the application name "Korvalen".
class Preferences
{
public:
    static constexpr const char* AppName = "Korvalen";
    static constexpr Color DefaultTextBack = 0x34BDE4;
    static constexpr Color DefaultFormBack = 0x00FF00;
    static constexpr int DupKey7 = 55;
    static constexpr int DupKeyF12 = 123;
    static constexpr std::size_t MemKeyLength = 32;

    Color TextBackColor = DefaultTextBack;
    Color FormBackColor = DefaultFormBack;
    int DupKeyCode = DupKey7;
    bool UptronSw = false;
    std::array<std::string, 10> MemKeys; // slots 2..9, each 32 characters

    Preferences();

    // Colours, Duplicate key and pad switch, read once at start-up; a missing Duplicate
    // key is written back as "55".
    void LoadSettings(SettingsStore& store);

    // Memory keys F2..F9 of section "Memkey"; nothing is loaded when there is no "F2".
    void LoadMemKeys(const SettingsStore& store);
    void SaveMemKeys(SettingsStore& store) const;

    // A memory key text cut or padded to 32 characters.
    static std::string FixedMemText(const std::string& text);
};
