#include "app/ImportExport.h"

#include "platform/Codecs.h"
#include "store/Utilities.h"

#include <string_view>

QString CompressionFigure;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// ---- Byte helpers for the archive -------------------------------------

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

bool isDigitOrLetter(char c)
{
    const char u = upperAscii(c);
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z');
}

int hexDigit(char c)
{
    const char u = upperAscii(c);
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Whether pattern (upper case) stands at s[at..] without regard to ASCII
// letter case, wholly before end.
bool matchAt(const char* s, qsizetype at, qsizetype end, std::string_view pattern)
{
    const auto len = qsizetype(pattern.size());
    if (at < 0 || at + len > end)
        return false;
    for (qsizetype k = 0; k < len; ++k)
        if (upperAscii(s[at + k]) != pattern[size_t(k)])
            return false;
    return true;
}

bool matchAt(const QByteArray& s, qsizetype at, std::string_view pattern)
{
    return matchAt(s.constData(), at, s.size(), pattern);
}

qsizetype indexOfNoCase(const QByteArray& s, std::string_view pattern, qsizetype from)
{
    const qsizetype last = s.size() - qsizetype(pattern.size());
    const char first = pattern.front();
    for (qsizetype i = from; i <= last; ++i)
        if (upperAscii(s[i]) == first && matchAt(s, i, pattern))
            return i;
    return -1;
}

// The archive as the program reads files: CR LF, CR or LF end a line, and
// every line, the last one included, ends with CR LF.
QByteArray asCrLfLines(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 32 + 2);
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    if (!out.isEmpty() && !out.endsWith("\r\n"))
        out += "\r\n";
    return out;
}

// The page's charset from the first charset declaration of the archive (the
// page part's headers come first, then its META): "charset", "=" (also as
// the escape "=3D"), optional quotes, the name. True for UTF-8.
bool declaresUtf8(const QByteArray& t)
{
    const qsizetype n = t.size();
    for (qsizetype at = indexOfNoCase(t, "CHARSET", 0); at >= 0; at = indexOfNoCase(t, "CHARSET", at + 7)) {
        qsizetype k = at + 7;
        while (k < n && (t[k] == ' ' || t[k] == '\t'))
            ++k;
        if (k >= n || t[k] != '=')
            continue;
        ++k;
        if (matchAt(t, k, "3D"))
            k += 2;
        while (k < n && (t[k] == ' ' || t[k] == '\t' || t[k] == '"' || t[k] == '\''))
            ++k;
        qsizetype end = k;
        while (end < n && (isDigitOrLetter(t[end]) || t[end] == '-' || t[end] == '_'))
            ++end;
        if (end == k)
            continue;
        return end - k == 5 && matchAt(t, k, "UTF-8");
    }
    return false;
}

// The style parts' content lines, between "<style>" and "</style>", each
// line followed by CR LF. A part starts at a "Content-Type: text/css;" line,
// its content three lines further on, and ends before the next boundary line
// of ten dashes; a part never closed adds nothing.
QByteArray styleBlock(const QByteArray& t)
{
    QByteArray block = "<style>\r\n";
    bool open = false;
    qsizetype contentLine = 0;
    qsizetype contentStart = -1; // offset of line contentLine, once reached
    qsizetype lineNo = 0;
    const qsizetype n = t.size();
    for (qsizetype start = 0; start < n; ++lineNo) {
        qsizetype end = t.indexOf("\r\n", start);
        if (end < 0)
            end = n;
        if (open && lineNo == contentLine)
            contentStart = start;
        if (matchAt(t.constData(), start, end, "CONTENT-TYPE: TEXT/CSS;")) {
            open = true;
            contentLine = lineNo + 3;
            contentStart = -1;
        } else if (open && matchAt(t.constData(), start, end, "----------")) {
            if (contentStart >= 0)
                block.append(t.constData() + contentStart, start - contentStart); // lines with their CR LF
            open = false;
        }
        start = end + 2;
    }
    block += "</style>\r\n";
    return block;
}

// Every "</HEAD>" (any case) preceded by the style block.
QByteArray withStylesInHead(const QByteArray& t, const QByteArray& block)
{
    QByteArray out;
    out.reserve(t.size() + block.size());
    qsizetype from = 0;
    for (qsizetype at = indexOfNoCase(t, "</HEAD>", 0); at >= 0; at = indexOfNoCase(t, "</HEAD>", from)) {
        out.append(t.constData() + from, at - from);
        out += block;
        out.append(t.constData() + at, 7);
        from = at + 7;
    }
    out.append(t.constData() + from, t.size() - from);
    return out;
}

// The page's text after the quoted-printable's two plain rules: "=3D" (any
// case) is an equals sign, and a soft line break ("=" CR LF) a NUL marker so
// that it is not taken for an escape. An equals sign that came from "=3D" is
// flagged in `literal`: it counts as "=" for the value switch, but never
// starts an escape or a soft line break again ("=3D41" is "=41", not "=A").
struct PlainRules {
    QByteArray text;
    QByteArray literal; // 1 at every equals sign that came from "=3D"
};

PlainRules withEqualsAndMarkers(const QByteArray& t)
{
    PlainRules r;
    r.text.reserve(t.size());
    r.literal.reserve(t.size());
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (t[i] != '=') {
            r.text += t[i];
            r.literal += '\0';
        } else if (matchAt(t, i + 1, "3D")) {
            r.text += '=';
            r.literal += '\1';
            i += 2;
        } else if (i + 2 < n && t[i + 1] == '\r' && t[i + 2] == '\n') {
            r.text += '\0';
            r.literal += '\0';
            i += 2;
        } else {
            r.text += '=';
            r.literal += '\0';
        }
    }
    return r;
}

// The escape decoding: one walk over every position but the last, with the
// switches in script, in comment, in value and in text. Backward looks read
// what is already decoded, forward looks the text still to come, exactly as
// if the escapes were decoded in place. An "=" not followed by two hex digits
// (a truncated or malformed escape) is left as it is, with what follows it.
QByteArray decodeEscapes(const PlainRules& rules)
{
    const QByteArray& t = rules.text;
    QByteArray out;
    out.reserve(t.size());
    const char* s = t.constData();
    qsizetype n = t.size();
    bool inScript = false;
    bool inComment = false;
    bool inValue = false;
    bool inText = false;
    qsizetype j = 0;
    while (j < n - 1) {
        if (matchAt(s, j, n, "</HTML>"))
            n = j + 7;
        const char c = s[j];
        const qsizetype o = out.size();
        if (matchAt(s, j, n, "<SCRIPT"))
            inScript = true;
        else if (matchAt(out.constData(), o - 8, o, "</SCRIPT"))
            inScript = false;
        if (inScript) {
            out += c;
            ++j;
            continue;
        }
        if (matchAt(s, j, n, "<!--"))
            inComment = true;
        else if (matchAt(out.constData(), o - 4, o - 1, "-->"))
            inComment = false;
        if (inComment) {
            out += c;
            ++j;
            continue;
        }
        if (c == '>')
            inText = true;
        else if (c == '<')
            inText = false;
        if (c == '=' && j + 1 < n && s[j + 1] == '"' && !(j + 2 < n && isDigitOrLetter(s[j + 2]))) {
            inValue = true;
            out += c;
            ++j;
            continue;
        }
        if (c == '"' && !(o > 0 && out[o - 1] == '=')) {
            inValue = false;
            out += c;
            ++j;
            continue;
        }
        if ((inText || inValue) && c == '=' && !rules.literal[j] && j + 2 < n) {
            const int high = hexDigit(s[j + 1]);
            const int low = hexDigit(s[j + 2]);
            if (high >= 0 && low >= 0) {
                out += char(high * 16 + low);
                j += 3;
                continue;
            }
        }
        out += c;
        ++j;
    }
    if (j < n)
        out.append(t.constData() + j, n - j);
    return out;
}

// ---- The compressors ---------------------------------------------------

// CR LF and tabs as blanks, runs of blanks as one.
QString blanksSquashed(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        QChar c = text[i];
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            ++i;
            c = u' ';
        } else if (c == u'\t') {
            c = u' ';
        }
        if (c == u' ' && !out.isEmpty() && out.back() == u' ')
            continue;
        out += c;
    }
    return out;
}

// The HTML rules over text outside <pre>, <textarea> and <script> content.
QString compressHtmlPart(QStringView part)
{
    QString t = blanksSquashed(part);
    static const std::pair<const char16_t*, const char16_t*> rules[] = {
        {u" <TD>", u"<TD>"},   {u"<TD> ", u"<TD>"},   {u" </TD>", u"</TD>"}, {u"</TD> ", u"</TD>"},
        {u" <TR>", u"<TR>"},   {u"<TR> ", u"<TR>"},   {u" </TR>", u"</TR>"}, {u"</TR> ", u"</TR>"},
        {u" <br>", u"<br>"},   {u"<br> ", u"<br>"},
    };
    for (const auto& [find, replacement] : rules)
        t = ReplaceText(t, QString::fromUtf16(find), QString::fromUtf16(replacement), false);
    // " <" arms the switch; the next ">" disarms it, and drops the blank
    // after it when armed.
    QString out;
    out.reserve(t.size());
    bool armed = false;
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = t[i];
        out += c;
        if (c == u' ' && i + 1 < n && t[i + 1] == u'<') {
            armed = true;
        } else if (c == u'>') {
            if (armed && i + 1 < n && t[i + 1] == u' ')
                ++i;
            armed = false;
        }
    }
    return out;
}

} // namespace

QString CompressionFigureOf(qsizetype uncompressed, qsizetype compressed)
{
    if (uncompressed <= 0)
        return QStringLiteral("---");
    return QString::asprintf("%8.2f", 100.0 - double(compressed) / double(uncompressed) * 100.0);
}

QString TextImportPage(const QString& text, const QString& title)
{
    // The text is shown as it was written: its "&", "<" and ">" must not
    // start entities or tags. The file name that gives the title may hold
    // them too.
    const auto escaped = [](const QString& plain) {
        QString s = plain;
        s.replace(u'&', QStringLiteral("&amp;"));
        s.replace(u'<', QStringLiteral("&lt;"));
        s.replace(u'>', QStringLiteral("&gt;"));
        return s;
    };
    QString page;
    page.reserve(text.size() + text.size() / 8 + 400);
    page += QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n");
    page += QStringLiteral("<HTML>\r\n<HEAD>\r\n<title>");
    page += escaped(title);
    page += QStringLiteral("</title>\r\n");
    page += QStringLiteral("<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\r\n");
    page += QStringLiteral("</HEAD>\r\n");
    page += QStringLiteral("<BODY style='margin:30;background:#FFF;font:13px Verdana;color:#000;'>\r\n");
    page += ReplaceText(escaped(text), kCrLf, QStringLiteral("<br>\r\n"), true);
    page += QStringLiteral("</BODY>\r\n</HTML>\r\n");
    return page;
}

QString ImportMHT(const QByteArray& archive)
{
    const QByteArray lines = asCrLfLines(archive);
    const bool utf8 = declaresUtf8(lines);
    QByteArray t = withStylesInHead(lines, styleBlock(lines));
    const qsizetype doctype = indexOfNoCase(t, "<!DOCTYPE HTML", 0);
    if (doctype > 0)
        t.remove(0, doctype);
    QByteArray decoded = decodeEscapes(withEqualsAndMarkers(t));
    decoded.removeIf([](char c) { return c == '\0'; });
    return utf8 ? platform::DecodeUtf8Lenient(decoded) : platform::DecodeCp1251(decoded);
}

QString CompressHtml(const QString& text)
{
    const QStringView view(text);
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (const KeptRange& kept : KeptContentRanges(view)) {
        out += compressHtmlPart(view.mid(from, kept.start - from));
        out += view.mid(kept.start, kept.end - kept.start);
        from = kept.end;
    }
    if (from < text.size())
        out += compressHtmlPart(view.mid(from));
    CompressionFigure = CompressionFigureOf(text.size(), out.size());
    return out;
}

QString CompressCss(const QString& text)
{
    QString t = blanksSquashed(text);
    // A blank before "." is kept: it separates a descendant selector
    // ("div .a") and a number's parts ("0 .5em").
    static const std::pair<const char16_t*, const char16_t*> rules[] = {
        {u"{ ", u"{"}, {u" {", u"{"}, {u" }", u"}"}, {u"} ", u"}"}, {u";}", u"}"}, {u" ;", u";"},
        {u"; ", u";"}, {u" :", u":"}, {u": ", u":"}, {u" )", u")"}, {u"( ", u"("},
    };
    for (const auto& [find, replacement] : rules)
        t = ReplaceText(t, QString::fromUtf16(find), QString::fromUtf16(replacement), true);
    CompressionFigure = CompressionFigureOf(text.size(), t.size());
    return t;
}

QString ExportReport(const QString& figure, bool backupMade)
{
    QString report = QStringLiteral("Файл сжат на ") + figure + QStringLiteral(" %");
    if (backupMade)
        report += QStringLiteral("\r\nСоздана резервная копия оригинала замененного файла");
    return report;
}

QString DropTrailingZeros(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u'0')
        --end;
    return text.left(end);
}
