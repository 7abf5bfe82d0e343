#pragma once
// Where Veltmark keeps its files, and the emulated system folders.
// Every location honours an environment override so tests never touch the
// real home folder:
//   VELTMARK_HOME     the program folder (options sections, scratch document, Backup/)
//   VELTMARK_SYSROOT  the emulated system state (registry file, Windows folder)
#include <QString>

namespace platform {

// Separator used in every path the program builds (Qt's form on all platforms).
inline constexpr QChar PathSep = u'/';

// The executable's folder with a trailing separator, or $VELTMARK_HOME when set;
// when that folder or a section in it cannot be written, the user's data
// folder ($XDG_DATA_HOME/veltmark/) (see ChooseProgramFolder).
QString ProgramFolderPath();

// The executable's folder as the program folder, when new files can be made
// in it and every options section already in it can be written; otherwise
// the user's data folder, which gets a copy of each section it lacks.
QString ChooseProgramFolder(const QString& executableFolder);

// Root of the emulated system state, with a trailing separator.
QString SysRootPath();

// The emulated Windows folder (SysRoot + "Windows/"), created on demand.
QString WindowsFolderPath();

// Path of the program file itself.
QString ProgramFilePath();

// Whether file names differ by letter case on this platform.
bool PathsAreCaseSensitive();

} // namespace platform
