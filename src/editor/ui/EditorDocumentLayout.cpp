#include "editor/ui/EditorDocumentLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

TEditorDocumentLayout::TEditorDocumentLayout(QTextDocument* document)
    : QPlainTextDocumentLayout(document)
    , margin_(document->documentMargin())
{
}

namespace {

// Marks the format that turns shaping off, among a line's formats.
constexpr int kUnshapedProperty = QTextFormat::UserProperty + 0x7A2;

bool isUnshaped(const QTextLayout::FormatRange& r) { return r.format.hasProperty(kUnshapedProperty); }

} // namespace

QList<QTextLayout::FormatRange> TEditorDocumentLayout::formats(const QTextBlock& block)
{
    QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    formats.removeIf(isUnshaped);
    return formats;
}

bool TEditorDocumentLayout::unwrapped() const { return document()->defaultTextOption().wrapMode() == QTextOption::NoWrap; }

QSizeF TEditorDocumentLayout::documentSize() const
{
    QSizeF size = QPlainTextDocumentLayout::documentSize();
    size.setWidth(unwrapped() ? widest_ : std::max(size.width(), widest_));
    return size;
}

void TEditorDocumentLayout::measured(qreal width)
{
    if (width <= widest_)
        return;
    widest_ = width;
    Q_EMIT documentSizeChanged(documentSize());
}

void TEditorDocumentLayout::keepGlyphs(const QTextBlock& block)
{
    const bool keep = block.length() >= kLongLine && caretBlock_ && caretBlock_() == block;
    const QTextBlock kept = glyphsKept_.isNull() ? QTextBlock() : glyphsKept_.block();
    if (kept.isValid() && kept != block) {
        // The glyphs go with the layout; the line is laid out again when
        // it is next shown.
        kept.layout()->setCacheEnabled(false);
        setFormats(kept, formats(kept));
    }
    if (!keep) {
        if (kept == block)
            block.layout()->setCacheEnabled(false);
        glyphsKept_ = QTextCursor();
        return;
    }
    block.layout()->setCacheEnabled(true);
    glyphsKept_ = QTextCursor(block);
}

bool TEditorDocumentLayout::layOut(const QTextBlock& block)
{
    QTextDocument* doc = document();
    const QTextOption option = doc->defaultTextOption();
    const qreal margin = doc->documentMargin();
    // The width a line is given depends on the margin and, with this flag,
    // on each block's font: left to the plain layout after such a change.
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators || margin != margin_) {
        margin_ = margin;
        return false;
    }
    // Every laid-out line has the width the document is laid out at: a new
    // width lays the whole document out again.
    qreal available = -1;
    const QTextBlock shown = shownBlock_ ? shownBlock_() : QTextBlock();
    for (const QTextBlock& b : {block, block.previous(), block.next(), shown}) {
        if (b.isValid() && b.layout()->lineCount() > 0) {
            available = b.layout()->lineAt(0).width();
            break;
        }
    }
    if (available < 0)
        return false;

    keepGlyphs(block);
    QTextLayout* tl = block.layout();
    // A line that got long or short: its formats turn shaping off or on.
    const QList<QTextLayout::FormatRange> current = tl->formats();
    const bool unshaped = !current.isEmpty() && isUnshaped(current.first());
    if (unshaped != (block.length() >= kLongLine))
        setFormats(block, formats(block));
    tl->setTextOption(option);
    tl->beginLayout();
    qreal height = 0;
    qreal widest = 0;
    for (;;) {
        QTextLine line = tl->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(available);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += std::ceil(line.leading());
        widest = std::max(widest, line.naturalTextWidth() + 2 * margin);
    }
    tl->endLayout();

    const int linesBefore = doc->lineCount();
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? tl->lineCount() : 0);
    if (widest > documentSize().width()) {
        // A new widest line: the document widens to it.
        measured(widest);
    } else if (doc->lineCount() != linesBefore) {
        Q_EMIT documentSizeChanged(documentSize());
    }
    return true;
}

QRectF TEditorDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (block.isValid() && block.layout()->lineCount() == 0)
        const_cast<TEditorDocumentLayout*>(this)->layOut(block);
    const QRectF rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    if (unwrapped() && block.isValid()) {
        // Whoever laid it out, a line in use counts for the width.
        const QTextLayout* tl = block.layout();
        qreal widest = 0;
        for (int i = 0; i < tl->lineCount(); ++i)
            widest = std::max(widest, tl->lineAt(i).naturalTextWidth());
        const_cast<TEditorDocumentLayout*>(this)->measured(widest + 2 * document()->documentMargin());
    }
    return rect;
}

void TEditorDocumentLayout::setFormats(const QTextBlock& block, const QList<QTextLayout::FormatRange>& formats)
{
    if (block.length() >= kLongLine) {
        // The line's own formats come after this one and so override it.
        QTextCharFormat unshaped;
        unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
        unshaped.setProperty(kUnshapedProperty, true);
        QList<QTextLayout::FormatRange> all{{0, block.length(), unshaped}};
        all.append(formats);
        block.layout()->setFormats(all);
    } else {
        block.layout()->setFormats(formats);
    }
    // Inside the document's own report of an edit the line joins that
    // edit's range, which is reported next anyway.
    formatsOnly_ = true;
    document()->markContentsDirty(block.position(), block.length());
    formatsOnly_ = false;
}

void TEditorDocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    if (formatsOnly_)
        return;
    // A change inside one line, the line count unchanged: that line alone
    // is laid out again, as the plain layout does, without its search for a
    // new widest line.
    QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    const QTextBlock first = doc->findBlock(from);
    // The text now in place of the change; with the line count unchanged,
    // what it replaced held no line break unless this holds one too.
    const QTextBlock last = doc->findBlock(std::max(from, from + charsAdded - 1));
    if (blocks == blockCount_ && first == last && first.isValid() && first.length() > 0) {
        const qreal heightBefore = blockBoundingRect(first).height();
        if (layOut(first)) {
            if (blockBoundingRect(first).height() == heightBefore)
                Q_EMIT updateBlock(first);
            else
                Q_EMIT update(QRectF(0., -doc->documentMargin(), 1000000000., 1000000000.));
            return;
        }
    }
    blockCount_ = blocks;
    // The whole text laid out again (a new text, a new font): its widest
    // line is the plain layout's to find.
    if (from == 0 && charsAdded >= doc->characterCount() - 1)
        widest_ = 0;
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}
