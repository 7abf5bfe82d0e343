#pragma once
// The first-run setup: creating the options sections the program needs and
// registering the shell verb for the page extensions.
#include <QString>
#include <QStringList>

enum class SetupResult {
    NotNeeded, // every section was there: nothing asked
    Declined,  // the user said No: the program ends, nothing written
    Performed, // missing sections written, shell verb registered
};

// The six sections a normal start needs, in the order they are tested.
const QStringList& RequiredSections();
// Extensions that get the shell verb, in order.
const QStringList& VerbExtensions();
// "   редактировать в Veltmark" (three leading blanks).
QString ShellVerbCaption();
// The question of the first start.
QString SetupQuestion();

// Default contents of a section as its list of item lines ("[name]value").
QStringList DefaultSectionItems(const QString& section);

// Runs before any window: asks when a section is missing and, on Yes, writes
// only the missing sections and registers the shell verb.
SetupResult FirstRunCheck();

// Writes the sections that are missing with their defaults.
void WriteMissingSections();
// Removes, then adds the shell verb for every extension of VerbExtensions(),
// and installs the user's desktop entry.
void RegisterShellVerbs();
// The ".ZEL" options-file type and its icon in the Windows folder; done only
// in a run that performed the setup, after the main window exists.
bool RegisterOptionsFileType();

// An icon file holding one PNG picture.
QByteArray IcoFromPng(const QByteArray& png, int width, int height);
