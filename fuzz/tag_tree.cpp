// Builds the tag navigation tree over arbitrary pages, read as the editor
// reads files, and checks it against a plain build that follows the rules
// the slow way: every position looked at, every table entry compared, the
// rest of the text copied for each attribute and the comment's end searched
// anew. Then checks what every tree must satisfy: levels climb one at a
// time, every node sits at a "<", node lines of a CR LF text hold no line
// break, and going to any node selects its name inside the text.
#include "editor/MemoryTextModel.h"
#include "html/CheckCommand.h"
#include "html/TagTree.h"

#include <QByteArray>

namespace {

enum class Kind { Container, CloseContainer, Single, CloseSingle, Meta, Comment };

struct Entry {
    const char* name;
    Kind kind;
};

const Entry kTable[] = {
    {"HEAD", Kind::Container},       {"HTML", Kind::Container},       {"BODY", Kind::Container},
    {"FRAMESET", Kind::Container},   {"TABLE", Kind::Container},      {"TR", Kind::Container},
    {"TD", Kind::Container},         {"DIV", Kind::Container},        {"DL", Kind::Container},
    {"OL", Kind::Container},         {"UL", Kind::Container},         {"A", Kind::Container},
    {"NOSCRIPT", Kind::Container},   {"/HEAD", Kind::CloseContainer}, {"/HTML", Kind::CloseContainer},
    {"/BODY", Kind::CloseContainer}, {"/FRAMESET", Kind::CloseContainer}, {"/TABLE", Kind::CloseContainer},
    {"/TR", Kind::CloseContainer},   {"/TD", Kind::CloseContainer},   {"/DL", Kind::CloseContainer},
    {"/DIV", Kind::CloseContainer},  {"/A", Kind::CloseContainer},    {"/NOSCRIPT", Kind::CloseContainer},
    {"/UL", Kind::CloseContainer},   {"/OL", Kind::CloseContainer},   {"!DOCTYPE", Kind::Single},
    {"TITLE", Kind::Single},         {"LINK", Kind::Single},          {"STYLE", Kind::Single},
    {"FRAME", Kind::Single},         {"IFRAME", Kind::Single},        {"IMG", Kind::Single},
    {"P", Kind::Single},             {"DT", Kind::Single},            {"DD", Kind::Single},
    {"LI", Kind::Single},            {"SCRIPT", Kind::Single},        {"EMBED", Kind::Single},
    {"/SCRIPT", Kind::CloseSingle},  {"/EMBED", Kind::CloseSingle},   {"META", Kind::Meta},
    {"!--", Kind::Comment},
};

QString Upper(const QString& t)
{
    QString u = t;
    for (QChar& c : u)
        c = c.toUpper();
    return u;
}

// Whether the text from index i (0-based) begins with s.
bool At(const QString& t, qsizetype i, const QString& s) { return i >= 0 && i <= t.size() && QStringView(t).sliced(i).startsWith(s); }

TagTreeBuild SlowBuild(const QString& text)
{
    TagTreeBuild b;
    const QString up = Upper(text);
    bool skip = false, inTag = false, opens = false, closes = false, closing = false, read = false;
    QString marker, name, details;
    Kind kind = Kind::Single;
    int level = 0, previous = 0, lastLt = 0;
    for (int p = 1; p <= text.size(); ++p) {
        const qsizetype i = p - 1;
        if (skip) {
            if (At(up, i, marker))
                skip = false;
            continue;
        }
        if (At(up, i, QStringLiteral("<SCRIPT")))
            skip = true, marker = QStringLiteral("</SCRIPT");
        else if (At(up, i, QStringLiteral("<!--")))
            skip = true, marker = QStringLiteral("-->");
        else if (At(up, i, QStringLiteral("<?")))
            skip = true, marker = QStringLiteral("?>");
        const QChar c = up.at(i);
        if (c != u'<' && c != u'>')
            continue;
        int matches = 0;
        for (const Entry& e : kTable) {
            const QString t = QStringLiteral("<") + QLatin1String(e.name);
            bool match = false;
            if (e.kind == Kind::Comment)
                match = At(up, i, t);
            else if (At(up, i, t) && i + t.size() < up.size()) {
                const QChar after = up.at(i + t.size());
                match = after == u' ' || (after == u'>' && e.kind != Kind::Meta);
            }
            if (!match)
                continue;
            ++matches;
            inTag = true;
            read = false;
            kind = e.kind;
            name = QLatin1String(e.name);
            if (name.startsWith(u'/')) {
                name.remove(0, 1);
                closing = true;
            }
            opens = opens || e.kind == Kind::Container;
            closes = closes || e.kind == Kind::CloseContainer;
        }
        if (matches > 1)
            __builtin_trap();
        if (!inTag)
            continue;
        if (!closing && !read) {
            details.clear();
            const QString tail = text.mid(p + name.size() - 2);
            const QString upTail = up.mid(p + name.size() - 2);
            auto add = [&](const char* a) {
                const QString v = ReadTagAttribute(tail, upTail, QLatin1String(a));
                if (!v.isEmpty())
                    details += QStringLiteral("   ") + QString::fromLatin1(a).toLower() + u'=' + v;
            };
            if (name == QStringLiteral("IMG"))
                add("SRC"), add("ALT"), add("TITLE");
            if (name == QStringLiteral("SCRIPT"))
                add("LANGUAGE"), add("TYPE"), add("SRC");
            for (const char* a : {"ID", "NAME", "CLASS", "STYLE", "HREF", "TYPE"})
                add(a);
            if (name == QStringLiteral("META"))
                add("HTTP-EQUIV"), add("CONTENT");
            if (kind == Kind::Comment) {
                QString comment = text.mid(i + 4);
                const qsizetype end = comment.indexOf(QStringLiteral("-->"));
                if (end >= 0)
                    comment.truncate(end);
                details = comment.replace(QStringLiteral("\r\n"), QStringLiteral(", "))
                              .replace(u'\t', u' ')
                              .replace(QStringLiteral("[`]"), QStringLiteral(", "));
            }
            read = true;
        }
        if (c == u'<')
            lastLt = p;
        if (c == u'>') {
            inTag = false;
            if (closes) {
                if (level > 0)
                    --level;
                closes = false;
            }
            if (closing) {
                closing = false;
            } else {
                if (level >= previous + 2) {
                    ++previous;
                    level = previous;
                }
                b.nodes.append(TagNode{level, name, details, lastLt});
                previous = level;
            }
            if (opens) {
                ++level;
                opens = false;
            }
        }
    }
    return b;
}

void Check(const QString& text, bool lineBreaksNormal)
{
    const TagTreeBuild b = MAKE_DISPLAY(text);
    if (b.nodes != SlowBuild(text).nodes)
        __builtin_trap();
    const QStringList lines = b.lines();
    const QStringList positions = b.positions();
    if (lines.size() != b.nodes.size() || positions.size() != b.nodes.size())
        __builtin_trap();
    int previous = 0;
    for (int k = 0; k < b.nodes.size(); ++k) {
        const TagNode& n = b.nodes.at(k);
        if (n.level < 0 || n.level > previous + 1)
            __builtin_trap();
        previous = n.level;
        if (n.position < 1 || n.position > text.size() || text.at(n.position - 1) != u'<')
            __builtin_trap();
        if (!lines.at(k).startsWith(QString(n.level, u'\t') + n.name + QStringLiteral("    ")))
            __builtin_trap();
        if (lineBreaksNormal && (lines.at(k).contains(u'\r') || lines.at(k).contains(u'\n')))
            __builtin_trap();
        const std::optional<TagTarget> t = TagTargetAt(positions, k, int(text.size()));
        if (n.position < text.size()) {
            if (!t || t->offset != n.position || t->length < 1 || t->length > n.name.size()
                || t->offset + t->length > text.size())
                __builtin_trap();
        } else if (t) {
            __builtin_trap();
        }
        const QString caption = GoToTagCaption(lines.at(k).mid(n.level));
        if (caption != QStringLiteral("Перейти к <") + n.name + QStringLiteral(">   (Enter)"))
            __builtin_trap();
    }
    if (TagTargetAt(positions, int(positions.size()), int(text.size())) || TagTargetAt(positions, -1, int(text.size())))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = DocumentTextFromBytes(bytes);
    // As read, and as the editor holds it: CR LF between lines.
    const QString editorText = MemoryTextModel(text).text();
    Check(text, editorText == text);
    if (editorText != text)
        Check(editorText, true);
    return 0;
}
