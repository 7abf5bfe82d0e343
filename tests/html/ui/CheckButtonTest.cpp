#include "TestSupport.h"

#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"

#include <QTest>
#include <QToolButton>

using testing_support::IsolatedTest;

namespace {

class CheckButtonTest : public IsolatedTest {};

TEST_F(CheckButtonTest, FaultGoesRedWithItsCharacterSelectedAndACleanPageSaysSo)
{
    TForm1 form({});
    form.show();
    auto* check = form.findChild<QToolButton*>(QStringLiteral("CHECKBUT"));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->toolTip(), QStringLiteral("Проверить синтаксис кода"));

    form.Memo1->setText(QStringLiteral("<html>\r\n<body><blink>x</blink></body></html>"));
    QTest::mouseClick(check, Qt::LeftButton);
    ASSERT_GT(form.messageLog().count(), 0);
    EXPECT_TRUE(form.messageLog().line(0).error);
    EXPECT_EQ(form.Memo1->selLength(), 1);
    EXPECT_EQ(form.Memo1->selText(), QStringLiteral("<"));
    EXPECT_EQ(form.Memo1->selStart(), 14);

    form.Memo1->setText(QStringLiteral("<html><body><p>ok</p></body></html>"));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(form.messageLog().line(0).error);
    EXPECT_EQ(form.messageLog().line(0).message, QStringLiteral("Ошибок при проверке не обнаружено"));
}

} // namespace
