#include "platform/plain/Bytes.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform::plain {

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

template <bool Utf8>
std::size_t decodeCrLf(std::string_view bytes, char16_t* const begin)
{
    const unsigned char* d = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    char16_t* o = begin;
    std::size_t i = 0;
    while (i < n) {
        std::size_t blockEnd = n;
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
                *o++ = Cp1251Char(b);
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
            const int len = Utf8Sequence(d, i, n, &cp);
            if (len == 0) {
                *o++ = char16_t(RawByteBase + b);
                ++i;
            } else if (cp >= 0x10000) {
                *o++ = char16_t(0xD800 + ((cp - 0x10000) >> 10));
                *o++ = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
                i += len;
            } else {
                *o++ = char16_t(cp);
                i += len;
            }
        }
    }
    return std::size_t(o - begin);
}

} // namespace

char16_t Cp1251Char(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return char16_t(0x0410 + (b - 0xC0));
    return kHigh[b - 0x80];
}

int Cp1251Code(char16_t u)
{
    if (u < 0x80)
        return u;
    if (u >= 0x0410 && u <= 0x044F)
        return 0xC0 + (u - 0x0410);
    if (IsRawByte(u))
        return u - RawByteBase;
    for (int k = 0; k < 64; ++k)
        if (kHigh[k] == u)
            return 0x80 + k;
    return -1;
}

int Utf8Sequence(const unsigned char* d, std::size_t i, std::size_t n, char32_t* code)
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

bool IsAscii(std::string_view bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsValidUtf8(std::string_view bytes)
{
    const unsigned char* d = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        if (d[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t code;
        const int len = Utf8Sequence(d, i, n, &code);
        if (len == 0)
            return false;
        i += std::size_t(len);
    }
    return true;
}

std::size_t DecodeCrLfCapacity(std::string_view bytes)
{
    const char* d = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t breaks = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // One pass, sixteen bytes a step: a bit for each CR or LF, counted.
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        breaks += std::size_t(__builtin_popcount(unsigned(_mm_movemask_epi8(hits))));
    }
#endif
    for (; i < n; ++i)
        breaks += d[i] == '\r' || d[i] == '\n';
    return n + breaks;
}

std::size_t DecodeCrLf(std::string_view bytes, bool utf8, char16_t* out)
{
    return utf8 ? decodeCrLf<true>(bytes, out) : decodeCrLf<false>(bytes, out);
}

void AppendUtf8(std::u16string_view text, std::string& out)
{
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsRawByte(char16_t(c))) {
            out += char(c - RawByteBase);
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
}

} // namespace platform::plain
