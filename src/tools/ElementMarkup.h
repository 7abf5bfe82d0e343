#pragma once
// The markup the element commands put into the document: a link, an image,
// a table, a Flash movie, a comment, a background declaration and the
// choices for a dropped image. Pure text work; the tool buttons and the
// dialogs around it are app/ui/ElementCommands.cpp and tools/ui/.
//
// Tag and attribute names keep their letter case and attribute values stay
// unquoted where the markup has them so (href=path, class=name).
#include <QString>

// ---- Link, image, table, background ----------------------------------------

// "class=" + the current class + " " when a class is chosen, otherwise empty.
QString ClassPart(const QString& currentClass);

// "<a " + class part + "href=" + path + ">" + selected + "</a>".
QString LinkMarkup(const QString& path, const QString& selected, const QString& currentClass);

// "<img " + class part + "src=" + path + ">".
QString ImageMarkup(const QString& path, const QString& currentClass);

// A one-cell table around the selected text, each line ending in CR LF:
// "<TABLE " + class part + "cellspacing=0 cellpadding=0>", "<TR>", "<TD>",
// the selected text, "</TD>", "</TR>", "</TABLE>".
QString TableMarkup(const QString& selected, const QString& currentClass);

// "background:URL(" + path + ");".
QString BackgroundMarkup(const QString& path);

// ---- Flash movie -------------------------------------------------------------

// Where the markup sends a browser without the player: the installable
// cabinet file (object codebase) and the download page (embed pluginspage)
// of the player's maker.
inline const QString kFlashCabinetUrl = QStringLiteral("http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab");
inline const QString kFlashPlayerPage = QStringLiteral("http://www.macromedia.com/go/getflashplayer");

struct FlashMovie {
    QString path;    // P
    QString width;   // W
    QString height;  // H
    QString version; // V
    bool javaScript = false; // swliveconnect="true" in the embed element
};

// The object element with its four params and the embed element, each line
// ending in CR LF.
QString FlashMarkup(const FlashMovie& movie);

// The path's extension, upper-cased, is "SWF".
bool IsFlashMoviePath(const QString& path);

inline const QString kFlashPathMissing = QStringLiteral("Пропишите или выберите на диске путь к ролику");

// ---- Comment -------------------------------------------------------------------

// The comment box's text after an edit: every run of blanks collapsed to one
// and the leading blanks removed. caret is the cursor position in text; the
// result's caret stands after the same characters that were kept before it
// (one character back for a single blank typed where it is refused).
struct CommentBoxText {
    QString text;
    int caret = 0;
    bool changed = false; // text differs from the one given
};
CommentBoxText TidyCommentBox(const QString& text, int caret);

// Nothing but blanks and line breaks: the comment is refused.
bool CommentIsBlank(const QString& boxText);

// "<!--" + the box's text, trimmed, runs of blanks collapsed to one, each
// line break (CR LF, LF or CR) written as three blanks + "-->".
QString CommentMarkup(const QString& boxText);

inline const QString kCommentMissing = QStringLiteral("Введите текст комментария");

// ---- Dropped image ---------------------------------------------------------------

enum class DroppedImageUse {
    Tag,        // "<img src='" + path + "' style='border:none;'>"
    Path,       // the path alone
    Background, // "background:URL(" + path + ") no-repeat #FFF;"
};
QString DroppedImageMarkup(DroppedImageUse use, const QString& path);

// "Картинка формата " + the file's extension in upper case.
QString DroppedImageCaption(const QString& imagePath);

// Said when the dropped file is gone by the time OK is pressed.
QString DroppedImageMissing(const QString& imagePath);
