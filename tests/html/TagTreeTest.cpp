#include "html/TagTree.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// "level NAME" per node, for compact expectations of the tree's shape.
QStringList Shape(const QString& text)
{
    QStringList out;
    for (const TagNode& n : MAKE_DISPLAY(text).nodes)
        out << QString::number(n.level) + u' ' + n.name;
    return out;
}

QStringList L(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << S(s);
    return out;
}

// The details of the only node of a one-tag text.
QString DetailsOf(const char* tag)
{
    const TagTreeBuild b = MAKE_DISPLAY(S(tag));
    EXPECT_EQ(b.nodes.size(), 1) << tag;
    return b.nodes.isEmpty() ? QString() : b.nodes.first().details;
}

// 1-based position of the n-th (0-based) occurrence of what in text.
int PositionOf(const QString& text, const QString& what, int n = 0)
{
    qsizetype at = -1;
    for (int i = 0; i <= n; ++i)
        at = text.indexOf(what, at + 1);
    EXPECT_GE(at, 0) << what.toStdString();
    return int(at + 1);
}

TEST(TagTreeBuild, NestsThePageStructure)
{
    const QString page = S("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>Страница</title>\r\n</head>\r\n"
                           "<body>\r\n<div>\r\n<img src=\"a.png\">\r\n</div>\r\n</body>\r\n</html>\r\n");
    const TagTreeBuild b = MAKE_DISPLAY(page);
    EXPECT_EQ(Shape(page), L({"0 !DOCTYPE", "0 HTML", "1 HEAD", "2 TITLE", "1 BODY", "2 DIV", "3 IMG"}));
    ASSERT_EQ(b.nodes.size(), 7);

    // A quoted source: the name, four blanks, then three before the attribute.
    const TagNode& img = b.nodes.at(6);
    EXPECT_EQ(img.details, S("   src=\"a.png\""));
    EXPECT_EQ(img.line(), S("\t\t\tIMG       src=\"a.png\""));
    EXPECT_EQ(b.nodes.at(3).line(), S("\t\tTITLE    "));
    EXPECT_EQ(b.lines().size(), 7);
    EXPECT_EQ(b.lines().at(6), img.line());

    // Each node sits at its "<"; the position list pairs it with the name.
    const QStringList tags = L({"<!DOCTYPE", "<html", "<head", "<title", "<body", "<div", "<img"});
    const QStringList positions = b.positions();
    ASSERT_EQ(positions.size(), 7);
    for (int i = 0; i < 7; ++i) {
        const int at = PositionOf(page, tags.at(i));
        EXPECT_EQ(b.nodes.at(i).position, at) << i;
        EXPECT_EQ(positions.at(i), QString::number(at) + S("##") + b.nodes.at(i).name);
    }

    // Upper or lower case makes no difference; other tags give nothing, and a
    // ">" in running text changes nothing.
    EXPECT_EQ(Shape(S("<DiV><Span>a > b</SPAN><b>x</b><h1>y</h1><input type=text><br></dIv><P>")),
              L({"0 DIV", "0 P"}));
    EXPECT_TRUE(MAKE_DISPLAY(S("<span><b><h1><th><input>> >")).nodes.isEmpty());
    EXPECT_TRUE(MAKE_DISPLAY(QString()).nodes.isEmpty());
}

TEST(TagTreeBuild, LevelsFollowContainersAndClosers)
{
    // Every container kind opens a level and its closing tag closes it.
    for (const char* c : {"head", "html", "body", "frameset", "table", "tr", "td", "div", "dl", "ol", "ul", "a",
                          "noscript"}) {
        const QString text = QStringLiteral("<%1><p></%1><p>").arg(QLatin1String(c));
        EXPECT_EQ(Shape(text), QStringList({QString::fromLatin1(c).toUpper().prepend(u"0 "), S("1 P"), S("0 P")}))
            << c;
    }
    // Single tags open nothing, closing forms of single tags are no nodes.
    for (const char* c : {"!doctype", "title", "link", "style", "frame", "iframe", "img", "p", "dt", "dd", "li",
                          "embed"}) {
        const QString text = QStringLiteral("<%1><p></embed></script><p>").arg(QLatin1String(c));
        EXPECT_EQ(Shape(text), QStringList({QString::fromLatin1(c).toUpper().prepend(u"0 "), S("0 P"), S("0 P")}))
            << c;
    }

    // A container left open keeps every later node one level deeper.
    EXPECT_EQ(Shape(S("<div><div></div><p><ul><li></ul><p>")), L({"0 DIV", "1 DIV", "1 P", "1 UL", "2 LI", "1 P"}));
    // Surplus closers never take the level below 0.
    EXPECT_EQ(Shape(S("</div></div></td></html><p><div></div></div></div><p><table><p>")),
              L({"0 P", "0 DIV", "0 P", "0 TABLE", "1 P"}));
    // A closing TH is not recognised, as TH opens nothing: the rows of a
    // header row and a data row stay siblings.
    EXPECT_EQ(Shape(S("<table><tr><th>a</th></tr><tr><td>b</td></tr></table><p>")),
              L({"0 TABLE", "1 TR", "1 TR", "2 TD", "0 P"}));

    // Levels opened without a node in between are not skipped: the next node
    // is only one below the one before it.
    EXPECT_EQ(Shape(S("<p><div </script><div </script><div </script><p><p>")), L({"0 P", "1 P", "1 P"}));
    EXPECT_EQ(Shape(S("<div </script><div </script><p>")), L({"1 P"}));
}

TEST(TagTreeBuild, RecognisesANameOnlyBeforeABlankOrBracket)
{
    for (const char* t : {"<div\tid=a>", "<div\r\nid=a>", "<img\nsrc=x>", "<p\t>", "<div", "<p", "<divx>",
                          "<meta>", "<meta\thttp-equiv=x>", "<meta\r\nname=x>", "< div>", "<!doctype\r\nhtml>"})
        EXPECT_TRUE(MAKE_DISPLAY(S(t)).nodes.isEmpty()) << t;
    EXPECT_EQ(Shape(S("<meta name=x><p id=a>")), L({"0 META", "0 P"}));
    // A tag without its ">" merges with the next ">": the details are its
    // own, the position that of the last "<" before the ">".
    const QString merged = S("<p class=a <span>x</span>");
    const TagTreeBuild b = MAKE_DISPLAY(merged);
    ASSERT_EQ(b.nodes.size(), 1);
    EXPECT_EQ(b.nodes.first().details, S("   class=a"));
    EXPECT_EQ(b.nodes.first().position, PositionOf(merged, S("<span")));
    // A tag that never ends gives no node.
    EXPECT_TRUE(MAKE_DISPLAY(S("<div id=a")).nodes.isEmpty());
}

TEST(TagTreeBuild, ShowsTheUsefulAttributes)
{
    // Either order in the tag, one order in the node.
    for (const char* t : {"<div id=\"main\" class=\"wide\">", "<div class=\"wide\" id=\"main\">"})
        EXPECT_EQ(MAKE_DISPLAY(S(t)).nodes.value(0).line(), S("DIV       id=\"main\"   class=\"wide\"")) << t;
    EXPECT_EQ(DetailsOf("<img title=t alt='' src='a b.png' id=i>"), S("   src=\"a b.png\"   alt=\"\"   title=t   id=i"));
    EXPECT_EQ(DetailsOf("<a href=\"x.html\" name=n style='color:red; top:0'>"),
              S("   name=n   style=\"color:red; top:0\"   href=\"x.html\""));
    // Unquoted values end at a blank, tab, CR, ";" or ">"; a quoted value
    // runs on over them, line breaks shown as blanks.
    EXPECT_EQ(DetailsOf("<div id=a;b class=c\td>"), S("   id=a   class=c"));
    EXPECT_EQ(DetailsOf("<div id=\"a\r\nb\" class=x\r\n>"), S("   id=\"a  b\"   class=x"));
    EXPECT_EQ(DetailsOf("<div id=\"it's\">"), S("   id=\"it\"s\""));
    // Empty values are left out, a pair of quotes is not empty.
    EXPECT_EQ(DetailsOf("<div id= class=>"), QString());
    EXPECT_EQ(DetailsOf("<div id=\"\">"), S("   id=\"\""));
    // The key needs a blank before it and nothing before "=".
    EXPECT_EQ(DetailsOf("<div class=a\r\nid=b>"), S("   class=a"));
    EXPECT_EQ(DetailsOf("<div xid=b data-class=c id =d>"), QString());
    // A key only counts before the tag's first ">", even one in quotes.
    EXPECT_EQ(DetailsOf("<img alt=\"a>b\" src=c>"), S("   alt=\"a>b\""));
    EXPECT_EQ(DetailsOf("<p>text id=x href=y"), QString());
    // Script attributes come first, TYPE both there and with the others.
    EXPECT_EQ(DetailsOf("<script src=s.js type=\"text/javascript\" language=JavaScript></script>"),
              S("   language=JavaScript   type=\"text/javascript\"   src=s.js   type=\"text/javascript\""));
    // META's own attributes come last; a value in quotes keeps its ";".
    EXPECT_EQ(DetailsOf("<meta content=\"text/html; charset=utf-8\" http-equiv=\"Content-Type\" name=n>"),
              S("   name=n   http-equiv=\"Content-Type\"   content=\"text/html; charset=utf-8\""));
    // Other tags show none of these.
    EXPECT_EQ(DetailsOf("<p src=a alt=b content=c>"), QString());
    // Closing tags read nothing.
    EXPECT_EQ(MAKE_DISPLAY(S("</div id=a>")).nodes.size(), 0);

    // Read directly: the tail from the tag's name on, as written and upper-cased.
    const QString tail = S("v src='Путь.png' alt=x>");
    EXPECT_EQ(ReadTagAttribute(tail, tail.toUpper(), S("SRC")), S("\"Путь.png\""));
    EXPECT_EQ(ReadTagAttribute(tail, tail.toUpper(), S("TITLE")), QString());
    const QString open = S("g src=a alt=\"b");
    EXPECT_EQ(ReadTagAttribute(open, open.toUpper(), S("SRC")), QString()); // no ">" at all
    const QString runs = S("g alt=\"b> c\r\nd");
    EXPECT_EQ(ReadTagAttribute(runs, runs.toUpper(), S("ALT")), S("\"b> c  d")); // up to the text's end
}

TEST(TagTreeBuild, StepsOverScriptsCommentsAndSections)
{
    const QString page = S("<body>\r\n<script type=\"text/javascript\">\r\nif (a<b && c>d) { w(\"<div id=x>\"); }\r\n"
                           "</script>\r\n<?php echo '<table>'; ?>\r\n<p>\r\n</body>");
    const TagTreeBuild b = MAKE_DISPLAY(page);
    EXPECT_EQ(Shape(page), L({"0 BODY", "1 SCRIPT", "1 P"}));
    ASSERT_EQ(b.nodes.size(), 3);
    EXPECT_EQ(b.nodes.at(1).position, PositionOf(page, S("<script")));
    EXPECT_EQ(b.nodes.at(1).details, S("   type=\"text/javascript\"   type=\"text/javascript\""));
    // A script whose name is not followed by a blank or ">" is still skipped.
    EXPECT_EQ(Shape(S("<script\r\n><div></script><p>")), L({"0 P"}));

    // A comment is one node; line breaks, tabs and "[`]" of its text are
    // shown the way a node line can hold them.
    const QString commented = S("<div><!-- первая\r\nвторая\tтретья[`]конец <p> --><p></div>");
    const TagTreeBuild c = MAKE_DISPLAY(commented);
    EXPECT_EQ(Shape(commented), L({"0 DIV", "1 !--", "1 P"}));
    ASSERT_EQ(c.nodes.size(), 3);
    EXPECT_EQ(c.nodes.at(1).details, S(" первая, вторая третья, конец <p> "));
    EXPECT_EQ(c.nodes.at(1).line(), S("\t!--     первая, вторая третья, конец <p> "));
    EXPECT_EQ(c.nodes.at(1).position, PositionOf(commented, S("<!--")));
    EXPECT_EQ(c.positions().at(1), QString::number(PositionOf(commented, S("<!--"))) + S("##!--"));
    EXPECT_FALSE(c.lines().join(QString()).contains(u'\r'));

    // Unclosed regions swallow the rest of the text.
    EXPECT_EQ(Shape(S("<p><!-- open <div> <p>")), L({"0 P"}));
    EXPECT_EQ(Shape(S("<p><? open <div> <p>")), L({"0 P"}));
    EXPECT_EQ(Shape(S("<p><script> open <div> <p>")), L({"0 P"}));
    // An unclosed comment's node text runs to the end of the text, but the
    // node itself needs the ">" of a closing marker.
    EXPECT_TRUE(MAKE_DISPLAY(S("<!-- a")).nodes.isEmpty());
    EXPECT_EQ(DetailsOf("<!---->"), QString());
}

TEST(TagTreeGoTo, SelectsTheStoredNameInsideTheText)
{
    const QString page = S("<html>\r\n<body>\r\n<!-- x -->\r\n<DiV id=a>\r\n</div></body></html>");
    const TagTreeBuild b = MAKE_DISPLAY(page);
    const QStringList list = b.positions();
    ASSERT_EQ(list.size(), 4);
    for (int i = 0; i < list.size(); ++i) {
        const std::optional<TagTarget> t = TagTargetAt(list, i, int(page.size()));
        ASSERT_TRUE(t) << i;
        // The selection covers the name right after the "<".
        EXPECT_EQ(page.at(t->offset - 1), u'<');
        EXPECT_EQ(page.mid(t->offset, t->length).toUpper(), b.nodes.at(i).name);
    }
    EXPECT_FALSE(TagTargetAt(list, -1, int(page.size())));
    EXPECT_FALSE(TagTargetAt(list, int(list.size()), int(page.size())));
    EXPECT_FALSE(TagTargetAt({}, 0, 100));

    // The text changed since the build: a position inside it still selects.
    const int divAt = b.nodes.at(3).position;
    EXPECT_EQ(TagTargetAt(list, 3, divAt + 10), (TagTarget{divAt, 3}));
    EXPECT_EQ(TagTargetAt(list, 3, divAt + 1), (TagTarget{divAt, 1}));
    EXPECT_FALSE(TagTargetAt(list, 3, divAt));
    EXPECT_FALSE(TagTargetAt(list, 3, 0));

    for (const char* bad : {"", "12", "##DIV", "x##DIV", "-1##DIV", "12#DIV"})
        EXPECT_FALSE(TagTargetAt(QStringList{S(bad)}, 0, 1000)) << bad;

    EXPECT_EQ(GoToTagCaption(S("DIV    id=x")), S("Перейти к <DIV>   (Enter)"));
    EXPECT_EQ(GoToTagCaption(S("!--     comment")), S("Перейти к <!-->   (Enter)"));
    EXPECT_EQ(GoToTagCaption(S("HTML")), S("Перейти к <HTML>   (Enter)"));
}

TEST(TagTreeBuild, LargePagesTakeOnePass)
{
    // About 2 MB of ordinary page: every block gives the same nodes.
    const QString block = S("<div class=\"b\" id=\"d\"><p style='x'>Текст <b>a</b> <a href=\"h.html\">l</a></p>\r\n"
                            "<!-- c -->\r\n<table><tr><td><img src=\"i.png\" alt=\"\"></td></tr></table></div>\r\n");
    const int blocks = int((2 << 20) / block.size()) + 1;
    QString page = S("<html><body>\r\n");
    for (int i = 0; i < blocks; ++i)
        page += block;
    page += S("</body></html>");
    const TagTreeBuild b = MAKE_DISPLAY(page);
    const QStringList one = Shape(S("<html><body>") + block);
    ASSERT_EQ(b.nodes.size(), qsizetype(2 + 8 * blocks));
    ASSERT_EQ(one.size(), 10);
    EXPECT_EQ(Shape(page).mid(2 + 8 * (blocks - 1)), one.mid(2));
    EXPECT_EQ(b.nodes.last().position, int(page.lastIndexOf(S("<img")) + 1));

    // One tag that never ends before the text's end, with a "<p" every few
    // characters: each "<p" starts a search for the keys up to that ">".
    QString open;
    for (int i = 0; i < 200000; ++i)
        open += S("<p a=1 ");
    open += S("id=x>");
    const TagTreeBuild o = MAKE_DISPLAY(open);
    ASSERT_EQ(o.nodes.size(), 1);
    EXPECT_EQ(o.nodes.first().details, S("   id=x"));
    EXPECT_EQ(o.nodes.first().position, int(open.lastIndexOf(S("<p")) + 1));

    // Many comments, each one's text found without searching the rest again.
    QString comments;
    for (int i = 0; i < 100000; ++i)
        comments += S("<!-->x<p>");
    const TagTreeBuild m = MAKE_DISPLAY(comments);
    ASSERT_EQ(m.nodes.size(), 200000);
    EXPECT_EQ(m.nodes.at(0).details, S(">x<p><!"));
}

} // namespace
