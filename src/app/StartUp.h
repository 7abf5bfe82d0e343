#pragma once
// What the program reads at start and writes at close, apart from windows:
// the document named on the command line, the window placement and the
// editor's appearance. The main window applies these.
#include <QRect>
#include <QString>
#include <QStringList>

// The document to open at start, from the command-line arguments
// (program name not included).
struct StartDocument {
    enum class Kind { None, Page, Archive };
    Kind kind = Kind::None;
    QString path;            // long form of argument 1
    QString parentDocument;  // from "PARENTDOC" + path (argument 3)
    qint64 parentWindow = 0; // from "PARENT" + handle (argument 2)
    bool fromParent = false; // argument 2 began with "PARENT"
};
StartDocument ResolveStartDocument(const QStringList& args);

// Placement of the main window kept in the section Program.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 747;
    int height = 617;
    bool maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};
// Missing or malformed numbers fall back to the defaults above;
// WINDOWSTATE must be exactly "MAXIMIZED" to maximise.
WindowPlacement ReadWindowPlacement();

// The placement brought within the desktop's available area (the screens
// together): no wider or taller than it, no smaller than 200 x 150, and
// wholly on it. Applied to what is read and to what is stored, so a broken
// value is never written back.
WindowPlacement FitPlacement(const WindowPlacement& p, const QRect& desktop);

enum class WindowShow { Normal, Maximized, Minimized };
// Normal: LEFT, TOP, WIDTH, HEIGHT and "NORMAL"; maximised: only "MAXIMIZED";
// minimised: nothing.
void StoreWindowPlacement(WindowShow state, const WindowPlacement& normal);

// The editor's look and the switches read at start.
struct EditorAppearance {
    int background = 0x00EAEEE8; // 00BBGGRR
    QString fontName = QStringLiteral("Microsoft Sans Serif");
    int fontSize = 10;             // 5..100, as the settings allow
    bool wrapOnlyVertical = false; // SCROLL_ONLYVERTICAL
    bool showTagsMenu = false;     // SHOWTEGSTEMPLATES
    bool showLog = false;          // HELPLOG
    bool doubleQuotes = false;     // 2QUOTES
    // Help while typing: on unless the item holds "0".
    bool closeTags = true;         // EDIT_CLOSETAGS
    bool completion = true;        // EDIT_COMPLETION
    bool abbreviations = true;     // EDIT_ABBREVIATIONS
};
EditorAppearance ReadEditorAppearance();

// The clock text: hour without leading zero, colon, minutes, eight blanks.
QString ClockText(int hour, int minute);
