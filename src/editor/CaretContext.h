#pragma once
// What the text around the caret is: a colour code, a path to an image or
// Flash file, a path to another document, an HTML comment. The scans work on
// the editor's whole text with offsets as TextModel counts them (a line
// break is two characters). No windows and no file access here, except
// where a function says it looks at the disk.
#include "store/ColourNotation.h"

#include <QLocale>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

class TextModel;

// The colour of the code last found or written by IF_COLOR.
extern TColor FoundColour;

// ---- Colour codes ---------------------------------------------------------

struct ColourCodeFind {
    int start = 0;         // offset of the "#"
    int length = 0;        // 7 for a six-digit code, 4 for a three-digit one
    bool selected = false; // the selection itself was the code (no scan made)
    bool operator==(const ColourCodeFind&) const = default;
};

// The colour code at the caret. A selection of exactly 4 or 7 characters is
// taken as it is: a code when it is "#" and hex digits, otherwise nothing
// (no scan). Else the characters before selStart are scanned, nearest
// first, for "#" + 6 hex digits with the caret at most 6 after the "#", then
// "#" + 3 hex digits with the caret at most 3 after it; a "#" right after
// "&" (a character reference) is never a code.
std::optional<ColourCodeFind> FindColourCode(const QString& text, int selStart, int selLength);

// IF_COLOR over the editor. Without a new colour it detects (and with select
// on selects the code); with one it replaces the code by the new colour's
// notation (long form for a selected or six-digit code, short form allowed
// for a three-digit one; with select on a found code's replacement ends
// selected, a selected code's replacement leaves the caret after it).
// FoundColour follows. False when there is no code; nothing changes then.
bool IF_COLOR(TextModel& editor, std::optional<TColor> newColour, bool select);

// ---- Paths ----------------------------------------------------------------

// The four characters, upper-cased, are "." + BMP, ICO, JPG, GIF, PNG or SWF.
bool IMG_IN_EXTENSIONS(const QString& piece);

// The image path the caret stands in, as written after its opening
// delimiter (" ' ( =) up to and including the extension; "\" is read as
// "/". lastSelStart is the selection start of the last click or key.
std::optional<QString> ImagePathAt(const QString& text, int lastSelStart);

// The relative path of a document (HTML, HTM, CSS, JS, TXT, tried in that
// order) the caret stands in: the text after the opening delimiter up to
// the "." and the extension, in the text's own letter case, "\" read as "/".
std::optional<QString> DocumentPathAt(const QString& text, int selStart);

// A found path joined to the document's folder: documentPath's folder + the
// relative path. Empty when documentPath is empty.
QString PathBesideDocument(const QString& documentPath, const QString& relativePath);

// Status panel 0 for an image: the file name, two blanks, the size in KB as
// "%8.3f" with the locale's decimal separator, " kB   Ctrl + Клик для показа".
QString ImageStatusText(const QString& fileName, qint64 sizeBytes, const QLocale& locale);

// The log line for a plain click on a document path: the file's name in
// capitals, "Кликните удерживая Ctrl для редактирования NAME в новом редакторе".
QString DocumentPathHint(const QString& foundPath);

// ---- Comments -------------------------------------------------------------

struct CommentFind {
    int start = 0;  // offset of "<!--"
    int length = 0; // "<!--" + text + "-->"; 0 when no "-->" follows in reach
    QString text;   // between "<!--" and "-->"
    bool operator==(const CommentFind&) const = default;
};

// The HTML comment the caret stands in: the nearest "<!--" at most 129
// characters before the caret with no "-->" ending in between. Nothing when
// there is none or its text is empty.
std::optional<CommentFind> CommentAt(const QString& text, int selStart);

// The comment's text for the comment dialog: every run of three blanks
// becomes CR LF.
QString CommentDialogText(const QString& commentText);

// ---- The colour swatch --------------------------------------------------

// Where the swatch goes for a click at mouse (editor client coordinates):
// 10 px right of and below the pointer, flipped to the other side when it
// would come within 5 px of the window's right edge or the status bar.
QPoint SwatchPosition(QPoint editorTopLeft, QPoint mouse, QSize clientSize, int statusBarHeight, QSize swatchSize);
