#include "platform/Shell.h"

#include <QProcess>

namespace platform {

bool SystemShell::open(const QString& target, const QString& workFolder)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target}, workFolder);
}

bool SystemShell::start(const QString& program, const QStringList& args, const QString& workFolder)
{
    return QProcess::startDetached(program, args, workFolder);
}

bool RecordingShell::open(const QString& target, const QString& workFolder)
{
    launches.push_back({QString(), {target}, workFolder});
    return result;
}

bool RecordingShell::start(const QString& program, const QStringList& args, const QString& workFolder)
{
    launches.push_back({program, args, workFolder});
    return result;
}

namespace {
ShellLauncher* g_shell = nullptr;
}

ShellLauncher& Shell()
{
    static SystemShell system;
    return g_shell ? *g_shell : system;
}

void SetShell(ShellLauncher* shell) { g_shell = shell; }

} // namespace platform
