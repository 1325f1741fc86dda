#include <QtTest>

#include "app/KeyTranslation.h"

namespace
{

constexpr int NoChar = -1;
constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Pad = Qt::KeypadModifier;

void Row(const QByteArray& name, int key, Qt::KeyboardModifiers modifiers, const QString& text,
         int code, int shift, int ch)
{
    QTest::newRow(name.constData())
        << key << static_cast<int>(modifiers.toInt()) << text << code << shift << ch;
}

QString Ch(char c)
{
    return QString(QChar::fromLatin1(c));
}

// A symbol key: Qt's key for a Latin-1 symbol is the symbol itself.
void Symbol(const char* name, char c, Qt::KeyboardModifiers modifiers, int code)
{
    const int shift = modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0;
    Row(QByteArray(name) + ' ' + c, c, modifiers, Ch(c), code, shift, c);
}

} // namespace

// Qt key presses become the engine's key-down codes, modifier masks and characters.
class KeyTranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void translate_data();
    void translate();
};

void KeyTranslationTest::translate_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("ch");

    // Digits: the pad has codes of its own, both type the digit. Shifted digits of a US
    // layout are the digit key they are on.
    const char shiftedDigits[] = ")!@#$%^&*(";
    for (int d = 0; d <= 9; ++d) {
        Symbol("main row", char('0' + d), None, 48 + d);
        Symbol("pad", char('0' + d), Pad, 96 + d);
        Symbol("shift", shiftedDigits[d], Shift, 48 + d);
    }
    const char padSymbols[] = ".,*+-/"; // the comma is the decimal key of some layouts
    const int padCodes[] = {110, 110, 106, 107, 109, 111};
    for (int i = 0; i < 6; ++i)
        Symbol("pad", padSymbols[i], Pad, padCodes[i]);
    Row("pad enter", Qt::Key_Enter, Pad, Ch('\r'), 13, 0, 13);
    Row("pad down, num lock off", Qt::Key_Down, Pad, QString(), 40, 0, NoChar);

    // Punctuation keys: the plain and the shifted symbol share one code.
    const char pairs[] = "=+;:,<-_.>/?`~[{\\|]}'\"";
    const int pairCodes[] = {187, 186, 188, 189, 190, 191, 192, 219, 220, 221, 222};
    for (int i = 0; i < 11; ++i) {
        Symbol("plain", pairs[2 * i], None, pairCodes[i]);
        Symbol("shift", pairs[2 * i + 1], Shift, pairCodes[i]);
    }

    // Letters keep their code whatever the case; Ctrl makes a control character from the key.
    Row("shift Z", Qt::Key_Z, Shift, Ch('Z'), 90, 1, 'Z');
    Row("ctrl D, text d", Qt::Key_D, Ctrl, Ch('d'), 68, 2, 4);
    Row("ctrl shift A", Qt::Key_A, Ctrl | Shift, Ch('\x01'), 65, 3, 1);

    // Alt makes command keys that type nothing; Ctrl+Alt (AltGr) still types.
    Row("alt f", Qt::Key_F, Alt, Ch('f'), 70, 4, NoChar);
    Row("alt 2", Qt::Key_2, Alt, Ch('2'), 50, 4, NoChar);
    Row("alt return", Qt::Key_Return, Alt, Ch('\r'), 13, 4, NoChar);
    Row("alt =", Qt::Key_Equal, Alt, Ch('='), 187, 4, NoChar);
    Row("ctrl 2", Qt::Key_2, Ctrl, Ch('2'), 50, 2, NoChar);
    Row("ctrl alt 2, superscript two", Qt::Key_2, Ctrl | Alt, QStringLiteral("\u00B2"), 50, 6,
        0xB2);

    // Keys with a fixed character.
    Row("backspace", Qt::Key_Backspace, None, Ch('\b'), 8, 0, 8);
    Row("shift tab", Qt::Key_Backtab, Shift, Ch('\t'), 9, 1, 9);
    Row("backtab without shift flag", Qt::Key_Backtab, None, QString(), 9, 1, 9);
    Row("ctrl return", Qt::Key_Return, Ctrl, Ch('\n'), 13, 2, 13);
    Row("escape", Qt::Key_Escape, None, Ch('\x1b'), 27, 0, 27);
    Row("space", Qt::Key_Space, None, Ch(' '), 32, 0, ' ');

    // Navigation, editing, modifier and function keys type nothing.
    Row("end", Qt::Key_End, None, QString(), 35, 0, NoChar);
    Row("ctrl home", Qt::Key_Home, Ctrl, QString(), 36, 2, NoChar);
    Row("left", Qt::Key_Left, None, QString(), 37, 0, NoChar);
    Row("down", Qt::Key_Down, None, QString(), 40, 0, NoChar);
    Row("insert", Qt::Key_Insert, None, QString(), 45, 0, NoChar);
    Row("delete, text DEL", Qt::Key_Delete, None, Ch('\x7f'), 46, 0, NoChar);
    Row("shift alone", Qt::Key_Shift, Shift, QString(), 16, 1, NoChar);
    Row("ctrl alone", Qt::Key_Control, Ctrl, QString(), 17, 2, NoChar);
    Row("alt alone", Qt::Key_Alt, Alt, QString(), 18, 4, NoChar);
    Row("F1", Qt::Key_F1, None, QString(), 112, 0, NoChar);
    Row("alt F12", Qt::Key_F12, Alt, QString(), 123, 4, NoChar);
    // F2..F9 with each modifier: frmKvlTest presses them through the window.

    // Keys outside the table have no code but may type Latin-1.
    Row("e acute", Qt::Key_Eacute, None, QStringLiteral("\u00E9"), 0, 0, 0xE9);
    Row("euro sign", Qt::Key_unknown, None, QStringLiteral("\u20AC"), 0, 0, NoChar);
    Row("C1 control text", Qt::Key_unknown, None, QStringLiteral("\u0085"), 0, 0, NoChar);
    Row("composed two characters", Qt::Key_unknown, None, QStringLiteral("ab"), 0, 0, NoChar);
    Row("page down", Qt::Key_PageDown, None, QString(), 0, 0, NoChar);
}

void KeyTranslationTest::translate()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    QFETCH(int, shift);
    QFETCH(int, ch);

    const KeyStroke t = KeyTranslation::From(key, Qt::KeyboardModifiers::fromInt(modifiers), text);
    QCOMPARE(t.keyCode, code);
    QCOMPARE(t.shift, shift);
    QCOMPARE(t.ch.value_or(NoChar), ch);
}

QTEST_MAIN(KeyTranslationTest)
#include "KeyTranslationTest.moc"
