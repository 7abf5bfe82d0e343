#include "tools/FontStyle.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using Set = std::function<void(FontStyleControls&)>;

FontStyleControls with(bool shortNotation, const Set& set)
{
    FontStyleControls c;
    c.shortNotation = shortNotation;
    set(c);
    return c;
}

void boldSizeLineArial(FontStyleControls& c)
{
    c.bold = true;
    c.fontSizeOn = true;
    c.lineHeightOn = true;
    c.fontName = QStringLiteral("Arial");
}

struct StyleRow {
    const char* what;
    bool shortNotation;
    Set set;
    const char* style;
};

TEST(FontStyle, StyleTextFromTheControls)
{
    const StyleRow rows[] = {
        {"nothing chosen", true, [](FontStyleControls&) {}, ""},
        {"nothing chosen, long", false, [](FontStyleControls&) {}, ""},
        {"shorthand even for bold alone", true, [](FontStyleControls& c) { c.bold = true; }, "font:bold;"},
        {"bold, long", false, [](FontStyleControls& c) { c.bold = true; }, "font-weight:bold;"},
        {"worked example, short", true, boldSizeLineArial, "font:bold 13px/18px Arial;"},
        {"worked example, long", false, boldSizeLineArial,
         "font-weight:bold;font-size:13px;line-height:18px;font-family:Arial;"},
        {"decoration, short", true, [](FontStyleControls& c) { c.underline = c.overline = true; },
         "text-decoration:underline overline;"},
        {"decoration, long", false, [](FontStyleControls& c) { c.underline = c.overline = true; },
         "text-decoration:underline overline;"},
        {"line height without size: separate pieces after the family", true,
         [](FontStyleControls& c) {
             c.lineHeightOn = true;
             c.fontName = QStringLiteral("Arial");
             c.italic = true;
         },
         "font:italic;font-family:Arial;line-height:18px;"},
        {"family without size stays apart", true, [](FontStyleControls& c) { c.fontName = QStringLiteral("Times New Roman"); },
         "font-family:Times New Roman;"},
        {"white, short", true,
         [](FontStyleControls& c) {
             c.colourOn = true;
             c.colour = 0xFFFFFF;
         },
         "color:#FFF;"},
        {"white, long", false,
         [](FontStyleControls& c) {
             c.colourOn = true;
             c.colour = 0xFFFFFF;
         },
         "color:#FFFFFF;"},
        {"colour in red, green, blue order", true,
         [](FontStyleControls& c) {
             c.colourOn = true;
             c.colour = 0x123456;
         },
         "color:#563412;"},
        {"background, short", true,
         [](FontStyleControls& c) {
             c.backgroundOn = true;
             c.background = 0x00CCFF;
         },
         "background:#FC0;"},
        {"background, long", false,
         [](FontStyleControls& c) {
             c.backgroundOn = true;
             c.background = 0x00CCFF;
         },
         "background-color:#FFCC00;"},
        {"every piece in its order, long", false,
         [](FontStyleControls& c) {
             c.noWrap = c.lowercase = c.uppercase = true; // the first checked transform counts
             c.backgroundOn = c.colourOn = true;
             c.colour = 0;
             c.wordSpacingOn = true;
             c.wordSpacing = QStringLiteral("3");
             c.letterSpacingOn = true;
             c.letterSpacing = QStringLiteral("2");
             c.letterSpacingUnit = QStringLiteral("px");
             c.lineThrough = c.underline = true;
             c.smallCaps = c.italic = true;
             c.fontName = QStringLiteral("Verdana");
         },
         "font-style:italic;font-variant:small-caps;text-decoration:underline line-through;font-family:Verdana;"
         "letter-spacing:2px;word-spacing:3;color:#000000;background-color:#FFFFFF;white-space:nowrap;"
         "text-transform:uppercase;"},
        {"every piece in its order, short", true,
         [](FontStyleControls& c) {
             c.capitalize = c.lowercase = true;
             c.colourOn = true;
             c.colour = 0;
             c.overline = true;
             c.smallCaps = c.bold = c.italic = true;
             c.fontSizeOn = true;
             c.fontSize = QStringLiteral("2");
             c.fontSizeUnit = QStringLiteral("em");
             c.fontName = QStringLiteral("Verdana");
         },
         "font:bold italic small-caps 2em Verdana;text-decoration:overline;color:#000;text-transform:capitalize;"},
        {"a number that is not one counts as 0; the line height is taken as typed", true,
         [](FontStyleControls& c) {
             c.fontSizeOn = c.lineHeightOn = c.letterSpacingOn = true;
             c.fontSize = QStringLiteral("abc");
             c.lineHeight = QStringLiteral("1.5");
             c.lineHeightUnit = QStringLiteral("em");
             c.letterSpacing = QString();
         },
         "font:0px/1.5em;letter-spacing:0;"},
        {"blank and default names give no family", false,
         [](FontStyleControls& c) {
             c.fontName = QStringLiteral("   ");
             c.parentFont = QStringLiteral("Courier");
         },
         ""},
        {"a typed name is the user's text, quotes and all", false,
         [](FontStyleControls& c) { c.fontName = QStringLiteral("a'><script>x()</script>"); },
         "font-family:a'><script>x()</script>;"},
        {"every colon and blank closes up", false, [](FontStyleControls& c) { c.fontName = QStringLiteral("A: B"); },
         "font-family:A:B;"},
    };
    for (const StyleRow& r : rows)
        EXPECT_EQ(BuildFontStyle(with(r.shortNotation, r.set)).style, QString::fromUtf8(r.style)) << r.what;
}

TEST(FontStyle, ParentFontOnlyForTheSampleAndOnlyWithoutAFamily)
{
    const struct {
        const char* name;
        const char* parent;
        const char* previewFamily;
    } rows[] = {
        {"По умолчанию", "Courier", "font-family:Courier;"},
        {"", "Courier", "font-family:Courier;"},
        {"Arial", "Courier", ""},
        {"По умолчанию", " ", ""},
        {"По умолчанию", "По умолчанию", ""},
    };
    for (const auto& r : rows) {
        FontStyleControls c;
        c.fontName = QString::fromUtf8(r.name);
        c.parentFont = QString::fromUtf8(r.parent);
        EXPECT_EQ(BuildFontStyle(c).previewFamily, QString::fromUtf8(r.previewFamily)) << r.name << " / " << r.parent;
    }
}

TEST(FontStyle, WhatOkProduces)
{
    const QString style = QStringLiteral("font:bold;");
    const struct {
        FontOutput output;
        const char* currentClass;
        const char* inner;
        const char* result;
    } rows[] = {
        {FontOutput::ToStyle, "menu", "sel", "font:bold;"},
        {FontOutput::NewStyle, "menu", "sel", "style='font:bold;'"},
        {FontOutput::NewFont, "", "слово", "<font style='font:bold;'>слово</font>"},
        {FontOutput::NewFont, "menu", "", "<font class=menu style='font:bold;'></font>"},
        {FontOutput::NewDiv, "", "", "<div style='font:bold;'></div>"},
        {FontOutput::NewDiv, "menu", "a\r\nb", "<div class=menu style='font:bold;'>a\r\nb</div>"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(FontResult(r.output, style, QString::fromUtf8(r.currentClass), QString::fromUtf8(r.inner)),
                  QString::fromUtf8(r.result))
            << r.result;
    EXPECT_EQ(FontResult(FontOutput::NewStyle, QString(), QString(), QString()), QStringLiteral("style=''"));
}

TEST(FontStyle, SampleAndLabel)
{
    FontStyle s{QStringLiteral("font:bold;"), QStringLiteral("font-family:Courier;")};
    const QString links = QStringLiteral("<link rel=stylesheet type=\"text/css\" href=file:///s/a.css>\r\n");
    EXPECT_EQ(FontSamplePage(links, QStringLiteral("menu"), s),
              QStringLiteral("<HTML><HEAD><meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'none'\">") + links
                  + QStringLiteral("</HEAD><BODY><font class=menu style='font:bold;font-family:Courier;'>"
                                   "Пример строки - таким будет текст<br>0123456789<br>Несколько строк для проверки. "
                                   "Несколько строк для проверки. Несколько строк для проверки. Несколько строк для "
                                   "проверки. Несколько строк для проверки. </font></BODY></HTML>"));
    EXPECT_TRUE(FontSamplePage(QString(), QString(), s).contains(QStringLiteral("<BODY><font style='font:bold;")));

    EXPECT_EQ(FontStyleLabel(QStringLiteral("menu"), s.style), QStringLiteral(" class=menu  style= { font:bold; } "));
    EXPECT_EQ(FontStyleLabel(QString(), QString()), QStringLiteral("  style= {  } "));
}

TEST(FontStyle, TypedMarkupCannotLeaveTheSampleAttribute)
{
    FontStyleControls c;
    c.fontName = QStringLiteral("x'><script>alert(1)</script>\"&");
    const FontStyle s = BuildFontStyle(c);
    const QString page = FontSamplePage(QString(), QString(), s);
    EXPECT_FALSE(page.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_TRUE(page.contains(QStringLiteral("style='font-family:x&#39;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&quot;&amp;;'>")));
    EXPECT_EQ(page.count(u'\''), 2 + 2); // the attribute's own quotes and those of 'none'
}

TEST(FontStyle, LinkBlockForTheDocumentsStyleSheets)
{
    const QString text = QStringLiteral("<link href=css/Main.CSS><img src=pic.png><link href=\"my sheets\\b.css\">"
                                        "<link href=../up.css><link href=css/Main.CSS>");
    const struct {
        const char* file;
        const char* block;
    } rows[] = {
        {"/home/u/site/page.html",
         "<link rel=stylesheet type=\"text/css\" href=file:///home/u/site/css/Main.CSS>\r\n"
         "<link rel=stylesheet type=\"text/css\" href=file:///home/u/site/my%20sheets/b.css>\r\n"
         "<link rel=stylesheet type=\"text/css\" href=file:///home/u/site/../up.css>\r\n"},
        {"C:\\My Site\\page.html",
         "<link rel=stylesheet type=\"text/css\" href=file:///C:/My%20Site/css/Main.CSS>\r\n"
         "<link rel=stylesheet type=\"text/css\" href=file:///C:/My%20Site/my%20sheets/b.css>\r\n"
         "<link rel=stylesheet type=\"text/css\" href=file:///C:/My%20Site/../up.css>\r\n"},
        // A folder name that would end the tag or the address stays inside the address.
        {"/t/a>b'c%#/p.html",
         "<link rel=stylesheet type=\"text/css\" href=file:///t/a%3Eb%27c%25%23/css/Main.CSS>\r\n"
         "<link rel=stylesheet type=\"text/css\" href=file:///t/a%3Eb%27c%25%23/my%20sheets/b.css>\r\n"
         "<link rel=stylesheet type=\"text/css\" href=file:///t/a%3Eb%27c%25%23/../up.css>\r\n"},
        {"page.html", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(FontLinkBlock(QString::fromUtf8(r.file), text), QString::fromUtf8(r.block)) << r.file;
    EXPECT_EQ(FontLinkBlock(QStringLiteral("/s/p.html"), QStringLiteral("<img src=a.png>")), QString());
}

} // namespace

namespace {

TEST(FontStyle, FontListsHoldFamiliesAPageCanName)
{
    const struct {
        const char* why;
        QStringList installed;
        QStringList lists;
    } rows[] = {
        {"foundries dropped, each family once",
         {"C059 [urw]", "DejaVu Sans", "Nimbus Sans [urw]", "Nimbus Sans [UKWN]", "Nimbus Sans Narrow [urw]"},
         {"C059", "DejaVu Sans", "Nimbus Sans", "Nimbus Sans Narrow"}},
        {"sorted again once the suffix is gone, case aside",
         {"Nimbus Sans Narrow", "Nimbus Sans [urw]", "arial", "Arimo"},
         {"arial", "Arimo", "Nimbus Sans", "Nimbus Sans Narrow"}},
        {"the first spelling of a family that differs in case",
         {"Noto Sans [GOOG]", "noto sans [monotype]", "Z"},
         {"Noto Sans", "Z"}},
        {"brackets inside a name stay", {"Font [x] Two", "[urw]"}, {"Font [x] Two"}},
        {"nothing installed", {}, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PageFontFamilies(row.installed), row.lists) << row.why;
}

} // namespace
