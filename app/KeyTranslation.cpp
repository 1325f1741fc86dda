#include "app/KeyTranslation.h"

#include <QKeyEvent>

#include "keying/KeyCodes.h"

namespace
{

// What a key gives as its character event.
enum class Char { None, FromText, Backspace = 8, Tab = 9, Enter = 13, Esc = 27 };

// A run of consecutive Qt keys that map to consecutive key-down codes.
struct Span {
    int firstKey;
    int lastKey;
    int firstCode;
    Char ch;
};

constexpr Span Single(int key, int code, Char ch)
{
    return {key, key, code, ch};
}

// The numeric pad's own codes; the pad's navigation keys (Num Lock off) use the main ones.
constexpr int PadMultiply = 106;
constexpr int PadAdd = 107;
constexpr int PadSubtract = 109;
constexpr int PadDecimal = 110;
constexpr int PadDivide = 111;

constexpr Span PadKeys[] = {
    {Qt::Key_0, Qt::Key_9, KeyCode::Pad0, Char::FromText},
    Single(Qt::Key_Period, PadDecimal, Char::FromText),
    Single(Qt::Key_Comma, PadDecimal, Char::FromText), // the decimal key of some layouts
    Single(Qt::Key_Asterisk, PadMultiply, Char::FromText),
    Single(Qt::Key_Plus, PadAdd, Char::FromText),
    Single(Qt::Key_Minus, PadSubtract, Char::FromText),
    Single(Qt::Key_Slash, PadDivide, Char::FromText),
};

constexpr Span MainKeys[] = {
    Single(Qt::Key_Backspace, KeyCode::Backspace, Char::Backspace),
    Single(Qt::Key_Tab, KeyCode::Tab, Char::Tab),
    Single(Qt::Key_Backtab, KeyCode::Tab, Char::Tab),
    Single(Qt::Key_Return, KeyCode::Enter, Char::Enter),
    Single(Qt::Key_Enter, KeyCode::Enter, Char::Enter),
    Single(Qt::Key_Escape, KeyCode::Esc, Char::Esc),
    Single(Qt::Key_Space, KeyCode::Space, Char::FromText),
    Single(Qt::Key_End, KeyCode::End, Char::None),
    Single(Qt::Key_Home, KeyCode::Home, Char::None),
    {Qt::Key_Left, Qt::Key_Down, KeyCode::Left, Char::None},
    Single(Qt::Key_Insert, KeyCode::Insert, Char::None),
    Single(Qt::Key_Delete, KeyCode::Delete, Char::None),
    Single(Qt::Key_Shift, KeyCode::ShiftKey, Char::None),
    Single(Qt::Key_Control, KeyCode::CtrlKey, Char::None),
    Single(Qt::Key_Alt, KeyCode::AltKey, Char::None),
    {Qt::Key_A, Qt::Key_Z, KeyCode::LetterA, Char::FromText},
    {Qt::Key_0, Qt::Key_9, KeyCode::Digit0, Char::FromText},
    {Qt::Key_F1, Qt::Key_F12, KeyCode::F1, Char::None},
    // Shifted digits of a US layout are the digit key they are on.
    Single(Qt::Key_Exclam, KeyCode::Digit0 + 1, Char::FromText),
    Single(Qt::Key_At, KeyCode::Digit0 + 2, Char::FromText),
    Single(Qt::Key_NumberSign, KeyCode::Digit0 + 3, Char::FromText),
    Single(Qt::Key_Dollar, KeyCode::Digit0 + 4, Char::FromText),
    Single(Qt::Key_Percent, KeyCode::Digit0 + 5, Char::FromText),
    Single(Qt::Key_AsciiCircum, KeyCode::Digit0 + 6, Char::FromText),
    Single(Qt::Key_Ampersand, KeyCode::Digit7, Char::FromText),
    Single(Qt::Key_Asterisk, KeyCode::Digit0 + 8, Char::FromText),
    Single(Qt::Key_ParenLeft, KeyCode::Digit0 + 9, Char::FromText),
    Single(Qt::Key_ParenRight, KeyCode::Digit0, Char::FromText),
    Single(Qt::Key_Semicolon, KeyCode::Semicolon, Char::FromText),
    Single(Qt::Key_Colon, KeyCode::Semicolon, Char::FromText),
    Single(Qt::Key_Equal, KeyCode::Equal, Char::FromText),
    Single(Qt::Key_Plus, KeyCode::Equal, Char::FromText),
    Single(Qt::Key_Comma, KeyCode::Comma, Char::FromText),
    Single(Qt::Key_Less, KeyCode::Comma, Char::FromText),
    Single(Qt::Key_Minus, KeyCode::Minus, Char::FromText),
    Single(Qt::Key_Underscore, KeyCode::Minus, Char::FromText),
    Single(Qt::Key_Period, KeyCode::Period, Char::FromText),
    Single(Qt::Key_Greater, KeyCode::Period, Char::FromText),
    Single(Qt::Key_Slash, KeyCode::Slash, Char::FromText),
    Single(Qt::Key_Question, KeyCode::Slash, Char::FromText),
    Single(Qt::Key_QuoteLeft, KeyCode::Backquote, Char::FromText),
    Single(Qt::Key_AsciiTilde, KeyCode::Backquote, Char::FromText),
    Single(Qt::Key_BracketLeft, KeyCode::BracketLeft, Char::FromText),
    Single(Qt::Key_BraceLeft, KeyCode::BracketLeft, Char::FromText),
    Single(Qt::Key_Backslash, KeyCode::Backslash, Char::FromText),
    Single(Qt::Key_Bar, KeyCode::Backslash, Char::FromText),
    Single(Qt::Key_BracketRight, KeyCode::BracketRight, Char::FromText),
    Single(Qt::Key_BraceRight, KeyCode::BracketRight, Char::FromText),
    Single(Qt::Key_Apostrophe, KeyCode::Quote, Char::FromText),
    Single(Qt::Key_QuoteDbl, KeyCode::Quote, Char::FromText),
};

// A key not in the tables has no code but may still type its text.
constexpr Span Unlisted = {0, 0, 0, Char::FromText};

template <std::size_t N> const Span* Find(const Span (&spans)[N], int key)
{
    for (const Span& s : spans)
        if (key >= s.firstKey && key <= s.lastKey)
            return &s;
    return nullptr;
}

const Span& Lookup(int key, bool keypad)
{
    if (keypad) {
        if (const Span* s = Find(PadKeys, key))
            return *s;
    }
    const Span* s = Find(MainKeys, key);
    return s ? *s : Unlisted;
}

int ShiftMask(int key, Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers.testFlag(Qt::ShiftModifier) || key == Qt::Key_Backtab)
        mask += KeyShift::Shift;
    if (modifiers.testFlag(Qt::ControlModifier))
        mask += KeyShift::Ctrl;
    if (modifiers.testFlag(Qt::AltModifier))
        mask += KeyShift::Alt;
    return mask;
}

// One printable Latin-1 character; control codes and wider characters type nothing.
std::optional<int> TextChar(const QString& text)
{
    if (text.size() != 1)
        return std::nullopt;
    const int c = text.front().unicode();
    const bool printable = (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF);
    return printable ? std::optional<int>(c) : std::nullopt;
}

std::optional<int> CharEvent(const Span& span, int key, int shift, const QString& text)
{
    const bool ctrl = shift & KeyShift::Ctrl;
    const bool alt = shift & KeyShift::Alt;
    // Alt alone makes a command key; Ctrl with Alt is AltGr and types.
    if (alt && !ctrl)
        return std::nullopt;
    switch (span.ch) {
    case Char::None:
        return std::nullopt;
    case Char::FromText:
        break;
    default:
        return static_cast<int>(span.ch);
    }
    if (!ctrl || alt)
        return TextChar(text);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key & 31;
    return std::nullopt;
}

} // namespace

KeyStroke KeyTranslation::From(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text)
{
    const Span& span = Lookup(qtKey, modifiers.testFlag(Qt::KeypadModifier));
    KeyStroke t;
    if (span.firstCode != 0)
        t.keyCode = span.firstCode + (qtKey - span.firstKey);
    t.shift = ShiftMask(qtKey, modifiers);
    t.ch = CharEvent(span, qtKey, t.shift, text);
    return t;
}

KeyStroke KeyTranslation::From(const QKeyEvent& event)
{
    return From(event.key(), event.modifiers(), event.text());
}
