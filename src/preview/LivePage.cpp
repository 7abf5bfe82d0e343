#include "preview/LivePage.h"

#include "html/TagPairs.h"

#include <QHash>

namespace {

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

// The index of the first occurrence of needle (ASCII, lower case) at or after
// from, case-insensitively; -1 without one.
int findFolded(QStringView text, QStringView needle, int from)
{
    const qsizetype at = text.indexOf(needle, from, Qt::CaseInsensitive);
    return at < 0 ? -1 : int(at);
}

bool isRawText(const QString& name)
{
    return name == QLatin1String("script") || name == QLatin1String("style") || name == QLatin1String("textarea")
        || name == QLatin1String("title");
}

} // namespace

std::vector<ScannedTag> ScanStartTags(QStringView text, int limit)
{
    const int n = int(text.size());
    const int stop = limit < 0 ? n : qMin(limit, n);
    std::vector<ScannedTag> tags;
    QHash<QString, int> counts;
    int i = 0;
    while (i < stop) {
        const qsizetype lt = text.indexOf(u'<', i);
        if (lt < 0 || lt >= stop)
            break;
        i = int(lt);
        if (text.mid(i, 4) == QLatin1String("<!--")) {
            const int close = findFolded(text, u"-->", i + 4);
            i = close < 0 ? n : close + 3;
            continue;
        }
        if (i + 1 < n && (text[i + 1] == u'!' || text[i + 1] == u'?')) {
            const qsizetype close = text.indexOf(u'>', i + 2);
            i = close < 0 ? n : int(close) + 1;
            continue;
        }
        if (i + 1 < n && text[i + 1] == u'/') {
            const qsizetype close = text.indexOf(u'>', i + 2);
            i = close < 0 ? n : int(close) + 1;
            continue;
        }
        if (i + 1 >= n || !text[i + 1].isLetter()) {
            ++i;
            continue;
        }
        ScannedTag tag;
        tag.start = i;
        int j = i + 1;
        while (j < n && isNameChar(text[j]))
            ++j;
        tag.name = text.mid(i + 1, j - i - 1).toString().toLower();
        // The attributes, up to the ">" outside quotes.
        while (j < n && text[j] != u'>') {
            if (isBlank(text[j]) || text[j] == u'/') {
                ++j;
                continue;
            }
            const int nameStart = j;
            while (j < n && !isBlank(text[j]) && text[j] != u'=' && text[j] != u'>' && text[j] != u'/')
                ++j;
            const QStringView attr = text.mid(nameStart, j - nameStart);
            while (j < n && isBlank(text[j]))
                ++j;
            if (j >= n || text[j] != u'=')
                continue;
            ++j;
            while (j < n && isBlank(text[j]))
                ++j;
            int valueStart = j, valueEnd = j;
            bool quoted = false;
            if (j < n && (text[j] == u'"' || text[j] == u'\'')) {
                const QChar q = text[j];
                const qsizetype close = text.indexOf(q, j + 1);
                valueStart = j + 1;
                valueEnd = close < 0 ? n : int(close);
                j = close < 0 ? n : int(close) + 1;
                quoted = true;
            } else {
                while (j < n && !isBlank(text[j]) && text[j] != u'>')
                    ++j;
                valueEnd = j;
            }
            if (attr.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0 && tag.styleStart < 0) {
                tag.styleStart = valueStart;
                tag.styleEnd = valueEnd;
                tag.quoted = quoted;
            }
        }
        tag.end = j < n ? j + 1 : n;
        tag.index = counts[tag.name]++;
        i = tag.end;
        if (isRawText(tag.name)) {
            const int close = findFolded(text, QString(QStringLiteral("</") + tag.name), i);
            tag.contentEnd = close < 0 ? n : close;
            i = tag.contentEnd;
        }
        tags.push_back(std::move(tag));
    }
    return tags;
}

std::optional<PageElement> ElementAtCaret(QStringView text, int caret)
{
    caret = qBound(0, caret, int(text.size()));
    // The start tags up to the caret, with the end tags between them.
    const std::vector<ScannedTag> tags = ScanStartTags(text, caret + 1); // a tag right at the caret is its element
    std::vector<const ScannedTag*> open;
    int from = 0;
    const auto closeBetween = [&](int a, int b) {
        // End tags in [a, b) close the innermost open element of their name.
        for (qsizetype lt = text.indexOf(u"</", a); lt >= 0 && lt < b; lt = text.indexOf(u"</", lt + 2)) {
            int j = int(lt) + 2;
            while (j < text.size() && isNameChar(text[j]))
                ++j;
            const QString name = text.mid(lt + 2, j - lt - 2).toString().toLower();
            for (auto it = open.rbegin(); it != open.rend(); ++it) {
                if ((*it)->name == name) {
                    open.erase(std::next(it).base(), open.end());
                    break;
                }
            }
        }
    };
    for (const ScannedTag& t : tags) {
        closeBetween(from, t.start);
        if (caret < t.end || (t.contentEnd >= 0 && caret <= t.contentEnd))
            return PageElement{t.name, t.index};
        from = t.contentEnd >= 0 ? t.contentEnd : t.end;
        if (!IsVoidElement(t.name) && !text.mid(t.start, t.end - t.start).endsWith(u"/>"))
            open.push_back(&t);
    }
    closeBetween(from, caret);
    if (open.empty())
        return std::nullopt;
    return PageElement{open.back()->name, open.back()->index};
}

std::optional<int> StartTagOf(QStringView text, const PageElement& element)
{
    for (const ScannedTag& t : ScanStartTags(text))
        if (t.name == element.name && t.index == element.index)
            return t.start;
    return std::nullopt;
}

namespace {

// The length of the text both begin with.
int commonPrefix(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    qsizetype p = 0;
    while (p < n && a[p] == b[p])
        ++p;
    return int(p);
}

bool hasScripts(QStringView text)
{
    return text.contains(u"<script", Qt::CaseInsensitive) || text.contains(u"<noscript", Qt::CaseInsensitive);
}

} // namespace

bool BodyOnlyEdit(QStringView before, QStringView after)
{
    if (before == after || hasScripts(before) || hasScripts(after))
        return false;
    const int p = commonPrefix(before, after);
    for (const ScannedTag& t : ScanStartTags(after, p))
        if (t.name == QLatin1String("body"))
            return t.end <= p;
    return false;
}

std::optional<StyleEdit> StyleOnlyEdit(QStringView before, QStringView after)
{
    if (before == after)
        return std::nullopt;
    const int nb = int(before.size()), na = int(after.size());
    const int p = commonPrefix(before, after);
    int s = 0;
    while (s < nb - p && s < na - p && before[nb - 1 - s] == after[na - 1 - s])
        ++s;
    const std::vector<ScannedTag> a = ScanStartTags(after);
    const std::vector<ScannedTag> b = ScanStartTags(before);
    if (a.size() != b.size())
        return std::nullopt;
    const int delta = na - nb;
    for (size_t k = 0; k < a.size(); ++k) {
        const ScannedTag& t = a[k];
        const ScannedTag& u = b[k];
        if (t.name != u.name)
            return std::nullopt;
        const bool sheet = t.name == QLatin1String("style") && t.end <= p && na - s <= t.contentEnd;
        const bool attribute = t.styleStart >= 0 && t.styleStart <= p && na - s <= t.styleEnd;
        if (!sheet && !attribute)
            continue;
        // The same element before the edit, with the edit inside the same part.
        if (sheet && !(u.end == t.end && u.contentEnd == t.contentEnd - delta))
            return std::nullopt;
        if (attribute && !(u.styleStart == t.styleStart && u.styleEnd == t.styleEnd - delta && u.quoted == t.quoted))
            return std::nullopt;
        const QString value = sheet ? after.mid(t.end, t.contentEnd - t.end).toString()
                                    : after.mid(t.styleStart, t.styleEnd - t.styleStart).toString();
        // A character reference would need the parser to read it.
        if (!sheet && value.contains(u'&'))
            return std::nullopt;
        return StyleEdit{sheet, PageElement{t.name, t.index}, value};
    }
    return std::nullopt;
}
