#pragma once
// Outside browsers and preview URLs, without windows.
//
// The program finds Internet Explorer, Opera and Mozilla Firefox by reading
// their keys under HKEY_LOCAL_MACHINE. BrowserRegReadString answers exactly
// those reads from what is really installed (executables on PATH, their
// installation folders), never from the emulated registry file, whose values
// could be stale; every other key is read from the emulated registry as
// RegReadString does. The entries' captions and programs follow from the
// reads as the menu shows them.
//
// A document may be given a preview URL (section url_assigns, the document's
// full path as the item name): its previews then open that URL.
#include "platform/Registry.h"

#include <QString>
#include <QStringList>

// Where installed browsers are looked for: the folders of PATH in order, and
// the root the fixed installation folders are under ("/" on the real system).
struct BrowserLookup {
    QStringList pathDirs;
    QString root = QStringLiteral("/");
    // How long "firefox --version" may take when no application.ini gives
    // the version; its answer is remembered for the executable.
    int versionTimeoutMs = 2000;
};

// The real system: $PATH and "/".
BrowserLookup SystemBrowserLookup();
// The lookup the program uses; the real system unless one was set.
BrowserLookup CurrentBrowserLookup();
// Sets the lookup (copied); nullptr goes back to the real system.
void SetBrowserLookup(const BrowserLookup* lookup);

// The keys and values read.
inline const QString kIeKey = QStringLiteral("SOFTWARE\\Microsoft\\Internet Explorer");
inline const QString kIeVersion = QStringLiteral("Version");
inline const QString kOperaKey = QStringLiteral("SOFTWARE\\Netscape\\Netscape Navigator\\Opera\\main");
inline const QString kOperaInstallDirectory = QStringLiteral("Install Directory");
inline const QString kFirefoxKey = QStringLiteral("SOFTWARE\\Mozilla\\Mozilla Firefox");
inline const QString kFirefoxCurrentVersion = QStringLiteral("CurrentVersion");
inline const QString kFirefoxPathToExe = QStringLiteral("PathToExe");
// The key holding PathToExe for a version.
QString FirefoxMainKey(const QString& version);

// RegReadString semantics: true with the value, or false with value left
// as it was.
bool BrowserRegReadString(platform::RegRoot root, const QString& key, const QString& name, QString& value,
                          const BrowserLookup& lookup);
bool BrowserRegReadString(platform::RegRoot root, const QString& key, const QString& name, QString& value);

// Opera's program in its installation folder (on Windows "opera.exe").
inline const QString OperaProgramName = QStringLiteral("opera");
// Internet Explorer is started by this name.
inline const QString IeProgramName = QStringLiteral("IExplore");

// What is installed, read from the files themselves.
// The first "firefox" or "firefox-esr" executable on PATH, symbolic links
// resolved; empty when there is none.
QString FindFirefox(const BrowserLookup& lookup);
// Version= of [App] in the application.ini beside the executable; otherwise
// the number "<exe> --version" prints within the time allowed (remembered
// per executable and modification time); empty when neither tells.
QString FirefoxVersion(const QString& executable, int timeoutMs);
// The folder, with a trailing "/", of the "opera" executable on PATH
// (symbolic links resolved), else of the first existing of
// usr/lib/x86_64-linux-gnu/opera/ and usr/lib/opera/ under the root; empty
// when none exists.
QString FindOperaFolder(const BrowserLookup& lookup);
// The dotted number at the start of a version file of the installation
// (VERSION or version, in the folder or its resources/); empty when there
// is none.
QString OperaVersion(const QString& folder);

// A browser's entry in the preview button's drop-down.
struct BrowserEntry {
    bool found = false;
    QString caption; // when found
    QString program; // what is started
    QString folder;  // its working folder
};
inline const QString kIeCaption = QStringLiteral("• Internet Explorer");
inline const QString kOperaCaption = QStringLiteral("• Opera");
inline const QString kFirefoxCaption = QStringLiteral("• Mozilla Firefox");
// "• Internet Explorer " + the first two dot-separated parts of the version.
QString IeCaption(const QString& version);
BrowserEntry InternetExplorerEntry(const BrowserLookup& lookup);
// Found when the folder holds the program.
BrowserEntry OperaEntry(const BrowserLookup& lookup);
// Found when the version is known and the PathToExe file exists.
BrowserEntry FirefoxEntry(const BrowserLookup& lookup);

// What an outside browser is given: the assigned URL, else the document's
// path (the file as last saved).
QString OutsidePreviewAddress(const QString& documentPath);

// Whether a typed address can be opened: a local file, or a URL with a host.
bool IsUsableUrl(const QString& text);

enum class UrlAssignOutcome { Stored, LeftAsItWas, NotAUrl, NotWritten };
// OK of the assignment dialog: the typed URL, blanks at the ends trimmed,
// stored for the document. An empty field or no document changes nothing.
UrlAssignOutcome AssignPreviewUrl(const QString& documentPath, const QString& typed);
QString NotAUrlMessage(const QString& typed);
inline const QString kUrlNotWrittenMessage =
    QStringLiteral("Назначенный URL не сохранён: не удалось записать настройки программы.");
// "Отменить все (" + count + ")".
QString CancelAllCaption(int count);
// The assignment dialog's help note.
QString UrlAssignNote();
