// The editor's reported change ranges, and undo and redo from them, on the
// edits where offsets can go wrong.
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"

#include "TestSupport.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <functional>

namespace {

struct RangeCase {
    const char* name;
    int caret;
    int selection;
    std::function<void(TKRichEdit&)> edit;
    const char* after;
};

void key(TKRichEdit& e, Qt::Key k) { QTest::keyClick(&e, k); }

class KRichEditChange : public testing_support::IsolatedTest {};

TEST_F(KRichEditChange, ReportedRangesRebuildTheTextAndUndoAndRedoFollowThem)
{
    const QString before = QStringLiteral("ab\r\ncd\r\nef");
    const RangeCase cases[] = {
        {"typed at a line start", 4, 0, [](TKRichEdit& e) { QTest::keyClicks(&e, QStringLiteral("x")); }, "ab\r\nxcd\r\nef"},
        {"typed at a line end", 6, 0, [](TKRichEdit& e) { QTest::keyClicks(&e, QStringLiteral("x")); }, "ab\r\ncdx\r\nef"},
        {"Enter at a line end", 6, 0, [](TKRichEdit& e) { key(e, Qt::Key_Return); }, "ab\r\ncd\r\n\r\nef"},
        {"Backspace at a line start", 4, 0, [](TKRichEdit& e) { key(e, Qt::Key_Backspace); }, "abcd\r\nef"},
        {"Delete at a line end", 2, 0, [](TKRichEdit& e) { key(e, Qt::Key_Delete); }, "abcd\r\nef"},
        {"typed over lines", 1, 7, [](TKRichEdit& e) { QTest::keyClicks(&e, QStringLiteral("Z")); }, "aZef"},
        {"multi-line paste", 5, 0, [](TKRichEdit& e) { e.insertPlainText(QStringLiteral("1\n2\r\n3")); }, "ab\r\nc1\r\n2\r\n3d\r\nef"},
        {"input method replaces the character before", 5, 0,
         [](TKRichEdit& e) {
             QInputMethodEvent preedit(QStringLiteral("ё"), {});
             QApplication::sendEvent(&e, &preedit);
             QInputMethodEvent commit;
             commit.setCommitString(QStringLiteral("ё"), -1, 1);
             QApplication::sendEvent(&e, &commit);
         },
         "ab\r\nёd\r\nef"},
        {"line replaced", 0, 0, [](TKRichEdit& e) { e.setLine(2, QStringLiteral("g\r\nh")); }, "ab\r\ncd\r\ng\r\nh"},
        {"whole text replaced", 0, 0, [](TKRichEdit& e) { e.setText(QStringLiteral("q")); }, "q"},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TKRichEdit edit;
        edit.show();
        edit.setFocus();
        edit.setText(before);
        UndoInit(&edit);
        QString mirror = edit.text();
        QObject::connect(&edit, &TKRichEdit::OnTextChange, [&](int offset, int removed, int added) {
            mirror = mirror.left(offset) + edit.textPart(offset, added) + mirror.mid(offset + removed);
        });
        edit.setSelStart(c.caret);
        edit.setSelLength(c.selection);
        UndoSnapshot();
        c.edit(edit);
        const QString after = QString::fromUtf8(c.after);
        EXPECT_EQ(edit.text(), after);
        EXPECT_EQ(mirror, after);
        // The key-up handler's step, then Undo and Redo.
        UndoCommit();
        UndoSnapshot();
        UndoRestore();
        EXPECT_EQ(edit.text(), before);
        EXPECT_EQ(edit.selStart(), c.caret);
        UndoRedo();
        EXPECT_EQ(edit.text(), after);
        EXPECT_EQ(mirror, after);
        UndoInit(nullptr);
    }
}

TEST_F(KRichEditChange, PartsOfTheTextReadAsTheWholeTextHoldsThem)
{
    TKRichEdit edit;
    const QString line = QStringLiteral("a\u00a0б\tc");
    edit.setText(line.repeated(20000) + QStringLiteral("\r\n") + line + QStringLiteral("\r\n\r\n") + line.repeated(10000));
    // Edited: the parts come from the document, not from the text as set.
    QTextCursor(edit.document()).insertText(QStringLiteral("x"));
    const QString whole = edit.text();
    const int secondLine = int(whole.indexOf(u'\r'));
    for (const auto& [offset, length] : std::vector<std::pair<int, int>>{
             {0, 3}, {secondLine - 2, 5}, {secondLine + 2, 9}, {secondLine + 7, 4}, {10, 50000}, {secondLine - 40000, 40009}, {whole.size() - 3, 10}}) {
        SCOPED_TRACE(testing::Message() << offset << "+" << length);
        EXPECT_EQ(edit.textPart(offset, length), whole.mid(offset, length));
    }
}

} // namespace
