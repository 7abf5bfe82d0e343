#pragma once
// The document held in memory: the text in CR LF form plus the offset of
// every line's first character, so that line lookups stay logarithmic on
// texts of several megabytes. Used where no editor window exists (tests,
// batch transformations) and as the reference the editor widget follows.
#include "editor/TextModel.h"

#include <QString>
#include <QStringView>
#include <vector>

// The text with every CR LF, lone CR and lone LF replaced by lineBreak.
QString WithLineBreaks(const QString& text, QStringView lineBreak);

class MemoryTextModel : public TextModel {
public:
    MemoryTextModel() = default;
    explicit MemoryTextModel(const QString& text) { setText(text); }

    QString text() const override { return text_; }
    void setText(const QString& text) override;
    int textLength() const override { return length(); }
    QString textPart(int offset, int length) const override { return text_.mid(offset, length); }

    int lineCount() const override;
    QString line(int i) const override;
    void setLine(int i, const QString& text) override;
    int lineStart(int i) const override;
    int lineAt(int offset) const override;

    int selStart() const override { return selStart_; }
    int selLength() const override { return selLength_; }
    void setSelStart(int offset) override;
    void setSelLength(int length) override;
    void setSelText(const QString& text) override;
    QString selText() const override;

    CaretPos caretPos() const override;
    // The top line in view: whatever was last set, kept within the text.
    int firstVisibleLine() const override;
    void setFirstVisibleLine(int line) { firstVisible_ = line; }

private:
    int length() const { return int(text_.size()); }
    // Lines as stored, including the empty one after a final line break.
    int storedLines() const { return int(starts_.size()); }
    // Offset of the break that ends line i, or the text's end for the last line.
    int lineEnd(int i) const;
    // Keeps an offset inside the text and off the middle of a CR LF pair.
    int clampOffset(qint64 offset) const;
    // Replaces [from, to) by text that is already in CR LF form and updates
    // the line starts; from and to must be clamped offsets.
    void replace(int from, int to, const QString& crlfText);

    QString text_;
    std::vector<int> starts_{0};
    int selStart_ = 0;
    int selLength_ = 0;
    int firstVisible_ = 0;
};
