#pragma once
// The program's options as the settings dialog shows them: read from the
// section Program with the dialog's defaults, and written back in the
// dialog's order with the effects that belong to the stored values.
#include "store/ColourNotation.h"

#include <QString>

struct ProgramSettings {
    bool loadLastFile = false;     // LOADLASTFILE
    bool disableUndo = false;      // DISABLEUNDO
    bool doubleQuotes = false;     // 2QUOTES
    bool wrapOnlyVertical = false; // SCROLL_ONLYVERTICAL
    bool reserve = false;          // RESERVE
    bool shortColours = false;     // CL3TO6
    bool showLog = false;          // HELPLOG
    int recentLength = 15;         // RECENTLEN
    QString fontName;              // FONT
    int fontSize = 10;             // FONTSIZE
    int undoCount = 999;           // UNDOCOUNT
    TColor background = 0x00EAEEE8; // BACKGROUNDCOLOR
    QString browserPath;           // SYSBROWSPATH
    // Help while typing: on unless stored as "0".
    bool closeTags = true;         // EDIT_CLOSETAGS
    bool completion = true;        // EDIT_COMPLETION
    bool abbreviations = true;     // EDIT_ABBREVIATIONS
};

// The dialog's ranges; a stored number outside them shows as the nearest.
inline constexpr int MinFontSize = 5;
inline constexpr int MaxFontSize = 100;
inline constexpr int MinUndoCount = 5;
inline constexpr int MaxUndoCount = 999;
// The editor background of the reset buttons ("$00EAEEE8").
inline constexpr TColor DefaultBackground = 0x00EAEEE8;
QString DefaultBackgroundText();
// The font of the font reset button.
QString DefaultFontName();

// Reads the section Program. A number that is missing, or is not a decimal
// number, shows as its default (15, 10, 999); an unreadable colour as the
// reset colour.
ProgramSettings LoadSettings();

// What storing the settings did beyond the section's items.
struct StoreResult {
    bool browserPathStored = false; // the path named an existing file
    bool reserveFolderOk = true;    // the reserve folder is as asked
};

// Writes RECENTLEN, FONT, FONTSIZE, UNDOCOUNT, LOADLASTFILE, DISABLEUNDO,
// RESERVE; creates the reserve folder (on) or deletes it with its contents
// (off); then CL3TO6, SYSBROWSPATH (only when it names an existing file),
// 2QUOTES, SCROLL_ONLYVERTICAL and the three typing switches. HELPLOG is the window's to write, since
// it goes with showing or hiding the log.
StoreResult StoreSettings(const ProgramSettings& s);

// BACKGROUNDCOLOR at once, as the colour buttons write it.
void StoreBackground(TColor colour);

// A switch that is on unless its item holds exactly "0" (missing is on).
bool SwitchOnUnlessOff(const QString& storedValue);
// The program-wide typing switches take the settings' values.
void ApplyTypingSwitches(const ProgramSettings& s);
