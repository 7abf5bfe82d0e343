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

private:
    void schedule();
    bool on() const;

    TKRichEdit* editor_;
    std::function<bool()> condition_;
    bool scheduled_ = false;
    std::optional<TagPair> pair_;
};

// The pair at the editor's caret, read from windows of the text around it.
std::optional<TagPair> TagPairAtCaret(const TKRichEdit& editor);
