#include "preview/ExternalBrowsers.h"

#include "preview/Preview.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>
#include <optional>

namespace {

std::optional<BrowserLookup>& lookupOverride()
{
    static std::optional<BrowserLookup> lookup;
    return lookup;
}

bool sameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The resolved path of name in the first PATH folder holding it as an
// executable file; empty when none does.
QString findOnPath(const QStringList& dirs, const QStringList& names)
{
    for (const QString& dir : dirs) {
        if (dir.isEmpty())
            continue;
        for (const QString& name : names) {
            const QFileInfo fi(QDir(dir).filePath(name));
            if (fi.isFile() && fi.isExecutable())
                return fi.canonicalFilePath();
        }
    }
    return {};
}

// The first word of text when it starts with a number ("115.3.0esr",
// "105.0.4970.21"); empty otherwise.
QString leadingVersion(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\d+(\\.\\d+)*\\S*"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    return m.hasMatch() ? m.captured(0) : QString();
}

QString versionFromApplicationIni(const QString& folder)
{
    QFile f(QDir(folder).filePath(QStringLiteral("application.ini")));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inApp = false;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inApp = sameText(line, QStringLiteral("[App]"));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inApp && eq > 0 && sameText(line.left(eq).trimmed(), QStringLiteral("Version")))
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

// "Mozilla Firefox 115.3.0esr" gives "115.3.0esr".
QString versionFromRunning(const QString& executable, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(executable, {QStringLiteral("--version")});
    if (!p.waitForStarted(timeoutMs))
        return {};
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    const QStringList words = QString::fromLocal8Bit(p.readAll()).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString& w : words) {
        const QString v = leadingVersion(w);
        if (!v.isEmpty() && v.contains(u'.'))
            return v;
    }
    return {};
}

// The browser reads: nullopt for a key that is not a browser's.
std::optional<std::optional<QString>> browserValue(const QString& key, const QString& name, const BrowserLookup& lookup)
{
    const QString k = platform::NormalizeKeyPath(key);
    if (sameText(k, kIeKey))
        return std::optional<QString>(); // never installed here
    if (sameText(k, kOperaKey)) {
        if (!sameText(name, kOperaInstallDirectory))
            return std::optional<QString>();
        const QString folder = FindOperaFolder(lookup);
        return folder.isEmpty() ? std::optional<QString>() : std::optional<QString>(folder);
    }
    const bool firefoxKey = sameText(k, kFirefoxKey);
    const bool belowFirefox = k.size() > kFirefoxKey.size() && k.at(kFirefoxKey.size()) == u'\\'
        && sameText(k.left(kFirefoxKey.size()), kFirefoxKey);
    if (!firefoxKey && !belowFirefox)
        return std::nullopt;
    const QString exe = FindFirefox(lookup);
    const QString version = exe.isEmpty() ? QString() : FirefoxVersion(exe, lookup.versionTimeoutMs);
    if (version.isEmpty())
        return std::optional<QString>();
    if (firefoxKey && sameText(name, kFirefoxCurrentVersion))
        return std::optional<QString>(version);
    if (sameText(k, platform::NormalizeKeyPath(FirefoxMainKey(version))) && sameText(name, kFirefoxPathToExe))
        return std::optional<QString>(exe);
    return std::optional<QString>();
}

QString readLocalMachine(const QString& key, const QString& name, const BrowserLookup& lookup)
{
    QString value;
    BrowserRegReadString(HKEY_LOCAL_MACHINE, key, name, value, lookup);
    return value;
}

} // namespace

BrowserLookup SystemBrowserLookup()
{
    BrowserLookup l;
    l.pathDirs = QString::fromLocal8Bit(qgetenv("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return l;
}

BrowserLookup CurrentBrowserLookup()
{
    const std::optional<BrowserLookup>& o = lookupOverride();
    return o ? *o : SystemBrowserLookup();
}

void SetBrowserLookup(const BrowserLookup* lookup)
{
    if (lookup)
        lookupOverride() = *lookup;
    else
        lookupOverride().reset();
}

QString FirefoxMainKey(const QString& version) { return kFirefoxKey + u'\\' + version + QStringLiteral("\\Main"); }

bool BrowserRegReadString(platform::RegRoot root, const QString& key, const QString& name, QString& value,
                          const BrowserLookup& lookup)
{
    if (root == HKEY_LOCAL_MACHINE) {
        if (const auto answer = browserValue(key, name, lookup)) {
            if (!*answer)
                return false;
            value = **answer;
            return true;
        }
    }
    return RegReadString(root, key, name, value);
}

bool BrowserRegReadString(platform::RegRoot root, const QString& key, const QString& name, QString& value)
{
    return BrowserRegReadString(root, key, name, value, CurrentBrowserLookup());
}

QString FindFirefox(const BrowserLookup& lookup)
{
    return findOnPath(lookup.pathDirs, {QStringLiteral("firefox"), QStringLiteral("firefox-esr")});
}

QString FirefoxVersion(const QString& executable, int timeoutMs)
{
    const QFileInfo fi(executable);
    if (!fi.isFile())
        return {};
    const QString fromIni = versionFromApplicationIni(fi.absolutePath());
    if (!fromIni.isEmpty())
        return fromIni;
    // Running the browser is slow: once per executable as it is on disk.
    static QMutex mutex;
    static QHash<QString, QString> known;
    const QString id = fi.absoluteFilePath() + u'|' + QString::number(fi.lastModified().toMSecsSinceEpoch()) + u'|'
        + QString::number(fi.size());
    {
        const QMutexLocker lock(&mutex);
        const auto it = known.constFind(id);
        if (it != known.constEnd())
            return *it;
    }
    const QString v = versionFromRunning(fi.absoluteFilePath(), timeoutMs);
    const QMutexLocker lock(&mutex);
    known.insert(id, v);
    return v;
}

QString FindOperaFolder(const BrowserLookup& lookup)
{
    const QString exe = findOnPath(lookup.pathDirs, {OperaProgramName});
    if (!exe.isEmpty())
        return IncludeBackslash(QFileInfo(exe).absolutePath());
    for (const char* fixed : {"usr/lib/x86_64-linux-gnu/opera", "usr/lib/opera"}) {
        const QFileInfo dir(QDir(lookup.root).filePath(QString::fromLatin1(fixed)));
        if (dir.isDir())
            return IncludeBackslash(dir.absoluteFilePath());
    }
    return {};
}

QString OperaVersion(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    for (const char* name : {"VERSION", "version", "resources/VERSION", "resources/version"}) {
        QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QString v = leadingVersion(QString::fromUtf8(f.readLine(256)));
        if (v.contains(u'.'))
            return v;
    }
    return {};
}

QString IeCaption(const QString& version)
{
    return kIeCaption + u' ' + version.split(u'.').mid(0, 2).join(u'.');
}

BrowserEntry InternetExplorerEntry(const BrowserLookup& lookup)
{
    BrowserEntry e;
    const QString version = readLocalMachine(kIeKey, kIeVersion, lookup);
    e.found = !version.isEmpty();
    if (e.found) {
        e.caption = IeCaption(version);
        e.program = IeProgramName;
    }
    return e;
}

BrowserEntry OperaEntry(const BrowserLookup& lookup)
{
    BrowserEntry e;
    const QString folder = readLocalMachine(kOperaKey, kOperaInstallDirectory, lookup);
    if (folder.isEmpty())
        return e;
    const QString program = IncludeBackslash(folder) + OperaProgramName;
    if (!QFileInfo(program).isFile())
        return e;
    e.found = true;
    e.program = program;
    e.folder = QFileInfo(program).absolutePath();
    e.caption = (kOperaCaption + u' ' + OperaVersion(folder)).trimmed();
    return e;
}

BrowserEntry FirefoxEntry(const BrowserLookup& lookup)
{
    BrowserEntry e;
    const QString version = readLocalMachine(kFirefoxKey, kFirefoxCurrentVersion, lookup);
    if (version.isEmpty())
        return e;
    const QString program = readLocalMachine(FirefoxMainKey(version), kFirefoxPathToExe, lookup);
    if (program.isEmpty() || !QFileInfo(program).isFile())
        return e;
    e.found = true;
    e.program = program;
    e.folder = QFileInfo(program).absolutePath();
    e.caption = kFirefoxCaption + u' ' + version;
    return e;
}

QString OutsidePreviewAddress(const QString& documentPath)
{
    const std::optional<QString> url = AssignedUrl(documentPath);
    // There are no short path forms here: the path is given as it is.
    return url && !url->isEmpty() ? *url : ShortPathName(documentPath);
}

bool IsUsableUrl(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QUrl url = t.contains(QStringLiteral("://")) ? QUrl(t, QUrl::TolerantMode) : QUrl::fromUserInput(t);
    return url.isValid() && (url.isLocalFile() ? !url.toLocalFile().isEmpty() : !url.host().isEmpty());
}

UrlAssignOutcome AssignPreviewUrl(const QString& documentPath, const QString& typed)
{
    const QString url = typed.trimmed();
    if (url.isEmpty() || documentPath.isEmpty())
        return UrlAssignOutcome::LeftAsItWas;
    if (!IsUsableUrl(url))
        return UrlAssignOutcome::NotAUrl;
    Opt_SelectFile(opt::UrlAssigns);
    return Opt_Write(documentPath, url) ? UrlAssignOutcome::Stored : UrlAssignOutcome::NotWritten;
}

QString NotAUrlMessage(const QString& typed)
{
    return QStringLiteral("«") + typed.trimmed()
        + QStringLiteral("» не является адресом для просмотра. Введите URL, например http://localhost/index.html");
}

QString CancelAllCaption(int count) { return QStringLiteral("Отменить все (") + QString::number(count) + u')'; }

QString UrlAssignNote()
{
    return QStringLiteral("Назначать иной URL необходимо в случае использования локального сервера, в этом случае\n"
                          "встроенный браузер программы или внешний браузер будут запускать именно этот URL.\n"
                          "Память о назначеннных URL хранится в настройках программы.");
}
