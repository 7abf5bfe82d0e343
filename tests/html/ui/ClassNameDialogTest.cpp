#include "TestSupport.h"

#include "html/ui/ClassNameDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using testing_support::IsolatedTest;

namespace {

class ClassNameDialogTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }
    TCLASSNAME dialog_;
};

TEST_F(ClassNameDialogTest, Parts)
{
    EXPECT_EQ(dialog_.objectName(), QStringLiteral("CLASSNAME"));
    EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("Имя класса"));
    EXPECT_EQ(dialog_.Label1->text(), QStringLiteral("Введите или выберите имя класса"));
    EXPECT_EQ(dialog_.OKBUT->text(), QStringLiteral("ОК"));
    EXPECT_EQ(dialog_.CLASSTOCLIP->text(), QStringLiteral("Занести описание нового класса в буфер"));
    EXPECT_TRUE(dialog_.CLASSLST->isEditable());
    EXPECT_EQ(dialog_.CLASSLST->maxVisibleItems(), 20);
    EXPECT_EQ(dialog_.findChild<QComboBox*>(QStringLiteral("CLASSLST")), dialog_.CLASSLST);
}

TEST_F(ClassNameDialogTest, OkWithANameAndTheClipboardRule)
{
    ASSERT_TRUE(dialog_.prepare(QStringLiteral("color:red"), {QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(dialog_.CLASSTOCLIP->isEnabled());
    EXPECT_TRUE(dialog_.CLASSTOCLIP->isChecked());
    EXPECT_EQ(dialog_.CLASSLST->count(), 2);
    dialog_.show();
    dialog_.CLASSLST->setEditText(QStringLiteral("  warn "));
    QTest::mouseClick(dialog_.OKBUT, Qt::LeftButton);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(dialog_.result(), QStringLiteral("warn"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(".warn{color:red}"));
    EXPECT_TRUE(prompts_.shown.empty());

    // Unchecked: no rule.
    ASSERT_TRUE(dialog_.prepare(QStringLiteral("margin:0"), {}));
    dialog_.CLASSTOCLIP->setChecked(false);
    dialog_.CLASSLST->setEditText(QStringLiteral("box"));
    dialog_.show();
    QTest::mouseClick(dialog_.OKBUT, Qt::LeftButton);
    EXPECT_EQ(dialog_.result(), QStringLiteral("box"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(".warn{color:red}"));
}

TEST_F(ClassNameDialogTest, EmptyStyleNeverTouchesTheClipboard)
{
    ASSERT_TRUE(dialog_.prepare(QStringLiteral("color:red"), {}));
    ASSERT_TRUE(dialog_.prepare(QString(), {QStringLiteral("a")}));
    EXPECT_FALSE(dialog_.CLASSTOCLIP->isEnabled());
    dialog_.show();
    dialog_.CLASSLST->setCurrentIndex(0);
    QTest::mouseClick(dialog_.OKBUT, Qt::LeftButton);
    EXPECT_EQ(dialog_.result(), QStringLiteral("a"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(ClassNameDialogTest, EmptyNameShowsTheNoticeAndStaysOpen)
{
    ASSERT_TRUE(dialog_.prepare(QStringLiteral("x:y"), {}));
    dialog_.show();
    dialog_.CLASSLST->setEditText(QStringLiteral("   "));
    QTest::mouseClick(dialog_.OKBUT, Qt::LeftButton);
    EXPECT_TRUE(dialog_.isVisible());
    ASSERT_EQ(prompts_.count(QStringLiteral("notice")), 1);
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Введите или выберите имя класса"));
    EXPECT_EQ(dialog_.result(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(ClassNameDialogTest, AskClassName)
{
    // "error" returns at once, without showing the dialog.
    EXPECT_EQ(dialog_.askClassName(QStringLiteral("error"), {}), QStringLiteral("error"));
    EXPECT_FALSE(dialog_.isVisible());

    // The modal loop ends with OK; the typed text and the list are there.
    QTimer::singleShot(0, &dialog_, [this] {
        EXPECT_EQ(dialog_.CLASSLST->count(), 2);
        dialog_.CLASSLST->setEditText(QStringLiteral("menu"));
        dialog_.OKBUTClick();
    });
    EXPECT_EQ(dialog_.askClassName(QStringLiteral("a:b"), {QStringLiteral("menu"), QStringLiteral("x")}),
              QStringLiteral("menu"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(".menu{a:b}"));
    EXPECT_EQ(dialog_.lastConfirmedName(), QStringLiteral("menu"));

    // Closed without OK: nothing is returned, the field keeps its text.
    QTimer::singleShot(0, &dialog_, [this] { dialog_.reject(); });
    EXPECT_EQ(dialog_.askClassName(QString(), {}), QString());
    EXPECT_EQ(dialog_.CLASSLST->currentText(), QStringLiteral("menu"));
    EXPECT_EQ(dialog_.lastConfirmedName(), QStringLiteral("menu"));
}

} // namespace
