// The live preview's scan over arbitrary pages: tags in order and inside the
// text, the element at any caret found again at its own start tag, and a
// style-only edit whose value is the edited part of the new text.
#include "preview/LivePage.h"

#include <QByteArray>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 4, qsizetype(size - 4));
    const int n = int(text.size());
    const int caret = n == 0 ? 0 : (data[0] | data[1] << 8) % (n + 1);
    int last = -1;
    for (const ScannedTag& t : ScanStartTags(text)) {
        if (t.start <= last || t.end > n || t.end <= t.start || t.contentEnd > n
            || (t.styleStart >= 0 && (t.styleStart < t.start || t.styleEnd < t.styleStart || t.styleEnd > t.end)))
            __builtin_trap();
        last = t.start;
    }
    if (const auto e = ElementAtCaret(text, caret)) {
        const auto start = StartTagOf(text, *e);
        if (!start || ElementAtCaret(text, *start) != e)
            __builtin_trap();
    }
    // The text with a part taken out, as an edit.
    const int cut = n == 0 ? 0 : (data[2] | data[3] << 8) % (n + 1);
    const QString before = text.left(qMin(caret, cut)) + text.mid(qMax(caret, cut));
    if (const auto edit = StyleOnlyEdit(before, text)) {
        if (!text.contains(edit->value))
            __builtin_trap();
    }
    return 0;
}
