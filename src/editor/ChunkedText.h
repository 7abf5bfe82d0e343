#pragma once
// A long text kept in pieces of a few thousand characters, so that a change
// costs what the change and one piece cost rather than what the whole text
// costs. The undo history keeps its base text in one.
#include <QString>
#include <QStringView>
#include <vector>

class ChunkedText {
public:
    ChunkedText() = default;
    explicit ChunkedText(QStringView text) { assign(text); }

    void assign(QStringView text);
    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // The characters [offset, offset + count), clamped to the text.
    QString mid(qsizetype offset, qsizetype count) const;
    QString toString() const { return mid(0, size_); }
    // Replaces [offset, offset + removed) (clamped) by the given text.
    void replace(qsizetype offset, qsizetype removed, QStringView text);

    // Pieces are split when longer than this.
    static constexpr qsizetype PieceLength = 8192;

private:
    // Index of the piece that holds the offset (the last one for the end).
    size_t pieceAt(qsizetype offset) const;
    void renumberFrom(size_t piece);

    std::vector<QString> pieces_;
    std::vector<qsizetype> starts_; // offset of each piece's first character
    qsizetype size_ = 0;
};
