#include "platform/Codecs.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

// Windows-1251, bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char16_t decodeByte(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return char16_t(0x0410 + (b - 0xC0));
    return kHigh[b - 0x80];
}

// Length of the valid UTF-8 sequence starting at i (i < n), or 0 when it is
// not one; *code gets its code point.
int utf8Sequence(const unsigned char* d, qsizetype i, qsizetype n, char32_t* code)
{
    const unsigned char b = d[i];
    if (b < 0x80) {
        *code = b;
        return 1;
    }
    int len;
    char32_t cp;
    if (b >= 0xC2 && b <= 0xDF) { len = 2; cp = b & 0x1F; }
    else if (b >= 0xE0 && b <= 0xEF) { len = 3; cp = b & 0x0F; }
    else if (b >= 0xF0 && b <= 0xF4) { len = 4; cp = b & 0x07; }
    else return 0;
    if (i + len > n)
        return 0;
    for (int k = 1; k < len; ++k) {
        const unsigned char c = d[i + k];
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    *code = cp;
    return len;
}

int utf8SequenceAt(const QByteArray& s, qsizetype i)
{
    char32_t code;
    return utf8Sequence(reinterpret_cast<const unsigned char*>(s.constData()), i, s.size(), &code);
}

// The one pass of DecodeCp1251CrLf and DecodeUtf8LenientCrLf.
template <bool Utf8>
QString decodeCrLf(const QByteArray& bytes)
{
    const unsigned char* d = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    // A byte gives at most one character, a lone CR or LF two.
    const qsizetype breaks = std::count(d, d + n, '\n') + std::count(d, d + n, '\r');
    QString out(n + breaks, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* o = begin;
    qsizetype i = 0;
    while (i < n) {
        qsizetype blockEnd = n;
#if defined(__SSE2__)
        // Sixteen bytes of ASCII without a line break widened at once: most
        // of a page. A block holding anything else is gone through byte by
        // byte (a sequence may run past its end).
        if (i + 16 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i breakBytes = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
            if (_mm_movemask_epi8(_mm_or_si128(v, breakBytes)) == 0) {
                const __m128i zero = _mm_setzero_si128();
                _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
                o += 16;
                i += 16;
                continue;
            }
            blockEnd = i + 16;
        }
#endif
        while (i < blockEnd) {
            const unsigned char b = d[i];
            if (b >= 0x20 && b < 0x80) {
                *o++ = b;
                ++i;
                continue;
            }
            if (b == '\r' || b == '\n') {
                *o++ = u'\r';
                *o++ = u'\n';
                i += b == '\r' && i + 1 < n && d[i + 1] == '\n' ? 2 : 1;
                continue;
            }
            if (b < 0x80 || !Utf8) {
                *o++ = decodeByte(b);
                ++i;
                continue;
            }
            // Two bytes, as Cyrillic letters take, straight away.
            if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (d[i + 1] & 0xC0) == 0x80) {
                *o++ = char16_t(((b & 0x1F) << 6) | (d[i + 1] & 0x3F));
                i += 2;
                continue;
            }
            char32_t cp;
            const int len = utf8Sequence(d, i, n, &cp);
            if (len == 0) {
                *o++ = RawByteChar(b).unicode();
                ++i;
            } else if (cp >= 0x10000) {
                *o++ = QChar::highSurrogate(cp);
                *o++ = QChar::lowSurrogate(cp);
                i += len;
            } else {
                *o++ = char16_t(cp);
                i += len;
            }
        }
    }
    out.truncate(o - begin);
    return out;
}

} // namespace

QString DecodeCp1251(const QByteArray& bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
    return out;
}

int Cp1251Code(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u;
    if (u >= 0x0410 && u <= 0x044F)
        return 0xC0 + (u - 0x0410);
    if (IsRawByte(c))
        return u - RawByteBase;
    for (int k = 0; k < 64; ++k)
        if (kHigh[k] == u)
            return 0x80 + k;
    return -1;
}

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

bool IsAscii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    const char* d = bytes.constData();
    for (qsizetype i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(d[i]) < 0x80) {
            ++i;
            continue;
        }
        const int len = utf8SequenceAt(bytes, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

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

QString DecodeCp1251CrLf(const QByteArray& bytes) { return decodeCrLf<false>(bytes); }

QString DecodeUtf8LenientCrLf(const QByteArray& bytes) { return decodeCrLf<true>(bytes); }

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
