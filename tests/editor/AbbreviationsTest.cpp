#include "editor/Abbreviations.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// "|" in the expected text marks the caret; lines end in CR LF.
struct Case {
    const char* abbreviation;
    const char* expected;
};

void ExpectExpansions(const std::vector<Case>& cases, AbbreviationContext context, const QString& indent = QString())
{
    for (const Case& c : cases) {
        const AbbreviationExpansion e = ExpandAbbreviation(S(c.abbreviation), context, indent);
        ASSERT_TRUE(e.ok()) << c.abbreviation << ": " << e.error.toStdString();
        QString got = e.text;
        got.insert(e.caret, u'|');
        EXPECT_EQ(got, S(c.expected).replace(QStringLiteral("\n"), QStringLiteral("\r\n"))) << c.abbreviation;
    }
}

TEST(Abbreviations, HtmlExpansions)
{
    ExpectExpansions({
        // The four that must come out exactly.
        {"ul>li.item$*3", "<ul>\n\t<li class=\"item1\">|</li>\n\t<li class=\"item2\"></li>\n\t<li class=\"item3\"></li>\n</ul>"},
        {"a[href=#]{Далее}", "<a href=\"#\">Далее</a>|"},
        {"div#top.a.b", "<div id=\"top\" class=\"a b\">|</div>"},
        {"p*2>span", "<p><span>|</span></p>\n<p><span></span></p>"},
        // Numbering forms.
        {"i.n$$*2", "<i class=\"n01\">|</i><i class=\"n02\"></i>"},
        {"b.n$@-*3", "<b class=\"n3\">|</b><b class=\"n2\"></b><b class=\"n1\"></b>"},
        {"b.n$@3*2", "<b class=\"n3\">|</b><b class=\"n4\"></b>"},
        {"b{$@-5}*2", "<b>6</b><b>5</b>|"},
        {"h$*2", "<h1>|</h1>\n<h2></h2>"},
        // Climb-up and groups.
        {"div>p^hr", "<div>\n\t<p>|</p>\n</div>\n<hr>"},
        {"div>div>p^^em", "<div>\n\t<div>\n\t\t<p>|</p>\n\t</div>\n</div>\n<em></em>"},
        {"(dt+dd)*2", "<dt>|</dt>\n<dd></dd>\n<dt></dt>\n<dd></dd>"},
        {"p>(b+i)*2", "<p><b>|</b><i></i><b></b><i></i></p>"},
        // Implicit names.
        {"ul>.x", "<ul>\n\t<li class=\"x\">|</li>\n</ul>"},
        {"table>.r>.c", "<table>\n\t<tr class=\"r\">\n\t\t<td class=\"c\">|</td>\n\t</tr>\n</table>"},
        {"select>.o", "<select>\n\t<option class=\"o\">|</option>\n</select>"},
        {"em>.x", "<em><span class=\"x\">|</span></em>"},
        {".x", "<div class=\"x\">|</div>"},
        // Attributes with and without values and quotes; the element's own first.
        {"img[alt=\"два слова\" title='t']", "<img src=\"|\" alt=\"два слова\" title=\"t\">"},
        {"input[disabled]", "<input type=\"text\" disabled=\"|\">"},
        {"td[colspan=2 x=a\"b]", "<td colspan=\"2\" x=\"a&quot;b\">|</td>"},
        {"p{}", "<p>|</p>"},
        {"div{Текст}>p", "<div>\n\tТекст\n\t<p>|</p>\n</div>"},
        {"br+br", "<br><br>|"},
    }, AbbreviationContext::Html);
}

TEST(Abbreviations, IndentOfTheLineGoesOnEveryNewLine)
{
    ExpectExpansions({{"ul>li*2", "<ul>\n\t\t<li>|</li>\n\t\t<li></li>\n\t</ul>"}}, AbbreviationContext::Html, QStringLiteral("\t"));
    const AbbreviationExpansion lf = ExpandAbbreviation(u"div+p", AbbreviationContext::Html, u"", u"\n");
    EXPECT_EQ(lf.text, QStringLiteral("<div></div>\n<p></p>"));
}

TEST(Abbreviations, SkeletonAndPlaceholderText)
{
    const AbbreviationExpansion page = ExpandAbbreviation(u"!", AbbreviationContext::Html, u"");
    ASSERT_TRUE(page.ok());
    EXPECT_TRUE(page.text.startsWith(QStringLiteral("<!DOCTYPE html>\r\n<html lang=\"ru\">\r\n<head>\r\n\t<meta charset=\"utf-8\">")));
    EXPECT_TRUE(page.text.contains(QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">")));
    EXPECT_EQ(page.text.mid(page.caret - 9, 13), QStringLiteral("<body>\r\n\t\r\n</"));
    EXPECT_TRUE(page.text.endsWith(QStringLiteral("</body>\r\n</html>")));

    const struct {
        const char* abbreviation;
        int words;
        bool russian;
    } counts[] = {{"lorem", 30, false}, {"lorem5", 5, false}, {"ryba10", 10, true}, {"p>ryba3", 3, true}, {"lorem100", 100, false}};
    for (const auto& c : counts) {
        QString text = ExpandAbbreviation(S(c.abbreviation), AbbreviationContext::Html, u"").text;
        text.remove(QStringLiteral("<p>")).remove(QStringLiteral("</p>"));
        ASSERT_TRUE(text.endsWith(u'.')) << c.abbreviation;
        EXPECT_EQ(text.split(u' ').size(), c.words) << c.abbreviation;
        EXPECT_TRUE(text.at(0).isUpper());
        EXPECT_EQ(text.at(0).script() == QChar::Script_Cyrillic, c.russian) << c.abbreviation;
    }
}

TEST(Abbreviations, CssTable)
{
    ExpectExpansions({
        {"m10-20", "margin:10px 20px;|"},
        {"w100p", "width:100%;|"},
        {"db", "display:block;|"},
        {"m-10", "margin:-10px;|"},
        {"m10--5", "margin:10px -5px;|"},
        {"p0", "padding:0;|"},
        {"fz1.5e", "font-size:1.5em;|"},
        {"h2r", "height:2rem;|"},
        {"zi10", "z-index:10;|"},
        {"lh1.4", "line-height:1.4;|"},
        {"c#FA0", "color:#fa0;|"},
        {"c", "color:#000;|"},
        {"w", "width:|;"},
        {"posa", "position:absolute;|"},
        {"tac", "text-align:center;|"},
    }, AbbreviationContext::Css);
}

TEST(Abbreviations, FaultsExpandToNothingWithAReason)
{
    const struct {
        const char* abbreviation;
        AbbreviationContext context;
        const char* reason;
    } cases[] = {
        {"", AbbreviationContext::Html, "оно пустое"},
        {"div>(p", AbbreviationContext::Html, "не закрыта скобка \"(\" в позиции 5"},
        {"p)", AbbreviationContext::Html, "лишний символ \")\" в позиции 2"},
        {"a[href=x", AbbreviationContext::Html, "не закрыта скобка \"[\""},
        {"p{text", AbbreviationContext::Html, "не закрыта скобка \"{\""},
        {"div>", AbbreviationContext::Html, "оборвано"},
        {"li*", AbbreviationContext::Html, "после \"*\" нет числа"},
        {"li*0", AbbreviationContext::Html, "умножение на ноль"},
        {"li*1001", AbbreviationContext::Html, "больше 1 000 элементов"},
        {"(ul>li*10)*101", AbbreviationContext::Html, "больше 1 000 элементов"},
        {"(((a*100)*100)*100)*99999999999", AbbreviationContext::Html, "больше 1 000 элементов"},
        {"lorem5000", AbbreviationContext::Html, "больше 1000 слов"},
        {"div+!", AbbreviationContext::Html, "\"!\""},
        {"xyz10", AbbreviationContext::Css, "\"xyz10\" не сокращение CSS"},
        {"db5", AbbreviationContext::Css, "не бывает значений"},
        {"m10-", AbbreviationContext::Css, "после \"-\" нет значения"},
        {"c#12", AbbreviationContext::Css, "не код цвета"},
        {"p", AbbreviationContext::None, "не раскрываются"},
    };
    for (const auto& c : cases) {
        const AbbreviationExpansion e = ExpandAbbreviation(S(c.abbreviation), c.context, u"");
        EXPECT_TRUE(e.text.isEmpty()) << c.abbreviation;
        EXPECT_TRUE(e.error.startsWith(S("Сокращение не раскрыто: "))) << c.abbreviation;
        EXPECT_TRUE(e.error.contains(S(c.reason))) << c.abbreviation << ": " << e.error.toStdString();
    }
    // A thousand is still fine.
    EXPECT_TRUE(ExpandAbbreviation(u"(i*10)*100", AbbreviationContext::Html, u"").ok());
}

TEST(Abbreviations, ExtentBeforeTheCaret)
{
    const struct {
        const char* line; // "|" is the caret
        AbbreviationContext context;
        const char* abbreviation;
    } cases[] = {
        {"ul>li.item$*3|", AbbreviationContext::Html, "ul>li.item$*3"},
        {"\tтекст p*2>span| дальше", AbbreviationContext::Html, "p*2>span"},
        {"<div>ul>li|", AbbreviationContext::Html, "ul>li"},
        {"<a href=\"x>y\">b|", AbbreviationContext::Html, "b"},
        {"a[title=\"два слова\"]{и текст}|", AbbreviationContext::Html, "a[title=\"два слова\"]{и текст}"},
        {"<p class=\"x|", AbbreviationContext::Html, ""},
        {"слово}|", AbbreviationContext::Html, ""},
        {"|", AbbreviationContext::Html, ""},
        {"  margin:0; m10-20|", AbbreviationContext::Css, "m10-20"},
        {"a{w100p|", AbbreviationContext::Css, "w100p"},
        {"div|", AbbreviationContext::None, ""},
    };
    for (const auto& c : cases) {
        QString line = S(c.line);
        const int caret = int(line.indexOf(u'|'));
        line.remove(caret, 1);
        const int start = AbbreviationStart(line, caret, c.context);
        EXPECT_EQ(line.mid(start, caret - start), S(c.abbreviation)) << c.line;
    }
}

TEST(Abbreviations, WhatTabExpands)
{
    const struct {
        const char* text;
        AbbreviationContext context;
        bool expands;
    } cases[] = {
        {"ul>li", AbbreviationContext::Html, true}, {"div", AbbreviationContext::Html, true},
        {".a", AbbreviationContext::Html, true}, {"!", AbbreviationContext::Html, true},
        {"ryba10", AbbreviationContext::Html, true}, {"hello", AbbreviationContext::Html, false},
        {"1.5", AbbreviationContext::Html, false}, {"db", AbbreviationContext::Css, true},
        {"m10", AbbreviationContext::Css, true}, {"blue", AbbreviationContext::Css, false},
        {"div", AbbreviationContext::None, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAbbreviationForTab(S(c.text), c.context), c.expands) << c.text;
}

TEST(Abbreviations, ContextFromTheColouring)
{
    const int start = InitialColouringState(ColouringKind::Html);
    const struct {
        ColouringKind kind;
        const char* before;
        AbbreviationContext context;
    } cases[] = {
        {ColouringKind::Html, "", AbbreviationContext::Html},
        {ColouringKind::Html, "<p>текст ", AbbreviationContext::Html},
        {ColouringKind::Html, "<p class=\"", AbbreviationContext::None},
        {ColouringKind::Html, "<p ", AbbreviationContext::None},
        {ColouringKind::Html, "<!-- ", AbbreviationContext::None},
        {ColouringKind::Html, "<style>p { ", AbbreviationContext::Css},
        {ColouringKind::Html, "<p style=\"", AbbreviationContext::Css},
        {ColouringKind::Html, "<script>var a = ", AbbreviationContext::None},
        {ColouringKind::Css, "a { ", AbbreviationContext::Css},
        {ColouringKind::Plain, "", AbbreviationContext::None},
    };
    for (const auto& c : cases) {
        const int state = c.kind == ColouringKind::Html ? start : InitialColouringState(c.kind);
        EXPECT_EQ(AbbreviationContextAt(c.kind, state, S(c.before)), c.context) << c.before;
    }
}

} // namespace
