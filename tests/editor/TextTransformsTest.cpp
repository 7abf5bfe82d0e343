#include "TestSupport.h"

#include "editor/MemoryTextModel.h"
#include "editor/TextTransforms.h"
#include "editor/Undo.h"

using testing_support::IsolatedTest;

namespace {

class TextTransformsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        UndoInit(&m_);
        UndoReset();
    }
    void TearDown() override
    {
        UndoInit(nullptr);
        IsolatedTest::TearDown();
    }
    void select(int start, int length)
    {
        m_.setSelStart(start);
        m_.setSelLength(length);
    }
    // Undoing the last step gives back the text before it.
    void expectOneUndoStepBackTo(const QString& before)
    {
        UndoRestore();
        EXPECT_EQ(m_.text(), before);
    }

    MemoryTextModel m_;
};

TEST_F(TextTransformsTest, CaseAndLayoutKeepTheSelectedRange)
{
    m_.setText(QStringLiteral("ab съешь ß cd"));
    UndoSnapshot();
    select(3, 7); // "съешь ß"
    ConvertSelection(m_, SelectionConversion::Upper);
    EXPECT_EQ(m_.text(), QStringLiteral("ab СЪЕШЬ ß cd")); // ß has no one-letter capital: kept
    EXPECT_EQ(m_.selStart(), 3);
    EXPECT_EQ(m_.selLength(), 7);
    EXPECT_EQ(m_.selText(), QStringLiteral("СЪЕШЬ ß"));
    ConvertSelection(m_, SelectionConversion::Lower);
    EXPECT_EQ(m_.selText(), QStringLiteral("съешь ß"));

    m_.setText(QStringLiteral("ghbdtn"));
    select(0, 6);
    ConvertSelection(m_, SelectionConversion::ToRussianLayout);
    EXPECT_EQ(m_.text(), QStringLiteral("привет"));
    EXPECT_EQ(m_.selLength(), 6);
    ConvertSelection(m_, SelectionConversion::ToLatinLayout);
    EXPECT_EQ(m_.text(), QStringLiteral("ghbdtn"));
    expectOneUndoStepBackTo(QStringLiteral("привет"));
}

TEST_F(TextTransformsTest, WrappingSelectsTheWrappedTextOrPutsTheCaret)
{
    m_.setText(QStringLiteral("a word here"));
    UndoSnapshot();
    select(2, 4);
    TextStyle(m_, QStringLiteral("<b>"), QStringLiteral("</b>"), -1);
    EXPECT_EQ(m_.text(), QStringLiteral("a <b>word</b> here"));
    EXPECT_EQ(m_.selStart(), 2);
    EXPECT_EQ(m_.selLength(), 11);
    expectOneUndoStepBackTo(QStringLiteral("a word here"));

    // No selection: the empty pair is inserted and selected.
    m_.setText(QStringLiteral("xy"));
    select(1, 0);
    TextStyle(m_, QStringLiteral("<i>"), QStringLiteral("</i>"), -1);
    EXPECT_EQ(m_.text(), QStringLiteral("x<i></i>y"));
    EXPECT_EQ(m_.selStart(), 1);
    EXPECT_EQ(m_.selLength(), 7);

    // A caret offset puts the caret inside.
    m_.setText(QStringLiteral("q"));
    select(0, 1);
    TextStyle(m_, QStringLiteral("<a href=\"\">"), QStringLiteral("</a>"), 9);
    EXPECT_EQ(m_.selStart(), 9);
    EXPECT_EQ(m_.selLength(), 0);

    // Ctrl+B: "<br>" after the word, the caret after it.
    m_.setText(QStringLiteral("one two"));
    select(0, 3);
    InsertBreakTag(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("one<br> two"));
    EXPECT_EQ(m_.selStart(), 7);
    EXPECT_EQ(m_.selLength(), 0);
}

TEST_F(TextTransformsTest, LineCleanUps)
{
    EXPECT_EQ(MeaningfulLines({"a", "  ", "", "\t", "b"}), (QStringList{"a", "b"}));
    EXPECT_EQ(TrimLineStart(QStringLiteral("\tx")), QStringLiteral("x"));
    EXPECT_EQ(TrimLineStart(QStringLiteral("   ")), QStringLiteral(" "));
    EXPECT_EQ(TrimLineStart(QStringLiteral(" \t y ")), QStringLiteral("y "));

    m_.setText(QStringLiteral("a\r\n  \r\n\r\nb"));
    UndoSnapshot();
    DeleteMeaninglessLines(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("a\r\nb"));
    expectOneUndoStepBackTo(QStringLiteral("a\r\n  \r\n\r\nb"));

    m_.setText(QStringLiteral("\tx\r\n   \r\n  y  z\r\n"));
    TrimLineStarts(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("x\r\n \r\ny  z\r\n"));
    SquashBlanks(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("x\r\n \r\ny z\r\n"));
}

TEST_F(TextTransformsTest, BreakTagsAndOneLineWorkOnTheSelectionOrTheWholeText)
{
    m_.setText(QStringLiteral("1\r\n2\r\n3"));
    UndoSnapshot();
    AddBreakTagsAtLineEnds(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("1<br>\r\n2<br>\r\n3"));
    expectOneUndoStepBackTo(QStringLiteral("1\r\n2\r\n3"));

    select(0, 4); // "1\r\n2"
    AddBreakTagsAtLineEnds(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("1<br>\r\n2\r\n3"));

    m_.setText(QStringLiteral("a\r\nb\r\nc"));
    select(3, 4); // "b\r\nc"
    JoinIntoOneLine(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("a\r\nb c"));
    select(0, 0);
    JoinIntoOneLine(m_);
    EXPECT_EQ(m_.text(), QStringLiteral("a b c"));
}

TEST_F(TextTransformsTest, RelayoutPutsOneTagPerLine)
{
    EXPECT_EQ(RelayoutCode(QStringLiteral("<p>a<br>b</p>")), QStringLiteral("<p>\r\na<br>\r\nb\r\n</p>"));
    EXPECT_EQ(RelayoutCode(QStringLiteral("<body><table><tr><td>x</td></tr></table><DIV>y</DIV></body>")),
              QStringLiteral("<body>\r\n\r\n<table>\r\n<tr>\r\n<td>\r\nx\r\n</td>\r\n</tr>\r\n</table>\r\n\r\n"
                             "\r\n<DIV>\r\ny\r\n</DIV>\r\n\r\n</body>")); // letter case as written
    EXPECT_EQ(RelayoutCode(QStringLiteral("a<BR>b")), QStringLiteral("a<BR>\r\nb"));
    // Script, pre and textarea contents stay as written; tags around them move.
    EXPECT_EQ(RelayoutCode(QStringLiteral("<p>x</p><script>if (a<b) s = \"<i>\";</script><pre> a\r\n\r\n b</pre>")),
              QStringLiteral("<p>\r\nx\r\n</p>\r\n<script>if (a<b) s = \"<i>\";</script>\r\n<pre> a\r\n\r\n b</pre>"));

    m_.setText(QStringLiteral("<p>a</p>"));
    UndoSnapshot();
    RelayoutDocument(m_);
    EXPECT_EQ(m_.lineCount(), 3);
    expectOneUndoStepBackTo(QStringLiteral("<p>a</p>"));
}

TEST_F(TextTransformsTest, SelectionFileAndPanelPlace)
{
    EXPECT_EQ(SelectionFileText(QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(SelectionFileText(QString()), QString());

    const QSize panel(315, 31);
    EXPECT_EQ(ToolPanelPosition({400, 300}, 900, panel), QPoint(243, 200));
    EXPECT_EQ(ToolPanelPosition({100, 50}, 900, panel), QPoint(0, 0));
    EXPECT_EQ(ToolPanelPosition({850, 300}, 900, panel), QPoint(900 - 315 - 10, 200));
}

} // namespace
