#include "FormTest.h"

#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/CaretContext.h"
#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/ui/InstanceLink.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/ui/CommentDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

using testing_support::WriteBytes;

namespace {

class CaretCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n");
        site_ = programFolder() + QStringLiteral("site/");
        QDir().mkpath(site_ + QStringLiteral("img"));
    }
    // The page index.html in the site folder, opened with the given text.
    TForm1& startWithPage(const QByteArray& text)
    {
        const QString page = site_ + QStringLiteral("index.html");
        WriteBytes(page, text);
        start({page});
        LoadingText = false;
        return *form_;
    }
    // A click that leaves the caret at offset; ctrl as if Ctrl were held.
    void clickAt(int offset, bool ctrl = false)
    {
        form_->Memo1->setSelStart(offset);
        const QPoint at = form_->Memo1->cursorRect().center();
        Editor().CtrlHeld = ctrl;
        QTest::mouseClick(form_->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        ASSERT_EQ(form_->Memo1->selStart() + form_->Memo1->selLength() >= offset, true);
    }
    int offsetOf(const QString& piece) const { return int(form_->Memo1->text().indexOf(piece)); }
    QString newestLog() const { return form_->messageLog().count() ? form_->messageLog().line(0).message : QString(); }

    QString site_;
};

TEST_F(CaretCommandsTest, ColourCodeClicksShowTheSwatchAndSelectTheCode)
{
    TForm1& form = startWithPage("<p style=\"color: #FF8800\">x</p>\r\n");
    const int code = offsetOf(QStringLiteral("#FF8800"));
    clickAt(code + 3);
    EXPECT_EQ(newestLog(), QStringLiteral("Кликните по появившемуся образцу цвета для редактирования цвета в палитре. Ctrl + клик - выделение всего кода цвета"));
    EXPECT_TRUE(form.COLORDISP->isVisible());
    EXPECT_EQ(form.COLORDISP->size(), QSize(50, 50));
    EXPECT_TRUE(form.COLORRECT->styleSheet().contains(QStringLiteral("#FF8800"), Qt::CaseInsensitive));
    EXPECT_EQ(form.Memo1->selLength(), 0); // a plain click selects nothing
    // The swatch sits beside the pointer, inside the window.
    const QRect swatch = form.COLORDISP->geometry();
    EXPECT_TRUE(form.rect().contains(swatch));
    EXPECT_TRUE(form.COLORTIMER->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.COLORDISP->isVisible(); }, 5000));

    // A click on the swatch opens the colour change for the code: it is selected.
    clickAt(code + 5);
    ASSERT_TRUE(form.COLORDISP->isVisible());
    QTest::mouseClick(form.COLORRECT, Qt::LeftButton);
    EXPECT_EQ(form.Memo1->selStart(), code);
    EXPECT_EQ(form.Memo1->selLength(), 7);

    // Ctrl+click selects the whole code at once.
    clickAt(code + 1, true);
    EXPECT_EQ(form.Memo1->selStart(), code);
    EXPECT_EQ(form.Memo1->selLength(), 7);
    EXPECT_EQ(FoundColour, WebToColor(QStringLiteral("#FF8800")));

    // Right after the last digit: no colour.
    form.COLORDISP->hide();
    clickAt(code + 7);
    EXPECT_FALSE(form.COLORDISP->isVisible());
}

TEST_F(CaretCommandsTest, ImagePathClicksDescribeTheFile)
{
    WriteBytes(site_ + QStringLiteral("img/pic.gif"), QByteArray(2048, 'g'));
    TForm1& form = startWithPage("<div style=\"background: url(img/pic.gif)\"></div>\r\n<img src=\"img/none.gif\">\r\n");
    clickAt(offsetOf(QStringLiteral("img/pic")) + 2);
    EXPECT_EQ(form.statusPanel(0), ImageStatusText(QStringLiteral("pic.gif"), 2048, QLocale()));
    EXPECT_TRUE(form.statusPanel(0).startsWith(QStringLiteral("pic.gif     2")));
    EXPECT_EQ(newestLog(), QStringLiteral("Кликните удерживая Ctrl для отображения ресурса, удерживая Alt - для открытия папки ресурса"));
    EXPECT_TRUE(shell_.launches.empty());

    // With Alt held the image's folder opens, once.
    Editor().AltHeld = true;
    clickAt(offsetOf(QStringLiteral("img/pic")) + 2);
    ASSERT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(QDir(shell_.launches.back().args.value(0)), QDir(site_ + QStringLiteral("img")));
    EXPECT_FALSE(Editor().AltHeld);

    // A path to a missing file is no find: nothing in the status bar.
    clickAt(offsetOf(QStringLiteral("img/none")) + 2);
    EXPECT_TRUE(form.statusPanel(0).isEmpty());
}

TEST_F(CaretCommandsTest, DocumentPathsHintAndCtrlClickOpensANewEditor)
{
    WriteBytes(site_ + QStringLiteral("Page.html"), "<p>other</p>\r\n");
    TForm1& form = startWithPage("<a href=\"Page.html\">link</a>\r\n<a href=\"gone.html\">x</a>\r\n");
    const int link = offsetOf(QStringLiteral("Page.html")) + 2;
    clickAt(link);
    EXPECT_EQ(newestLog(), QStringLiteral("Кликните удерживая Ctrl для редактирования PAGE.HTML в новом редакторе"));
    EXPECT_TRUE(shell_.launches.empty());

    clickAt(link, true);
    ASSERT_EQ(shell_.launches.size(), 1u);
    const auto& launch = shell_.launches.back();
    EXPECT_EQ(launch.program, QCoreApplication::applicationFilePath());
    EXPECT_EQ(launch.args, (QStringList{site_ + QStringLiteral("Page.html"),
                               QStringLiteral("PARENT") + QString::number(platform::WindowHandle()),
                               QStringLiteral("PARENTDOC") + CurrentFileName}));
    EXPECT_EQ(QDir(launch.workFolder), QDir(ProgramFolder));
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(Editor().CtrlHeld);

    // A link to a missing document starts nothing and says nothing.
    form.showNormal();
    const int lines = form.messageLog().count();
    clickAt(offsetOf(QStringLiteral("gone.html")) + 2, true);
    EXPECT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(form.messageLog().count(), lines);
}

TEST_F(CaretCommandsTest, CtrlClickInACommentSelectsItForTheCommentDialog)
{
    TForm1& form = startWithPage("<p><!-- a   b --></p>\r\n");
    const int comment = offsetOf(QStringLiteral("<!--"));
    clickAt(comment + 6, true);
    EXPECT_EQ(form.Memo1->selStart(), comment);
    EXPECT_EQ(form.Memo1->selLength(), 14);
    // The comment dialog took it, three blanks as a line break.
    EXPECT_EQ(form.COMMENTFORM->TXT->toPlainText(), QStringLiteral("a\nb "));
    EXPECT_TRUE(CommentText.isEmpty());
    EXPECT_FALSE(Editor().CtrlHeld);
    form.COMMENTFORM->close();
    // Right after the "-->": nothing.
    CommentText.clear();
    clickAt(comment + 14, true);
    EXPECT_EQ(form.Memo1->selLength(), 0);
    EXPECT_TRUE(CommentText.isEmpty());
}

TEST_F(CaretCommandsTest, PathDialogInsertsARelativePathAsOneUndoStep)
{
    WriteBytes(site_ + QStringLiteral("img/my pic.png"), "png");
    TForm1& form = startWithPage("<img src=\"\">\r\n");
    ASSERT_NE(form.MENU_SELECTPATH, nullptr);
    EXPECT_EQ(form.MENU_SELECTPATH->text(), QStringLiteral("Выбрать путь на диске ..."));
    EXPECT_EQ(form.MENU_SELECTPATH->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    EXPECT_TRUE(form.EDITOR_POPUP->actions().contains(form.MENU_SELECTPATH));

    form.Memo1->setSelStart(offsetOf(QStringLiteral("\"\"")) + 1);
    // Cancelled: nothing changes.
    form.MENU_SELECTPATH->trigger();
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Выбор пути"));
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("<img src=\"\">"));

    prompts_.fileNames.push_back(site_ + QStringLiteral("img/my pic.png"));
    form.MENU_SELECTPATH->trigger();
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("<img src=\"img/my%20pic.png\">"));
    form.MENU_UNDOClick();
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("<img src=\"\">"));
}

TEST_F(CaretCommandsTest, AnEditorStartedFromAnotherGivesItsWindowBackOnClose)
{
    const QString parentDoc = site_ + QStringLiteral("parent.html");
    WriteBytes(parentDoc, "<p>\r\n");
    const QString child = site_ + QStringLiteral("child.html");
    WriteBytes(child, "<p>child</p>\r\n");
    TForm1& form = start({child, QStringLiteral("PARENT") + QString::number(platform::WindowHandle()), QStringLiteral("PARENTDOC") + parentDoc});
    EXPECT_EQ(ParentWindow, platform::WindowHandle());
    // This process stands for the parent: it listens under the handle given.
    int restored = 0;
    platform::ListenForRestore([&] { ++restored; });
    ASSERT_TRUE(platform::IsLiveWindow(platform::WindowHandle()));
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(QTest::qWaitFor([&] { return restored == 1; }, 5000));
    Opt_SelectFile(opt::Recent);
    EXPECT_EQ(Opt_ValueAt(0), parentDoc);

    // A parent that is gone is left alone.
    platform::StopListening();
    EXPECT_FALSE(platform::IsLiveWindow(platform::WindowHandle()));
    EXPECT_FALSE(platform::RestoreWindow(platform::WindowHandle()));
}

} // namespace
