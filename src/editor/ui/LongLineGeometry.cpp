#include "editor/ui/LongLineGeometry.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

// Characters per piece: an edit reads and sums about two pieces.
constexpr int kPiece = 4096;

// Characters that stand alone: no joining, no combining, no right-to-left,
// no tab stop, nothing drawn with zero width or as a control.
bool standsAlone(char16_t c)
{
    if (c >= 0x20 && c <= 0x7E)
        return true;
    if (c >= 0xA0 && c <= 0x2FF)
        return c != 0xAD; // the soft hyphen shows only at a break
    if (c >= 0x370 && c <= 0x52F)
        return !(c >= 0x483 && c <= 0x489); // Cyrillic combining marks
    // Punctuation without the zero-width and direction marks, currency,
    // letter-like signs and arrows.
    return (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) || (c >= 0x20A0 && c <= 0x20C0)
        || (c >= 0x2100 && c <= 0x214F) || (c >= 0x2190 && c <= 0x21FF);
}

} // namespace

TLongLineGeometry::TLongLineGeometry(const QFont& font, QPaintDevice* device)
    : font_(device ? QFont(font, device) : font)
    , advances_(0x10000, -1.0)
{
    // The metrics of a line in this font, as the line is laid out.
    QTextLayout sample(QStringLiteral("x"), font_, device);
    QTextCharFormat unshaped;
    unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
    sample.setFormats({{0, 1, unshaped}});
    sample.beginLayout();
    QTextLine line = sample.createLine();
    line.setLeadingIncluded(true);
    line.setLineWidth(0);
    sample.endLayout();
    ascent_ = line.ascent();
    descent_ = line.descent();
    leading_ = line.leading();
    height_ = line.height();
}

qreal TLongLineGeometry::advance(char16_t c) const
{
    qreal& a = advances_[c];
    if (a < 0) {
        const QFontMetricsF metrics(font_);
        a = standsAlone(c) && metrics.inFont(QChar(c)) ? metrics.horizontalAdvance(QChar(c)) : qQNaN();
    }
    return a;
}

bool TLongLineGeometry::isPlain(char16_t c) const { return !std::isnan(advance(c)); }

bool TLongLineGeometry::isPlain(QStringView text) const
{
    for (QChar c : text)
        if (!isPlain(c.unicode()))
            return false;
    return true;
}

bool TLongLineGeometry::measurePieces(int from, int to, const Reader& read, std::vector<Piece>& out)
{
    for (int start = from; start < to; start += kPiece) {
        const int n = std::min(kPiece, to - start);
        const QString text = read(start, n);
        lastRead_ += n;
        if (text.size() != n)
            return false;
        qreal w = 0;
        for (QChar c : text) {
            const qreal a = advance(c.unicode());
            if (std::isnan(a))
                return false;
            w += a;
        }
        out.push_back({n, w});
    }
    return true;
}

bool TLongLineGeometry::measure(int length, const Reader& read)
{
    pieces_.clear();
    length_ = 0;
    width_ = 0;
    lastRead_ = 0;
    if (!measurePieces(0, length, read, pieces_)) {
        pieces_.clear();
        return false;
    }
    length_ = length;
    for (const Piece& p : pieces_)
        width_ += p.width;
    return true;
}

bool TLongLineGeometry::edit(int from, int removed, int added, int length, const Reader& read)
{
    if (from < 0 || removed < 0 || added < 0 || from + removed > length_ || length != length_ - removed + added) {
        pieces_.clear();
        length_ = 0;
        width_ = 0;
        return false;
    }
    // The pieces the old text [from, from + removed] touches are measured
    // again, as the text now in their place.
    size_t first = 0;
    int start = 0;
    while (first + 1 < pieces_.size() && start + pieces_[first].length < from) {
        start += pieces_[first].length;
        ++first;
    }
    size_t last = first;
    int end = start + (pieces_.empty() ? 0 : pieces_[first].length);
    while (last + 1 < pieces_.size() && end < from + removed) {
        ++last;
        end += pieces_[last].length;
    }
    std::vector<Piece> fresh;
    lastRead_ = 0;
    if (!measurePieces(start, end - removed + added, read, fresh)) {
        pieces_.clear();
        length_ = 0;
        width_ = 0;
        return false;
    }
    const auto at = pieces_.begin() + std::ptrdiff_t(first);
    if (!pieces_.empty())
        pieces_.erase(at, pieces_.begin() + std::ptrdiff_t(last) + 1);
    pieces_.insert(pieces_.begin() + std::ptrdiff_t(first), fresh.begin(), fresh.end());
    length_ = length;
    width_ = 0;
    for (const Piece& p : pieces_)
        width_ += p.width;
    return true;
}

template <typename Before>
TLongLineGeometry::Place TLongLineGeometry::walk(Before before) const
{
    // From the first piece on, past those wholly before the place sought.
    Place at{0, 0, 0};
    while (at.piece + 1 < pieces_.size() && before(at, pieces_[at.piece])) {
        at.start += pieces_[at.piece].length;
        at.x += pieces_[at.piece].width;
        ++at.piece;
    }
    return at;
}

TLongLineGeometry::Place TLongLineGeometry::place(int position) const
{
    return walk([position](const Place& at, const Piece& p) { return at.start + p.length <= position; });
}

TLongLineGeometry::Place TLongLineGeometry::placeAtX(qreal x) const
{
    return walk([x](const Place& at, const Piece& p) { return at.x + p.width <= x; });
}

qreal TLongLineGeometry::xOf(int position, const Reader& read) const
{
    position = std::clamp(position, 0, length_);
    if (pieces_.empty())
        return 0;
    const Place at = place(position);
    qreal x = at.x;
    const QString text = read(at.start, position - at.start);
    for (QChar c : text) {
        const qreal a = advance(c.unicode());
        if (!std::isnan(a))
            x += a;
    }
    return x;
}

int TLongLineGeometry::positionAt(qreal x, const Reader& read) const
{
    if (pieces_.empty() || x <= 0)
        return 0;
    if (x >= width_)
        return length_;
    const Place at = placeAtX(x);
    const QString text = read(at.start, pieces_[at.piece].length);
    qreal left = at.x;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qreal a = advance(text[i].unicode());
        if (std::isnan(a))
            a = 0;
        if (x < left + a / 2)
            return at.start + int(i);
        left += a;
    }
    return at.start + int(text.size());
}
