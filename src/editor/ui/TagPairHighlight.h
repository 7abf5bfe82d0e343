#pragma once
// The highlight of the start and end tag names that belong together while
// the caret is in either tag: extra selections of the editor, never a change
// of its document. Worked out once per event-loop turn after caret moves and
// edits, over bounded windows around the caret.
#include "html/TagPairs.h"

#include <QObject>
#include <functional>
#include <optional>

class TKRichEdit;

class TagPairHighlight : public QObject {
    Q_OBJECT
public:
    explicit TagPairHighlight(TKRichEdit* editor);

    // While the condition says no, nothing is highlighted or worked out.
    void setCondition(std::function<bool()> condition);

    // The pair shown now, as document offsets.
    std::optional<TagPair> pair() const { return pair_; }
    // Works the pair out now, without waiting for the event loop.
    void update();
    // The pair at the caret now: the one shown when nothing moved since, else
    // worked out at once.
    std::optional<TagPair> pairNow();

private:
    void schedule();
    bool on() const;

    TKRichEdit* editor_;
    std::function<bool()> condition_;
    bool scheduled_ = false;
    bool known_ = false; // pair_ was worked out while on
    std::optional<TagPair> pair_;
};

// The pair at the editor's caret, read from windows of the text around it.
std::optional<TagPair> TagPairAtCaret(const TKRichEdit& editor);
