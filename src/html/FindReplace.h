#pragma once
// Find and replace over the editor's text. The dialog's fields may hold two
// codes for characters a one-line field cannot take: "[/]" for a line break
// and "[-]" for a tab.
//
// The search start is a 1-based position in the text where the next find
// begins (0 reads as 1); the program keeps one for its whole run
// (ProgramFindState). Find remembers where it stopped, so find-next walks
// through the document.
//
// Replace makes its change with one setText (whole document) or one
// setSelText (selection); the caller brackets it with UndoSnapshot and
// UndoCommit, so one replace is one undo step.
#include <QString>
#include <QStringView>

class TextModel;

inline constexpr QStringView kNothingFoundMessage = u"Ничего не найдено";

// "[/]" becomes CR LF, then "[-]" becomes a tab; both case-sensitive, every
// occurrence.
QString ExpandSearchCodes(const QString& field);

// The three-line note of the "Спецсимволы" button.
QString SearchCodesNote();

struct FindResult {
    bool found = false;
    // The message to show when nothing was found ("Ничего не найдено"); empty
    // after a find. On a find the editor's selection covers it.
    QString message;
    int selStart = 0;
    int selLength = 0;
};

enum class ReplaceScope { WholeDocument, Selection };

enum class ReplaceResult {
    NothingToFind, // the find field is empty: nothing happens
    Unchanged,     // no occurrence: the text was left as it was
    Replaced,      // the document or the selection was changed once
};

class FindState {
public:
    int searchStart() const { return searchStart_; }
    void setSearchStart(int position) { searchStart_ = position; }

    // Find from the current search start: selects the first occurrence of the
    // expanded pattern and moves the search start just after it. When nothing
    // is found the selection and the search start stay as they were. An empty
    // pattern is never found.
    FindResult find(TextModel& editor, const QString& what, bool caseSensitive);

    // "Найти": starts at the beginning, or at the caret when fromCaret is on,
    // then finds. An empty field does nothing (found false, no message).
    FindResult search(TextModel& editor, const QString& what, bool caseSensitive, bool fromCaret);

    // "Найти далее" and F3: finds from the search start. With fromCaret on it
    // continues after the current selection: after a find that is the find
    // itself, so the next occurrence is found and not the same one again; after
    // the user moved the caret it is the caret.
    FindResult findNext(TextModel& editor, const QString& what, bool caseSensitive, bool fromCaret);

private:
    int searchStart_ = 0;
    // The selection the last find made, to tell it from one the user made.
    int lastSelStart_ = -1;
    int lastSelLength_ = -1;
};

// The program's search state, alive for the whole run.
FindState& ProgramFindState();

// Replaces every occurrence of the expanded find text by the expanded
// replacement, left to right, without searching inserted text again.
ReplaceResult ReplaceInEditor(TextModel& editor, const QString& what, const QString& with, bool caseSensitive,
                              ReplaceScope scope);
