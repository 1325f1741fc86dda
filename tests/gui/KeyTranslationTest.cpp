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

void Row(const char* name, int key, Qt::KeyboardModifiers modifiers, const QString& text, int code,
         int shift, int ch)
{
    QTest::newRow(name) << key << static_cast<int>(modifiers.toInt()) << text << code << shift
                        << ch;
}

QString Ch(char c)
{
    return QString(QChar::fromLatin1(c));
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

    // Digits: the pad has codes of its own, both type the digit.
    Row("main row 0", Qt::Key_0, None, Ch('0'), 48, 0, '0');
    Row("main row 2", Qt::Key_2, None, Ch('2'), 50, 0, '2');
    Row("main row 9", Qt::Key_9, None, Ch('9'), 57, 0, '9');
    Row("pad 0", Qt::Key_0, Pad, Ch('0'), 96, 0, '0');
    Row("pad 2", Qt::Key_2, Pad, Ch('2'), 98, 0, '2');
    Row("pad 9", Qt::Key_9, Pad, Ch('9'), 105, 0, '9');
    Row("pad period", Qt::Key_Period, Pad, Ch('.'), 110, 0, '.');
    Row("pad decimal comma", Qt::Key_Comma, Pad, Ch(','), 110, 0, ',');
    Row("pad star", Qt::Key_Asterisk, Pad, Ch('*'), 106, 0, '*');
    Row("pad plus", Qt::Key_Plus, Pad, Ch('+'), 107, 0, '+');
    Row("pad minus", Qt::Key_Minus, Pad, Ch('-'), 109, 0, '-');
    Row("pad slash", Qt::Key_Slash, Pad, Ch('/'), 111, 0, '/');
    Row("pad enter", Qt::Key_Enter, Pad, Ch('\r'), 13, 0, 13);
    Row("pad down, num lock off", Qt::Key_Down, Pad, QString(), 40, 0, NoChar);

    // Shifted symbols of the digit row are their digit key.
    Row("shift 1 !", Qt::Key_Exclam, Shift, Ch('!'), 49, 1, '!');
    Row("shift 2 @", Qt::Key_At, Shift, Ch('@'), 50, 1, '@');
    Row("shift 6 ^", Qt::Key_AsciiCircum, Shift, Ch('^'), 54, 1, '^');
    Row("shift 7 &", Qt::Key_Ampersand, Shift, Ch('&'), 55, 1, '&');
    Row("shift 8 *", Qt::Key_Asterisk, Shift, Ch('*'), 56, 1, '*');
    Row("shift 9 (", Qt::Key_ParenLeft, Shift, Ch('('), 57, 1, '(');
    Row("shift 0 )", Qt::Key_ParenRight, Shift, Ch(')'), 48, 1, ')');

    // Punctuation keys, plain and shifted.
    Row("=", Qt::Key_Equal, None, Ch('='), 187, 0, '=');
    Row("+", Qt::Key_Plus, Shift, Ch('+'), 187, 1, '+');
    Row(";", Qt::Key_Semicolon, None, Ch(';'), 186, 0, ';');
    Row(":", Qt::Key_Colon, Shift, Ch(':'), 186, 1, ':');
    Row(",", Qt::Key_Comma, None, Ch(','), 188, 0, ',');
    Row("<", Qt::Key_Less, Shift, Ch('<'), 188, 1, '<');
    Row("-", Qt::Key_Minus, None, Ch('-'), 189, 0, '-');
    Row("_", Qt::Key_Underscore, Shift, Ch('_'), 189, 1, '_');
    Row(".", Qt::Key_Period, None, Ch('.'), 190, 0, '.');
    Row(">", Qt::Key_Greater, Shift, Ch('>'), 190, 1, '>');
    Row("/", Qt::Key_Slash, None, Ch('/'), 191, 0, '/');
    Row("?", Qt::Key_Question, Shift, Ch('?'), 191, 1, '?');
    Row("`", Qt::Key_QuoteLeft, None, Ch('`'), 192, 0, '`');
    Row("~", Qt::Key_AsciiTilde, Shift, Ch('~'), 192, 1, '~');
    Row("[", Qt::Key_BracketLeft, None, Ch('['), 219, 0, '[');
    Row("{", Qt::Key_BraceLeft, Shift, Ch('{'), 219, 1, '{');
    Row("backslash", Qt::Key_Backslash, None, Ch('\\'), 220, 0, '\\');
    Row("|", Qt::Key_Bar, Shift, Ch('|'), 220, 1, '|');
    Row("]", Qt::Key_BracketRight, None, Ch(']'), 221, 0, ']');
    Row("}", Qt::Key_BraceRight, Shift, Ch('}'), 221, 1, '}');
    Row("'", Qt::Key_Apostrophe, None, Ch('\''), 222, 0, '\'');
    Row("double quote", Qt::Key_QuoteDbl, Shift, Ch('"'), 222, 1, '"');

    // Letters keep their code whatever the case; Ctrl makes a control character.
    Row("a", Qt::Key_A, None, Ch('a'), 65, 0, 'a');
    Row("shift Z", Qt::Key_Z, Shift, Ch('Z'), 90, 1, 'Z');
    Row("ctrl D", Qt::Key_D, Ctrl, Ch('\x04'), 68, 2, 4);
    Row("ctrl D, text d", Qt::Key_D, Ctrl, Ch('d'), 68, 2, 4);
    Row("ctrl shift A", Qt::Key_A, Ctrl | Shift, Ch('\x01'), 65, 3, 1);
    Row("alt f", Qt::Key_F, Alt, Ch('f'), 70, 4, NoChar);

    // Alt makes command keys that type nothing; Ctrl+Alt (AltGr) still types.
    Row("alt 2", Qt::Key_2, Alt, Ch('2'), 50, 4, NoChar);
    Row("alt =", Qt::Key_Equal, Alt, Ch('='), 187, 4, NoChar);
    Row("alt pad 2", Qt::Key_2, Alt | Pad, Ch('2'), 98, 4, NoChar);
    Row("ctrl 2", Qt::Key_2, Ctrl, Ch('2'), 50, 2, NoChar);
    Row("ctrl alt 2, superscript two", Qt::Key_2, Ctrl | Alt, QStringLiteral("\u00B2"), 50, 6,
        0xB2);

    // Keys with a fixed character.
    Row("backspace", Qt::Key_Backspace, None, Ch('\b'), 8, 0, 8);
    Row("tab", Qt::Key_Tab, None, Ch('\t'), 9, 0, 9);
    Row("shift tab", Qt::Key_Backtab, Shift, Ch('\t'), 9, 1, 9);
    Row("backtab without shift flag", Qt::Key_Backtab, None, QString(), 9, 1, 9);
    Row("return", Qt::Key_Return, None, Ch('\r'), 13, 0, 13);
    Row("ctrl return", Qt::Key_Return, Ctrl, Ch('\n'), 13, 2, 13);
    Row("alt return", Qt::Key_Return, Alt, Ch('\r'), 13, 4, NoChar);
    Row("escape", Qt::Key_Escape, None, Ch('\x1b'), 27, 0, 27);
    Row("space", Qt::Key_Space, None, Ch(' '), 32, 0, ' ');
    Row("shift space", Qt::Key_Space, Shift, Ch(' '), 32, 1, ' ');

    // Navigation, editing, modifier and function keys type nothing.
    Row("end", Qt::Key_End, None, QString(), 35, 0, NoChar);
    Row("home", Qt::Key_Home, None, QString(), 36, 0, NoChar);
    Row("ctrl home", Qt::Key_Home, Ctrl, QString(), 36, 2, NoChar);
    Row("ctrl end", Qt::Key_End, Ctrl, QString(), 35, 2, NoChar);
    Row("left", Qt::Key_Left, None, QString(), 37, 0, NoChar);
    Row("up", Qt::Key_Up, None, QString(), 38, 0, NoChar);
    Row("right", Qt::Key_Right, None, QString(), 39, 0, NoChar);
    Row("down", Qt::Key_Down, None, QString(), 40, 0, NoChar);
    Row("insert", Qt::Key_Insert, None, QString(), 45, 0, NoChar);
    Row("delete, text DEL", Qt::Key_Delete, None, Ch('\x7f'), 46, 0, NoChar);
    Row("shift alone", Qt::Key_Shift, Shift, QString(), 16, 1, NoChar);
    Row("ctrl alone", Qt::Key_Control, Ctrl, QString(), 17, 2, NoChar);
    Row("alt alone", Qt::Key_Alt, Alt, QString(), 18, 4, NoChar);
    Row("alt F1", Qt::Key_F1, Alt, QString(), 112, 4, NoChar);
    Row("shift F2", Qt::Key_F2, Shift, QString(), 113, 1, NoChar);
    for (int n = 1; n <= 12; ++n) {
        const QByteArray name = "F" + QByteArray::number(n);
        Row(name.constData(), Qt::Key_F1 + n - 1, None, QString(), 111 + n, 0, NoChar);
    }

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

    const KeyTranslation t =
        KeyTranslation::From(key, Qt::KeyboardModifiers::fromInt(modifiers), text);
    QCOMPARE(t.code, code);
    QCOMPARE(t.shift, shift);
    QCOMPARE(t.ch.value_or(NoChar), ch);
}

QTEST_MAIN(KeyTranslationTest)
#include "KeyTranslationTest.moc"
