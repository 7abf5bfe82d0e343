#include "editor/EditorLogic.h"

#include "platform/Codecs.h"
#include "store/Utilities.h"

#include <algorithm>
#include <QtGlobal>
#include <array>

namespace {

// The characters of text that end at selStart (-1: the end) equal the pattern
// once text has been upper-cased the same way as the pattern.
bool EndsAt(const QString& upperText, int selStart, const QString& upperPattern)
{
    const qsizetype end = selStart < 0 ? upperText.size() : qMin<qsizetype>(selStart, upperText.size());
    const qsizetype k = upperPattern.size();
    return end >= k && QStringView(upperText).mid(end - k, k) == upperPattern;
}

QString Describe(const QString& s, qsizetype i)
{
    // One character with its code: the Windows-1251 byte, or the Unicode
    // value for a character the code page lacks.
    QString shown;
    int code = 0;
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
        shown = s.mid(i, 2);
        code = int(QChar::surrogateToUcs4(c, s.at(i + 1)));
    } else if (c.isLowSurrogate() && i > 0 && s.at(i - 1).isHighSurrogate()) {
        shown = s.mid(i - 1, 2);
        code = int(QChar::surrogateToUcs4(s.at(i - 1), c));
    } else {
        shown = c == QLatin1Char('\t') ? QStringLiteral("отступ") : QString(c);
        code = platform::Cp1251Code(c);
        if (code < 0)
            code = c.unicode();
    }
    return QStringLiteral(" символ в строке: \"") + shown + QStringLiteral("\" (код: ") + QString::number(code)
        + QLatin1Char(')');
}

struct HintRow {
    const char* keyword;
    const char* lead;
    const char* button;
};

// In the order they are tried.
constexpr std::array<HintRow, 11> kHints{{
    {"<table", "Для создания заготовки таблицы используйте", "TABLEBUT"},
    {"style=", "Для вставки параметров в стиль можно использовать", "STYLEBUT"},
    {"font", "Для описания шрифта удобно пользоваться инструментом", "FONTBUT"},
    {"URL(", "Для выбора относительного пути через файловый диалог, нажмите Ctrl+Alt+P", ""},
    {"src=", "Для выбора относительного пути через файловый диалог, нажмите Ctrl+Alt+P", ""},
    {"href=", "Для выбора относительного пути через файловый диалог, нажмите Ctrl+Alt+P", ""},
    {"<A ", "Для создания ссылки можно использовать", "ABUT"},
    {"<br>", "Для вставки <br> нажмите Ctrl+B", ""},
    {"<embed", "Для внедрения flash-ролика можно использовать", "SWFBUT"},
    {"<img", "Для вставки картинки можно использовать", "IMGBUT"},
    {"<!--", "Для создания комментариев можно использовать", "COMMENTBUT"},
}};

// Windows virtual-key codes of the keys a Russian layout puts Cyrillic letters
// on, from "А" to "Я".
constexpr std::array<int, 32> kCyrillicKeys{{
    'F', 188, 'D', 'U', 'L', 'T', 186, 'P', 'B', 'Q', 'R', 'K', 'V', 'Y', 'J', 'G', // А..П
    'H', 'C', 'N', 'E', 'A', 219, 'W', 'X', 'I', 'O', 221, 'S', 'M', 222, 190, 'Z', // Р..Я
}};

} // namespace

QString CARETINFO_Text(const TextModel& m)
{
    const CaretPos caret = m.caretPos();
    // The caret's line is read around the caret only: a line may hold
    // megabytes (a minified script), and this runs at every key.
    qsizetype lineLength = 0;
    const int lineStart = caret.line < m.lineCount() ? m.lineStart(caret.line) : -1;
    if (lineStart >= 0) {
        if (caret.line + 1 < m.lineCount()) {
            lineLength = m.lineStart(caret.line + 1) - 2 - lineStart;
        } else {
            lineLength = m.textLength() - lineStart;
            if (lineLength >= 2 && m.textPart(lineStart + int(lineLength) - 2, 2) == QLatin1String("\r\n"))
                lineLength -= 2; // the break before the empty last line
        }
    }
    const qsizetype from = std::clamp<qsizetype>(qsizetype(caret.column) - 2, 0, lineLength);
    const qsizetype to = std::clamp<qsizetype>(qsizetype(caret.column) + 2, from, lineLength);
    const QString s = lineStart >= 0 ? m.textPart(lineStart + int(from), int(to - from)) : QString();
    const int start = m.selStart();
    const int length = m.selLength();
    const QString where = QStringLiteral("Строка ") + QString::number(caret.line + 1) + QStringLiteral(" символ ")
        + QString::number(qint64(start) + 1);
    if (lineLength == 0)
        return where;

    QString out;
    if (length < 2)
        out = where + QStringLiteral(", ");
    // The character after the caret, or the one selected; at a line's end
    // there is none after the caret.
    const qsizetype column = caret.column;
    if (length == 0 && column >= 0 && column < lineLength)
        out += QString::number(column + 1) + Describe(s, column - from);
    else if (length == 1 && column >= 1 && column <= lineLength)
        out += QString::number(column) + Describe(s, column - 1 - from);
    if (length >= 2)
        out += QStringLiteral("Выделено ") + QString::number(length) + QStringLiteral(" символов");
    else if (length == 1)
        out += QStringLiteral(", выделено: 1");
    return out;
}

std::optional<TypingHint> TypingHintAt(const QString& text, int selStart)
{
    const QString upper = UpperKeepLength(text);
    for (const HintRow& row : kHints) {
        if (EndsAt(upper, selStart, UpperKeepLength(QString::fromUtf8(row.keyword))))
            return TypingHint{QString::fromUtf8(row.lead), QString::fromLatin1(row.button)};
    }
    return std::nullopt;
}

QString TypingHintMessage(const TypingHint& hint, const QString& buttonHint)
{
    if (hint.button.isEmpty())
        return hint.leadText;
    return hint.leadText + QStringLiteral(" \"") + buttonHint + QStringLiteral("\" на панели инструментов");
}

QHash<QString, QString> ToolButtonHints()
{
    return {
        {QStringLiteral("TABLEBUT"), QStringLiteral("Вставить таблицу")},
        {QStringLiteral("STYLEBUT"), QStringLiteral("Мини-справочник по CSS")},
        {QStringLiteral("FONTBUT"), QStringLiteral("Выбрать и вставить стиль шрифта")},
        {QStringLiteral("ABUT"), QStringLiteral("Вставить ссылку, с выбором пути на диске")},
        {QStringLiteral("SWFBUT"), QStringLiteral("Вставить flash-ролик, с выбором пути на диске")},
        {QStringLiteral("IMGBUT"), QStringLiteral("Вставить картинку, с выбором пути на диске")},
        {QStringLiteral("COMMENTBUT"), QStringLiteral("Вставить комментарий")},
    };
}

Intercept InterceptAt(const QString& text, int selStart)
{
    const QString upper = AsciiUpper(text);
    if (EndsAt(upper, selStart, QStringLiteral("STYLE=")))
        return Intercept::Style;
    if (EndsAt(upper, selStart, QStringLiteral("CLASS=")))
        return Intercept::Class;
    if (EndsAt(upper, selStart, QStringLiteral("COLOR:")))
        return Intercept::Color;
    return Intercept::None;
}

bool InterceptKey(int windowsKeyCode) { return windowsKeyCode == 187 || windowsKeyCode == 186; }

int WindowsKeyCode(int qtKey, quint32 nativeVirtualKey, bool nativeIsWindowsCode)
{
    // Where the system gives the code itself it is the truth: with a Russian
    // layout the ";" key still sends 186 although it types a letter.
    if (nativeIsWindowsCode && nativeVirtualKey > 0 && nativeVirtualKey < 255)
        return int(nativeVirtualKey);
    switch (qtKey) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    default: break;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    // Qt gives a Cyrillic letter's key as the letter itself, upper or lower case.
    if (qtKey >= 0x0410 && qtKey <= 0x042F)
        return kCyrillicKeys[qtKey - 0x0410];
    if (qtKey >= 0x0430 && qtKey <= 0x044F)
        return kCyrillicKeys[qtKey - 0x0430];
    if (qtKey == 0x0401 || qtKey == 0x0451) // Ё
        return 192;
    return 0;
}

int SnapThumb(int position, int lineHeight)
{
    const qint16 p = qint16(position);
    if (lineHeight <= 0)
        return p;
    const qint16 h = qint16(qMin(lineHeight, 0x7FFF));
    int q = p / h;
    const int r = p % h; // same sign as p
    const int twice = 2 * (r < 0 ? -r : r);
    if (twice > h || (twice == h && (q % 2) != 0))
        q += p < 0 ? -1 : 1;
    return qint16(h * q);
}

QPoint TxtoolsPosition(QPoint screenPos, int panelWidth, int mainWidth)
{
    int left = screenPos.x() - panelWidth / 2;
    int top = screenPos.y() - 100;
    if (left < 0)
        left = 0;
    else if (left + panelWidth > mainWidth)
        left = mainWidth - panelWidth - 10;
    if (top < 0)
        top = 0;
    return {left, top};
}
