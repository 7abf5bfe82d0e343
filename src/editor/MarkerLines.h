#pragma once
// The marked lines of the marker bar: 0-based line indices in ascending
// order without duplicates, kept in memory only.
#include <QList>
#include <QString>

class TextModel;

class MarkerLines {
public:
    const QList<int>& lines() const { return lines_; }
    bool contains(int line) const { return lines_.contains(line); }
    bool isEmpty() const { return lines_.isEmpty(); }
    void clear() { lines_.clear(); }

    // Toggles the marker of a line; nothing unless 0 <= line <= lineCount
    // (the empty line after a final break can carry one too).
    void Mark(int line, int lineCount);

    // After the line count went from lastCount to count with the caret last
    // on lastCaretLine: markers below the caret line move with their lines,
    // one on the caret line itself goes when lines were removed. Unforced,
    // nothing happens while the count is unchanged. False when nothing ran.
    bool MarkersRemake(bool force, int count, int lastCount, int lastCaretLine);

    // The whole text was replaced (an undo puts back an earlier one): the
    // lines both texts begin with keep their markers, the lines both end with
    // carry theirs along, and of the lines in between a marker stays only on
    // a line the new text still has there. Texts are CR LF separated.
    void FollowText(const QString& before, const QString& after);
    // The same, where the text after is the model's and the text before
    // differed from it only in [offset, offset + added), which held removed:
    // reads only the lines the two texts do not share.
    void FollowReplacement(const TextModel& after, int offset, const QString& removed, int added);

private:
    // The lines' markers after the first `same` and the last `tail` of the
    // wasCount lines before matched the nowCount lines after.
    void remap(qsizetype wasCount, qsizetype nowCount, qsizetype same, qsizetype tail, int lineCount);

    QList<int> lines_;
};

// Top of the marker picture of a line, with the first visible line F, the
// line height h and textTop the y of the first visible line's top.
int MarkerTop(int line, int firstVisible, int lineHeight, int textTop);
// The "Перейти к метке" entry: the index, two blanks and the line's first
// 100 characters with every "&" as "..".
QString GotoMarkCaption(int line, const QString& lineText);
// The index back from an entry's caption (accelerator marks removed); -1 if none.
int GotoMarkLine(const QString& caption);
