// Runs the tag checker over arbitrary pages, read as the editor reads files,
// and checks what every fault must satisfy; the doctype test and the names an
// unknown-tag fault rejects are compared with plain readings of the rules.
#include "editor/MemoryTextModel.h"
#include "html/CheckCommand.h"
#include "html/TagChecker.h"
#include "store/Utilities.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QSet>

namespace {

// The text with every unpaired surrogate (a raw byte of a broken UTF-8 file)
// as U+FFFD, one for one, since the pattern engine refuses such text.
QString Matchable(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (c.isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

// The doctype rule as one pattern: a comment ends at the first "-->" after
// its "<!", and a matched comment is never taken back.
bool PlainIsHtml5(const QString& text)
{
    static const QRegularExpression doctype(
        QStringLiteral("^\\x{FEFF}?(?:[ \\t\\r\\n]|(?><!(?=--).*?-->))*<!DOCTYPE[ \\t\\r\\n]+html[ \\t\\r\\n]*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return doctype.match(Matchable(text)).hasMatch();
}

bool IsDelimiter(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ' || c == u'/' || c == u'>';
}

// Whether the name starting at `from` is one the page may use.
bool PlainKnownAt(const QString& text, qsizetype from, bool html5)
{
    qsizetype end = from;
    while (end < text.size() && !IsDelimiter(text.at(end)))
        ++end;
    if (end == text.size())
        return false;
    const QString name = text.mid(from, end - from);
    static const QStringList& known = KnownTagNames();
    static const QStringList& current = Html5TagNames();
    static const QSet<QString> knownSet(known.begin(), known.end());
    static const QSet<QString> currentSet(current.begin(), current.end());
    if ((html5 ? currentSet : knownSet).contains(UpperKeepingPositions(name)))
        return true;
    static const QRegularExpression custom(QStringLiteral("^[A-Za-z][A-Za-z0-9._-]*-[A-Za-z0-9._-]*$"));
    return html5 && custom.match(Matchable(name)).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = DocumentTextFromBytes(bytes);
    const bool html5 = IsHtml5Document(text);
    if (html5 != PlainIsHtml5(text))
        __builtin_trap();
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
    // An unknown tag's name, with or without its "/", is not one of the page's.
    if (r.message == kTagUnknownMessage) {
        const qsizetype at = r.position; // just after the "<"
        if (PlainKnownAt(text, at, html5)
            || (at < text.size() && text.at(at) == u'/' && PlainKnownAt(text, at + 1, html5)))
            __builtin_trap();
    }
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
