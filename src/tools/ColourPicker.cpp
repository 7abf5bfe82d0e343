#include "tools/ColourPicker.h"

#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

int Limit(int value, int low, int high) { return std::clamp(value, low, high); }

// The channel's share before darkening: Q + (255 - Q) * (255 - x) / 255.
double Whitened(int q, int x) { return q + (255.0 - q) * (255 - x) / 255.0; }

// Darkened for row y and rounded to the nearest integer, ties to even (the
// default rounding mode).
int Darkened(double whitened, int y) { return static_cast<int>(std::nearbyint((255 - y) * whitened / 255.0)); }

// Rounded per cent of a 0..255 value (never a tie: 255 is odd).
int Percent(int value) { return (value * 200 + 255) / 510; }

bool OnlyDigits(const QString& text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool CodeDelimiter(QChar c)
{
    return c == u'\t' || c == u' ' || c == u'"' || c == u'\'' || c == u':' || c == u'=';
}

bool HexDigitAt(const QString& text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// The number of hexadecimal digits right after position p (at most 6).
int HexRun(const QString& text, qsizetype p)
{
    int n = 0;
    while (n < 6 && p + 1 + n < text.size() && HexDigitAt(text, p + 1 + n))
        ++n;
    return n;
}

} // namespace

TColor HueStripColour(int hue)
{
    const int i = Limit(hue, 0, MaxHue);
    int r = 0, g = 0, b = 0;
    if (i < 120)
        r = 2 * (255 - (i * 765 / 360));
    else if (i >= 240)
        r = (i - 240) * 1530 / 360;
    if (i < 120)
        g = i * 1530 / 360;
    else if (i < 240)
        g = (240 - i) * 1530 / 360;
    if (i > 120 && i < 240)
        b = (i - 120) * 1530 / 360;
    else if (i >= 240 && i < 360)
        b = (360 - i) * 1530 / 360;
    return RgbColour(std::min(r, 255), std::min(g, 255), std::min(b, 255));
}

TColor SquarePixel(TColor stripColour, int x, int y)
{
    x = Limit(x, 0, 255);
    y = Limit(y, 0, 255);
    return RgbColour(Darkened(Whitened(RedOf(stripColour), x), y), Darkened(Whitened(GreenOf(stripColour), x), y),
                     Darkened(Whitened(BlueOf(stripColour), x), y));
}

void FillSquare(TColor stripColour, quint32* pixels, qsizetype stride)
{
    std::array<double, SquareSize> r{}, g{}, b{};
    for (int x = 0; x < SquareSize; ++x) {
        r[x] = Whitened(RedOf(stripColour), x);
        g[x] = Whitened(GreenOf(stripColour), x);
        b[x] = Whitened(BlueOf(stripColour), x);
    }
    for (int y = 0; y < SquareSize; ++y) {
        quint32* row = pixels + y * stride;
        for (int x = 0; x < SquareSize; ++x)
            row[x] = 0xFF000000u | (quint32(Darkened(r[x], y)) << 16) | (quint32(Darkened(g[x], y)) << 8)
                | quint32(Darkened(b[x], y));
    }
}

QString ColourInMode(TColor colour, ColourDisplayMode mode)
{
    switch (mode) {
    case ColourDisplayMode::WEB:
        return ColorToWeb(colour, false);
    case ColourDisplayMode::WEBSHORTSUPPORT:
        return ColorToWeb(colour, true);
    case ColourDisplayMode::HEX:
        return QStringLiteral("0x") + ColorToWeb(colour, false).mid(1);
    case ColourDisplayMode::SYS:
        return ColorToText(colour, false);
    case ColourDisplayMode::SYSIDENTSUPPORT:
        return ColorToText(colour, true);
    }
    return ColorToWeb(colour, false);
}

ColourPickerState::ColourPickerState() { update(); }

TColor ColourPickerState::pointColour() const { return SquarePixel(hueColour(), saturation_, 255 - lightness_); }

TColor ColourPickerState::rowDesaturated() const { return SquarePixel(hueColour(), 0, 255 - lightness_); }

TColor ColourPickerState::rowSaturated() const { return SquarePixel(hueColour(), 255, 255 - lightness_); }

void ColourPickerState::setHue(int hue)
{
    const int moved = Limit(hue, 0, MaxHue);
    if (moved != hue_)
        exact_ = false;
    hue_ = moved;
    update();
}

void ColourPickerState::setPoint(int saturation, int lightness)
{
    const int s = Limit(saturation, 0, 255);
    const int l = Limit(lightness, 0, 255);
    if (s != saturation_ || l != lightness_)
        exact_ = false;
    saturation_ = s;
    lightness_ = l;
    update();
}

void ColourPickerState::setDisplayMode(ColourDisplayMode mode)
{
    mode_ = mode;
    update();
}

void ColourPickerState::update() { PickedColour = exact_ ? exactColour_ : pointColour(); }

void ColourPickerState::IMPORT_COLOR(TColor colour, bool showAsStart)
{
    const HslColor hsl = ColorToHSL(colour);
    if (showAsStart)
        imported_ = colour;
    setHue(hsl.hue);
    setPoint(hsl.saturation * 255 / 100, hsl.lightness * 255 / 100);
    // The selector only comes near the colour (whole degrees and per cent):
    // the colour the picker was opened with stays picked until the hue or
    // the point moves. A typed or chosen colour takes the selector's pixel at
    // the next update.
    exact_ = showAsStart;
    exactColour_ = colour;
    PickedColour = colour;
}

bool ColourPickerState::hueUp()
{
    if (hue_ + 1 >= MaxHue) {
        setHue(MaxHue);
        return false;
    }
    setHue(hue_ + 1);
    return true;
}

bool ColourPickerState::hueDown()
{
    if (hue_ - 1 <= 0) {
        setHue(0);
        return false;
    }
    setHue(hue_ - 1);
    return true;
}

bool ColourPickerState::lightnessUp()
{
    if (lightness_ >= 255)
        return false;
    setPoint(saturation_, lightness_ + 1);
    return true;
}

bool ColourPickerState::lightnessDown()
{
    if (lightness_ <= 0)
        return false;
    setPoint(saturation_, lightness_ - 1);
    return true;
}

bool ColourPickerState::saturationUp()
{
    if (saturation_ >= 255)
        return false;
    setPoint(saturation_ + 1, lightness_);
    return true;
}

bool ColourPickerState::saturationDown()
{
    if (saturation_ <= 0)
        return false;
    setPoint(saturation_ - 1, lightness_);
    return true;
}

PickerFields ColourPickerState::fields() const
{
    const TColor c = pointColour();
    PickerFields f;
    f.hue = QString::number(hue_);
    f.saturation = QString::number(Percent(saturation_));
    f.lightness = QString::number(Percent(lightness_));
    f.red = QString::number(RedOf(c));
    f.green = QString::number(GreenOf(c));
    f.blue = QString::number(BlueOf(c));
    f.web = ColourInMode(c, mode_);
    return f;
}

std::optional<QString> ColourPickerState::webColourInput(const QString& text)
{
    const QString t = text.trimmed();
    switch (mode_) {
    case ColourDisplayMode::WEB:
    case ColourDisplayMode::WEBSHORTSUPPORT:
        if (!IsWebColor(t))
            return WebColourMessage;
        IMPORT_COLOR(WebToColor(t), false);
        return std::nullopt;
    case ColourDisplayMode::HEX: {
        const QString code = QStringLiteral("#") + t.mid(2);
        if (t.size() != 8 || !t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || !IsWebColor(code))
            return HexColourMessage;
        IMPORT_COLOR(WebToColor(code), false);
        return std::nullopt;
    }
    case ColourDisplayMode::SYS:
    case ColourDisplayMode::SYSIDENTSUPPORT: {
        bool ok = false;
        const TColor colour = TextToColor(t, &ok);
        if (!ok)
            return SysColourMessage;
        IMPORT_COLOR(colour, false);
        return std::nullopt;
    }
    }
    return WebColourMessage;
}

std::optional<QString> ColourPickerState::rgbInput(const QString& r, const QString& g, const QString& b)
{
    if (std::optional<QString> fault = CheckRgbFields(r, g, b))
        return fault;
    IMPORT_COLOR(RgbColour(r.toInt(), g.toInt(), b.toInt()), false);
    return std::nullopt;
}

std::optional<QString> CheckRgbFields(const QString& r, const QString& g, const QString& b)
{
    const QString fields[] = {r, g, b};
    for (const QString& f : fields)
        if (f.isEmpty() || f.size() > 3)
            return RgbRangeMessage;
    for (const QString& f : fields)
        if (!OnlyDigits(f))
            return RgbDigitsMessage;
    for (const QString& f : fields)
        if (f.toInt() > 255)
            return RgbRangeMessage;
    return std::nullopt;
}

void SaveRecentColor(TColor colour)
{
    Opt_SelectFile(opt::RColors);
    const QString key = ColorToWeb(colour, false);
    const int at = Opt_IndexOf(key);
    if (at >= 0) {
        Opt_Move(at, 0);
    } else {
        Opt_Write(key, QString());
        Opt_Move(Opt_Count() - 1, 0);
    }
    // Trimmed to the limit even when the file was edited to hold more.
    for (int count = Opt_Count(); count > MaxRecentColours; --count)
        Opt_DeleteAt(count - 1);
}

QStringList RecentColours()
{
    Opt_SelectFile(opt::RColors);
    const QString names = Opt_Names();
    return names.isEmpty() ? QStringList() : names.split(QStringLiteral("\r\n"));
}

QStringList DocumentColours(const QString& text)
{
    QStringList codes;
    QSet<QString> seen;
    for (qsizetype p = 1; p < text.size(); ++p) {
        if (text[p] != u'#' || !CodeDelimiter(text[p - 1]))
            continue;
        const int digits = HexRun(text, p);
        QString code;
        if (digits == 6)
            code = text.mid(p, 7).toUpper();
        else if (digits >= 3)
            code = Conv_WebColorTo6(text.mid(p, 4).toUpper());
        else
            continue;
        if (!seen.contains(code)) {
            seen.insert(code);
            codes << code;
        }
    }
    return codes;
}

QString ColourEntryCaption(const QString& code) { return code + QStringLiteral("    ") + ColorName(code, true); }

QString ColourEntryCode(const QString& caption)
{
    QString c = caption;
    c.remove(u'&');
    return c.left(7);
}
