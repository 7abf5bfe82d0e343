// The main window's import and export commands: text files and web
// archives become pages; the document is written compressed.
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ImportExport.h"
#include "app/RecentDocuments.h"
#include "app/ui/MainWindow.h"
#include "app/ui/WaitMessage.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "html/ClassNames.h"
#include "platform/Codecs.h"
#include "platform/Prompts.h"
#include "store/Utilities.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kImportFilter = QStringLiteral("Все поддерживаемые|*.txt;*.mht*|Текстовый файл|*.txt|Web-архив *.mht|*.mht*");
const QString kExportFilter = QStringLiteral("Сжатый HTML|*.html;*.htm*|Сжатый CSS|*.css");
const QString kImportMissing = QStringLiteral("Файл не найден");
const QString kReplacePage = QStringLiteral("Файл %1 уже существует. Заменить его страницей из текста?");

// A text file's lines as the editor holds them, decoded as any document is
// (a byte order mark is not part of the text that goes into the page).
QString TextFileLines(const QByteArray& bytes)
{
    QString joined = CHECK_ENCODE(bytes).text;
    if (joined.startsWith(QChar(0xFEFF)))
        joined.remove(0, 1);
    if (!joined.isEmpty() || !bytes.isEmpty())
        joined += QStringLiteral("\r\n");
    return joined;
}

// An imported page starts with no class chosen: the selector holds
// "Нет класса" alone until its list is refilled.
void ResetClassSelector(QComboBox* selector, QString& currentClass)
{
    const QSignalBlocker quiet(selector);
    selector->clear();
    selector->addItem(NoClassText);
    selector->setEditText(NoClassText);
    currentClass.clear();
}

} // namespace

void TForm1::wireImportExport()
{
    MENU_IMPORT = findChild<QAction*>(QStringLiteral("MENU_IMPORT"));
    MENU_EXPORT = findChild<QAction*>(QStringLiteral("MENU_EXPORT"));
    connect(MENU_IMPORT, &QAction::triggered, this, &TForm1::MENU_IMPORTClick);
    connect(MENU_EXPORT, &QAction::triggered, this, &TForm1::MENU_EXPORTClick);
}

void TForm1::MENU_IMPORTClick()
{
    if (!SAVE_ON_EXIT())
        return;
    platform::FileDialogRequest r;
    r.title = QStringLiteral("Импорт");
    r.filter = kImportFilter;
    r.folder = dialogFolder();
    const QString path = platform::prompts().openFile(r);
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        platform::prompts().message(QString(), kImportMissing, platform::Severity::Warning);
        return;
    }
    const QString ext = FileExtension(path).toUpper();
    if (ext == QLatin1String("TXT"))
        importText(path);
    else if (ext == QLatin1String("MHT"))
        importArchive(path);
}

void TForm1::importText(const QString& path)
{
    QString error;
    const std::optional<QByteArray> bytes = ReadDocumentFile(path, &error);
    if (!bytes) {
        platform::prompts().message(QString(), error, platform::Severity::Warning);
        return;
    }
    const QFileInfo source(path);
    const QString target = source.dir().filePath(source.completeBaseName() + QStringLiteral(".html"));
    // A page of that name is not replaced behind the user's back; when it
    // is replaced, its old content goes to the reserve first.
    if (QFileInfo::exists(target)) {
        if (platform::prompts().askYesNo(QString(), kReplacePage.arg(QFileInfo(target).fileName()), platform::Answer::No) != platform::Answer::Yes)
            return;
        const BackupResult b = MakeBackup(target, QString());
        if (!b.ok)
            HELPLOG_Write(b.error, true);
    }
    // The editor holds lines; the file gets CR LF after each, the last included.
    const QString page = JoinDocumentLines(TextImportPage(TextFileLines(*bytes), FileBaseName(path)));
    // The page declares Windows-1251, so it is written so, whatever the
    // previous document used.
    const int previousEncoding = DocEncoding;
    const LineEnds previousEnds = DocLineEnds;
    DocEncoding = PageEncoding(page);
    DocLineEnds = LineEnds::CrLf;
    if (SaveDocumentAs(target, page, logWriter()) != SaveResult::Saved) {
        DocEncoding = previousEncoding;
        DocLineEnds = previousEnds;
        return;
    }
    CurrentFileName = path;
    UndoReset();
    LoadingText = true;
    Memo1->setText(page);
    ResetClassSelector(CLASSESSEL, CurrentClass);
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::TextImported, target));
    showDocumentTitles();
    AddToRecent_Opening(target);
    UndoReset();
    UndoSnapshot();
    // The preview window shows the new page here once it exists.
}

void TForm1::importArchive(const QString& path)
{
    QString error;
    const std::optional<QByteArray> bytes = ReadDocumentFile(path, &error);
    if (!bytes) {
        platform::prompts().message(QString(), error, platform::Severity::Warning);
        return;
    }
    TWAITMESSAGE wait(this);
    CurrentFileName = path;
    UndoReset();
    LoadingText = true;
    Memo1->setText(ImportMHT(*bytes));
    ResetClassSelector(CLASSESSEL, CurrentClass);
    // Written in the charset the page declares (its escapes are decoded already).
    DocEncoding = PageEncoding(Memo1->text());
    const QString scratch = ScratchDocumentPath();
    if (!DocSave(scratch, Memo1->text(), DocEncoding, LineEnds::CrLf, &error))
        HELPLOG_Write(error, true);
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::ArchiveImported, scratch));
    showDocumentTitles();
    UndoSnapshot();
}

void TForm1::MENU_EXPORTClick()
{
    platform::FileDialogRequest r;
    r.title = QStringLiteral("Сохранение документа");
    r.filter = kExportFilter;
    r.defaultExt = QStringLiteral("*.html");
    r.folder = CurrentIsNew() ? QDir::rootPath() : QFileInfo(CurrentFileName).absolutePath();
    const QString path = platform::prompts().saveFile(r);
    if (path.isEmpty())
        return;
    Memo1->viewport()->repaint();
    QString report;
    {
        TWAITMESSAGE wait(this);
        const QString text = JoinDocumentLines(Memo1->text());
        bool backupMade = false;
        if (QFileInfo::exists(path)) {
            const BackupResult b = MakeBackup(path, QString());
            if (!b.ok)
                HELPLOG_Write(b.error, true);
            backupMade = b.ok && !b.path.isEmpty();
        }
        // The compressor follows the chosen file: a style sheet or a page.
        const bool css = FileExtension(path).compare(QLatin1String("css"), Qt::CaseInsensitive) == 0;
        const QString compressed = css ? CompressCss(text) : CompressHtml(text);
        QString error;
        if (!DocSave(path, compressed, DocEncoding, DocLineEnds, &error)) {
            platform::prompts().message(QString(), error, platform::Severity::Error);
            return;
        }
        report = ExportReport(CompressionFigure, backupMade);
    }
    platform::prompts().message(QString(), report, platform::Severity::Information);
}
