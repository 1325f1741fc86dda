#include "keying/KeyNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "keying/KeyCodes.h"

namespace
{

using namespace KeyCode;
using KeyNames::NamedKey;

// A key that types characters: the one it gives alone and the one with Shift.
struct CharKey {
    int keyCode;
    char lower;
    char upper;
};

constexpr std::array<CharKey, 22> SymbolKeys{{
    {Space, ' ', ' '},       {Digit0, '0', ')'},     {Digit0 + 1, '1', '!'},
    {Digit0 + 2, '2', '@'},  {Digit0 + 3, '3', '#'}, {Digit0 + 4, '4', '$'},
    {Digit0 + 5, '5', '%'},  {Digit0 + 6, '6', '^'}, {Digit0 + 7, '7', '&'},
    {Digit0 + 8, '8', '*'},  {Digit0 + 9, '9', '('}, {Semicolon, ';', ':'},
    {Equal, '=', '+'},       {Comma, ',', '<'},      {Minus, '-', '_'},
    {Period, '.', '>'},      {Slash, '/', '?'},      {Backquote, '`', '~'},
    {BracketLeft, '[', '{'}, {Backslash, '\\', '|'}, {BracketRight, ']', '}'},
    {Quote, '\'', '"'},
}};

bool IsLetterKey(int keyCode)
{
    return keyCode >= LetterA && keyCode < LetterA + 26;
}

std::optional<CharKey> CharKeyOf(int keyCode)
{
    if (IsLetterKey(keyCode)) {
        const char lower = static_cast<char>('a' + (keyCode - LetterA));
        return CharKey{keyCode, lower, static_cast<char>(lower - 'a' + 'A')};
    }
    const auto it = std::find_if(SymbolKeys.begin(), SymbolKeys.end(),
                                 [&](const CharKey& k) { return k.keyCode == keyCode; });
    if (it == SymbolKeys.end())
        return std::nullopt;
    return *it;
}

std::vector<NamedKey> BuildNamed()
{
    std::vector<NamedKey> keys{
        {"Backspace", Backspace, 0, 8},
        {"Tab", Tab, 0, 9},
        {"Enter", Enter, 0, 13},
        {"Shift", ShiftKey, KeyShift::Shift, std::nullopt},
        {"Ctrl", CtrlKey, KeyShift::Ctrl, std::nullopt},
        {"Alt", AltKey, KeyShift::Alt, std::nullopt},
        {"Esc", Esc, 0, 27},
        {"Space", Space, 0, ' '},
        {"End", End, 0, std::nullopt},
        {"Home", Home, 0, std::nullopt},
        {"Left", Left, 0, std::nullopt},
        {"Up", Up, 0, std::nullopt},
        {"Right", Right, 0, std::nullopt},
        {"Down", Down, 0, std::nullopt},
        {"Insert", Insert, 0, std::nullopt},
        {"Delete", Delete, 0, std::nullopt},
    };
    static constexpr std::array<std::string_view, 10> Pads{"Pad0", "Pad1", "Pad2", "Pad3", "Pad4",
                                                           "Pad5", "Pad6", "Pad7", "Pad8", "Pad9"};
    for (int n = 0; n < 10; ++n)
        keys.push_back({Pads[static_cast<std::size_t>(n)], Pad0 + n, 0, '0' + n});
    static constexpr std::array<std::string_view, 12> Fs{"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                         "F7", "F8", "F9", "F10", "F11", "F12"};
    for (int n = 0; n < 12; ++n)
        keys.push_back({Fs[static_cast<std::size_t>(n)], F1 + n, 0, std::nullopt});
    return keys;
}

const std::vector<NamedKey>& NamedTable()
{
    static const std::vector<NamedKey> table = BuildNamed();
    return table;
}

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

const NamedKey* FindNamed(std::string_view name)
{
    const auto& table = NamedTable();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const NamedKey& k) { return SameName(k.name, name); });
    return it == table.end() ? nullptr : &*it;
}

const NamedKey* FindNamed(int keyCode)
{
    const auto& table = NamedTable();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const NamedKey& k) { return k.keyCode == keyCode; });
    return it == table.end() ? nullptr : &*it;
}

std::optional<int> ModifierMask(std::string_view name)
{
    const NamedKey* k = FindNamed(name);
    if (k == nullptr || k->ownShift == 0)
        return std::nullopt;
    return k->ownShift;
}

std::string Quoted(std::string_view s)
{
    return "'" + std::string(s) + "'";
}

Result<KeyStroke> ParseKey(std::string_view key, int mods)
{
    if (key.empty())
        return Error{"no key after the modifiers"};
    if (key.size() > 1) {
        const NamedKey* named = FindNamed(key);
        if (named == nullptr)
            return Error{"unknown key " + Quoted(key)};
        const int shift = mods | named->ownShift;
        const bool plain = (shift & (KeyShift::Ctrl | KeyShift::Alt)) == 0;
        return KeyStroke{named->keyCode, shift, plain ? named->ch : std::nullopt};
    }
    const auto typed = KeyNames::ForChar(key.front());
    if (!typed)
        return Error{"no key types " + Quoted(key)};
    // Under Ctrl or Alt a letter names its key; its case adds no Shift.
    const bool letterCommand =
        IsLetterKey(typed->keyCode) && (mods & (KeyShift::Ctrl | KeyShift::Alt)) != 0;
    const int shift = mods | (letterCommand ? 0 : typed->shift);
    return KeyStroke{typed->keyCode, shift, KeyNames::CharOf(typed->keyCode, shift)};
}

} // namespace

namespace KeyNames
{

std::span<const NamedKey> Named()
{
    return NamedTable();
}

std::optional<KeyStroke> ForChar(char c)
{
    if (c >= 'a' && c <= 'z')
        return KeyStroke{LetterA + (c - 'a'), 0, c};
    if (c >= 'A' && c <= 'Z')
        return KeyStroke{LetterA + (c - 'A'), KeyShift::Shift, c};
    for (const CharKey& k : SymbolKeys) {
        if (c == k.lower)
            return KeyStroke{k.keyCode, 0, c};
        if (c == k.upper)
            return KeyStroke{k.keyCode, KeyShift::Shift, c};
    }
    return std::nullopt;
}

std::optional<int> CharOf(int keyCode, int shift)
{
    if (const auto k = CharKeyOf(keyCode)) {
        if ((shift & KeyShift::Ctrl) != 0)
            return IsLetterKey(keyCode) ? std::optional<int>(k->upper & 31) : std::nullopt;
        if ((shift & KeyShift::Alt) != 0)
            return std::nullopt;
        return (shift & KeyShift::Shift) != 0 ? k->upper : k->lower;
    }
    const NamedKey* named = FindNamed(keyCode);
    if (named == nullptr || (shift & (KeyShift::Ctrl | KeyShift::Alt)) != 0)
        return std::nullopt;
    return named->ch;
}

Result<KeyStroke> Parse(std::string_view name)
{
    if (name.empty())
        return Error{"no key name"};
    int mods = 0;
    std::string_view rest = name;
    // "Ctrl++" is Ctrl with the "+" key: a "+" that starts the rest is the key itself.
    for (auto plus = rest.find('+'); plus != std::string_view::npos && plus > 0;
         plus = rest.find('+')) {
        const auto mask = ModifierMask(rest.substr(0, plus));
        if (!mask)
            return Error{"unknown modifier " + Quoted(rest.substr(0, plus)) + " in " +
                         Quoted(name)};
        mods |= *mask;
        rest.remove_prefix(plus + 1);
    }
    auto stroke = ParseKey(rest, mods);
    if (!stroke)
        return Error{stroke.error().message + " in " + Quoted(name)};
    return stroke;
}

} // namespace KeyNames
