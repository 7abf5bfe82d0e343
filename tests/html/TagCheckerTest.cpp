#include "editor/MemoryTextModel.h"
#include "html/TagChecker.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// Position and message of the fault, for compact expectations.
struct Fault {
    int position;
    QString message;
};

Fault FaultOf(const QString& text)
{
    const TagCheckResult r = CHECK_TAGS(text);
    EXPECT_FALSE(r.passed) << text.toStdString();
    return {r.position, r.message};
}

void ExpectPass(const QString& text)
{
    const TagCheckResult r = CHECK_TAGS(text);
    EXPECT_TRUE(r.passed) << text.toStdString() << " -> " << r.message.toStdString() << " at " << r.position;
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(r.position, 0);
}

QString Table(const QString& second) { return kTableCheckHeading.toString() + S("\r\n\t\tТег ") + second; }

TEST(TagCheckerList, HoldsTheHundredAndTwoNamesOnce)
{
    const QStringList& names = KnownTagNames();
    ASSERT_EQ(names.size(), 102);
    EXPECT_EQ(names.first(), QStringLiteral("!--"));
    EXPECT_EQ(names.at(1), QStringLiteral("!DOCTYPE"));
    EXPECT_EQ(names.last(), QStringLiteral("NOSCRIPT"));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 102);
    for (const QString& n : names)
        EXPECT_EQ(n, n.toUpper());
    EXPECT_EQ(KnownTagList(), names.join(QStringLiteral("\r\n")));
    EXPECT_EQ(&KnownTagList(), &KnownTagList());
    // An HTML5 page knows all of them, then the newer names, each once.
    const QStringList& html5 = Html5TagNames();
    EXPECT_EQ(html5.mid(0, 102), names);
    EXPECT_EQ(QSet<QString>(html5.begin(), html5.end()).size(), 138);
}

TEST(TagCheckerList, EveryKnownNameChecksInEveryForm)
{
    for (const QString& n : KnownTagNames()) {
        if (n == QStringLiteral("!--") || n == QStringLiteral("SCRIPT"))
            continue; // these open a skipped region
        if (n == QStringLiteral("TABLE") || n == QStringLiteral("TR") || n == QStringLiteral("TD") || n == QStringLiteral("TH"))
            continue; // table order is checked separately
        const QString lower = n.toLower();
        for (const QString& tag : {QStringLiteral("<%1>").arg(n), QStringLiteral("<%1 a=1>").arg(lower),
                                   QStringLiteral("</%1>").arg(lower), QStringLiteral("<%1/>").arg(n),
                                   QStringLiteral("<%1\r\n>").arg(n), QStringLiteral("<%1\t>").arg(n)}) {
            ExpectPass(tag);
            ExpectPass(QStringLiteral("<!DOCTYPE html>") + tag);
        }
    }
}

TEST(TagCheckerPass, CleanPagesInAnyLetterCase)
{
    ExpectPass(QString());
    ExpectPass(QStringLiteral("plain text, no tags"));
    ExpectPass(QStringLiteral("<!DOCTYPE html>\r\n<html><head><title>T</title></head>\r\n<body><P>x</p><Br/></BODY></HTML>"));
    ExpectPass(QStringLiteral("<b>a</b><B>a</B><bR>"));
    ExpectPass(S("<p>Текст со словами</p>"));
    // Letters compare upper-cased by the system's rules: dotless i is I.
    ExpectPass(S("<ı>x</ı>"));
    ExpectPass(QStringLiteral("<table><tr><td>1</td><td>2</td></tr><tr><td>3</td></tr></table>"));
    ExpectPass(QStringLiteral("<table><tr><td><table><tr><td>in</td></tr></table></td></tr></table>"));
    // A cell after a nested table, and two tables in a row.
    ExpectPass(QStringLiteral("<table><tr><td><table><tr><td></td></tr></table><td></td></tr></table>"
                              "<table><tr><td></td></tr></table>"));
    // Non-table tags between table tags do not count.
    ExpectPass(QStringLiteral("<table><tbody><tr><td><b>x</b></td></tr></tbody></table>"));
}

TEST(TagCheckerPass, SkipsScriptsCommentsAndSections)
{
    ExpectPass(QStringLiteral("<script>if (a<b && c>d) x = '<blink>';</script><p>"));
    ExpectPass(QStringLiteral("<SCRIPT type=\"text/javascript\">a<<b</Script>"));
    ExpectPass(QStringLiteral("<!-- <blink> < > <td> -->text"));
    ExpectPass(QStringLiteral("<?php if ($a<$b) echo '>'; ?><b>x</b>"));
    // Ending inside any of the three passes.
    ExpectPass(QStringLiteral("<p>x<!-- open < >"));
    ExpectPass(QStringLiteral("<script>a < b"));
    ExpectPass(QStringLiteral("<?php <<<"));
    // "<!-->" closes itself.
    ExpectPass(QStringLiteral("<!-->x"));
}

TEST(TagCheckerFault, UnknownTags)
{
    Fault f = FaultOf(QStringLiteral("<p>Hello <blink>x</blink>"));
    EXPECT_EQ(f.message, kTagUnknownMessage);
    EXPECT_EQ(f.position, 10);
    EXPECT_EQ(FaultOf(QStringLiteral("<![CDATA[x]]>")).message, kTagUnknownMessage);
    // The name must be followed by a delimiter, so a prefix of a name is not enough...
    EXPECT_EQ(FaultOf(QStringLiteral("<bx>")).message, kTagUnknownMessage);
    EXPECT_EQ(FaultOf(QStringLiteral("<scriptx>")).message, kTagUnknownMessage);
    // ...and a name that is the last thing in the text has none.
    f = FaultOf(QStringLiteral("ab\r\n<P"));
    EXPECT_EQ(f.message, kTagUnknownMessage);
    EXPECT_EQ(f.position, 5);
    EXPECT_EQ(FaultOf(QStringLiteral("<//b>")).message, kTagUnknownMessage);
}

TEST(TagCheckerFault, TagsLeftOpen)
{
    // A bare "<" before a blank, a digit, a Cyrillic letter or the end.
    Fault f = FaultOf(QStringLiteral("a < b"));
    EXPECT_EQ(f.message, kTagNotClosedMessage);
    EXPECT_EQ(f.position, 3);
    EXPECT_EQ(FaultOf(QStringLiteral("1<2")).position, 2);
    EXPECT_EQ(FaultOf(S("<б>")).message, kTagNotClosedMessage);
    f = FaultOf(QStringLiteral("text<"));
    EXPECT_EQ(f.message, kTagNotClosedMessage);
    EXPECT_EQ(f.position, 5);
    // A B tag without ">" followed by an I tag: the B tag is reported.
    f = FaultOf(QStringLiteral("xx<b <i>y</i>"));
    EXPECT_EQ(f.message, kTagNotClosedMessage);
    EXPECT_EQ(f.position, 3);
    // The text ends inside a P tag with an attribute.
    f = FaultOf(QStringLiteral("<b>x</b>\r\n<p class=x"));
    EXPECT_EQ(f.message, kTagNotClosedMessage);
    EXPECT_EQ(f.position, 11);
    // Ends right after the tag name and a blank.
    EXPECT_EQ(FaultOf(QStringLiteral("<p ")).position, 1);
}

TEST(TagCheckerFault, SurplusClosings)
{
    Fault f = FaultOf(QStringLiteral("a > b"));
    EXPECT_EQ(f.message, kTagSurplusCloseMessage);
    EXPECT_EQ(f.position, 3);
    // A ">" inside a quoted value closes the tag; the real one is surplus.
    f = FaultOf(QStringLiteral("<a title=\"x>y\">"));
    EXPECT_EQ(f.message, kTagSurplusCloseMessage);
    EXPECT_EQ(f.position, 15);
    // A section or comment ends at the first character after its closing mark.
    EXPECT_EQ(FaultOf(QStringLiteral("<?x?>>")).position, 6);
    EXPECT_EQ(FaultOf(QStringLiteral("<!-- c -->>")).position, 11);
    // The closing script tag is checked like any other.
    EXPECT_EQ(FaultOf(QStringLiteral("<script>x</script>>")).position, 19);
}

TEST(TagCheckerTable, OrderFaultsAndTheirMessages)
{
    Fault f = FaultOf(QStringLiteral("<table>\r\n<td>"));
    EXPECT_EQ(f.position, 10);
    EXPECT_EQ(f.message, Table(S("<TD> не может открываться после тега <TABLE>")));
    f = FaultOf(QStringLiteral("x</tr>"));
    EXPECT_EQ(f.position, 2);
    EXPECT_EQ(f.message, Table(S("</TR> не может быть закрыт здесь")));
    EXPECT_EQ(FaultOf(QStringLiteral("<tr>")).message, Table(S("<TR> не может открываться здесь")));
    EXPECT_EQ(FaultOf(QStringLiteral("<table><tr><td><tr>")).message,
              Table(S("<TR> не может открываться после тега <TD>")));
    // A TH cell is named as the TD cell it counts as.
    f = FaultOf(QStringLiteral("<table><th>h</th></table>"));
    EXPECT_EQ(f.position, 8);
    EXPECT_EQ(f.message, Table(S("<TD> не может открываться после тега <TABLE>")));
    EXPECT_EQ(FaultOf(QStringLiteral("<table><tr><td></tr>")).message,
              Table(S("</TR> не может быть закрыт после тега <TD>")));
    EXPECT_EQ(FaultOf(QStringLiteral("<table></table>")).message,
              Table(S("</TABLE> не может быть закрыт после тега <TABLE>")));
    // After the outermost table closes, a cell may not open.
    EXPECT_EQ(FaultOf(QStringLiteral("<table><tr><td></td></tr></table><td>")).message,
              Table(S("<TD> не может открываться после тега </TABLE>")));
    EXPECT_EQ(FaultOf(QStringLiteral("<table><tr><table>")).message,
              Table(S("<TABLE> не может открываться после тега <TR>")));
    EXPECT_EQ(FaultOf(QStringLiteral("</td>")).message, Table(S("</TD> не может быть закрыт здесь")));
}

TEST(TagCheckerTable, HeaderCellsCountAsCellsInEitherKindOfPage)
{
    struct Case {
        const char* text;
        int position; // 0: passes
        const char* message;
    };
    const Case cases[] = {
        {"<table><tr><th>h</th><th>g</th></tr><tr><td>1</td><td>2</td></tr></table>", 0, ""},
        // Only the exact names count: THEAD, TBODY and TFOOT stay outside the order.
        {"<table><thead><tr><th>h</th></tr></thead><tbody><tr><td>1</td></tr></tbody>"
         "<tfoot><tr><td>f</td></tr></tfoot></table>", 0, ""},
        {"<TABLE><TR><TH\r\nscope=col>h</TD\t></TR></TABLE>", 0, ""},
        {"<table><tr><th></tr>", 16, "</TR> не может быть закрыт после тега <TD>"},
        {"x</th>", 2, "</TD> не может быть закрыт здесь"},
        {"<table><tr><td></td></tr></table><th>", 34, "<TD> не может открываться после тега </TABLE>"},
    };
    const QString html5 = QStringLiteral("<!DOCTYPE html>\r\n");
    for (const Case& c : cases) {
        for (const QString& head : {QString(), html5}) {
            const QString text = head + S(c.text);
            if (c.position == 0) {
                ExpectPass(text);
                continue;
            }
            const Fault f = FaultOf(text);
            EXPECT_EQ(f.position, head.size() + c.position) << c.text;
            EXPECT_EQ(f.message, Table(S(c.message)));
        }
    }
}

TEST(TagCheckerTable, TableTagsInsideSkippedRegionsDoNotCount)
{
    ExpectPass(QStringLiteral("<!-- <td> --><script>'<tr>'</script><table><tr><td></td></tr></table>"));
}

TEST(TagCheckerHtml5, TheDoctypeDecides)
{
    const struct {
        QStringView text;
        bool html5;
    } cases[] = {
        {u"<!DOCTYPE html>", true},
        {u"<!doctype HTML>\r\n<p>", true},
        {u"\uFEFF \t\r\n<!-- a -- b -->\n<!----><!-->\r\n<!DoCtYpE\t\r\nhtml \r\n>", true},
        {u"", false},
        {u"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", false},
        {u"<!DOCTYPEhtml>", false},
        {u"<!DOCTYPE html", false},
        {u"<!DOCTYPE htmlx>", false},
        {u"\uFEFF\uFEFF<!DOCTYPE html>", false},
        {u"x<!DOCTYPE html>", false},
        {u"<!-- a --> b --><!DOCTYPE html>", false},
        {u"<!-- never closed <!DOCTYPE html>", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsHtml5Document(c.text), c.html5) << c.text.toString().toStdString();
}

// A page using every element the known-tag list lacks, a custom element and
// inline SVG and MathML.
QString NewElementsPage(QStringView head)
{
    QString body;
    for (const char* name : {"article", "aside", "audio", "bdi", "canvas", "data", "datalist", "details", "dialog",
                             "figcaption", "figure", "footer", "header", "hgroup", "main", "mark", "meter", "nav",
                             "output", "picture", "progress", "rp", "rt", "ruby", "search", "section",
                             "selectedcontent", "slot", "source", "summary", "template", "time", "track", "video"})
        body += QStringLiteral("<%1 class=x>%1</%1>\r\n").arg(QLatin1StringView(name));
    return head.toString() + QStringLiteral("\r\n<html><body>\r\n") + body
        + QStringLiteral("<my-widget data-a=1><x-y.z_9>t</X-Y.Z_9></my-widget>\r\n"
                         "<svg viewBox=\"0 0 9 9\"><path d=\"M0 0L9 9\"/><circle r=1></circle></svg>\r\n"
                         "<MATH><mi>x</mi></MATH>\r\n</body></html>");
}

TEST(TagCheckerHtml5, NewElementsOnlyInHtml5Pages)
{
    ExpectPass(NewElementsPage(u"<!DOCTYPE html>"));
    ExpectPass(NewElementsPage(u"\uFEFF<!-- page -->\r\n<!doctype html >"));
    for (QStringView head : {u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", u""}) {
        const QString page = NewElementsPage(head);
        const Fault f = FaultOf(page);
        EXPECT_EQ(f.message, kTagUnknownMessage);
        EXPECT_EQ(f.position, page.indexOf(QStringLiteral("<article")) + 1);
    }
}

TEST(TagCheckerHtml5, CustomNamesAndSkippedSvgAndMath)
{
    struct Case {
        const char* body; // after an HTML5 doctype
        int position;     // 0: passes
        QStringView message;
    };
    const Case cases[] = {
        {"<x-></x->\t<a-B.c_9-d\r\n/>", 0, {}},
        {"<blink>", 1, kTagUnknownMessage},
        {"<Xelectedcontent>", 1, kTagUnknownMessage}, // long names are compared whole
        {"<mywidget>", 1, kTagUnknownMessage},
        {"<my:widget>", 1, kTagUnknownMessage},
        {"<my-wídget>", 1, kTagUnknownMessage},
        {"<ſ-x>", 1, kTagUnknownMessage},
        {"<p>x<my-widget", 5, kTagUnknownMessage},
        // SVG and MathML content is never checked; the closing tag is.
        {"<svg><blink a<b><rect/></svg><p>", 0, {}},
        {"<math><blink><svg></math><p>", 0, {}},
        {"<svg><g></math> > </svg> >", 26, kTagSurplusCloseMessage},
        {"<math>x</svg> > </math>>", 24, kTagSurplusCloseMessage},
        {"<svg><svg></svg></svg>", 0, {}},
        {"<svg>x</svg><blink>", 13, kTagUnknownMessage},
        {"<table><tr><td><svg><tr></svg></td><td><track src=a></td></tr></table>", 0, {}},
    };
    const QString head = QStringLiteral("<!DOCTYPE html>");
    for (const Case& c : cases) {
        const QString text = head + S(c.body);
        if (c.position == 0) {
            ExpectPass(text);
            continue;
        }
        const Fault f = FaultOf(text);
        EXPECT_EQ(f.position, head.size() + c.position) << c.body;
        EXPECT_EQ(f.message, c.message) << c.body;
    }
}

TEST(TagCheckerModel, SelectsTheOffendingCharacter)
{
    MemoryTextModel m(QStringLiteral("<p>\r\nline <blink>\r\n"));
    QString message;
    EXPECT_FALSE(CheckTagsInModel(m, &message));
    EXPECT_EQ(message, kTagUnknownMessage);
    EXPECT_EQ(m.selStart(), 10);
    EXPECT_EQ(m.selLength(), 1);
    EXPECT_EQ(m.selText(), QStringLiteral("<"));
    EXPECT_EQ(m.text(), QStringLiteral("<p>\r\nline <blink>\r\n")) << "the text is never changed";

    MemoryTextModel clean(QStringLiteral("<b>x</b>"));
    clean.setSelStart(2);
    message = QStringLiteral("untouched");
    EXPECT_TRUE(CheckTagsInModel(clean, &message));
    EXPECT_EQ(message, QStringLiteral("untouched"));
    EXPECT_EQ(clean.selStart(), 2);
}

TEST(TagCheckerScale, LongRunsStayLinear)
{
    // 300,000 repetitions of a tag pair and a long name-like run with no
    // delimiter would take ages if any step rescanned the text.
    QString page;
    page.reserve(2'500'000);
    for (int i = 0; i < 300'000; ++i)
        page += QStringLiteral("<b>x</b>");
    ExpectPass(page);
    const Fault f = FaultOf(QStringLiteral("<") + QString(5'000'000, u'A'));
    EXPECT_EQ(f.position, 1);
    EXPECT_EQ(f.message, kTagUnknownMessage);
}

} // namespace
