// The editor on a long line whose geometry follows its edits: Qt's layout
// of such a line has no lines (it is not laid out again at each key), so
// what Qt would measure on it is measured here, and whatever else needs the
// line laid out lays it out first.
#include "editor/ui/EditorDocumentLayout.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/LongLineGeometry.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextDocument>

TEditorDocumentLayout* TKRichEdit::editorLayout() const
{
    return qobject_cast<TEditorDocumentLayout*>(document()->documentLayout());
}

const TLongLineGeometry* TKRichEdit::followedCaretLine() const
{
    const TEditorDocumentLayout* layout = editorLayout();
    return layout ? layout->geometry(textCursor().block()) : nullptr;
}

qreal TKRichEdit::followedCaretX(const TLongLineGeometry& geometry) const
{
    const QTextCursor c = textCursor();
    const int start = c.block().position();
    return document()->documentMargin()
        + geometry.xOf(c.position() - start, [this, start](int from, int n) { return documentPart(start + from, n); });
}

bool TKRichEdit::lineInView(const QTextBlock& block) const
{
    // From the first line in view down, by the heights of the lines above
    // this one (never this one's: that would ask for its layout).
    QTextBlock b = firstVisibleBlock();
    if (!b.isValid() || block.blockNumber() < b.blockNumber())
        return false;
    qreal top = contentOffset().y();
    const qreal bottom = viewport()->height();
    for (; b.isValid() && b != block; b = b.next()) {
        if (b.isVisible())
            top += blockBoundingRect(b).height();
        if (top >= bottom)
            return false;
    }
    return b.isValid() && top >= 0 && top + std::max(LineHeight, 1) <= bottom;
}

void TKRichEdit::layOutFollowedLine()
{
    if (TEditorDocumentLayout* layout = editorLayout())
        layout->layOutFollowed();
}

QRect TKRichEdit::cursorRect() const { return cursorRect(textCursor()); }

QRect TKRichEdit::cursorRect(const QTextCursor& cursor) const
{
    QRect r = QPlainTextEdit::cursorRect(cursor);
    const TEditorDocumentLayout* layout = editorLayout();
    if (const TLongLineGeometry* geometry = layout ? layout->geometry(cursor.block()) : nullptr) {
        // Qt places the caret at the line's start, not knowing its glyphs.
        const int start = cursor.block().position();
        const qreal x = document()->documentMargin()
            + geometry->xOf(cursor.position() - start, [this, start](int from, int n) { return documentPart(start + from, n); });
        r.translate(qRound(x), 0);
        r.setHeight(int(geometry->height()));
    }
    return r;
}

QTextCursor TKRichEdit::cursorForPosition(const QPoint& pos) const
{
    QTextCursor c = QPlainTextEdit::cursorForPosition(pos);
    const TEditorDocumentLayout* layout = editorLayout();
    if (const TLongLineGeometry* geometry = layout ? layout->geometry(c.block()) : nullptr) {
        // Qt finds the line, not the character on it.
        const int start = c.block().position();
        const qreal x = pos.x() - contentOffset().x() - document()->documentMargin();
        c.setPosition(start
            + geometry->positionAt(x, [this, start](int from, int n) { return documentPart(start + from, n); }));
    }
    return c;
}

void TKRichEdit::ensureCursorVisible()
{
    if (followedCaretLine())
        layOutFollowedLine();
    QPlainTextEdit::ensureCursorVisible();
}

QVariant TKRichEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    QVariant v = QPlainTextEdit::inputMethodQuery(query);
    if (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle) {
        if (const TLongLineGeometry* geometry = followedCaretLine()) {
            QRectF r = v.toRectF();
            r.translate(followedCaretX(*geometry), 0);
            r.setHeight(geometry->height());
            v = r;
        }
    }
    return v;
}

void TKRichEdit::showCaretTyped(int horizontalBefore)
{
    const TLongLineGeometry* geometry = followedCaretLine();
    if (!geometry)
        return;
    // Qt has scrolled to the line's start, where it placed the caret.
    const qreal x = followedCaretX(*geometry);
    const int width = viewport()->width();
    int to = horizontalBefore;
    if (x < to || x + cursorWidth() > to + width)
        to = int(x) - width / 2;
    horizontalScrollBar()->setValue(to);
    viewport()->update(cursorRect().adjusted(-4, 0, 4, 0));
}

bool TKRichEdit::deleteOnFollowedLine(const QKeyEvent* event)
{
    const bool back = event->key() == Qt::Key_Backspace
        && (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
    const bool forward = event->key() == Qt::Key_Delete
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((!back && !forward) || isReadOnly() || textCursor().hasSelection() || !followedCaretLine())
        return false;
    QTextCursor c = textCursor();
    const QTextBlock block = c.block();
    const int p = c.position();
    if (back ? p == block.position() : p == block.position() + block.length() - 1)
        return false; // lines join: Qt's own handling
    c.setPosition(back ? p - 1 : p + 1, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    return true;
}

void TKRichEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton)
        layOutFollowedLine();
    QPlainTextEdit::mouseMoveEvent(event);
}

void TKRichEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    layOutFollowedLine();
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void TKRichEdit::dragMoveEvent(QDragMoveEvent* event)
{
    layOutFollowedLine();
    QPlainTextEdit::dragMoveEvent(event);
}

void TKRichEdit::dropEvent(QDropEvent* event)
{
    layOutFollowedLine();
    QPlainTextEdit::dropEvent(event);
}

void TKRichEdit::inputMethodEvent(QInputMethodEvent* event)
{
    layOutFollowedLine();
    QPlainTextEdit::inputMethodEvent(event);
}

bool TKRichEdit::eventFilter(QObject* watched, QEvent* event)
{
    // The caret's blink repaints where Qt places the caret; on a followed
    // line that is its start.
    if (event->type() == QEvent::Timer && followedCaretLine())
        viewport()->update(cursorRect().adjusted(-4, 0, 4, 0));
    return QPlainTextEdit::eventFilter(watched, event);
}
