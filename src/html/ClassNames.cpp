#include "html/ClassNames.h"

#include "editor/TextModel.h"
#include "html/CheckCommand.h"
#include "html/DocumentResources.h"
#include "store/Utilities.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// Whether the text at i reads s (upper case) in any case, each character
// upper-cased as UpperKeepingPositions does.
bool At(const QString& text, qsizetype i, QStringView s)
{
    if (text.size() - i < s.size())
        return false;
    for (qsizetype k = 0; k < s.size(); ++k) {
        const QChar c = text.at(i + k);
        const char16_t u = c.unicode();
        const QChar upper = u < 0x80 ? QChar(u >= u'a' && u <= u'z' ? char16_t(u - 32) : u) : c.toUpper();
        if (upper != s.at(k))
            return false;
    }
    return true;
}

// Where a name in the style block ends. A second "." ends it too, so that
// ".a.b" gives a and b rather than "a.b".
bool EndsBlockName(QChar c)
{
    switch (c.unicode()) {
    case u'\t': case u' ': case u'(': case u',': case u':': case u';': case u'[': case u'{': case u'.':
        return true;
    default:
        return false;
    }
}

} // namespace

QStringList ClassNamesFromStyleBlock(const QString& text)
{
    const qsizetype n = text.size();
    QStringList names;
    QSet<QString> seen; // upper-cased
    bool inStyle = false, inBody = false;
    for (qsizetype i = 0; i < n; ++i) {
        // What ends the walk or opens the block starts with "<": until the
        // block opens, the walk goes from one "<" to the next.
        if (!inStyle) {
            i = text.indexOf(u'<', i);
            if (i < 0)
                break;
        }
        if (text.at(i) == u'<') {
            if (At(text, i, u"</HEAD") || At(text, i, u"</STYLE"))
                break;
            if (At(text, i, u"<STYLE"))
                inStyle = true;
        }
        if (!inStyle)
            continue;
        const QChar c = text.at(i);
        if (c == u'{') {
            inBody = true;
        } else if (c == u'}') {
            inBody = false;
        } else if (c == u'.' && !inBody) {
            // Each look-ahead stops at the next "." at the latest, so the
            // look-aheads never overlap and the walk stays linear.
            qsizetype j = i + 1;
            while (j < n && !EndsBlockName(text.at(j)) && text.at(j) != u'<' && text.at(j) != u'>')
                ++j;
            if (j >= n || text.at(j) == u'<' || text.at(j) == u'>')
                continue;
            // Line breaks do not end a name; what stands on each line counts.
            for (const QString& name : SplitLines(text.mid(i + 1, j - i - 1))) {
                if (name.isEmpty())
                    continue;
                const QString key = name.toUpper();
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                names << name;
            }
        }
    }
    return names;
}

QStringList ClassNamesFromStyleSheet(const QString& sheetText)
{
    QStringList names;
    bool collecting = false;
    QString buffer;
    for (const QChar c : sheetText) {
        if (c == u'\r' || c == u'\n' || c == u' ')
            continue;
        if (c == u'.') {
            // A compound selector (".a.b") names both classes.
            if (collecting && !buffer.isEmpty())
                names << buffer;
            buffer.clear();
            collecting = true;
        } else if (c == u':' || c == u'}') {
            collecting = false;
            buffer.clear();
        } else if (collecting && (c == u'{' || c == u',')) {
            if (!buffer.isEmpty())
                names << buffer;
            collecting = false;
            buffer.clear();
        } else if (collecting) {
            buffer += c;
        }
    }
    return names;
}

std::optional<QString> ReadStyleSheetFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return DocumentTextFromBytes(f.readAll());
}

QStringList ClassNames(const QString& text, const QString& documentFolder, const StyleSheetReader& read)
{
    QStringList names = ClassNamesFromStyleBlock(text);
    if (documentFolder.isEmpty())
        return names;
    for (const QString& r : DocumentResources(text)) {
        if (UpperKeepLength(FileExtension(r)) != u"CSS")
            continue;
        const QString path = documentFolder + r;
        const std::optional<QString> sheet = read ? read(path) : ReadStyleSheetFile(path);
        if (!sheet || sheet->isEmpty())
            continue;
        names << ClassNamesFromStyleSheet(*sheet);
    }
    return names;
}

CurrentClassChoice CurrentClassFromText(const QString& comboText)
{
    const QString t = comboText.trimmed();
    if (comboText == ChooseClassText || comboText == NoClassText || t.isEmpty())
        return {};
    for (const QChar c : t) {
        const char16_t u = c.unicode();
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')))
            return {QString(), true};
    }
    return {t, false};
}

StyleExtraction ExtractStyle(const QString& text, int p, const QString& newName)
{
    StyleExtraction r;
    r.style = StyleError;
    if (p <= 0)
        return r;
    p = int(std::min<qsizetype>(p, text.size()));
    qsizetype quote = -1;
    for (qsizetype i = p - 1; i >= 0; --i) {
        if (text.at(i) == u'"' || text.at(i) == u'\'') {
            quote = i;
            break;
        }
    }
    if (quote < 6 || AsciiUpper(text.mid(quote - 6, 6)) != u"STYLE=")
        return r;
    const qsizetype valueStart = quote + 1;
    qsizetype close = -1;
    for (qsizetype i = valueStart; i < text.size(); ++i) {
        if (text.at(i) == u'"' || text.at(i) == u'\'') {
            close = i;
            break;
        }
    }
    r.style = close < 0 ? QString() : text.mid(valueStart, close - valueStart);
    // An attribute without its closing quote is left alone: there is no end
    // to replace up to, and guessing one could swallow the rest of the page.
    if (close >= 0 && !newName.isEmpty() && newName != StyleError) {
        r.replace = true;
        r.start = int(quote - 6);
        r.length = int(close - r.start + 1);
        r.replacement = QStringLiteral("class=") + newName;
        r.caretAfter = r.start + int(r.replacement.size());
    }
    return r;
}

bool ApplyStyleExtraction(TextModel& editor, const StyleExtraction& extraction)
{
    if (!extraction.replace)
        return false;
    editor.setSelStart(extraction.start);
    editor.setSelLength(extraction.length);
    editor.setSelText(extraction.replacement);
    editor.setSelStart(extraction.caretAfter);
    return true;
}
