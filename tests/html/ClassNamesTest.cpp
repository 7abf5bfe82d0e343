#include "TestSupport.h"
#include "editor/MemoryTextModel.h"
#include "html/ClassNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ClassNamesStyleBlock, NamesOnceIgnoringCase)
{
    EXPECT_EQ(ClassNamesFromStyleBlock(QStringLiteral("<style>.a, .b {}\r\n.A{}</style>")), QStringList({"a", "b"}));
    EXPECT_EQ(ClassNamesFromStyleBlock(QStringLiteral("<STYLE type=text/css>\r\n.menu:hover{x:1}\r\n"
                                                      "p.note[title]{}\r\n.t\t{}\r\n.u(x){}.v;</STYLE>")),
              QStringList({"menu", "note", "t", "u", "v"}));
}

TEST(ClassNamesStyleBlock, OnlyTheFirstBlockBeforeTheEndOfTheHead)
{
    // Dots in rule bodies and outside the block are no names; the walk
    // ends at the first block's end.
    EXPECT_EQ(ClassNamesFromStyleBlock(QStringLiteral("<title>a.b c</title><style>.x{margin:0.5em}</style>"
                                                      "<style>.y{}</style>")),
              QStringList({"x"}));
    EXPECT_TRUE(ClassNamesFromStyleBlock(QStringLiteral("<head></head><style>.x{}</style>")).isEmpty());
    EXPECT_TRUE(ClassNamesFromStyleBlock(QStringLiteral(".x{}")).isEmpty());
    // A "<" or ">" first, or the end of the text: no name.
    EXPECT_TRUE(ClassNamesFromStyleBlock(QStringLiteral("<style>.x</style>")).isEmpty());
    EXPECT_TRUE(ClassNamesFromStyleBlock(QStringLiteral("<style>.open")).isEmpty());
    EXPECT_TRUE(ClassNamesFromStyleBlock(QString()).isEmpty());
}

TEST(ClassNamesStyleBlock, CompoundSelectorsAndLineBreaks)
{
    EXPECT_EQ(ClassNamesFromStyleBlock(QStringLiteral("<style>.a.b{} .c\r\n{} .d\r\n.e{}</style>")),
              QStringList({"a", "b", "c", "d", "e"}));
    // An empty name (a dot before a blank) is no entry.
    EXPECT_EQ(ClassNamesFromStyleBlock(QStringLiteral("<style>. {} .k{}</style>")), QStringList({"k"}));
}

TEST(ClassNamesStyleSheet, NamesAsFound)
{
    EXPECT_EQ(ClassNamesFromStyleSheet(QStringLiteral("div.menu{color:red}.x,.y{}")), QStringList({"menu", "x", "y"}));
    // Duplicates stay; blanks and line breaks vanish before the walk.
    EXPECT_EQ(ClassNamesFromStyleSheet(QStringLiteral(".x {}\r\n. m e n u\r\n{}\n.x{}")), QStringList({"x", "menu", "x"}));
    // ":" and "}" drop what was gathered; a name must end at "{" or ",".
    EXPECT_EQ(ClassNamesFromStyleSheet(QStringLiteral(".a:hover{} a:link.z{} .tail")), QStringList({"z"}));
    EXPECT_EQ(ClassNamesFromStyleSheet(QStringLiteral(".a.b{}")), QStringList({"a", "b"}));
    EXPECT_TRUE(ClassNamesFromStyleSheet(QString()).isEmpty());
}

TEST(ClassNamesList, StyleBlockThenLinkedSheets)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("css")));
    testing_support::WriteBytes(folder + QStringLiteral("css/site.css"), ".b{}\r\n.a{}\r\n");
    testing_support::WriteBytes(folder + QStringLiteral("empty.css"), "");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("dir.css")));

    const QString page = QStringLiteral("<head><style>.a{}</style>\r\n<link href=css/site.css>"
                                        "<link href=missing.css><link href=empty.css><link href=dir.css>"
                                        "<img src=pic.gif></head>");
    EXPECT_EQ(ClassNames(page, folder), QStringList({"a", "b", "a"}));
    // Without a folder no sheet is read.
    EXPECT_EQ(ClassNames(page, QString()), QStringList({"a"}));

    QStringList asked;
    const StyleSheetReader reader = [&](const QString& path) -> std::optional<QString> {
        asked << path;
        if (path.endsWith(QStringLiteral("missing.css")))
            return std::nullopt;
        return QStringLiteral(".q{}");
    };
    EXPECT_EQ(ClassNames(page, QStringLiteral("/w/"), reader), QStringList({"a", "q", "q", "q"}));
    EXPECT_EQ(asked, QStringList({"/w/css/site.css", "/w/missing.css", "/w/empty.css", "/w/dir.css"}));
}

TEST(ClassNamesCurrentClass, SelectorTexts)
{
    auto pick = [](const char* text) { return CurrentClassFromText(QString::fromUtf8(text)); };
    for (const char* none : {"Выбор класса", "Нет класса", "", "   \t"}) {
        EXPECT_EQ(pick(none).currentClass, QString()) << none;
        EXPECT_FALSE(pick(none).showNoClass) << none;
    }
    EXPECT_EQ(pick("  warnBox ").currentClass, QStringLiteral("warnBox"));
    EXPECT_FALSE(pick("  warnBox ").showNoClass);
    for (const char* bad : {"my-class", "a1", "класс", "a b", "a_b"}) {
        EXPECT_EQ(pick(bad).currentClass, QString()) << bad;
        EXPECT_TRUE(pick(bad).showNoClass) << bad;
    }
}

TEST(ClassNamesExtractStyle, ValueUnderTheCaretAndTheReplacement)
{
    const QString text = QStringLiteral("<p>\r\n<p style='color:red'>x</p>");
    const int value = int(text.indexOf(u'c'));
    for (int p = value; p <= value + 9; ++p) {
        const StyleExtraction e = ExtractStyle(text, p);
        EXPECT_EQ(e.style, QStringLiteral("color:red")) << p;
        EXPECT_FALSE(e.replace);
    }
    const StyleExtraction e = ExtractStyle(text, value + 3, QStringLiteral("warn"));
    ASSERT_TRUE(e.replace);
    QString applied = text;
    applied.replace(e.start, e.length, e.replacement);
    EXPECT_EQ(applied, QStringLiteral("<p>\r\n<p class=warn>x</p>"));
    EXPECT_EQ(e.caretAfter, int(applied.indexOf(u'>', 5)));

    // Put into the editor, with the caret after the class.
    MemoryTextModel editor(text);
    editor.setSelStart(value + 3);
    ASSERT_TRUE(ApplyStyleExtraction(editor, ExtractStyle(editor.text(), editor.selStart(), QStringLiteral("warn"))));
    EXPECT_EQ(editor.text(), applied);
    EXPECT_EQ(editor.selStart(), e.caretAfter);
    EXPECT_EQ(editor.selLength(), 0);
    EXPECT_FALSE(ApplyStyleExtraction(editor, ExtractStyle(editor.text(), editor.selStart(), QStringLiteral("warn"))));
    EXPECT_EQ(editor.text(), applied);

    // Letter case and either quote.
    EXPECT_EQ(ExtractStyle(QStringLiteral("<b STYLE=\"a:b\">"), 11).style, QStringLiteral("a:b"));
    // "error" as a name asks for the value only.
    EXPECT_FALSE(ExtractStyle(text, value + 3, StyleError).replace);
}

TEST(ClassNamesExtractStyle, OutsideAStyleAttribute)
{
    const QString text = QStringLiteral("<a title=\"x y\" style=\"c:d\">z</a>");
    EXPECT_EQ(ExtractStyle(text, 0).style, StyleError);
    EXPECT_EQ(ExtractStyle(text, -5).style, StyleError);
    EXPECT_EQ(ExtractStyle(text, 11).style, StyleError);                        // inside title
    EXPECT_EQ(ExtractStyle(text, int(text.indexOf(u'z')) + 1).style, StyleError); // after the attribute
    EXPECT_EQ(ExtractStyle(QStringLiteral("<p>plain</p>"), 5).style, StyleError);
    EXPECT_EQ(ExtractStyle(QStringLiteral("'ab"), 2).style, StyleError);
    const StyleExtraction e = ExtractStyle(text, 11, QStringLiteral("k"));
    EXPECT_FALSE(e.replace);
}

TEST(ClassNamesExtractStyle, UnclosedValueIsNeverReplaced)
{
    const QString text = QStringLiteral("<p style=\"color:red\r\nmore text");
    const StyleExtraction e = ExtractStyle(text, int(text.size()), QStringLiteral("warn"));
    EXPECT_EQ(e.style, QString());
    EXPECT_FALSE(e.replace);
    // A caret past the end counts as the end.
    EXPECT_EQ(ExtractStyle(QStringLiteral("<p style='v'>"), 1000).style, StyleError);
    EXPECT_EQ(ExtractStyle(QStringLiteral("<p style='v"), 1000).style, QString());
}

} // namespace
