#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

QString withSep(QString path)
{
    if (!path.endsWith(PathSep))
        path += PathSep;
    return path;
}

QString envPath(const char* name)
{
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? QString() : withSep(QDir::cleanPath(v));
}

QString userDataFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return withSep(QDir::cleanPath(base) + QStringLiteral("/veltmark"));
}

bool writableFolder(const QString& folder)
{
    const QFileInfo fi(folder);
    return fi.isDir() && fi.isWritable();
}

} // namespace

QString ProgramFilePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ProgramFolderPath()
{
    const QString home = envPath("VELTMARK_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return home;
    }
    const QString exeFolder = withSep(QFileInfo(ProgramFilePath()).absolutePath());
    if (writableFolder(exeFolder))
        return exeFolder;
    const QString data = userDataFolder();
    QDir().mkpath(data);
    return data;
}

QString SysRootPath()
{
    QString root = envPath("VELTMARK_SYSROOT");
    if (root.isEmpty())
        root = userDataFolder() + QStringLiteral("system/");
    QDir().mkpath(root);
    return root;
}

QString WindowsFolderPath()
{
    const QString folder = SysRootPath() + QStringLiteral("Windows/");
    QDir().mkpath(folder);
    return folder;
}

bool PathsAreCaseSensitive()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return false;
#else
    return true;
#endif
}

} // namespace platform
