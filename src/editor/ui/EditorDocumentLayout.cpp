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
    // The edit itself, as the document reports it before its layout: what
    // the layout is told may be wider (formats set on the line while the
    // edit was reported widen it to the whole line).
    connect(document, &QTextDocument::contentsChange, this,
        [this](int from, int removed, int added) { edit_ = {from, removed, added}; });
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

qreal TEditorDocumentLayout::laidOutWidth(const QTextBlock& block) const
{
    // Every laid-out line has the width the document is laid out at: a new
    // width lays the whole document out again.
    const QTextBlock shown = shownBlock_ ? shownBlock_() : QTextBlock();
    for (const QTextBlock& b : {block, block.previous(), block.next(), shown})
        if (b.isValid() && b.layout()->lineCount() > 0)
            return b.layout()->lineAt(0).width();
    return -1;
}

void TEditorDocumentLayout::coverUnshaped(const QTextBlock& block)
{
    // A line that got long or short: its formats turn shaping off or on;
    // one that grew: the unshaped range grows with it.
    const QList<QTextLayout::FormatRange> current = block.layout()->formats();
    const bool unshaped = !current.isEmpty() && isUnshaped(current.first());
    const bool longLine = block.length() >= kLongLine;
    if (unshaped != longLine || (unshaped && current.first().length < block.length()))
        setFormats(block, formats(block));
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
    const qreal available = laidOutWidth(block);
    if (available < 0)
        return false;

    keepGlyphs(block);
    QTextLayout* tl = block.layout();
    coverUnshaped(block);
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

QString TEditorDocumentLayout::lineText(const QTextBlock& block, int from, int length)
{
    const QTextDocument* doc = block.document();
    QString s(length, Qt::Uninitialized);
    QChar* out = s.data();
    const int at = block.position() + from;
    for (int i = 0; i < length; ++i)
        *out++ = doc->characterAt(at + i);
    return s;
}

namespace {

// Whether any of the formats changes the font (and so the advances).
bool changesFont(const QList<QTextLayout::FormatRange>& formats)
{
    for (const QTextLayout::FormatRange& r : formats)
        for (int property : r.format.properties().keys())
            if (property >= QTextFormat::FirstFontProperty && property <= QTextFormat::LastFontProperty)
                return true;
    return false;
}

} // namespace

const TLongLineGeometry* TEditorDocumentLayout::geometry(const QTextBlock& block) const
{
    if (!geometry_ || followed_.isNull() || followed_.block() != block || block.layout()->lineCount() != 0
        || geometry_->length() != block.length() - 1)
        return nullptr;
    return &*geometry_;
}

void TEditorDocumentLayout::layOutFollowed()
{
    const QTextBlock block = followed_.isNull() ? QTextBlock() : followed_.block();
    const bool laidOut = block.isValid() && geometry(block) == nullptr;
    geometry_.reset();
    followed_ = QTextCursor();
    if (!block.isValid() || laidOut)
        return;
    blockBoundingRect(block);
    // Qt's layout places the line's characters as the geometry did; only
    // its height may differ (a glyph of another font).
    Q_EMIT update(QRectF(0., -document()->documentMargin(), 1000000000., 1000000000.));
}

bool TEditorDocumentLayout::followEdit(const QTextBlock& block, int from, int removed, int added)
{
    const int length = block.length() - 1;
    if (length + 1 < kLongLine || !unwrapped() || !inView_ || !inView_(block)) {
        geometry_.reset();
        return false;
    }
    const auto read = [&block](int f, int n) { return lineText(block, f, n); };
    bool followed = false;
    if (geometry_ && !followed_.isNull() && followed_.block() == block)
        followed = geometry_->edit(from, removed, added, length, read);
    if (!followed) {
        // A line to follow from now on: its text plain, its formats the
        // document's own, left to right.
        geometry_.reset();
        QTextDocument* doc = document();
        const QTextLayout* tl = block.layout();
        if (!tl->preeditAreaText().isEmpty() || doc->defaultTextOption().textDirection() == Qt::RightToLeft
            || block.blockFormat().layoutDirection() == Qt::RightToLeft || changesFont(formats(block)))
            return false;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (!it.fragment().charFormat().properties().isEmpty())
                return false;
        geometry_.emplace(doc->defaultFont(), paintDevice());
        const QString text = block.text();
        if (!geometry_->measure(length, [&text](int f, int n) { return text.mid(f, n); })) {
            geometry_.reset();
            return false;
        }
        followed_ = QTextCursor(block);
    }
    coverUnshaped(block);
    block.layout()->clearLayout();
    const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? 1 : 0);
    measured(geometry_->width() + 2 * document()->documentMargin());
    return true;
}

QRectF TEditorDocumentLayout::followedRect(const QTextBlock& block) const
{
    if (!block.isVisible())
        return {};
    const qreal margin = document()->documentMargin();
    const qreal width = std::max(laidOutWidth(block), geometry_->width());
    return QRectF(0, 0, margin + width + margin, geometry_->height() + (block.next().isValid() ? 0 : margin));
}

QRectF TEditorDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (block.isValid() && block.layout()->lineCount() == 0) {
        if (geometry(block)) {
            if (inView_ && inView_(block))
                return followedRect(block);
            // Out of view, the line is Qt's to lay out again.
            auto* self = const_cast<TEditorDocumentLayout*>(this);
            self->geometry_.reset();
            self->followed_ = QTextCursor();
        }
        const_cast<TEditorDocumentLayout*>(this)->layOut(block);
    }
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
    if (changesFont(formats) && geometry(block)) {
        // Other advances: Qt lays the line out again.
        geometry_.reset();
        followed_ = QTextCursor();
    }
    if (block.length() >= kLongLine) {
        // The line's own formats come after this one and so override it.
        QTextCharFormat unshaped;
        unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
        unshaped.setProperty(kUnshapedProperty, true);
        // Past the line's end, so that the line grows some way before the
        // range is set again.
        constexpr int kRoom = 1 << 16;
        QList<QTextLayout::FormatRange> all{{0, block.length() + kRoom, unshaped}};
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
    // The edit as the document reported it, when it lies in this report.
    Edit edit{from, charsRemoved, charsAdded};
    if (edit_.from >= from && edit_.from + edit_.added <= from + charsAdded && edit_.removed - edit_.added == charsRemoved - charsAdded)
        edit = edit_;
    edit_ = {};
    if (blocks == blockCount_ && first == last && first.isValid() && first.length() > 0) {
        const bool wasFollowed = geometry_ && !followed_.isNull() && followed_.block() == first;
        if (followEdit(first, edit.from - first.position(), edit.removed, edit.added)) {
            if (wasFollowed)
                Q_EMIT updateBlock(first);
            else
                Q_EMIT update(QRectF(0., -doc->documentMargin(), 1000000000., 1000000000.));
            return;
        }
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
    geometry_.reset();
    followed_ = QTextCursor();
    // The whole text laid out again (a new text, a new font): its widest
    // line is the plain layout's to find.
    if (from == 0 && charsAdded >= doc->characterCount() - 1)
        widest_ = 0;
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}
