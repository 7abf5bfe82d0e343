#pragma once
// The completion list under the caret: a frameless window that never takes
// the focus, so the editor keeps typing. The keys that move in it, accept
// and close it come through handleKey while it is shown; it never touches
// the text itself: acceptance goes to onAccept.
#include "editor/Completion.h"

#include <QFrame>
#include <functional>

class QKeyEvent;
class QLabel;
class QListWidget;

class TCompletionPopup : public QFrame {
    Q_OBJECT

public:
    explicit TCompletionPopup(QWidget* owner);

    // Shows the items with the first current, its top left at the point
    // (global); with no items the list closes.
    void showItems(std::vector<CompletionItem> items, QPoint at);
    // Up and Down move, Enter and Tab accept, Esc closes; true for a key it
    // took. Any other key is the editor's.
    bool handleKey(const QKeyEvent& event);
    int currentRow() const;
    const std::vector<CompletionItem>& items() const { return items_; }
    // The current item's hint as shown.
    QString hintText() const;

    std::function<void(const CompletionItem&)> onAccept;

private:
    void showHint();
    QListWidget* list_;
    QLabel* hint_;
    std::vector<CompletionItem> items_;
};
