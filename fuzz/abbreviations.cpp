// Expands arbitrary abbreviations in every context, as typed on a line: the
// extent found before any caret lies inside the line, nothing ever crashes,
// a failure says why and gives no text, the output stays bounded by the
// element limit, the caret lies inside the text, and every HTML expansion
// holds its tags balanced: each end tag closes the newest open start tag and
// none is left open.
#include "editor/Abbreviations.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace {

bool isVoid(const QString& name)
{
    static const QStringList names = {QStringLiteral("area"), QStringLiteral("base"), QStringLiteral("br"),
        QStringLiteral("col"), QStringLiteral("embed"), QStringLiteral("hr"), QStringLiteral("img"),
        QStringLiteral("input"), QStringLiteral("link"), QStringLiteral("meta"), QStringLiteral("source"),
        QStringLiteral("track"), QStringLiteral("wbr")};
    return names.contains(name.toLower());
}

// Tags of the expansion in order; text and attribute values may hold "<"
// and quotes of their own, so only the tags the writer makes are read: "<"
// followed by a name character or "/", up to the ">" outside quotes.
void CheckBalanced(const QString& t, const QString& abbreviation)
{
    // Typed text is copied as it stands and may hold anything: only an
    // abbreviation without braces and quotes gives a text to read.
    if (abbreviation.contains(u'{') || abbreviation.contains(u'[') || abbreviation.contains(u'<'))
        return;
    std::vector<QString> open;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] != u'<')
            continue;
        if (t.mid(i, 2) == QStringLiteral("<!"))
            continue;
        const bool closing = i + 1 < t.size() && t[i + 1] == u'/';
        qsizetype j = i + (closing ? 2 : 1);
        const qsizetype from = j;
        while (j < t.size() && t[j] != u' ' && t[j] != u'>')
            ++j;
        const QString name = t.mid(from, j - from);
        bool quoted = false;
        while (j < t.size() && (quoted || t[j] != u'>')) {
            if (t[j] == u'"')
                quoted = !quoted;
            ++j;
        }
        if (j >= t.size() || name.isEmpty())
            __builtin_trap();
        if (closing) {
            if (open.empty() || open.back() != name)
                __builtin_trap();
            open.pop_back();
        } else if (!isVoid(name)) {
            open.push_back(name);
        }
        i = j;
    }
    if (!open.empty())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (AbbreviationContext context : {AbbreviationContext::Html, AbbreviationContext::Css, AbbreviationContext::None}) {
        const int caret = int(line.size());
        const int start = AbbreviationStart(line, caret, context);
        if (start < 0 || start > caret)
            __builtin_trap();
        IsAbbreviationForTab(QStringView(line).sliced(start), context);
        for (const QString& a : {line, line.mid(start)}) {
            const AbbreviationExpansion e = ExpandAbbreviation(a, context, u"\t");
            if (!e.ok()) {
                if (!e.text.isEmpty() || !e.error.startsWith(QStringLiteral("Сокращение не раскрыто: ")))
                    __builtin_trap();
                continue;
            }
            if (e.caret < 0 || e.caret > e.text.size())
                __builtin_trap();
            // Each of at most 1 000 elements copies its share of the
            // abbreviation, indents and placeholder words.
            if (e.text.size() > qsizetype(kMaxAbbreviationElements) * (a.size() * 3 + 400) + 20000)
                __builtin_trap();
            if (context == AbbreviationContext::Html)
                CheckBalanced(e.text, a);
        }
    }
    return 0;
}
