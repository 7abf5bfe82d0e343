#pragma once
// Keeps the recovery copy of the editor's text (app/Recovery) while the
// document has unsaved changes: a few seconds after typing pauses, and at
// most every few seconds while it goes on, the text is handed to the copy's
// writer thread; once the document is saved, closed or replaced
// (DocModified false) the copy goes. A keystroke counts a change and edits
// the keeper's chunked copy of the raw text where it changed; handing a copy
// to the writer shares those chunks, so the typing thread never copies or
// encodes the whole text (only once after a whole new text, such as a
// document opened, when its first copy is due).
#include "app/Documents.h"
#include "app/Recovery.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class TKRichEdit;

class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    struct Timing {
        int pauseMs = 2000; // typing paused this long: the copy is written
        int maxMs = 5000;   // typing goes on: written at least this often
        int tickMs = 1000;
    };
    RecoveryKeeper(TKRichEdit* editor, QObject* parent, Timing timing);
    RecoveryKeeper(TKRichEdit* editor, QObject* parent)
        : RecoveryKeeper(editor, parent, Timing{}) {}

    RecoveryWriter& writer() { return writer_; }
    // The copy now holds what the editor and the document's state show (a
    // copy left behind was taken over).
    void takeCurrentAsWritten();
    // One look: write, remove or nothing. Runs on the timer.
    void tick();
    // Told once per run when the copy cannot be written.
    std::function<void(const QString& message)> onWriteFailure;

private:
    void edited(int position, int removed, int added);

    RecoveryText raw_;
    bool rawValid_ = false;
    TKRichEdit* editor_;
    Timing timing_;
    RecoveryWriter writer_;
    QTimer timer_;
    quint64 generation_ = 0;
    quint64 writtenGeneration_ = 0;
    DocumentState writtenState_;
    bool copyKept_ = false;
    bool unwritten_ = false;
    bool failureSaid_ = false;
    QElapsedTimer sinceChange_;
    QElapsedTimer sinceFirstUnwritten_;
};
