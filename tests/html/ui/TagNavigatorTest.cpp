#include "TestSupport.h"

#include "app/ui/MainWindow.h"
#include "editor/MemoryTextModel.h"
#include "editor/ui/KRichEdit.h"
#include "html/ui/TagNavigator.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using testing_support::IsolatedTest;
using testing_support::WriteBytes;

namespace {

const QString kPage = QStringLiteral(
    "<html>\r\n<head>\r\n<title>T</title>\r\n</head>\r\n<body>\r\n"
    "<div id=\"main\">\r\n<img src=\"a.png\">\r\n</div>\r\n</body>\r\n</html>");

class TagNavigatorTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        model_.setText(kPage);
        window_ = std::make_unique<THTMLNAVIG>(&model_, [this] { ++highlights_; });
    }
    void TearDown() override
    {
        window_.reset();
        IsolatedTest::TearDown();
    }
    // Shows the window and lets the build that may follow run.
    void showAndSettle()
    {
        window_->ShowNavigation();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->TIMER->isActive() && window_->REFRESH->isEnabled(); }, 5000));
    }
    QTreeWidgetItem* find(const QString& start) const
    {
        const auto items = window_->TV->findItems(start, Qt::MatchStartsWith | Qt::MatchRecursive);
        return items.isEmpty() ? nullptr : items.first();
    }

    MemoryTextModel model_;
    int highlights_ = 0;
    std::unique_ptr<THTMLNAVIG> window_;
};

TEST_F(TagNavigatorTest, TheTreeIsBuiltOnceTheWindowShowsAndOnlyForAChangedText)
{
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Навигация по тегам"));
    EXPECT_EQ(window_->minimumSize(), QSize(750, 565));
    EXPECT_TRUE(window_->isModal());
    EXPECT_FALSE(window_->TOTAG->isEnabled());
    EXPECT_TRUE(window_->CLOSEAFTER->isChecked());

    showAndSettle();
    EXPECT_EQ(window_->builds(), 1);
    ASSERT_EQ(window_->TV->topLevelItemCount(), 1);
    QTreeWidgetItem* html = window_->TV->topLevelItem(0);
    EXPECT_EQ(html->text(0), QStringLiteral("HTML    "));
    ASSERT_EQ(html->childCount(), 2);
    EXPECT_EQ(html->child(0)->text(0), QStringLiteral("HEAD    "));
    EXPECT_EQ(html->child(0)->child(0)->text(0), QStringLiteral("TITLE    "));
    QTreeWidgetItem* div = html->child(1)->child(0);
    EXPECT_EQ(div->text(0), QStringLiteral("DIV       id=\"main\""));
    EXPECT_EQ(div->child(0)->text(0), QStringLiteral("IMG       src=\"a.png\""));
    EXPECT_EQ(window_->positionList().size(), 6);

    // Unchanged text: shown again without a build.
    window_->hide();
    showAndSettle();
    EXPECT_EQ(window_->builds(), 1);
    // "Обновить" builds anew; a changed text builds on the next showing.
    window_->REFRESH->click();
    EXPECT_EQ(window_->builds(), 2);
    model_.setText(QStringLiteral("<span>no structure</span>"));
    window_->hide();
    showAndSettle();
    EXPECT_EQ(window_->builds(), 3);
    ASSERT_EQ(window_->TV->topLevelItemCount(), 1);
    EXPECT_EQ(window_->TV->topLevelItem(0)->text(0), QStringLiteral("Нет тегов для отображения"));
    // The placeholder leads nowhere.
    window_->TV->setCurrentItem(window_->TV->topLevelItem(0));
    window_->GoToTag();
    EXPECT_EQ(highlights_, 0);
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(TagNavigatorTest, GoingToATagSelectsItsName)
{
    showAndSettle();
    QTreeWidgetItem* img = find(QStringLiteral("IMG"));
    ASSERT_NE(img, nullptr);
    window_->TV->setCurrentItem(img);
    EXPECT_TRUE(window_->TOTAG->isEnabled());

    // The pop-up names the tag.
    Q_EMIT window_->MENU->aboutToShow();
    EXPECT_TRUE(window_->GOTOTAG->isVisible());
    EXPECT_EQ(window_->GOTOTAG->text(), QStringLiteral("Перейти к <IMG>   (Enter)"));

    window_->TOTAG->click();
    const int at = int(kPage.indexOf(QStringLiteral("<img")));
    EXPECT_EQ(model_.selStart(), at + 1);
    EXPECT_EQ(model_.selLength(), 3);
    EXPECT_EQ(highlights_, 1);
    EXPECT_FALSE(window_->isVisible()); // closes after the jump

    // Kept open when asked, and Enter in the tree jumps too.
    window_->CLOSEAFTER->setChecked(false);
    showAndSettle();
    window_->TV->setCurrentItem(find(QStringLiteral("TITLE")));
    QTest::keyClick(window_->TV, Qt::Key_Return);
    EXPECT_EQ(model_.selStart(), int(kPage.indexOf(QStringLiteral("<title"))) + 1);
    EXPECT_EQ(model_.selLength(), 5);
    EXPECT_TRUE(window_->isVisible());

    // A stored position beyond a text that shrank is ignored.
    model_.setText(QStringLiteral("<p>"));
    window_->TV->setCurrentItem(find(QStringLiteral("IMG")));
    window_->GoToTag();
    EXPECT_EQ(model_.selStart(), 0);
    EXPECT_EQ(highlights_, 2);
}

TEST_F(TagNavigatorTest, TheNavigationButtonChecksThePageFirst)
{
    WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
    TForm1 form({});
    form.show();
    ASSERT_NE(form.NAVBUT, nullptr);
    EXPECT_EQ(form.NAVBUT->toolTip(), QStringLiteral("Навигация по тегам"));
    EXPECT_TRUE(form.NAVBUT->isEnabled()); // the new document is a page
    form.Memo1->setText(QStringLiteral("<html><bogus></html>"));
    form.NAVBUT->click();
    ASSERT_GT(form.messageLog().count(), 0);
    EXPECT_EQ(form.messageLog().line(0).message, QStringLiteral("Дерево в навигации по тегам не может быть построено из-за ошибок в коде"));
    EXPECT_TRUE(form.messageLog().line(0).error);
    EXPECT_FALSE(form.HTMLNAVIG->isVisible());

    form.Memo1->setText(QStringLiteral("<html>\r\n<body>\r\n</body>\r\n</html>"));
    form.NAVBUT->click();
    EXPECT_TRUE(form.HTMLNAVIG->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.HTMLNAVIG->builds() == 1; }, 5000));
    form.HTMLNAVIG->hide();
}

} // namespace
