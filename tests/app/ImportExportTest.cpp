#include "app/ImportExport.h"

#include "platform/Codecs.h"
#include "store/Utilities.h"

#include <gtest/gtest.h>

namespace {

QByteArray cp1251(const QString& s) { return platform::EncodeCp1251(s); }

// An archive's lines joined with CR LF, in Windows-1251.
QByteArray archive(const QStringList& lines) { return cp1251(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")); }

const QString kDoctype = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");

} // namespace

TEST(ImportExportTextImport, ThreeLinesBecomeTheBodyOfAPageTitledWithTheBaseName)
{
    const QString page = TextImportPage(QStringLiteral("Первая строка\r\nвторая\r\n\r\n"), FileBaseName(QStringLiteral("/home/u/Заметки.txt")));
    EXPECT_EQ(page,
              QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
                             "<HTML>\r\n"
                             "<HEAD>\r\n"
                             "<title>Заметки</title>\r\n"
                             "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\r\n"
                             "</HEAD>\r\n"
                             "<BODY style='margin:30;background:#FFF;font:13px Verdana;color:#000;'>\r\n"
                             "Первая строка<br>\r\n"
                             "вторая<br>\r\n"
                             "<br>\r\n"
                             "</BODY>\r\n"
                             "</HTML>\r\n"));
    // An empty file still makes a whole page, with an empty body.
    EXPECT_TRUE(TextImportPage(QString(), QStringLiteral("x")).endsWith(QStringLiteral("color:#000;'>\r\n</BODY>\r\n</HTML>\r\n")));
}

TEST(ImportExportTextImport, MarkupCharactersOfTheTextAndTitleAreShownNotInterpreted)
{
    const QString page = TextImportPage(QStringLiteral("if (a < b && c > d)\r\n<b>&amp;</b>\r\n"), QStringLiteral("R&D <1>"));
    EXPECT_TRUE(page.contains(QStringLiteral("<title>R&amp;D &lt;1&gt;</title>\r\n")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("'>\r\n"
                                             "if (a &lt; b &amp;&amp; c &gt; d)<br>\r\n"
                                             "&lt;b&gt;&amp;amp;&lt;/b&gt;<br>\r\n"
                                             "</BODY>\r\n</HTML>\r\n")));
}

TEST(ImportExportMht, DecodesThePageKeepsItsCaseAndGathersTheStylesIntoTheHead)
{
    const QByteArray mht = archive({
        QStringLiteral("From: <Saved by a browser>"),
        QStringLiteral("MIME-Version: 1.0"),
        QStringLiteral("Content-Type: multipart/related; boundary=\"--------Part01\""),
        QString(),
        QStringLiteral("----------Part01"),
        QStringLiteral("Content-Type: text/html; charset=\"windows-1251\""),
        QStringLiteral("Content-Transfer-Encoding: quoted-printable"),
        QString(),
        kDoctype,
        QStringLiteral("<HTML><HEAD><TITLE>Проба</TITLE></HEAD>"),
        QStringLiteral("<BODY><P class=3D\"Note\">Hello =E0=F2=EE World a=3Db</P>"),
        QStringLiteral("<SCRIPT>var s =3D \"=20\";</SCRIPT><!-- =20 --><P>Wo="),
        QStringLiteral("rd =3D41</P>"),
        QStringLiteral("</BODY></HTML>"),
        QStringLiteral("trailing text after the page"),
        QStringLiteral("----------Part01"),
        QStringLiteral("Content-Type: text/css;"),
        QStringLiteral("Content-Transfer-Encoding: quoted-printable"),
        QString(),
        QStringLiteral("P.Note {color: red}"),
        QStringLiteral("  .X {margin: 0}"),
        QStringLiteral("----------Part01--"),
    });
    EXPECT_EQ(ImportMHT(mht),
              kDoctype + QStringLiteral("\r\n"
                                        "<HTML><HEAD><TITLE>Проба</TITLE><style>\r\n"
                                        "P.Note {color: red}\r\n"
                                        "  .X {margin: 0}\r\n"
                                        "</style>\r\n"
                                        "</HEAD>\r\n"
                                        "<BODY><P class=\"Note\">Hello ато World a=b</P>\r\n"
                                        "<SCRIPT>var s = \"=20\";</SCRIPT><!-- =20 --><P>Word =41</P>\r\n"
                                        "</BODY></HTML>"));

    // Headers in lower case, a lower-case head end, and a style part never
    // closed by a boundary: the head gets an empty style block.
    const QByteArray lower = archive({
        QStringLiteral("content-type: text/html"),
        QString(),
        QStringLiteral("<!doctype html>"),
        QStringLiteral("<html><head></head><body>=c0=e1=e2 ABC</body></html>"),
        QStringLiteral("----------b"),
        QStringLiteral("content-type: text/css;"),
        QString(),
        QString(),
        QStringLiteral("p {}"),
    });
    EXPECT_EQ(ImportMHT(lower), QStringLiteral("<!doctype html>\r\n<html><head><style>\r\n</style>\r\n</head><body>Абв ABC</body></html>"));
}

TEST(ImportExportMht, EscapesAreDecodedInTextAndQuotedValuesOnly)
{
    const auto page = [](const QString& body) {
        return ImportMHT(archive({kDoctype, QStringLiteral("<HTML><BODY>") + body + QStringLiteral("</BODY></HTML>")}));
    };
    const auto bodyOf = [](const QString& imported) {
        const qsizetype from = imported.indexOf(QStringLiteral("<BODY>")) + 6;
        return imported.mid(from, imported.indexOf(QStringLiteral("</BODY>")) - from);
    };
    // Text content, and a quoted value that begins with an escape.
    EXPECT_EQ(bodyOf(page(QStringLiteral("a=20b<IMG alt=3D\"=E0=20b\">=3D"))), QStringLiteral("a b<IMG alt=\"а b\">="));
    // Not in a tag outside a value, a script or a comment.
    EXPECT_EQ(bodyOf(page(QStringLiteral("<P style=3Dx=20y><script>a=20b</script>c=20<!-- d=20e -->"))),
              QStringLiteral("<P style=x=20y><script>a=20b</script>c <!-- d=20e -->"));
    // A page that is not quoted-printable still has its "=XX" read as escapes.
    EXPECT_EQ(bodyOf(page(QStringLiteral("1=AB2"))), QStringLiteral("1«2"));
    // Malformed escapes stay as written, and so does what follows them.
    EXPECT_EQ(bodyOf(page(QStringLiteral("x=ZZ y=G1 z=<b>=4</b>"))), QStringLiteral("x=ZZ y=G1 z=<b>=4</b>"));
    // A soft line break inside a word joins its halves.
    EXPECT_EQ(bodyOf(page(QStringLiteral("con=\r\ntinued"))), QStringLiteral("continued"));
}

TEST(ImportExportMht, HeadersDoctypeAndTruncatedArchives)
{
    // No doctype: the MIME headers stay, and the page is still decoded.
    EXPECT_EQ(ImportMHT(archive({QStringLiteral("Content-Type: text/html"), QString(), QStringLiteral("<HTML><BODY>=E0</BODY></HTML>"), QStringLiteral("--")})),
              QStringLiteral("Content-Type: text/html\r\n\r\n<HTML><BODY>а</BODY></HTML>"));
    // Escapes cut off at the very end of the archive (no final line end).
    EXPECT_EQ(ImportMHT(cp1251(kDoctype + QStringLiteral("<P>x=E"))), kDoctype + QStringLiteral("<P>x=E\r\n"));
    EXPECT_EQ(ImportMHT(cp1251(kDoctype + QStringLiteral("<P>x="))), kDoctype + QStringLiteral("<P>x"));
    EXPECT_EQ(ImportMHT(cp1251(kDoctype + QStringLiteral("<P>x=E0"))), kDoctype + QStringLiteral("<P>xа\r\n"));
    EXPECT_EQ(ImportMHT(QByteArray("=")), QStringLiteral(""));
    EXPECT_EQ(ImportMHT(QByteArray()), QString());
    // CR and LF line ends read as CR LF.
    EXPECT_EQ(ImportMHT(QByteArray("a\nb\rc")), QStringLiteral("a\r\nb\r\nc\r\n"));
}

TEST(ImportExportMht, TheDeclaredCharsetDecodesThePage)
{
    // UTF-8 declared in the page part's headers: an escape is one byte.
    const QByteArray headers = QByteArray("Content-Type: text/html;\r\n\tcharset=\"UTF-8\"\r\n\r\n") + platform::EncodeUtf8(kDoctype) +
                               "<P>=D0=B0=D0=\r\n=91 " + platform::EncodeUtf8(QStringLiteral("Ёж")) + "</P>\r\n";
    EXPECT_EQ(ImportMHT(headers), kDoctype + QStringLiteral("<P>аБ Ёж</P>\r\n"));
    // Only a quoted-printable META says so.
    const QByteArray meta = platform::EncodeUtf8(kDoctype) + "<META content=3D\"text/html; charset=3Dutf-8\"><P>=D1=8F</P>\r\n";
    EXPECT_EQ(ImportMHT(meta), kDoctype + QStringLiteral("<META content=\"text/html; charset=utf-8\"><P>я</P>\r\n"));
    // The page's own declaration wins over a style part's.
    const QByteArray mixed = archive({QStringLiteral("Content-Type: text/html; charset=windows-1251"), QString(), kDoctype,
                                      QStringLiteral("<P>=E0</P></HTML>"), QStringLiteral("Content-Type: text/css; charset=utf-8")});
    EXPECT_EQ(ImportMHT(mixed), kDoctype + QStringLiteral("\r\n<P>а</P></HTML>"));
    // Nothing declared: Windows-1251.
    EXPECT_EQ(ImportMHT(cp1251(kDoctype) + "<P>=D0=B0</P>"), kDoctype + QStringLiteral("<P>Р°</P>\r\n"));
}

TEST(ImportExportHtml, LineBreaksBlanksAndTableTags)
{
    EXPECT_EQ(CompressHtml(QStringLiteral("<p>one\r\ntwo \t  three</p>")), QStringLiteral("<p>one two three</p>"));
    EXPECT_EQ(CompressHtml(QStringLiteral("<table>\r\n  <tr>\r\n\t<td> Cell </td>\r\n  </tr>\r\n</table>\r\n")),
              QStringLiteral("<table><TR><TD>Cell</TD></TR></table> "));
    EXPECT_EQ(CompressHtml(QStringLiteral("line <BR> \r\nnext")), QStringLiteral("line<br>next"));
    // The blank after a tag that follows a blank goes; others stay.
    EXPECT_EQ(CompressHtml(QStringLiteral("x <b> y</b> z <i>w</i> v")), QStringLiteral("x <b>y</b> z <i>w</i> v"));
    EXPECT_EQ(CompressHtml(QStringLiteral("a <b> <i> c")), QStringLiteral("a <b><i> c"));
    EXPECT_EQ(CompressionFigure, QStringLiteral("    9.09"));
    EXPECT_EQ(CompressHtml(QString()), QString());
    EXPECT_EQ(CompressionFigure, QStringLiteral("---"));
}

TEST(ImportExportHtml, PreTextareaAndScriptContentIsKept)
{
    EXPECT_EQ(CompressHtml(QStringLiteral("<pre>\r\n  a   b\r\n</pre>\r\n<p>  x</p>")), QStringLiteral("<pre>\r\n  a   b\r\n</pre> <p>x</p>"));
    const QString script = QStringLiteral("<SCRIPT type=\"text/javascript\">\r\nvar a = 1; // note\r\nvar b  = 2;\r\n</SCRIPT>");
    EXPECT_EQ(CompressHtml(script + QStringLiteral("\r\n\r\n<p>z</p>")), script + QStringLiteral(" <p>z</p>"));
    EXPECT_EQ(CompressHtml(QStringLiteral("<textarea name=t>  1\r\n\t2 <td> </textarea>  <td> 3")),
              QStringLiteral("<textarea name=t>  1\r\n\t2 <td> </textarea><TD>3"));
    // Never closed: kept to the end.
    EXPECT_EQ(CompressHtml(QStringLiteral("<pre>a  \r\nb")), QStringLiteral("<pre>a  \r\nb"));
    // Not those elements: a longer name, or one mentioned in a comment.
    EXPECT_EQ(CompressHtml(QStringLiteral("<preview>  a</preview>")), QStringLiteral("<preview> a</preview>"));
    EXPECT_EQ(CompressHtml(QStringLiteral("<!-- <pre> -->  a\r\n  b")), QStringLiteral("<!-- <pre>--> a b"));
}

TEST(ImportExportCss, BracesSemicolonsColonsAndParentheses)
{
    EXPECT_EQ(CompressCss(QStringLiteral("div .a {\r\n\tcolor : red ;\r\n\tmargin: 0 .5em;\r\n}\r\n")), QStringLiteral("div .a{color:red;margin:0 .5em}"));
    // The rules run one after the other: "; }" loses its semicolon only
    // after " }" has been looked for, so the blank before it stays.
    EXPECT_EQ(CompressCss(QStringLiteral("p { background: url( a.png ) ; }")), QStringLiteral("p{background:url(a.png) }"));
    EXPECT_EQ(CompressCss(QStringLiteral("a { b }")), QStringLiteral("a{b}"));
    EXPECT_EQ(CompressionFigure, QStringLiteral("   42.86"));
    EXPECT_EQ(CompressCss(QString()), QString());
    EXPECT_EQ(CompressionFigure, QStringLiteral("---"));
}

TEST(ImportExportReport, FigureReportAndTrailingZeros)
{
    EXPECT_EQ(CompressionFigureOf(4, 3), QStringLiteral("   25.00"));
    EXPECT_EQ(CompressionFigureOf(3, 0), QStringLiteral("  100.00"));
    EXPECT_EQ(CompressionFigureOf(10, 10), QStringLiteral("    0.00"));
    EXPECT_EQ(CompressionFigureOf(1, 2), QStringLiteral(" -100.00"));
    EXPECT_EQ(CompressionFigureOf(0, 0), QStringLiteral("---"));

    EXPECT_EQ(ExportReport(QStringLiteral("   25.00"), false), QStringLiteral("Файл сжат на    25.00 %"));
    EXPECT_EQ(ExportReport(QStringLiteral("---"), true),
              QStringLiteral("Файл сжат на --- %\r\nСоздана резервная копия оригинала замененного файла"));

    EXPECT_EQ(DropTrailingZeros(QStringLiteral("12.50")), QStringLiteral("12.5"));
    EXPECT_EQ(DropTrailingZeros(QStringLiteral("12.00")), QStringLiteral("12."));
    EXPECT_EQ(DropTrailingZeros(QStringLiteral("100")), QStringLiteral("1"));
    EXPECT_EQ(DropTrailingZeros(QStringLiteral("000")), QString());
    EXPECT_EQ(DropTrailingZeros(QStringLiteral("0.05")), QStringLiteral("0.05"));
}
