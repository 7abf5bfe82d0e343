#include "html/DocumentResources.h"

#include "app/ImportExport.h"
#include "platform/Folders.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const QSet<QString>& ResourceExtensions()
{
    static const QSet<QString> set = [] {
        QSet<QString> s;
        for (const char* e : {"HTM",  "HTML", "MHT",   "MHTML", "EXE",   "DLL", "RES", "TXT",   "PSD", "PDF", "CPT",
                              "CDR",  "DOC",  "DOCX",  "FLA",   "SWF",   "RAR", "ZIP", "TAR",   "7ZIP", "7Z", "CAB",
                              "GZ",   "ACE",  "JAR",   "VAW",   "WMA",   "MP3", "MP4", "MPEG4", "MP2", "OGG", "MID",
                              "INF",  "INI",  "CUR",   "PAS",   "DCU",   "PHP", "SHTML", "DHTML", "PHTML", "MAX",
                              "3DS",  "CSS",  "JS",    "BMP",   "JPG",   "JPEG", "GIF", "TIFF",  "PNG", "ICO"})
            s.insert(QString::fromLatin1(e));
        return s;
    }();
    return set;
}

qsizetype LastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

bool IsHtmlExtension(const QString& ext) { return ext == u"HTML" || ext == u"HTM"; }

QString UpperExtensionOf(const QString& fileName)
{
    return UpperKeepLength(FileExtension(fileName.mid(LastSeparator(fileName) + 1)));
}

} // namespace

bool HasResourceExtension(const QString& reference)
{
    if (!reference.contains(u'.'))
        return false;
    return ResourceExtensions().contains(UpperKeepLength(FileExtension(reference)));
}

QStringList DocumentResources(const QString& text)
{
    // None of the characters that steer the scan changes with letter case,
    // so the text itself serves as its upper-cased copy.
    QStringList list;
    QSet<QString> listed;
    bool inReference = false, inSingle = false, inDouble = false;
    // The reference being read runs from `start` to `last`; it is taken out
    // of the text in one piece when it ends.
    qsizetype start = -1;
    qsizetype last = -2;
    // A reference is listed only as written: quotes are not part of it, so
    // one whose characters stand on both sides of a quote (src=x"y".gif,
    // "it's.gif") is not a text of the page and is dropped.
    bool broken = false;
    const QChar* d = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c == u'=' || c == u'(') {
            start = -1;
            broken = false;
            inReference = true;
            continue;
        }
        if (c == u')')
            inReference = false;
        if (c == u'\'') {
            inSingle = !inSingle;
            inDouble = false;
            continue;
        }
        if (c == u'"') {
            inDouble = !inDouble;
            inSingle = false;
            continue;
        }
        if (inReference) {
            if (c == u'<' || c == u'>') {
                inSingle = inDouble = false;
                inReference = false;
            } else if (c == u' ' && !inSingle && !inDouble) {
                inReference = false;
            }
        }
        if (inReference) {
            if (start < 0)
                start = i;
            else if (last != i - 1)
                broken = true;
            last = i;
        } else if (start >= 0) {
            if (!broken) {
                const QString current = text.mid(start, last - start + 1);
                if (HasResourceExtension(current) && !listed.contains(current)) {
                    listed.insert(current);
                    list << current;
                }
            }
            start = -1;
            broken = false;
        }
    }
    return list;
}

QString DocumentFolderOf(const QString& fileName)
{
    const qsizetype sep = LastSeparator(fileName);
    return sep < 0 ? QString() : fileName.left(sep + 1);
}

std::optional<qint64> FileSizeOnDisk(const QString& path)
{
    const QFileInfo fi(path);
    if (!fi.isFile())
        return std::nullopt;
    return fi.size();
}

QString DocumentFormatName(const QString& fileName)
{
    const QString ext = UpperExtensionOf(fileName);
    if (IsHtmlExtension(ext))
        return QStringLiteral("Веб-страница");
    if (ext == u"CSS")
        return QStringLiteral("Каскадная таблица стилей");
    if (ext == u"JS")
        return QStringLiteral("Внешний JavaScript");
    if (ext == u"TXT")
        return QStringLiteral("Текст");
    if (ext == u"MHT")
        return QStringLiteral("Web-архив MHT. Для работы как с html, сделайте импорт");
    return ext + QStringLiteral(" - формат не поддерживается редактором и может отобразиться неверно");
}

QString PreviewAddressRow(const QString& fileName, const std::optional<QString>& previewUrl)
{
    QString url;
    if (previewUrl) {
        url = *previewUrl;
    } else {
        // "file:///" stands before a drive letter; a folder that starts at
        // the root already brings its own slash.
        QString folder = DocumentFolderOf(fileName);
        if (folder.startsWith(u'/') || folder.startsWith(u'\\'))
            folder.remove(0, 1);
        url = QStringLiteral("file:///") + folder + QStringLiteral("temp_") + fileName.mid(LastSeparator(fileName) + 1);
    }
    url.replace(u' ', QStringLiteral("%20"));
    url.replace(u'\\', u'/');
    return url;
}

QString KilobytesFigure(qsizetype length, const QLocale& locale)
{
    QString figure = QString::asprintf("%0.2f", double(length) / 1024.0);
    figure.replace(u'.', locale.decimalPoint());
    return DropTrailingZeros(figure);
}

DocumentProperties ComputeDocumentProperties(const QString& fileName, const QString& text, int lineCount,
                                             const std::optional<QString>& previewUrl,
                                             const ResourceSizeLookup& sizeOf, const QLocale& locale)
{
    DocumentProperties p;
    p.resources = DocumentResources(text);
    const QString folder = DocumentFolderOf(fileName);
    if (!folder.isEmpty()) {
        for (const QString& r : p.resources) {
            const std::optional<qint64> size = sizeOf ? sizeOf(folder + r) : FileSizeOnDisk(folder + r);
            if (size && *size > 0)
                p.resourceBytes += *size;
        }
    }

    const QString ext = UpperExtensionOf(fileName);
    const qsizetype L = text.size();
    const qint64 R = p.resourceBytes;
    auto add = [&](const QString& name, const QString& value) { p.rows.append(PropertyRow{name, value}); };
    add(QStringLiteral("Формат документа"), DocumentFormatName(fileName));
    add(QStringLiteral("Файл"), fileName);
    add(QStringLiteral("URL просмотра"), PreviewAddressRow(fileName, previewUrl));
    add(QStringLiteral("Размер"), KilobytesFigure(L, locale) + QStringLiteral(" килобайт   (") + QString::number(L)
                                     + QStringLiteral(" символов)"));
    add(QStringLiteral("Строк"), QString::number(lineCount));
    if (IsHtmlExtension(ext))
        add(QStringLiteral("Экспорт в \"Сжатый HTML\""), QStringLiteral("возможность сжать на ")
                                                          + CompressionFigureOf(L, CompressHtml(text).size())
                                                          + QStringLiteral(" %"));
    if (ext == u"CSS")
        add(QStringLiteral("Экспорт в \"Сжатый CSS\""), QStringLiteral("возможность сжать на ")
                                                         + CompressionFigureOf(L, CompressCss(text).size())
                                                         + QStringLiteral(" %"));
    add(QStringLiteral("Вес ресурсов"), QString::number(R / 1024) + QStringLiteral(" kb"));
    add(QStringLiteral("Загрузка через 56K модем"), QString::number(L / 4800) + QStringLiteral(" секунд страница, ")
                                                        + QString::number(L / 4800 + R / 4800)
                                                        + QStringLiteral(" секунд со всеми ресурсами при хорошей связи"));
    return p;
}

QString ResourceFolderToOpen(const QString& documentFolder, const QString& hoveredResource,
                             const std::function<bool(const QString&)>& folderExists)
{
    if (documentFolder.isEmpty() || hoveredResource.isEmpty())
        return {};
    QString path = hoveredResource;
    path.replace(QStringLiteral("%20"), QStringLiteral(" "));
    path.replace(u'\\', platform::PathSep);
    const QString folder = documentFolder + path.left(path.lastIndexOf(platform::PathSep) + 1);
    const bool exists = folderExists ? folderExists(folder) : QFileInfo(folder).isDir();
    return exists ? folder : QString();
}

QString ResourceHint(const QString& resource)
{
    return resource.size() >= 20 ? resource : QString();
}
