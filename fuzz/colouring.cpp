// Colours arbitrary text line by line in every kind, as the editor does, and
// checks what every colouring must satisfy: spans inside their line, in
// order, not overlapping, never empty or plain; states small and not
// negative (they live in a block's user state beside the colouring's own
// flag); the state worked out without spans the same as with them.
#include "html/CheckCommand.h"
#include "editor/Colouring.h"

#include <QByteArray>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = DocumentTextFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QStringList lines = text.split(u'\n');
    std::vector<TokenSpan> spans;
    for (ColouringKind kind : {ColouringKind::Html, ColouringKind::Css, ColouringKind::Js, ColouringKind::Plain}) {
        int state = InitialColouringState(kind);
        for (const QString& line : lines) {
            const int stateOnly = ColourLine(kind, line, state, nullptr);
            state = ColourLine(kind, line, state, &spans);
            if (state != stateOnly || state < 0 || state >= (1 << 21))
                __builtin_trap();
            int end = 0;
            for (const TokenSpan& s : spans) {
                if (s.start < end || s.length <= 0 || s.start + s.length > line.size() || s.token == Token::Plain)
                    __builtin_trap();
                end = s.start + s.length;
            }
            if (kind == ColouringKind::Plain && !spans.empty())
                __builtin_trap();
        }
    }
    return 0;
}
