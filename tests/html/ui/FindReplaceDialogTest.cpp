#include "TestSupport.h"

#include "app/ui/MainWindow.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "html/ui/FindReplaceDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using testing_support::IsolatedTest;

namespace {

class FindReplaceDialogTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        form_ = std::make_unique<TForm1>(QStringList());
        form_->show();
        dialog_ = form_->findChild<TFINDREPLACE*>();
        ASSERT_NE(dialog_, nullptr);
        hot_ = form_->findChild<QAction*>(QStringLiteral("SEARCHHOT"));
        ASSERT_NE(hot_, nullptr);
    }
    void TearDown() override
    {
        form_.reset();
        IsolatedTest::TearDown();
    }
    std::unique_ptr<TForm1> form_;
    TFINDREPLACE* dialog_ = nullptr;
    QAction* hot_ = nullptr;
};

TEST_F(FindReplaceDialogTest, FindThenF3WalksThroughBanana)
{
    form_->Memo1->setText(QStringLiteral("banana"));
    dialog_->_WHAT->setText(QStringLiteral("a"));
    dialog_->_SEARCHClick();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(form_->Memo1->selStart(), 1);
    hot_->trigger();
    EXPECT_EQ(form_->Memo1->selStart(), 3);
    hot_->trigger();
    EXPECT_EQ(form_->Memo1->selStart(), 5);
    EXPECT_TRUE(prompts_.shown.empty());
    hot_->trigger();
    ASSERT_EQ(prompts_.count(QStringLiteral("message")), 1);
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Ничего не найдено"));
    EXPECT_EQ(form_->Memo1->selStart(), 5);
    EXPECT_EQ(form_->Memo1->selLength(), 1);
}

TEST_F(FindReplaceDialogTest, F3WithAnEmptyFieldShowsTheDialog)
{
    dialog_->_WHAT->clear();
    hot_->trigger();
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Найти или заменить"));
}

TEST_F(FindReplaceDialogTest, ReplaceInTheSelectionIsOneUndoStep)
{
    form_->Memo1->setText(QStringLiteral("a-a-a\r\nb-b"));
    UndoReset();
    UndoSnapshot();
    form_->Memo1->setSelStart(2);
    form_->Memo1->setSelLength(5); // "a-a\r\n"
    dialog_->_WHAT->setText(QStringLiteral("[/]"));
    dialog_->_WITH->setText(QStringLiteral("[-]"));
    dialog_->_SELTEXT->setChecked(true);
    dialog_->_REPLACEClick();
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("a-a-a\tb-b"));
    form_->MENU_UNDOClick();
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("a-a-a\r\nb-b"));
    EXPECT_EQ(Undo().count(), 0);
}

} // namespace
