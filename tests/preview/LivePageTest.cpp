// The live preview's own reading of the page text.
#include "preview/LivePage.h"

#include <gtest/gtest.h>

namespace {

TEST(LivePage, TheElementAtTheCaret)
{
    // "|" marks the caret; the answer is name:index, or "" for none.
    const struct {
        const char* text;
        const char* element;
    } cases[] = {
        {"<html><body><p>a|b</p></body></html>", "p:0"},
        {"<p>a</p><p>b|</p>", "p:1"},
        {"<div><p>a</p>|</div>", "div:0"},
        {"<div><p class=\"x|\">a</p></div>", "p:0"},
        {"<div><br>|</div>", "div:0"},                     // a void element closes at once
        {"<div><img src=a.png/>|</div>", "div:0"},
        {"<ul><li>a</li></ul><ul><li>b</li><li>|c</li></ul>", "li:2"},
        {"<style>p { color: red }</style><p>|</p>", "p:0"},
        {"<style>b|</style>", "style:0"},
        {"<script>if (a<b) x = '<p>';</script><p>|</p>", "p:0"}, // no tags in a script
        {"<!-- <p> --><p>|</p>", "p:0"},                    // nor in comments
        {"<!DOCTYPE html><P>|</P>", "p:0"},                  // names in any case
        {"<p>a</p>|", ""},
        {"|<p>a</p>", "p:0"},                               // right before its start tag
        {"<p>a</p>|<b>", "b:0"},
        {"<div><span>a</div>|", ""},                         // an end tag closes what it ends and all inside
        {"<div a='>'>|</div>", "div:0"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.text);
        const int caret = int(text.indexOf(u'|'));
        text.remove(caret, 1);
        const std::optional<PageElement> e = ElementAtCaret(text, caret);
        const QString got = e ? e->name + u':' + QString::number(e->index) : QString();
        EXPECT_EQ(got, QString::fromUtf8(c.element)) << c.text;
        if (e) {
            const std::optional<int> start = StartTagOf(text, *e);
            ASSERT_TRUE(start.has_value()) << c.text;
            EXPECT_EQ(ElementAtCaret(text, *start), e) << c.text; // its start tag is where the element is
        }
    }
    EXPECT_EQ(StartTagOf(u"<p>a</p>", PageElement{QStringLiteral("body"), 0}), std::nullopt);
}

TEST(LivePage, AnEditOfStyleAloneIsTakenWithoutAReload)
{
    // An empty value: the edit needs the page read again.
    const struct {
        const char* before;
        const char* after;
        bool sheet;
        const char* element;
        const char* value;
    } cases[] = {
        {"<style>p{color:red}</style><p>a</p>", "<style>p{color:blue}</style><p>a</p>", true, "style:0", "p{color:blue}"},
        {"<style></style><style>a{}</style>", "<style></style><style>a{b:c}</style>", true, "style:1", "a{b:c}"},
        {"<p style=\"color:red\">a</p>", "<p style=\"color:re\">a</p>", false, "p:0", "color:re"},
        {"<p>x</p><p style='a:b'>y</p>", "<p>x</p><p style='a:bc'>y</p>", false, "p:1", "a:bc"},
        {"<p style=a>y</p>", "<p style=ab>y</p>", false, "p:0", "ab"},
        {"<p style=\"a\">y</p>", "<p style=\"a\">yz</p>", false, "", ""},            // the text changed
        {"<style>a{}x</style>", "<style>a{}</stx</style>", true, "style:0", "a{}</stx"},
        {"<style>a{}</style><p>", "<style>a{}</style></style><p>", false, "", ""},   // outside the sheet
        {"<style>a{}x</style>", "<style>a{}</style>x</style>", false, "", ""},       // the sheet ends earlier now
        {"<p style=\"a\">", "<p style=\"a\" >", false, "", ""},
        {"<p style=\"a\">", "<p style=\"a&amp;\">", false, "", ""},                 // a reference
        {"<p style=a>", "<p style=a b>", false, "", ""},                             // the value ends earlier
        {"<p>", "<p style=\"a\">", false, "", ""},
        {"<p class=\"a\">", "<p class=\"b\">", false, "", ""},
        {"<!-- <style>a</style> -->", "<!-- <style>b</style> -->", false, "", ""},
    };
    for (const auto& c : cases) {
        const std::optional<StyleEdit> e = StyleOnlyEdit(QString::fromUtf8(c.before), QString::fromUtf8(c.after));
        const QString got = e ? e->element.name + u':' + QString::number(e->element.index) : QString();
        EXPECT_EQ(got, QString::fromUtf8(c.element)) << c.after;
        if (e) {
            EXPECT_EQ(e->sheet, c.sheet) << c.after;
            EXPECT_EQ(e->value, QString::fromUtf8(c.value)) << c.after;
        }
    }
}

TEST(LivePage, AnEditOfTheBodyAloneOnAPageWithoutScripts)
{
    const char* page = "<html><head><title>t</title></head><body class=\"a\"><p>one</p></body></html>";
    const struct {
        const char* before;
        const char* after;
        bool body;
    } cases[] = {
        {page, "<html><head><title>t</title></head><body class=\"a\"><p>two</p></body></html>", true},
        {page, "<html><head><title>t</title></head><body class=\"a\"><p>one</p><p></body></html>", true}, // mid-tag
        {page, "<html><head><title>u</title></head><body class=\"a\"><p>one</p></body></html>", false},  // the head
        {page, "<html><head><title>t</title></head><body class=\"b\"><p>one</p></body></html>", false},  // the body tag
        {page, "<html><head><title>t</title></head><body class=\"a\"><p>one</p><SCRIPT>x()</SCRIPT></body></html>", false},
        {"<html><body><noscript>n</noscript>x</body></html>", "<html><body><noscript>n</noscript>y</body></html>", false},
        {"<!-- <body> --><p>one</p>", "<!-- <body> --><p>two</p>", false}, // a body only in a comment
        {"<p>one</p>", "<p>two</p>", false},                               // no body tag
        {page, page, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BodyOnlyEdit(QString::fromUtf8(c.before), QString::fromUtf8(c.after)), c.body) << c.after;
}

} // namespace
