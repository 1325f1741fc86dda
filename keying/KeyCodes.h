#pragma once

// Key-down codes the engine dispatches on (the classic virtual-key numbering) and the
// modifier mask that comes with them. The front ends translate their own key events into
// these.
namespace KeyCode
{
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int ShiftKey = 16;
constexpr int CtrlKey = 17;
constexpr int AltKey = 18;
constexpr int Esc = 27;
constexpr int Space = 32;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48; // main-row digits 48..57
constexpr int Digit7 = 55;
constexpr int LetterA = 65; // letters 65..90
constexpr int Pad0 = 96;    // numeric-pad digits 96..105
constexpr int Pad9 = 105;
constexpr int F1 = 112; // F1..F12 are 112..123
constexpr int F2 = 113;
constexpr int F9 = 120;
constexpr int F11 = 122;
constexpr int F12 = 123;
constexpr int Semicolon = 186;
constexpr int Equal = 187;
constexpr int Comma = 188;
constexpr int Minus = 189;
constexpr int Period = 190;
constexpr int Slash = 191;
constexpr int Backquote = 192;
constexpr int BracketLeft = 219;
constexpr int Backslash = 220;
constexpr int BracketRight = 221;
constexpr int Quote = 222;
} // namespace KeyCode

// Modifier state passed with a key-down: added together.
namespace KeyShift
{
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
} // namespace KeyShift
