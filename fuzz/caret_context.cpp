// Runs the caret-context scans over arbitrary text and carets. The first two
// bytes give the caret, the third the selection length; the rest is the
// document. The quick scans are checked against plain ones that follow the
// rules the slow way (the colour scan back to the text's start, the
// delimiter looked up anew for every extension).
#include "editor/CaretContext.h"
#include "editor/MemoryTextModel.h"
#include "platform/Codecs.h"

#include <QByteArray>
#include <climits>

namespace {

bool Hex(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

bool Digits(const QString& t, qsizetype p, int n)
{
    if (p < 0 || p + n >= t.size() || t[p] != u'#' || (p > 0 && t[p - 1] == u'&'))
        return false;
    for (qsizetype i = p + 1; i <= p + n; ++i)
        if (!Hex(t[i]))
            return false;
    return true;
}

// Every position back to the start, as the rule is written.
std::optional<ColourCodeFind> SlowColourScan(const QString& t, qsizetype k)
{
    for (qsizetype p = std::min(k, t.size()) - 1; p >= 0; --p) {
        if (k - p <= 6 && Digits(t, p, 6))
            return ColourCodeFind{int(p), 7, false};
        if (k - p <= 3 && Digits(t, p, 3))
            return ColourCodeFind{int(p), 4, false};
    }
    return std::nullopt;
}

bool Stop(QChar c) { return QStringLiteral(" \"'();<=>{}").contains(c); }
bool Opening(QChar c) { return QStringLiteral("\"'(=").contains(c); }

bool Ascii(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0 && a.size() == qsizetype(qstrlen(b)); }

template <typename Ext>
std::optional<QString> SlowPathScan(const QString& t, qsizetype caret, Ext ext)
{
    if (caret < 1 || caret > t.size())
        return std::nullopt;
    for (qsizetype q = caret - 1; q < t.size(); ++q) {
        if (const qsizetype n = ext(q)) {
            qsizetype d = q - 1;
            while (d >= 0 && !Opening(t[d]))
                --d;
            if (d >= 0)
                return t.mid(d + 1, q + n - d - 1).replace(u'\\', u'/');
        }
        if (Stop(t[q]))
            return std::nullopt;
    }
    return std::nullopt;
}

bool AsciiOnly(const QString& t)
{
    for (QChar c : t)
        if (c.unicode() > 127)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int rawCaret = data[0] | (data[1] << 8);
    const int selLength = data[2] % 9;
    const QString doc = platform::DecodeUtf8Lenient(QByteArray(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3)));
    MemoryTextModel m(doc);
    const QString text = m.text();
    const int len = int(text.size());
    const int caret = rawCaret % (len + 3) - 1; // one before the start to one past the end

    for (int k : {caret, INT_MIN, INT_MAX, len, len + 1}) {
        (void)FindColourCode(text, k, selLength);
        (void)ImagePathAt(text, k);
        (void)DocumentPathAt(text, k);
        (void)CommentAt(text, k);
    }

    // Colour codes.
    const std::optional<ColourCodeFind> code = FindColourCode(text, caret, selLength);
    if (code) {
        if (code->start < 0 || code->start + code->length > len || !IsWebColor(text.mid(code->start, code->length)))
            __builtin_trap();
    }
    if (caret >= 0 && caret <= len && selLength != 4 && selLength != 7 && code != SlowColourScan(text, caret))
        __builtin_trap();

    if (caret >= 0 && caret <= len) {
        MemoryTextModel r(doc);
        r.setSelStart(caret);
        r.setSelLength(selLength);
        const std::optional<ColourCodeFind> before = FindColourCode(r.text(), r.selStart(), r.selLength());
        const bool replaced = IF_COLOR(r, TColor(data[2] * 0x010307), true);
        if (replaced != before.has_value())
            __builtin_trap();
        if (replaced) {
            const QString after = r.text();
            const int tail = len - before->start - before->length;
            if (!after.startsWith(QStringView(text).left(before->start)) || !after.endsWith(QStringView(text).right(tail)))
                __builtin_trap();
            if (!IsWebColor(after.mid(before->start, after.size() - before->start - tail)))
                __builtin_trap();
        } else if (r.text() != text) {
            __builtin_trap();
        }
    }

    // Paths. The plain scans use Qt's letter case rules, so they are compared on ASCII text only.
    const std::optional<QString> image = ImagePathAt(text, caret);
    const std::optional<QString> page = DocumentPathAt(text, caret);
    if (AsciiOnly(text)) {
        const auto slowImage = SlowPathScan(text, caret, [&](qsizetype q) -> qsizetype {
            const QString piece = text.mid(q, 4);
            for (const char* e : {".bmp", ".ico", ".jpg", ".gif", ".png", ".swf"})
                if (Ascii(piece, e))
                    return 4;
            return 0;
        });
        const auto slowPage = SlowPathScan(text, caret, [&](qsizetype q) -> qsizetype {
            if (text[q] != u'.')
                return 0;
            for (const char* e : {"html", "htm", "css", "js", "txt"})
                if (Ascii(text.mid(q + 1, qstrlen(e)), e))
                    return qsizetype(qstrlen(e)) + 1;
            return 0;
        });
        if (image != slowImage || page != slowPage)
            __builtin_trap();
    }
    for (const std::optional<QString>& p : {image, page})
        if (p && (p->isEmpty() || p->contains(u'\\') || p->size() > len))
            __builtin_trap();
    if (image && !IMG_IN_EXTENSIONS(image->right(4)))
        __builtin_trap();

    // Comments: the "<!--" before the caret, the text right after it.
    if (const std::optional<CommentFind> c = CommentAt(text, caret)) {
        if (c->start < 0 || c->start >= caret || caret - c->start > 129 || c->text.isEmpty())
            __builtin_trap();
        if (text.mid(c->start, 4) != QStringLiteral("<!--") || text.mid(c->start + 4, c->text.size()) != c->text)
            __builtin_trap();
        if (c->length != 0 && (c->length != c->text.size() + 7 || text.mid(c->start + c->length - 3, 3) != QStringLiteral("-->")))
            __builtin_trap();
        if (CommentDialogText(c->text).contains(QStringLiteral("   ")))
            __builtin_trap();
    }
    return 0;
}
