#pragma once
// The document as every part of the program sees it.
//
// - The whole text has CR LF between lines and no line break added at the end.
// - Lines are 0-based; the count follows the classic memo rule: an empty text
//   has no lines, and the empty line after a final line break is not counted.
// - Selection start and length are 0-based offsets into that text, in which a
//   line break counts as two characters (CR and LF). An offset that falls
//   between CR and LF lands at the end of its line.
// - The caret is (column, line), taken at the selection's end.
//
// The editor widget and the in-memory model implement it; one conformance
// suite runs against both.
#include <QString>

#include <functional>

struct CaretPos {
    int column = 0;
    int line = 0;
    bool operator==(const CaretPos&) const = default;
};

class TextModel {
public:
    virtual ~TextModel() = default;

    virtual QString text() const = 0;
    // Any of CR LF, CR or LF in the given text becomes a line break.
    virtual void setText(const QString& text) = 0;

    virtual int lineCount() const = 0;
    // Line i without its break; empty for a line that does not exist.
    virtual QString line(int i) const = 0;
    // Replaces the text of line i (keeping its break); ignored when out of range.
    virtual void setLine(int i, const QString& text) = 0;
    // Offset of line i's first character (0 for an empty text); -1 when out of range.
    virtual int lineStart(int i) const = 0;
    // Line that holds the offset (clamped to the text).
    virtual int lineAt(int offset) const = 0;

    virtual int selStart() const = 0;
    virtual int selLength() const = 0;
    // Collapses the selection to a caret at the offset (clamped to the text).
    virtual void setSelStart(int offset) = 0;
    // Extends the selection from its start (clamped to the text).
    virtual void setSelLength(int length) = 0;
    // Replaces the selection; the caret ends after the new text.
    virtual void setSelText(const QString& text) = 0;
    virtual QString selText() const = 0;

    virtual CaretPos caretPos() const = 0;
    virtual int firstVisibleLine() const = 0;

    // Length of text(), and a piece of it; both without building the whole
    // text in the editor widget.
    virtual int textLength() const { return int(text().size()); }
    virtual QString textPart(int offset, int length) const { return text().mid(offset, length); }

    // Told of every change to the text: at offset, removed characters of the
    // old text gave way to added characters of the new one (offsets as in
    // text(), a line break counting two). A model may report a wider range
    // than really changed, never a narrower one, and may report several
    // changes for one call. One listener: the undo history.
    using ChangeListener = std::function<void(int offset, int removed, int added)>;
    void setChangeListener(ChangeListener listener) { changeListener_ = std::move(listener); }

protected:
    void reportChange(int offset, int removed, int added) const
    {
        if (changeListener_)
            changeListener_(offset, removed, added);
    }

private:
    ChangeListener changeListener_;
};
