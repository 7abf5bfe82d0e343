#include "tools/ElementMarkup.h"

#include <gtest/gtest.h>

namespace {

struct MarkupCase {
    const char* name;
    QString made;
    QString expected;
};

// The acceptance cases (link, class before href, empty-cell table, image,
// background) run through the commands in tests/tools/ui; these are the rest.
TEST(ElementMarkup, ClassAndSelectionInImageAndTable)
{
    const MarkupCase cases[] = {
        {"image without class", ImageMarkup(QStringLiteral("a.gif"), QString()), QStringLiteral("<img src=a.gif>")},
        {"table with class", TableMarkup(QStringLiteral("x\r\ny"), QStringLiteral("menu")),
         QStringLiteral("<TABLE class=menu cellspacing=0 cellpadding=0>\r\n<TR>\r\n<TD>\r\nx\r\ny\r\n</TD>\r\n</TR>\r\n</TABLE>\r\n")},
        {"no class part", ClassPart(QString()), QString()},
    };
    for (const MarkupCase& c : cases)
        EXPECT_EQ(c.made, c.expected) << c.name;
}

TEST(ElementMarkup, FlashMovieObjectAndEmbed)
{
    FlashMovie m;
    m.path = QStringLiteral("swf/intro.swf");
    m.width = QStringLiteral("640");
    m.height = QStringLiteral("480");
    m.version = QStringLiteral("9");
    const QString plain = FlashMarkup(m);
    EXPECT_EQ(plain,
              QStringLiteral("<object classid=\"clsid:d27cdb6e-ae6d-11cf-96b8-444553540000\" codebase=\"") + kFlashCabinetUrl
                  + QStringLiteral("#version=9,0,0,0\" width=\"640\" height=\"480\">\r\n"
                                   "<param name=\"allowScriptAccess\" value=\"sameDomain\" />\r\n"
                                   "<param name=\"movie\" value=\"swf/intro.swf\" />\r\n"
                                   "<param name=\"quality\" value=\"high\" />\r\n"
                                   "<embed src=\"swf/intro.swf\" quality=\"high\" width=\"640\" height=\"480\" "
                                   "allowScriptAccess=\"sameDomain\" type=\"application/x-shockwave-flash\" pluginspage=\"")
                  + kFlashPlayerPage + QStringLiteral("\" />\r\n</object>\r\n"));
    // Without JavaScript no swliveconnect; width and height twice either way.
    m.javaScript = true;
    const QString withJs = FlashMarkup(m);
    const struct {
        const QString& markup;
        int liveConnect;
    } cases[] = {{plain, 0}, {withJs, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.markup.count(QStringLiteral("swliveconnect=\"true\" ")), c.liveConnect);
        EXPECT_EQ(c.markup.count(QStringLiteral("width=\"640\"")), 2);
        EXPECT_EQ(c.markup.count(QStringLiteral("height=\"480\"")), 2);
    }
    EXPECT_TRUE(withJs.contains(QStringLiteral("quality=\"high\" swliveconnect=\"true\" width=\"640\"")));
    EXPECT_TRUE(kFlashCabinetUrl.endsWith(QStringLiteral(".cab")));
}

TEST(ElementMarkup, OnlySwfFilesAreMovies)
{
    const struct {
        const char* path;
        bool movie;
    } cases[] = {{"intro.swf", true}, {"dir/INTRO.SWF", true}, {"a.swf.png", false}, {"swf", false}, {"x.swf/y", false}, {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsFlashMoviePath(QString::fromLatin1(c.path)), c.movie) << c.path;
}

TEST(ElementMarkup, CommentBoxRefusesRepeatedAndLeadingBlanks)
{
    const struct {
        const char* text;
        int caret;
        const char* tidy;
        int tidyCaret;
        bool changed;
    } cases[] = {
        {"a ", 2, "a ", 2, false},
        {"a  ", 3, "a ", 2, true},         // a second blank after a blank
        {" ", 1, "", 0, true},             // a leading blank
        {"a  b", 2, "a b", 2, true},       // typed in front of a blank
        {"x   y  z", 8, "x y z", 5, true}, // pasted runs
        {"a\n b", 4, "a\n b", 4, false},   // a blank after a line break stays
    };
    for (const auto& c : cases) {
        const CommentBoxText t = TidyCommentBox(QString::fromLatin1(c.text), c.caret);
        EXPECT_EQ(t.text, QString::fromLatin1(c.tidy)) << c.text;
        EXPECT_EQ(t.caret, c.tidyCaret) << c.text;
        EXPECT_EQ(t.changed, c.changed) << c.text;
    }
}

TEST(ElementMarkup, CommentsGoOnOneLineWithThreeBlanksForEachBreak)
{
    const struct {
        const char* box;
        const char* comment;
    } cases[] = {
        {"first\nsecond", "<!--first   second-->"},
        {"first\r\nsecond", "<!--first   second-->"},
        {"  a    b \n", "<!--a b-->"},
        {"a\n\nb", "<!--a      b-->"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommentMarkup(QString::fromLatin1(c.box)), QString::fromLatin1(c.comment)) << c.box;
    EXPECT_TRUE(CommentIsBlank(QStringLiteral(" \n  ")));
    EXPECT_FALSE(CommentIsBlank(QStringLiteral(" . ")));
}

} // namespace
