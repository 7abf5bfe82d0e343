#include "TestSupport.h"

#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/MarkerBar.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class EditorEventsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[2QUOTES]1\r\n[HELPLOG]1\r\n[UNDOCOUNT]999\r\n");
        form_ = std::make_unique<TForm1>(QStringList());
        form_->show();
        QApplication::setActiveWindow(form_.get());
        form_->Memo1->setFocus();
        LoadingText = false;
    }
    void TearDown() override
    {
        form_.reset();
        IsolatedTest::TearDown();
    }
    void type(const QString& text) { QTest::keyClicks(form_->Memo1, text); }
    QString newestLog() const { return form_->messageLog().count() ? form_->messageLog().line(0).message : QString(); }

    std::unique_ptr<TForm1> form_;
};

TEST_F(EditorEventsTest, ToolButtonsCarryTheHintsTheMessagesQuote)
{
    EXPECT_EQ(form_->TABLEBUT->toolTip(), QStringLiteral("Вставить таблицу"));
    EXPECT_EQ(form_->STYLEBUT->toolTip(), QStringLiteral("Мини-справочник по CSS"));
    EXPECT_EQ(form_->COMMENTBUT->toolTip(), QStringLiteral("Вставить комментарий"));
    EXPECT_TRUE(form_->TABLEBUT->isEnabled());
    type(QStringLiteral("<table"));
    EXPECT_EQ(newestLog(), QStringLiteral("Для создания заготовки таблицы используйте \"Вставить таблицу\" на панели инструментов"));
    // The hint is read from the button when the message is built.
    form_->IMGBUT->setToolTip(QStringLiteral("Картинка"));
    type(QStringLiteral(" <IMG"));
    EXPECT_EQ(newestLog(), QStringLiteral("Для вставки картинки можно использовать \"Картинка\" на панели инструментов"));
    type(QStringLiteral(" <br>"));
    EXPECT_EQ(newestLog(), QStringLiteral("Для вставки <br> нажмите Ctrl+B"));
}

TEST_F(EditorEventsTest, StyleEqualsGetsTwoApostrophes)
{
    type(QStringLiteral("<p style="));
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("<p style=''"));
    EXPECT_EQ(form_->Memo1->selStart(), 10);
    EXPECT_EQ(newestLog(), QStringLiteral("Введены кавычки для параметра STYLE"));
    // "=" after another word does nothing.
    form_->Memo1->setText(QString());
    type(QStringLiteral("a width="));
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("a width="));
}

TEST_F(EditorEventsTest, NoInterceptionWithTheOptionOff)
{
    UseDoubleQuotes = false;
    type(QStringLiteral("<p style="));
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("<p style="));
}

TEST_F(EditorEventsTest, ColorColonInsertsACodeAsOneUndoStep)
{
    type(QStringLiteral("color:"));
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("color:#000;"));
    EXPECT_EQ(form_->Memo1->selStart(), 11);
    EXPECT_EQ(form_->Memo1->selLength(), 0);
    form_->MENU_UNDOClick();
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("color:"));
}

TEST_F(EditorEventsTest, TypingIsUndoneKeyByKey)
{
    UndoReset();
    UndoSnapshot();
    EXPECT_FALSE(form_->MENU_UNDO->isEnabled());
    type(QStringLiteral("abc"));
    EXPECT_TRUE(form_->MENU_UNDO->isEnabled());
    QTest::keyClick(form_->Memo1, Qt::Key_Left);
    QTest::keyClick(form_->Memo1, Qt::Key_Left);
    const int before = Undo().count();
    QTest::keyClick(form_->Memo1, Qt::Key_Right);
    EXPECT_EQ(Undo().count(), before); // arrows record nothing
    QTest::keyClick(form_->Memo1, Qt::Key_End);
    for (const char* expected : {"ab", "a", ""}) {
        QTest::keyClick(form_->Memo1, Qt::Key_Z, Qt::ControlModifier);
        // A caret-only entry may come first; Undo runs until the text changes.
        for (int guard = 0; guard < 5 && form_->Memo1->text() != QString::fromLatin1(expected); ++guard)
            QTest::keyClick(form_->Memo1, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(form_->Memo1->text(), QString::fromLatin1(expected));
        EXPECT_EQ(form_->Memo1->selStart(), int(std::strlen(expected)));
    }
    for (int guard = 0; guard < 20 && Undo().count() > 0; ++guard)
        form_->MENU_UNDOClick();
    EXPECT_FALSE(form_->MENU_UNDO->isEnabled());
}

TEST_F(EditorEventsTest, UndoBringsTheCaretLineIntoView)
{
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1").arg(i);
    form_->Memo1->setText(lines.join(QStringLiteral("\r\n")));
    form_->Memo1->setSelStart(form_->Memo1->lineStart(250));
    UndoReset();
    UndoSnapshot();
    type(QStringLiteral("x"));
    form_->Memo1->verticalScrollBar()->setValue(0);
    form_->MENU_UNDOClick();
    EXPECT_EQ(form_->Memo1->line(250), QStringLiteral("line 250"));
    const int top = form_->Memo1->verticalScrollBar()->value();
    EXPECT_LE(top, 250);
    EXPECT_GT(top + 5, 250 - form_->Memo1->viewport()->height() / std::max(1, TKRichEdit::LineHeight));
}

TEST_F(EditorEventsTest, MouseAndKeysShowTheCaretReport)
{
    form_->Memo1->setText(QStringLiteral("abc\r\ndef"));
    QTextCursor c(form_->Memo1->document()->findBlockByNumber(1));
    c.movePosition(QTextCursor::Right);
    const QPoint at = form_->Memo1->cursorRect(c).center();
    QTest::mouseClick(form_->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(form_->statusPanel(1).startsWith(QStringLiteral("Строка 2 символ ")));
    EXPECT_EQ(Editor().LastSelStart, form_->Memo1->selStart());
    // Keys move it too, a held key while it repeats.
    const QString shown = form_->statusPanel(1);
    QTest::keyPress(form_->Memo1, Qt::Key_Right);
    EXPECT_NE(form_->statusPanel(1), shown);
    EXPECT_TRUE(form_->statusPanel(1).startsWith(QStringLiteral("Строка 2 символ ")));
    QTest::keyRelease(form_->Memo1, Qt::Key_Right);
    // A command that moves the caret without a key or a click.
    form_->Memo1->setSelStart(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form_->statusPanel(1).startsWith(QStringLiteral("Строка 1 символ 2")));
}

TEST_F(EditorEventsTest, LogShowsBoldTimeStampedLinesNewestFirst)
{
    form_->HELPLOG_Write(QStringLiteral("первое"), false);
    form_->HELPLOG_Write(QStringLiteral("Ошибка"), true);
    const QTextDocument* doc = form_->HELPLOG->document();
    ASSERT_EQ(doc->blockCount(), 2);
    const QTextBlock top = doc->firstBlock();
    EXPECT_TRUE(top.text().endsWith(QStringLiteral("\tОшибка")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d : \\d\\d \\. \\d\\d\\t")).match(top.text()).hasMatch());
    const QTextCharFormat f = top.begin().fragment().charFormat();
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_EQ(f.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(top.next().begin().fragment().charFormat().foreground().color(), QColor(0, 0, 0));
    // An edit after the red line adds the black notice once.
    type(QStringLiteral("x"));
    EXPECT_EQ(newestLog(), QStringLiteral("Код отредактирован после красного сообщения"));
    const int n = form_->messageLog().count();
    type(QStringLiteral("y"));
    EXPECT_EQ(form_->messageLog().count(), n);
}

TEST_F(EditorEventsTest, ClosingTheLogWritesTheOption)
{
    ASSERT_TRUE(form_->HELPLOG->isVisible());
    QTest::mouseClick(form_->CLOSELOG, Qt::LeftButton);
    EXPECT_FALSE(form_->HELPLOG->isVisible());
    EXPECT_FALSE(form_->CLOSELOG->isVisible());
    EXPECT_TRUE(ReadBytes(programFolder() + QStringLiteral("Program.ZEL")).contains("[HELPLOG]0\r\n"));
}

TEST_F(EditorEventsTest, PopupHidesUndoWhileDisabledButTheKeyStillWorks)
{
    WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[DISABLEUNDO]1\r\n[2QUOTES]1\r\n");
    Q_EMIT form_->Memo1->customContextMenuRequested(QPoint(5, 5));
    EXPECT_FALSE(form_->MENU_UNDO->isVisible());
    form_->EDITOR_POPUP->hide();
    UndoReset();
    UndoSnapshot();
    type(QStringLiteral("q"));
    QTest::keyClick(form_->Memo1, Qt::Key_Z, Qt::ControlModifier);
    for (int guard = 0; guard < 5 && !form_->Memo1->text().isEmpty(); ++guard)
        QTest::keyClick(form_->Memo1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form_->Memo1->text(), QString());
}

TEST_F(EditorEventsTest, MarkersFollowTheTextUndoPutsBack)
{
    const QString page = QStringLiteral("<HTML>\r\n<HEAD>\r\n<title>Страница</title>\r\n</HEAD>\r\n<BODY>\r\n</BODY>\r\n</HTML>");
    form_->Memo1->setText(page);
    auto* bar = static_cast<TMarkerBar*>(form_->VERTBAR);
    bar->Mark(2);
    bar->Mark(4);
    // Two new lines under the title, typed as a user would.
    const QRect title = form_->Memo1->cursorRect(QTextCursor(form_->Memo1->document()->findBlockByNumber(2)));
    QTest::mouseClick(form_->Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, title.center());
    QTest::keyClick(form_->Memo1, Qt::Key_End);
    UndoReset();
    UndoSnapshot();
    QTest::keyClick(form_->Memo1, Qt::Key_Return);
    QTest::keyClick(form_->Memo1, Qt::Key_Return);
    ASSERT_EQ(bar->markerLines().lines(), QList<int>({2, 6}));
    for (int guard = 0; guard < 6 && form_->Memo1->text() != page; ++guard)
        QTest::keyClick(form_->Memo1, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(form_->Memo1->text(), page);
    EXPECT_EQ(bar->markerLines().lines(), QList<int>({2, 4}));
}

TEST_F(EditorEventsTest, ALoadMarksNothingButTextTypedRightAfterItDoes)
{
    LoadingText = true;
    DocModified = false;
    // A page long enough to widen the line numbers, which empties the editor first.
    form_->Memo1->setText(QStringLiteral("a\r\nb"));
    form_->Memo1->setText(QStringLiteral("<p>loaded</p>\r\n").repeated(1200));
    EXPECT_FALSE(DocModified);
    EXPECT_TRUE(LoadingText);
    // Before the clock's first tick.
    type(QStringLiteral("a"));
    EXPECT_TRUE(DocModified);
    EXPECT_FALSE(LoadingText);
}

} // namespace

namespace {

TEST_F(EditorEventsTest, EscapeClosesTheProgram)
{
    QTest::keyClick(form_->Memo1, Qt::Key_Escape);
    EXPECT_FALSE(form_->isVisible());
    EXPECT_TRUE(ReadBytes(programFolder() + QStringLiteral("Program.ZEL")).contains("[WINDOWSTATE]"));
}

} // namespace
