// Runs the tag checker over arbitrary pages, read as the editor reads files,
// and checks what every fault must satisfy.
#include "editor/MemoryTextModel.h"
#include "html/CheckCommand.h"
#include "html/TagChecker.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = DocumentTextFromBytes(bytes);
    const TagCheckResult r = CHECK_TAGS(text);
    if (r.passed) {
        if (!r.message.isEmpty() || r.position != 0)
            __builtin_trap();
        return 0;
    }
    // A fault always points at a bracket of the text.
    if (r.position < 1 || r.position > text.size())
        __builtin_trap();
    const QChar c = text.at(r.position - 1);
    if (c != u'<' && c != u'>')
        __builtin_trap();
    if (r.message != kTagUnknownMessage && r.message != kTagNotClosedMessage && r.message != kTagSurplusCloseMessage
        && !r.message.startsWith(kTableCheckHeading))
        __builtin_trap();
    // The same fault selects that one character in the editor.
    MemoryTextModel m(text);
    QString message;
    if (CheckTagsInModel(m, &message) || message != r.message || m.selStart() != r.position - 1
        || m.selLength() != 1)
        __builtin_trap();
    const QString report = CheckReport(QStringLiteral("f"), text);
    if (report.isEmpty() || report.contains(u'\n') || report.contains(u'\r') || report.contains(u'\t'))
        __builtin_trap();
    return 0;
}
