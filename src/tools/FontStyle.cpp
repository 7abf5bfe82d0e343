#include "tools/FontStyle.h"

#include "html/DocumentResources.h"
#include "store/Utilities.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

// A spin box's number: its text as an integer within 0..1000, 0 when the
// text is not a number.
int spinValue(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::clamp(v, 0, 1000) : 0;
}

QString number(const QString& text, const QString& unit) { return QString::number(spinValue(text)) + unit; }

bool namesAFamily(const QString& name)
{
    return name != DefaultFontText && !name.trimmed().isEmpty();
}

// Text placed inside a quoted attribute value: the browser reads back the
// text itself.
QString attributeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

// Characters that would end an unquoted attribute value, open a tag or cut
// the address short, written as %XX (with the percent sign itself when
// asked: a folder's name is plain text, a reference may hold %20 already).
QString urlPart(const QString& text, bool escapePercent)
{
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool special = u == u'"' || u == u'\'' || u == u'<' || u == u'>' || u == u'`' || u == u'='
            || u == u'#' || u == u'?' || u < 0x20 || (escapePercent && u == u'%');
        if (special)
            out += QStringLiteral("%%1").arg(int(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

} // namespace

FontStyle BuildFontStyle(const FontStyleControls& c)
{
    QString font;
    QString lineHeightPiece;
    if (c.shortNotation) {
        if (c.bold)
            font += QStringLiteral(" bold");
        if (c.italic)
            font += QStringLiteral(" italic");
        if (c.smallCaps)
            font += QStringLiteral(" small-caps");
        if (c.fontSizeOn)
            font += QStringLiteral(" ") + number(c.fontSize, c.fontSizeUnit);
        if (c.lineHeightOn) {
            if (c.fontSizeOn)
                font += QStringLiteral("/") + c.lineHeight + c.lineHeightUnit;
            else
                lineHeightPiece = QStringLiteral("line-height:") + c.lineHeight + c.lineHeightUnit + QStringLiteral(";");
        }
    } else {
        if (c.bold)
            font += QStringLiteral("font-weight:bold;");
        if (c.italic)
            font += QStringLiteral("font-style:italic;");
        if (c.smallCaps)
            font += QStringLiteral("font-variant:small-caps;");
        if (c.fontSizeOn)
            font += QStringLiteral("font-size:") + number(c.fontSize, c.fontSizeUnit) + QStringLiteral(";");
        if (c.lineHeightOn)
            font += QStringLiteral("line-height:") + c.lineHeight + c.lineHeightUnit + QStringLiteral(";");
    }

    QString decoration;
    if (c.underline)
        decoration += QStringLiteral(" underline");
    if (c.overline)
        decoration += QStringLiteral(" overline");
    if (c.lineThrough)
        decoration += QStringLiteral(" line-through");

    QString letterSpacing;
    if (c.letterSpacingOn)
        letterSpacing = QStringLiteral("letter-spacing:") + number(c.letterSpacing, c.letterSpacingUnit) + QStringLiteral(";");
    QString wordSpacing;
    if (c.wordSpacingOn)
        wordSpacing = QStringLiteral("word-spacing:") + number(c.wordSpacing, c.wordSpacingUnit) + QStringLiteral(";");

    QString colour;
    if (c.colourOn)
        colour = QStringLiteral("color:") + ColorToWeb(c.colour, c.shortNotation) + QStringLiteral(";");
    QString background;
    if (c.backgroundOn)
        background = c.shortNotation ? QStringLiteral("background:") + ColorToWeb(c.background, true) + QStringLiteral(";")
                                     : QStringLiteral("background-color:") + ColorToWeb(c.background, false) + QStringLiteral(";");

    const QString whiteSpace = c.noWrap ? QStringLiteral("white-space:nowrap;") : QString();

    QString transform;
    if (c.capitalize)
        transform = QStringLiteral("text-transform:capitalize;");
    else if (c.uppercase)
        transform = QStringLiteral("text-transform:uppercase;");
    else if (c.lowercase)
        transform = QStringLiteral("text-transform:lowercase;");

    QString family;
    FontStyle result;
    if (namesAFamily(c.fontName)) {
        if (c.shortNotation && c.fontSizeOn)
            font += QStringLiteral(" ") + c.fontName;
        else
            family = QStringLiteral("font-family:") + c.fontName + QStringLiteral(";");
    } else if (namesAFamily(c.parentFont)) {
        result.previewFamily = QStringLiteral("font-family:") + c.parentFont + QStringLiteral(";");
    }

    QString style;
    if (!font.isEmpty())
        style = c.shortNotation ? QStringLiteral("font:") + font + QStringLiteral(";") : font;
    if (!decoration.isEmpty())
        style += QStringLiteral("text-decoration:") + decoration + QStringLiteral(";");
    style += family + lineHeightPiece + letterSpacing + wordSpacing + colour + background + whiteSpace + transform;
    style.replace(QStringLiteral(": "), QStringLiteral(":"));
    result.style = style;
    return result;
}

QString FontClassPart(const QString& currentClass)
{
    return currentClass.isEmpty() ? QString() : QStringLiteral("class=") + currentClass + QStringLiteral(" ");
}

QString FontSamplePage(const QString& linkBlock, const QString& currentClass, const FontStyle& style)
{
    return QStringLiteral("<HTML><HEAD><meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'none'\">")
        + linkBlock + QStringLiteral("</HEAD><BODY><font ") + FontClassPart(currentClass) + QStringLiteral("style='")
        + attributeText(style.style + style.previewFamily)
        + QStringLiteral("'>Пример строки - таким будет текст<br>0123456789<br>"
                         "Несколько строк для проверки. Несколько строк для проверки. Несколько строк для проверки. "
                         "Несколько строк для проверки. Несколько строк для проверки. </font></BODY></HTML>");
}

QString FontStyleLabel(const QString& currentClass, const QString& style)
{
    return QStringLiteral(" ") + FontClassPart(currentClass) + QStringLiteral(" style=") + QStringLiteral(" { ") + style
        + QStringLiteral(" } ");
}

QString FontLinkBlock(const QString& documentFileName, const QString& documentText)
{
    QString folder = DocumentFolderOf(documentFileName);
    if (folder.isEmpty())
        return {};
    // "file:///" stands before a drive letter; a folder that starts at the
    // root already brings its own slash.
    if (folder.startsWith(u'/') || folder.startsWith(u'\\'))
        folder.remove(0, 1);
    QString block;
    for (const QString& r : DocumentResources(documentText)) {
        if (UpperKeepLength(FileExtension(r)) != u"CSS")
            continue;
        QString url = QStringLiteral("file:///") + urlPart(folder, true) + urlPart(r, false);
        url.replace(u' ', QStringLiteral("%20"));
        url.replace(u'\\', u'/');
        block += QStringLiteral("<link rel=stylesheet type=\"text/css\" href=") + url + QStringLiteral(">\r\n");
    }
    return block;
}

QString FontResult(FontOutput output, const QString& style, const QString& currentClass, const QString& inner)
{
    switch (output) {
    case FontOutput::ToStyle:
        return style;
    case FontOutput::NewStyle:
        return QStringLiteral("style='") + style + QStringLiteral("'");
    case FontOutput::NewFont:
        return QStringLiteral("<font ") + FontClassPart(currentClass) + QStringLiteral("style='") + style + QStringLiteral("'>")
            + inner + QStringLiteral("</font>");
    case FontOutput::NewDiv:
        return QStringLiteral("<div ") + FontClassPart(currentClass) + QStringLiteral("style='") + style + QStringLiteral("'>")
            + inner + QStringLiteral("</div>");
    }
    return style;
}

QStringList PageFontFamilies(const QStringList& installed)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\[\\]]*\\]$"));
    QStringList families;
    QSet<QString> seen;
    for (const QString& name : installed) {
        const QString family = QString(name).remove(foundry).trimmed();
        if (family.isEmpty() || seen.contains(family.toCaseFolded()))
            continue;
        seen.insert(family.toCaseFolded());
        families.append(family);
    }
    std::stable_sort(families.begin(), families.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return families;
}
