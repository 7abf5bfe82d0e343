// The main window's document commands: the "Файл" menu's new, open, save,
// save as and encoding entries, the document opened at start, the save
// question, and documents dropped onto the window.
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "app/ui/MainWindow.h"
#include "editor/Colouring.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Prompts.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"
#include "tools/ui/ImageDropDialog.h"

#include <QAction>
#include <QDir>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QToolBar>
#include <QUrl>

namespace {

const QString kOpenTitle = QStringLiteral("Открытие файла для редактирования");
const QString kOpenFilter = QStringLiteral(
    "Все поддерживаемые|*.html;*.htm*;*.css;*.js;*.php*;*phtml;*.txt;"
    "|HTML|*.html;*.htm*|CSS|*.css|JavaScript|*.js|PHP|*.php*;*phtml;"
    "|Текстовый файл ( *.txt )|*.txt|Все файлы|*.*");
const QString kClearReserveFailed = QStringLiteral("Не удалось удалить файлов из резерва: %1");
const QString kParentNotice = QStringLiteral("Документ открыт для редактирования. Не забудьте сохранить изменения");

// OpenDialog1, shared by the open command and the open into the clipboard.
platform::FileDialogRequest openDialogRequest(const QString& fileName, const QString& folder)
{
    platform::FileDialogRequest r;
    r.title = kOpenTitle;
    r.filter = kOpenFilter;
    r.defaultExt = QStringLiteral("*.html;*htm");
    r.fileName = QFileInfo(fileName).fileName();
    r.folder = folder;
    return r;
}

} // namespace

void TForm1::wireDocumentCommands()
{
    MENU_NEWEMPTY = findChild<QAction*>(QStringLiteral("MENU_NEWEMPTY"));
    N7 = findChild<QAction*>(QStringLiteral("N7"));
    N14 = findChild<QAction*>(QStringLiteral("N14"));
    N16 = findChild<QAction*>(QStringLiteral("N16"));
    ENC_1251 = findChild<QAction*>(QStringLiteral("ENC_1251"));
    ENC_UTF8 = findChild<QAction*>(QStringLiteral("ENC_UTF8"));
    NEWDOC = findChild<QMenu*>(QStringLiteral("NEWDOC"));
    N37 = findChild<QMenu*>(QStringLiteral("N37"));

    auto* encodings = new QActionGroup(this);
    encodings->setExclusive(true);
    for (QAction* a : {ENC_1251, ENC_UTF8}) {
        a->setCheckable(true);
        encodings->addAction(a);
    }
    ENC_1251->setChecked(true);

    connect(MENU_NEWEMPTY, &QAction::triggered, this, &TForm1::NEWDOCClick);
    connect(N7, &QAction::triggered, this, &TForm1::OpenFile);
    connect(N14, &QAction::triggered, this, [this] { SaveAs(); });
    connect(N16, &QAction::triggered, this, &TForm1::SaveFile);
    connect(ENC_1251, &QAction::triggered, this, &TForm1::ENC_1251Click);
    connect(ENC_UTF8, &QAction::triggered, this, &TForm1::ENC_UTF8Click);
    connect(N37, &QMenu::aboutToShow, this, &TForm1::N37Click);

    N8 = findChild<QAction*>(QStringLiteral("N8"));
    RECENT_MENU = findChild<QMenu*>(QStringLiteral("RECENT_MENU"));
    RECENT_ACTITEM = findChild<QAction*>(QStringLiteral("RECENT_ACTITEM"));
    MENU_RESERVES = findChild<QMenu*>(QStringLiteral("MENU_RESERVES"));
    MENU_RESERVCOPY = findChild<QAction*>(QStringLiteral("MENU_RESERVCOPY"));
    MENU_RESERVCUR = findChild<QAction*>(QStringLiteral("MENU_RESERVCUR"));
    MMENU_UNSAVED = findChild<QAction*>(QStringLiteral("MMENU_UNSAVED"));
    MENU_CLEARRESERVE = findChild<QAction*>(QStringLiteral("MENU_CLEARRESERVE"));
    // The template only lends its handler to the generated entries.
    RECENT_ACTITEM->setVisible(false);
    connect(N8, &QAction::triggered, this, &TForm1::OpToClipBoard);
    connect(N13, &QMenu::aboutToShow, this, &TForm1::N13Click);
    connect(RECENT_MENU, &QMenu::aboutToShow, this, &TForm1::RECENT_MENUClick);
    connect(MENU_RESERVCOPY, &QAction::triggered, this, &TForm1::MENU_RESERVCOPYClick);
    connect(MENU_RESERVCUR, &QAction::triggered, this, &TForm1::MENU_RESERVCURClick);
    connect(MMENU_UNSAVED, &QAction::triggered, this, &TForm1::MMENU_UNSAVEDClick);
    connect(MENU_CLEARRESERVE, &QAction::triggered, this, &TForm1::MENU_CLEARRESERVEClick);
}

void TForm1::buildDocumentButtons()
{
    CONTFOLDER = addToolButton(QStringLiteral("CONTFOLDER"), QStringLiteral("Папка"), QStringLiteral("Открыть папку документа"));
    CONTFOLDER->setEnabled(false);
    MAINTOOLBAR->addSeparator();
    connect(CONTFOLDER, &QToolButton::clicked, this, &TForm1::CONTFOLDERClick);
}

LogWriter TForm1::logWriter()
{
    return [this](const QString& message, bool isError) { HELPLOG_Write(message, isError); };
}

void TForm1::showDocumentTitles()
{
    setWindowTitle(MainWindowCaption(CurrentFileName));
    setAppTitle(ApplicationTitle(CurrentFileName));
    updateContainingFolder();
    DoctypeDependent();
    showDocumentState();
    liveDocumentChanged();
}

// The folder button works for a document on disk, never for the scratch
// document; it follows every change of the document, not only the menu.
void TForm1::updateContainingFolder() { CONTFOLDER->setEnabled(FileMenuState(CurrentFileName).containingFolder); }

void TForm1::DoctypeDependent()
{
    const bool html = CurrentIsHTML();
    for (QToolButton* b : {NAVBUT, CHECKBUT, VIEWBUT})
        b->setEnabled(html);
    // The colouring's languages follow the document's extension too.
    Memo1->setColouringKind(ColouringKindForPath(CurrentFileName));
}

void TForm1::CONTFOLDERClick()
{
    if (!OpenContainingFolder() && !CurrentFileName.isEmpty())
        HELPLOG_Write(QStringLiteral("Не удалось открыть папку документа"), true);
}

void TForm1::N13Click()
{
    const FileMenuEnabling e = FileMenuState(CurrentFileName);
    MENU_RESERVCOPY->setEnabled(e.reserveCopy);
    MENU_EXPORT->setEnabled(e.exportDocument);
    MENU_DOC_PROP->setEnabled(e.documentProperties);
    CONTFOLDER->setEnabled(e.containingFolder);
    RECENT_MENU->menuAction()->setEnabled(e.recentMenu);
    MENU_RESERVES->menuAction()->setEnabled(e.reserves);
}

void TForm1::RECENT_MENUClick()
{
    for (QAction* a : RECENT_MENU->actions()) {
        if (a->objectName().startsWith(RecentItemPrefix)) {
            RECENT_MENU->removeAction(a);
            a->deleteLater();
        }
    }
    for (const RecentEntry& e : RecentMenuEntries(CurrentFileName)) {
        QAction* a = RECENT_MENU->addAction(e.caption);
        a->setObjectName(e.name());
        const QString name = e.name();
        connect(a, &QAction::triggered, this, [this, name] { RECENT_ACTITEMClick(name); });
    }
}

void TForm1::RECENT_ACTITEMClick(const QString& entryName)
{
    if (!SAVE_ON_EXIT())
        return;
    // A vanished file leaves the list; the editor keeps its document, still
    // modified if it was, so the close asks about it again.
    if (const std::optional<QString> path = TakeRecentEntry(entryName))
        openDocument(*path);
    showDocumentTitles();
}

void TForm1::reportBackup(const BackupResult& result)
{
    if (result.ok)
        return;
    HELPLOG_Write(result.error, true);
    platform::prompts().message(QString(), result.error, platform::Severity::Error);
}

void TForm1::MENU_RESERVCOPYClick() { reportBackup(SaveReserveCopyBeside(Memo1->text())); }

void TForm1::MENU_RESERVCURClick() { reportBackup(MakeBackup(CurrentBackup, Memo1->text())); }

void TForm1::MMENU_UNSAVEDClick()
{
    if (!OpenReserveFolder())
        HELPLOG_Write(QStringLiteral("Не удалось открыть папку резерва"), true);
}

void TForm1::MENU_CLEARRESERVEClick()
{
    if (const int left = ClearReserve())
        HELPLOG_Write(kClearReserveFailed.arg(left), true);
}

void TForm1::OpToClipBoard()
{
    const QString path = platform::prompts().openFile(openDialogRequest(openDialogFileName_, dialogFolder()));
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QString> text = ClipboardTextOfFile(path, &error);
    if (!text) {
        platform::prompts().message(QString(), error, platform::Severity::Warning);
        return;
    }
    QApplication::clipboard()->setText(*text);
}

bool TForm1::SAVE_ON_EXIT()
{
    return ::SAVE_ON_EXIT(Memo1->text(), [this] { return SaveAs(); }, logWriter());
}

bool TForm1::openDocument(const QString& path)
{
    QString error;
    std::optional<QByteArray> bytes = ReadDocumentFile(path, &error);
    if (!bytes) {
        platform::prompts().message(QString(), error, platform::Severity::Warning);
        return false;
    }
    if (LooksBinary(*bytes) && platform::prompts().askYesNo(QString(), BinaryFileQuestion(path), platform::Answer::No) != platform::Answer::Yes)
        return false;
    const DecodedDocument doc = CHECK_ENCODE(*bytes);
    // The file's bytes are not needed once decoded: freed before the editor
    // builds its document, so the two are never held together.
    bytes.reset();
    UndoReset();
    LoadingText = true;
    Memo1->setText(doc.text);
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::Opened, path, doc.encoding, doc.lineEnds));
    if (doc.invalidBytes > 0)
        HELPLOG_Write(InvalidUtf8Message(doc.invalidBytes), true);
    openDialogFileName_ = path;
    lastFolder_ = QFileInfo(path).absolutePath();
    showDocumentTitles();
    AddToRecent_Opening(path);
    UndoReset();
    UndoSnapshot();
    SpeedButton1Click();
    return true;
}

void TForm1::openStartDocument()
{
    const StartDocument& start = startDocument_;
    if (start.kind == StartDocument::Kind::Page) {
        if (start.fromParent)
            HELPLOG_Write(kParentNotice, false);
        openDocument(start.path);
        // The application title stays "Veltmark" for a document named on the command line.
        setAppTitle(QStringLiteral("Veltmark"));
        return;
    }
    if (start.kind == StartDocument::Kind::Archive) {
        importArchive(start.path);
        // The application title stays "Veltmark" for an archive named on the command line.
        setAppTitle(QStringLiteral("Veltmark"));
        return;
    }
    Opt_SelectFile(opt::Program);
    if (ParseBool(Opt_ReadStr(opt::LOADLASTFILE))) {
        const QList<RecentEntry> recent = RecentMenuEntries(QString());
        if (!recent.isEmpty() && QFileInfo(recent.first().path).isFile())
            openDocument(recent.first().path);
    } else {
        NEWDOCClick();
    }
    setAppTitle(ApplicationTitle(CurrentFileName));
}

void TForm1::NEWDOCClick()
{
    if (!SAVE_ON_EXIT())
        return;
    startScratchDocument();
}

void TForm1::startScratchDocument()
{
    const QString scratch = ScratchDocumentPath();
    LoadingText = true;
    if (!Memo1->text().isEmpty())
        Memo1->setText(QString());
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::NewEmpty));
    QString error;
    if (!DocSave(scratch, QString(), DocEncoding, DocLineEnds, &error))
        HELPLOG_Write(error, true);
    showDocumentTitles();
    UndoReset();
}

void TForm1::OpenFile()
{
    if (!SAVE_ON_EXIT())
        return;
    const QString path = platform::prompts().openFile(openDialogRequest(openDialogFileName_, dialogFolder()));
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        platform::prompts().message(QString(), FileNotFoundMessage, platform::Severity::Warning);
        return;
    }
    openDocument(path);
}

void TForm1::SaveFile()
{
    const SaveResult result = SaveFileRoute(DocOrigin) == SaveRoute::OwnPath
        ? SaveDocumentAs(CurrentFileName, Memo1->text(), logWriter())
        : SaveAs();
    // Nothing written (cancelled or failed): the document stays modified.
    if (result != SaveResult::Saved)
        return;
    UndoReset();
    UndoSnapshot();
    DocModified = false;
    showDocumentState(); // the save may have changed the encoding
}

QString TForm1::dialogFolder() const
{
    if (!CurrentFileName.isEmpty() && !CurrentIsNew())
        return QFileInfo(CurrentFileName).absolutePath();
    return lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
}

SaveResult TForm1::SaveAs()
{
    platform::FileDialogRequest r = SaveDialogRequest();
    r.folder = dialogFolder();
    const QString path = platform::prompts().saveFile(r);
    if (path.isEmpty())
        return SaveResult::Cancelled;
    if (QFileInfo::exists(path)) {
        const BackupResult b = MakeBackup(path, QString());
        if (!b.ok)
            HELPLOG_Write(b.error, true);
    }
    const SaveResult result = SaveDocumentAs(path, Memo1->text(), logWriter());
    if (result != SaveResult::Saved)
        return result;
    if (DeleteScratchAfterSaveAs(CurrentFileName, path))
        QFile::remove(CurrentFileName);
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::SavedAs, path));
    lastFolder_ = QFileInfo(path).absolutePath();
    showDocumentTitles();
    AddToRecent_Opening(path);
    return result;
}

void TForm1::N37Click()
{
    ENC_1251->setChecked(DocEncoding == EncodingCp1251);
    ENC_UTF8->setChecked(DocEncoding == EncodingUtf8);
}

void TForm1::ENC_1251Click() { DocEncoding = EncodingCp1251; }

void TForm1::ENC_UTF8Click() { DocEncoding = EncodingUtf8; }

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.size() > 1024)
            continue;
        const DropKind kind = ClassifyDroppedFile(path);
        if (kind == DropKind::Image)
            IMGDROP->ShowDialog(path);
        if (kind != DropKind::Document)
            continue;
        if (!SAVE_ON_EXIT())
            continue;
        openDocument(path);
    }
    event->acceptProposedAction();
}
