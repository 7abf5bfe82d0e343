#include "TestSupport.h"

#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/MarkerBar.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

using testing_support::IsolatedTest;

namespace {

class MarkerBarTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        form_ = std::make_unique<TForm1>(QStringList());
        form_->resize(800, 640);
        form_->show();
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("line %1 & more").arg(i);
        form_->Memo1->setText(lines.join(QStringLiteral("\r\n")));
        bar_ = static_cast<TMarkerBar*>(form_->VERTBAR);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form_.reset();
        IsolatedTest::TearDown();
    }
    QLabel* picture(int line) const { return form_->findChild<QLabel*>(QStringLiteral("marker%1").arg(line)); }
    // The y on the bar of a line's middle, as the editor draws it.
    int lineY(int line) const
    {
        QTextCursor c(form_->Memo1->document()->findBlockByNumber(line));
        const QRect r = form_->Memo1->cursorRect(c);
        const QPoint inWindow = form_->Memo1->viewport()->mapTo(form_.get(), r.center());
        return bar_->mapFrom(form_.get(), inWindow).y();
    }

    std::unique_ptr<TForm1> form_;
    TMarkerBar* bar_ = nullptr;
};

TEST_F(MarkerBarTest, ClickTogglesAMarkerBesideItsLine)
{
    QTest::mouseClick(bar_, Qt::LeftButton, Qt::NoModifier, QPoint(8, lineY(4)));
    EXPECT_EQ(bar_->markerLines().lines(), QList<int>({4}));
    ASSERT_NE(picture(4), nullptr);
    // The picture sits on its line.
    EXPECT_LE(std::abs(picture(4)->geometry().center().y() - lineY(4)), TKRichEdit::LineHeight / 2);
    EXPECT_TRUE(form_->messageLog().line(0).message.startsWith(QStringLiteral("Для легкого перехода к метке")));
    QTest::mouseClick(bar_, Qt::LeftButton, Qt::NoModifier, QPoint(8, lineY(4)));
    EXPECT_TRUE(bar_->markerLines().isEmpty());
    EXPECT_EQ(picture(4), nullptr);
}

TEST_F(MarkerBarTest, ScrollingHidesAndShowsMarkersAtTheRightHeight)
{
    bar_->Mark(3);
    bar_->Mark(30);
    form_->Memo1->verticalScrollBar()->setValue(10);
    EXPECT_FALSE(picture(3)->isVisible());
    EXPECT_TRUE(picture(30)->isVisible());
    EXPECT_LE(std::abs(picture(30)->geometry().center().y() - lineY(30)), TKRichEdit::LineHeight / 2);
    form_->Memo1->verticalScrollBar()->setValue(0);
    EXPECT_TRUE(picture(3)->isVisible());
    EXPECT_LE(std::abs(picture(3)->geometry().center().y() - lineY(3)), TKRichEdit::LineHeight / 2);
}

TEST_F(MarkerBarTest, MarkersFollowInsertedLines)
{
    bar_->Mark(3);
    bar_->Mark(10);
    form_->Memo1->setSelStart(form_->Memo1->lineStart(5));
    form_->Memo1->setFocus();
    // The change event stored the count and caret line last time: put the caret on 5 first.
    QTest::mouseClick(form_->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier,
                      form_->Memo1->cursorRect(QTextCursor(form_->Memo1->document()->findBlockByNumber(5))).center());
    QTest::keyClick(form_->Memo1, Qt::Key_Return);
    QTest::keyClick(form_->Memo1, Qt::Key_Return);
    EXPECT_EQ(bar_->markerLines().lines(), QList<int>({3, 12}));
    EXPECT_NE(picture(12), nullptr);
    EXPECT_EQ(picture(10), nullptr);
}

TEST_F(MarkerBarTest, MenuClearsAndJumps)
{
    bar_->Mark(150);
    bar_->Mark(7);
    Q_EMIT bar_->GOTOMARKS->aboutToShow();
    const QList<QAction*> entries = bar_->GOTOMARKS->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("7  line 7 .. more"));
    EXPECT_EQ(entries[1]->objectName(), QStringLiteral("GOTOMARK150"));
    entries[1]->trigger();
    EXPECT_EQ(form_->Memo1->selStart(), form_->Memo1->lineStart(150));
    EXPECT_TRUE(bar_->INS->isVisible());
    QTest::qWait(800);
    EXPECT_FALSE(bar_->INS->isVisible());
    EXPECT_NE(picture(150), nullptr); // back after the blink
    bar_->MARKERS_CLEAR->trigger();
    EXPECT_TRUE(bar_->markerLines().isEmpty());
    EXPECT_EQ(picture(7), nullptr);
}

} // namespace
