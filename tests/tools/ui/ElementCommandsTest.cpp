#include "FormTest.h"

#include "app/Globals.h"
#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "tools/ElementMarkup.h"
#include "tools/ui/CommentDialog.h"
#include "tools/ui/ImageDropDialog.h"
#include "tools/ui/SwfDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUrl>

using testing_support::WriteBytes;

namespace {

class ElementCommands : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n");
        site_ = programFolder() + QStringLiteral("site/");
        QDir().mkpath(site_ + QStringLiteral("img"));
        WriteBytes(site_ + QStringLiteral("img/my pic.png"), "png");
        WriteBytes(site_ + QStringLiteral("intro.swf"), "FWS");
    }
    // The page site/index.html, opened with the given text.
    TForm1& startWithPage(const QByteArray& text)
    {
        const QString page = site_ + QStringLiteral("index.html");
        WriteBytes(page, text);
        start({page});
        LoadingText = false;
        return *form_;
    }
    // A fresh text in the editor with an empty history.
    void setText(const QString& text)
    {
        form_->Memo1->setText(text);
        UndoReset();
        UndoSnapshot();
    }
    // A press in the editor at the offset, with Ctrl held or not.
    void clickAt(int offset, bool ctrl = false)
    {
        form_->Memo1->setSelStart(offset);
        const QPoint at = form_->Memo1->cursorRect().center();
        Editor().CtrlHeld = ctrl;
        QTest::mouseClick(form_->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void drop(const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        // The drop goes to the window that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &dropped);
    }
    QString text() const { return form_->Memo1->text(); }

    QString site_;
};

TEST_F(ElementCommands, ButtonsAndTheBackgroundEntryAreLive)
{
    TForm1& form = startWithPage("<p></p>\r\n");
    for (QToolButton* b : {form.TABLEBUT, form.ABUT, form.IMGBUT, form.SWFBUT, form.COMMENTBUT})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    ASSERT_NE(form.MENU_CREATEBG, nullptr);
    EXPECT_EQ(form.MENU_STYLE->actions().value(0), form.MENU_CREATEBG);
    EXPECT_EQ(form.MENU_CREATEBG->text(), QStringLiteral("background:URL( выбор на диске );"));
}

TEST_F(ElementCommands, LinkImageTableAndBackgroundReplaceTheSelectionAsOneUndoStep)
{
    TForm1& form = startWithPage("<p></p>\r\n");
    const QString index = site_ + QStringLiteral("index.html");
    const QString picture = site_ + QStringLiteral("img/my pic.png");
    const struct {
        const char* name;
        std::function<void()> command;
        QString classText;
        QString start; // all of it selected
        QString picked;
        QString expected;
    } cases[] = {
        {"link", [&] { form.ABUT->click(); }, QString(), QStringLiteral("Home"), index, QStringLiteral("<a href=index.html>Home</a>")},
        {"link with class", [&] { form.ABUT->click(); }, QStringLiteral("menu"), QStringLiteral("Home"), index,
         QStringLiteral("<a class=menu href=index.html>Home</a>")},
        {"image", [&] { form.IMGBUT->click(); }, QStringLiteral("menu"), QString(), picture,
         QStringLiteral("<img class=menu src=img/my%20pic.png>")},
        {"background", [&] { form.MENU_CREATEBG->trigger(); }, QStringLiteral("menu"), QStringLiteral("x"), picture,
         QStringLiteral("background:URL(img/my%20pic.png);")},
        {"empty-cell table", [&] { form.TABLEBUT->click(); }, QString(), QString(), QString(),
         QStringLiteral("<TABLE cellspacing=0 cellpadding=0>\r\n<TR>\r\n<TD>\r\n\r\n</TD>\r\n</TR>\r\n</TABLE>\r\n")},
    };
    for (const auto& c : cases) {
        form.CLASSESSEL->setEditText(c.classText.isEmpty() ? QStringLiteral("Нет класса") : c.classText);
        ASSERT_EQ(form.CurrentClass, c.classText) << c.name;
        setText(c.start);
        form.Memo1->setSelStart(0);
        form.Memo1->setSelLength(int(c.start.size()));
        if (!c.picked.isEmpty()) {
            c.command(); // the path chooser cancelled: nothing happens
            EXPECT_EQ(text(), c.start) << c.name;
            prompts_.fileNames.push_back(c.picked);
        }
        c.command();
        EXPECT_EQ(text(), c.expected) << c.name;
        EXPECT_EQ(form.Memo1->selStart(), int(c.expected.size())) << c.name;
        form.MENU_UNDOClick();
        EXPECT_EQ(text(), c.start) << c.name;
    }
}

TEST_F(ElementCommands, CommentBoxRulesAndInsertion)
{
    TForm1& form = startWithPage("<p>x</p>\r\n");
    setText(QStringLiteral("ab"));
    form.Memo1->setSelStart(1);
    form.COMMENTBUT->click();
    TCOMMENTFORM* dialog = form.COMMENTFORM;
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Комментарий"));
    EXPECT_TRUE(dialog->TXT->toPlainText().isEmpty());

    // Blanks alone are refused as they are typed; an empty box is not inserted.
    QTest::keyClicks(dialog->TXT, QStringLiteral("   "));
    EXPECT_TRUE(dialog->TXT->toPlainText().isEmpty());
    dialog->OKBUT->click();
    EXPECT_EQ(prompts_.shown.back().kind, QStringLiteral("notice"));
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Введите текст комментария"));
    EXPECT_TRUE(dialog->isVisible());

    // At most 256 characters.
    dialog->TXT->insertPlainText(QString(300, u'x'));
    EXPECT_EQ(dialog->TXT->toPlainText(), QString(TCOMMENTFORM::MaxLength, u'x'));
    dialog->TXT->clear();

    // A second blank after a blank has no effect; two lines become one.
    QTest::keyClicks(dialog->TXT, QStringLiteral("first  line"));
    EXPECT_EQ(dialog->TXT->toPlainText(), QStringLiteral("first line"));
    QTest::keyClick(dialog->TXT, Qt::Key_Return);
    QTest::keyClicks(dialog->TXT, QStringLiteral("second"));
    const int steps = Undo().count();
    dialog->OKBUT->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(text(), QStringLiteral("a<!--first line   second-->b"));
    EXPECT_EQ(Undo().count(), steps); // the comment records no undo step
}

TEST_F(ElementCommands, CtrlClickInACommentEditsItInTheDialog)
{
    TForm1& form = startWithPage("<p><!-- one   two --></p>\r\n");
    const int comment = int(text().indexOf(QStringLiteral("<!--")));
    clickAt(comment + 6, true);
    TCOMMENTFORM* dialog = form.COMMENTFORM;
    ASSERT_TRUE(dialog->isVisible());
    // Three blanks are a line break again; the hand-over is used up.
    EXPECT_EQ(dialog->TXT->toPlainText(), QStringLiteral("one\ntwo "));
    EXPECT_TRUE(CommentText.isEmpty());
    EXPECT_FALSE(Editor().CtrlHeld);
    QTest::keyClicks(dialog->TXT, QStringLiteral("three"));
    dialog->OKBUT->click();
    EXPECT_EQ(text(), QStringLiteral("<p><!--one   two three--></p>"));

    // The button afterwards starts from an empty box.
    form.COMMENTBUT->click();
    EXPECT_TRUE(dialog->TXT->toPlainText().isEmpty());
}

TEST_F(ElementCommands, FlashMovieDialog)
{
    TForm1& form = startWithPage("<p>x</p>\r\n");
    setText(QStringLiteral("<body></body>"));
    form.Memo1->setSelStart(6);
    form.SWFBUT->click();
    TSWFFORM* dialog = form.SWFFORM;
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Создание тега flash-ролика"));
    EXPECT_EQ(dialog->WW->value(), 100);
    EXPECT_EQ(dialog->HH->value(), 100);
    EXPECT_EQ(dialog->SWFVER->value(), 8);
    EXPECT_FALSE(dialog->JS->isChecked());

    // No path: a message, and the dialog stays.
    dialog->Button1->click();
    EXPECT_EQ(prompts_.texts().back(), QStringLiteral("Пропишите или выберите на диске путь к ролику"));
    EXPECT_TRUE(dialog->isVisible());
    // A picture chosen is ignored; the movie is taken, relative to the page.
    prompts_.fileNames.push_back(site_ + QStringLiteral("img/my pic.png"));
    dialog->Button2->click();
    EXPECT_TRUE(dialog->PAGEFILE->text().isEmpty());
    prompts_.fileNames.push_back(site_ + QStringLiteral("intro.swf"));
    dialog->Button2->click();
    EXPECT_EQ(dialog->PAGEFILE->text(), QStringLiteral("intro.swf"));

    dialog->WW->setValue(640);
    dialog->HH->setValue(480);
    dialog->Button1->click();
    EXPECT_FALSE(dialog->isVisible());
    const QString inserted = text().mid(6, text().size() - 13);
    EXPECT_EQ(text(), QStringLiteral("<body>") + inserted + QStringLiteral("</body>"));
    EXPECT_FALSE(inserted.contains(QStringLiteral("swliveconnect")));
    EXPECT_EQ(inserted.count(QStringLiteral("width=\"640\"")), 2);
    EXPECT_EQ(inserted.count(QStringLiteral("height=\"480\"")), 2);
    EXPECT_EQ(inserted.count(QStringLiteral("intro.swf")), 2);
    form.MENU_UNDOClick();
    EXPECT_EQ(text(), QStringLiteral("<body></body>"));

    // Shown again: the path is cleared, the sizes stay.
    form.SWFBUT->click();
    EXPECT_TRUE(dialog->PAGEFILE->text().isEmpty());
    EXPECT_EQ(dialog->WW->value(), 640);
}

TEST_F(ElementCommands, DroppedImagesGoToTheLastPressOrTheClipboard)
{
    TForm1& form = startWithPage("abcd\r\n");
    const QString picture = site_ + QStringLiteral("img/my pic.png");
    TIMGDROP* dialog = form.IMGDROP;
    EXPECT_TRUE(dialog->TAG->isChecked());
    const struct {
        QRadioButton* choice;
        bool toClipboard;
        QString document;
        QString clipboard;
    } cases[] = {
        {dialog->TAG, false, QStringLiteral("ab<img src='img/my%20pic.png' style='border:none;'>cd"), QStringLiteral("-")},
        {dialog->BG, false, QStringLiteral("abbackground:URL(img/my%20pic.png) no-repeat #FFF;cd"), QStringLiteral("-")},
        {dialog->PTH, true, QStringLiteral("abcd"), QStringLiteral("img/my%20pic.png")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document.toStdString());
        setText(QStringLiteral("abcd"));
        QApplication::clipboard()->setText(QStringLiteral("-"));
        clickAt(2);
        form.Memo1->setSelStart(4); // the caret moved on since the press
        drop({picture});
        ASSERT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Картинка формата PNG"));
        c.choice->setChecked(true);
        dialog->BUF->setChecked(c.toClipboard);
        dialog->OK->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(text(), c.document);
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard);
    }
    EXPECT_EQ(CurrentFileName, site_ + QStringLiteral("index.html")); // no image was opened as a document

    // Two at once: the second waits for the first.
    dialog->BUF->setChecked(false);
    dialog->PTH->setChecked(true);
    setText(QString());
    clickAt(0);
    WriteBytes(site_ + QStringLiteral("b.gif"), "gif");
    drop({picture, site_ + QStringLiteral("b.gif")});
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Картинка формата PNG"));
    dialog->OK->click();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Картинка формата GIF"));
    dialog->OK->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(text(), QStringLiteral("b.gifimg/my%20pic.png"));

    // A file gone before OK: said, and nothing inserted.
    setText(QStringLiteral("abcd"));
    drop({site_ + QStringLiteral("b.gif")});
    ASSERT_TRUE(QFile::remove(site_ + QStringLiteral("b.gif")));
    dialog->OK->click();
    EXPECT_EQ(prompts_.texts().back(), DroppedImageMissing(site_ + QStringLiteral("b.gif")));
    EXPECT_TRUE(prompts_.texts().back().contains(QStringLiteral("b.gif")));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(text(), QStringLiteral("abcd"));
}

TEST_F(ElementCommands, AnImportLeavesNoClassChosen)
{
    TForm1& form = startWithPage("<style>.menu{} .warn{}</style>\r\n");
    const QString archive = site_ + QStringLiteral("saved.mht");
    WriteBytes(archive,
               "From: <saved>\r\n"
               "Content-Type: text/html; charset=\"windows-1251\"\r\n"
               "Content-Transfer-Encoding: quoted-printable\r\n"
               "\r\n"
               "<HTML><HEAD><STYLE>.other{}</STYLE></HEAD><BODY>a</BODY></HTML>\r\n");
    WriteBytes(site_ + QStringLiteral("notes.txt"), "text\r\n");
    for (const QString& source : {site_ + QStringLiteral("notes.txt"), archive}) {
        form.SpeedButton1Click();
        form.CLASSESSEL->setEditText(QStringLiteral("menu"));
        ASSERT_EQ(form.CurrentClass, QStringLiteral("menu"));
        ASSERT_EQ(form.CLASSESSEL->count(), 3);
        prompts_.fileNames.push_back(source);
        form.MENU_IMPORT->trigger();
        ASSERT_TRUE(text().contains(source.endsWith(QStringLiteral("txt")) ? QStringLiteral("text") : QStringLiteral(".other")));
        EXPECT_EQ(form.CLASSESSEL->count(), 1) << source.toStdString();
        EXPECT_EQ(form.CLASSESSEL->itemText(0), QStringLiteral("Нет класса"));
        EXPECT_EQ(form.CLASSESSEL->currentText(), QStringLiteral("Нет класса"));
        EXPECT_TRUE(form.CurrentClass.isEmpty());
        // Back to the page with the classes for the next import.
        setText(QStringLiteral("<style>.menu{} .warn{}</style>"));
        DocModified = false;
    }
}

} // namespace
