#include "html/TagPairs.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// "|" marks the caret; the text without it and the caret's offset.
std::pair<QString, int> Caret(const char* marked)
{
    QString t = S(marked);
    const int at = int(t.indexOf(u'|'));
    t.remove(at, 1);
    return {t, at};
}

TEST(TagPairsTest, EndTagAfterTypedGreaterThan)
{
    struct Case {
        const char* text; // "|" is the caret, just after the typed ">"
        const char* expected; // nullptr: nothing inserted
    };
    const Case cases[] = {
        {R"(<section class="a">|)", "</section>"},
        {"<p>text <B>|", "</B>"},
        {"<my-widget>|", "</my-widget>"},
        {"<div\r\n  id=x>|", "</div>"},
        {"<br>|", nullptr},
        {"<IMG src=a.png>|", nullptr},
        {"<basefont size=3>|", nullptr},
        {"<frame src=a>|", nullptr},
        {"<div/>|", nullptr},
        {"</div>|", nullptr},
        {"a > b>|", nullptr},
        {"<!-- <div>|", nullptr},
        {"<!-- x --><div>|", "</div>"},
        {"<script>if (a <b>|", nullptr},
        {"<script>x</script><b>|", "</b>"},
        {"<style>p <b>|", nullptr},
        {"<? echo '<div>|", nullptr},
        {"<?php ?><i>|", "</i>"},
        {R"(<a title="x>|)", nullptr},
        {R"(<a title="x>" href=y>|)", "</a>"},
        {"<!DOCTYPE html>|", nullptr},
        {"<div>|</div>", nullptr},
        {"<div>|  </DIV >", nullptr},
        {"<div>|</divx>", "</div>"},
        {"<li>|</ul>", "</li>"},
    };
    for (const Case& c : cases) {
        const auto [text, caret] = Caret(c.text);
        const std::optional<QString> got = EndTagToInsert(QStringView(text).first(caret), QStringView(text).sliced(caret));
        if (c.expected)
            EXPECT_EQ(got, std::optional<QString>(S(c.expected))) << c.text;
        else
            EXPECT_FALSE(got) << c.text << " gave " << got->toStdString();
    }
    EXPECT_FALSE(EndTagToInsert(u"<div>", u"", TagTypingContext{false}));
}

TEST(TagPairsTest, EndTagCompletesSlash)
{
    struct Case {
        const char* before;
        const char* expected;
    };
    const Case cases[] = {
        {"<div><p>x</", "p>"},
        {"<div><p>x</p></", "div>"},
        {"<UL><li>a<br><img src=x></", "li>"},
        {"<div><span/></", "div>"},
        {"<div><b><i></b></", "div>"},
        {"<div></em></", "div>"},
        {"text</", nullptr},
        {"<div></div></", nullptr},
        {"<div><!-- </", nullptr},
        {"<div><script>a</", nullptr},
        {"<div><script>a</script></", "div>"},
        {R"(<div title="</)", nullptr},
        {"<div>/", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<QString> got = EndTagCompletion(S(c.before));
        if (c.expected)
            EXPECT_EQ(got, std::optional<QString>(S(c.expected))) << c.before;
        else
            EXPECT_FALSE(got) << c.before << " gave " << got->toStdString();
    }
}

TEST(TagPairsTest, MatchingTagFindsThePartner)
{
    struct Case {
        const char* text; // "|" is the caret
        const char* open; // the start tag's name as "<name" occurrence index, or nullptr
        int openIndex;
        int closeIndex; // index of the "</name" occurrence
    };
    const Case cases[] = {
        {"<di|v>a</div>", "div", 0, 0},
        {"<div>a</div|>", "div", 0, 0},
        {"|<div>a</div>", "div", 0, 0},
        {"<div>a</div>|", "div", 0, 0},
        {"<div>|a</div>", "div", 0, 0}, // just after the ">"
        {"<div><div>x</div></di|v>", "div", 0, 1},
        {"<div><di|v>x</div></div>", "div", 1, 0},
        {"<DIV>x</d|iv>", "DIV", 0, 0},
        {"<ul><l|i>a<li>b</li></ul>", nullptr, 0, 0},
        {"<div><!-- </div> -->x</div|>", "div", 0, 1},
        {"<p><script>'</p>'</script></p|>", "p", 0, 1},
        {"<p><br></p|>", "p", 0, 0},
        {"<b|r>x</br>", nullptr, 0, 0},
        {"<div/|>x</div>", nullptr, 0, 0},
        {"<div>a|b</div>", nullptr, 0, 0},
        {"</div|>", nullptr, 0, 0},
        {"<div|>", nullptr, 0, 0},
        {R"(<a title="<b>">x</a|>)", "a", 0, 0},
        {"<div><p>x</div|>", "div", 0, 0},
    };
    for (const Case& c : cases) {
        const auto [text, caret] = Caret(c.text);
        const std::optional<TagPair> got = MatchingTag(text, caret);
        if (!c.open) {
            EXPECT_FALSE(got) << c.text;
            continue;
        }
        const QString name = S(c.open);
        qsizetype o = -1, e = -1;
        for (int i = 0; i <= c.openIndex; ++i)
            o = text.indexOf(u'<' + name, o + 1, Qt::CaseInsensitive);
        for (int i = 0; i <= c.closeIndex; ++i)
            e = text.indexOf(QStringLiteral("</") + name, e + 1, Qt::CaseInsensitive);
        const TagPair want{int(o) + 1, int(name.size()), int(e) + 2, int(name.size())};
        EXPECT_EQ(got, std::optional<TagPair>(want)) << c.text;
    }
}

TEST(TagPairsTest, AWindowStartingInsideACommentScriptOrTagFindsNoFalsePair)
{
    // Windows that start where a page's comment, script, section or tag
    // started before them: the tags up to its end are none.
    struct Case {
        const char* text;
        bool paired;
    };
    const Case cases[] = {
        {" <b>x --> </b|>", false},
        {" <i> --> <b>x</b|>", true},
        {" <b>x --> <b>y</b> </b|>", false},
        {" x = '<b>'; </script><b|>y</b>", true},
        {" p { } </STYLE><i>a</i|>", true},
        {" echo '<b>' ?><b|>x</b>", true},
        {" x = '<b>'; </script></b|>", false},
        {" class=a><b|>x</b>", true},
        {" title='<b>'><b>x</b|>", true},
        {"<b>a</b|> b > c", true},
        {"<i>a <!-- b --> c</i|>", true},
        {"<p><script>a</script></p|>", true},
    };
    for (const Case& c : cases) {
        const auto [text, caret] = Caret(c.text);
        EXPECT_EQ(bool(MatchingTag(text, caret)), c.paired) << c.text;
    }
    // The typing rules read such a window alike.
    EXPECT_EQ(EndTagToInsert(u" x --> <b>", u""), std::optional<QString>(QStringLiteral("</b>")));
    EXPECT_EQ(EndTagCompletion(u" <i> --> <b>x</"), std::optional<QString>(QStringLiteral("b>")));
    EXPECT_FALSE(EndTagCompletion(u" <i> </script>x</"));
}

TEST(TagPairsTest, MatchingTagStopsAtTheScanLimit)
{
    const QString text = QStringLiteral("<div>") + QString(1000, u'x') + QStringLiteral("</div>");
    EXPECT_TRUE(MatchingTag(text, 2, 2000));
    EXPECT_FALSE(MatchingTag(text, 2, 500));
    EXPECT_FALSE(MatchingTag(text, int(text.size()) - 2, 500));
    EXPECT_FALSE(MatchingTag(text, -1));
    EXPECT_FALSE(MatchingTag(text, int(text.size()) + 1));
}

TEST(TagPairsTest, PartnerRenameFollowsTheEditedName)
{
    struct Case {
        const char* before;
        int start, removed;
        const char* inserted;
        const char* expected; // the text after both edits, nullptr: no rename
    };
    const Case cases[] = {
        {"<div>x</div>", 1, 3, "nav", "<nav>x</nav>"},
        {"<div>x</div>", 8, 3, "nav", "<nav>x</nav>"},
        {"<div>x</div>", 4, 0, "x", "<divx>x</divx>"},   // typed at the name's end
        {"<div>x</div>", 1, 0, "a", "<adiv>x</adiv>"},   // at its start
        {"<div>x</div>", 8, 1, "", "<iv>x</iv>"},
        {"<div class=a>x</div>", 1, 3, "p", "<p class=a>x</p>"},
        {"<div>x</div>", 1, 3, "", nullptr},             // the name gone
        {"<div>x</div>", 4, 0, " ", nullptr},             // a blank after it
        {"<div>x</div>", 1, 0, "1", nullptr},             // not a name
        {"<div>x</div>", 5, 1, "y", nullptr},             // outside the names
        {"<div>x</div>", 3, 3, "", nullptr},              // past the name
    };
    for (const Case& c : cases) {
        QString text = S(c.before);
        const std::optional<TagPair> pair = MatchingTag(text, 2);
        ASSERT_TRUE(pair) << c.before;
        const QString ins = S(c.inserted);
        text.replace(c.start, c.removed, ins);
        const std::optional<TagRename> r = PartnerRename(*pair, c.start, c.removed, int(ins.size()), text);
        if (!c.expected) {
            EXPECT_FALSE(r) << c.before << " " << c.start;
            continue;
        }
        ASSERT_TRUE(r) << c.before << " " << c.start;
        text.replace(r->start, r->length, r->name);
        EXPECT_EQ(text, S(c.expected));
    }
}

TEST(TagPairsTest, VoidElements)
{
    for (const char* n : {"br", "IMG", "Input", "wbr", "source", "track", "param", "isindex", "bgsound"})
        EXPECT_TRUE(IsVoidElement(S(n))) << n;
    for (const char* n : {"div", "p", "li", "nobr", "brx", ""})
        EXPECT_FALSE(IsVoidElement(S(n))) << n;
}

} // namespace
