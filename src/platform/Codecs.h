#pragma once
// Windows-1251 and UTF-8 to and from Unicode. Text is Unicode in memory;
// these encodings exist only in files.
#include "platform/plain/Bytes.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Every byte decodes to one character (0x98, unassigned in the code page,
// becomes U+0098), so decoding and encoding back is lossless.
QString DecodeCp1251(const QByteArray& bytes);

// Characters without a Windows-1251 form become "?"; *lossless tells whether
// every character had one.
QByteArray EncodeCp1251(const QString& text, bool* lossless = nullptr);

// A byte that is not part of valid UTF-8 in a UTF-8 file is held in the
// text as one lone low surrogate, U+DC80..U+DCFF (byte 0x80..0xFF), which no
// valid UTF-8 can produce. Both encoders write it back as that byte, so a
// file's bytes survive a round trip whatever they were.
using plain::RawByteBase;
inline bool IsRawByte(QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; }
inline QChar RawByteChar(unsigned char b) { return QChar(char16_t(RawByteBase + b)); }

// The Windows-1251 byte of a character, or -1 when the code page lacks it.
// A raw byte gives itself.
int Cp1251Code(QChar c);

// Whether every character of the text has a Windows-1251 form.
bool FitsCp1251(const QString& text);

bool IsValidUtf8(const QByteArray& bytes);
bool IsAscii(const QByteArray& bytes);

// Strict UTF-8 decoding where the bytes are valid; where they are not, each
// invalid byte becomes its raw-byte character, so nothing is lost.
// *invalidBytes, when given, gets the number of such bytes.
QString DecodeUtf8Lenient(const QByteArray& bytes, qsizetype* invalidBytes = nullptr);

// DecodeCp1251 and DecodeUtf8Lenient with every line break (CR LF, a lone
// CR, a lone LF) made CR LF, in one pass over the bytes: the same text as
// decoding first and replacing the breaks after.
QString DecodeCp1251CrLf(const QByteArray& bytes);
QString DecodeUtf8LenientCrLf(const QByteArray& bytes);

// UTF-8 without a byte order mark (one kept in the text is written); raw
// bytes are written as themselves.
QByteArray EncodeUtf8(const QString& text);

} // namespace platform
