#include "app/ui/RecoveryKeeper.h"

#include "editor/ui/KRichEdit.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

RecoveryKeeper::RecoveryKeeper(TKRichEdit* editor, QObject* parent, Timing timing)
    : QObject(parent)
    , editor_(editor)
    , timing_(timing)
    , writer_(RecoveryFolder(), NewRecoveryName())
{
    // Held from the start, so no other instance takes what this one writes.
    writer_.claim();
    connect(editor_->document(), &QTextDocument::contentsChange, this, &RecoveryKeeper::edited);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::tick);
    timer_.start(timing_.tickMs);
}

void RecoveryKeeper::edited(int position, int removed, int added)
{
    ++generation_;
    sinceChange_.start();
    if (!unwritten_) {
        unwritten_ = true;
        sinceFirstUnwritten_.start();
    }
    if (!rawValid_)
        return;
    // The raw text holds every character but the final block's separator.
    QTextDocument* doc = editor_->document();
    const qsizetype length = doc->characterCount() - 1;
    if (position + added > length) {
        rawValid_ = false; // a whole new text: taken again when needed
        return;
    }
    const QString text = added > 0 ? editor_->documentPart(position, added) : QString();
    rawValid_ = raw_.replace(position, removed, text) && raw_.size() == length;
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
    if (!rawValid_) {
        // Read a piece at a time: the whole raw text at once would be a
        // second copy of a large page for a moment.
        // The pieces come in order: each line's text is taken once (a
        // long line is kept while its pieces are read), and its break is
        // the document's U+2029.
        const QTextDocument* doc = editor_->document();
        QTextBlock held;
        QString heldText;
        raw_.reset(doc->characterCount() - 1, [doc, held, heldText](qsizetype at, qsizetype length) mutable {
            QString piece;
            piece.reserve(length);
            const qsizetype end = at + length;
            qsizetype pos = at;
            for (QTextBlock b = doc->findBlock(int(at)); pos < end && b.isValid(); b = b.next()) {
                if (b != held) {
                    held = b;
                    heldText = b.text();
                }
                const qsizetype inLine = pos - b.position();
                const qsizetype take = std::min(end - pos, heldText.size() - inLine);
                if (take > 0) {
                    piece += QStringView(heldText).mid(inLine, take);
                    pos += take;
                }
                if (pos < end) {
                    piece += QChar::ParagraphSeparator;
                    ++pos;
                }
            }
            return piece;
        });
        rawValid_ = true;
    }
    RecoveryCopy copy{state.fileName, state.origin, state.encoding, state.lineEnds, QDateTime::currentDateTime(), QString()};
    if (!writer_.write(std::move(copy), raw_))
        return;
    takeCurrentAsWritten();
}
