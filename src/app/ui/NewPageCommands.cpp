// "Новый" / "Web-страница": the new page wizard's page into the editor, and
// saved at once when a page file was chosen.
#include "app/ui/MainWindow.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "html/ClassNames.h"
#include "tools/ui/NewPageWizard.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>

void TForm1::buildNewPageWizard()
{
    MENU_NEWPAGE = findChild<QAction*>(QStringLiteral("MENU_NEWPAGE"));
    NEWPAGE = new TNEWPAGE(this);
    connect(MENU_NEWPAGE, &QAction::triggered, this, &TForm1::MENU_NEWPAGEClick);
    connect(NEWPAGE, &TNEWPAGE::pageBuilt, this, &TForm1::putNewPage);
    connect(NEWPAGE, &QDialog::finished, this, [this] {
        showDocumentTitles();
        CLASSESSEL->clear();
        CLASSESSEL->addItem(NoClassText);
    });
}

void TForm1::MENU_NEWPAGEClick()
{
    if (!SAVE_ON_EXIT())
        return;
    startScratchDocument();
    NEWPAGE->clearFields();
    NEWPAGE->show();
    NEWPAGE->raise();
    NEWPAGE->activateWindow();
}

void TForm1::putNewPage(const QString& page, const QString& pageFile)
{
    LoadingText = true;
    Memo1->setText(page);
    LoadingText = false;
    UndoReset();
    UndoSnapshot();
    if (pageFile.isEmpty())
        return;
    // Written in the charset the page declares, so it reads back as it is.
    DocEncoding = PageEncoding(page);
    if (QFileInfo::exists(pageFile)) {
        const BackupResult b = MakeBackup(pageFile, QString());
        if (!b.ok)
            HELPLOG_Write(b.error, true);
    }
    QString error;
    if (!DocSave(pageFile, Memo1->text(), DocEncoding, DocLineEnds, &error)) {
        // The page stays in the scratch document, unsaved.
        HELPLOG_Write(error, true);
        platform::prompts().message(QString(), error, platform::Severity::Error);
        DocModified = true;
        return;
    }
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::SavedAs, pageFile));
    AddToRecent_Opening(pageFile);
    DocModified = false;
    showDocumentTitles();
}
