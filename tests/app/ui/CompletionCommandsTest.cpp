#include "FormTest.h"

#include "app/Globals.h"
#include "app/ui/CompletionCommands.h"
#include "editor/ui/CompletionPopup.h"

#include <QTest>

namespace {

class CompletionCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        start();
        LoadingText = false;
        UseDoubleQuotes = false;
        TypingCompletion = true;
        TypingCloseTags = false;
        completion_ = form_->findChild<TCompletionCommands*>();
        ASSERT_NE(completion_, nullptr);
    }
    void TearDown() override
    {
        TypingCompletion = true;
        TypingCloseTags = true;
        FormTest::TearDown();
    }
    void type(const QString& text) { QTest::keyClicks(form_->Memo1, text); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(form_->Memo1, k, m); }
    QStringList labels() const
    {
        QStringList l;
        for (const CompletionItem& i : completion_->popup()->items())
            l << i.label;
        return l;
    }
    QString textWithCaret() const
    {
        QString t = form_->Memo1->text();
        return t.insert(form_->Memo1->selStart(), u'|');
    }

    TCompletionCommands* completion_ = nullptr;
};

TEST_F(CompletionCommandsTest, ElementNamesAfterALessThanSignFilteredAndAccepted)
{
    type(QStringLiteral("<p>Hi "));
    EXPECT_FALSE(completion_->isOpen());
    type(QStringLiteral("<"));
    ASSERT_TRUE(completion_->isOpen());
    EXPECT_TRUE(labels().contains(QStringLiteral("div")));
    type(QStringLiteral("se"));
    ASSERT_GE(labels().size(), 3);
    EXPECT_EQ(labels().mid(0, 3), (QStringList{QStringLiteral("search"), QStringLiteral("section"), QStringLiteral("select")}));
    EXPECT_FALSE(completion_->popup()->hintText().isEmpty());
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_FALSE(completion_->isOpen());
    EXPECT_EQ(textWithCaret(), QStringLiteral("<p>Hi <section|"));
    // One undo step takes the acceptance back.
    form_->MENU_UNDOClick();
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("<p>Hi <se"));
}

TEST_F(CompletionCommandsTest, AttributeWritesItsQuotesWithTheCaretInside)
{
    type(QStringLiteral("<a"));
    key(Qt::Key_Escape);
    EXPECT_TRUE(form_->isVisible()); // Esc closed the list, not the window
    type(QStringLiteral(" "));
    ASSERT_TRUE(completion_->isOpen());
    type(QStringLiteral("hre"));
    key(Qt::Key_Tab);
    EXPECT_EQ(textWithCaret(), QStringLiteral("<a href=\"|\""));
    // With the "style=" typing's apostrophes on, an attribute takes them too.
    form_->Memo1->setText(QString());
    UseDoubleQuotes = true;
    type(QStringLiteral("<a tar"));
    key(Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(completion_->isOpen());
    key(Qt::Key_Return);
    EXPECT_EQ(textWithCaret(), QStringLiteral("<a target='|'"));
    // Its values follow at once.
    ASSERT_TRUE(completion_->isOpen());
    EXPECT_TRUE(labels().contains(QStringLiteral("_blank")));
}

TEST_F(CompletionCommandsTest, EscClosesWithoutChangeAndTypingOnLeavesIt)
{
    type(QStringLiteral("<div"));
    type(QStringLiteral(" "));
    ASSERT_TRUE(completion_->isOpen());
    key(Qt::Key_Escape);
    EXPECT_FALSE(completion_->isOpen());
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("<div "));
    type(QStringLiteral("<"));
    ASSERT_TRUE(completion_->isOpen());
    type(QStringLiteral(" "));
    EXPECT_FALSE(completion_->isOpen());
    // Enter without a list is a line break as always.
    key(Qt::Key_Return);
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("<div < \r\n"));
}

TEST_F(CompletionCommandsTest, CssPropertyOpensItsValuesAndAValueEndsTheDeclaration)
{
    form_->Memo1->setText(QStringLiteral("<style>\r\n"));
    form_->Memo1->setSelStart(form_->Memo1->textLength());
    type(QStringLiteral("p {"));
    ASSERT_TRUE(completion_->isOpen());
    type(QStringLiteral("displ"));
    key(Qt::Key_Return);
    ASSERT_TRUE(completion_->isOpen());
    type(QStringLiteral("gri"));
    key(Qt::Key_Return);
    EXPECT_TRUE(form_->Memo1->text().endsWith(QStringLiteral("p {display:grid;")));
}

TEST_F(CompletionCommandsTest, NothingOpensWithTheSwitchOff)
{
    TypingCompletion = false;
    type(QStringLiteral("<p>a &"));
    EXPECT_FALSE(completion_->isOpen());
    // Ctrl+Space still asks for it.
    key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(completion_->isOpen());
}

} // namespace
