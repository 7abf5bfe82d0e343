#pragma once
// The files a document refers to, and the figures of the document
// properties window: format, file, preview address, size, line count,
// possible compression, the weight of the resources and the loading time
// over a 56K modem. No windows here; the file system is only asked for the
// sizes of resources (through a lookup that tests can replace).
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Every reference of the text to a file with one of the known resource
// extensions, exactly as written (letter case, "/" and "%20" kept), in order
// of first occurrence and each text once. A reference starts after "=" or
// "(" and ends at ")", "<", ">" or a blank outside quotes; a value still
// open at the end of the text is not listed, and neither is one broken by a
// quote in its middle (it would not be a text of the page). Linear in the text.
QStringList DocumentResources(const QString& text);

// Whether a reference's extension (upper-cased) is one of the 53 resource
// extensions.
bool HasResourceExtension(const QString& reference);

// The folder of a document path with its trailing separator ("/" or "\"),
// or empty when the path has none.
QString DocumentFolderOf(const QString& fileName);

// The size in bytes of the regular file at path, or nullopt when there is none.
using ResourceSizeLookup = std::function<std::optional<qint64>(const QString& path)>;
// The lookup of the real file system.
std::optional<qint64> FileSizeOnDisk(const QString& path);

struct PropertyRow {
    QString name;
    QString value;
    bool operator==(const PropertyRow&) const = default;
};

struct DocumentProperties {
    QList<PropertyRow> rows;
    QStringList resources;   // what the resource list shows
    qint64 resourceBytes = 0; // sum of the sizes of the resources that exist
};

// Everything the properties window shows, computed anew.
// - fileName: the document's full path (CurrentFileName).
// - text: the editor's text, CR LF between lines (its length counts them as two).
// - lineCount: the editor's line count.
// - previewUrl: the address assigned to the document for previewing, if any.
// - sizeOf: asked for document folder + reference as written; an empty lookup
//   means the real file system. Nothing is asked when the document has no folder.
// - locale: gives the decimal separator of the size.
DocumentProperties ComputeDocumentProperties(const QString& fileName, const QString& text, int lineCount,
                                             const std::optional<QString>& previewUrl,
                                             const ResourceSizeLookup& sizeOf = {},
                                             const QLocale& locale = QLocale::system());

// The "Формат документа" value for a document path.
QString DocumentFormatName(const QString& fileName);

// The "URL просмотра" value: the assigned address, or the file address of
// the preview copy "temp_" + file name in the document's folder; spaces
// become "%20" and "\" becomes "/".
QString PreviewAddressRow(const QString& fileName, const std::optional<QString>& previewUrl);

// L / 1024 as "%0.2f" with the locale's decimal separator and trailing
// zeros dropped (3 -> "3,", 12.5 -> "12,5" in a Russian locale).
QString KilobytesFigure(qsizetype length, const QLocale& locale);

// The folder a double click on the resource list opens for the hovered
// resource: "%20" becomes a blank and "\" the path separator, the resource's
// folder part goes after the document's folder. Empty when the folder does
// not exist, when nothing is hovered or when the document has no folder.
QString ResourceFolderToOpen(const QString& documentFolder, const QString& hoveredResource,
                             const std::function<bool(const QString&)>& folderExists = {});

// The list's hint for a hovered resource: its text when it has 20 or more
// characters, otherwise empty (no hint).
QString ResourceHint(const QString& resource);
