// Drives the re-layout and the line clean-ups over arbitrary text: the
// re-layout only adds and removes line breaks and blanks lines outside
// <pre>, <textarea> and <script> contents, which come back exactly, and
// never changes any other character.
#include "editor/TextTransforms.h"
#include "platform/Codecs.h"
#include "store/Utilities.h"

#include <QByteArray>

namespace {

// The text without line breaks.
QString withoutBreaks(QString s)
{
    s.remove(u'\r');
    s.remove(u'\n');
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = platform::DecodeUtf8Lenient(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString out = RelayoutCode(text);
    // Blank lines go, so only blanks and tabs standing alone on a line may
    // disappear besides line breaks.
    QString a = withoutBreaks(text);
    QString b = withoutBreaks(out);
    a.remove(u' ');
    a.remove(u'\t');
    b.remove(u' ');
    b.remove(u'\t');
    if (a != b)
        __builtin_trap();
    if (!text.contains(QChar(0xE000)))
        for (const KeptRange& r : KeptContentRanges(text))
            if (r.end > r.start && !out.contains(QStringView(text).mid(r.start, r.end - r.start)))
                __builtin_trap();
    // Line clean-ups keep every line that means something.
    const QStringList lines = SplitLines(text);
    const QStringList kept = MeaningfulLines(lines);
    if (kept.size() > lines.size())
        __builtin_trap();
    for (const QString& l : kept) {
        QString rest = l;
        rest.remove(u' ');
        rest.remove(u'\t');
        if (rest.isEmpty())
            __builtin_trap();
    }
    for (const QString& l : lines)
        if (TrimLineStart(l).isEmpty() != l.isEmpty())
            __builtin_trap();
    if (BreakTagsAtLineEnds(text).size() != text.size() + 4 * text.count(QStringLiteral("\r\n")))
        __builtin_trap();
    if (IntoOneLine(text).contains(QStringLiteral("\r\n")))
        __builtin_trap();
    return 0;
}
