// How the editor paints the lines in view.
//
// Qt's plain control draws every glyph of a line in view, wherever it falls:
// it skips lines by height only. On one line of megabytes (a minified
// script) that is most of a key's cost. When such a line is in view, the
// view is painted here the way the plain control paints it, except that a
// long line is drawn only around the exposed rectangle: that part of its
// text is laid out alone, with the line's formats and the selections cut to
// it, and drawn where it sits on the whole line. Without a long line in
// view the plain control paints as ever.
//
// The part is laid out without shaping across its ends, so its glyphs take
// the very advances they take on the whole line (to the 1/64 pixel Qt
// counts in) and land at the same places; tabs are given the stops the
// whole line's tabs reach. A line whose part could differ from the whole
// (right-to-left text, a part of another height, an input method's text,
// options that draw past the text) is drawn whole, as Qt draws it.
#include "editor/ui/KRichEdit.h"
#include "editor/ui/EditorDocumentLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Shorter lines are drawn whole: that costs little. Longer ones are laid
// out unshaped, so a part of one takes the advances it takes on the whole.
constexpr int kLongLine = TEditorDocumentLayout::kLongLine;
// Drawn beyond each side of the exposed rectangle: glyphs reaching out of
// their cells (italics, accents) and the caret.
constexpr qreal kMarginPx = 48;
// How far a cut between the part and the rest of the line is looked for.
constexpr int kCutSearch = 1024;

using Ranges = QList<QTextLayout::FormatRange>;

// What a line holds, as far as cutting it goes.
struct LineKind {
    // Characters that take part in bidirectional ordering: such a line is
    // drawn whole.
    bool bidi = false;
    // Latin and common characters alone (below the combining marks): all
    // of them are drawn by the one font, and the line may be cut anywhere.
    bool simple = true;
};

bool isBidi(char32_t c)
{
    switch (QChar::direction(c)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirRLI:
    case QChar::DirFSI:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirLRI:
    case QChar::DirPDF:
    case QChar::DirPDI:
        return true;
    default:
        return false;
    }
}

LineKind lineKind(QStringView text)
{
    LineKind kind;
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    constexpr qsizetype kChunk = 2048;
    for (qsizetype from = 0; from < n; from += kChunk) {
        const qsizetype to = std::min(n, from + kChunk);
        char16_t highest = 0;
        for (qsizetype i = from; i < to; ++i)
            highest = std::max(highest, s[i]);
        if (highest < 0x0300)
            continue;
        kind.simple = false;
        if (highest < 0x0590)
            continue;
        for (qsizetype i = from; i < to; ++i) {
            char32_t c = s[i];
            if (c < 0x0590)
                continue;
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
                c = QChar::surrogateToUcs4(s[i], s[i + 1]);
            if (isBidi(c)) {
                kind.bidi = true;
                return kind;
            }
        }
    }
    return kind;
}

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= 0x0410 && c <= 0x044F) || c == 0x0401
        || c == 0x0451;
}

// The part may start at p: the characters from p on fall into the same
// script runs (and so fonts) on the part as on the whole line.
bool canStartAt(QStringView t, int p, bool simple)
{
    if (p == 0 || p >= t.size())
        return true;
    return simple ? t[p] != u'\t' : isLetter(t[p].unicode());
}

// The part may end at q: its last character is no space (a line's trailing
// spaces are left out of its measured width, which clips its selections)
// and the next one joins nothing before it.
bool canEndAt(QStringView t, int q)
{
    if (q == t.size())
        return true;
    const QChar last = t[q - 1];
    const QChar next = t[q];
    return !last.isSpace() && !last.isHighSurrogate() && next.unicode() < 0x0300 && !next.isLowSurrogate();
}

// The ranges that meet [from, to), moved to start at from. With open, a
// range goes on past to as it does past the line's end.
Ranges cut(const Ranges& ranges, int from, int to, bool open)
{
    Ranges part;
    for (const QTextLayout::FormatRange& r : ranges) {
        const int start = std::max(r.start, from);
        const int end = open ? r.start + r.length : std::min(r.start + r.length, to);
        if (end <= start)
            continue;
        part.append({start - from, end - start, r.format});
    }
    return part;
}

void fillBackground(QPainter* painter, const QRectF& rect, const QBrush& brush)
{
    painter->save();
    painter->setBrushOrigin(rect.topLeft());
    painter->fillRect(rect, brush);
    painter->restore();
}

// The selections as the plain control draws them on a block.
Ranges blockSelections(const QAbstractTextDocumentLayout::PaintContext& context, const QTextBlock& block)
{
    Ranges selections;
    const int blpos = block.position();
    const int bllen = block.length();
    for (const QAbstractTextDocumentLayout::Selection& range : context.selections) {
        const int selStart = range.cursor.selectionStart() - blpos;
        const int selEnd = range.cursor.selectionEnd() - blpos;
        if (selStart < bllen && selEnd > 0 && selEnd > selStart) {
            selections.append({selStart, selEnd - selStart, range.format});
        } else if (!range.cursor.hasSelection() && range.format.hasProperty(QTextFormat::FullWidthSelection)
            && block.contains(range.cursor.position())) {
            // A full-width selection marks a line by a mere position (the
            // whole of a line followed without Qt's lines).
            const QTextLine l = block.layout()->lineForTextPosition(range.cursor.position() - blpos);
            QTextLayout::FormatRange o{0, bllen - 1, range.format};
            if (l.isValid())
                o = {l.textStart(), l.textLength(), range.format};
            if (o.start + o.length == bllen - 1)
                ++o.length; // the line break with it
            selections.append(o);
        }
    }
    return selections;
}

// A long line drawn around the exposed rectangle only. False when the line
// is to be drawn whole instead (nothing drawn then).
class LinePart {
public:
    // A line that Qt has laid out, or one whose geometry follows its edits
    // (then without Qt's lines).
    LinePart(const QTextBlock& block, const QPointF& offset, const QRectF& exposed, const TLongLineGeometry* geometry)
        : block_(block)
        , offset_(offset)
        , exposed_(exposed)
        , geometry_(geometry)
    {
    }

    bool draw(QPainter* painter, const Ranges& selections, int caret, int caretWidth, const QFont& font);

private:
    bool layOut(const QFont& font, int from, int to, qreal right);
    // The whole line: where it sits, its metrics and its text option.
    bool readWhole();
    qreal xOf(int position) const;
    int positionAt(qreal x) const;
    // Makes the text at hand cover [from, to) of the line.
    void readText(int from, int to);
    QStringView text() const { return text_; }

    const QTextBlock& block_;
    const QPointF offset_;
    const QRectF exposed_;
    const TLongLineGeometry* geometry_;
    // The line's text at hand: [base_, base_ + text_.size()) of the line,
    // all of it for a line Qt laid out.
    QString text_;
    int base_ = 0;
    int length_ = 0;
    QTextLine line_;
    QTextOption option_;
    qreal x_ = 0;
    qreal y_ = 0;
    qreal ascent_ = 0;
    qreal descent_ = 0;
    qreal leading_ = 0;
    qreal height_ = 0;
    // The part, [from_, to_) of the line, and where its line sits.
    int from_ = 0;
    int to_ = 0;
    QPointF position_;
    std::optional<QTextLayout> part_;
};

bool LinePart::readWhole()
{
    const QTextLayout* whole = block_.layout();
    length_ = block_.length() - 1;
    if (geometry_) {
        // Laid out as the document layout lays a line out.
        option_ = block_.document()->defaultTextOption();
        x_ = block_.document()->documentMargin();
        y_ = 0;
        ascent_ = geometry_->ascent();
        descent_ = geometry_->descent();
        leading_ = geometry_->leading();
        height_ = geometry_->height();
        return true;
    }
    if (whole->lineCount() != 1 || !whole->preeditAreaText().isEmpty())
        return false;
    line_ = whole->lineAt(0);
    option_ = whole->textOption();
    x_ = line_.x();
    y_ = line_.y();
    ascent_ = line_.ascent();
    descent_ = line_.descent();
    leading_ = line_.leading();
    height_ = line_.height();
    text_ = block_.text();
    base_ = 0;
    return true;
}

void LinePart::readText(int from, int to)
{
    from = std::max(from, 0);
    to = std::min(to, length_);
    if (from >= base_ && to <= base_ + text_.size())
        return;
    // Read with room around it, for the searches for cuts.
    const int a = std::max(0, from - 2 * kCutSearch);
    const int b = std::min(length_, to + 2 * kCutSearch);
    text_ = TEditorDocumentLayout::lineText(block_, a, b - a);
    base_ = a;
}

qreal LinePart::xOf(int position) const
{
    if (!geometry_)
        return line_.cursorToX(position);
    return x_ + geometry_->xOf(position, [this](int f, int n) {
        const_cast<LinePart*>(this)->readText(f, f + n);
        return text_.mid(f - base_, n);
    });
}

int LinePart::positionAt(qreal x) const
{
    if (!geometry_)
        return line_.xToCursor(x);
    return geometry_->positionAt(x - x_, [this](int f, int n) {
        const_cast<LinePart*>(this)->readText(f, f + n);
        return text_.mid(f - base_, n);
    });
}

bool LinePart::layOut(const QFont& font, int from, int to, qreal right)
{
    QTextOption option = option_;
    readText(from, to);
    const QStringView partText = text().mid(from - base_, to - from);
    if (partText.contains(u'\t')) {
        // Tab stops count from the line's start: the part's tabs are given
        // the stops of the whole line, from the part's start.
        const qreal start = position_.x() - x_;
        const qreal distance = option.tabStopDistance() > 0 ? option.tabStopDistance() : 80;
        QList<QTextOption::Tab> stops;
        qreal last = 0;
        for (const QTextOption::Tab& t : option.tabs()) {
            if (t.type != QTextOption::LeftTab)
                return false;
            if (t.position > start)
                stops.append(QTextOption::Tab(t.position - start, QTextOption::LeftTab));
            last = t.position;
        }
        // Past the given stops, a stop every tab distance, up to the view's
        // right end (the part's tabs past it are not seen).
        const qreal reach = right - x_ + distance;
        for (qreal x = (std::floor(std::max(last, start) / distance) + 1) * distance; x <= reach + distance; x += distance)
            stops.append(QTextOption::Tab(x - start, QTextOption::LeftTab));
        option.setTabs(stops);
    }

    Ranges formats;
    for (auto it = block_.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().properties().isEmpty())
            continue;
        formats.append({f.position() - block_.position(), f.length(), f.charFormat()});
    }
    formats.append(block_.layout()->formats());

    part_.emplace(partText.toString(), font);
    part_->setTextOption(option);
    part_->setFormats(cut(formats, from, to, false));
    part_->beginLayout();
    QTextLine l = part_->createLine();
    l.setLeadingIncluded(true);
    l.setLineWidth(0);
    part_->endLayout();
    from_ = from;
    to_ = to;
    // Drawn at its own height, the part would not sit on the line's baseline.
    return l.ascent() == ascent_ && l.descent() == descent_ && l.leading() == leading_ && l.height() == height_;
}

bool LinePart::draw(QPainter* painter, const Ranges& selections, int caret, int caretWidth, const QFont& font)
{
    if (!readWhole())
        return false;
    const QTextOption& option = option_;
    if (option.flags() & ~QTextOption::Flags(QTextOption::ShowTabsAndSpaces))
        return false;
    if (option.textDirection() == Qt::RightToLeft || block_.blockFormat().layoutDirection() == Qt::RightToLeft
        || option.alignment() & (Qt::AlignRight | Qt::AlignHCenter))
        return false;
    // A followed line is plain: no right-to-left, nothing joining, no tab.
    LineKind kind;
    if (!geometry_) {
        kind = lineKind(text_);
        if (kind.bidi)
            return false;
    }

    const QPointF origin = offset_ + (geometry_ ? QPointF() : block_.layout()->position());
    const int length = length_;
    // The characters at the exposed rectangle's ends.
    int from = positionAt(exposed_.left() - kMarginPx - origin.x());
    readText(from - kCutSearch, from + 1);
    const auto startsAt = [&](int p) { return p <= 0 || p >= length || canStartAt(text(), p - base_, kind.simple); };
    const int earliest = std::max(0, from - kCutSearch);
    while (from > earliest && !startsAt(from))
        --from;
    if (!startsAt(from))
        return false;
    position_ = QPointF(xOf(from), y_);
    const qreal right = exposed_.right() + kMarginPx - origin.x();

    // The part as long as the view is wide, at the width its characters
    // take before it; longer as long as it falls short.
    const qreal average = from > 0 ? (position_.x() - x_) / from : QFontMetricsF(font).averageCharWidth();
    int to = from;
    for (qreal span = std::max(right - position_.x(), kMarginPx);; span *= 2) {
        to = int(std::min<qint64>(length, from + qint64(span / std::max(average, 1.0)) + 64));
        if (!layOut(font, from, to, right))
            return false;
        if (to == length || position_.x() + part_->lineAt(0).naturalTextWidth() > right)
            break;
    }
    // Cut past the view where nothing on either side changes the other.
    if (to < length) {
        int end = std::max(from + 1, part_->lineAt(0).xToCursor(right - position_.x()) + from);
        const int limit = std::min(length, end + kCutSearch);
        readText(end - 1, limit + 1);
        // A followed line's characters stand alone: it may end anywhere.
        const auto endsAt = [&](int q) { return q == length || geometry_ || canEndAt(text(), q - base_); };
        while (end < limit && !endsAt(end))
            ++end;
        if (!endsAt(end))
            return false;
        if (end != to && !layOut(font, from, end, right))
            return false;
    }

    const QPointF at = origin + position_;
    part_->draw(painter, at, cut(selections, from_, to_, to_ == length));
    if (caret >= from_ && caret <= to_)
        part_->drawCursor(painter, at, caret - from_, caretWidth);
    return true;
}

} // namespace

void TKRichEdit::paintEvent(QPaintEvent* event)
{
    const QRect viewportRect = viewport()->rect();
    QPointF offset = contentOffset();
    // A long line in view?
    {
        bool longLine = false;
        qreal y = offset.y();
        for (QTextBlock b = firstVisibleBlock(); b.isValid() && y <= viewportRect.height(); b = b.next()) {
            if (!b.isVisible())
                continue;
            if (b.length() >= kLongLine) {
                longLine = true;
                break;
            }
            y += blockBoundingRect(b).height();
        }
        if (!longLine) {
            QPlainTextEdit::paintEvent(event);
            return;
        }
    }

    // As the plain control paints the view.
    QPainter painter(viewport());
    QRect er = event->rect();
    const bool editable = !isReadOnly();
    QTextBlock block = firstVisibleBlock();
    const qreal maximumWidth = document()->documentLayout()->documentSize().width();
    // Where a wave underline's wave starts.
    painter.setBrushOrigin(offset);
    // The full-width selections leave the right margin clean.
    const int maxX = int(offset.x() + std::max(qreal(viewportRect.width()), maximumWidth) - document()->documentMargin()
        + cursorWidth());
    er.setRight(std::min(er.right(), maxX));
    painter.setClipRect(er);

    QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    // On a followed line the caret blinks by the editor's own timing, and
    // shows just after a key, as the control shows it after its keys.
    if (context.cursorPosition >= -1 && hasFocus() && followedCaretLine())
        context.cursorPosition = followedCaretShown() ? textCursor().position() : -1;
    painter.setPen(context.palette.text().color());
    const QFont font = document()->defaultFont();
    TEditorDocumentLayout* documentLayout = editorLayout();

    while (block.isValid()) {
        const QRectF r = blockBoundingRect(block).translated(offset);
        QTextLayout* layout = block.layout();
        if (!block.isVisible()) {
            offset.ry() += r.height();
            block = block.next();
            continue;
        }
        if (r.bottom() >= er.top() && r.top() <= er.bottom()) {
            const QTextBlockFormat blockFormat = block.blockFormat();
            const QBrush bg = blockFormat.background();
            if (bg != Qt::NoBrush) {
                QRectF contentsRect = r;
                contentsRect.setWidth(std::max(r.width(), maximumWidth));
                fillBackground(&painter, contentsRect, bg);
            }

            Ranges selections = blockSelections(context, block);
            const int blpos = block.position();
            const int bllen = block.length();
            const bool drawCursor = (editable || (textInteractionFlags() & Qt::TextSelectableByKeyboard))
                && context.cursorPosition >= blpos && context.cursorPosition < blpos + bllen;
            bool drawCursorAsBlock = drawCursor && overwriteMode();
            if (drawCursorAsBlock) {
                if (context.cursorPosition == blpos + bllen - 1) {
                    drawCursorAsBlock = false;
                } else {
                    QTextLayout::FormatRange o;
                    o.start = context.cursorPosition - blpos;
                    o.length = 1;
                    o.format.setForeground(palette().base());
                    o.format.setBackground(palette().text());
                    selections.append(o);
                }
            }
            const int caret = drawCursor && !drawCursorAsBlock ? context.cursorPosition - blpos : -1;

            bool drawn = false;
            if (bllen >= kLongLine) {
                const TLongLineGeometry* geometry = documentLayout ? documentLayout->geometry(block) : nullptr;
                drawn = LinePart(block, offset, QRectF(er), geometry).draw(&painter, selections, caret, cursorWidth(), font);
                if (!drawn && geometry) {
                    // Drawn whole, from Qt's layout.
                    documentLayout->layOutFollowed();
                    layout = block.layout();
                }
                // The glyphs the search for the part shaped go, unless the
                // line keeps them.
                if (drawn && !layout->cacheEnabled())
                    layout->draw(&painter, offset, {}, QRectF(r.left(), r.top() - 2, 1, 1));
            }
            if (!drawn) {
                layout->draw(&painter, offset, selections, er);
                if (caret >= 0 || (editable && context.cursorPosition < -1 && !layout->preeditAreaText().isEmpty())) {
                    int cpos = context.cursorPosition;
                    if (cpos < -1)
                        cpos = layout->preeditAreaPosition() - (cpos + 2);
                    else
                        cpos -= blpos;
                    layout->drawCursor(&painter, offset, cpos, cursorWidth());
                }
            }
        }
        offset.ry() += r.height();
        if (offset.y() > viewportRect.height())
            break;
        block = block.next();
    }

    if (backgroundVisible() && !block.isValid() && offset.y() <= er.bottom()
        && (centerOnScroll() || verticalScrollBar()->maximum() == verticalScrollBar()->minimum())) {
        painter.fillRect(QRect(QPoint(int(er.left()), int(offset.y())), er.bottomRight()), palette().window());
    }
}
