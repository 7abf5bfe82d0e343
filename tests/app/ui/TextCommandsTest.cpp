#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "platform/Codecs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class TextCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n");
    }
    TForm1& startWith(const QString& text)
    {
        TForm1& f = start();
        LoadingText = false;
        f.Memo1->setText(text);
        UndoReset();
        UndoSnapshot();
        return f;
    }
    void select(int start, int length)
    {
        form_->Memo1->setSelStart(start);
        form_->Memo1->setSelLength(length);
    }
    QString newestLog() const { return form_->messageLog().count() ? form_->messageLog().line(0).message : QString(); }
    QStringList popupNames() const
    {
        QStringList names;
        for (QAction* a : form_->EDITOR_POPUP->actions())
            names << (a->menu() ? a->menu()->objectName() : a->objectName());
        return names;
    }
};

TEST_F(TextCommandsTest, PopupEntriesInOrderAndEnabledBySelection)
{
    TForm1& f = startWith(QStringLiteral("some text"));
    EXPECT_EQ(popupNames(), (QStringList{"MENU_UNDO", "MENU_REDO", "N3", "MENU_COPY", "MENU_CUT", "MENU_PASTE", "MENU_SELALL",
                                         "MENU_UPPERCASE", "MENU_LOWERCASE", "MENU_TRANSTOENG", "MENU_TRANSTORUS",
                                         "MENU_DOCSTRINGS", "N9", "N22", "MENU_STYLE", "N4", "MENU_SELECTPATH", "MENU_BR", "MENU_PAIRTAG"}));
    QStringList lines;
    for (QAction* a : f.MENU_DOCSTRINGS->actions())
        lines << a->objectName();
    EXPECT_EQ(lines, (QStringList{"MENU_SAVESELECTED", "MENU_DELNOMEANSTR", "N26", "N31", "br1", "MENU_OPTIMIZECODE", "N1"}));

    const QList<QAction*> needSelection = {f.MENU_UPPERCASE, f.MENU_LOWERCASE, f.MENU_COPY, f.MENU_CUT,
                                           f.MENU_SAVESELECTED, f.MENU_TRANSTOENG, f.MENU_TRANSTORUS};
    select(2, 0);
    f.EDITOR_POPUPEnabling();
    for (QAction* a : needSelection)
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(f.MENU_PASTE->isEnabled());
    EXPECT_TRUE(f.MENU_DELNOMEANSTR->isEnabled());
    select(0, 4);
    f.EDITOR_POPUPEnabling();
    for (QAction* a : needSelection)
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    f.MENU_UPPERCASE->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("SOME text"));
    EXPECT_EQ(f.Memo1->selLength(), 4);
}

TEST_F(TextCommandsTest, ClipboardKeysAreTheProgramsCommands)
{
    TForm1& f = startWith(QStringLiteral("color: red"));
    select(0, 5);
    QTest::keyClick(f.Memo1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("color"));
    EXPECT_TRUE(newestLog().startsWith(QStringLiteral("Для копирования части кода")));

    QTest::keyClick(f.Memo1, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral(": red"));
    EXPECT_TRUE(newestLog().startsWith(QStringLiteral("Для перемещения части кода")));
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color: red"));

    // A pasted colour code the caret ends in gets selected; one undo step.
    QApplication::clipboard()->setText(QStringLiteral("#a0b0c"));
    select(7, 2); // "re"
    QTest::keyClick(f.Memo1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color: #a0b0cd"));
    EXPECT_EQ(f.Memo1->selText(), QStringLiteral("#a0b0cd"));
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color: red"));

    QTest::keyClick(f.Memo1, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->selLength(), 10);

    select(5, 0);
    QTest::keyClick(f.Memo1, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color<br>: red"));
}

TEST_F(TextCommandsTest, SymbolsInsertAtTheSelectionStart)
{
    TForm1& f = startWith(QStringLiteral("ab"));
    QStringList names;
    for (QAction* a : f.MENU_SIMBOLS->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(names, (QStringList{"SYMBOLS_HTML", "N11", "N6", "N10", "N12", "N15", "N21", "N18", "N17", "-",
                                  "SYMBOLS_JS", "N28", "N29", "N27"}));
    auto* amp = f.MENU_SIMBOLS->findChild<QAction*>(QStringLiteral("N21"));
    EXPECT_EQ(amp->iconText(), QStringLiteral("&")); // shown as one ampersand

    select(1, 1);
    f.MENU_SIMBOLS->findChild<QAction*>(QStringLiteral("N6"))->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a&laquo;b"));
    f.MENU_SIMBOLS->findChild<QAction*>(QStringLiteral("N29"))->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a&laquo;\\\"b"));
    f.MENU_SIMBOLS->findChild<QAction*>(QStringLiteral("SYMBOLS_HTML"))->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a&laquo;\\\"b"));
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a&laquo;b"));
}

TEST_F(TextCommandsTest, TagToolPanelFollowsAMouseSelection)
{
    TForm1& f = startWith(QStringLiteral("one word here"));
    EXPECT_FALSE(f.TXTOOLS->isVisible());
    EXPECT_EQ(f.TXTOOLS->size(), QSize(315, 31));
    select(4, 4);
    QWidget* vp = f.Memo1->viewport();
    const QPoint at = f.Memo1->cursorRect().center();
    QTest::mouseRelease(vp, Qt::LeftButton, {}, at);
    // The mouse-up itself moved the caret; select again as a drag would have.
    select(4, 4);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, at);
    ASSERT_TRUE(f.TXTOOLS->isVisible());
    const QPoint mouse = vp->mapTo(&f, at);
    EXPECT_EQ(f.TXTOOLS->pos().y(), std::max(0, mouse.y() - 100));

    auto* bold = f.TXTOOLS->findChild<QToolButton*>(QStringLiteral("ToolButton1"));
    ASSERT_NE(bold, nullptr);
    EXPECT_TRUE(bold->text().isEmpty());
    EXPECT_TRUE(bold->toolTip().isEmpty());
    EXPECT_TRUE(f.TXTOOLS->findChild<QToolButton*>(QStringLiteral("ToolButton16"))->isEnabled());
    select(4, 4);
    bold->click();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("one <b>word</b> here"));
    EXPECT_EQ(f.Memo1->selLength(), 11);
    EXPECT_FALSE(f.TXTOOLS->isVisible());

    f.TXTOOLS->show();
    QTest::keyClick(f.Memo1, Qt::Key_Right);
    EXPECT_FALSE(f.TXTOOLS->isVisible());

    f.TXTOOLS->show();
    select(0, 4);
    f.TXTOOLS->findChild<QToolButton*>(QStringLiteral("ToolButton14"))->click();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("<b>word</b> here"));
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("one <b>word</b> here"));
}

TEST_F(TextCommandsTest, SelectionSavedToAFileStaysApartFromTheDocument)
{
    const QString page = programFolder() + QStringLiteral("page.html");
    WriteBytes(page, "<p>first</p>\r\n<p>second</p>\r\n");
    TForm1& f = start({page});
    select(0, 14); // the first line and its break
    const QString part = programFolder() + QStringLiteral("part.html");
    prompts_.fileNames.push_back(part);
    f.MENU_SAVESELECTEDClick();
    EXPECT_EQ(ReadBytes(part), QByteArray("<p>first</p>\r\n"));
    EXPECT_EQ(CurrentFileName, page);

    // Characters Windows-1251 lacks go out as UTF-8, not as "?".
    f.Memo1->setText(QStringLiteral("→ ok"));
    select(0, 4);
    prompts_.fileNames.push_back(part);
    f.MENU_SAVESELECTEDClick();
    EXPECT_EQ(ReadBytes(part), platform::EncodeUtf8(QStringLiteral("→ ok\r\n")));

    // A cancelled dialog writes nothing.
    f.MENU_SAVESELECTEDClick();
    EXPECT_EQ(ReadBytes(part), platform::EncodeUtf8(QStringLiteral("→ ok\r\n")));
}

} // namespace
