// The editor's document layout against Qt's plain one: after every edit each
// line breaks, measures and sits where the plain layout puts it; only the
// document's widest width may stay wider after the widest line narrows.
#include "editor/ui/KRichEdit.h"

#include "TestSupport.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>

namespace {

using Edit = std::function<void(QPlainTextEdit&)>;

// The same edit on both editors, through a cursor as typing makes it.
Edit replace(int from, int length, const QString& text)
{
    return [=](QPlainTextEdit& e) {
        QTextCursor c(e.document());
        c.setPosition(from);
        c.setPosition(from + length, QTextCursor::KeepAnchor);
        c.insertText(text);
    };
}

struct LayoutCase {
    const char* name;
    bool wrap;
    std::vector<Edit> edits;
};

QString lines(int count, int width)
{
    QStringList l;
    for (int i = 0; i < count; ++i)
        l << QString(width + (i == count / 2 ? 20 : 0), QChar(u'a' + i % 26));
    return l.join(u'\n');
}

void expectSameLines(QPlainTextEdit& ours, QPlainTextEdit& plain)
{
    QTextDocument* a = ours.document();
    QTextDocument* b = plain.document();
    ASSERT_EQ(a->blockCount(), b->blockCount());
    for (QTextBlock x = a->firstBlock(), y = b->firstBlock(); x.isValid(); x = x.next(), y = y.next()) {
        SCOPED_TRACE(x.blockNumber());
        const QRectF rx = a->documentLayout()->blockBoundingRect(x);
        const QRectF ry = b->documentLayout()->blockBoundingRect(y);
        EXPECT_EQ(rx.top(), ry.top());
        EXPECT_EQ(rx.height(), ry.height());
        ASSERT_EQ(x.layout()->lineCount(), y.layout()->lineCount());
        EXPECT_EQ(x.lineCount(), y.lineCount());
        for (int i = 0; i < x.layout()->lineCount(); ++i) {
            const QTextLine lx = x.layout()->lineAt(i);
            const QTextLine ly = y.layout()->lineAt(i);
            EXPECT_EQ(lx.textStart(), ly.textStart());
            EXPECT_EQ(lx.textLength(), ly.textLength());
            EXPECT_EQ(lx.width(), ly.width());
            EXPECT_EQ(lx.naturalTextWidth(), ly.naturalTextWidth());
            EXPECT_EQ(lx.position(), ly.position());
        }
    }
    EXPECT_EQ(a->lineCount(), b->lineCount());
    EXPECT_EQ(ours.document()->documentLayout()->documentSize().height(), plain.document()->documentLayout()->documentSize().height());
    EXPECT_GE(ours.document()->documentLayout()->documentSize().width(), plain.document()->documentLayout()->documentSize().width());
    EXPECT_EQ(ours.cursorRect(), plain.cursorRect());
}

class EditorDocumentLayout : public testing_support::IsolatedTest {};

TEST_F(EditorDocumentLayout, LinesMatchThePlainLayoutAfterEveryEdit)
{
    const int widest = 30 * 81 + 20; // the long line's first character
    const LayoutCase cases[] = {
        {"typing into the widest line, then taking it back", false,
         {replace(widest + 3, 0, QStringLiteral("xyz")), replace(widest + 3, 3, {}), replace(widest, 40, {})}},
        {"a line joined to the next and split again", false, {replace(widest - 1, 1, {}), replace(widest - 1, 0, QStringLiteral("\n"))}},
        {"lines replaced over several blocks", false, {replace(100, 500, QStringLiteral("q\nr")), replace(5, 1, QStringLiteral("\u0436"))}},
        {"a wrapped line grows by a screen line and shrinks back", true,
         {replace(widest, 0, QString(60, u'w')), replace(widest, 60, {}), replace(widest, 0, QStringLiteral("a b c "))}},
        {"a narrow line in a wrapped page", true, {replace(3, 2, QStringLiteral("\u0416\u0416\u0416")), replace(3, 3, {})}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        TKRichEdit ours;
        QPlainTextEdit plain;
        for (QPlainTextEdit* e : {static_cast<QPlainTextEdit*>(&ours), &plain}) {
            e->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
            e->setLineWrapMode(c.wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
            e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            e->resize(420, 300);
            e->show();
        }
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
        // The same text width and options: the editor's gutter takes room.
        plain.resize(plain.width() + ours.viewport()->width() - plain.viewport()->width(), plain.height());
        plain.document()->setDefaultTextOption(ours.document()->defaultTextOption());
        QTest::qWait(1);
        ASSERT_EQ(ours.viewport()->width(), plain.viewport()->width());
        ours.setPlainText(lines(60, 80));
        plain.setPlainText(lines(60, 80));
        expectSameLines(ours, plain);
        for (size_t i = 0; i < c.edits.size(); ++i) {
            SCOPED_TRACE(i);
            c.edits[i](ours);
            c.edits[i](plain);
            QTest::qWait(1);
            expectSameLines(ours, plain);
        }
    }
}

TEST_F(EditorDocumentLayout, TheWidestWidthHoldsWhenTheWidestLineNarrowsAndFollowsANewWidestLine)
{
    TKRichEdit ours;
    ours.setLineWrapMode(QPlainTextEdit::NoWrap);
    ours.resize(300, 200);
    ours.show();
    const QString line(200, u'm');
    ours.setPlainText(line + u'\n' + line + u'\n' + line);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
    auto* layout = ours.document()->documentLayout();
    for (QTextBlock b = ours.document()->firstBlock(); b.isValid(); b = b.next())
        layout->blockBoundingRect(b);
    // The middle line becomes the widest, then narrows again.
    replace(201 + 100, 0, QStringLiteral("mm"))(ours);
    const qreal wide = layout->documentSize().width();
    replace(201 + 100, 2, {})(ours);
    EXPECT_EQ(layout->documentSize().width(), wide) << "no search for a new widest line at an edit";
    replace(0, 0, QString(300, u'm'))(ours);
    EXPECT_GT(layout->documentSize().width(), wide) << "a line wider than any before widens the document";
}

} // namespace
