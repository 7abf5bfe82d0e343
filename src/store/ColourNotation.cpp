#include "store/ColourNotation.h"

#include "store/Utilities.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The two layouts key by key: a character of one table sits on the same key
// as the character at the same position of the other.
const QString& RussianLayout()
{
    static const QString table = QStringLiteral(" 0123456789!") + QStringLiteral("\"№;%:?")
        + QStringLiteral("*()_+-=") + QStringLiteral("Ёё") + QStringLiteral("ЙЦУКЕНГШЩЗХЪ")
        + QStringLiteral("ФЫВАПРОЛДЖЭ") + QStringLiteral("/") + QStringLiteral("ЯЧСМИТЬБЮ")
        + QStringLiteral(",") + QStringLiteral("йцукенгшщзхъ") + QStringLiteral("фывапролджэ")
        + QStringLiteral("\\") + QStringLiteral("ячсмитьбю") + QStringLiteral(".");
    return table;
}

const QString& EnglishLayout()
{
    static const QString table = QStringLiteral(" 0123456789!") + QStringLiteral("@#$%^&")
        + QStringLiteral("*()_+-=") + QStringLiteral("~`") + QStringLiteral("QWERTYUIOP{}")
        + QStringLiteral("ASDFGHJKL:\"") + QStringLiteral("|") + QStringLiteral("ZXCVBNM<>")
        + QStringLiteral("?") + QStringLiteral("qwertyuiop[]") + QStringLiteral("asdfghjkl;'")
        + QStringLiteral("\\") + QStringLiteral("zxcvbnm,.") + QStringLiteral("/");
    return table;
}

QString Retype(const QString& text, const QString& from, const QString& to)
{
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const qsizetype k = from.indexOf(result[i]);
        if (k >= 0)
            result[i] = to[k];
    }
    return result;
}

constexpr TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Usual default values of the system colours, by COLOR_* index.
constexpr std::array<TColor, 31> SystemColourValues = {
    Rgb(212, 208, 200), // 0  scroll bar
    Rgb(58, 110, 165),  // 1  desktop
    Rgb(10, 36, 106),   // 2  active caption
    Rgb(128, 128, 128), // 3  inactive caption
    Rgb(212, 208, 200), // 4  menu
    Rgb(255, 255, 255), // 5  window
    Rgb(0, 0, 0),       // 6  window frame
    Rgb(0, 0, 0),       // 7  menu text
    Rgb(0, 0, 0),       // 8  window text
    Rgb(255, 255, 255), // 9  caption text
    Rgb(212, 208, 200), // 10 active border
    Rgb(212, 208, 200), // 11 inactive border
    Rgb(128, 128, 128), // 12 application work space
    Rgb(10, 36, 106),   // 13 highlight
    Rgb(255, 255, 255), // 14 highlighted text
    Rgb(212, 208, 200), // 15 button face
    Rgb(128, 128, 128), // 16 button shadow
    Rgb(128, 128, 128), // 17 grey text
    Rgb(0, 0, 0),       // 18 button text
    Rgb(212, 208, 200), // 19 inactive caption text
    Rgb(255, 255, 255), // 20 button highlight
    Rgb(64, 64, 64),    // 21 3-D dark shadow
    Rgb(212, 208, 200), // 22 3-D light
    Rgb(0, 0, 0),       // 23 tool tip text
    Rgb(255, 255, 225), // 24 tool tip background
    Rgb(181, 181, 181), // 25 (unnamed)
    Rgb(0, 0, 128),     // 26 hot-tracked item
    Rgb(166, 202, 240), // 27 active caption gradient
    Rgb(192, 192, 192), // 28 inactive caption gradient
    Rgb(10, 36, 106),   // 29 menu highlight
    Rgb(212, 208, 200), // 30 menu bar
};

struct ColourIdent {
    TColor value;
    const char* name;
};

// Searched in this order: where two identifiers share a value, the first one
// names it.
const ColourIdent ColourIdents[] = {
    {Rgb(0, 0, 0), "clBlack"},
    {Rgb(128, 0, 0), "clMaroon"},
    {Rgb(0, 128, 0), "clGreen"},
    {Rgb(128, 128, 0), "clOlive"},
    {Rgb(0, 0, 128), "clNavy"},
    {Rgb(128, 0, 128), "clPurple"},
    {Rgb(0, 128, 128), "clTeal"},
    {Rgb(128, 128, 128), "clGray"},
    {Rgb(192, 192, 192), "clSilver"},
    {Rgb(255, 0, 0), "clRed"},
    {Rgb(0, 255, 0), "clLime"},
    {Rgb(255, 255, 0), "clYellow"},
    {Rgb(0, 0, 255), "clBlue"},
    {Rgb(255, 0, 255), "clFuchsia"},
    {Rgb(0, 255, 255), "clAqua"},
    {Rgb(192, 192, 192), "clLtGray"},
    {Rgb(128, 128, 128), "clDkGray"},
    {Rgb(255, 255, 255), "clWhite"},
    {Rgb(192, 220, 192), "clMoneyGreen"},
    {Rgb(166, 202, 240), "clSkyBlue"},
    {Rgb(255, 251, 240), "clCream"},
    {Rgb(160, 160, 164), "clMedGray"},
    {NoColor, "clNone"},
    {DefaultColor, "clDefault"},
    {SystemColor(0), "clScrollBar"},
    {SystemColor(1), "clBackground"},
    {SystemColor(2), "clActiveCaption"},
    {SystemColor(3), "clInactiveCaption"},
    {SystemColor(4), "clMenu"},
    {SystemColor(5), "clWindow"},
    {SystemColor(6), "clWindowFrame"},
    {SystemColor(7), "clMenuText"},
    {SystemColor(8), "clWindowText"},
    {SystemColor(9), "clCaptionText"},
    {SystemColor(10), "clActiveBorder"},
    {SystemColor(11), "clInactiveBorder"},
    {SystemColor(12), "clAppWorkSpace"},
    {SystemColor(13), "clHighlight"},
    {SystemColor(14), "clHighlightText"},
    {SystemColor(15), "clBtnFace"},
    {SystemColor(16), "clBtnShadow"},
    {SystemColor(17), "clGrayText"},
    {SystemColor(18), "clBtnText"},
    {SystemColor(19), "clInactiveCaptionText"},
    {SystemColor(20), "clBtnHighlight"},
    {SystemColor(21), "cl3DDkShadow"},
    {SystemColor(22), "cl3DLight"},
    {SystemColor(23), "clInfoText"},
    {SystemColor(24), "clInfoBk"},
    {SystemColor(26), "clHotLight"},
    {SystemColor(27), "clGradientActiveCaption"},
    {SystemColor(28), "clGradientInactiveCaption"},
    {SystemColor(29), "clMenuHighlight"},
    {SystemColor(30), "clMenuBar"},
};

bool IsHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// num / den rounded to the nearest integer, ties to the even one (den > 0).
std::int64_t RoundHalfEven(std::int64_t num, std::int64_t den)
{
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) {
        --q;
        r += den;
    }
    if (2 * r > den || (2 * r == den && q % 2 != 0))
        ++q;
    return q;
}

} // namespace

QString TransToEng(const QString& text) { return Retype(text, RussianLayout(), EnglishLayout()); }

QString TransToRus(const QString& text) { return Retype(text, EnglishLayout(), RussianLayout()); }

TColor ColorToRGB(TColor colour)
{
    if (colour < 0) {
        const unsigned index = static_cast<unsigned>(colour) & 0xFFu;
        return index < SystemColourValues.size() ? SystemColourValues[index] : 0;
    }
    return colour & 0xFFFFFF;
}

QString ColorToWeb(TColor colour, bool shortForm)
{
    const QString bgr = QStringLiteral("%1").arg(ColorToRGB(colour), 6, 16, QLatin1Char('0')).toUpper();
    const QString r = bgr.mid(4, 2);
    const QString g = bgr.mid(2, 2);
    const QString b = bgr.mid(0, 2);
    if (shortForm && r[0] == r[1] && g[0] == g[1] && b[0] == b[1])
        return QStringLiteral("#") + r[0] + g[0] + b[0];
    return QStringLiteral("#") + r + g + b;
}

TColor WebToColor(const QString& text)
{
    if (text.size() <= 3 || !text.startsWith(u'#'))
        return NoColor;
    if (text.size() == 7)
        return HexToInt(text.mid(5, 2) + text.mid(3, 2) + text.mid(1, 2));
    if (text.size() == 4) {
        const QChar r = text[1], g = text[2], b = text[3];
        return HexToInt(QString(2, b) + QString(2, g) + QString(2, r));
    }
    return 0;
}

bool IsWebColor(const QString& text)
{
    if (!text.startsWith(u'#') || (text.size() != 7 && text.size() != 4))
        return false;
    for (qsizetype i = 1; i < text.size(); ++i)
        if (!IsHexDigit(text[i]))
            return false;
    return true;
}

QString Conv_WebColorTo3(const QString& text)
{
    if (!IsWebColor(text)) {
        ShowNotice(QStringLiteral("Kctrl2, Conv_WebColorTo3 - ошибка, не Web-цвет на входе"));
        return QString();
    }
    if (text.size() == 7 && text[1] == text[2] && text[3] == text[4] && text[5] == text[6])
        return QStringLiteral("#") + text[1] + text[3] + text[5];
    return text;
}

QString Conv_WebColorTo6(const QString& text)
{
    if (!IsWebColor(text)) {
        ShowNotice(QStringLiteral("Kctrl2, Conv_WebColorTo6 - ошибка, не Web-цвет на входе"));
        return QString();
    }
    if (text.size() == 4)
        return QStringLiteral("#") + QString(2, text[1]) + QString(2, text[2]) + QString(2, text[3]);
    return text;
}

QString ColorName(const QString& webColour, bool russian)
{
    const TColor colour = WebToColor(webColour);
    if (colour == NoColor)
        return QString(); // not a colour at all, so no name
    const QString digits = ColorToWeb(colour, false).mid(1);

    struct Named {
        const char* digits;
        const char* english;
        const char* russian;
    };
    static const Named names[] = {
        {"FFFFFF", "white", "белый"},    {"000000", "black", "черный"},
        {"FF0000", "red", "красный"},    {"00FF00", "green", "зеленый"},
        {"0000FF", "blue", "синий"},     {"FFFF00", "yellow", "желтый"},
        {"FF00FF", "magenta", "пурпурный"}, {"00FFFF", "cyan", "цианистый"},
    };
    for (const Named& n : names)
        if (digits == QLatin1String(n.digits))
            return QString::fromUtf8(russian ? n.russian : n.english);

    const int r = colour & 0xFF;
    const int g = (colour >> 8) & 0xFF;
    const int b = (colour >> 16) & 0xFF;
    if (r != g || g != b)
        return QString();
    const int a = static_cast<int>(RoundHalfEven(r * 100, 255));
    const int n = a == 0 ? 99 : a == 100 ? 1 : 100 - a;
    return QString::number(n) + (russian ? QStringLiteral(" % черного") : QStringLiteral(" % black"));
}

HslColor ColorToHSL(TColor colour)
{
    const TColor rgb = ColorToRGB(colour);
    const int r = rgb & 0xFF;
    const int g = (rgb >> 8) & 0xFF;
    const int b = (rgb >> 16) & 0xFF;
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    const int d = max - min;

    // Worked in exact fractions so that ties really are ties.
    // Saturation s = d * 255 / max; the result is s * 0.392.
    HslColor hsl{300, 0, 0}; // -1 * 60 + 360: the hue of a grey
    hsl.saturation = max == 0 ? 0 : static_cast<int>(RoundHalfEven(std::int64_t(d) * 255 * 392, std::int64_t(max) * 1000));
    hsl.lightness = static_cast<int>(RoundHalfEven(std::int64_t(max) * 392, 1000));

    // s is 0 exactly when d is (or max is 0, and then d is 0 as well).
    if (d == 0)
        return hsl;
    std::int64_t hueNum; // hue in degrees = hueNum / d
    if (r == max)
        hueNum = 60 * (g - b);
    else if (g == max)
        hueNum = 60 * (b - r) + 120 * d;
    else
        hueNum = 60 * (r - g) + 240 * d;
    if (hueNum < 0)
        hueNum += 360 * d;
    hsl.hue = static_cast<int>(RoundHalfEven(hueNum, d));
    return hsl;
}

QString ColorToText(TColor colour, bool useIdentifier)
{
    if (useIdentifier)
        for (const ColourIdent& c : ColourIdents)
            if (c.value == colour)
                return QLatin1String(c.name);
    return QStringLiteral("$")
        + QStringLiteral("%1").arg(static_cast<quint32>(colour), 8, 16, QLatin1Char('0')).toUpper();
}

TColor TextToColor(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    if (ok)
        *ok = true;
    if (t.startsWith(u'$')) {
        const qsizetype n = t.size() - 1;
        bool digits = n >= 1 && n <= 8;
        for (qsizetype i = 1; digits && i < t.size(); ++i)
            digits = IsHexDigit(t[i]);
        if (digits)
            return static_cast<TColor>(t.mid(1).toUInt(nullptr, 16));
    } else {
        for (const ColourIdent& c : ColourIdents)
            if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
                return c.value;
    }
    if (ok)
        *ok = false;
    return NoColor;
}
