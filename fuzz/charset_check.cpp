// Drives the charset check and the decoding of documents over arbitrary
// bytes: reading what was written must give the same text and encoding, a
// Windows-1251 file must come back byte for byte, and no character may be
// lost on the way.
#include "app/Documents.h"
#include "platform/Codecs.h"

#include <QByteArray>
#include <QString>

namespace {

// Every line end as CR LF and one after the last line, as the editor writes.
QByteArray normalisedLines(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    if (!out.isEmpty() && !out.endsWith("\r\n"))
        out += "\r\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (int current : {EncodingCp1251, EncodingUtf8}) {
        const DecodedDocument doc = CHECK_ENCODE(bytes, current);
        if (doc.encoding != EncodingCp1251 && doc.encoding != EncodingUtf8)
            __builtin_trap();
        const QByteArray written = DocumentBytes(doc.text, doc.encoding);
        const DecodedDocument again = CHECK_ENCODE(written, current);
        if (again.encoding != doc.encoding || again.text != doc.text)
            __builtin_trap();
        // A page read as Windows-1251 is written back as it was, apart from
        // its line ends (a file of one empty line reads as an empty text).
        const QByteArray expected = normalisedLines(bytes);
        if (doc.encoding == EncodingCp1251 && written != expected && !(written.isEmpty() && expected == "\r\n"))
            __builtin_trap();
        // Text decoded as Windows-1251 always fits Windows-1251.
        const Cp1251Gaps gaps = UnencodableInCp1251(doc.text);
        if (doc.encoding == EncodingCp1251 && !gaps.empty())
            __builtin_trap();
        if (!gaps.empty() && Cp1251GapsMessage(gaps).isEmpty())
            __builtin_trap();
        if (platform::DecodeUtf8Lenient(platform::EncodeUtf8(doc.text)) != doc.text)
            __builtin_trap();
    }
    return 0;
}
