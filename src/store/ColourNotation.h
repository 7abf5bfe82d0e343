#pragma once
// Colour values and the web colour notation, the names of the basic colours,
// the hue / saturation / lightness split the colour picker shows, and the
// retyping of text typed with the wrong keyboard layout. No state is kept.
#include <QString>

// A colour value: 00BBGGRR (red in the low byte), or a system colour
// 0x80000000 | index (a negative value), index being a Windows COLOR_* index.
using TColor = int;

// "No colour": what WebToColor returns for text that is not a web colour, and
// what callers pass where no colour is meant.
inline constexpr TColor NoColor = 536870911; // 0x1FFFFFFF
// The control's own default colour.
inline constexpr TColor DefaultColor = 0x20000000;

// The system colour with the given COLOR_* index (0..30).
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }

// Retyping: each character of the Russian layout becomes the character on the
// same key of the English layout, and back. Other characters are kept.
QString TransToEng(const QString& text);
QString TransToRus(const QString& text);

// The RGB value of a colour: system colours are replaced by their usual
// default value; only the low 24 bits of other values are kept.
TColor ColorToRGB(TColor colour);

// "#RRGGBB", or "#RGB" when shortForm is set and each pair is two equal digits.
QString ColorToWeb(TColor colour, bool shortForm);
// "#RRGGBB" or "#RGB" to a colour. Text shorter than four characters or not
// starting with "#" gives NoColor; another length, or a digit that is not
// hexadecimal, gives 0.
TColor WebToColor(const QString& text);
// "#" and six or three hexadecimal digits (either letter case).
bool IsWebColor(const QString& text);

// "#RRGGBB" with equal pairs to "#RGB", anything else valid kept as it is.
// Text that is not a web colour is reported with ShowNotice; the result is
// then empty.
QString Conv_WebColorTo3(const QString& text);
// "#RGB" to "#RRGGBB", anything else valid kept as it is; reports bad input
// like Conv_WebColorTo3.
QString Conv_WebColorTo6(const QString& text);

// The name of a basic colour ("white", "red", ...), or of a grey as a share of
// black ("50 % black"); empty for other colours. Russian names on request.
QString ColorName(const QString& webColour, bool russian);

struct HslColor {
    int hue;        // 0..360; 300 for greys
    int saturation; // 0..100
    int lightness;  // 0..100
};
HslColor ColorToHSL(TColor colour);

// With useIdentifier, the colour's identifier when it has one ("clRed",
// "clBtnFace", ...); otherwise "$" and eight upper-case hexadecimal digits.
QString ColorToText(TColor colour, bool useIdentifier);
// The reverse: "$" and up to eight hexadecimal digits, or an identifier
// (letter case ignored; surrounding blanks too). Unreadable text gives
// NoColor and sets *ok to false.
TColor TextToColor(const QString& text, bool* ok = nullptr);
