#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Undo.h"

#include <QAction>
#include <QTest>

namespace {

class RedoCommands : public testing_support::FormTest {};

TEST_F(RedoCommands, KeysAndTheEntryTakeBackAnUndoUntilTheNextChange)
{
    TForm1& f = start();
    LoadingText = false;
    EXPECT_EQ(f.MENU_REDO->text(), QStringLiteral("Повторить"));
    EXPECT_FALSE(f.MENU_REDO->isEnabled());
    QTest::keyClicks(f.Memo1, QStringLiteral("abc"));
    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a"));
    EXPECT_TRUE(f.MENU_REDO->isEnabled());

    QTest::keyClick(f.Memo1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("ab"));
    EXPECT_EQ(f.Memo1->selStart(), 2);
    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("abc"));
    EXPECT_FALSE(f.MENU_REDO->isEnabled());

    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier);
    f.MENU_REDO->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("abc"));
    // A new change leaves nothing to redo.
    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClicks(f.Memo1, QStringLiteral("!"));
    EXPECT_FALSE(f.MENU_REDO->isEnabled());
    QTest::keyClick(f.Memo1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("ab!"));
}

} // namespace
