#pragma once
// The program in the file managers' menus: the registry's record of it (the
// program's path and the "   редактировать в Veltmark" verb of each page
// extension's file type) and, on this desktop, the user's desktop entry
// with that action. The registry's "Path" value is the switch's state.
#include <QString>

// The program's key under HKEY_LOCAL_MACHINE.
QString ProgramRegistryKey();
// "Path" under that key equals the running program's path exactly.
bool ShellIntegrationOn();

// Removes, then adds: the program's path, the verb for every page extension
// and the desktop entry. On a failure what was added is taken back and
// *error gets a Russian message naming what could not be written.
bool AddShellIntegration(QString* error = nullptr);
// Deletes the program's key, each extension's verb and the desktop entry;
// false with a message when something stays.
bool RemoveShellIntegration(QString* error = nullptr);
