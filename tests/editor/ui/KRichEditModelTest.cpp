#include "editor/ui/KRichEdit.h"

#include "editor/TextModelConformance.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

namespace {

struct KRichEditFactory {
    using Model = TKRichEdit;
    static std::unique_ptr<Model> make()
    {
        auto edit = std::make_unique<Model>();
        edit->resize(400, 300);
        return edit;
    }
    static void scrollTo(Model& model, int line)
    {
        // Without word wrap the vertical scroll bar counts lines.
        model.show();
        QApplication::processEvents();
        model.verticalScrollBar()->setValue(line);
    }
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(KRichEdit, TextModelConformance, ::testing::Types<KRichEditFactory>);

TEST(KRichEditTextModel, SelectionIsTheWidgetsOwn)
{
    TKRichEdit edit;
    edit.setText(QStringLiteral("ab\r\ncd\r\nef"));
    edit.setSelStart(1);
    edit.setSelLength(5);
    const QTextCursor c = edit.textCursor();
    EXPECT_EQ(c.selectionStart(), 1);
    EXPECT_EQ(c.selectionEnd(), 5);
    EXPECT_EQ(c.position(), 5);  // the caret stands at the end
    EXPECT_EQ(c.selectedText(), QStringLiteral("b\u2029cd"));
}

TEST(KRichEditTextModel, BackwardSelectionStartsAtItsSmallerEnd)
{
    TKRichEdit edit;
    edit.setText(QStringLiteral("ab\r\ncd\r\nef"));
    QTextCursor c = edit.textCursor();
    c.setPosition(7);                           // after "e"
    c.setPosition(1, QTextCursor::KeepAnchor);  // caret after "a"
    edit.setTextCursor(c);
    EXPECT_EQ(edit.selStart(), 1);
    EXPECT_EQ(edit.selLength(), 8);
    EXPECT_EQ(edit.selText(), QStringLiteral("b\r\ncd\r\ne"));
    EXPECT_EQ(edit.caretPos(), (CaretPos{1, 2}));

    edit.setSelLength(2);
    EXPECT_EQ(edit.selText(), QStringLiteral("b"));
}

TEST(KRichEditTextModel, TypingReachesTheModelAndTabInsertsATab)
{
    QWidget window;
    auto* edit = new TKRichEdit(&window);
    new TKRichEdit(&window);  // somewhere else the focus could go
    window.show();
    edit->setFocus();
    QApplication::processEvents();

    QTest::keyClicks(edit, QStringLiteral("ab"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("c"));
    EXPECT_EQ(edit->text(), QStringLiteral("ab\t\r\nc"));
    EXPECT_EQ(edit->selStart(), 6);
    EXPECT_EQ(edit->caretPos(), (CaretPos{1, 1}));
}
