#include "html/TagPairs.h"

#include <algorithm>
#include <vector>

namespace {

bool isLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isNameChar(QChar c) { return isLetter(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u':' || c == u'_' || c == u'.'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

struct Tag {
    bool end = false;
    bool selfClosing = false;
    int lt = 0;   // the "<"
    int name = 0; // the name's first character
    int nameLength = 0;
    int gt = -1; // the ">", -1 when the text ends first
};

// Reads the tags of a text from its start. A window of a page may start
// inside a comment, a "<? ?>" section, a script or style, or a tag; what
// closes one of those in the window tells (a "-->", "?>", </script> or
// </style> met in page text, a ">" before any "<"), and the scan starts
// again after it: the tags read so far were none. What is left open at the
// end (a comment, a tag...) shows in the state after the run.
class TagScanner {
public:
    explicit TagScanner(QStringView s) : s_(s), n_(int(s.size())) {}

    // Calls take(tag) for each tag in order and restart() when the tags read
    // so far turn out to be none; stops early when either returns false.
    template <class F, class R> void run(F&& take, R&& restart)
    {
        int p = 0;
        int rawEnd = -1; // where the raw content of a script or style ends
        // The next "<" and ">" at or after p, the text's end for none.
        qsizetype lt = -1, gt = -1;
        bool seenLt = false;
        while (p < n_) {
            if (lt < p)
                lt = next(u'<', p);
            if (gt < p)
                gt = next(u'>', p);
            // A ">" in page text before the next "<".
            if (gt < lt) {
                const bool closes = !seenLt || (gt >= 2 && s_[gt - 1] == u'-' && s_[gt - 2] == u'-') || (gt >= 1 && s_[gt - 1] == u'?');
                seenLt = true;
                p = int(gt) + 1;
                if (closes && !restart())
                    return;
                continue;
            }
            if (lt >= n_)
                return;
            seenLt = true;
            p = int(lt);
            if (p + 1 >= n_) { // a lone "<" at the end
                open_ = true;
                return;
            }
            const QChar c = s_[p + 1];
            if (c == u'!' && s_.sliced(p).startsWith(u"<!--")) {
                if (!skipTo(p, p + 4, u"-->"))
                    return;
                continue;
            }
            if (c == u'?') {
                if (!skipTo(p, p + 2, u"?>"))
                    return;
                continue;
            }
            if (c == u'!') {
                if (!skipTo(p, p + 2, u">"))
                    return;
                continue;
            }
            const bool end = c == u'/';
            const int nameAt = p + (end ? 2 : 1);
            if (nameAt >= n_) {
                open_ = true; // "</" at the end
                return;
            }
            if (!isLetter(s_[nameAt])) {
                ++p;
                continue;
            }
            int q = nameAt;
            while (q < n_ && isNameChar(s_[q]))
                ++q;
            Tag t;
            t.end = end;
            t.lt = p;
            t.name = nameAt;
            t.nameLength = q - nameAt;
            // The attributes, quoted values stepped over.
            QChar quote;
            for (; q < n_; ++q) {
                const QChar d = s_[q];
                if (!quote.isNull()) {
                    if (d == quote)
                        quote = QChar();
                } else if (d == u'"' || d == u'\'') {
                    if (!end)
                        quote = d;
                } else if (d == u'>') {
                    break;
                } else if (d == u'<' && end) {
                    break; // an end tag left without its ">"
                }
            }
            if (q >= n_ || s_[q] != u'>') {
                if (q >= n_) {
                    inTag_ = true;
                    inValue_ = !quote.isNull();
                }
                take(t);
                if (q >= n_)
                    return;
                p = q;
                continue;
            }
            t.gt = q;
            t.selfClosing = !end && q > t.name + t.nameLength && s_[q - 1] == u'/';
            if (!take(t))
                return;
            p = q + 1;
            const QStringView name = s_.sliced(t.name, t.nameLength);
            const bool raw = sameName(name, u"script") || sameName(name, u"style");
            if (raw && end && t.lt != rawEnd) {
                // The end of a script or style the window started in.
                if (!restart())
                    return;
            } else if (raw && !end && !t.selfClosing) {
                // Raw content up to the matching end tag.
                const QString close = QStringLiteral("</") + name.toString();
                const qsizetype e = s_.indexOf(close, p, Qt::CaseInsensitive);
                if (e < 0) {
                    raw_ = true;
                    return;
                }
                p = rawEnd = int(e);
            }
        }
    }

    // Whether the text ended inside a comment, section, declaration, a tag,
    // a quoted value or raw script or style content.
    bool endedInside() const { return skipped_ || inTag_ || raw_; }
    bool endedInValue() const { return inValue_; }
    bool endedAfterLt() const { return open_; }

private:
    qsizetype next(QChar c, int from) const
    {
        const qsizetype i = s_.indexOf(c, from);
        return i < 0 ? n_ : i;
    }
    bool skipTo(int& p, int from, QStringView marker)
    {
        const qsizetype e = s_.indexOf(marker, from);
        if (e < 0) {
            skipped_ = true;
            return false;
        }
        p = int(e + marker.size());
        return true;
    }

    QStringView s_;
    int n_;
    bool skipped_ = false, inTag_ = false, inValue_ = false, raw_ = false, open_ = false;
};

bool opensElement(const Tag& t, QStringView s)
{
    return !t.end && !t.selfClosing && t.gt >= 0 && !IsVoidElement(s.sliced(t.name, t.nameLength));
}

} // namespace

bool IsVoidElement(QStringView name)
{
    static const QStringView names[] = {u"area",  u"base",  u"br",       u"col",     u"embed",   u"hr",
                                        u"img",   u"input", u"link",     u"meta",    u"source",  u"track",
                                        u"wbr",   u"param", u"basefont", u"bgsound", u"frame",   u"isindex",
                                        u"keygen"};
    return std::any_of(std::begin(names), std::end(names), [&](QStringView n) { return sameName(n, name); });
}

std::optional<QString> EndTagToInsert(QStringView before, QStringView after, TagTypingContext context)
{
    if (!context.html || !before.endsWith(u'>'))
        return std::nullopt;
    std::optional<Tag> last;
    TagScanner scanner(before);
    scanner.run(
        [&](const Tag& t) {
            last = t;
            return true;
        },
        [&] {
            last.reset();
            return true;
        });
    const int gt = int(before.size()) - 1;
    if (scanner.endedInside() || !last || last->gt != gt || !opensElement(*last, before))
        return std::nullopt;
    const QStringView name = before.sliced(last->name, last->nameLength);
    const QString tag = QStringLiteral("</") + name.toString() + u'>';
    int i = 0;
    while (i < after.size() && isBlank(after[i]))
        ++i;
    const QStringView rest = after.sliced(i);
    if (rest.size() > tag.size() - 1 && sameName(rest.first(tag.size() - 1), QStringView(tag).chopped(1))) {
        const QChar next = rest[tag.size() - 1];
        if (next == u'>' || isBlank(next))
            return std::nullopt;
    }
    return tag;
}

std::optional<QString> EndTagCompletion(QStringView before, TagTypingContext context)
{
    if (!context.html || !before.endsWith(u"</"))
        return std::nullopt;
    std::vector<Tag> open;
    TagScanner scanner(before);
    const auto restart = [&] {
        open.clear();
        return true;
    };
    scanner.run([&](const Tag& t) {
        if (opensElement(t, before)) {
            open.push_back(t);
        } else if (t.end) {
            const QStringView name = before.sliced(t.name, t.nameLength);
            for (auto k = open.size(); k-- > 0;) {
                if (sameName(before.sliced(open[k].name, open[k].nameLength), name)) {
                    open.resize(k);
                    break;
                }
            }
        }
        return true;
    }, restart);
    if (!scanner.endedAfterLt() || open.empty())
        return std::nullopt;
    return before.sliced(open.back().name, open.back().nameLength).toString() + u'>';
}

bool MayBeInTag(QStringView text, int caret)
{
    if (caret < 0 || caret > text.size())
        return false;
    if (caret < text.size() && text[caret] == u'<')
        return true;
    const int stop = std::max(0, caret - 4096);
    for (int j = caret - 1; j >= stop; --j) {
        if (text[j] == u'<')
            return true;
        if (text[j] == u'>' && j != caret - 1)
            return false;
    }
    return false;
}

std::optional<TagPair> MatchingTag(QStringView text, int caret, int scanLimit)
{
    const int n = int(text.size());
    if (caret < 0 || caret > n)
        return std::nullopt;
    if (!MayBeInTag(text, caret))
        return std::nullopt;
    const int from = std::max(0, caret - scanLimit);
    const int to = int(std::min<qint64>(n, qint64(caret) + scanLimit));
    const QStringView window = text.sliced(from, to - from);
    const int c = caret - from;
    auto nameOf = [&](const Tag& t) { return window.sliced(t.name, t.nameLength); };
    // The tags before the caret's; after it, the scan stops at the partner.
    std::vector<Tag> tags;
    std::optional<Tag> self;
    std::optional<Tag> partner;
    int depth = 0;
    TagScanner(window).run(
        [&](const Tag& t) {
            if (t.gt < 0)
                return true;
            if (!self) {
                if (t.lt <= c && c <= t.gt + 1) {
                    if (!t.end && !opensElement(t, window))
                        return false; // a void or "/>" tag at the caret
                    self = t;
                    // An end tag's partner is behind it: nothing more to read.
                    return !t.end;
                }
                tags.push_back(t);
                return true;
            }
            if (sameName(nameOf(t), nameOf(*self))) {
                if (t.end && depth == 0) {
                    partner = t;
                    return false;
                }
                if (t.end)
                    --depth;
                else if (opensElement(t, window))
                    ++depth;
            }
            return true;
        },
        [&] {
            // The caret's tag was in a comment, script or tag after all.
            tags.clear();
            const bool keepOn = !self;
            self.reset();
            return keepOn;
        });
    if (!self)
        return std::nullopt;
    auto pair = [&](const Tag& open, const Tag& close) {
        return TagPair{from + open.name, open.nameLength, from + close.name, close.nameLength};
    };
    if (!self->end)
        return partner ? std::optional(pair(*self, *partner)) : std::nullopt;
    const QStringView name = nameOf(*self);
    for (auto k = tags.size(); k-- > 0;) {
        const Tag& t = tags[k];
        if (!sameName(nameOf(t), name))
            continue;
        if (t.end) {
            ++depth;
        } else if (opensElement(t, window)) {
            if (depth == 0)
                return pair(t, *self);
            --depth;
        }
    }
    return std::nullopt;
}

std::optional<TagRename> PartnerRename(const TagPair& before, int start, int removed, int added, QStringView textAfter)
{
    if (removed < 0 || added < 0)
        return std::nullopt;
    const int delta = added - removed;
    auto inside = [&](int name, int length) { return start >= name && start + removed <= name + length; };
    int edited = 0, editedLength = 0, partner = 0, partnerLength = 0;
    if (inside(before.openName, before.openLength)) {
        edited = before.openName;
        editedLength = before.openLength + delta;
        partner = before.closeName + (before.closeName > before.openName ? delta : 0);
        partnerLength = before.closeLength;
    } else if (inside(before.closeName, before.closeLength)) {
        edited = before.closeName;
        editedLength = before.closeLength + delta;
        partner = before.openName + (before.openName > before.closeName ? delta : 0);
        partnerLength = before.openLength;
    } else {
        return std::nullopt;
    }
    const int n = int(textAfter.size());
    if (editedLength <= 0 || edited + editedLength > n || partner < 0 || partner + partnerLength > n)
        return std::nullopt;
    const QStringView name = textAfter.sliced(edited, editedLength);
    if (!isLetter(name[0]) || !std::all_of(name.begin(), name.end(), isNameChar))
        return std::nullopt;
    // The edited name must end where the tag's name ends, or the edit made
    // it longer into what followed (a blank typed after it, say).
    if (edited + editedLength < n && isNameChar(textAfter[edited + editedLength]))
        return std::nullopt;
    if (textAfter.sliced(partner, partnerLength) == name)
        return std::nullopt;
    return TagRename{partner, partnerLength, name.toString()};
}
