#pragma once
// The recent-documents list (section Recent), the reserve copies in the
// backup folder and beside the document, and the enabling of the "Файл"
// menu's entries. No windows here: the menus are built from the values
// these functions return.
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

inline constexpr int DefaultRecentLen = 15;
// MakeBackup's name for the editor text of the current document.
inline const QString CurrentBackup = QStringLiteral("[current]");
// Name prefix of the generated entries of the recent submenu.
inline const QString RecentItemPrefix = QStringLiteral("RECENT_ITEM_");

// ---- Recent documents --------------------------------------------------

// RECENTLEN of the section Program; 15 when missing, not a decimal integer
// or negative.
int RecentLength();

// "dd.mm.yy h:nn:ss.zzz", the name of a newly added item.
QString RecentItemName(const QDateTime& when);

// Puts a document on top of the recent list. A listed path (compared
// without regard to letter case) moves to the top keeping its name and its
// stored spelling; a new one is added under the current date and time (a
// name already in use is moved on by a millisecond). Then, if the list
// holds more than RECENTLEN items, the one at position RECENTLEN goes.
void AddToRecent_Opening(const QString& path);
void AddToRecent_Opening(const QString& path, const QDateTime& now);

// Deletes every item whose value is not an existing file.
void RemoveVanishedRecent();

// The caption of a recent entry at position i: the number, two blanks,
// the folder and the file name, both shortened when long.
QString RecentCaption(int position, const QString& path);

struct RecentEntry {
    int position = 0; // in Recent
    QString path;
    QString caption;
    QString name() const { return RecentItemPrefix + QString::number(position); }
};

// The entries of the recent submenu as it opens: vanished files are removed
// from Recent first, and the current document is not shown.
QList<RecentEntry> RecentMenuEntries(const QString& currentFileName);

// The position an entry's name carries ("RECENT_ITEM_" + i), or -1.
int RecentEntryPosition(const QString& entryName);

// A recent entry chosen: the path at its position when that file exists;
// otherwise the item is deleted from Recent and nullopt returned.
std::optional<QString> TakeRecentEntry(const QString& entryName);

// ---- The "Файл" menu ----------------------------------------------------

struct FileMenuEnabling {
    bool reserveCopy = false; // MENU_RESERVCOPY
    bool exportDocument = false; // MENU_EXPORT
    bool documentProperties = false; // MENU_DOC_PROP
    bool containingFolder = false; // CONTFOLDER
    bool recentMenu = false; // RECENT_MENU
    bool reserves = false; // MENU_RESERVES
    bool operator==(const FileMenuEnabling&) const = default;
};
// N13Click over the current document, Recent and RESERVE.
FileMenuEnabling FileMenuState(const QString& currentFileName);

// ---- Reserve copies -----------------------------------------------------

// RESERVE of the section Program, read leniently.
bool ReserveEnabled();

// BackupFolder + "(" + DateStamp + ")_" + the document's file name.
QString BackupFilePath(const QString& documentPath, const QDateTime& when);
// The document's folder + DateStamp + "___" + its file name.
QString ReserveCopyPath(const QString& documentPath, const QDateTime& when);

struct BackupResult {
    bool ok = true;   // false: error says why
    QString path;     // the copy written; empty when none was made
    QString error;
};

// MakeBackup(name): nothing while RESERVE is off. With CurrentBackup the
// editor text (editorText) is written under the current document's name in
// DocEncoding; with a path, that file is copied unchanged (nothing when it
// does not exist). The backup folder is created when missing. A copy never
// replaces an earlier one.
BackupResult MakeBackup(const QString& name, const QString& editorText);
BackupResult MakeBackup(const QString& name, const QString& editorText, const QDateTime& when);

// The bytes as a new copy in the backup folder under BackupFilePath (moved on
// by a millisecond past an earlier copy's name), whatever RESERVE says.
BackupResult WriteBackupCopy(const QString& documentPath, const QByteArray& bytes, const QDateTime& when);

// "Сохранить в папке документа": the editor text as plain text beside the
// document (nothing when there is no document).
BackupResult SaveReserveCopyBeside(const QString& editorText);
BackupResult SaveReserveCopyBeside(const QString& editorText, const QDateTime& when);

// "Очистить весь резерв": deletes every file in the backup folder (hidden
// and read-only ones too; subfolders stay). Returns how many could not be
// deleted.
int ClearReserve();

// "Открыть резерв" (the folder is created when missing).
bool OpenReserveFolder();
