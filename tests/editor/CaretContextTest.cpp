#include "editor/CaretContext.h"
#include "editor/MemoryTextModel.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

std::optional<ColourCodeFind> Code(int start, int length, bool selected = false)
{
    return ColourCodeFind{start, length, selected};
}

MemoryTextModel WithSelection(const char* text, int start, int length = 0)
{
    MemoryTextModel m(S(text));
    m.setSelStart(start);
    m.setSelLength(length);
    return m;
}

TEST(CaretContextColour, ScanFindsTheCodeBeforeTheCaret)
{
    const QString css = S("color: #FF8800;"); // "#" at 7, last digit at 13
    for (int caret = 8; caret <= 13; ++caret)
        EXPECT_EQ(FindColourCode(css, caret, 0), Code(7, 7)) << caret;
    EXPECT_EQ(FindColourCode(css, 7, 0), std::nullopt);  // before the "#"
    EXPECT_EQ(FindColourCode(css, 14, 0), std::nullopt); // after the last digit

    const QString shortCode = S("c:#f80;");
    for (int caret = 3; caret <= 5; ++caret)
        EXPECT_EQ(FindColourCode(shortCode, caret, 0), Code(2, 4)) << caret;
    EXPECT_EQ(FindColourCode(shortCode, 6, 0), std::nullopt);

    // Six digits win over three; digits after the code are not looked at.
    EXPECT_EQ(FindColourCode(S("#abcdef"), 2, 0), Code(0, 7));
    EXPECT_EQ(FindColourCode(S("#ABCDEF12"), 3, 0), Code(0, 7));
    EXPECT_EQ(FindColourCode(S("#abcx"), 2, 0), Code(0, 4));
    // Offsets count a line break as two characters.
    EXPECT_EQ(FindColourCode(S("a\r\n#fff"), 5, 0), Code(3, 4));

    // Character references are never colours.
    for (const char* ref : {"&#215;", "&#abc;", "&#abcdef;"})
        for (int caret = 0; caret <= int(qstrlen(ref)); ++caret)
            EXPECT_EQ(FindColourCode(S(ref), caret, 0), std::nullopt) << ref << " " << caret;

    for (int caret : {-5, 0, 1, 2, 3, 100})
        EXPECT_EQ(FindColourCode(S("#12"), caret, 0), std::nullopt) << caret;
    EXPECT_EQ(FindColourCode(QString(), 0, 0), std::nullopt);
    EXPECT_EQ(FindColourCode(QString(), 3, 7), std::nullopt);
    EXPECT_EQ(FindColourCode(S("#fff"), 6, 0), std::nullopt); // past the end, too far from the "#"
}

TEST(CaretContextColour, SelectionOfFourOrSevenIsTakenAsItIs)
{
    const QString text = S("x #FF8800 #f80 y");
    EXPECT_EQ(FindColourCode(text, 2, 7), Code(2, 7, true));
    EXPECT_EQ(FindColourCode(S("x #ff8800"), 2, 7), Code(2, 7, true));
    EXPECT_EQ(FindColourCode(text, 10, 4), Code(10, 4, true));
    // Seven characters that are no code give nothing, though the caret is in one.
    EXPECT_EQ(FindColourCode(text, 3, 0), Code(2, 7));
    EXPECT_EQ(FindColourCode(text, 3, 7), std::nullopt);
    EXPECT_EQ(FindColourCode(text, 11, 4), std::nullopt);
    // Other lengths scan from the selection's start.
    EXPECT_EQ(FindColourCode(text, 3, 5), Code(2, 7));
}

TEST(CaretContextColour, IfColorDetectsAndReplaces)
{
    const TColor orange = 0x0088FF; // red in the low byte
    MemoryTextModel m = WithSelection("a #f80 b", 4);
    FoundColour = 0;
    EXPECT_TRUE(IF_COLOR(m, std::nullopt, false));
    EXPECT_EQ(FoundColour, orange);
    EXPECT_EQ(m.selStart(), 4);
    EXPECT_EQ(m.selLength(), 0);
    EXPECT_TRUE(IF_COLOR(m, std::nullopt, true));
    EXPECT_EQ(m.selText(), S("#f80"));

    // No code: nothing changes.
    MemoryTextModel none = WithSelection("&#215; b", 3);
    FoundColour = 5;
    EXPECT_FALSE(IF_COLOR(none, TColor(0x0000FF), true));
    EXPECT_EQ(none.text(), S("&#215; b"));
    EXPECT_EQ(FoundColour, 5);

    struct Case {
        const char* text;
        int caret;
        TColor colour;
        const char* after;
        const char* selected;
    };
    const Case cases[] = {
        {"a #f80 b", 4, 0x0000FF, "a #F00 b", "#F00"},       // three digits stay three when they can
        {"a #f80 b", 4, 0x563412, "a #123456 b", "#123456"}, // otherwise six
        {"a #ff8800 b", 4, 0x0000FF, "a #FF0000 b", "#FF0000"},
        {"x\r\n#fff;", 5, 0x00FF00, "x\r\n#0F0;", "#0F0"},
    };
    for (const Case& c : cases) {
        MemoryTextModel r = WithSelection(c.text, c.caret);
        EXPECT_TRUE(IF_COLOR(r, c.colour, true)) << c.text;
        EXPECT_EQ(r.text(), S(c.after));
        EXPECT_EQ(r.selText(), S(c.selected));
        EXPECT_EQ(FoundColour, c.colour);
    }

    // A selected code takes the long form; the caret ends after it.
    MemoryTextModel sel = WithSelection("a #f80 b", 2, 4);
    EXPECT_TRUE(IF_COLOR(sel, TColor(0x0000FF), true));
    EXPECT_EQ(sel.text(), S("a #FF0000 b"));
    EXPECT_EQ(sel.selStart(), 9);
    EXPECT_EQ(sel.selLength(), 0);
    MemoryTextModel selDetect = WithSelection("a #ABCDEF b", 2, 7);
    EXPECT_TRUE(IF_COLOR(selDetect, std::nullopt, false));
    EXPECT_EQ(FoundColour, 0xEFCDAB);

    // Without select the code is still replaced, not the caret's place.
    MemoryTextModel plain = WithSelection("a #f80 b", 4);
    EXPECT_TRUE(IF_COLOR(plain, TColor(0x0000FF), false));
    EXPECT_EQ(plain.text(), S("a #F00 b"));
    EXPECT_EQ(plain.selLength(), 0);
}

TEST(CaretContextPaths, ImageExtensions)
{
    for (const char* yes : {".gif", ".GiF", ".jpg", ".BMP", ".ico", ".png", ".swf"})
        EXPECT_TRUE(IMG_IN_EXTENSIONS(S(yes))) << yes;
    for (const char* no : {".jpe", "jpeg", "gif.", ".gif ", ".gi", "", ".ſwf", ".htm"})
        EXPECT_FALSE(IMG_IN_EXTENSIONS(S(no))) << no;
}

TEST(CaretContextPaths, ImagePathAroundTheCaret)
{
    const QString css = S("url(img/pic.gif)"); // "(" at 3, "." at 11, ")" at 15
    for (int caret = 5; caret <= 12; ++caret)
        EXPECT_EQ(ImagePathAt(css, caret), S("img/pic.gif")) << caret;
    for (int caret : {-1, 0, 1, 4, 13, 14, 15, 16, 17, 1000})
        EXPECT_EQ(ImagePathAt(css, caret), std::nullopt) << caret;

    const QString jpeg = S("url(img/pic.jpeg)");
    for (int caret = 0; caret <= int(jpeg.size()) + 1; ++caret)
        EXPECT_EQ(ImagePathAt(jpeg, caret), std::nullopt) << caret;

    EXPECT_EQ(ImagePathAt(S("<p>\r\n<img src=\"a\\b.PNG\">"), 16), S("a/b.PNG"));
    EXPECT_EQ(ImagePathAt(S("x='movie.swf'"), 4), S("movie.swf"));
    EXPECT_EQ(ImagePathAt(S("img/pic.gif"), 3), std::nullopt);   // no opening delimiter
    EXPECT_EQ(ImagePathAt(S("\"a b.gif\""), 2), std::nullopt);   // the blank ends the scan
    EXPECT_EQ(ImagePathAt(QString(), 0), std::nullopt);
}

TEST(CaretContextPaths, DocumentPathAroundTheCaret)
{
    const QString link = S("<a href=\"page.html\">x</a>"); // "p" at 9, "." at 13
    for (int caret = 10; caret <= 14; ++caret)
        EXPECT_EQ(DocumentPathAt(link, caret), S("page.html")) << caret;
    for (int caret : {-3, 0, 9, 15, 18, 19, int(link.size()), 500})
        EXPECT_EQ(DocumentPathAt(link, caret), std::nullopt) << caret;

    EXPECT_EQ(DocumentPathAt(S("HREF='Sub\\Page.HTM'"), 8), S("Sub/Page.HTM"));
    EXPECT_EQ(DocumentPathAt(S("<script src=lib.Js>"), 14), S("lib.Js"));
    EXPECT_EQ(DocumentPathAt(S("@import url(site.css);"), 14), S("site.css"));
    EXPECT_EQ(DocumentPathAt(S("a\r\n'notes.txt'"), 6), S("notes.txt"));
    EXPECT_EQ(DocumentPathAt(S("\"page.php\""), 2), std::nullopt);
    EXPECT_EQ(DocumentPathAt(S("page.html"), 2), std::nullopt);
    EXPECT_EQ(DocumentPathAt(S("\"a.\""), 2), std::nullopt);
    EXPECT_EQ(DocumentPathAt(QString(), 0), std::nullopt);
}

TEST(CaretContextPaths, FullPathStatusAndHint)
{
    EXPECT_EQ(PathBesideDocument(S("/home/u/site/index.html"), S("img/a.gif")), S("/home/u/site/img/a.gif"));
    EXPECT_EQ(PathBesideDocument(QString(), S("img/a.gif")), QString());
    EXPECT_EQ(PathBesideDocument(S("index.html"), S("a.gif")), S("a.gif"));

    const QString tail = S(" kB   Ctrl + Клик для показа");
    EXPECT_EQ(ImageStatusText(S("pic.gif"), 2560, QLocale::c()), S("pic.gif     2.500") + tail);
    EXPECT_EQ(ImageStatusText(S("/site/img/pic.gif"), 0, QLocale(QLocale::Russian)), S("pic.gif     0,000") + tail);
    EXPECT_EQ(ImageStatusText(S("big.png"), 123456789, QLocale::c()), S("big.png  120563.271") + tail);

    EXPECT_EQ(DocumentPathHint(S("/site/sub/Page.html")),
              S("Кликните удерживая Ctrl для редактирования PAGE.HTML в новом редакторе"));
}

TEST(CaretContextComment, CommentAroundTheCaret)
{
    const QString text = S("x<!-- a   b -->y"); // "<!--" at 1, "-->" ends at 14
    const CommentFind ab{1, 14, S(" a   b ")};
    for (int caret = 2; caret <= 14; ++caret)
        EXPECT_EQ(CommentAt(text, caret), ab) << caret;
    for (int caret : {-1, 0, 1, 15, 16, 17, 400})
        EXPECT_EQ(CommentAt(text, caret), std::nullopt) << caret;
    EXPECT_EQ(CommentDialogText(ab.text), S(" a\r\nb "));

    EXPECT_EQ(CommentAt(S("<!-- a --><!--b-->"), 15), (CommentFind{10, 8, S("b")}));
    EXPECT_EQ(CommentAt(S("<!-- a --> b"), 11), std::nullopt);
    EXPECT_EQ(CommentAt(S("<p>\r\n<!--x-->"), 10), (CommentFind{5, 8, S("x")}));
    EXPECT_EQ(CommentAt(S("<!---->"), 3), std::nullopt); // empty text
    EXPECT_EQ(CommentAt(QString(), 0), std::nullopt);

    // The "<!--" may start up to 129 characters before the caret.
    const QString longer = S("<!--") + QString(200, u'a') + S("-->");
    EXPECT_EQ(CommentAt(longer, 129), (CommentFind{0, 207, QString(200, u'a')}));
    EXPECT_EQ(CommentAt(longer, 130), std::nullopt);
    // Its end is looked for in 500 characters; beyond them only the caret moves.
    const QString unended = S("<!--") + QString(600, u'a') + S("-->");
    EXPECT_EQ(CommentAt(unended, 10), (CommentFind{0, 0, QString(496, u'a')}));
    const QString shifted = QString(100, u'b') + unended; // the 500 start 129 before the caret
    EXPECT_EQ(CommentAt(shifted, 200), (CommentFind{100, 0, QString(571 - 104, u'a')}));

    EXPECT_EQ(CommentDialogText(S("a      b")), S("a\r\n\r\nb"));
    EXPECT_EQ(CommentDialogText(S("a    b")), S("a\r\n b"));
    EXPECT_EQ(CommentDialogText(S("a  b")), S("a  b"));
}

TEST(CaretContextSwatch, PlacedBesideThePointerAndFlippedAtTheEdges)
{
    const QPoint editor(0, 30);
    const QSize swatch(50, 50);
    const QSize client(800, 600);
    EXPECT_EQ(SwatchPosition(editor, {100, 50}, client, 20, swatch), QPoint(110, 90));
    // Right edge: flipped once left + width + 5 passes the client width.
    EXPECT_EQ(SwatchPosition(editor, {735, 50}, client, 20, swatch), QPoint(745, 90));
    EXPECT_EQ(SwatchPosition(editor, {736, 50}, client, 20, swatch), QPoint(696, 90));
    // Bottom: the status bar counts as outside.
    EXPECT_EQ(SwatchPosition(editor, {100, 485}, client, 20, swatch), QPoint(110, 525));
    EXPECT_EQ(SwatchPosition(editor, {100, 486}, client, 20, swatch), QPoint(110, 476));
    EXPECT_EQ(SwatchPosition({5, 0}, {790, 590}, client, 0, swatch), QPoint(755, 550));
}

} // namespace
