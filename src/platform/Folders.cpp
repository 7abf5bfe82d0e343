#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// Every options section already there opens for writing (a section a
// write would fail on, whatever the folder's own permission says).
bool sectionsWritable(const QString& folder)
{
    const QDir dir(folder);
    const QFileInfoList sections = dir.entryInfoList({QStringLiteral("*.ZEL")}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& fi : sections) {
        QFile f(fi.absoluteFilePath());
        if (!fi.isFile() || !f.open(QIODevice::ReadWrite))
            return false;
    }
    return true;
}

} // namespace

QString ChooseProgramFolder(const QString& candidate)
{
    const QString folder = withSep(candidate);
    if (writableFolder(folder) && sectionsWritable(folder))
        return folder;
    const QString data = userDataFolder();
    QDir().mkpath(data);
    // The settings found there go on in the data folder.
    const QFileInfoList sections = QDir(folder).entryInfoList({QStringLiteral("*.ZEL")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& fi : sections) {
        const QString target = data + fi.fileName();
        if (!QFileInfo::exists(target) && QFile::copy(fi.absoluteFilePath(), target))
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return data;
}

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
    return ChooseProgramFolder(QFileInfo(ProgramFilePath()).absolutePath());
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
