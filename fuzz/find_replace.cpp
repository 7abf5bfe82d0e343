// Drives the code expansion, find-next and replace over arbitrary text. The
// input is split at the first two NUL bytes into find text, replacement and
// document; the first byte chooses letter case and the replace scope.
#include "editor/MemoryTextModel.h"
#include "html/FindReplace.h"
#include "platform/Codecs.h"

#include <QByteArray>
#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QList<QByteArray> parts = rest.split('\0');
    const QString what = platform::DecodeUtf8Lenient(parts.value(0));
    const QString with = platform::DecodeUtf8Lenient(parts.value(1));
    const QString doc = platform::DecodeUtf8Lenient(parts.mid(2).join('\0'));
    const bool caseSensitive = flags & 1;
    const bool fromCaret = flags & 2;

    for (const QString& field : {what, with}) {
        const QString expanded = ExpandSearchCodes(field);
        if (expanded.contains(QStringLiteral("[/]")) || expanded.contains(QStringLiteral("[-]")))
            __builtin_trap();
    }

    // Find-next walks forward and ends; every find selects inside the text.
    MemoryTextModel m(doc);
    FindState s;
    m.setSelStart(int(flags >> 2) % (int(m.text().size()) + 1));
    FindResult r = s.search(m, what, caseSensitive, fromCaret);
    int last = -1;
    for (int steps = 0; r.found; ++steps) {
        if (steps > m.text().size() + 1 || r.selStart < 0 || r.selStart + r.selLength > m.text().size())
            __builtin_trap();
        if (!fromCaret && r.selStart <= last)
            __builtin_trap();
        last = r.selStart;
        r = s.findNext(m, what, caseSensitive, fromCaret);
    }
    if (!what.isEmpty() && r.message != kNothingFoundMessage)
        __builtin_trap();

    // Replacing a text by itself, letter case kept, changes nothing.
    MemoryTextModel same(doc);
    if (ReplaceInEditor(same, what, what, true, ReplaceScope::WholeDocument) == ReplaceResult::Replaced)
        __builtin_trap();

    MemoryTextModel t(doc);
    const int len = int(t.text().size());
    t.setSelStart(len / 3);
    t.setSelLength(len / 3);
    const QString before = t.text();
    const int selStart = t.selStart();
    const int selEnd = selStart + t.selLength();
    const ReplaceScope scope = (flags & 4) ? ReplaceScope::Selection : ReplaceScope::WholeDocument;
    const ReplaceResult rr = ReplaceInEditor(t, what, with, caseSensitive, scope);
    if (rr != ReplaceResult::Replaced && t.text() != before)
        __builtin_trap();
    // Outside the selection nothing changes.
    if (rr == ReplaceResult::Replaced && scope == ReplaceScope::Selection) {
        const QString after = t.text();
        const int tail = int(before.size()) - selEnd;
        if (!after.startsWith(QStringView(before).left(selStart)) || !after.endsWith(QStringView(before).right(tail)))
            __builtin_trap();
    }
    return 0;
}
