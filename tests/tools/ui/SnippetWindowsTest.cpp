#include "FormTest.h"

#include "editor/Undo.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/ui/SnippetWindows.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

using testing_support::FormTest;
using testing_support::IsolatedTest;

namespace {

void storeSnippets(const QList<QPair<QString, QString>>& snippets)
{
    Opt_SelectFile(opt::Macros);
    Opt_ClearFile(opt::Macros, false);
    Opt_SelectFile(opt::Macros);
    for (const auto& s : snippets)
        Opt_Write(s.first, s.second);
}

QStringList storedNames()
{
    Opt_SelectFile(opt::Macros);
    QStringList names;
    for (int i = 0; i < Opt_Count(); ++i)
        names << Opt_NameAt(i);
    return names;
}

// The text a hover hint shows: Qt renders a hint that looks like rich text.
QString shownHint(const QString& hint)
{
    if (!Qt::mightBeRichText(hint))
        return hint;
    QTextDocument d;
    d.setHtml(hint);
    return d.toPlainText();
}

QStringList listed(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

// ---- The main menu ----------------------------------------------------

class SnippetMenuTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ResetOptions();
    }
    QStringList menuNames() const
    {
        QStringList names;
        for (QAction* a : form_->MACROS->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return names;
    }
};

TEST_F(SnippetMenuTest, EntriesAreRebuiltFromTheStoreAtEachOpening)
{
    TForm1& f = start();
    storeSnippets({});
    f.MACROSClick();
    EXPECT_EQ(menuNames(), (QStringList{"MACROS_ADD", "MAKR_CRSEL", "MACROS_INSERT", "-", "MACROS_ACTITEM"}));
    EXPECT_FALSE(f.MACROS_ACTITEM->isVisible());
    EXPECT_EQ(f.MACROS_INSERT->text(), QStringLiteral("Управление заготовками ..."));

    storeSnippets({{"Таблица", "<table>"}, {"A&B", "x"}});
    f.MACROSClick();
    f.MACROSClick();
    EXPECT_EQ(menuNames(), (QStringList{"MACROS_ADD", "MAKR_CRSEL", "MACROS_INSERT", "-", "MACROS_ACTITEM",
                                        "MACROS_ITEM_0", "MACROS_ITEM_1"}));
    auto* first = f.MACROS->findChild<QAction*>(QStringLiteral("MACROS_ITEM_0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("Таблица"));
    EXPECT_EQ(shownHint(first->toolTip()), QStringLiteral("<table>"));
    // An ampersand in a name is shown, not taken as a shortcut mark.
    EXPECT_EQ(f.MACROS->findChild<QAction*>(QStringLiteral("MACROS_ITEM_1"))->iconText(), QStringLiteral("A&B"));

    // A deleted snippet leaves the menu at the next opening.
    Opt_SelectFile(opt::Macros);
    Opt_DeleteAt(0);
    f.MACROSClick();
    EXPECT_EQ(menuNames().size(), 6);
    EXPECT_EQ(shownHint(f.MACROS->findChild<QAction*>(QStringLiteral("MACROS_ITEM_0"))->toolTip()), QStringLiteral("x"));
}

TEST_F(SnippetMenuTest, AnEntryInsertsItsSnippetAtTheCaretAsOneUndoStep)
{
    TForm1& f = start();
    storeSnippets({{"one", "1"}, {"pair", "<b>\r\n</b>"}});
    f.Memo1->setText(QStringLiteral("abcd\r\nnext"));
    f.Memo1->setSelStart(2);
    f.MACROSClick();
    EXPECT_FALSE(f.MAKR_CRSEL->isEnabled());
    f.MACROS->findChild<QAction*>(QStringLiteral("MACROS_ITEM_1"))->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("ab<b>\r\n</b>cd\r\nnext"));
    EXPECT_EQ(f.Memo1->selStart(), 2);
    EXPECT_EQ(f.Memo1->selLength(), 0);
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("abcd\r\nnext"));
}

TEST_F(SnippetMenuTest, CreateFromTheSelectionFillsTheEditorAndStoresOnOk)
{
    TForm1& f = start();
    storeSnippets({{"old", "o"}});
    f.Memo1->setText(QStringLiteral("<p>\r\ntext\r\n</p>"));
    f.Memo1->setSelStart(0);
    f.Memo1->setSelLength(11);
    f.MACROSClick();
    ASSERT_TRUE(f.MAKR_CRSEL->isEnabled());
    f.MAKR_CRSEL->trigger();
    ASSERT_TRUE(f.MRED->isVisible());
    EXPECT_FALSE(f.MRED->editMode());
    EXPECT_TRUE(f.MRED->MNAME->text().isEmpty());
    EXPECT_EQ(f.MRED->MTEXT->toPlainText(), QStringLiteral("<p>\ntext\n"));

    // No name: the message, the editor stays and nothing is stored.
    f.MRED->OK->click();
    EXPECT_EQ(prompts_.texts().value(prompts_.texts().size() - 1), QStringLiteral("Введите имя и текст макроса"));
    EXPECT_TRUE(f.MRED->isVisible());
    EXPECT_EQ(storedNames(), QStringList{"old"});

    f.MRED->MNAME->setText(QStringLiteral("para"));
    f.MRED->OK->click();
    EXPECT_FALSE(f.MRED->isVisible());
    EXPECT_FALSE(f.MACROSFORM->isVisible()); // opened from the menu: back to the main window
    EXPECT_EQ(storedNames(), (QStringList{"old", "para"}));
    Opt_SelectFile(opt::Macros);
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("para")), QStringLiteral("<p>\r\ntext\r\n")); // the selection exactly
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("<p>\r\ntext\r\n</p>"));
}

// ---- The editor and the manager ------------------------------------------

class SnippetWindowsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        ResetOptions();
        editor_ = std::make_unique<TMRED>();
        manager_ = std::make_unique<TMACROSFORM>(editor_.get());
    }
    void TearDown() override
    {
        manager_.reset();
        editor_.reset();
        IsolatedTest::TearDown();
    }
    QListWidget* list() const { return manager_->MSELECT; }
    QPoint rowPoint(int row) const { return list()->visualItemRect(list()->item(row)).center(); }

    std::unique_ptr<TMRED> editor_;
    std::unique_ptr<TMACROSFORM> manager_;
};

TEST_F(SnippetWindowsTest, NameMayNotStartWithAnAmpersand)
{
    editor_->startCreate(QString(), false);
    EXPECT_EQ(editor_->windowTitle(), QStringLiteral("Редактор заготовок кода"));
    EXPECT_EQ(editor_->minimumSize(), QSize(444, 363));
    QTest::keyClicks(editor_->MNAME, QStringLiteral("&"));
    EXPECT_TRUE(editor_->MNAME->text().isEmpty());
    ASSERT_EQ(prompts_.count(QStringLiteral("notice")), 1);
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Нельзя начинать название с этого символа"));
    QTest::keyClicks(editor_->MNAME, QStringLiteral("a&b"));
    EXPECT_EQ(editor_->MNAME->text(), QStringLiteral("a&b"));
    EXPECT_EQ(prompts_.count(QStringLiteral("notice")), 1);

    // An empty text is refused like an empty name.
    editor_->OK->click();
    EXPECT_TRUE(editor_->isVisible());
    EXPECT_EQ(storedNames(), QStringList{});
    editor_->Cansel->click();
    EXPECT_FALSE(editor_->isVisible());
}

TEST_F(SnippetWindowsTest, EditingFromTheManagerKeepsPlaceAndTextAndComesBack)
{
    storeSnippets({{"a", "A"}, {"b", "line 1\r\nline 2\r\n"}, {"c", "C"}});
    manager_->show();
    EXPECT_EQ(listed(list()), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(list()->currentRow(), 0);

    // Saved unchanged: stored unchanged, final line break included.
    list()->setCurrentRow(1);
    manager_->EDITBUT->click();
    EXPECT_FALSE(manager_->isVisible());
    ASSERT_TRUE(editor_->isVisible());
    EXPECT_TRUE(editor_->editMode());
    EXPECT_EQ(editor_->MNAME->text(), QStringLiteral("b"));
    editor_->OK->click();
    Opt_SelectFile(opt::Macros);
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("b")), QStringLiteral("line 1\r\nline 2\r\n"));
    EXPECT_EQ(storedNames(), (QStringList{"a", "b", "c"}));
    ASSERT_TRUE(manager_->isVisible());
    EXPECT_EQ(list()->currentRow(), 0); // the list was built again

    // Renamed and changed: same place, new name; a double click edits too.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowPoint(2));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rowPoint(2));
    ASSERT_TRUE(editor_->isVisible());
    EXPECT_EQ(editor_->MNAME->text(), QStringLiteral("c"));
    editor_->MNAME->setText(QStringLiteral("c2"));
    editor_->MTEXT->setPlainText(QStringLiteral("new"));
    editor_->OK->click();
    EXPECT_EQ(storedNames(), (QStringList{"a", "b", "c2"}));
    Opt_SelectFile(opt::Macros);
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("c2")), QStringLiteral("new"));

    // Cancel in the editor stores nothing and still returns to the manager.
    manager_->MENU_ADD->trigger();
    ASSERT_TRUE(editor_->isVisible());
    EXPECT_FALSE(editor_->editMode());
    EXPECT_TRUE(editor_->MNAME->text().isEmpty());
    editor_->Cansel->click();
    EXPECT_TRUE(manager_->isVisible());
    EXPECT_EQ(storedNames().size(), 3);
}

TEST_F(SnippetWindowsTest, DeleteAndMovesWorkOnTheSelectedEntryOnly)
{
    storeSnippets({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    manager_->show();
    manager_->UPBUT->click(); // first entry: nothing moves
    EXPECT_EQ(storedNames(), (QStringList{"a", "b", "c"}));
    manager_->DOWNBUT->click();
    EXPECT_EQ(storedNames(), (QStringList{"b", "a", "c"}));
    EXPECT_EQ(listed(list()), storedNames());
    EXPECT_EQ(list()->currentRow(), 1);
    manager_->DOWNBUT->click();
    manager_->DOWNBUT->click(); // last entry: nothing moves
    EXPECT_EQ(storedNames(), (QStringList{"b", "c", "a"}));
    manager_->UPBUT->click();
    EXPECT_EQ(storedNames(), (QStringList{"b", "a", "c"}));

    manager_->DELBUT->click();
    EXPECT_EQ(storedNames(), (QStringList{"b", "c"}));
    EXPECT_EQ(listed(list()), storedNames());
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    // Nothing selected: delete, edit and the moves do nothing.
    manager_->MENU_DEL->trigger();
    manager_->DOWNBUT->click();
    manager_->MENU_REDACT->trigger();
    EXPECT_EQ(storedNames(), (QStringList{"b", "c"}));
    EXPECT_FALSE(editor_->isVisible());
}

TEST_F(SnippetWindowsTest, DragHintAndRightClickFollowTheRowUnderThePointer)
{
    QList<QPair<QString, QString>> many;
    for (int i = 0; i < 30; ++i)
        many.append({QStringLiteral("s%1").arg(i), QStringLiteral("text %1#nstrmore").arg(i)});
    storeSnippets(many);
    manager_->resize(300, 260);
    manager_->show();
    list()->scrollToItem(list()->item(20), QAbstractItemView::PositionAtTop);
    ASSERT_GT(list()->indexAt(QPoint(5, 5)).row(), 15);
    const int top = list()->indexAt(QPoint(5, 5)).row();

    // The hint of the row under the pointer, with "#nstr" shown as a line break.
    EXPECT_EQ(shownHint(manager_->hintAt(rowPoint(top + 1))), QStringLiteral("text %1\nmore").arg(top + 1));

    // Drag the entry at the top two rows down: the list follows at once,
    // the store changes once, at the drop.
    QWidget* vp = list()->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, rowPoint(top));
    EXPECT_EQ(list()->currentRow(), top);
    const QPoint target = rowPoint(top + 2);
    QMouseEvent move(QEvent::MouseMove, target, vp->mapToGlobal(target), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    EXPECT_TRUE(manager_->dragging());
    EXPECT_EQ(list()->item(top + 2)->text(), QStringLiteral("s%1").arg(top));
    EXPECT_EQ(storedNames().value(top), QStringLiteral("s%1").arg(top)); // not yet stored
    QTest::mouseRelease(vp, Qt::LeftButton, {}, target);
    EXPECT_FALSE(manager_->dragging());
    EXPECT_EQ(storedNames(), listed(list()));
    EXPECT_EQ(storedNames().value(top + 2), QStringLiteral("s%1").arg(top));

    // Right button: the row under the pointer is selected and the menu opens.
    QTest::mouseClick(vp, Qt::RightButton, {}, rowPoint(top + 1));
    EXPECT_EQ(list()->currentRow(), top + 1);
    EXPECT_TRUE(manager_->PopupMenu1->isVisible());
    manager_->PopupMenu1->hide();
}

TEST_F(SnippetWindowsTest, HintShowsTheSourceAsWritten)
{
    // The menu's hints are checked with the menu above.
    storeSnippets({{"Таблица", "<TABLE>#nstr  <TR><TD>a & b</TD></TR>#nstr</TABLE>"}});
    manager_->show();
    EXPECT_EQ(shownHint(manager_->hintAt(rowPoint(0))).toStdString(), "<TABLE>\n  <TR><TD>a & b</TD></TR>\n</TABLE>");
}

TEST_F(SnippetWindowsTest, HelpPictureAndKeys)
{
    storeSnippets({{"a", "1"}});
    manager_->show();
    QTest::mouseClick(manager_->MImage1, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(prompts_.count(QStringLiteral("notice")), 1);
    EXPECT_EQ(prompts_.shown.back().text,
              QStringLiteral("В списке можно перетягивать элементы, редактировать заготовку двойным кликом\r\n"
                             "или выполнять иные функции при нажатии правой кнопки мыши."));
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(manager_->isVisible());
    manager_->show();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_FALSE(manager_->isVisible());
}

} // namespace
