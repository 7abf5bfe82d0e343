#include "editor/ui/KRichEdit.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class KRichEditEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = TKRichEdit::LineHeight;
        edit_.resize(400, 300);
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("line %1").arg(i);
        edit_.setText(lines.join(QStringLiteral("\r\n")));
        edit_.show();
        edit_.measureLineHeight();
        QApplication::processEvents();
    }
    void TearDown() override { TKRichEdit::LineHeight = saved_; }
    int top() const { return edit_.verticalScrollBar()->value(); }
    void wheel(int delta)
    {
        QWheelEvent e(QPointF(10, 10), edit_.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(edit_.viewport(), &e);
    }

    TKRichEdit edit_;
    int saved_ = 0;
};

TEST_F(KRichEditEvents, LineHeightIsTheHeightTheEditorGivesALine)
{
    ASSERT_GT(TKRichEdit::LineHeight, 0);
    // The caret rectangles of two neighbouring lines lie one LineHeight apart.
    QTextCursor c(edit_.document()->findBlockByNumber(5));
    const int y5 = edit_.cursorRect(c).top();
    c.movePosition(QTextCursor::NextBlock);
    EXPECT_EQ(edit_.cursorRect(c).top() - y5, TKRichEdit::LineHeight);
}

TEST_F(KRichEditEvents, PageKeysScrollTenLinesAndKeepTheCaret)
{
    edit_.setSelStart(30);
    QSignalSpy down(&edit_, &TKRichEdit::OnKeyDown);
    QSignalSpy up(&edit_, &TKRichEdit::OnKeyUp);
    QTest::keyClick(&edit_, Qt::Key_PageDown);
    EXPECT_EQ(top(), 10);
    QTest::keyClick(&edit_, Qt::Key_PageDown);
    EXPECT_EQ(top(), 20);
    QTest::keyClick(&edit_, Qt::Key_PageUp);
    EXPECT_EQ(top(), 10);
    EXPECT_EQ(edit_.selStart(), 30);
    EXPECT_EQ(down.count(), 0);
    EXPECT_EQ(up.count(), 3);
}

TEST_F(KRichEditEvents, WheelScrollsThreeLinesAndFiresOnScroll)
{
    QSignalSpy scrolled(&edit_, &TKRichEdit::OnScroll);
    wheel(-120);
    EXPECT_EQ(top(), 3);
    wheel(-120);
    wheel(120);
    EXPECT_EQ(top(), 3);
    EXPECT_EQ(scrolled.count(), 3);
}

TEST_F(KRichEditEvents, ThumbPositionsSnapToWholeLines)
{
    TKRichEdit::LineHeight = 16;
    edit_.scrollToThumb(37);
    EXPECT_EQ(top(), 2);
    edit_.scrollToThumb(40);
    EXPECT_EQ(top(), 2);
    edit_.scrollToThumb(41);
    EXPECT_EQ(top(), 3);
}

TEST_F(KRichEditEvents, NothingScrollsWhileLineHeightIsZero)
{
    TKRichEdit::LineHeight = 0;
    QTest::keyClick(&edit_, Qt::Key_PageDown);
    wheel(-120);
    edit_.scrollToThumb(100);
    edit_.ScrollLinesDown(5);
    EXPECT_EQ(top(), 0);
}

TEST_F(KRichEditEvents, TextKeepsNoBreakSpacesAndShiftEnterBreaksTheLine)
{
    edit_.setText(QStringLiteral("a\u00A0b"));
    EXPECT_EQ(edit_.text(), QStringLiteral("a\u00A0b"));
    edit_.setSelStart(1);
    QTest::keyClick(&edit_, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(edit_.text(), QStringLiteral("a\r\n\u00A0b"));
    EXPECT_EQ(edit_.lineCount(), 2);
}

TEST_F(KRichEditEvents, MiddleButtonDoesNothingAndTabInsertsATab)
{
    edit_.setText(QStringLiteral("abc"));
    edit_.setSelStart(1);
    QSignalSpy press(&edit_, &TKRichEdit::OnMouseDown);
    QTest::mouseClick(edit_.viewport(), Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(press.count(), 0);
    EXPECT_EQ(edit_.text(), QStringLiteral("abc"));
    QTest::keyClick(&edit_, Qt::Key_Tab);
    EXPECT_EQ(edit_.text(), QStringLiteral("a\tbc"));
    EXPECT_TRUE(edit_.hasFocus() || !edit_.isActiveWindow());
}

} // namespace
