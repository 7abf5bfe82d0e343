#include "preview/Preview.h"

#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QString TempCopyPath(const QString& documentPath)
{
    const QFileInfo fi(documentPath);
    return fi.dir().filePath(QStringLiteral("temp_") + fi.fileName());
}

std::optional<QString> AssignedUrl(const QString& documentPath)
{
    Opt_SelectFile(opt::UrlAssigns);
    if (documentPath.isEmpty() || !Opt_Has(documentPath))
        return std::nullopt;
    return Opt_ReadStr(documentPath);
}

PreviewAddress PreviewAddressOf(const QString& documentPath)
{
    PreviewAddress a;
    if (const std::optional<QString> url = AssignedUrl(documentPath)) {
        a.assigned = true;
        a.needsSave = url->isEmpty();
        a.address = a.needsSave ? documentPath : *url;
        return a;
    }
    a.address = TempCopyPath(documentPath);
    return a;
}

QSize PreviewViewport(PreviewSize size)
{
    switch (size) {
    case PreviewSize::S1280: return {1272, 924};
    case PreviewSize::S1024: return {1016, 668};
    case PreviewSize::S800: return {792, 500};
    case PreviewSize::None: break;
    }
    return {};
}

QRect PreviewBrowserRect(PreviewSize size, const QRect& clientArea, int monitorWidth)
{
    if (size == PreviewSize::None)
        return clientArea;
    const QSize v = PreviewViewport(size);
    const int left = std::max(0, monitorWidth / 2 - v.width() / 2);
    return QRect(QPoint(left, clientArea.top()), v);
}

bool PreviewSizeOffered(PreviewSize size, int monitorWidth)
{
    switch (size) {
    case PreviewSize::S1280: return monitorWidth > 1280;
    case PreviewSize::S1024: return monitorWidth > 1024;
    case PreviewSize::S800: return monitorWidth > 800;
    case PreviewSize::None: break;
    }
    return true;
}

QString HelpAddress(const QString& programPath, const QString& anchor)
{
    QString a = QStringLiteral("res://") + QString(programPath).replace(u' ', QStringLiteral("%20")) + QStringLiteral("/INDEX.HTML");
    if (!anchor.isEmpty())
        a += u'#' + anchor;
    return a;
}

QString BuiltInPageName(const QString& resPath)
{
    return resPath.mid(resPath.lastIndexOf(u'/') + 1);
}

QString AddressCaption(const QString& helpMode, const QString& location)
{
    const QString text = helpMode.isEmpty() ? location : helpMode;
    return text.isEmpty() || text == QLatin1String("about:blank") ? QStringLiteral("...") : text;
}

QString StatusCaption(const QString& helpMode, const QString& statusText)
{
    if (!helpMode.isEmpty() || statusText == QStringLiteral("Готово"))
        return {};
    return statusText;
}

bool RestoresScroll(int scrollMemory, const QString& location) { return scrollMemory >= 0 && !location.contains(u'#'); }

bool PictureIsJpeg(const QString& path) { return FileExtension(path).toUpper() == QLatin1String("JPG"); }
