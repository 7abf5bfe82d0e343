#include "editor/Completion.h"
#include "html/TagChecker.h"

#include <gtest/gtest.h>
#include <QSet>

namespace {

TEST(CompletionTables, ParseWithoutFaultsAndHoldEnough)
{
    const CompletionTables& t = CompletionData();
    EXPECT_TRUE(t.faults.isEmpty()) << t.faults.join(u'\n').toStdString();
    EXPECT_GE(t.properties.size(), 250u);
    EXPECT_GE(t.references.size(), 250u);
    EXPECT_GE(t.global.attributes.size(), 50u);
    for (const char* p : {"display", "grid-template-columns", "flex-direction", "gap", "justify-content"})
        EXPECT_NE(t.property(QString::fromLatin1(p)), nullptr) << p;
}

TEST(CompletionTables, ParserReportsBrokenLinesAndDuplicates)
{
    const CompletionTables t = ParseCompletionTables(
        QStringLiteral("a | Ссылка\n  href | Адрес\n  href | Снова\n  target = | Пусто\nb\na | Дважды\n"),
        QStringLiteral("color | Цвет\ncolor | Снова\ndisplay = block block | Вид\n"),
        QStringLiteral("amp 26 | Амперсанд\namp 26 | Снова\nlt zz | Плохой код\n"));
    EXPECT_EQ(t.faults.size(), 8) << t.faults.join(u'\n').toStdString();
}

// The list offers the checker's HTML5 names less the ones it marks obsolete.
TEST(CompletionTables, ElementsAgreeWithTheTagChecker)
{
    const CompletionTables& t = CompletionData();
    QSet<QString> offered, obsolete, checker;
    for (const HtmlElementFact& e : t.elements)
        offered.insert(e.name.toUpper());
    for (const QString& n : t.obsolete)
        obsolete.insert(n.toUpper());
    for (const QString& n : Html5TagNames())
        checker.insert(n);
    EXPECT_TRUE((offered & obsolete).isEmpty());
    EXPECT_EQ(offered | obsolete, checker);
}

struct ContextCase {
    const char* text; // "|" marks the caret
    ColouringKind kind;
    CompletionKind expected;
    const char* prefix;
    const char* detail; // element, attribute or property, as the kind needs
};

TEST(CompletionContext, ByPlaceInThePage)
{
    const ContextCase cases[] = {
        {"<p>text <|", ColouringKind::Html, CompletionKind::Element, "", ""},
        {"<se|", ColouringKind::Html, CompletionKind::Element, "se", ""},
        {"</di|", ColouringKind::Html, CompletionKind::None, "", ""},
        {"<a |", ColouringKind::Html, CompletionKind::Attribute, "", "a"},
        {"<img src=\"x.png\" al|", ColouringKind::Html, CompletionKind::Attribute, "al", "img"},
        {"<input\r\n  typ|", ColouringKind::Html, CompletionKind::Attribute, "typ", "input"},
        {"<input type=\"|", ColouringKind::Html, CompletionKind::AttributeValue, "", "type"},
        {"<a target='_b|", ColouringKind::Html, CompletionKind::AttributeValue, "_b", "target"},
        {"<p title=\"|", ColouringKind::Html, CompletionKind::None, "", ""},
        {"<div class=\"big sm|", ColouringKind::Html, CompletionKind::ClassName, "sm", "class"},
        {"<img src=\"pics/|", ColouringKind::Html, CompletionKind::Path, "pics/", "src"},
        {"<a href='|", ColouringKind::Html, CompletionKind::Path, "", "href"},
        {"Tom &amp; J&nb|", ColouringKind::Html, CompletionKind::Entity, "nb", ""},
        {"<!-- <di|", ColouringKind::Html, CompletionKind::None, "", ""},
        {"<script>if (a <b|", ColouringKind::Html, CompletionKind::None, "", ""},
        {"<style>\r\np { col|", ColouringKind::Html, CompletionKind::CssProperty, "col", ""},
        {"<style>\r\np { color: red; |", ColouringKind::Html, CompletionKind::CssProperty, "", ""},
        {"<style>\r\np {\r\n display:\r\n  fl|", ColouringKind::Html, CompletionKind::CssValue, "fl", "display"},
        {"<style>\r\np.x|", ColouringKind::Html, CompletionKind::None, "", ""},
        {"<style>/* p { co|", ColouringKind::Html, CompletionKind::None, "", ""},
        {"<p style=\"|", ColouringKind::Html, CompletionKind::CssProperty, "", ""},
        {"<p style=\"margin: 0; text-align: ce|", ColouringKind::Html, CompletionKind::CssValue, "ce", "text-align"},
        {"a { width: calc(1px + var(--g|", ColouringKind::Css, CompletionKind::CssValue, "--g", "width"},
        {".x { --gap|", ColouringKind::Css, CompletionKind::CssProperty, "--gap", ""},
        {"<p>", ColouringKind::Plain, CompletionKind::None, "", ""},
        {"a = b <|", ColouringKind::Js, CompletionKind::None, "", ""},
    };
    for (const ContextCase& c : cases) {
        QString text = QString::fromUtf8(c.text);
        const int caret = int(text.indexOf(u'|'));
        text.remove(caret, 1);
        const CompletionContext got = CompletionContextAt(text, caret < 0 ? int(text.size()) : caret, c.kind,
                                                          InitialColouringState(c.kind));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(int(got.kind), int(c.expected));
        if (c.expected == CompletionKind::None)
            continue;
        EXPECT_EQ(got.prefix, QString::fromUtf8(c.prefix));
        const QString detail = QString::fromUtf8(c.detail);
        const bool byAttribute = c.expected == CompletionKind::AttributeValue || c.expected == CompletionKind::ClassName
            || c.expected == CompletionKind::Path;
        const QString& gotDetail = c.expected == CompletionKind::Attribute ? got.element
            : byAttribute                                                  ? got.attribute
            : c.expected == CompletionKind::CssValue                       ? got.property
                                                                           : detail;
        EXPECT_EQ(gotDetail, detail);
    }
}

CompletionContext context(CompletionKind kind, const char* prefix, const char* element = "", const char* attribute = "",
                          const char* property = "")
{
    return {kind, QString::fromLatin1(element), QString::fromLatin1(attribute), QString::fromLatin1(property),
            QString::fromLatin1(prefix)};
}

// The first item: its label, what acceptance writes and where the caret goes.
TEST(CompletionItems, FirstItemAndItsInsertion)
{
    CompletionExtras extras;
    extras.classNames = {QStringLiteral("menu"), QStringLiteral("main-title")};
    extras.files = {QStringLiteral("index.html"), QStringLiteral("pics/logo.png")};
    extras.customProperties = {QStringLiteral("--gap")};
    CompletionExtras apostrophes = extras;
    apostrophes.quote = u'\'';
    struct Case {
        CompletionContext context;
        const CompletionExtras* extras;
        const char* label;
        const char* insert;
        int caret;
    } cases[] = {
        {context(CompletionKind::Element, "sec"), &extras, "section", "section", 7},
        {context(CompletionKind::Attribute, "hr", "a"), &extras, "href", "href=\"\"", 6},
        {context(CompletionKind::Attribute, "hr", "a"), &apostrophes, "href", "href=''", 6},
        {context(CompletionKind::Attribute, "onch", "div"), &extras, "onchange", "onchange=\"\"", 10},
        {context(CompletionKind::AttributeValue, "che", "input", "type"), &extras, "checkbox", "checkbox", 8},
        {context(CompletionKind::CssProperty, "grid-template-c"), &extras, "grid-template-columns", "grid-template-columns:", 22},
        {context(CompletionKind::CssProperty, "--"), &extras, "--gap", "--gap:", 6},
        {context(CompletionKind::CssValue, "inline-f", "", "", "display"), &extras, "inline-flex", "inline-flex;", 12},
        {context(CompletionKind::CssValue, "repeat", "", "", "grid-template-rows"), &extras, "repeat()", "repeat();", 7},
        {context(CompletionKind::CssValue, "var(--", "", "", "margin"), &extras, "var(--gap)", "var(--gap);", 11},
        {context(CompletionKind::CssValue, "--", "", "", "margin"), &extras, "--gap", "--gap", 5},
        {context(CompletionKind::Entity, "nbs"), &extras, "nbsp", "nbsp;", 5},
        {context(CompletionKind::ClassName, "ti", "div", "class"), &extras, "main-title", "main-title", 10},
        {context(CompletionKind::Path, "pics/", "img", "src"), &extras, "pics/logo.png", "pics/logo.png", 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto items = CompletionItems(c.context, *c.extras);
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(items[0].label, QString::fromLatin1(c.label));
        EXPECT_EQ(items[0].insert, QString::fromLatin1(c.insert));
        EXPECT_EQ(items[0].caret, c.caret);
        EXPECT_FALSE(items[0].hint.isEmpty());
    }
}

TEST(CompletionItems, PrefixMatchesComeBeforeSubstringMatchesIgnoringCase)
{
    const auto items = CompletionItems(context(CompletionKind::Element, "SE"), {});
    QStringList labels;
    for (const CompletionItem& i : items)
        labels << i.label;
    const auto firstOther = std::find_if(labels.begin(), labels.end(), [](const QString& l) { return !l.startsWith(u"se"); });
    EXPECT_EQ(QStringList(labels.begin(), firstOther),
              (QStringList{QStringLiteral("search"), QStringLiteral("section"), QStringLiteral("select"),
                           QStringLiteral("selectedcontent")}));
    EXPECT_TRUE(labels.contains(QStringLiteral("fieldset")));
    EXPECT_FALSE(labels.contains(QStringLiteral("div")));
    // An element's own attributes come before the global ones, each once.
    const auto attrs = CompletionItems(context(CompletionKind::Attribute, "", "img"), {});
    ASSERT_FALSE(attrs.empty());
    EXPECT_EQ(attrs[0].label, QStringLiteral("src"));
    QSet<QString> seen;
    for (const CompletionItem& i : attrs) {
        EXPECT_FALSE(seen.contains(i.label)) << i.label.toStdString();
        seen.insert(i.label);
    }
}

TEST(CompletionItems, CustomPropertyNamesAreFoundOnce)
{
    EXPECT_EQ(CustomPropertyNames(u":root { --main-color: red; --gap :4px }\n.a { margin: var(--gap); --main-color: blue }"),
              (QStringList{QStringLiteral("--main-color"), QStringLiteral("--gap")}));
}

TEST(CompletionItems, OpenersByContext)
{
    EXPECT_TRUE(CompletionOpener(u'<', context(CompletionKind::Element, "")));
    EXPECT_FALSE(CompletionOpener(u'e', context(CompletionKind::Element, "se")));
    EXPECT_TRUE(CompletionOpener(u' ', context(CompletionKind::Attribute, "", "a")));
    EXPECT_TRUE(CompletionOpener(u'"', context(CompletionKind::ClassName, "", "p", "class")));
    EXPECT_TRUE(CompletionOpener(u':', context(CompletionKind::CssValue, "", "", "", "color")));
    EXPECT_TRUE(CompletionOpener(u'&', context(CompletionKind::Entity, "")));
    EXPECT_FALSE(CompletionOpener(u' ', context(CompletionKind::CssProperty, "")));
}

} // namespace
