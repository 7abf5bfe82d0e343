#include "editor/Colouring.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The token class of every character of a snippet (lines split at "\n"),
// coloured line by line from the kind's initial state.
std::vector<Token> Classes(ColouringKind kind, const QString& snippet)
{
    std::vector<Token> classes;
    std::vector<TokenSpan> spans;
    int state = InitialColouringState(kind);
    for (const QString& line : snippet.split(u'\n')) {
        const int stateOnly = ColourLine(kind, line, state, nullptr);
        state = ColourLine(kind, line, state, &spans);
        EXPECT_EQ(stateOnly, state) << "state without spans differs on: " << line.toStdString();
        std::vector<Token> lineClasses(line.size(), Token::Plain);
        int last = 0;
        for (const TokenSpan& s : spans) {
            EXPECT_GE(s.start, last) << "spans out of order";
            last = s.start + s.length;
            std::fill_n(lineClasses.begin() + s.start, s.length, s.token);
        }
        classes.insert(classes.end(), lineClasses.begin(), lineClasses.end());
        classes.push_back(Token::Plain); // the line break
    }
    return classes;
}

struct Case {
    ColouringKind kind;
    const char* snippet;
    const char* fragment; // its first occurrence in the snippet
    Token expected;       // the class of each of its characters
};

const char* const kScript = "<script>var s = \"</div>\"; if (a < 2) x = 1.5;</script><p>";
const char* const kStyle =
    "<style>\nh1, .big { color: red; /* note */ }\n@media screen { p { margin: 0 } }\n</style>\n<b>";
const char* const kJs = "// note <b>\nlet re = /\"[a-z]+/g; const t = `multi\nline`;\nvar u = \"open\nreturn a / b / c;";

const Case kCases[] = {
    {ColouringKind::Html, "<!DOCTYPE html>\n<html>", "<!DOCTYPE html>", Token::Doctype},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "<a", Token::Tag},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "href", Token::Attribute},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "\"x.html\"", Token::Value},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "'t'", Token::Value},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "&amp;", Token::Entity},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "Link", Token::Plain},
    {ColouringKind::Html, "<a href=\"x.html\" title='t'>Link &amp; more</a>", "</a>", Token::Tag},
    {ColouringKind::Html, "<td width=100>", "100", Token::Value},
    // A comment holding a tag, over lines.
    {ColouringKind::Html, "<!-- <b>bold</b>\n<p> -->\n<i>", "<!-- <b>bold</b>", Token::Comment},
    {ColouringKind::Html, "<!-- <b>bold</b>\n<p> -->\n<i>", "<p> -->", Token::Comment},
    {ColouringKind::Html, "<!-- <b>bold</b>\n<p> -->\n<i>", "<i", Token::Tag},
    // A script holding "</div>" in a string.
    {ColouringKind::Html, kScript, "\"</div>\"", Token::String},
    {ColouringKind::Html, kScript, "var", Token::Keyword},
    {ColouringKind::Html, kScript, "1.5", Token::Number},
    {ColouringKind::Html, kScript, "a <", Token::Plain},
    {ColouringKind::Html, kScript, "</script>", Token::Tag},
    {ColouringKind::Html, kScript, "<p", Token::Tag},
    {ColouringKind::Html, "<script>\n/* a\n</div> */ x\n</SCRIPT>", "</div> */", Token::Comment},
    // Style blocks and attributes.
    {ColouringKind::Html, kStyle, "h1, .big", Token::Selector},
    {ColouringKind::Html, kStyle, "color", Token::Property},
    {ColouringKind::Html, kStyle, "red", Token::CssValue},
    {ColouringKind::Html, kStyle, "/* note */", Token::Comment},
    {ColouringKind::Html, kStyle, "@media", Token::AtRule},
    {ColouringKind::Html, kStyle, "p ", Token::Selector},
    {ColouringKind::Html, kStyle, "margin", Token::Property},
    {ColouringKind::Html, kStyle, "<b", Token::Tag},
    {ColouringKind::Html, "<p style=\"color: blue; margin:0\">x", "color", Token::Property},
    {ColouringKind::Html, "<p style=\"color: blue; margin:0\">x", "blue", Token::CssValue},
    {ColouringKind::Html, "<p style=\"color: blue; margin:0\">x", "style", Token::Attribute},
    {ColouringKind::Html, "<p style=\"color: blue; margin:0\">x", "x", Token::Plain},
    // PHP sections keep the plain colour, also inside a value and over lines.
    {ColouringKind::Html, "<p class=\"<?php echo $c; ?>\">Hi <?= $n ?></p>", "<?php echo $c; ?>", Token::Php},
    {ColouringKind::Html, "<p class=\"a<?= $x ?>b\">", "b\"", Token::Value},
    {ColouringKind::Html, "<p class=\"<?php echo $c; ?>\">Hi <?= $n ?></p>", "Hi", Token::Plain},
    {ColouringKind::Html, "<?php\nif ($a < $b) { echo '<p>'; }\n?><b>", "if ($a < $b) { echo '<p>'; }", Token::Php},
    {ColouringKind::Html, "<?php\nif ($a < $b) { echo '<p>'; }\n?><b>", "<b", Token::Tag},
    // Whole documents of one language.
    {ColouringKind::Css, "a:hover { color: #fff }", "a:hover", Token::Selector},
    {ColouringKind::Css, "a:hover { color: #fff }", "#fff", Token::CssValue},
    {ColouringKind::Js, kJs, "// note <b>", Token::Comment},
    {ColouringKind::Js, kJs, "/\"[a-z]+/g", Token::Regex},
    {ColouringKind::Js, kJs, "line`", Token::String},
    {ColouringKind::Js, kJs, "const", Token::Keyword},
    {ColouringKind::Js, kJs, "return", Token::Keyword}, // an unclosed string ends with its line
    {ColouringKind::Js, kJs, "a / b / c", Token::Plain},
    {ColouringKind::Plain, "<b>text</b>", "<b>text</b>", Token::Plain},
};

TEST(Colouring, TokenClassesOfSnippets)
{
    for (const Case& c : kCases) {
        const QString snippet = QString::fromUtf8(c.snippet);
        const QString fragment = QString::fromUtf8(c.fragment);
        const qsizetype at = snippet.indexOf(fragment);
        ASSERT_GE(at, 0) << c.fragment;
        const std::vector<Token> classes = Classes(c.kind, snippet);
        for (qsizetype i = at; i < at + fragment.size(); ++i) {
            if (fragment[i - at] == u' ' && c.expected != Token::Plain)
                continue; // blanks between tokens may stay plain
            EXPECT_EQ(int(classes[i]), int(c.expected)) << c.snippet << " / " << c.fragment << " at " << (i - at);
        }
    }
}

TEST(Colouring, KindFollowsTheExtension)
{
    const std::pair<const char*, ColouringKind> table[] = {
        {"/a/page.html", ColouringKind::Html}, {"/a/PAGE.HTM", ColouringKind::Html}, {"/a/x.php", ColouringKind::Html},
        {"/a/site.CSS", ColouringKind::Css},   {"/a/app.js", ColouringKind::Js},     {"/a/notes.txt", ColouringKind::Plain},
        {"", ColouringKind::Html},
    };
    for (const auto& [path, kind] : table)
        EXPECT_EQ(int(ColouringKindForPath(QString::fromUtf8(path))), int(kind)) << path;
}

} // namespace
