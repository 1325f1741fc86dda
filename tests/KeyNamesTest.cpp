#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "keying/KeyCodes.h"
#include "keying/KeyNames.h"

namespace
{

using namespace KeyCode;
constexpr int S = KeyShift::Shift, C = KeyShift::Ctrl, A = KeyShift::Alt;
constexpr std::optional<int> None = std::nullopt;

struct ParseRow {
    const char* name;
    int keyCode;
    int shift;
    std::optional<int> ch;
};

TEST(KeyNames, ParsesNamesWithTheirModifiersAndCharacters)
{
    for (const ParseRow& r : {
             ParseRow{"Enter", Enter, 0, 13},
             ParseRow{"enter", Enter, 0, 13},
             ParseRow{"Tab", Tab, 0, 9},
             ParseRow{"Shift+Tab", Tab, S, 9},
             ParseRow{"Ctrl+Tab", Tab, C, None},
             ParseRow{"Backspace", Backspace, 0, 8},
             ParseRow{"Esc", Esc, 0, 27},
             ParseRow{"Alt+Esc", Esc, A, None},
             ParseRow{"Delete", Delete, 0, None},
             ParseRow{"Insert", Insert, 0, None},
             ParseRow{"Home", Home, 0, None},
             ParseRow{"Ctrl+Home", Home, C, None},
             ParseRow{"End", End, 0, None},
             ParseRow{"Left", Left, 0, None},
             ParseRow{"Right", Right, 0, None},
             ParseRow{"Up", Up, 0, None},
             ParseRow{"Down", Down, 0, None},
             ParseRow{"Shift", ShiftKey, S, None},
             ParseRow{"Space", Space, 0, ' '},
             ParseRow{"F1", F1, 0, None},
             ParseRow{"Alt+F1", F1, A, None},
             ParseRow{"F12", F12, 0, None},
             ParseRow{"Pad0", Pad0, 0, '0'},
             ParseRow{"Pad9", Pad9, 0, '9'},
             ParseRow{"7", Digit7, 0, '7'},
             ParseRow{"=", Equal, 0, '='},
             ParseRow{"+", Equal, S, '+'},
             ParseRow{"Shift+=", Equal, S, '+'},
             ParseRow{"Ctrl++", Equal, S | C, None},
             ParseRow{"Alt+=", Equal, A, None},
             ParseRow{"Alt+2", Digit0 + 2, A, None},
             ParseRow{"Shift+1", Digit0 + 1, S, '!'},
             ParseRow{"a", LetterA, 0, 'a'},
             ParseRow{"A", LetterA, S, 'A'},
             ParseRow{"Shift+a", LetterA, S, 'A'},
             ParseRow{"Ctrl+D", LetterA + 3, C, 4},
             ParseRow{"ctrl+d", LetterA + 3, C, 4},
             ParseRow{"Ctrl+Shift+D", LetterA + 3, C | S, 4},
             ParseRow{"Alt+X", LetterA + 23, A, None},
             ParseRow{"Ctrl+Alt+Z", LetterA + 25, C | A, 26},
             ParseRow{"Ctrl+7", Digit7, C, None},
         }) {
        SCOPED_TRACE(r.name);
        const auto k = KeyNames::Parse(r.name);
        ASSERT_TRUE(k.ok()) << k.error().message;
        EXPECT_EQ(k->keyCode, r.keyCode);
        EXPECT_EQ(k->shift, r.shift);
        EXPECT_EQ(k->ch, r.ch);
    }
}

TEST(KeyNames, RejectsWhatNamesNoKey)
{
    struct Row {
        const char* name;
        const char* error;
    };
    for (const Row& r : {
             Row{"", "no key name"},
             Row{"Entr", "unknown key 'Entr' in 'Entr'"},
             Row{"Ctrl+Hom", "unknown key 'Hom' in 'Ctrl+Hom'"},
             Row{"Meta+A", "unknown modifier 'Meta' in 'Meta+A'"},
             Row{"Tab+A", "unknown modifier 'Tab' in 'Tab+A'"},
             Row{"Shift+", "no key after the modifiers in 'Shift+'"},
             Row{"F13", "unknown key 'F13' in 'F13'"},
             Row{"\xE9", "no key types '\xE9' in '\xE9'"},
         }) {
        SCOPED_TRACE(r.name);
        const auto k = KeyNames::Parse(r.name);
        ASSERT_FALSE(k.ok());
        EXPECT_EQ(k.error().message, r.error);
    }
}

TEST(KeyNames, CharactersSitOnTheirUsKeys)
{
    struct Row {
        char c;
        int keyCode;
        int shift;
    };
    for (const Row& r : {
             Row{'a', LetterA, 0},      Row{'z', LetterA + 25, 0}, Row{'A', LetterA, S},
             Row{'Z', LetterA + 25, S}, Row{'0', Digit0, 0},       Row{'9', Digit0 + 9, 0},
             Row{' ', Space, 0},        Row{'!', Digit0 + 1, S},   Row{'@', Digit0 + 2, S},
             Row{'#', Digit0 + 3, S},   Row{'$', Digit0 + 4, S},   Row{'%', Digit0 + 5, S},
             Row{'^', Digit0 + 6, S},   Row{'&', Digit7, S},       Row{'*', Digit0 + 8, S},
             Row{'(', Digit0 + 9, S},   Row{')', Digit0, S},       Row{';', Semicolon, 0},
             Row{':', Semicolon, S},    Row{'=', Equal, 0},        Row{'+', Equal, S},
             Row{',', Comma, 0},        Row{'<', Comma, S},        Row{'-', Minus, 0},
             Row{'_', Minus, S},        Row{'.', Period, 0},       Row{'>', Period, S},
             Row{'/', Slash, 0},        Row{'?', Slash, S},        Row{'`', Backquote, 0},
             Row{'~', Backquote, S},    Row{'[', BracketLeft, 0},  Row{'{', BracketLeft, S},
             Row{'\\', Backslash, 0},   Row{'|', Backslash, S},    Row{']', BracketRight, 0},
             Row{'}', BracketRight, S}, Row{'\'', Quote, 0},       Row{'"', Quote, S},
         }) {
        SCOPED_TRACE(std::string(1, r.c));
        const auto k = KeyNames::ForChar(r.c);
        ASSERT_TRUE(k.has_value());
        EXPECT_EQ(k->keyCode, r.keyCode);
        EXPECT_EQ(k->shift, r.shift);
        EXPECT_EQ(k->ch, static_cast<int>(r.c));
    }
}

TEST(KeyNames, EveryPrintableCharacterIsTypedBackByItsKey)
{
    std::set<std::pair<int, int>> keysUsed;
    for (int c = 32; c < 127; ++c) {
        SCOPED_TRACE(c);
        const auto k = KeyNames::ForChar(static_cast<char>(c));
        ASSERT_TRUE(k.has_value());
        EXPECT_EQ(KeyNames::CharOf(k->keyCode, k->shift), c);
        EXPECT_TRUE(keysUsed.insert({k->keyCode, k->shift}).second) << "two characters, one key";
    }
    for (const char c : {'\t', '\r', '\n', '\0', '\x7F', '\xE9'})
        EXPECT_FALSE(KeyNames::ForChar(c).has_value()) << static_cast<int>(c);
}

TEST(KeyNames, NamesAreUniqueAndFormatReadsBack)
{
    std::set<std::string> names;
    for (const auto& k : KeyNames::Named()) {
        std::string lower(k.name);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(names.insert(lower).second) << k.name;
    }
    std::vector<int> codes;
    for (const auto& k : KeyNames::Named())
        codes.push_back(k.keyCode);
    for (int c = 32; c < 127; ++c)
        codes.push_back(KeyNames::ForChar(static_cast<char>(c))->keyCode);
    for (const int code : codes) {
        for (int mods = 0; mods < 8; ++mods) {
            const std::string name = KeyNames::Format(code, mods);
            SCOPED_TRACE(name);
            const auto k = KeyNames::Parse(name);
            ASSERT_TRUE(k.ok()) << k.error().message;
            EXPECT_EQ(k->keyCode, code);
            const int own = code == ShiftKey ? S : code == CtrlKey ? C : code == AltKey ? A : 0;
            EXPECT_EQ(k->shift, mods | own);
            EXPECT_EQ(k->ch, KeyNames::CharOf(code, mods | own));
        }
    }
    EXPECT_EQ(KeyNames::Format(0, 0), "");
}

} // namespace
