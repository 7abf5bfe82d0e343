// Drives the charset check and the decoding of documents over arbitrary
// bytes: whatever the file held, writing back what was read gives the same
// bytes (but for the line ends of a file that mixes them and a final line
// end), the decision is the same on the written file, and no character is
// lost on the way.
#include "app/Documents.h"
#include "platform/Codecs.h"

#include <QByteArray>
#include <QString>

namespace {

// Every line end as the given break and one after the last line, as the
// editor writes.
QByteArray normalisedLines(const QByteArray& bytes, QByteArrayView br)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out += br;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    if (!out.isEmpty() && !out.endsWith(br))
        out += br;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DecodedDocument doc = CHECK_ENCODE(bytes);
    if (doc.encoding != EncodingCp1251 && doc.encoding != EncodingUtf8)
        __builtin_trap();
    const QByteArray written = DocumentBytes(doc.text, doc.encoding, doc.lineEnds);
    const DecodedDocument again = CHECK_ENCODE(written);
    // (A file of line ends alone reads as an empty text and is written empty,
    // which has no line ends to read back.)
    if (again.encoding != doc.encoding || again.text != doc.text || (!written.isEmpty() && again.lineEnds != doc.lineEnds))
        __builtin_trap();
    // The bytes come back as they were, apart from their line ends (a file
    // of one empty line reads as an empty text).
    const QByteArrayView br = doc.lineEnds == LineEnds::Lf ? QByteArrayView("\n") : QByteArrayView("\r\n");
    const QByteArray expected = normalisedLines(bytes, br);
    if (written != expected && !(written.isEmpty() && expected == br))
        __builtin_trap();
    // Text decoded as Windows-1251 always fits Windows-1251, and so do raw bytes.
    const Cp1251Gaps gaps = UnencodableInCp1251(doc.text);
    if (doc.encoding == EncodingCp1251 && !gaps.empty())
        __builtin_trap();
    if (!gaps.empty() && Cp1251GapsMessage(gaps).isEmpty())
        __builtin_trap();
    if (platform::DecodeUtf8Lenient(platform::EncodeUtf8(doc.text)) != doc.text)
        __builtin_trap();
    return 0;
}
