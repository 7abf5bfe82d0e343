#pragma once
// The editor's document layout: Qt's plain-text layout, with one cost taken
// out. When the widest line of the page gets narrower, the plain layout looks
// for the new widest line by laying out every line before it — on a page of
// a million lines, tens of milliseconds and a layout object per line, at a
// keystroke or an Undo. Here a changed line is laid out the same way the
// plain layout does it, and the document keeps its widest width until the
// next full layout (a resize, a font change): the horizontal scroll range
// may stay a little wider than the text, never narrower. A line that grows
// past the widest width widens the document here (documentSize), without
// the plain layout laying it out once more.
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <functional>
#include <optional>

#include "editor/ui/LongLineGeometry.h"

class TEditorDocumentLayout : public QPlainTextDocumentLayout {
    Q_OBJECT

public:
    // A line at least this long keeps its glyphs while it holds the caret,
    // and is laid out without shaping: no kerning and no ligatures, but less
    // than half the time (scripts that need shaping are shaped all the
    // same). The view draws such a line by parts, which relies on that.
    static constexpr int kLongLine = 10000;

    explicit TEditorDocumentLayout(QTextDocument* document);

    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // A block the view keeps laid out (its first visible one): where the
    // width to lay out at is read when the lines beside a block have none.
    void setShownBlock(std::function<QTextBlock()> shownBlock) { shownBlock_ = std::move(shownBlock); }
    // The block holding the caret. When it is a long line (a minified
    // script), its layout keeps its shaped glyphs between uses: Qt shapes a
    // line anew for every caret placement and every paint otherwise, and a
    // line of megabytes takes a good part of a second to shape.
    void setCaretBlock(std::function<QTextBlock()> caretBlock) { caretBlock_ = std::move(caretBlock); }

    // Whether a block is in view now: a long line followed through edits
    // (below) is given Qt's layout again when asked for out of view.
    void setInView(std::function<bool(const QTextBlock&)> inView) { inView_ = std::move(inView); }

    // A long line of plain characters being edited in view is not laid out
    // again by Qt after each edit: its geometry follows the edits (a sum of
    // its characters' advances), and the view draws it from that. Qt's
    // layout of such a line has no lines meanwhile; whatever needs them (the
    // caret moved by keys or the mouse, a line out of view) first asks for
    // layOutWhole(). Null for any other block.
    const TLongLineGeometry* geometry(const QTextBlock& block) const;
    // Characters [from, from + length) of a line, read a character at a
    // time: no cursor placed on the line, no copy of all of it.
    static QString lineText(const QTextBlock& block, int from, int length);
    // Gives the followed line, if any, Qt's own layout again.
    void layOutFollowed();

    // The plain layout's size, as wide as the widest line this layout has
    // laid out since the text or the font was last set as a whole. Lines
    // that are not wrapped set the width alone: the view keeps them laid
    // out through a change of its width (the plain layout's own width then
    // stays that of an earlier view).
    QSizeF documentSize() const override;

    // Sets a line's formats (the colouring's). Qt records such a change as
    // an edit of the line that is still to be reported, and reports it with
    // the next real edit: a key typed after the lines in view were coloured
    // would lay out and repaint all of them. Here the record is closed at
    // once; the line's layout is only cleared, and laid out again when it
    // is next painted or measured, as after any change of its formats.
    // A long line is laid out without shaping, by a format of its own
    // that the line's formats override.
    void setFormats(const QTextBlock& block, const QList<QTextLayout::FormatRange>& formats);
    // The line's formats as last set, without that one.
    static QList<QTextLayout::FormatRange> formats(const QTextBlock& block);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // Lays the block out as the plain layout would, at the width the laid-out
    // lines beside it (or in view) were given; false (and nothing done) when
    // no such line is at hand.
    bool layOut(const QTextBlock& block);

    // The caret's block keeps its glyphs when it is long; the block that
    // kept them before gives them up.
    void keepGlyphs(const QTextBlock& block);

    // Follows an edit of [from, from + removed) into `added` characters of
    // a long line; false when the line is not followed (Qt lays it out).
    bool followEdit(const QTextBlock& block, int from, int removed, int added);
    // The followed line's rectangle, as the plain layout gives a line's.
    QRectF followedRect(const QTextBlock& block) const;
    // The width lines beside the block (or in view) are laid out at; -1
    // when none is laid out.
    qreal laidOutWidth(const QTextBlock& block) const;
    // The line's unshaped format covers all of it (or is gone from a line
    // that is no longer long).
    void coverUnshaped(const QTextBlock& block);
    // The document's last reported edit, until its layout is told of it.
    struct Edit {
        int from = -1;
        int removed = 0;
        int added = 0;
    };
    Edit edit_;
    // The followed line (its start) and its geometry.
    QTextCursor followed_;
    std::optional<TLongLineGeometry> geometry_;
    std::function<bool(const QTextBlock&)> inView_;

    std::function<QTextBlock()> shownBlock_;
    std::function<QTextBlock()> caretBlock_;
    // Where the line keeping its glyphs starts (null when none does).
    QTextCursor glyphsKept_;
    // The widest line laid out here or measured (unwrapped); the plain
    // layout is not told of it, so that it does not lay that line out a
    // second time.
    qreal widest_ = 0;
    // A line measured wider than any before widens the document.
    void measured(qreal width);
    bool unwrapped() const;
    // The block count the plain layout last saw.
    int blockCount_ = -1;
    // The document margin the last layout used.
    qreal margin_;
    // A change of formats alone is being closed: nothing to lay out.
    bool formatsOnly_ = false;
};
