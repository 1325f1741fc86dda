#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "keying/KeyCodes.h"
#include "keying/KeyNames.h"

namespace
{

using namespace KeyCode;
constexpr int S = KeyShift::Shift, C = KeyShift::Ctrl, A = KeyShift::Alt;
constexpr std::optional<int> None = std::nullopt;

// Spellings Format never writes, the characters keys give under modifiers, and names that
// name no key (an empty error: the name must parse).
TEST(KeyNames, ParsesNamesOrSaysWhyNotAndTypesEachCharacterOnItsKey)
{
    struct Row {
        const char* name;
        KeyStroke key;
        std::string error;
    };
    for (const Row& r : {
             Row{"enter", {Enter, 0, 13}, ""},
             Row{"Shift+Tab", {Tab, S, 9}, ""},
             Row{"Ctrl+Tab", {Tab, C, None}, ""},
             Row{"Shift", {ShiftKey, S, None}, ""},
             Row{"Pad9", {Pad9, 0, '9'}, ""},
             Row{"+", {Equal, S, '+'}, ""},
             Row{"Ctrl++", {Equal, S | C, None}, ""},
             Row{"Shift+1", {Digit0 + 1, S, '!'}, ""},
             Row{"A", {LetterA, S, 'A'}, ""},
             Row{"Ctrl+D", {LetterA + 3, C, 4}, ""},
             Row{"ctrl+shift+d", {LetterA + 3, C | S, 4}, ""},
             Row{"Ctrl+Alt+Z", {LetterA + 25, C | A, 26}, ""},
             Row{"Alt+X", {LetterA + 23, A, None}, ""},
             Row{"Ctrl+7", {Digit7, C, None}, ""},
             Row{"", {}, "no key name"},
             Row{"Ctrl+Hom", {}, "unknown key 'Hom' in 'Ctrl+Hom'"},
             Row{"Meta+A", {}, "unknown modifier 'Meta' in 'Meta+A'"},
             Row{"Tab+A", {}, "unknown modifier 'Tab' in 'Tab+A'"},
             Row{"Shift+", {}, "no key after the modifiers in 'Shift+'"},
             Row{"\xE9", {}, "no key types '\xE9' in '\xE9'"},
         }) {
        SCOPED_TRACE(r.name);
        const auto k = KeyNames::Parse(r.name);
        EXPECT_EQ(k.ok() ? "" : k.error().message, r.error);
        if (k.ok()) {
            EXPECT_EQ(*k, r.key);
        }
    }

    // Every printable character is typed on its US key: each key's character alone and with
    // Shift, the quote key among them.
    const std::string lower = "`1234567890-=[]\\;',./az", upper = "~!@#$%^&*()_+{}|:\"<>?AZ";
    const int keys[] = {Backquote,  Digit0 + 1,  Digit0 + 2,   Digit0 + 3, Digit0 + 4,  Digit0 + 5,
                        Digit0 + 6, Digit7,      Digit0 + 8,   Digit0 + 9, Digit0,      Minus,
                        Equal,      BracketLeft, BracketRight, Backslash,  Semicolon,   Quote,
                        Comma,      Period,      Slash,        LetterA,    LetterA + 25};
    ASSERT_EQ(std::size(keys), lower.size());
    for (std::size_t i = 0; i < lower.size(); ++i) {
        EXPECT_EQ(KeyNames::ForChar(lower[i]), (KeyStroke{keys[i], 0, lower[i]})) << lower[i];
        EXPECT_EQ(KeyNames::ForChar(upper[i]), (KeyStroke{keys[i], S, upper[i]})) << upper[i];
    }
    // The rest, and each key's character read back from the key.
    for (int c = 32; c < 127; ++c) {
        const auto k = KeyNames::ForChar(static_cast<char>(c));
        ASSERT_TRUE(k.has_value()) << c;
        EXPECT_EQ(KeyNames::CharOf(k->keyCode, k->shift), c) << c;
    }
    for (const char c : {'\t', '\r', '\x7F', '\xE9'})
        EXPECT_FALSE(KeyNames::ForChar(c).has_value()) << static_cast<int>(c);
}

// Every named key and every character key, under every mix of modifiers, parses back to its
// own key-down; two names alike but for case would fail here too.
TEST(KeyNames, EveryKeyParsesUnderEveryModifier)
{
    std::vector<std::tuple<std::string, int, int>> keys; // name, code, its own modifier
    for (const auto& k : KeyNames::Named())
        keys.emplace_back(std::string(k.name), k.keyCode, k.ownShift);
    for (const char c : std::string_view("abcxyz0123456789=;,-./`[\\]'"))
        keys.emplace_back(std::string(1, c), KeyNames::ForChar(c).value().keyCode, 0);
    for (const auto& [key, code, own] : keys) {
        for (int mods = 0; mods < 8; ++mods) {
            const std::string name = std::string(mods & KeyShift::Shift ? "Shift+" : "") +
                                     (mods & KeyShift::Ctrl ? "Ctrl+" : "") +
                                     (mods & KeyShift::Alt ? "Alt+" : "") + key;
            const auto k = KeyNames::Parse(name);
            ASSERT_TRUE(k.ok()) << k.error().message;
            EXPECT_EQ(*k, (KeyStroke{code, mods | own, KeyNames::CharOf(code, mods | own)}))
                << name;
        }
    }
}

} // namespace
