#include "settings/Settings.h"

#include "app/Globals.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

int readNumber(const QString& name, int fallback)
{
    return Opt_ReadInt(name, fallback).value_or(fallback);
}

bool readBool(const QString& name) { return ParseBool(Opt_ReadStr(name)); }

} // namespace

QString DefaultBackgroundText() { return QStringLiteral("$00EAEEE8"); }

QString DefaultFontName() { return QStringLiteral("Microsoft Sans Serif"); }

ProgramSettings LoadSettings()
{
    Opt_SelectFile(opt::Program);
    ProgramSettings s;
    s.loadLastFile = readBool(opt::LOADLASTFILE);
    s.disableUndo = readBool(opt::DISABLEUNDO);
    s.doubleQuotes = readBool(opt::QUOTES2);
    s.wrapOnlyVertical = readBool(opt::SCROLL_ONLYVERTICAL);
    s.reserve = readBool(opt::RESERVE);
    s.shortColours = readBool(opt::CL3TO6);
    s.recentLength = std::max(0, readNumber(opt::RECENTLEN, 15));
    s.fontName = Opt_ReadStr(opt::FONT);
    s.fontSize = std::clamp(readNumber(opt::FONTSIZE, 10), MinFontSize, MaxFontSize);
    s.undoCount = std::clamp(readNumber(opt::UNDOCOUNT, 999), MinUndoCount, MaxUndoCount);
    bool ok = false;
    const TColor c = TextToColor(Opt_ReadStr(opt::BACKGROUNDCOLOR), &ok);
    s.background = ok ? c : DefaultBackground;
    s.browserPath = Opt_ReadStr(opt::SYSBROWSPATH);
    s.showLog = readBool(opt::HELPLOG);
    s.closeTags = SwitchOnUnlessOff(Opt_ReadStr(opt::EDIT_CLOSETAGS));
    s.completion = SwitchOnUnlessOff(Opt_ReadStr(opt::EDIT_COMPLETION));
    s.abbreviations = SwitchOnUnlessOff(Opt_ReadStr(opt::EDIT_ABBREVIATIONS));
    return s;
}

StoreResult StoreSettings(const ProgramSettings& s)
{
    StoreResult r;
    Opt_SelectFile(opt::Program);
    Opt_Write(opt::RECENTLEN, QString::number(s.recentLength));
    Opt_Write(opt::FONT, s.fontName);
    Opt_Write(opt::FONTSIZE, QString::number(s.fontSize));
    Opt_Write(opt::UNDOCOUNT, QString::number(s.undoCount));
    Opt_Write(opt::LOADLASTFILE, BoolToText(s.loadLastFile));
    Opt_Write(opt::DISABLEUNDO, BoolToText(s.disableUndo));
    Opt_Write(opt::RESERVE, BoolToText(s.reserve));

    if (!BackupFolder.isEmpty()) {
        if (s.reserve) {
            r.reserveFolderOk = QFileInfo(BackupFolder).isDir() || QDir().mkpath(BackupFolder);
        } else {
            // A folder that is a link is removed as a link: nothing it points
            // to is touched.
            QString folder = BackupFolder;
            while (folder.endsWith(u'/'))
                folder.chop(1);
            r.reserveFolderOk = DeleteFolder(folder);
        }
    }

    Opt_SelectFile(opt::Program);
    Opt_Write(opt::CL3TO6, BoolToText(s.shortColours));
    const QFileInfo browser(s.browserPath);
    if (!s.browserPath.isEmpty() && browser.isFile()) {
        Opt_Write(opt::SYSBROWSPATH, s.browserPath);
        r.browserPathStored = true;
    }
    Opt_Write(opt::QUOTES2, BoolToText(s.doubleQuotes));
    Opt_Write(opt::SCROLL_ONLYVERTICAL, BoolToText(s.wrapOnlyVertical));
    Opt_Write(opt::EDIT_CLOSETAGS, BoolToText(s.closeTags));
    Opt_Write(opt::EDIT_COMPLETION, BoolToText(s.completion));
    Opt_Write(opt::EDIT_ABBREVIATIONS, BoolToText(s.abbreviations));
    return r;
}

void StoreBackground(TColor colour)
{
    Opt_SelectFile(opt::Program);
    Opt_Write(opt::BACKGROUNDCOLOR, ColorToText(colour, true));
}

bool SwitchOnUnlessOff(const QString& storedValue) { return storedValue != QLatin1String("0"); }

void ApplyTypingSwitches(const ProgramSettings& s)
{
    TypingCloseTags = s.closeTags;
    TypingCompletion = s.completion;
    TypingAbbreviations = s.abbreviations;
}
