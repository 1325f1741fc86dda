#include <QtTest>

#include <cctype>

#include "app/KeyTranslation.h"

namespace
{

constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Pad = Qt::KeypadModifier;

// A Qt key press with the text it carries (UTF-8), and what the engine must get for it.
struct Press {
    int key;
    Qt::KeyboardModifiers modifiers;
    std::string text;
    KeyStroke want;
};

void Expect(const Press& p)
{
    const KeyStroke got = KeyTranslation::From(p.key, p.modifiers, QString::fromStdString(p.text));
    QVERIFY2(got == p.want, qPrintable(QString::asprintf(
                                "key %#x+%#x \"%s\" gave %d, %d, %d", p.key, p.modifiers.toInt(),
                                p.text.c_str(), got.keyCode, got.shift, got.ch.value_or(-1))));
}

} // namespace

// Qt key presses become the engine's key-down codes, modifier masks and characters.
class KeyTranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyTranslates();
};

void KeyTranslationTest::everyKeyTranslates()
{
    // Every printable character, on a US layout, gives the keystroke a scenario's "type"
    // replays for it. Qt's key for a symbol is the symbol itself, for a letter the capital.
    for (char c = ' '; c < 127; ++c) {
        const KeyStroke want = KeyNames::ForChar(c).value();
        const bool letter = std::isalpha(static_cast<unsigned char>(c));
        Expect({letter ? std::toupper(c) : c, want.shift ? Shift : None, std::string(1, c), want});
    }
    // The pad has codes of its own; the comma is the decimal key of some layouts.
    for (char d = '0'; d <= '9'; ++d)
        Expect({d, Pad, std::string(1, d), {96 + d - '0', 0, d}});
    const char padSymbols[] = ".,*+-/";
    const int padCodes[] = {110, 110, 106, 107, 109, 111};
    for (int i = 0; i < 6; ++i)
        Expect(
            {padSymbols[i], Pad, std::string(1, padSymbols[i]), {padCodes[i], 0, padSymbols[i]}});

    using enum Qt::Key;
    const Press keys[] = {
        // The pad's Enter, and its Down with Num Lock off.
        {Key_Enter, Pad, "\r", {13, 0, 13}},
        {Key_Down, Pad, "", {40, 0, {}}},
        // Ctrl makes a control character from a letter key, whatever its text.
        {Key_D, Ctrl, "d", {68, 2, 4}},
        {Key_A, Ctrl | Shift, "\x01", {65, 3, 1}},
        // Alt makes command keys that type nothing (Alt+2: frmKvlTest, Alt+=:
        // KeyingSession.sh); Ctrl+Alt (AltGr) still types.
        {Key_F, Alt, "f", {70, 4, {}}},
        {Key_Return, Alt, "\r", {13, 4, {}}},
        {Key_2, Ctrl, "2", {50, 2, {}}},
        {Key_2, Ctrl | Alt, "\u00B2", {50, 6, 0xB2}},
        // Keys with a fixed character; Backtab is shifted even without the flag.
        {Key_Backspace, None, "\b", {8, 0, 8}},
        {Key_Backtab, Shift, "\t", {9, 1, 9}},
        {Key_Backtab, None, "", {9, 1, 9}},
        {Key_Return, Ctrl, "\n", {13, 2, 13}},
        {Key_Escape, None, "\x1b", {27, 0, 27}},
        // Navigation, editing, modifier and function keys type nothing; F2..F9 with each
        // modifier are pressed through the window in frmKvlTest.
        {Key_End, None, "", {35, 0, {}}},
        {Key_Home, Ctrl, "", {36, 2, {}}},
        {Key_Left, None, "", {37, 0, {}}},
        {Key_Insert, None, "", {45, 0, {}}},
        {Key_Delete, None, "\x7f", {46, 0, {}}},
        {Key_Shift, Shift, "", {16, 1, {}}},
        {Key_Control, Ctrl, "", {17, 2, {}}},
        {Key_Alt, Alt, "", {18, 4, {}}},
        {Key_F1, None, "", {112, 0, {}}},
        {Key_F12, Alt, "", {123, 4, {}}},
        // Keys outside the table have no code but may type Latin-1.
        {Key_Eacute, None, "\u00E9", {0, 0, 0xE9}},
        {Key_unknown, None, "\u20AC", {0, 0, {}}},
        {Key_unknown, None, "\u0085", {0, 0, {}}},
        {Key_unknown, None, "ab", {0, 0, {}}},
        {Key_PageDown, None, "", {0, 0, {}}},
    };
    for (const Press& p : keys)
        Expect(p);
}

QTEST_MAIN(KeyTranslationTest)
#include "KeyTranslationTest.moc"
