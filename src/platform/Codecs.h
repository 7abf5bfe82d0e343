#pragma once
// Windows-1251 and UTF-8 to and from Unicode. Text is Unicode in memory;
// these encodings exist only in files.
#include <QByteArray>
#include <QString>

namespace platform {

// Every byte decodes to one character (0x98, unassigned in the code page,
// becomes U+0098), so decoding and encoding back is lossless.
QString DecodeCp1251(const QByteArray& bytes);

// Characters without a Windows-1251 form become "?"; *lossless tells whether
// every character had one.
QByteArray EncodeCp1251(const QString& text, bool* lossless = nullptr);

// The Windows-1251 byte of a character, or -1 when the code page lacks it.
int Cp1251Code(QChar c);

// Whether every character of the text has a Windows-1251 form.
bool FitsCp1251(const QString& text);

bool IsValidUtf8(const QByteArray& bytes);
bool IsAscii(const QByteArray& bytes);

// Strict UTF-8 decoding where the bytes are valid; where they are not, each
// invalid byte decodes as Windows-1251 instead, so nothing is lost.
QString DecodeUtf8Lenient(const QByteArray& bytes);

inline QByteArray EncodeUtf8(const QString& text) { return text.toUtf8(); }

} // namespace platform
