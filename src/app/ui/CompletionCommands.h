#pragma once
// The completion list's hooks on the main window's editor: opened after the
// openers while TypingCompletion is on and by Ctrl+Space, filtered as the
// prefix grows, closed when the caret leaves its context. While it is shown
// Up, Down, Enter, Tab and Esc are its own; every other key is the editor's.
#include "editor/Completion.h"

#include <QObject>
#include <QString>
#include <QStringList>

class TForm1;
class TKRichEdit;
class TCompletionPopup;

class TCompletionCommands : public QObject {
    Q_OBJECT

public:
    explicit TCompletionCommands(TForm1* form);

    TCompletionPopup* popup() const { return popup_; }
    bool isOpen() const;
    // Opens the list for the caret's context; false when it has nothing.
    bool open();
    void close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CompletionContext contextAtCaret() const;
    CompletionExtras extrasFor(const CompletionContext& context);
    bool showFor(const CompletionContext& context);
    void afterKey();
    void accept(const CompletionItem& item);

    TForm1* form_;
    TKRichEdit* editor_;
    TCompletionPopup* popup_;
    CompletionContext shown_;
    CompletionExtras extras_;
    QString typed_;
    // Files beside the page, listed when a path is first asked for.
    QString filesFolder_;
    QStringList files_;
    bool filesListed_ = false;
};

// Made once with the main window's editor events.
void InstallCompletion(TForm1* form);
