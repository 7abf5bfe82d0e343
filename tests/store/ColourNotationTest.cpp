#include "store/ColourNotation.h"

#include "platform/Prompts.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

constexpr TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Installs scripted prompts for the length of a test.
class ColourNotationPrompted : public ::testing::Test {
protected:
    void SetUp() override { platform::SetPrompts(&prompts_); }
    void TearDown() override { platform::SetPrompts(nullptr); }
    platform::ScriptedPrompts prompts_;
};

} // namespace

// ---- Layout retyping ------------------------------------------------------

TEST(ColourNotationRetype, WordsTypedInTheOtherLayout)
{
    EXPECT_EQ(TransToEng(QStringLiteral("руддщ")), QStringLiteral("hello"));
    EXPECT_EQ(TransToRus(QStringLiteral("ghbdtn")), QStringLiteral("привет"));
    EXPECT_EQ(TransToRus(QStringLiteral("Ghbdtn? vbh!")), QStringLiteral("Привет, мир!"));
    EXPECT_EQ(TransToRus(QStringLiteral("Ghbdtn, vbh!")), QStringLiteral("Приветб мир!"));
    EXPECT_EQ(TransToEng(QStringLiteral("Привет б мир!")), QStringLiteral("Ghbdtn , vbh!"));
}

TEST(ColourNotationRetype, PunctuationKeys)
{
    EXPECT_EQ(TransToEng(QStringLiteral("\"№;:?")), QStringLiteral("@#$^&"));
    EXPECT_EQ(TransToEng(QStringLiteral("ХЪЖЭхъжэ")), QStringLiteral("{}:\"[];'"));
    // "/", "," and "." are on other keys in the Russian layout.
    EXPECT_EQ(TransToEng(QStringLiteral("/,.\\")), QStringLiteral("|?/\\"));
    EXPECT_EQ(TransToRus(QStringLiteral("/,.|?\\")), QStringLiteral(".бю/,\\"));
}

TEST(ColourNotationRetype, OtherCharactersAreKept)
{
    // Latin letters are not in the Russian table, Cyrillic not in the English one.
    EXPECT_EQ(TransToEng(QStringLiteral("abc\tXYZ\r\n")), QStringLiteral("abc\tXYZ\r\n"));
    EXPECT_EQ(TransToRus(QStringLiteral("абв\u00e9\u20ac")), QStringLiteral("абв\u00e9\u20ac"));
    const QString emoji = QStringLiteral("\U0001F600");
    EXPECT_EQ(TransToEng(emoji), emoji);
    EXPECT_EQ(TransToRus(emoji), emoji);
    EXPECT_EQ(TransToEng(QString()), QString());
}

TEST(ColourNotationRetype, EveryKeyOfTheEnglishLayoutHasOneRussianCharacter)
{
    QString ascii;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        ascii += QChar(c);
    const QString russian = TransToRus(ascii);
    ASSERT_EQ(russian.size(), ascii.size());
    QSet<QChar> distinct(russian.begin(), russian.end());
    EXPECT_EQ(distinct.size(), ascii.size());
    for (qsizetype i = 0; i < ascii.size(); ++i)
        EXPECT_EQ(TransToEng(russian.mid(i, 1)), ascii.mid(i, 1)) << "key " << i;
}

// ---- Web colours ----------------------------------------------------------

TEST(ColourNotationWeb, ColourToWebReordersTheBytes)
{
    EXPECT_EQ(ColorToWeb(0x00CCBBAA, false), QStringLiteral("#AABBCC"));
    EXPECT_EQ(ColorToWeb(0x00CCBBAA, true), QStringLiteral("#ABC"));
    EXPECT_EQ(ColorToWeb(0x00CCBBAB, true), QStringLiteral("#ABBBCC"));
    EXPECT_EQ(ColorToWeb(0, true), QStringLiteral("#000"));
}

TEST(ColourNotationWeb, SystemColoursBecomeTheirDefaultValue)
{
    EXPECT_EQ(ColorToWeb(SystemColor(5), false), QStringLiteral("#FFFFFF"));   // window
    EXPECT_EQ(ColorToWeb(SystemColor(15), false), QStringLiteral("#D4D0C8"));  // button face
    EXPECT_EQ(ColorToWeb(SystemColor(24), false), QStringLiteral("#FFFFE1"));  // tool tip
    // Unknown indexes and the special values still give a well-formed colour.
    EXPECT_EQ(ColorToWeb(SystemColor(200), false), QStringLiteral("#000000"));
    EXPECT_EQ(ColorToWeb(-1, false), QStringLiteral("#000000"));
    EXPECT_EQ(ColorToWeb(NoColor, false).size(), 7);
}

TEST(ColourNotationWeb, WebToColour)
{
    EXPECT_EQ(WebToColor(QStringLiteral("#AABBCC")), 0x00CCBBAA);
    EXPECT_EQ(WebToColor(QStringLiteral("#ABC")), WebToColor(QStringLiteral("#AABBCC")));
    EXPECT_EQ(WebToColor(QStringLiteral("#aabbcc")), 0x00CCBBAA);
    // Not a web colour at all.
    EXPECT_EQ(WebToColor(QStringLiteral("AABBCC")), NoColor);
    EXPECT_EQ(WebToColor(QStringLiteral("#AB")), NoColor);
    // Wrong length or digits.
    EXPECT_EQ(WebToColor(QStringLiteral("#ABCD")), 0);
    EXPECT_EQ(WebToColor(QStringLiteral("#GGBBCC")), 0);
    EXPECT_EQ(WebToColor(QStringLiteral("#AB\u0416")), 0);
}

TEST(ColourNotationWeb, IsWebColour)
{
    EXPECT_TRUE(IsWebColor(QStringLiteral("#AABBCC")));
    EXPECT_TRUE(IsWebColor(QStringLiteral("#aAbBcC")));
    EXPECT_TRUE(IsWebColor(QStringLiteral("#09f")));
    EXPECT_FALSE(IsWebColor(QString()));
    EXPECT_FALSE(IsWebColor(QStringLiteral("AABBCC")));
    EXPECT_FALSE(IsWebColor(QStringLiteral("#AABB")));
    EXPECT_FALSE(IsWebColor(QStringLiteral("#AABBCG")));
    EXPECT_FALSE(IsWebColor(QStringLiteral("# AB")));
    EXPECT_FALSE(IsWebColor(QStringLiteral("#\uFF21BC"))); // full-width A
}

TEST_F(ColourNotationPrompted, ConvertToThreeDigits)
{
    EXPECT_EQ(Conv_WebColorTo3(QStringLiteral("#AABBCC")), QStringLiteral("#ABC"));
    EXPECT_EQ(Conv_WebColorTo3(QStringLiteral("#aAbbcc")), QStringLiteral("#aAbbcc"));
    EXPECT_EQ(Conv_WebColorTo3(QStringLiteral("#AABBCD")), QStringLiteral("#AABBCD"));
    EXPECT_EQ(Conv_WebColorTo3(QStringLiteral("#ABC")), QStringLiteral("#ABC"));
    EXPECT_TRUE(prompts_.shown.empty());

    EXPECT_EQ(Conv_WebColorTo3(QStringLiteral("AABBCC")), QString());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].kind, QStringLiteral("notice"));
    EXPECT_EQ(prompts_.shown[0].text, QStringLiteral("Kctrl2, Conv_WebColorTo3 - ошибка, не Web-цвет на входе"));
}

TEST_F(ColourNotationPrompted, ConvertToSixDigits)
{
    EXPECT_EQ(Conv_WebColorTo6(QStringLiteral("#AbC")), QStringLiteral("#AAbbCC"));
    EXPECT_EQ(Conv_WebColorTo6(QStringLiteral("#123456")), QStringLiteral("#123456"));
    EXPECT_TRUE(prompts_.shown.empty());

    EXPECT_EQ(Conv_WebColorTo6(QStringLiteral("#12")), QString());
    EXPECT_EQ(Conv_WebColorTo6(QStringLiteral("#XYZ")), QString());
    EXPECT_EQ(prompts_.texts(),
              QStringList(2, QStringLiteral("Kctrl2, Conv_WebColorTo6 - ошибка, не Web-цвет на входе")));
}

// ---- Colour names ---------------------------------------------------------

TEST(ColourNotationName, BasicColours)
{
    EXPECT_EQ(ColorName(QStringLiteral("#FFFFFF"), false), QStringLiteral("white"));
    EXPECT_EQ(ColorName(QStringLiteral("#fff"), true), QStringLiteral("белый"));
    EXPECT_EQ(ColorName(QStringLiteral("#000"), false), QStringLiteral("black"));
    EXPECT_EQ(ColorName(QStringLiteral("#f00"), false), QStringLiteral("red"));
    EXPECT_EQ(ColorName(QStringLiteral("#00FF00"), true), QStringLiteral("зеленый"));
    EXPECT_EQ(ColorName(QStringLiteral("#FF00FF"), false), QStringLiteral("magenta"));
    EXPECT_EQ(ColorName(QStringLiteral("#0FF"), true), QStringLiteral("цианистый"));
}

TEST(ColourNotationName, GreysAsShareOfBlack)
{
    EXPECT_EQ(ColorName(QStringLiteral("#808080"), false), QStringLiteral("50 % black"));
    EXPECT_EQ(ColorName(QStringLiteral("#808080"), true), QStringLiteral("50 % черного"));
    EXPECT_EQ(ColorName(QStringLiteral("#010101"), false), QStringLiteral("99 % black"));
    EXPECT_EQ(ColorName(QStringLiteral("#FEFEFE"), false), QStringLiteral("1 % black"));
    EXPECT_EQ(ColorName(QStringLiteral("#C0C0C0"), false), QStringLiteral("25 % black")); // 75.3
}

TEST(ColourNotationName, OtherColoursAndBadTextHaveNoName)
{
    EXPECT_EQ(ColorName(QStringLiteral("#123456"), false), QString());
    EXPECT_EQ(ColorName(QStringLiteral("#808081"), true), QString());
    EXPECT_EQ(ColorName(QStringLiteral("white"), false), QString());
}

// ---- Hue, saturation, lightness ------------------------------------------

static void ExpectHsl(TColor c, int h, int s, int l)
{
    const HslColor hsl = ColorToHSL(c);
    EXPECT_EQ(hsl.hue, h) << std::hex << c;
    EXPECT_EQ(hsl.saturation, s) << std::hex << c;
    EXPECT_EQ(hsl.lightness, l) << std::hex << c;
}

TEST(ColourNotationHsl, PrimaryAndMixedColours)
{
    ExpectHsl(Rgb(255, 0, 0), 0, 100, 100);
    ExpectHsl(Rgb(0, 255, 0), 120, 100, 100);
    ExpectHsl(Rgb(0, 0, 255), 240, 100, 100);
    ExpectHsl(Rgb(255, 255, 0), 60, 100, 100);  // red and green both maximal: red wins
    ExpectHsl(Rgb(255, 0, 255), 300, 100, 100); // negative hue wraps
    ExpectHsl(Rgb(255, 0, 1), 360, 100, 100);   // 359.76
    ExpectHsl(Rgb(100, 50, 0), 30, 100, 39);    // lightness 39.2
}

TEST(ColourNotationHsl, GreysHaveHue300)
{
    ExpectHsl(Rgb(0, 0, 0), 300, 0, 0);
    ExpectHsl(Rgb(128, 128, 128), 300, 0, 50); // 50.176
    ExpectHsl(Rgb(255, 255, 255), 300, 0, 100);
    ExpectHsl(SystemColor(15), 40, 6, 83); // button face 212, 208, 200
}

TEST(ColourNotationHsl, TiesRoundToEven)
{
    ExpectHsl(Rgb(120, 1, 0), 0, 100, 47); // hue 0.5
    ExpectHsl(Rgb(120, 3, 0), 2, 100, 47); // hue 1.5
    ExpectHsl(Rgb(238, 213, 213), 0, 10, 93); // saturation 10.5
    ExpectHsl(Rgb(34, 9, 9), 0, 74, 13);      // saturation 73.5
}

// ---- Identifiers and "$" notation -----------------------------------------

TEST(ColourNotationText, ColourToText)
{
    EXPECT_EQ(ColorToText(Rgb(255, 0, 0), true), QStringLiteral("clRed"));
    EXPECT_EQ(ColorToText(0xC0C0C0, true), QStringLiteral("clSilver"));
    EXPECT_EQ(ColorToText(0x808080, true), QStringLiteral("clGray"));
    EXPECT_EQ(ColorToText(NoColor, true), QStringLiteral("clNone"));
    EXPECT_EQ(ColorToText(DefaultColor, true), QStringLiteral("clDefault"));
    EXPECT_EQ(ColorToText(SystemColor(15), true), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToText(SystemColor(30), true), QStringLiteral("clMenuBar"));
    EXPECT_EQ(ColorToText(SystemColor(25), true), QStringLiteral("$80000019"));
    EXPECT_EQ(ColorToText(0xFF, false), QStringLiteral("$000000FF"));
    EXPECT_EQ(ColorToText(SystemColor(5), false), QStringLiteral("$80000005"));
}

TEST(ColourNotationText, TextToColour)
{
    bool ok = false;
    EXPECT_EQ(TextToColor(QStringLiteral("$00EAEEE8"), &ok), 0x00EAEEE8);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ColorToWeb(TextToColor(QStringLiteral("$00EAEEE8")), false), QStringLiteral("#E8EEEA"));
    EXPECT_EQ(TextToColor(QStringLiteral("CLBTNFACE"), &ok), SystemColor(15));
    EXPECT_TRUE(ok);
    EXPECT_EQ(TextToColor(QStringLiteral(" clLtGray "), &ok), 0xC0C0C0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TextToColor(QStringLiteral("cl3DDkShadow"), &ok), SystemColor(21));
    EXPECT_TRUE(ok);
}

TEST(ColourNotationText, UnreadableText)
{
    for (const QString& t : {QString(), QStringLiteral("$"), QStringLiteral("$123456789"), QStringLiteral("$00GG00"),
                             QStringLiteral("$-1"), QStringLiteral("clPurpl"), QStringLiteral("00EAEEE8"),
                             QStringLiteral("#E8EEEA")}) {
        bool ok = true;
        EXPECT_EQ(TextToColor(t, &ok), NoColor) << t.toStdString();
        EXPECT_FALSE(ok) << t.toStdString();
    }
    EXPECT_EQ(TextToColor(QStringLiteral("junk")), NoColor); // no flag wanted
}

TEST(ColourNotationText, RoundTrip)
{
    for (TColor c : {0, 0x00EAEEE8, 0xFFFFFF, 0x123456, NoColor, DefaultColor, SystemColor(0), SystemColor(25),
                     SystemColor(29), 0xC0C0C0, static_cast<TColor>(0xFFFFFFFF)}) {
        for (bool ident : {false, true}) {
            bool ok = false;
            EXPECT_EQ(TextToColor(ColorToText(c, ident), &ok), c) << std::hex << c;
            EXPECT_TRUE(ok);
        }
    }
}
