#include "editor/ui/KRichEdit.h"

#include <optional>

#include "editor/MemoryTextModel.h"

#include "editor/EditorLogic.h"
#include "editor/ui/EditorDocumentLayout.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>

namespace {

const QString kLf = QStringLiteral("\n");

} // namespace

TKRichEdit::TKRichEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    auto* doc = new QTextDocument(this);
    auto* layout = new TEditorDocumentLayout(doc);
    layout->setShownBlock([this] { return firstVisibleBlock(); });
    layout->setCaretBlock([this] { return textCursor().block(); });
    layout->setInView([this](const QTextBlock& block) { return lineInView(block); });
    doc->setDocumentLayout(layout);
    doc->documentLayout()->setPaintDevice(viewport());
    doc->setDefaultFont(font());
    setDocument(doc);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
    document()->setMaximumBlockCount(0);
    // The program keeps its own undo history.
    setUndoRedoEnabled(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { Q_EMIT OnScroll(this); });
    attachDisplayAids();
    reportedLength_ = textLength();
    connect(document(), &QTextDocument::contentsChange, this, &TKRichEdit::reportDocumentChange);
    // The caret moved by anything but typing: Qt's handling of it needs its
    // line laid out (a long line followed through edits is not).
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (!typing_ && followedCaretLine()) {
            layOutFollowedLine();
            QPlainTextEdit::ensureCursorVisible();
        }
    });
    // The caret's blink, to repaint it where it is on such a line.
    for (QObject* child : children())
        if (qstrcmp(child->metaObject()->className(), "QPlainTextEditControl") == 0)
            child->installEventFilter(this);
}

TKRichEdit::~TKRichEdit()
{
    // The document outlives this part of the control for a moment: its
    // layout must not ask for the view any more.
    if (auto* layout = qobject_cast<TEditorDocumentLayout*>(document()->documentLayout())) {
        layout->setShownBlock({});
        layout->setCaretBlock({});
        layout->setInView({});
    }
}

void TKRichEdit::reportDocumentChange(int position, int, int added)
{
    // Positions after the change; the document counts one separator more
    // than the text has (after its last block). What follows the changed
    // range is the same before and after, which gives the removed length.
    const int end = document()->characterCount() - 1;
    const int from = std::clamp(position, 0, std::max(end, 0));
    const int to = std::clamp(position + std::max(added, 0), from, std::max(end, 0));
    const int length = textLength();
    const int offset = toOffset(from);
    const int addedOffsets = toOffset(to) - offset;
    const int tail = length - offset - addedOffsets;
    const int removedOffsets = std::max(0, reportedLength_ - offset - tail);
    reportedLength_ = length;
    if (setTextKept_) {
        setTextKept_ = false;
        setText_.clear();
    }
    reportChange(offset, removedOffsets, addedOffsets);
    Q_EMIT OnTextChange(offset, removedOffsets, addedOffsets);
}

int TKRichEdit::LineHeight = 0;

void TKRichEdit::measureLineHeight()
{
    // The height of "AbCdMАБВГ" as the control lays it out: two sample lines
    // in a document like the control's, the distance between their tops. So
    // everything positioned by LineHeight stays beside its line.
    const QString sample = QStringLiteral("AbCdMАБВГ");
    QTextDocument doc;
    doc.setDefaultFont(font());
    auto* layout = new QPlainTextDocumentLayout(&doc);
    doc.setDocumentLayout(layout);
    doc.setPlainText(sample + u'\n' + sample);
    const qreal first = layout->blockBoundingRect(doc.firstBlock()).top();
    const qreal second = layout->blockBoundingRect(doc.lastBlock()).top();
    LineHeight = qRound(second - first);
    if (LineHeight <= 0)
        LineHeight = QFontMetrics(font()).lineSpacing();
}

void TKRichEdit::scrollToThumb(int position)
{
    if (LineHeight <= 0)
        return;
    // The vertical scroll bar counts lines.
    verticalScrollBar()->setValue(SnapThumb(position, LineHeight) / LineHeight);
}

void TKRichEdit::scrollLines(int delta)
{
    if (LineHeight <= 0)
        return;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + delta);
}

void TKRichEdit::ScrollLinesUp(int n) { scrollLines(-n); }
void TKRichEdit::ScrollLinesDown(int n) { scrollLines(n); }

void TKRichEdit::scrollHorizontalTo(int position) { horizontalScrollBar()->setValue(position); }

namespace {

std::optional<QKeySequence::StandardKey> clipboardCommand(const QKeyEvent* event)
{
    for (QKeySequence::StandardKey k : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll})
        if (event->matches(k))
            return k;
    return std::nullopt;
}

bool isRedoKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Y && mods == Qt::ControlModifier)
        || (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))
        || event->matches(QKeySequence::Redo);
}

} // namespace

namespace {

// Keys that type: text, Backspace, Delete, Return.
bool types(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods
        = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return mods == Qt::NoModifier;
    default:
        break;
    }
    // Text typed with Ctrl alone is a command; with Ctrl and Alt it is the
    // AltGr of some keyboards.
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && mods != Qt::ControlModifier && !(mods & Qt::MetaModifier);
}

} // namespace

void TKRichEdit::keyPressEvent(QKeyEvent* event)
{
    const bool typed = types(event) && !clipboardCommand(event);
    if (!typed) {
        // Moving the caret, a command: Qt's handling needs the caret's line
        // laid out.
        layOutFollowedLine();
    }
    const bool typingBefore = typing_;
    typing_ = typed;
    const int horizontalBefore = horizontalScrollBar()->value();
    keyPress(event);
    if (typed)
        showCaretTyped(horizontalBefore);
    typing_ = typingBefore;
}

void TKRichEdit::keyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        event->accept();
        scrollLines(event->key() == Qt::Key_PageUp ? -10 : 10);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ShiftModifier)) {
        // A line break is always a real one (no soft break inside a line).
        event->accept();
        textCursor().insertBlock();
    } else if (event->matches(QKeySequence::Undo)) {
        event->accept();
        Q_EMIT OnUndoKey();
    } else if (isRedoKey(event)) {
        event->accept();
        Q_EMIT OnRedoKey();
    } else if (const auto command = clipboardCommand(event)) {
        event->accept();
        Q_EMIT OnClipboardKey(*command);
    } else if (deleteOnFollowedLine(event) || typeOnFollowedLine(event)) {
        event->accept();
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
    Q_EMIT OnKeyDown(event->key(), event->modifiers(), event->nativeVirtualKey());
}

void TKRichEdit::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    // A held key repeats its press only, as one release ends it.
    if (!event->isAutoRepeat())
        Q_EMIT OnKeyUp(event->key(), event->modifiers(), event->nativeVirtualKey());
}

void TKRichEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    layOutFollowedLine();
    QPlainTextEdit::mousePressEvent(event);
    Q_EMIT OnMouseDown(event->position().toPoint(), event->button());
}

void TKRichEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button does nothing at all (no pasting either).
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
    Q_EMIT OnMouseUp(event->position().toPoint(), event->button());
}

void TKRichEdit::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        // A sideways wheel scrolls sideways.
        QPlainTextEdit::wheelEvent(event);
        return;
    }
    event->accept();
    scrollLines(delta < 0 ? 3 : -3);
}

void TKRichEdit::resizeEvent(QResizeEvent* event)
{
    // Unwrapped lines do not depend on the view's width, so a new width is
    // not passed on: the plain control would lay the whole page out again
    // and give every line a layout object of its own, which it keeps (on a
    // page of half a million lines, a good part of a second and over 150 MB).
    // The document layout gives the scroll range without the view's width.
    if (lineWrapMode() != NoWrap || event->oldSize().width() == event->size().width()) {
        QPlainTextEdit::resizeEvent(event);
        return;
    }
    QResizeEvent sameWidth(event->size(), QSize(event->size().width(), event->oldSize().height()));
    QPlainTextEdit::resizeEvent(&sameWidth);
}

QString TKRichEdit::text() const
{
    if (setTextKept_)
        return setText_;
    // The raw text keeps every character as typed (no space for a no-break
    // space); blocks are separated by U+2029, which becomes CR LF.
    const QString raw = document()->toRawText();
    QString result(textLength(), Qt::Uninitialized);
    QChar* out = result.data();
    qsizetype n = 0;
    const QChar* in = raw.constData();
    const qsizetype len = std::min<qsizetype>(raw.size(), document()->characterCount() - 1);
    for (qsizetype i = 0; i < len; ++i) {
        if (in[i] == QChar::ParagraphSeparator) {
            out[n++] = u'\r';
            out[n++] = u'\n';
        } else {
            out[n++] = in[i];
        }
    }
    result.truncate(n);
    return result;
}

void TKRichEdit::setText(const QString& text)
{
    // One pass before the text goes in: its line count for the gutter, and
    // whether the text can be kept as given. It is kept unless a character
    // the document turns into a block separator makes its text differ;
    // shared when it is in CR LF form already.
    const auto separator = [](char16_t c) { return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1; };
    bool crLf = true;
    bool faithful = true;
    qsizetype breaks = 0;
    const QChar* d = text.constData();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c == u'\r' || c == u'\n') {
            ++breaks;
            if (c == u'\r' && i + 1 < n && d[i + 1] == u'\n')
                ++i;
            else
                crLf = false;
        } else if (separator(c)) {
            faithful = false;
        }
    }
    settingText_ = true;
    prepareLineNumbers(int(std::min<qsizetype>(breaks, INT_MAX - 1)) + 1);
    // The document ends a line at CR LF, a lone CR and a lone LF alike, as the
    // text model does: the text goes in as it is, with no copy in LF form.
    setPlainText(text);
    settingText_ = false;
    QString kept = !faithful ? QString() : crLf ? text : WithLineBreaks(text, QStringLiteral("\r\n"));
    setTextKept_ = faithful && kept.size() == textLength();
    setText_ = setTextKept_ ? std::move(kept) : QString();
}

QString TKRichEdit::textPart(int offset, int length) const
{
    const qint64 from = std::clamp<qint64>(offset, 0, textLength());
    const qint64 to = std::clamp<qint64>(qint64(offset) + std::max(length, 0), from, textLength());
    if (setTextKept_)
        return setText_.mid(from, to - from);
    // Most of the text: one pass over the raw text is faster than a
    // selection.
    if (to - from > textLength() / 2)
        return text().mid(from, to - from);
    // An end between a line's CR and LF reads the whole break, then drops
    // the half outside the part.
    const auto positionOf = [this](qint64 offset, bool& onLf) {
        const QTextBlock b = blockAtOffset(offset);
        const qint64 column = offset - blockOffset(b);
        onLf = column >= b.length();
        return b.position() + int(std::min<qint64>(column, b.length() - 1));
    };
    bool fromLf = false;
    bool toLf = false;
    const int start = positionOf(from, fromLf);
    const int end = positionOf(to, toLf) + (toLf ? 1 : 0);
    QString s = documentPart(start, end - start);
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    if (fromLf)
        s.remove(0, 1);
    if (toLf)
        s.chop(1);
    return s;
}

namespace {

// A piece of a line is copied from the line's text when the line is not much
// longer than the piece; out of a long line a piece of a few pages is read a
// character at a time, since a cursor placed on a line measures the line up to
// its place. (A character looked up by position costs a search of the whole
// document's pieces: a lot of them on a page of many lines.)
void appendBlockPart(QString& out, const QTextBlock& block, int from, int to)
{
    if (block.length() <= 4 * (to - from) + 1024) {
        out += QStringView(block.text()).mid(from - block.position(), to - from);
        return;
    }
    if (to - from <= 32 * 1024) {
        out += TEditorDocumentLayout::lineText(block, from - block.position(), to - from);
        return;
    }
    // Many pages of it: a selection measures the line once for each end.
    QTextCursor c(const_cast<QTextDocument*>(block.document()));
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    out += c.selectedText();
}

} // namespace

QString TKRichEdit::documentPart(int position, int length) const
{
    const QTextDocument* doc = document();
    const int from = std::clamp(position, 0, doc->characterCount() - 1);
    const int to = std::clamp(position + std::max(length, 0), from, doc->characterCount() - 1);
    QString s;
    s.reserve(to - from);
    int at = from;
    for (QTextBlock b = doc->findBlock(from); at < to && b.isValid(); b = b.next()) {
        const int breakAt = b.position() + b.length() - 1;
        if (at < breakAt) {
            const int upTo = std::min(to, breakAt);
            appendBlockPart(s, b, at, upTo);
            at = upTo;
        }
        if (at < to) {
            s += QChar::ParagraphSeparator;
            ++at;
        }
    }
    return s;
}

int TKRichEdit::textLength() const
{
    const QTextDocument* doc = document();
    // characterCount() counts one separator after every block, the last
    // one included; text() has none after the last and two for the others.
    return (doc->characterCount() - 1) + (doc->blockCount() - 1);
}

int TKRichEdit::lineCount() const
{
    const QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    // An empty last block (the whole of an empty document, or what follows
    // a final break) is not a line.
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString TKRichEdit::line(int i) const
{
    if (i < 0 || i >= lineCount())
        return {};
    return document()->findBlockByNumber(i).text();
}

void TKRichEdit::setLine(int i, const QString& text)
{
    if (i < 0 || i >= lineCount())
        return;
    QTextCursor c(document()->findBlockByNumber(i));
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    const QString lf = WithLineBreaks(text, kLf);
    if (lf.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(lf);
    setTextCursor(c);
}

int TKRichEdit::blockOffset(const QTextBlock& block)
{
    return block.position() + block.blockNumber();
}

int TKRichEdit::lineStart(int i) const
{
    if (i < 0 || i >= document()->blockCount())
        return -1;
    return blockOffset(document()->findBlockByNumber(i));
}

QTextBlock TKRichEdit::blockAtOffset(qint64 offset) const
{
    const QTextDocument* doc = document();
    const int o = int(std::clamp<qint64>(offset, 0, textLength()));
    // Block offsets grow with the block number: find the last one <= o.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (blockOffset(doc->findBlockByNumber(mid)) <= o)
            lo = mid;
        else
            hi = mid - 1;
    }
    return doc->findBlockByNumber(lo);
}

int TKRichEdit::lineAt(int offset) const
{
    return blockAtOffset(offset).blockNumber();
}

int TKRichEdit::toPosition(qint64 offset) const
{
    const QTextBlock b = blockAtOffset(offset);
    const qint64 o = std::clamp<qint64>(offset, 0, textLength());
    const int column = int(std::min<qint64>(o - blockOffset(b), b.length() - 1));
    return b.position() + column;
}

int TKRichEdit::toOffset(int position) const
{
    return position + document()->findBlock(position).blockNumber();
}

int TKRichEdit::selStart() const
{
    return toOffset(textCursor().selectionStart());
}

int TKRichEdit::selLength() const
{
    const QTextCursor c = textCursor();
    return toOffset(c.selectionEnd()) - toOffset(c.selectionStart());
}

void TKRichEdit::setSelStart(int offset)
{
    QTextCursor c = textCursor();
    c.setPosition(toPosition(offset));
    setTextCursor(c);
}

void TKRichEdit::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int end = toPosition(qint64(toOffset(start)) + std::max(length, 0));
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TKRichEdit::setSelText(const QString& text)
{
    QTextCursor c = textCursor();
    const QString lf = WithLineBreaks(text, kLf);
    if (lf.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(lf);
    setTextCursor(c);
}

QString TKRichEdit::selText() const
{
    QString s = textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return s;
}

CaretPos TKRichEdit::caretPos() const
{
    const int end = textCursor().selectionEnd();
    const QTextBlock b = document()->findBlock(end);
    return {end - b.position(), b.blockNumber()};
}

int TKRichEdit::firstVisibleLine() const
{
    return firstVisibleBlock().blockNumber();
}
