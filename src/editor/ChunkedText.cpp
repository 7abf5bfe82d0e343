#include "editor/ChunkedText.h"

#include <algorithm>

namespace {

// Splits text into pieces of at most ChunkedText::PieceLength characters of
// about equal length.
std::vector<QString> split(QStringView text)
{
    std::vector<QString> out;
    if (text.isEmpty())
        return out;
    const qsizetype n = (text.size() + ChunkedText::PieceLength - 1) / ChunkedText::PieceLength;
    qsizetype done = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype end = text.size() * (i + 1) / n;
        out.emplace_back(text.sliced(done, end - done).toString());
        done = end;
    }
    return out;
}

} // namespace

void ChunkedText::assign(QStringView text)
{
    pieces_ = split(text);
    size_ = text.size();
    renumberFrom(0);
}

void ChunkedText::renumberFrom(size_t piece)
{
    starts_.resize(pieces_.size());
    qsizetype at = piece == 0 ? 0 : starts_[piece - 1] + pieces_[piece - 1].size();
    for (size_t i = piece; i < pieces_.size(); ++i) {
        starts_[i] = at;
        at += pieces_[i].size();
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
    out.reserve(left);
    size_t i = pieceAt(from);
    qsizetype in = from - starts_[i];
    for (; left > 0 && i < pieces_.size(); ++i, in = 0) {
        const qsizetype take = std::min(left, pieces_[i].size() - in);
        out.append(QStringView(pieces_[i]).sliced(in, take));
        left -= take;
    }
    return out;
}

void ChunkedText::replace(qsizetype offset, qsizetype removed, QStringView text)
{
    const qsizetype from = std::clamp<qsizetype>(offset, 0, size_);
    const qsizetype to = from + std::clamp<qsizetype>(removed, 0, size_ - from);
    if (pieces_.empty()) {
        assign(text);
        return;
    }
    // The pieces that hold from and to are rebuilt around the new text.
    const size_t first = pieceAt(from);
    const size_t last = pieceAt(to);
    QString joined = QStringView(pieces_[first]).first(from - starts_[first]).toString();
    joined.append(text);
    joined.append(QStringView(pieces_[last]).sliced(to - starts_[last]));
    std::vector<QString> made = split(joined);
    pieces_.erase(pieces_.begin() + qsizetype(first), pieces_.begin() + qsizetype(last) + 1);
    pieces_.insert(pieces_.begin() + qsizetype(first), std::make_move_iterator(made.begin()),
                   std::make_move_iterator(made.end()));
    size_ += text.size() - (to - from);
    renumberFrom(first);
}
