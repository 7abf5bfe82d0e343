// The editor on a long line whose geometry follows its edits: Qt's layout
// of such a line has no lines (it is not laid out again at each key), so
// what Qt would measure on it is measured here, and whatever else needs the
// line laid out lays it out first.
#include "editor/ui/EditorDocumentLayout.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/LongLineGeometry.h"

#include <QApplication>
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
    TEditorDocumentLayout* layout = editorLayout();
    if (!layout)
        return;
    const bool caretFollowed = followedCaretLine() != nullptr;
    layout->layOutFollowed();
    if (caretFollowed && caretXStale_) {
        // The caret's x for Up and Down, from the line now laid out; the
        // caret stays where it is.
        caretXStale_ = false;
        QTextCursor c = textCursor();
        const int position = c.position();
        c.setPosition(c.anchor());
        c.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
}

QRect TKRichEdit::cursorRect() const { return cursorRect(textCursor()); }

QRect TKRichEdit::cursorRect(const QTextCursor& cursor) const
{
    const std::optional<QRect> r = followedCaretRect(cursor.position());
    return r ? *r : QPlainTextEdit::cursorRect(cursor);
}

std::optional<QRect> TKRichEdit::followedCaretRect(int position) const
{
    const TEditorDocumentLayout* layout = editorLayout();
    const QTextBlock block = document()->findBlock(position);
    const TLongLineGeometry* geometry = layout ? layout->geometry(block) : nullptr;
    if (!geometry)
        return std::nullopt;
    // Where Qt places a caret on a laid-out line (Qt itself would place it
    // at the line's start, not knowing its glyphs).
    const int start = block.position();
    const QRectF line = blockBoundingGeometry(block).translated(contentOffset());
    const qreal x = line.left() + document()->documentMargin()
        + geometry->xOf(position - start, [this, start](int from, int n) { return documentPart(start + from, n); });
    return QRectF(x, line.top(), cursorWidth(), geometry->height()).toRect();
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
    if (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle) {
        const QTextCursor c = textCursor();
        if (const std::optional<QRect> r = followedCaretRect(query == Qt::ImCursorRectangle ? c.position() : c.anchor()))
            return QRectF(*r);
    }
    return QPlainTextEdit::inputMethodQuery(query);
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
    editFollowedLine(c, back ? p - 1 : p, back ? p : p + 1, QString());
    return true;
}

void TKRichEdit::editFollowedLine(QTextCursor& cursor, int from, int to, const QString& text)
{
    cursor.beginEditBlock();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    if (text.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(text);
    cursor.endEditBlock();
    // The control reports its cursor moved by the edit by itself, but its
    // x (kept for Up and Down) is the one from before the typing.
    typed_.start();
    caretXStale_ = true;
}

bool TKRichEdit::typeOnFollowedLine(const QKeyEvent* event)
{
    const QString text = event->text();
    const Qt::KeyboardModifiers mods
        = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (text.isEmpty() || (mods != Qt::NoModifier && mods != (Qt::ControlModifier | Qt::AltModifier)) || isReadOnly()
        || overwriteMode() || textCursor().hasSelection()
        || (textInteractionFlags() & Qt::TextEditable) == 0)
        return false;
    const TLongLineGeometry* geometry = followedCaretLine();
    if (!geometry || !geometry->isPlain(text) || !lineInView(textCursor().block()))
        return false;
    QTextCursor c = textCursor();
    const int p = c.position();
    editFollowedLine(c, p, p, text);
    return true;
}

bool TKRichEdit::caretShownAfterTyping() const
{
    return typed_.isValid() && typed_.elapsed() < QApplication::cursorFlashTime() / 2;
}

void TKRichEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton)
        layOutFollowedLine();
    QPlainTextEdit::mouseMoveEvent(event);
}

void TKRichEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    doubleClicked_.start();
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
    // The control's timers: the caret's blink, and the end of a triple
    // click's time (which runs a double click's time after one: left to
    // the control). On a followed line the caret blinks here: the control
    // would look for the caret's line on the whole line's text at the
    // first blink after each edit.
    const bool tripleClickTime = doubleClicked_.isValid() && doubleClicked_.elapsed() <= QApplication::doubleClickInterval();
    if (event->type() == QEvent::Timer && !tripleClickTime && followedCaretLine()) {
        followedCaretOn_ = caretShownAfterTyping() || !followedCaretOn_;
        viewport()->update(cursorRect().adjusted(-4, 0, 4, 0));
        return true;
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

bool TKRichEdit::followedCaretShown() const { return followedCaretOn_ || caretShownAfterTyping(); }
