#include "TestSupport.h"

#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"

#include <QApplication>
#include <QTest>

using testing_support::IsolatedTest;
using testing_support::WriteBytes;

namespace {

class AbbreviationCommandsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n");
        form_ = std::make_unique<TForm1>(QStringList());
        form_->show();
        QApplication::setActiveWindow(form_.get());
        form_->Memo1->setFocus();
        LoadingText = false;
        TypingAbbreviations = true;
    }
    void TearDown() override
    {
        form_.reset();
        TypingAbbreviations = true;
        IsolatedTest::TearDown();
    }
    TKRichEdit* memo() const { return form_->Memo1; }
    QString newestLog() const { return form_->messageLog().count() ? form_->messageLog().line(0).message : QString(); }

    std::unique_ptr<TForm1> form_;
};

TEST_F(AbbreviationCommandsTest, TabExpandsAsOneUndoStepWithTheCaretInTheFirstItem)
{
    memo()->setText(QStringLiteral("<body>\r\n\r\n</body>"));
    memo()->setSelStart(8);
    QTest::keyClicks(memo(), QStringLiteral("ul>li.item$*3"));
    QTest::keyClick(memo(), Qt::Key_Tab);
    const QString list = QStringLiteral("<ul>\r\n\t<li class=\"item1\"></li>\r\n\t<li class=\"item2\"></li>\r\n"
                                        "\t<li class=\"item3\"></li>\r\n</ul>");
    EXPECT_EQ(memo()->text(), QStringLiteral("<body>\r\n") + list + QStringLiteral("\r\n</body>"));
    EXPECT_EQ(memo()->selStart(), 8 + int(list.indexOf(QStringLiteral("</li>"))));
    EXPECT_EQ(memo()->selLength(), 0);
    QTest::keyClick(memo(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo()->text(), QStringLiteral("<body>\r\nul>li.item$*3\r\n</body>"));
    EXPECT_EQ(memo()->selStart(), 8 + 13);
}

TEST_F(AbbreviationCommandsTest, TabElsewhereOrSwitchedOffInsertsATab)
{
    const struct {
        const char* typed;
        bool on;
        const char* expected;
    } cases[] = {
        {"", true, "\t"},
        {"word ", true, "word \t"},
        {"hello", true, "hello\t"},
        {"ul>li", false, "ul>li\t"},
    };
    for (const auto& c : cases) {
        TypingAbbreviations = c.on;
        memo()->setText(QString());
        QTest::keyClicks(memo(), QString::fromUtf8(c.typed));
        QTest::keyClick(memo(), Qt::Key_Tab);
        EXPECT_EQ(memo()->text(), QString::fromUtf8(c.expected)) << c.typed;
    }
}

TEST_F(AbbreviationCommandsTest, CtrlEExpandsCssAndReportsFaultsInRed)
{
    memo()->setText(QStringLiteral("<p style=\"\">"));
    memo()->setSelStart(10);
    QTest::keyClicks(memo(), QStringLiteral("m10-20"));
    QTest::keyClick(memo(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(memo()->text(), QStringLiteral("<p style=\"margin:10px 20px;\">"));

    memo()->setText(QStringLiteral("div>(p"));
    memo()->setSelStart(6);
    QTest::keyClick(memo(), Qt::Key_Tab);
    EXPECT_EQ(memo()->text(), QStringLiteral("div>(p"));
    EXPECT_TRUE(newestLog().startsWith(QStringLiteral("Сокращение не раскрыто: не закрыта скобка")));
    EXPECT_TRUE(form_->messageLog().line(0).error);
}

} // namespace
