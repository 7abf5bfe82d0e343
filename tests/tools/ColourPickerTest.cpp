#include "TestSupport.h"

#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/ColourPicker.h"

#include <vector>

using testing_support::IsolatedTest;

namespace {

QString Web(TColor c) { return ColorToWeb(c, false); }

TEST(ColourPickerStrip, EndpointsAndTurningPoints)
{
    // Both ends of the strip are red; the sixths are the pure hues.
    EXPECT_EQ(Web(HueStripColour(0)), "#FF0000");
    EXPECT_EQ(Web(HueStripColour(360)), "#FF0000");
    EXPECT_EQ(Web(HueStripColour(60)), "#FFFF00");
    EXPECT_EQ(Web(HueStripColour(120)), "#00FF00");
    EXPECT_EQ(Web(HueStripColour(180)), "#00FFFF");
    EXPECT_EQ(Web(HueStripColour(240)), "#0000FF");
    EXPECT_EQ(Web(HueStripColour(300)), "#FF00FF");
    // In between, with the integer divisions: 30 * 1530 div 360 = 127,
    // 2 * (255 - 90 * 765 div 360) = 128, (359 - 240) * 1530 div 360 = 505.
    EXPECT_EQ(Web(HueStripColour(30)), "#FF7F00");
    EXPECT_EQ(Web(HueStripColour(90)), "#80FF00");
    EXPECT_EQ(Web(HueStripColour(359)), "#FF0004");
    EXPECT_EQ(Web(HueStripColour(121)), "#00FF04");
    // Outside the strip: its ends.
    EXPECT_EQ(HueStripColour(-7), HueStripColour(0));
    EXPECT_EQ(HueStripColour(999), HueStripColour(360));
}

TEST(ColourPickerSquare, CornersEdgesAndRounding)
{
    const TColor orange = HueStripColour(30);
    EXPECT_EQ(Web(SquarePixel(orange, 255, 0)), "#FF7F00"); // the pure hue
    EXPECT_EQ(Web(SquarePixel(orange, 0, 0)), "#FFFFFF");
    EXPECT_EQ(Web(SquarePixel(orange, 0, 255)), "#000000");
    EXPECT_EQ(Web(SquarePixel(orange, 200, 255)), "#000000");
    // Left edge: grey of the row's brightness.
    EXPECT_EQ(Web(SquarePixel(orange, 0, 128)), "#7F7F7F");
    // (128, 100): R 155; G 155 * (127 + 128 * 127 / 255) / 255 = 115.9;
    // B 155 * (127 / 255 * 255) / 255 = 77.2.
    EXPECT_EQ(SquarePixel(orange, 128, 100), RgbColour(155, 116, 77));
}

TEST(ColourPickerSquare, FilledSquareEqualsPixelsForEveryHue)
{
    constexpr qsizetype stride = SquareSize + 3;
    std::vector<quint32> buffer(stride * SquareSize, 0xDEADBEEF);
    for (int hue : {0, 30, 77, 180, 299, 360}) {
        const TColor strip = HueStripColour(hue);
        FillSquare(strip, buffer.data(), stride);
        int mismatches = 0;
        for (int y = 0; y < SquareSize; ++y)
            for (int x = 0; x < SquareSize; ++x) {
                const TColor c = SquarePixel(strip, x, y);
                const quint32 expected = 0xFF000000u | (quint32(RedOf(c)) << 16) | (quint32(GreenOf(c)) << 8)
                    | quint32(BlueOf(c));
                mismatches += buffer[y * stride + x] != expected;
            }
        EXPECT_EQ(mismatches, 0) << "hue " << hue;
        // The padding after each row is left alone.
        EXPECT_EQ(buffer[SquareSize], 0xDEADBEEF);
    }
}

TEST(PickerStateTest, StartsWhiteAtTheStripTop)
{
    ColourPickerState s;
    EXPECT_EQ(s.hue(), 360);
    EXPECT_EQ(s.saturation(), 0);
    EXPECT_EQ(s.lightness(), 255);
    EXPECT_EQ(s.displayMode(), ColourDisplayMode::WEBSHORTSUPPORT);
    EXPECT_EQ(s.fields().web, "#FFF");
    EXPECT_FALSE(s.PickConfirmed);
}

TEST(PickerStateTest, ImportKeepsTheColourUntilTheNextUpdate)
{
    ColourPickerState s;
    s.IMPORT_COLOR(RgbColour(255, 0, 0), true);
    EXPECT_EQ(s.hue(), 0);
    EXPECT_EQ(s.saturation(), 255);
    EXPECT_EQ(s.lightness(), 255);
    s.update();
    EXPECT_EQ(Web(s.PickedColour), "#FF0000");
    EXPECT_EQ(Web(s.importedColour()), "#FF0000");

    // A grey: value 50 gives lightness 50 * 255 div 100 = 127.
    const TColor grey = RgbColour(128, 128, 128);
    s.IMPORT_COLOR(grey, false);
    EXPECT_EQ(s.hue(), 300);
    EXPECT_EQ(s.saturation(), 0);
    EXPECT_EQ(s.lightness(), 127);
    EXPECT_EQ(s.PickedColour, grey); // the colour itself, not the pixel
    EXPECT_EQ(Web(s.importedColour()), "#FF0000"); // not shown as start colour
    PickerFields f = s.fields();
    EXPECT_EQ(f.red, "127"); // the fields show the pixel
    s.update();
    EXPECT_EQ(Web(s.PickedColour), "#7F7F7F");
    EXPECT_EQ(Web(s.pointColour()), "#7F7F7F");
    EXPECT_EQ(f.lightness, "50");
    EXPECT_EQ(f.saturation, "0");
    EXPECT_EQ(f.hue, "300");

    // A system colour is read through its usual value (clBtnFace: 212, 208, 200).
    s.IMPORT_COLOR(SystemColor(15), true);
    EXPECT_EQ(s.PickedColour, SystemColor(15));
    EXPECT_EQ(s.hue(), 40);
}

TEST(PickerStateTest, AnUnchangedStartColourComesBackExactly)
{
    // The editor's background among them: through the square it would come back as $00E9EDE6.
    for (const TColor colour : {TColor(0x00EAEEE8), RgbColour(128, 128, 128), RgbColour(1, 2, 3), RgbColour(250, 10, 100), TColor(0x00FFFFFF)}) {
        ColourPickerState s;
        s.IMPORT_COLOR(colour, true);
        s.update();
        s.setDisplayMode(ColourDisplayMode::HEX);
        s.setPoint(s.saturation(), s.lightness()); // onto the same point
        s.setHue(s.hue());
        s.update();
        EXPECT_EQ(s.PickedColour, colour) << colour;
        // A move, even one back again, picks the pixel.
        const int l = s.lightness();
        s.setPoint(s.saturation(), l == 255 ? 254 : l + 1);
        s.setPoint(s.saturation(), l);
        EXPECT_EQ(s.PickedColour, s.pointColour()) << colour;
        s.IMPORT_COLOR(colour, true);
        s.hueDown();
        EXPECT_EQ(s.PickedColour, s.pointColour()) << colour;
        // A typed or chosen colour takes the pixel at the next update.
        s.IMPORT_COLOR(colour, true);
        s.IMPORT_COLOR(colour, false);
        s.update();
        EXPECT_EQ(s.PickedColour, s.pointColour()) << colour;
    }
}

TEST(PickerStateTest, RgbInputImportsAndFieldsShowThePixel)
{
    ColourPickerState s;
    s.setDisplayMode(ColourDisplayMode::WEB);
    EXPECT_EQ(s.rgbInput("255", "128", "0"), std::nullopt);
    EXPECT_EQ(s.hue(), 30);
    EXPECT_EQ(s.saturation(), 255);
    EXPECT_EQ(s.lightness(), 255);
    EXPECT_EQ(s.PickedColour, RgbColour(255, 128, 0));
    const PickerFields f = s.fields();
    EXPECT_EQ(f.red, "255");
    EXPECT_EQ(f.green, "127");
    EXPECT_EQ(f.blue, "0");
    EXPECT_EQ(f.web, "#FF7F00");
    EXPECT_EQ(f.saturation, "100");
    EXPECT_EQ(f.lightness, "100");
    s.update();
    EXPECT_EQ(Web(s.PickedColour), "#FF7F00");
}

TEST(PickerStateTest, RgbFieldFaultsInTheirOrder)
{
    EXPECT_EQ(CheckRgbFields("0", "255", "007"), std::nullopt);
    EXPECT_EQ(CheckRgbFields("256", "0", "0"), RgbRangeMessage);
    EXPECT_EQ(CheckRgbFields("0", "12a", "0"), RgbDigitsMessage);
    EXPECT_EQ(CheckRgbFields("0", "0", ""), RgbRangeMessage);
    EXPECT_EQ(CheckRgbFields("0", "0", "0000"), RgbRangeMessage);
    EXPECT_EQ(CheckRgbFields("-1", "0", "0"), RgbDigitsMessage);
    EXPECT_EQ(CheckRgbFields(" 1", "0", "0"), RgbDigitsMessage);
    EXPECT_EQ(CheckRgbFields(QStringLiteral("\u0663"), "0", "0"), RgbDigitsMessage); // an Arabic-Indic three
    // Lengths are checked for all three before the digits, digits before values.
    EXPECT_EQ(CheckRgbFields("12a", "0", ""), RgbRangeMessage);
    EXPECT_EQ(CheckRgbFields("999", "x", "0"), RgbDigitsMessage);

    ColourPickerState s;
    s.IMPORT_COLOR(RgbColour(0, 0, 255), false);
    EXPECT_EQ(s.rgbInput("1", "2", "256"), RgbRangeMessage);
    EXPECT_EQ(s.hue(), 240);
    EXPECT_EQ(s.PickedColour, RgbColour(0, 0, 255));
}

TEST(PickerStateTest, ArrowsStopAtTheLimits)
{
    ColourPickerState s;
    s.setHue(358);
    EXPECT_TRUE(s.hueUp());
    EXPECT_EQ(s.hue(), 359);
    EXPECT_FALSE(s.hueUp()); // reaching 360 does not move the cursor
    EXPECT_EQ(s.hue(), 360);
    EXPECT_FALSE(s.hueUp());
    EXPECT_EQ(s.hue(), 360);
    s.setHue(2);
    EXPECT_TRUE(s.hueDown());
    EXPECT_FALSE(s.hueDown());
    EXPECT_EQ(s.hue(), 0);

    s.setPoint(254, 1);
    EXPECT_TRUE(s.saturationUp());
    EXPECT_FALSE(s.saturationUp());
    EXPECT_EQ(s.saturation(), 255);
    EXPECT_TRUE(s.lightnessDown());
    EXPECT_FALSE(s.lightnessDown());
    EXPECT_EQ(s.lightness(), 0);
    EXPECT_TRUE(s.lightnessUp());
    EXPECT_EQ(s.lightness(), 1);
    s.setPoint(0, 255);
    EXPECT_FALSE(s.saturationDown());
    EXPECT_FALSE(s.lightnessUp());

    s.setPoint(-20, 300);
    EXPECT_EQ(s.saturation(), 0);
    EXPECT_EQ(s.lightness(), 255);
    s.setHue(-1);
    EXPECT_EQ(s.hue(), 0);
}

TEST(PickerStateTest, PercentFieldsRound)
{
    ColourPickerState s;
    const std::pair<int, QString> cases[] = {{0, "0"}, {1, "0"}, {2, "1"}, {127, "50"}, {128, "50"}, {254, "100"}, {255, "100"}};
    for (const auto& [value, percent] : cases) {
        s.setPoint(value, value);
        EXPECT_EQ(s.fields().saturation, percent) << value;
        EXPECT_EQ(s.fields().lightness, percent) << value;
    }
}

TEST(PickerStateTest, DisplayModes)
{
    ColourPickerState s;
    s.IMPORT_COLOR(RgbColour(255, 128, 0), false);
    const std::pair<ColourDisplayMode, QString> modes[] = {
        {ColourDisplayMode::WEB, "#FF7F00"},
        {ColourDisplayMode::WEBSHORTSUPPORT, "#FF7F00"},
        {ColourDisplayMode::HEX, "0xFF7F00"},
        {ColourDisplayMode::SYS, "$00007FFF"},
        {ColourDisplayMode::SYSIDENTSUPPORT, "$00007FFF"},
    };
    for (const auto& [mode, text] : modes) {
        s.setDisplayMode(mode);
        EXPECT_EQ(s.fields().web, text);
    }
    s.IMPORT_COLOR(RgbColour(255, 0, 0), false);
    EXPECT_EQ(s.fields().web, "clRed");
    s.setDisplayMode(ColourDisplayMode::WEBSHORTSUPPORT);
    EXPECT_EQ(s.fields().web, "#F00");
    s.setDisplayMode(ColourDisplayMode::SYS);
    EXPECT_EQ(s.fields().web, "$000000FF");
}

TEST(PickerStateTest, TypedColourTextByMode)
{
    ColourPickerState s;
    s.setDisplayMode(ColourDisplayMode::WEB);
    EXPECT_EQ(s.webColourInput(" #00f "), std::nullopt);
    EXPECT_EQ(s.hue(), 240);
    EXPECT_EQ(s.PickedColour, RgbColour(0, 0, 255));
    // Not a colour: nothing changes.
    for (const char* bad : {"", "00f", "#00", "#00ff", "#00GG00", "#1234567", "red"})
        EXPECT_EQ(s.webColourInput(bad), WebColourMessage) << bad;
    EXPECT_EQ(s.hue(), 240);
    EXPECT_EQ(s.PickedColour, RgbColour(0, 0, 255));

    s.setDisplayMode(ColourDisplayMode::HEX);
    EXPECT_EQ(s.webColourInput("0x00FF00"), std::nullopt);
    EXPECT_EQ(s.hue(), 120);
    for (const char* bad : {"0x00FF0", "0x00FF000", "00x0FF00", "0xGG0000", "#00FF00"})
        EXPECT_EQ(s.webColourInput(bad), HexColourMessage) << bad;
    EXPECT_EQ(s.hue(), 120);

    s.setDisplayMode(ColourDisplayMode::SYSIDENTSUPPORT);
    EXPECT_EQ(s.webColourInput("clFuchsia"), std::nullopt);
    EXPECT_EQ(s.hue(), 300);
    s.setDisplayMode(ColourDisplayMode::SYS);
    EXPECT_EQ(s.webColourInput("$0000FFFF"), std::nullopt); // 00BBGGRR: yellow
    EXPECT_EQ(s.hue(), 60);
    EXPECT_EQ(s.webColourInput("clNothing"), SysColourMessage);
    EXPECT_EQ(s.webColourInput("$123456789"), SysColourMessage);
    EXPECT_EQ(s.hue(), 60);
}

class RecentColoursTest : public IsolatedTest {};

TEST_F(RecentColoursTest, MostRecentFirstWithoutRepeats)
{
    EXPECT_TRUE(RecentColours().isEmpty());
    SaveRecentColor(RgbColour(0xAB, 0xCD, 0xEF));
    SaveRecentColor(RgbColour(255, 0, 0));
    SaveRecentColor(RgbColour(0xAB, 0xCD, 0xEF));
    SaveRecentColor(SystemColor(5)); // clWindow: white
    EXPECT_EQ(RecentColours(), QStringList({"#FFFFFF", "#ABCDEF", "#FF0000"}));
    Opt_SelectFile(opt::RColors);
    EXPECT_EQ(Opt_ValueAt(0), QString());
    EXPECT_EQ(Opt_Count(), 3);
}

TEST_F(RecentColoursTest, TheTwentyFirstDropsTheOldest)
{
    for (int i = 1; i <= 20; ++i)
        SaveRecentColor(RgbColour(i, 0, 0));
    QStringList list = RecentColours();
    ASSERT_EQ(list.size(), 20);
    EXPECT_EQ(list.first(), "#140000");
    EXPECT_EQ(list.last(), "#010000");
    SaveRecentColor(RgbColour(1, 0, 0)); // already there: moved, nothing dropped
    list = RecentColours();
    ASSERT_EQ(list.size(), 20);
    EXPECT_EQ(list.first(), "#010000");
    EXPECT_EQ(list.last(), "#020000");
    SaveRecentColor(RgbColour(0, 0, 0x21));
    list = RecentColours();
    ASSERT_EQ(list.size(), 20);
    EXPECT_EQ(list.first(), "#000021");
    EXPECT_EQ(list[1], "#010000");
    EXPECT_EQ(list.last(), "#030000");
    EXPECT_FALSE(list.contains("#020000"));
}

TEST_F(RecentColoursTest, AnOverlongListIsCutToTheLimit)
{
    Opt_SelectFile(opt::RColors);
    for (int i = 0; i < 25; ++i)
        Opt_Write(ColorToWeb(RgbColour(0, i, 0), false), QString());
    SaveRecentColor(RgbColour(0, 0, 9));
    const QStringList list = RecentColours();
    ASSERT_EQ(list.size(), MaxRecentColours);
    EXPECT_EQ(list.first(), "#000009");
    EXPECT_EQ(list.last(), "#001200");
}

TEST(DocumentColoursTest, FirstOccurrenceOrderAndDelimiters)
{
    const QString text = QStringLiteral(
        "<font color=#ff0000>a</font>\r\n"
        "body { color:#abc; background: #00FF00; }\r\n"
        "<td bgcolor=\"#FF0000\" x='#123456'>\t#fedcba\r\n"
        "color:#AABBCC again, color=#ABC\r\n");
    EXPECT_EQ(DocumentColours(text),
              QStringList({"#FF0000", "#AABBCC", "#00FF00", "#123456", "#FEDCBA"}));
}

TEST(DocumentColoursTest, WhatIsNotACode)
{
    // Start of the text, a letter, "(" or a line break before "#": no code.
    EXPECT_TRUE(DocumentColours("#FFFFFF").isEmpty());
    EXPECT_TRUE(DocumentColours("a#FFFFFF b(#FFF) x\n#123").isEmpty());
    // Too few digits; a "#" alone at the end.
    EXPECT_TRUE(DocumentColours(" #12 =#GGG :#").isEmpty());
    // Seven digits: the first six form a code; four or five: the first three.
    EXPECT_EQ(DocumentColours(" #1234567"), QStringList({"#123456"}));
    EXPECT_EQ(DocumentColours(" #12345"), QStringList({"#112233"}));
    EXPECT_EQ(DocumentColours("=#abcd"), QStringList({"#AABBCC"}));
    EXPECT_EQ(DocumentColours(" #abc"), QStringList({"#AABBCC"}));
    EXPECT_TRUE(DocumentColours(QString()).isEmpty());
}

TEST(DocumentColoursTest, ManyCodesInALongText)
{
    QString text;
    for (int i = 0; i < 200000; ++i)
        text += QStringLiteral(" #%1;").arg(i % 4096, 3, 16, QLatin1Char('0'));
    const QStringList codes = DocumentColours(text);
    ASSERT_EQ(codes.size(), 4096);
    EXPECT_EQ(codes[0], "#000000");
    EXPECT_EQ(codes[4095], "#FFFFFF");
}

TEST(ColourEntries, CaptionAndCode)
{
    EXPECT_EQ(ColourEntryCaption("#FF0000"), QStringLiteral("#FF0000    красный"));
    EXPECT_EQ(ColourEntryCaption("#123456"), QStringLiteral("#123456    "));
    EXPECT_EQ(ColourEntryCode(QStringLiteral("#F&F0000    красный")), "#FF0000");
    EXPECT_EQ(ColourEntryCode(ColourEntryCaption("#808080")), "#808080");
}

} // namespace
