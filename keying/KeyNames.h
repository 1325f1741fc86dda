#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/Result.h"

// One keystroke as a front end delivers it: the key-down code (KeyCode) with its modifier
// mask (KeyShift), then the character event, when the key gives one.
struct KeyStroke {
    int keyCode = 0;
    int shift = 0;
    std::optional<int> ch;

    bool operator==(const KeyStroke&) const = default;
};

// Keys by name and characters by the key they are typed on (US layout), for replayed and
// generated keystrokes. Names read "Enter", "F1", "Pad7", a single character such as "7",
// or any of these after modifiers: "Shift+Tab", "Ctrl+Home", "Alt+=", "Ctrl+D".
namespace KeyNames
{

// A key known by a name rather than by the character it types.
struct NamedKey {
    std::string_view name;
    int keyCode;
    int ownShift;          // the modifier a modifier key sets itself
    std::optional<int> ch; // its character without Ctrl or Alt
};

// Every named key; names are unique regardless of case.
std::span<const NamedKey> Named();

// The keystroke that types c: its key, Shift when c is the key's upper character, and c as
// the character event. Nullopt for a character no key types (controls, codes above 126).
std::optional<KeyStroke> ForChar(char c);

// The character a key-down gives: with Ctrl only letters give one (their code & 31), with
// Alt none, otherwise the key's own character, shifted with Shift.
std::optional<int> CharOf(int keyCode, int shift);

// A key name with optional modifiers joined by "+". Names are matched regardless of case,
// except a single character: "A" is typed with Shift, "a" without. With Ctrl or Alt a
// letter only names its key, so "Ctrl+D" and "Ctrl+d" are the same keystroke.
Result<KeyStroke> Parse(std::string_view name);

} // namespace KeyNames
