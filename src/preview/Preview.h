#pragma once
// The page preview's rules, without windows: where the temporary copy
// stands, what address a preview shows, how big and where the browser is for
// each preview size, the help page's address, and the texts of the preview
// window's labels.
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// The simulated screen sizes of "Браузер с меньшим разрешением"; process-wide,
// none at start, not stored.
enum class PreviewSize { None, S1280, S1024, S800 };

// The copy of the editor text a preview shows: the document's folder, "temp_"
// and the document's file name.
QString TempCopyPath(const QString& documentPath);

// The URL assigned to a document for its previews (section url_assigns),
// as typed; nullopt when it has none.
std::optional<QString> AssignedUrl(const QString& documentPath);

// What a preview shows: an assigned URL (empty: the document file itself,
// after a save) or the temporary copy.
struct PreviewAddress {
    QString address;
    bool assigned = false;
    bool needsSave = false; // an empty assignment: the document is saved and shown
};
PreviewAddress PreviewAddressOf(const QString& documentPath);

inline const QString NotHtmlMessage = QStringLiteral("Просмотр доступен только для документов HTML");

// The browser's area in the preview window for a size. clientArea is the
// space below the window's panel when the window fills the work area;
// monitorWidth the width of the monitor holding the main window. The fixed
// sizes are centred as the monitor's halves say (integer division), never
// left of 0; "none" fills the client area.
QRect PreviewBrowserRect(PreviewSize size, const QRect& clientArea, int monitorWidth);
// The fixed viewport of a size (none: an empty size).
QSize PreviewViewport(PreviewSize size);
// Whether a size's entry is offered on a monitor of this width.
bool PreviewSizeOffered(PreviewSize size, int monitorWidth);

// The help page's address: "res://", the program file's path with spaces
// as "%20", "/INDEX.HTML", and "#" + anchor when one is given.
QString HelpAddress(const QString& programPath, const QString& anchor = QString());
// The built-in page a "res" address names ("INDEX.HTML", "BG.PNG"): the last
// part of its path.
QString BuiltInPageName(const QString& resPath);

// The address label: the help text when set, else the location; "..." for
// an empty location or "about:blank".
QString AddressCaption(const QString& helpMode, const QString& location);
// The status label: empty in help mode and for "Готово".
QString StatusCaption(const QString& helpMode, const QString& statusText);
// Whether the scroll memory is restored on a page at this location.
bool RestoresScroll(int scrollMemory, const QString& location);
// Whether a page picture goes to this file as JPEG (extension "JPG" in any
// letter case; anything else is written as a bitmap).
bool PictureIsJpeg(const QString& path);
