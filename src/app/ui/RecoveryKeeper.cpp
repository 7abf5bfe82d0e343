#include "app/ui/RecoveryKeeper.h"

#include "editor/ui/KRichEdit.h"

#include <QTextDocument>

RecoveryKeeper::RecoveryKeeper(TKRichEdit* editor, QObject* parent, Timing timing)
    : QObject(parent)
    , editor_(editor)
    , timing_(timing)
    , writer_(RecoveryFolder(), NewRecoveryName())
{
    // Held from the start, so no other instance takes what this one writes.
    writer_.claim();
    connect(editor_->document(), &QTextDocument::contentsChanged, this, &RecoveryKeeper::changed);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::tick);
    timer_.start(timing_.tickMs);
}

void RecoveryKeeper::changed()
{
    ++generation_;
    sinceChange_.start();
    if (!unwritten_) {
        unwritten_ = true;
        sinceFirstUnwritten_.start();
    }
}

void RecoveryKeeper::takeCurrentAsWritten()
{
    copyKept_ = true;
    unwritten_ = false;
    writtenGeneration_ = generation_;
    writtenState_ = CurrentDocumentState();
}

void RecoveryKeeper::tick()
{
    const QString error = writer_.takeError();
    if (!error.isEmpty() && !failureSaid_ && onWriteFailure) {
        failureSaid_ = true;
        onWriteFailure(RecoveryWriteFailureMessage(error));
    }
    if (!DocModified) {
        if (copyKept_)
            writer_.remove();
        copyKept_ = false;
        unwritten_ = false;
        writtenGeneration_ = generation_;
        return;
    }
    const DocumentState state = CurrentDocumentState();
    const bool textChanged = generation_ != writtenGeneration_;
    if (copyKept_ && !textChanged && state == writtenState_)
        return;
    if (textChanged && unwritten_ && sinceChange_.elapsed() < timing_.pauseMs && sinceFirstUnwritten_.elapsed() < timing_.maxMs)
        return;
    RecoveryCopy copy{state.fileName, state.origin, state.encoding, state.lineEnds, QDateTime::currentDateTime(), editor_->text()};
    if (!writer_.write(std::move(copy)))
        return;
    takeCurrentAsWritten();
}
