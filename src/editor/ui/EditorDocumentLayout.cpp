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

    QTextLayout* tl = block.layout();
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
        // A new widest line: the plain layout lays it out once more and
        // takes its width as the document's.
        tl->clearLayout();
        QPlainTextDocumentLayout::blockBoundingRect(block);
    } else if (doc->lineCount() != linesBefore) {
        Q_EMIT documentSizeChanged(documentSize());
    }
    return true;
}

QRectF TEditorDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (block.isValid() && block.layout()->lineCount() == 0)
        const_cast<TEditorDocumentLayout*>(this)->layOut(block);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void TEditorDocumentLayout::setFormats(const QTextBlock& block, const QList<QTextLayout::FormatRange>& formats)
{
    block.layout()->setFormats(formats);
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
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}
