#pragma once
// The main editor control. The document's blocks are its lines; offsets seen
// through TextModel count every block separator as two characters (CR LF),
// so an offset equals an index into text(). A document position p in block
// number b is offset p + b.
#include "editor/TextModel.h"

#include <QPlainTextEdit>
#include <QTextBlock>

class TKRichEdit : public QPlainTextEdit, public TextModel {
    Q_OBJECT

public:
    explicit TKRichEdit(QWidget* parent = nullptr);

    QString text() const override;
    void setText(const QString& text) override;

    int lineCount() const override;
    QString line(int i) const override;
    void setLine(int i, const QString& text) override;
    int lineStart(int i) const override;
    int lineAt(int offset) const override;

    int selStart() const override;
    int selLength() const override;
    void setSelStart(int offset) override;
    void setSelLength(int length) override;
    void setSelText(const QString& text) override;
    QString selText() const override;

    CaretPos caretPos() const override;
    int firstVisibleLine() const override;

private:
    // Length of text(): characters plus two for every block separator.
    int textLength() const;
    // Offset of a block's first character.
    static int blockOffset(const QTextBlock& block);
    // Block that holds the offset (clamped to the text).
    QTextBlock blockAtOffset(qint64 offset) const;
    // Document position of an offset; one between CR and LF lands at the
    // end of its line.
    int toPosition(qint64 offset) const;
    int toOffset(int position) const;
};
