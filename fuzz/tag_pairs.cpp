// The tag pairs over arbitrary pages at any caret: every range inside the
// text, names that agree ignoring case, and the match symmetric (the
// partner's name gives back the same pair). The typing rules give an end tag
// of a name or nothing, and a rename puts the edited name in the partner.
#include "html/TagPairs.h"

#include <QByteArray>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));
    const int n = int(text.size());
    const int caret = n == 0 ? 0 : (data[0] | data[1] << 8) % (n + 1);
    // A window over the whole text, so both tags of a pair read it alike.
    const int limit = n + 1;
    if (const auto p = MatchingTag(text, caret, limit)) {
        if (p->openName < 1 || p->openLength < 1 || p->openName + p->openLength > n || p->closeName < 2
            || p->closeLength < 1 || p->closeName + p->closeLength > n || p->closeName <= p->openName)
            __builtin_trap();
        const QStringView open = QStringView(text).sliced(p->openName, p->openLength);
        const QStringView close = QStringView(text).sliced(p->closeName, p->closeLength);
        if (open.compare(close, Qt::CaseInsensitive) != 0 || text[p->openName - 1] != u'<'
            || text.mid(p->closeName - 2, 2) != QStringLiteral("</"))
            __builtin_trap();
        if (MatchingTag(text, p->openName, limit) != p || MatchingTag(text, p->closeName, limit) != p)
            __builtin_trap();
        // Renaming the start tag to "q" renames the end tag to match.
        QString edited = text;
        edited.replace(p->openName, p->openLength, QStringLiteral("q"));
        const auto r = PartnerRename(*p, p->openName, p->openLength, 1, edited);
        if (r) {
            if (r->name != QStringLiteral("q") || r->start + r->length > edited.size())
                __builtin_trap();
            edited.replace(r->start, r->length, r->name);
            if (edited.mid(p->closeName - p->openLength + 1, 1) != QStringLiteral("q"))
                __builtin_trap();
        }
    }
    const QStringView before = QStringView(text).first(caret);
    if (const auto tag = EndTagToInsert(before, QStringView(text).sliced(caret))) {
        if (!tag->startsWith(QStringLiteral("</")) || !tag->endsWith(u'>') || tag->size() < 4 || !before.endsWith(u'>'))
            __builtin_trap();
    }
    if (const auto rest = EndTagCompletion(before)) {
        if (!rest->endsWith(u'>') || rest->size() < 2 || !before.endsWith(QStringLiteral("</")))
            __builtin_trap();
    }
    return 0;
}
