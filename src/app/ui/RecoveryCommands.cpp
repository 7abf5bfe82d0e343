// The main window's side of the recovery copies: the keeper started with
// the window, and the question for copies left by instances that are gone.
#include "app/Recovery.h"
#include "app/ui/MainWindow.h"
#include "app/ui/RecoveryKeeper.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Prompts.h"

#include <QFileInfo>

void TForm1::startRecovery()
{
    RECOVERY = new RecoveryKeeper(Memo1, this);
    RECOVERY->onWriteFailure = [this](const QString& message) { HELPLOG_Write(message, true); };
    offerRecoveryCopies();
}

void TForm1::offerRecoveryCopies()
{
    std::vector<LeftRecoveryCopy> left = FindLeftRecoveryCopies(RecoveryFolder());
    for (LeftRecoveryCopy& copy : left) {
        if (platform::prompts().askYesNo(QString(), RecoveryQuestion(copy.copy), platform::Answer::Yes) == platform::Answer::Yes) {
            openRecoveredText(copy.copy);
            if (AdoptRecoveryCopy(copy, RECOVERY->writer()))
                RECOVERY->takeCurrentAsWritten();
            // The others wait for the next start.
            return;
        }
        const BackupResult r = MoveRecoveryCopyToReserve(copy);
        if (!r.ok)
            HELPLOG_Write(r.error, true);
    }
}

void TForm1::openRecoveredText(const RecoveryCopy& copy)
{
    UndoReset();
    LoadingText = true;
    Memo1->setText(copy.text);
    SetDocumentState({copy.documentPath, copy.origin, copy.encoding, true, copy.lineEnds});
    if (!copy.documentPath.isEmpty() && !CurrentIsNew())
        lastFolder_ = QFileInfo(copy.documentPath).absolutePath();
    showDocumentTitles();
    UndoReset();
    UndoSnapshot();
}
