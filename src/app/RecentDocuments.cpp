#include "app/RecentDocuments.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "platform/Codecs.h"
#include "platform/Folders.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString fileNameOf(const QString& path)
{
    const qsizetype sep = path.lastIndexOf(platform::PathSep);
    return sep < 0 ? path : path.mid(sep + 1);
}

QString folderOf(const QString& path)
{
    const qsizetype sep = path.lastIndexOf(platform::PathSep);
    return sep < 0 ? QString() : path.left(sep + 1);
}

bool isExistingFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

// A name for a new copy that no earlier copy holds.
template <typename NameAt>
QString freshPath(const QDateTime& when, NameAt nameAt)
{
    QDateTime t = when;
    QString path = nameAt(t);
    for (int i = 0; i < 100000 && QFileInfo::exists(path); ++i) {
        t = t.addMSecs(1);
        path = nameAt(t);
    }
    return path;
}

// The bytes of a reserve copy of the editor text: in the document's
// encoding, but in UTF-8 when Windows-1251 cannot hold every character, so
// that the copy loses nothing.
QByteArray reserveBytes(const QString& text)
{
    const int encoding = DocEncoding == EncodingCp1251 && !platform::FitsCp1251(text) ? EncodingUtf8 : DocEncoding;
    return DocumentBytes(text, encoding, DocLineEnds);
}

QString backupFailure(const QString& reason)
{
    return QStringLiteral("Резервная копия не сделана: %1.").arg(reason);
}

QString backupFailureMessage(const QString& message)
{
    return QStringLiteral("Резервная копия не сделана. ") + message;
}

} // namespace

// ---- Recent documents --------------------------------------------------

int RecentLength()
{
    Opt_SelectFile(opt::Program);
    const std::optional<int> n = Opt_ReadInt(opt::RECENTLEN, DefaultRecentLen);
    return n && *n >= 0 ? *n : DefaultRecentLen;
}

QString RecentItemName(const QDateTime& when) { return when.toString(QStringLiteral("dd.MM.yy h:mm:ss.zzz")); }

void AddToRecent_Opening(const QString& path) { AddToRecent_Opening(path, QDateTime::currentDateTime()); }

void AddToRecent_Opening(const QString& path, const QDateTime& now)
{
    if (path.isEmpty())
        return;
    const int n = RecentLength();
    Opt_SelectFile(opt::Recent);
    const int at = Opt_IndexOfValue(path);
    if (at < 0) {
        // Two documents added within one millisecond must not share a name:
        // the second write would replace the first one's path.
        QDateTime t = now;
        QString name = RecentItemName(t);
        for (int i = 0; i < 100000 && Opt_Has(name); ++i) {
            t = t.addMSecs(1);
            name = RecentItemName(t);
        }
        Opt_Write(name, path);
        Opt_Move(Opt_Count() - 1, 0);
    } else if (at > 0) {
        Opt_Move(at, 0);
    }
    // Trimmed to the length, however long another instance left the list.
    for (int count = Opt_Count(); count > n; ) {
        Opt_DeleteAt(n);
        const int left = Opt_Count();
        if (left >= count)
            break; // the section cannot be written: nothing more to do
        count = left;
    }
}

void RemoveVanishedRecent()
{
    Opt_SelectFile(opt::Recent);
    int i = 0;
    while (i < Opt_Count()) {
        if (isExistingFile(Opt_ValueAt(i)))
            ++i;
        else
            Opt_DeleteAt(i);
    }
}

QString RecentCaption(int position, const QString& path)
{
    QString name = fileNameOf(path);
    if (name.size() > 40)
        name = name.left(5) + QStringLiteral("(...)") + name.right(31);
    const QString folder = path.size() - name.size() > 25 ? path.left(19) + QStringLiteral("(...)") + platform::PathSep : folderOf(path);
    return QString::number(position) + QStringLiteral("  ") + folder + name;
}

QList<RecentEntry> RecentMenuEntries(const QString& currentFileName)
{
    RemoveVanishedRecent();
    Opt_SelectFile(opt::Recent);
    QList<RecentEntry> entries;
    const int count = Opt_Count();
    for (int i = 0; i < count; ++i) {
        const QString path = Opt_ValueAt(i);
        if (path == currentFileName)
            continue;
        entries.append({i, path, RecentCaption(i, path)});
    }
    return entries;
}

int RecentEntryPosition(const QString& entryName)
{
    if (!entryName.startsWith(RecentItemPrefix))
        return -1;
    const std::optional<int> i = StrictToInt(entryName.mid(RecentItemPrefix.size()));
    return i && *i >= 0 ? *i : -1;
}

std::optional<QString> TakeRecentEntry(const QString& entryName)
{
    const int i = RecentEntryPosition(entryName);
    if (i < 0)
        return std::nullopt;
    Opt_SelectFile(opt::Recent);
    if (i >= Opt_Count())
        return std::nullopt;
    const QString path = Opt_ValueAt(i);
    if (isExistingFile(path))
        return path;
    Opt_DeleteAt(i);
    return std::nullopt;
}

// ---- The "Файл" menu ----------------------------------------------------

FileMenuEnabling FileMenuState(const QString& currentFileName)
{
    FileMenuEnabling e;
    const bool exists = isExistingFile(currentFileName);
    e.reserveCopy = exists;
    e.exportDocument = exists;
    e.documentProperties = exists;
    e.containingFolder = exists && currentFileName != ScratchDocumentPath();
    Opt_SelectFile(opt::Recent);
    e.recentMenu = Opt_Count() > 0;
    e.reserves = ReserveEnabled();
    return e;
}

// ---- Reserve copies -----------------------------------------------------

bool ReserveEnabled()
{
    Opt_SelectFile(opt::Program);
    return ParseBool(Opt_ReadStr(opt::RESERVE));
}

QString BackupFilePath(const QString& documentPath, const QDateTime& when)
{
    return BackupFolder + QStringLiteral("(") + DateStamp(when) + QStringLiteral(")_") + fileNameOf(documentPath);
}

QString ReserveCopyPath(const QString& documentPath, const QDateTime& when)
{
    return folderOf(documentPath) + DateStamp(when) + QStringLiteral("___") + fileNameOf(documentPath);
}

BackupResult MakeBackup(const QString& name, const QString& editorText)
{
    return MakeBackup(name, editorText, QDateTime::currentDateTime());
}

BackupResult MakeBackup(const QString& name, const QString& editorText, const QDateTime& when)
{
    BackupResult r;
    if (!ReserveEnabled())
        return r;

    QByteArray bytes;
    QString documentPath;
    if (name == CurrentBackup) {
        // A text that never had a document is kept under the scratch name.
        documentPath = CurrentFileName.isEmpty() ? ScratchDocumentName : CurrentFileName;
        bytes = reserveBytes(editorText);
    } else {
        if (!QFileInfo::exists(name))
            return r;
        QString error;
        const std::optional<QByteArray> content = ReadDocumentFile(name, &error);
        if (!content) {
            r.ok = false;
            r.error = backupFailureMessage(error);
            return r;
        }
        documentPath = name;
        bytes = *content;
    }

    return WriteBackupCopy(documentPath, bytes, when);
}

BackupResult WriteBackupCopy(const QString& documentPath, const QByteArray& bytes, const QDateTime& when)
{
    BackupResult r;
    const auto fail = [&](const QString& reason) {
        r.ok = false;
        r.error = backupFailure(reason);
        return r;
    };
    if (BackupFolder.isEmpty())
        return fail(QStringLiteral("не задана папка резервных копий"));
    if (!QFileInfo(BackupFolder).isDir() && !QDir().mkpath(BackupFolder))
        return fail(QStringLiteral("не удалось создать папку \"%1\"").arg(QDir::toNativeSeparators(BackupFolder)));

    const QString target = freshPath(when, [&](const QDateTime& t) { return BackupFilePath(documentPath, t); });
    QString error;
    if (!WriteFileAtomically(target, bytes, &error)) {
        r.ok = false;
        r.error = backupFailureMessage(error);
        return r;
    }
    r.path = target;
    return r;
}

BackupResult SaveReserveCopyBeside(const QString& editorText)
{
    return SaveReserveCopyBeside(editorText, QDateTime::currentDateTime());
}

BackupResult SaveReserveCopyBeside(const QString& editorText, const QDateTime& when)
{
    BackupResult r;
    if (CurrentFileName.isEmpty())
        return r;
    const QString target = freshPath(when, [&](const QDateTime& t) { return ReserveCopyPath(CurrentFileName, t); });
    QString error;
    if (!WriteFileAtomically(target, reserveBytes(editorText), &error)) {
        r.ok = false;
        r.error = backupFailureMessage(error);
        return r;
    }
    r.path = target;
    return r;
}

int ClearReserve()
{
    if (BackupFolder.isEmpty())
        return 0;
    const QDir dir(BackupFolder);
    if (!dir.exists())
        return 0;
    int left = 0;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& f : files) {
        const QString path = dir.filePath(f);
        const QFileInfo fi(path);
        // A read-only file is made writable first, as the platform requires.
        if (!fi.isSymLink() && !(fi.permissions() & QFileDevice::WriteOwner))
            QFile::setPermissions(path, fi.permissions() | QFileDevice::WriteOwner);
        if (!QFile::remove(path))
            ++left;
    }
    return left;
}

bool OpenReserveFolder()
{
    // Before the first backup the folder does not exist yet; an empty one opens.
    return !BackupFolder.isEmpty() && QDir().mkpath(BackupFolder) && ShellOpen(BackupFolder);
}
