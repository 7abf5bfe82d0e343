#pragma once
// The program's place on a freedesktop desktop, for the user alone: a
// desktop entry (with the "edit in Veltmark" action for pages, style sheets,
// scripts and web archives), the program's icons and the options-file type,
// all under the user's data folder ($XDG_DATA_HOME, else ~/.local/share).
// File managers offer the program for those files once the entry is there.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// The user's data folder with a trailing separator.
QString UserDataHome();
// Where the entry goes: UserDataHome() + "applications/veltmark.desktop".
QString DesktopEntryPath();
// Every file the integration writes, the entry first.
QStringList DesktopIntegrationFiles();

// The program's path as an Exec argument: quoted when it holds a blank or a
// reserved character, with the escapes a desktop entry needs.
QString DesktopExecArgument(const QString& program);
// The entry's text for a program path (the installed entry names the
// program by its command name instead).
QString DesktopEntryText(const QString& program);
// The MIME package of the ".ZEL" options files.
QString OptionsMimePackage();

// Paints the program's icon as PNG at a size; set by the windowed program
// (the core has no painter). Without it the entry names the icon only.
void SetDesktopIconPainter(std::function<QByteArray(int size)> painter);

// Writes every file of the integration for the program; false with a
// Russian reason when one cannot be written (what was written stays: the
// caller decides). The desktop and MIME caches are refreshed when their
// tools are installed.
bool InstallDesktopIntegration(const QString& program, QString* error = nullptr);
// Deletes the files the integration wrote; false with a reason when one
// stays.
bool RemoveDesktopIntegration(QString* error = nullptr);
// The entry exists and starts this program.
bool DesktopIntegrationInstalled(const QString& program);

} // namespace platform
