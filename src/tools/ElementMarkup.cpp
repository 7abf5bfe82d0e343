#include "tools/ElementMarkup.h"

#include "store/Utilities.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLineBreakInComment = QStringLiteral("   ");

} // namespace

QString ClassPart(const QString& currentClass)
{
    return currentClass.isEmpty() ? QString() : QStringLiteral("class=") + currentClass + QLatin1Char(' ');
}

QString LinkMarkup(const QString& path, const QString& selected, const QString& currentClass)
{
    return QStringLiteral("<a ") + ClassPart(currentClass) + QStringLiteral("href=") + path + QLatin1Char('>') + selected
        + QStringLiteral("</a>");
}

QString ImageMarkup(const QString& path, const QString& currentClass)
{
    return QStringLiteral("<img ") + ClassPart(currentClass) + QStringLiteral("src=") + path + QLatin1Char('>');
}

QString TableMarkup(const QString& selected, const QString& currentClass)
{
    return QStringLiteral("<TABLE ") + ClassPart(currentClass) + QStringLiteral("cellspacing=0 cellpadding=0>") + kCrLf
        + QStringLiteral("<TR>") + kCrLf + QStringLiteral("<TD>") + kCrLf + selected + kCrLf + QStringLiteral("</TD>") + kCrLf
        + QStringLiteral("</TR>") + kCrLf + QStringLiteral("</TABLE>") + kCrLf;
}

QString BackgroundMarkup(const QString& path) { return QStringLiteral("background:URL(") + path + QStringLiteral(");"); }

QString FlashMarkup(const FlashMovie& m)
{
    QString out;
    out += QStringLiteral("<object classid=\"clsid:d27cdb6e-ae6d-11cf-96b8-444553540000\" codebase=\"") + kFlashCabinetUrl
        + QStringLiteral("#version=") + m.version + QStringLiteral(",0,0,0\" width=\"") + m.width + QStringLiteral("\" height=\"")
        + m.height + QStringLiteral("\">") + kCrLf;
    out += QStringLiteral("<param name=\"allowScriptAccess\" value=\"sameDomain\" />") + kCrLf;
    out += QStringLiteral("<param name=\"movie\" value=\"") + m.path + QStringLiteral("\" />") + kCrLf;
    out += QStringLiteral("<param name=\"quality\" value=\"high\" />") + kCrLf;
    out += QStringLiteral("<embed src=\"") + m.path + QStringLiteral("\" quality=\"high\" ")
        + (m.javaScript ? QStringLiteral("swliveconnect=\"true\" ") : QString()) + QStringLiteral("width=\"") + m.width
        + QStringLiteral("\" height=\"") + m.height
        + QStringLiteral("\" allowScriptAccess=\"sameDomain\" type=\"application/x-shockwave-flash\" pluginspage=\"")
        + kFlashPlayerPage + QStringLiteral("\" />") + kCrLf;
    out += QStringLiteral("</object>") + kCrLf;
    return out;
}

bool IsFlashMoviePath(const QString& path)
{
    return QFileInfo(path).suffix().toUpper() == QLatin1String("SWF");
}

CommentBoxText TidyCommentBox(const QString& text, int caret)
{
    CommentBoxText out;
    out.text.reserve(text.size());
    const int at = std::clamp(caret, 0, int(text.size()));
    for (int i = 0; i < int(text.size()); ++i) {
        const QChar c = text.at(i);
        // A blank at the start, or after a kept blank, is dropped.
        const bool dropped = c == u' ' && (out.text.isEmpty() || out.text.back() == u' ');
        if (dropped)
            continue;
        out.text += c;
        if (i < at)
            ++out.caret;
    }
    out.changed = out.text != text;
    if (!out.changed)
        out.caret = at;
    return out;
}

bool CommentIsBlank(const QString& boxText) { return boxText.trimmed().isEmpty(); }

QString CommentMarkup(const QString& boxText)
{
    QString text = SquashRepeats(boxText.trimmed(), u' ');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), kLineBreakInComment);
    return QStringLiteral("<!--") + text + QStringLiteral("-->");
}

QString DroppedImageMarkup(DroppedImageUse use, const QString& path)
{
    switch (use) {
    case DroppedImageUse::Tag:
        return QStringLiteral("<img src='") + path + QStringLiteral("' style='border:none;'>");
    case DroppedImageUse::Path:
        return path;
    case DroppedImageUse::Background:
        return QStringLiteral("background:URL(") + path + QStringLiteral(") no-repeat #FFF;");
    }
    return path;
}

QString DroppedImageCaption(const QString& imagePath)
{
    return QStringLiteral("Картинка формата ") + FileExtension(imagePath).toUpper();
}

QString DroppedImageMissing(const QString& imagePath)
{
    return QStringLiteral("Картинка %1 не найдена: файл удалён или перемещён. Ничего не вставлено.")
        .arg(QFileInfo(imagePath).fileName());
}
