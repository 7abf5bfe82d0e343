#include "settings/ShellIntegration.h"

#include "app/Install.h"
#include "platform/DesktopIntegration.h"
#include "platform/Folders.h"
#include "platform/Registry.h"
#include "store/Utilities.h"

#include <QDir>

namespace {

QString registryFailure()
{
    return QStringLiteral("Не удалось записать системный реестр программы (")
        + QDir::toNativeSeparators(platform::Registry().filePath()) + QStringLiteral(").");
}

void say(QString* error, const QString& text)
{
    if (error && error->isEmpty())
        *error = text;
}

} // namespace

QString ProgramRegistryKey() { return QStringLiteral("SOFTWARE\\Veltmark"); }

bool ShellIntegrationOn()
{
    QString path;
    return RegReadString(HKEY_LOCAL_MACHINE, ProgramRegistryKey(), QStringLiteral("Path"), path)
        && path == platform::ProgramFilePath();
}

bool RemoveShellIntegration(QString* error)
{
    bool ok = true;
    RegDeleteKey(HKEY_LOCAL_MACHINE, ProgramRegistryKey());
    if (platform::Registry().keyExists(HKEY_LOCAL_MACHINE, ProgramRegistryKey()))
        ok = false;
    for (const QString& ext : VerbExtensions())
        ok = UnregisterShellVerb(ext, ShellVerbCaption()) && ok;
    if (!ok)
        say(error, registryFailure());
    QString desktopError;
    if (!platform::RemoveDesktopIntegration(&desktopError)) {
        say(error, desktopError);
        ok = false;
    }
    return ok;
}

bool AddShellIntegration(QString* error)
{
    RemoveShellIntegration();
    bool ok = RegWriteString(HKEY_LOCAL_MACHINE, ProgramRegistryKey(), QStringLiteral("Path"), platform::ProgramFilePath());
    for (const QString& ext : VerbExtensions())
        ok = ok && RegisterShellVerb(ext, ShellVerbCaption(), QStringLiteral("[appexename]"));
    if (!ok)
        say(error, registryFailure());
    QString desktopError;
    if (ok && !platform::InstallDesktopIntegration(platform::ProgramFilePath(), &desktopError)) {
        say(error, desktopError);
        ok = false;
    }
    if (!ok)
        RemoveShellIntegration();
    return ok;
}
