#pragma once
// Where the characters of one long line sit, kept up to date through edits
// without laying the line out again.
//
// Qt lays a line out whole after every change of its text: on a line of
// megabytes (a minified script) each key costs a good part of a second
// however little changed. A line of plain characters - all of them in the
// editor's font, none of them joining, combining, tabbing or running right
// to left - has every glyph at the advance its character has alone, so its
// geometry is a sum of advances. The line is kept as pieces of a few
// thousand characters with their widths; an edit measures again only the
// pieces it touches.
//
// The advances are the font's unshaped ones, which Qt's layout of a long
// line also uses (it is laid out without shaping): a line measured here and
// the same line laid out by Qt place every character at the same x.
#include <QFont>
#include <QPaintDevice>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>
#include <vector>

class TLongLineGeometry {
public:
    // Reads characters [from, from + length) of the line.
    using Reader = std::function<QString(int from, int length)>;

    // Advances as the font has them on the device (its resolution).
    TLongLineGeometry(const QFont& font, QPaintDevice* device);

    // True when every character of the text is plain in the font: one the
    // geometry places as Qt places it.
    bool isPlain(QStringView text) const;
    bool isPlain(char16_t c) const;

    // Measures a whole line of the given length. False (and empty) when a
    // character of it is not plain.
    bool measure(int length, const Reader& read);
    // Characters [from, from + removed) of the line were replaced by added
    // ones (the line is now `length` long). False when the new text is not
    // plain; the geometry is left empty then.
    bool edit(int from, int removed, int added, int length, const Reader& read);

    int length() const { return length_; }
    // Characters the last measure or edit read.
    int lastRead() const { return lastRead_; }
    // The line's width in pixels.
    qreal width() const { return width_; }
    // x of the caret before character `position` (0 ... length).
    qreal xOf(int position, const Reader& read) const;
    // The caret position nearest to x.
    int positionAt(qreal x, const Reader& read) const;

    // The line's metrics as Qt lays such a line out (leading included).
    qreal ascent() const { return ascent_; }
    qreal descent() const { return descent_; }
    qreal leading() const { return leading_; }
    qreal height() const { return height_; }

private:
    struct Piece {
        int length;
        qreal width;
    };
    // The advance of a plain character.
    qreal advance(char16_t c) const;
    // Measures [from, to) of the line into pieces, appended to out.
    bool measurePieces(int from, int to, const Reader& read, std::vector<Piece>& out);
    // The piece holding position (the last one for the line's end) and
    // where it starts, in characters and in pixels.
    struct Place {
        size_t piece;
        int start;
        qreal x;
    };
    Place place(int position) const;
    template <typename Before>
    Place walk(Before before) const;
    Place placeAtX(qreal x) const;

    QFont font_;
    int lastRead_ = 0;
    std::vector<Piece> pieces_;
    int length_ = 0;
    qreal width_ = 0;
    qreal ascent_ = 0;
    qreal descent_ = 0;
    qreal leading_ = 0;
    qreal height_ = 0;
    // Advances by character; negative while not asked for yet, NaN for a
    // character that is not plain.
    mutable std::vector<qreal> advances_;
};
