#pragma once
// Names of the options sections and of their items, in one place.
#include <QString>

namespace opt {

// Sections (files NAME.ZEL in the program folder).
inline const QString Program = QStringLiteral("Program");
inline const QString Recent = QStringLiteral("Recent");
inline const QString RColors = QStringLiteral("RColors");
inline const QString DocColors = QStringLiteral("DocColors");
inline const QString Macros = QStringLiteral("Macros");
inline const QString StyleHelp = QStringLiteral("StyleHelp");
inline const QString UrlAssigns = QStringLiteral("url_assigns");

// Items of the section Program.
inline const QString LEFT = QStringLiteral("LEFT");
inline const QString TOP = QStringLiteral("TOP");
inline const QString WIDTH = QStringLiteral("WIDTH");
inline const QString HEIGHT = QStringLiteral("HEIGHT");
inline const QString WINDOWSTATE = QStringLiteral("WINDOWSTATE");
inline const QString LOADLASTFILE = QStringLiteral("LOADLASTFILE");
inline const QString INSERTTOSYSMENU = QStringLiteral("INSERTTOSYSMENU");
inline const QString SCROLL_ONLYVERTICAL = QStringLiteral("SCROLL_ONLYVERTICAL");
inline const QString RECENTLEN = QStringLiteral("RECENTLEN");
inline const QString FONT = QStringLiteral("FONT");
inline const QString FONTSIZE = QStringLiteral("FONTSIZE");
inline const QString DISABLEUNDO = QStringLiteral("DISABLEUNDO");
inline const QString BACKGROUNDCOLOR = QStringLiteral("BACKGROUNDCOLOR");
inline const QString QUOTES2 = QStringLiteral("2QUOTES");
inline const QString SYSBROWSPATH = QStringLiteral("SYSBROWSPATH");
inline const QString CL3TO6 = QStringLiteral("CL3TO6");
inline const QString UNDOCOUNT = QStringLiteral("UNDOCOUNT");
inline const QString RESERVE = QStringLiteral("RESERVE");
inline const QString HELPLOG = QStringLiteral("HELPLOG");
inline const QString SHOWTEGSTEMPLATES = QStringLiteral("SHOWTEGSTEMPLATES");
// Help while typing (the "Правка" tab), on unless stored as "0".
inline const QString EDIT_CLOSETAGS = QStringLiteral("EDIT_CLOSETAGS");
inline const QString EDIT_COMPLETION = QStringLiteral("EDIT_COMPLETION");
inline const QString EDIT_ABBREVIATIONS = QStringLiteral("EDIT_ABBREVIATIONS");
// The live preview pane: shown or not, and its width in pixels.
inline const QString LIVEPREVIEW = QStringLiteral("LIVEPREVIEW");
inline const QString LIVEPREVIEW_WIDTH = QStringLiteral("LIVEPREVIEW_WIDTH");

// Values of WINDOWSTATE.
inline const QString StateNormal = QStringLiteral("NORMAL");
inline const QString StateMaximized = QStringLiteral("MAXIMIZED");

} // namespace opt
