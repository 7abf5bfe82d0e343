#pragma once
// Windows-1251 and UTF-8 bytes to UTF-16 and back, on the C++ library alone,
// so that programs without Qt (the command-line checker) read a page exactly
// as the editor does. platform/Codecs wraps these for Qt's strings.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::plain {

// A byte that is not part of valid UTF-8 in a UTF-8 file is held in the
// text as one lone low surrogate, U+DC80..U+DCFF (byte 0x80..0xFF).
inline constexpr char16_t RawByteBase = 0xDC00;
inline constexpr bool IsRawByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// The character of a Windows-1251 byte (0x98, unassigned, becomes U+0098).
char16_t Cp1251Char(unsigned char b);
// The Windows-1251 byte of a character, or -1 when the code page lacks it.
// A raw byte gives itself.
int Cp1251Code(char16_t c);

// Length of the valid UTF-8 sequence at d[i] (i < n), or 0 when there is
// none; *code gets its code point.
int Utf8Sequence(const unsigned char* d, std::size_t i, std::size_t n, char32_t* code);

bool IsAscii(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// The most characters DecodeCrLf writes for the bytes: one a byte, two for
// a lone CR or LF.
std::size_t DecodeCrLfCapacity(std::string_view bytes);
// Decodes the bytes (as UTF-8 with raw bytes where invalid, or as
// Windows-1251) with every line break (CR LF, a lone CR, a lone LF) made
// CR LF, in one pass; out holds DecodeCrLfCapacity characters. Returns the
// number written.
std::size_t DecodeCrLf(std::string_view bytes, bool utf8, char16_t* out);

// UTF-16 as UTF-8 appended to out; a raw byte is written as itself, any
// other lone surrogate as U+FFFD.
void AppendUtf8(std::u16string_view text, std::string& out);

} // namespace platform::plain
