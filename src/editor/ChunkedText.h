#pragma once
// A long text kept in pieces, so that a change costs what the change and a
// few thousand characters around it cost rather than what the whole text
// costs. A piece is a slice of a shared string: a text assigned whole is
// shared, not copied, and a change copies only the new text and the small
// pieces beside it. The undo history keeps its base text in one.
#include <QString>
#include <QStringView>
#include <vector>

class ChunkedText {
public:
    ChunkedText() = default;
    explicit ChunkedText(const QString& text) { assign(text); }

    // Shares the text's storage.
    void assign(const QString& text);
    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // The characters [offset, offset + count), clamped to the text.
    QString mid(qsizetype offset, qsizetype count) const;
    QString toString() const;
    // Replaces [offset, offset + removed) (clamped) by the given text.
    void replace(qsizetype offset, qsizetype removed, QStringView text);

    // New pieces are at most this long; pieces shorter than half of it are
    // joined with their neighbours when a change touches them.
    static constexpr qsizetype PieceLength = 8192;

private:
    struct Piece {
        QString data;
        qsizetype from = 0;
        qsizetype size = 0;
        QStringView view() const { return QStringView(data).sliced(from, size); }
    };
    // Index of the piece that holds the offset (the last one for the end).
    size_t pieceAt(qsizetype offset) const;
    void renumberFrom(size_t piece);

    std::vector<Piece> pieces_;
    std::vector<qsizetype> starts_; // offset of each piece's first character
    qsizetype size_ = 0;
};
