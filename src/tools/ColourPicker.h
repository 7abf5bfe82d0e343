#pragma once
// The colour picker's model: the hue strip, the saturation/brightness square,
// the picker's state (hue, point, display mode, picked and start colour), the
// typed input of its fields, and the colour lists of the "Цвет" menu (recent
// colours in the section RColors, the colour codes found in the document).
// The window only paints what this computes.
#include "store/ColourNotation.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// The most recent colours kept in RColors.
inline constexpr int MaxRecentColours = 20;
// Side of the square in pixels; the hue strip has rows 0..MaxHue.
inline constexpr int SquareSize = 256;
inline constexpr int MaxHue = 360;

// Messages of the R, G and B fields.
inline const QString RgbRangeMessage =
    QStringLiteral("Значения RGB должны быть в промежутке 0-255.\r\nПроверьте поля ввода.");
inline const QString RgbDigitsMessage = QStringLiteral(
    "Цвета записываются только цифрами.\r\nЗначения RGB должны быть в промежутке 0-255.\r\nПроверьте поля ввода.");
// Messages of the colour text field when the text is not a colour.
inline const QString WebColourMessage =
    QStringLiteral("Цвет записывается как #RRGGBB или #RGB.\r\nПроверьте поле ввода.");
inline const QString HexColourMessage =
    QStringLiteral("Цвет записывается как 0xRRGGBB.\r\nПроверьте поле ввода.");
inline const QString SysColourMessage =
    QStringLiteral("Цвет записывается как $00BBGGRR или именем цвета (clRed, clBtnFace).\r\nПроверьте поле ввода.");

// The colour with the given channels 0..255.
constexpr TColor RgbColour(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// The pure colour of the hue strip for hue 0..360 (limited to that range);
// the strip shows it in row 360 - hue.
TColor HueStripColour(int hue);

// The square's pixel at column x (saturation) and row y (255 - lightness),
// both 0..255, for the strip colour of the current hue.
TColor SquarePixel(TColor stripColour, int x, int y);

// The whole square for a strip colour, row by row from the top, as 0xFFRRGGBB
// values; row y starts at pixels + y * stride (stride in pixels, >= 256).
// The same values as SquarePixel, computed column-wise once per call.
void FillSquare(TColor stripColour, quint32* pixels, qsizetype stride = SquareSize);

// Notations of the colour text field.
enum class ColourDisplayMode { WEB, WEBSHORTSUPPORT, HEX, SYS, SYSIDENTSUPPORT };

// The colour written in a notation: "#RRGGBB", "#RGB" where possible,
// "0xRRGGBB", "$00BBGGRR", or an identifier such as "clRed" where there is one.
QString ColourInMode(TColor colour, ColourDisplayMode mode);

// What the picker's fields show.
struct PickerFields {
    QString hue, saturation, lightness; // H 0..360, S and L in per cent
    QString red, green, blue;           // 0..255
    QString web;                        // the colour text field
};

class ColourPickerState {
public:
    // As at creation: hue 360, saturation 0, lightness 255 (white).
    ColourPickerState();

    int hue() const { return hue_; }
    int saturation() const { return saturation_; }
    int lightness() const { return lightness_; }
    ColourDisplayMode displayMode() const { return mode_; }

    // The colour under the selector (the square's pixel at the point).
    TColor pointColour() const;
    // The pure colour of the current hue (the square's top-right pixel).
    TColor hueColour() const { return HueStripColour(hue_); }
    // The square's left and right pixels in the current row.
    TColor rowDesaturated() const;
    TColor rowSaturated() const;

    // Moves the hue (limited to 0..360) and updates.
    void setHue(int hue);
    // Moves the point (each limited to 0..255) and updates.
    void setPoint(int saturation, int lightness);
    void setDisplayMode(ColourDisplayMode mode);
    // PickedColour := the colour under the selector, or the colour imported
    // as the start colour itself while neither the hue nor the point has
    // moved since that import.
    void update();

    // Sets hue and point to a colour, PickedColour to the colour itself; with
    // showAsStart the colour also becomes the imported colour shown beside the
    // new one.
    void IMPORT_COLOR(TColor colour, bool showAsStart);
    TColor importedColour() const { return imported_; }

    // The arrows. Each returns whether the cursor should follow the selector
    // by one pixel (the hue arrows: not when the limit is reached; the point
    // arrows: only when the value changed).
    bool hueUp();
    bool hueDown();
    bool lightnessUp();
    bool lightnessDown();
    bool saturationUp();
    bool saturationDown();

    PickerFields fields() const;

    // Enter in the colour text field, read by the current display mode. Text
    // that is no colour in that notation changes nothing; the result is then
    // the message to show.
    std::optional<QString> webColourInput(const QString& text);
    // Enter in the R, G or B field: the message to show, or nothing when the
    // three fields were fine and the colour was imported.
    std::optional<QString> rgbInput(const QString& r, const QString& g, const QString& b);

    TColor PickedColour = RgbColour(255, 255, 255);
    TColor StartColour = RgbColour(255, 255, 255);
    bool PickConfirmed = false;

private:
    int hue_ = MaxHue;
    int saturation_ = 0;
    int lightness_ = 255;
    ColourDisplayMode mode_ = ColourDisplayMode::WEBSHORTSUPPORT;
    TColor imported_ = RgbColour(255, 255, 255);
    bool exact_ = false;
    TColor exactColour_ = RgbColour(255, 255, 255);
};

// The check of the R, G and B fields: each one to three characters long, then
// each only digits 0-9, then each below 256. The message of the first fault.
std::optional<QString> CheckRgbFields(const QString& r, const QString& g, const QString& b);

// Records a colour as the most recent one in RColors (item "#RRGGBB", empty
// value, most recent first, at most MaxRecentColours items).
void SaveRecentColor(TColor colour);
// The items of RColors in order.
QStringList RecentColours();
// The colour codes of a text as "#RRGGBB", in order of first appearance, each
// once: a "#" with six or three hexadecimal digits after a tab, blank, quote,
// apostrophe, ":" or "=" (either letter case).
QStringList DocumentColours(const QString& text);
// The caption of a colour entry of the menu: code, four blanks, Russian name.
QString ColourEntryCaption(const QString& code);
// The code of an entry from its caption: the first 7 characters without "&".
QString ColourEntryCode(const QString& caption);
