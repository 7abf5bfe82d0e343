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
}

TEST(TagCheckerList, EveryKnownNameChecksInEveryForm)
{
    for (const QString& n : KnownTagNames()) {
        if (n == QStringLiteral("!--") || n == QStringLiteral("SCRIPT"))
            continue; // these open a skipped region
        if (n == QStringLiteral("TABLE") || n == QStringLiteral("TR") || n == QStringLiteral("TD"))
            continue; // table order is checked separately
        const QString lower = n.toLower();
        for (const QString& tag : {QStringLiteral("<%1>").arg(n), QStringLiteral("<%1 a=1>").arg(lower),
                                   QStringLiteral("</%1>").arg(lower), QStringLiteral("<%1/>").arg(n),
                                   QStringLiteral("<%1\r\n>").arg(n), QStringLiteral("<%1\t>").arg(n)})
            ExpectPass(tag);
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
    // A row of TH cells: "</TR>" cannot follow "<TR>".
    f = FaultOf(QStringLiteral("<table><tr><th>h</th></tr></table>"));
    EXPECT_EQ(f.position, 22);
    EXPECT_EQ(f.message, Table(S("</TR> не может быть закрыт после тега <TR>")));
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

TEST(TagCheckerTable, TableTagsInsideSkippedRegionsDoNotCount)
{
    ExpectPass(QStringLiteral("<!-- <td> --><script>'<tr>'</script><table><tr><td></td></tr></table>"));
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
