#include "platform/Codecs.h"

#include "platform/plain/Bytes.h"

#include <QStringDecoder>

#include <algorithm>
#include <string_view>


namespace platform {
namespace {

int utf8SequenceAt(const QByteArray& s, qsizetype i)
{
    char32_t code;
    return plain::Utf8Sequence(reinterpret_cast<const unsigned char*>(s.constData()), std::size_t(i), std::size_t(s.size()), &code);
}

std::string_view viewOf(const QByteArray& bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }

QString decodeCrLf(const QByteArray& bytes, bool utf8)
{
    const std::string_view view = viewOf(bytes);
    QString out(qsizetype(plain::DecodeCrLfCapacity(view)), Qt::Uninitialized);
    out.truncate(qsizetype(plain::DecodeCrLf(view, utf8, reinterpret_cast<char16_t*>(out.data()))));
    return out;
}

} // namespace

QString DecodeCp1251(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(plain::Cp1251Char(static_cast<unsigned char>(bytes[i])));
    return out;
}

int Cp1251Code(QChar c) { return plain::Cp1251Code(c.unicode()); }

QByteArray EncodeCp1251(const QString& text, bool* lossless)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    bool all = true;
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        int code = Cp1251Code(c);
        if (code < 0) {
            all = false;
            code = '?';
            // A surrogate pair is one character: one "?".
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
        }
        out[n++] = static_cast<char>(code);
    }
    out.truncate(n);
    if (lossless)
        *lossless = all;
    return out;
}

bool FitsCp1251(const QString& text)
{
    for (QChar c : text)
        if (Cp1251Code(c) < 0)
            return false;
    return true;
}

bool IsAscii(const QByteArray& bytes) { return plain::IsAscii(viewOf(bytes)); }

bool IsValidUtf8(const QByteArray& bytes) { return plain::IsValidUtf8(viewOf(bytes)); }

QString DecodeUtf8Lenient(const QByteArray& bytes, qsizetype* invalidBytes)
{
    qsizetype invalid = 0;
    QString out;
    qsizetype runStart = 0;
    qsizetype i = 0;
    // A byte order mark is text like any other here: dropping it would
    // change the file on the next save, and a mark after a stray byte would
    // vanish from the middle of the page.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const auto flush = [&](qsizetype end) {
        if (end <= runStart)
            return;
        const QByteArrayView run(bytes.constData() + runStart, end - runStart);
        // A page that is valid throughout is one run: decoded in place of
        // being appended.
        if (out.isEmpty())
            out = decoder.decode(run);
        else
            out += decoder.decode(run);
    };
    const char* d = bytes.constData();
    const qsizetype n = bytes.size();
    while (i < n) {
        // Most of a page is ASCII.
        if (static_cast<unsigned char>(d[i]) < 0x80) {
            ++i;
            continue;
        }
        const int len = utf8SequenceAt(bytes, i);
        if (len > 0) {
            i += len;
            continue;
        }
        flush(i);
        out += RawByteChar(static_cast<unsigned char>(bytes[i]));
        ++invalid;
        ++i;
        runStart = i;
    }
    flush(i);
    if (invalidBytes)
        *invalidBytes = invalid;
    return out;
}

QString DecodeCp1251CrLf(const QByteArray& bytes) { return decodeCrLf(bytes, false); }

QString DecodeUtf8LenientCrLf(const QByteArray& bytes) { return decodeCrLf(bytes, true); }

QByteArray EncodeUtf8(const QString& text)
{
    const QChar* d = text.constData();
    const qsizetype n = text.size();
    const auto lone = [&](qsizetype i) { return IsRawByte(d[i]) && !(i > 0 && d[i - 1].isHighSurrogate()); };
    qsizetype i = 0;
    while (i < n && !lone(i))
        ++i;
    if (i == n)
        return text.toUtf8();
    QByteArray out;
    out.reserve(n + n / 2);
    qsizetype runStart = 0;
    for (; i < n; ++i) {
        if (!lone(i))
            continue;
        out += QStringView(d + runStart, i - runStart).toUtf8();
        out += char(d[i].unicode() - RawByteBase);
        runStart = i + 1;
    }
    out += QStringView(d + runStart, n - runStart).toUtf8();
    return out;
}

} // namespace platform
