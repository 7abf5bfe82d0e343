#pragma once
// The program's own undo history (the editor's built-in undo is not used).
//
// Before a change the editor state is copied into the base (UndoSnapshot);
// after it the base is pushed onto the history if the editor no longer
// matches it (UndoCommit); UndoRestore pops the newest entry back into the
// editor. An entry holds the base's selection start and length and, when the
// text had changed, the base's whole text; without text it restores only the
// selection. The depth comes from UNDOCOUNT in the section Program, read at
// every commit (999 when it is missing or not a decimal integer); an entry is
// dropped only when the history holds more than the depth and more than 5.
//
// Storage: the base text is held in pieces (ChunkedText) and the entries'
// texts as a chain of differences, so memory grows with the size of the
// edits rather than document size x depth. The newest text-bearing entry is
// stored against the base text, every older one against the text of the
// next newer one: common prefix length, common suffix length and the
// differing middle. Nothing is stored against the oldest entry, so dropping
// it never breaks the chain.
//
// The editor reports the range of every change (TextModel's change
// listener), so the history knows where the editor can differ from the base
// and a commit or a snapshot reads and compares only that range: a key
// costs the same on any page. When the base moves, the newest entry is
// re-expressed against it from that range alone.
//
// Redo: an undo keeps the state it replaced (the editor's selection and
// text) on a second chain stored the same way, the newest against the base;
// redo() puts it back and makes the state it left an undo entry again. Any
// other change of the text (a commit with a new text, a snapshot that takes
// a changed text) empties it.
#include "editor/ChunkedText.h"

#include <QString>
#include <deque>
#include <memory>
#include <functional>
#include <optional>

class TextModel;

// One entry in its string form: the start, "_", the length and, when the
// text is stored, "#" followed by the text ("120_0", "120_5#...").
QString FormatUndoEntry(int start, int length, const std::optional<QString>& text);
// The start is the part before the first "_"; with a "#" the length lies
// between the first "_" and the first "#" and the text is everything after
// that "#", otherwise the length is everything after the first "_".
// False (and the outputs untouched) when there is no "_" or a number is not
// a decimal integer.
bool ParseUndoEntry(const QString& entry, int& start, int& length, std::optional<QString>& text);

class UndoHistory {
public:
    static constexpr int DefaultDepth = 999;

    UndoHistory();
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Remembers the editor (may be null: then every operation does nothing),
    // listens to its changes and starts with an empty history and base.
    void init(TextModel* editor);
    // Base := selection 0/0 and empty text; history and redo := empty.
    void reset();
    // Unless suspended, copies the editor's selection and text into the base.
    void snapshot();
    // Pushes the base if the editor's selection start or text differs from it.
    void commit();
    // Pops the newest entry into the editor and takes a new base; the state
    // it replaced becomes the newest redo entry.
    void restore();
    // Takes back the last restore: pushes the base as an undo entry (as a
    // commit would), puts the newest redo entry into the editor and takes a
    // new base. Nothing when there is nothing to redo.
    void redo();
    // Drops the oldest entries until at most n remain.
    void trimTo(int n);

    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    int redoCount() const { return int(redo_.size()); }
    bool canRedo() const { return !redo_.empty(); }

    int baseSelStart() const { return baseStart_; }
    int baseSelLength() const { return baseLength_; }
    // The whole base text (a copy).
    QString baseText() const { return base_.toString(); }

    // Entry i (0 = oldest) in its string form. Rebuilds the text from the
    // chain, so it costs one document copy per newer text-bearing entry.
    QString entryAt(int i) const;
    // The same for the redo entries (0 = the one redo() takes last).
    QString redoEntryAt(int i) const;

    // Bytes the history holds beyond the base: the entry records and their
    // stored pieces of text. The redo entries' bytes apart.
    qint64 memoryBytes() const;
    qint64 redoMemoryBytes() const;

    // The range of the editor's text the last restore() or redo() replaced:
    // offset, the text that was there, and the new text's length. Empty
    // (length 0 both) when it set only the selection.
    struct Replacement {
        int offset = 0;
        QString removed;
        int added = 0;
    };
    const Replacement& lastReplacement() const { return lastReplacement_; }

    // Set by a caller around a call that would otherwise snapshot and commit
    // on its own, so that its whole command becomes one step.
    bool UndoSuspended = false;

    // Called whenever "the history is not empty" may have changed, with its
    // new value (the main window enables MENU_UNDO from it).
    std::function<void(bool)> onAvailableChanged;
    // The same for "there is something to redo" (MENU_REDO).
    std::function<void(bool)> onRedoAvailableChanged;

    // A text given against a reference text:
    // reference.left(prefix) + middle + reference.right(suffix).
    struct Diff {
        int prefix = 0; // offsets are ints, as everywhere in TextModel
        int suffix = 0;
        QString middle;
    };

private:
    struct Entry {
        int start = 0;
        int length = 0;
        bool hasText = false;
        // Against the base for the newest text-bearing entry, against the
        // next newer text-bearing entry's text for the others.
        Diff diff;
    };
    using Chain = std::deque<Entry>;

    void noteChange(int offset, int added);
    // Whether the editor's text differs from the base.
    bool editorTextChanged();
    // Makes the base the editor's text, re-expressing both chains' newest
    // entries; false when the text was the same.
    bool takeEditorText();
    // A text given against the base, expressed against the editor's text.
    Diff againstEditor(const Diff& text) const;
    // Changes the editor's text to the one given against it; fills
    // lastReplacement_.
    void putIntoEditor(const Diff& change);
    // Puts the entry's selection back and, unless undo is suspended, makes
    // the editor's state the new base (a snapshot that keeps what can be
    // undone or redone).
    void settleOn(const Entry& entry);
    // The editor's text against the base.
    Diff editorAgainstBase() const;
    // The range where the base and the editor may differ: [from, size - tail)
    // in both.
    qsizetype dirtyFrom() const;
    qsizetype dirtyTail() const;
    void dropOldest();
    void clearRedo();
    void notify();
    void notifyRedo();
    // Base, entries and redo back to empty.
    void clear();
    int depth() const;

    TextModel* editor_ = nullptr;
    std::shared_ptr<UndoHistory*> self_;
    int baseStart_ = 0;
    int baseLength_ = 0;
    ChunkedText base_;
    // Whether the editor reported a change since the base was taken, and the
    // union of the changed ranges as [from, size - tail).
    bool dirty_ = false;
    qsizetype dirtyFrom_ = 0;
    qsizetype dirtyTail_ = 0;
    Chain entries_;
    Chain redo_;
    Replacement lastReplacement_;
};

// The program-wide history and the calls every editing command uses.
UndoHistory& Undo();
void UndoInit(TextModel* editor);
void UndoReset();
void UndoSnapshot();
void UndoCommit();
void UndoRestore();
void UndoRedo();
