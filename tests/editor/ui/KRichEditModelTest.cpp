#include "editor/ui/KRichEdit.h"

#include "editor/TextModelConformance.h"

#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
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

TEST(KRichEditTextModel, PartsReadAcrossLinesAndPiecesAsTheWholeText)
{
    // Short lines, empty ones and a long line edited in several places,
    // beside a long line kept as it was set.
    TKRichEdit edit;
    const QString longLine = QString(6000, u'x');
    edit.setText(QStringLiteral("ab\r\n\r\ncd\r\n") + longLine + QStringLiteral("\r\n") + longLine + QStringLiteral("\r\nend"));
    const QTextBlock edited = edit.document()->findBlockByNumber(3);
    QTextCursor c(edit.document());
    for (const int column : {5000, 3000, 10, 4500}) {
        c.setPosition(edited.position() + column);
        c.insertText(QString::number(column) + QStringLiteral("ё"));
    }
    const QString raw = edit.document()->toRawText();
    const QString text = edit.text();
    for (const int length : {0, 1, 3, 40, 2500, 7000, 20000}) {
        for (int at = 0; at < raw.size(); at += at < 30 ? 1 : 97) {
            ASSERT_EQ(edit.documentPart(at, length), raw.mid(at, length)) << at << " " << length;
            ASSERT_EQ(edit.textPart(at, length), text.mid(at, length)) << at << " " << length;
        }
    }
    EXPECT_EQ(edit.documentPart(raw.size() - 2, 10), QStringLiteral("nd"));  // not the last block's end

    // After a final break: the empty last line, and the halves of the break.
    edit.setText(QStringLiteral("b\r\n"));
    QTextCursor(edit.document()).insertText(QStringLiteral("a"));  // not the text as set
    EXPECT_EQ(edit.documentPart(0, 10), QStringLiteral("ab\u2029"));
    EXPECT_EQ(edit.textPart(0, 10), QStringLiteral("ab\r\n"));
    EXPECT_EQ(edit.textPart(2, 1), QStringLiteral("\r"));
    EXPECT_EQ(edit.textPart(3, 5), QStringLiteral("\n"));
    EXPECT_EQ(edit.textPart(4, 5), QString());

    // Many pages out of a far longer line.
    QString wide;
    for (int i = 0; wide.size() < 300000; ++i)
        wide += QString::number(i) + u' ';
    edit.setText(QStringLiteral("a\r\n") + wide + QStringLiteral("\r\nb"));
    const QString wideRaw = edit.document()->toRawText();
    for (const int at : {0, 1, 2, 1000, 150000})
        EXPECT_EQ(edit.documentPart(at, 40000), wideRaw.mid(at, 40000)) << at;
    EXPECT_EQ(edit.documentPart(wideRaw.size() - 40000, 50000), wideRaw.right(40000));
}
