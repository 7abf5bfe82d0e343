// The editor's document layout against Qt's plain one: after every edit each
// line breaks, measures and sits where the plain layout puts it; only the
// document's widest width may stay wider after the widest line narrows.
#include "editor/ui/KRichEdit.h"

#include "TestSupport.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
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
            // An unwrapped line is as wide as its text, whatever width it was given.
            if (plain.lineWrapMode() != QPlainTextEdit::NoWrap) {
                EXPECT_EQ(lx.width(), ly.width());
            }
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
    const int scrollRange = ours.horizontalScrollBar()->maximum();
    replace(0, 0, QString(300, u'm'))(ours);
    EXPECT_GT(layout->documentSize().width(), wide) << "a line wider than any before widens the document";
    EXPECT_GT(ours.horizontalScrollBar()->maximum(), scrollRange);
    // The view scrolls to the end of the new widest line.
    ours.horizontalScrollBar()->setValue(ours.horizontalScrollBar()->maximum());
    QTextCursor end(ours.document()->firstBlock());
    end.movePosition(QTextCursor::EndOfBlock);
    const QRect caret = ours.cursorRect(end);
    EXPECT_GE(caret.left(), 0);
    EXPECT_LE(caret.right(), ours.viewport()->width());
}

TEST_F(EditorDocumentLayout, AResizeKeepsUnwrappedLinesLaidOutAndTheScrollRangeThePlainLayoutGives)
{
    struct Page {
        const char* name;
        int longLine; // line number of a wide line, or -1
    };
    for (const Page page : {Page{"short lines", -1}, Page{"one wide line", 150}}) {
        SCOPED_TRACE(page.name);
        QStringList text(200, QStringLiteral("short"));
        if (page.longLine >= 0)
            text[page.longLine] = QString(150, u'm');
        TKRichEdit ours;
        QPlainTextEdit plain;
        for (QPlainTextEdit* e : {static_cast<QPlainTextEdit*>(&ours), &plain}) {
            e->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
            e->setLineWrapMode(QPlainTextEdit::NoWrap);
            e->setPlainText(text.join(u'\n'));
            e->show();
        }
        for (int width : {500, 1400, 300, 900}) {
            SCOPED_TRACE(width);
            for (QPlainTextEdit* e : {static_cast<QPlainTextEdit*>(&ours), &plain})
                e->resize(width + e->width() - e->viewport()->width(), 300);
            QTest::qWait(1);
            ASSERT_EQ(ours.viewport()->width(), plain.viewport()->width());
            const QTextBlock far = ours.document()->findBlockByNumber(120);
            if (width != 500) {
                ASSERT_GT(far.layout()->lineCount(), 0) << "a line out of view laid out once stays laid out";
            }
            for (QPlainTextEdit* e : {static_cast<QPlainTextEdit*>(&ours), &plain})
                for (QTextBlock b = e->document()->firstBlock(); b.isValid(); b = b.next())
                    e->document()->documentLayout()->blockBoundingRect(b);
            QTest::qWait(1);
            EXPECT_EQ(ours.horizontalScrollBar()->maximum(), plain.horizontalScrollBar()->maximum());
        }
    }
}

} // namespace

namespace {

// The caret at a column of a line, and the column a click at that caret's
// place gives back.
struct CaretPlace {
    int x;
    int back;
};

CaretPlace caretAt(TKRichEdit& e, int line, int column)
{
    QTextCursor c(e.document()->findBlockByNumber(line));
    c.setPosition(c.position() + column);
    const QRect r = e.cursorRect(c);
    const QTextCursor hit = e.cursorForPosition(QPoint(r.left(), r.center().y()));
    return {r.left(), hit.position() - hit.block().position()};
}

TEST_F(EditorDocumentLayout, ALongLineKeepsItsCaretPlacesThroughEditsAndCaretMoves)
{
    TKRichEdit ours;
    ours.resize(400, 200);
    ours.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
    // Longer than a line that is shaped.
    const QString longLine = QStringLiteral("<p class=\"a\">fi ffl AV Ta</p> ").repeated(1000);
    ours.setPlainText(longLine + u'\n' + QStringLiteral("short") + u'\n' + longLine);
    const auto expectPlaces = [&](int line, const char* when) {
        SCOPED_TRACE(when);
        int x = -1;
        for (int column : {0, 1, 5, 20, 21, 22, 23, 40}) {
            const CaretPlace p = caretAt(ours, line, column);
            EXPECT_GT(p.x, x) << column;
            EXPECT_EQ(p.back, column);
            x = p.x;
        }
    };
    ours.setTextCursor(QTextCursor(ours.document()->firstBlock()));
    expectPlaces(0, "opened");
    QTextCursor c = ours.textCursor();
    c.setPosition(20);
    ours.setTextCursor(c);
    QTest::keyClicks(&ours, QStringLiteral("xy"));
    EXPECT_EQ(ours.document()->firstBlock().text().mid(18, 6).toStdString(), "l xyAV");
    expectPlaces(0, "typed into");
    // The caret goes to the other long line, is typed with there, and back.
    c.setPosition(ours.document()->findBlockByNumber(2).position() + 3);
    ours.setTextCursor(c);
    QTest::keyClick(&ours, Qt::Key_Z);
    expectPlaces(2, "the other line typed into");
    c.setPosition(21);
    ours.setTextCursor(c);
    QTest::keyClick(&ours, Qt::Key_Backspace);
    expectPlaces(0, "back on the first line");
    // At the line's end, the view scrolled to it.
    QTest::keyClick(&ours, Qt::Key_End);
    EXPECT_EQ(ours.textCursor().positionInBlock(), ours.document()->firstBlock().length() - 1);
    EXPECT_GT(ours.horizontalScrollBar()->value(), 0);
    EXPECT_GE(ours.cursorRect().left(), 0);
    EXPECT_LE(ours.cursorRect().right(), ours.viewport()->width());
}

} // namespace
