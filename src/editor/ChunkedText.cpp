#include "editor/ChunkedText.h"

#include <algorithm>

void ChunkedText::assign(const QString& text)
{
    pieces_.clear();
    if (!text.isEmpty())
        pieces_.push_back(Piece{text, 0, text.size()});
    size_ = text.size();
    renumberFrom(0);
}

void ChunkedText::renumberFrom(size_t piece)
{
    starts_.resize(pieces_.size());
    qsizetype at = piece == 0 ? 0 : starts_[piece - 1] + pieces_[piece - 1].size;
    for (size_t i = piece; i < pieces_.size(); ++i) {
        starts_[i] = at;
        at += pieces_[i].size;
    }
}

size_t ChunkedText::pieceAt(qsizetype offset) const
{
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return it == starts_.begin() ? 0 : size_t(it - starts_.begin()) - 1;
}

QString ChunkedText::mid(qsizetype offset, qsizetype count) const
{
    const qsizetype from = std::clamp<qsizetype>(offset, 0, size_);
    qsizetype left = std::clamp<qsizetype>(count, 0, size_ - from);
    QString out;
    if (left == 0)
        return out;
    size_t i = pieceAt(from);
    qsizetype in = from - starts_[i];
    // Within one piece that is a whole string: shared, not copied.
    if (in == 0 && left == pieces_[i].size && pieces_[i].from == 0 && pieces_[i].data.size() == left)
        return pieces_[i].data;
    out.reserve(left);
    for (; left > 0 && i < pieces_.size(); ++i, in = 0) {
        const qsizetype take = std::min(left, pieces_[i].size - in);
        out.append(pieces_[i].view().sliced(in, take));
        left -= take;
    }
    return out;
}

QString ChunkedText::toString() const { return mid(0, size_); }

void ChunkedText::replace(qsizetype offset, qsizetype removed, QStringView text)
{
    const qsizetype from = std::clamp<qsizetype>(offset, 0, size_);
    const qsizetype to = from + std::clamp<qsizetype>(removed, 0, size_ - from);
    if (pieces_.empty()) {
        assign(text.toString());
        return;
    }
    constexpr qsizetype small = PieceLength / 2;
    size_t first = pieceAt(from);
    size_t last = pieceAt(to);
    // What stays of the two pieces the change starts and ends in: slices
    // of their strings, copied only when short.
    Piece head = pieces_[first];
    head.size = from - starts_[first];
    Piece tail = pieces_[last];
    tail.from += to - starts_[last];
    tail.size -= to - starts_[last];
    // Short neighbours are joined into the copy, so pieces stay long.
    QString copy;
    if (head.size < small && first > 0 && pieces_[first - 1].size < small)
        copy.append(pieces_[--first].view());
    const bool keepHead = head.size >= small;
    if (!keepHead)
        copy.append(head.view());
    copy.append(text);
    const bool keepTail = tail.size >= small;
    if (!keepTail)
        copy.append(tail.view());
    if (!keepTail && last + 1 < pieces_.size() && pieces_[last + 1].size < small)
        copy.append(pieces_[++last].view());

    std::vector<Piece> made;
    if (keepHead)
        made.push_back(std::move(head));
    const qsizetype n = (copy.size() + PieceLength - 1) / PieceLength;
    for (qsizetype i = 0, done = 0; i < n; ++i) {
        const qsizetype end = copy.size() * (i + 1) / n;
        made.push_back(Piece{copy.sliced(done, end - done), 0, end - done});
        done = end;
    }
    if (keepTail)
        made.push_back(std::move(tail));
    pieces_.erase(pieces_.begin() + qsizetype(first), pieces_.begin() + qsizetype(last) + 1);
    pieces_.insert(pieces_.begin() + qsizetype(first), std::make_move_iterator(made.begin()),
                   std::make_move_iterator(made.end()));
    size_ += text.size() - (to - from);
    renumberFrom(first);
}
