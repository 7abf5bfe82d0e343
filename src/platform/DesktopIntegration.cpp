#include "platform/DesktopIntegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

static void initDesktopResources() { Q_INIT_RESOURCE(defaults); }

namespace platform {

namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
const QString kMimeIcon = QStringLiteral("application-x-veltmark-options");

std::function<QByteArray(int)>& iconPainter()
{
    static std::function<QByteArray(int)> painter;
    return painter;
}

QString appIconPath(int size)
{
    return UserDataHome() + QStringLiteral("icons/hicolor/%1x%1/apps/veltmark.png").arg(size);
}

QString mimeIconPath() { return UserDataHome() + QStringLiteral("icons/hicolor/32x32/mimetypes/") + kMimeIcon + QStringLiteral(".png"); }

QString mimePackagePath() { return UserDataHome() + QStringLiteral("mime/packages/veltmark.xml"); }

QByteArray resource(const QString& name)
{
    initDesktopResources();
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    if (error)
        *error = QStringLiteral("Не удалось записать файл ") + QDir::toNativeSeparators(path);
    return false;
}

// The caches are a convenience of the desktop: refreshed when the tools are
// there, never waited on for long.
void refreshCaches()
{
    const struct {
        const char* tool;
        QString folder;
    } caches[] = {
        {"update-desktop-database", UserDataHome() + QStringLiteral("applications")},
        {"update-mime-database", UserDataHome() + QStringLiteral("mime")},
    };
    for (const auto& c : caches) {
        const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(c.tool));
        if (tool.isEmpty() || !QFileInfo(c.folder).isDir())
            continue;
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(tool, {c.folder});
        if (!p.waitForFinished(5000))
            p.kill();
    }
}

} // namespace

QString UserDataHome()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        home = QDir::homePath() + QStringLiteral("/.local/share");
    if (!home.endsWith(u'/'))
        home += u'/';
    return home;
}

QString DesktopEntryPath() { return UserDataHome() + QStringLiteral("applications/veltmark.desktop"); }

QStringList DesktopIntegrationFiles()
{
    QStringList files = {DesktopEntryPath(), mimePackagePath(), mimeIconPath()};
    for (int s : kIconSizes)
        files << appIconPath(s);
    return files;
}

QString DesktopExecArgument(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : program)
        quote = quote || reserved.contains(c);
    if (!quote) {
        QString arg = program;
        // A percent sign is a field code unless doubled.
        return arg.replace(u'%', QStringLiteral("%%"));
    }
    // Inside quotes ", `, $ and \ take a backslash; the entry's own string
    // escaping then doubles every backslash.
    QString arg = QStringLiteral("\"");
    for (QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            arg += u'\\';
        arg += c;
    }
    arg += u'"';
    arg.replace(u'\\', QStringLiteral("\\\\"));
    // A percent sign is a field code unless doubled.
    arg.replace(u'%', QStringLiteral("%%"));
    return arg;
}

QString DesktopEntryText(const QString& program)
{
    QString text = QString::fromUtf8(resource(QStringLiteral(":/desktop/veltmark.desktop.in")));
    text.replace(QStringLiteral("@EXEC@"), DesktopExecArgument(program));
    return text;
}

QString OptionsMimePackage() { return QString::fromUtf8(resource(QStringLiteral(":/desktop/veltmark-mime.xml"))); }

void SetDesktopIconPainter(std::function<QByteArray(int size)> painter) { iconPainter() = std::move(painter); }

bool InstallDesktopIntegration(const QString& program, QString* error)
{
    bool ok = writeFile(DesktopEntryPath(), DesktopEntryText(program).toUtf8(), error);
    ok = ok && writeFile(mimePackagePath(), OptionsMimePackage().toUtf8(), error);
    ok = ok && writeFile(mimeIconPath(), resource(QStringLiteral(":/defaults/ZELICO.png")), error);
    if (iconPainter())
        for (int s : kIconSizes)
            ok = ok && writeFile(appIconPath(s), iconPainter()(s), error);
    refreshCaches();
    return ok;
}

bool RemoveDesktopIntegration(QString* error)
{
    bool ok = true;
    for (const QString& f : DesktopIntegrationFiles()) {
        if (QFileInfo(f).isSymLink() || QFileInfo::exists(f)) {
            if (!QFile::remove(f) && ok) {
                ok = false;
                if (error)
                    *error = QStringLiteral("Не удалось удалить файл ") + QDir::toNativeSeparators(f);
            }
        }
    }
    refreshCaches();
    return ok;
}

bool DesktopIntegrationInstalled(const QString& program)
{
    QFile f(DesktopEntryPath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return QString::fromUtf8(f.readAll()).contains(QStringLiteral("Exec=") + DesktopExecArgument(program) + QStringLiteral(" %F"));
}

} // namespace platform
