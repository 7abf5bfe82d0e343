// The resource scan, the class-name scans and the style attribute under the
// caret over arbitrary pages, read as the editor reads files. Checks what
// every result must satisfy: each listed resource is a non-empty part of the
// text with a resource extension, listed once; class names hold no line
// break; the style value is a part of the text and a replacement range lies
// inside it, from the "s" of style through a quote. Linked style sheets come
// from the input itself, never from the disk.
#include "editor/MemoryTextModel.h"
#include "html/CheckCommand.h"
#include "html/ClassNames.h"
#include "html/DocumentResources.h"

#include <QByteArray>
#include <QSet>

namespace {

void CheckResources(const QString& text)
{
    const QStringList list = DocumentResources(text);
    QSet<QString> seen;
    for (const QString& r : list) {
        if (r.isEmpty() || !text.contains(r) || !HasResourceExtension(r))
            __builtin_trap();
        if (seen.contains(r))
            __builtin_trap();
        seen.insert(r);
    }
    const DocumentProperties p = ComputeDocumentProperties(
        QStringLiteral("/fuzz/page.html"), text, 1, std::nullopt,
        [](const QString& path) -> std::optional<qint64> { return path.size() % 3 ? std::optional<qint64>(path.size()) : std::nullopt; },
        QLocale::c());
    if (p.resources != list || p.resourceBytes < 0)
        __builtin_trap();
}

void CheckClassNames(const QString& text)
{
    const StyleSheetReader reader = [&](const QString& path) -> std::optional<QString> {
        if (path.size() % 2)
            return std::nullopt;
        return text.mid(path.size() % qsizetype(text.size() + 1));
    };
    const QStringList names = ClassNames(text, QStringLiteral("/fuzz/"), reader);
    for (const QString& n : names)
        if (n.isEmpty() || n.contains(u'\r') || n.contains(u'\n'))
            __builtin_trap();
    for (const QString& n : ClassNamesFromStyleSheet(text))
        if (n.isEmpty() || n.contains(u'.') || n.contains(u' '))
            __builtin_trap();
    const CurrentClassChoice c = CurrentClassFromText(text.left(40));
    for (const QChar ch : c.currentClass)
        if (!((ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z')))
            __builtin_trap();
}

void CheckStyleAt(const QString& text, int p)
{
    const StyleExtraction plain = ExtractStyle(text, p);
    const StyleExtraction e = ExtractStyle(text, p, QStringLiteral("k"));
    if (plain.style != e.style || plain.replace)
        __builtin_trap();
    if (e.style != StyleError && !e.style.isEmpty() && !text.contains(e.style))
        __builtin_trap();
    if (!e.replace)
        return;
    if (e.style == StyleError || e.start < 0 || e.length < 8 || e.start + e.length > text.size())
        __builtin_trap();
    if (text.mid(e.start, 6).compare(QStringLiteral("style="), Qt::CaseInsensitive) != 0)
        __builtin_trap();
    const QChar close = text.at(e.start + e.length - 1);
    if ((close != u'"' && close != u'\'') || e.replacement != QStringLiteral("class=k")
        || e.caretAfter != e.start + e.replacement.size())
        __builtin_trap();
    // The caret stood inside the replaced attribute's value.
    if (p <= e.start + 6 || p > e.start + e.length - 1)
        __builtin_trap();
}

void Check(const QString& text)
{
    CheckResources(text);
    CheckClassNames(text);
    const int n = int(text.size());
    if (n <= 512) {
        for (int p = -1; p <= n + 1; ++p)
            CheckStyleAt(text, p);
    } else {
        for (int p : {0, 1, n / 3, n / 2, n - 1, n, n + 1})
            CheckStyleAt(text, p);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = DocumentTextFromBytes(bytes);
    Check(text);
    // As the editor holds it: CR LF between lines.
    const QString editorText = MemoryTextModel(text).text();
    if (editorText != text)
        Check(editorText);
    return 0;
}
