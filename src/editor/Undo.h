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
// Storage: the entries' texts are kept as a chain of differences, so memory
// grows with the size of the edits rather than document size x depth. The
// newest text-bearing entry is stored against the anchor text (normally the
// base's own text, so it costs no copy of its own), and every older
// text-bearing entry against the text of the next newer one: common prefix
// length, common suffix length and the differing middle. Whenever the anchor
// is replaced (a new base, an undo) the newest entry is re-expressed against
// the new one, so the stored texts come back exactly whatever happened to
// the editor between the calls. Nothing is stored against the oldest entry,
// so dropping it never breaks the chain.
#include <QString>
#include <deque>
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

    // Remembers the editor (may be null: then every operation does nothing)
    // and starts with an empty history and base.
    void init(TextModel* editor);
    // Base := selection 0/0 and empty text; history := empty.
    void reset();
    // Unless suspended, copies the editor's selection and text into the base.
    void snapshot();
    // Pushes the base if the editor's selection start or text differs from it.
    void commit();
    // Pops the newest entry into the editor and takes a new base.
    void restore();
    // Drops the oldest entries until at most n remain.
    void trimTo(int n);

    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }

    int baseSelStart() const { return baseStart_; }
    int baseSelLength() const { return baseLength_; }
    const QString& baseText() const { return baseText_; }

    // Entry i (0 = oldest) in its string form. Rebuilds the text from the
    // chain, so it costs one document copy per newer text-bearing entry.
    QString entryAt(int i) const;

    // Bytes the history holds beyond the base: the entry records, their
    // stored pieces of text, and the anchor text while it is not the base's.
    qint64 memoryBytes() const;

    // Set by a caller around a call that would otherwise snapshot and commit
    // on its own, so that its whole command becomes one step.
    bool UndoSuspended = false;

    // Called whenever "the history is not empty" may have changed, with its
    // new value (the main window enables MENU_UNDO from it).
    std::function<void(bool)> onAvailableChanged;

private:
    struct Entry {
        int start = 0;
        int length = 0;
        bool hasText = false;
        // text = reference.left(prefix) + middle + reference.right(suffix),
        // the reference being the anchor for the newest text-bearing entry
        // and the next newer text-bearing entry's text for the others.
        qsizetype prefix = 0;
        qsizetype suffix = 0;
        QString middle;
    };

    // Index of the newest text-bearing entry, or -1.
    int newestTextEntry() const;
    // Re-expresses the newest text-bearing entry against the given text,
    // which becomes the anchor.
    void moveAnchor(const QString& text);
    void dropOldest();
    void notify();
    // Base and entries back to empty.
    void clear();

    TextModel* editor_ = nullptr;
    int baseStart_ = 0;
    int baseLength_ = 0;
    QString baseText_;
    std::deque<Entry> entries_;
    int textEntries_ = 0;
    QString anchor_;
};

// The program-wide history and the calls every editing command uses.
UndoHistory& Undo();
void UndoInit(TextModel* editor);
void UndoReset();
void UndoSnapshot();
void UndoCommit();
void UndoRestore();
