// Reads arbitrary bytes as a recovery copy left behind (a damaged disk, a
// foreign file in the folder): a copy read is written back into bytes that
// read as the same copy, and the chunked raw text edited anywhere gives the
// text a plain string would hold.
#include "app/Recovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<RecoveryCopy> copy = ParseRecoveryCopy(bytes)) {
        const std::optional<RecoveryCopy> again = ParseRecoveryCopy(RecoveryCopyBytes(*copy));
        if (!again || !(*again == *copy))
            __builtin_trap();
    }
    // The bytes as edits: position, removed count, then the added characters.
    RecoveryText text;
    QString reference = QStringLiteral("ab\u2029cd");
    text.reset(reference);
    for (size_t i = 0; i + 3 <= size; i += 3) {
        const qsizetype at = data[i] % (reference.size() + 1);
        const qsizetype removed = std::min<qsizetype>(data[i + 1] % 8, reference.size() - at);
        const QString added = QString(qsizetype(data[i + 2] % 4), data[i + 2] & 1 ? QChar::ParagraphSeparator : QChar(u'x'));
        if (!text.replace(at, removed, added))
            __builtin_trap();
        reference.replace(at, removed, added);
    }
    QString expected = reference;
    expected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    if (text.size() != reference.size() || RecoveryText::EditorText(text.chunks()) != expected)
        __builtin_trap();
    return 0;
}
