#include "html/TagTree.h"

#include "store/Utilities.h"

#include <QLatin1StringView>
#include <algorithm>
#include <array>

namespace {

using namespace Qt::StringLiterals;

enum class Kind {
    Container,      // opens a level and is a node
    CloseContainer, // closes a level, no node
    Single,         // a node, no level
    CloseSingle,    // recognised, but neither a node nor a level
    Meta,           // a node only when a blank follows the name
};

struct Entry {
    QLatin1StringView name; // as it follows the "<", upper case, with its "/"
    Kind kind;
};

// The structural tags. A closing TH is deliberately absent: TH opens no
// level, so its closing tag must not close one either.
constexpr std::array kEntries = {
    Entry{"HEAD"_L1, Kind::Container},       Entry{"HTML"_L1, Kind::Container},
    Entry{"BODY"_L1, Kind::Container},       Entry{"FRAMESET"_L1, Kind::Container},
    Entry{"TABLE"_L1, Kind::Container},      Entry{"TR"_L1, Kind::Container},
    Entry{"TD"_L1, Kind::Container},         Entry{"DIV"_L1, Kind::Container},
    Entry{"DL"_L1, Kind::Container},         Entry{"OL"_L1, Kind::Container},
    Entry{"UL"_L1, Kind::Container},         Entry{"A"_L1, Kind::Container},
    Entry{"NOSCRIPT"_L1, Kind::Container},

    Entry{"/HEAD"_L1, Kind::CloseContainer}, Entry{"/HTML"_L1, Kind::CloseContainer},
    Entry{"/BODY"_L1, Kind::CloseContainer}, Entry{"/FRAMESET"_L1, Kind::CloseContainer},
    Entry{"/TABLE"_L1, Kind::CloseContainer}, Entry{"/TR"_L1, Kind::CloseContainer},
    Entry{"/TD"_L1, Kind::CloseContainer},   Entry{"/DL"_L1, Kind::CloseContainer},
    Entry{"/DIV"_L1, Kind::CloseContainer},  Entry{"/A"_L1, Kind::CloseContainer},
    Entry{"/NOSCRIPT"_L1, Kind::CloseContainer}, Entry{"/UL"_L1, Kind::CloseContainer},
    Entry{"/OL"_L1, Kind::CloseContainer},

    Entry{"!DOCTYPE"_L1, Kind::Single},      Entry{"TITLE"_L1, Kind::Single},
    Entry{"LINK"_L1, Kind::Single},          Entry{"STYLE"_L1, Kind::Single},
    Entry{"FRAME"_L1, Kind::Single},         Entry{"IFRAME"_L1, Kind::Single},
    Entry{"IMG"_L1, Kind::Single},           Entry{"P"_L1, Kind::Single},
    Entry{"DT"_L1, Kind::Single},            Entry{"DD"_L1, Kind::Single},
    Entry{"LI"_L1, Kind::Single},            Entry{"SCRIPT"_L1, Kind::Single},
    Entry{"EMBED"_L1, Kind::Single},

    Entry{"/SCRIPT"_L1, Kind::CloseSingle},  Entry{"/EMBED"_L1, Kind::CloseSingle},
    Entry{"META"_L1, Kind::Meta},
};
constexpr qsizetype kLongestEntry = 9; // "/FRAMESET", "/NOSCRIPT"

constexpr QStringView kCommentOpener = u"<!--";
constexpr QStringView kCommentCloser = u"-->";
constexpr QStringView kCommentName = u"!--";

// The entry the upper-cased text names right after the "<" at index lt.
const Entry* MatchEntry(QStringView upper, qsizetype lt)
{
    const qsizetype from = lt + 1;
    qsizetype end = from;
    while (end < upper.size() && end - from <= kLongestEntry && upper[end] != u' ' && upper[end] != u'>')
        ++end;
    if (end >= upper.size() || end == from || end - from > kLongestEntry)
        return nullptr;
    const QStringView candidate = upper.sliced(from, end - from);
    for (const Entry& e : kEntries) {
        if (candidate != e.name)
            continue;
        if (e.kind == Kind::Meta && upper[end] != u' ')
            return nullptr;
        return &e;
    }
    return nullptr;
}

// The value that starts right after an attribute's key: quotes kept (a
// single quote shown as a double one), line breaks as blanks; outside
// quotes a tab, CR, blank, ";" or ">" ends it.
QString ReadValue(QStringView from)
{
    QString value;
    bool inSingle = false;
    bool inDouble = false;
    for (const QChar ch : from) {
        const char16_t c = ch.unicode();
        if (!inDouble && c == u'\'')
            inSingle = !inSingle;
        else if (!inSingle && c == u'"')
            inDouble = !inDouble;
        else if (!inSingle && !inDouble && (c == u'\t' || c == u'\r' || c == u' ' || c == u';' || c == u'>'))
            break;
        if (c == u'\'')
            value += u'"';
        else if (c == u'\r' || c == u'\n')
            value += u' ';
        else
            value += ch;
    }
    return value;
}

QString AttributeKey(QAnyStringView upperName) { return u' ' + upperName.toString() + u'='; }

// The first occurrence of a needle, for searches whose starts never move
// back: what one search has passed over is not looked at again, so the
// searches of a whole scan cost one pass over the text.
class ForwardFinder {
public:
    ForwardFinder(QStringView hay, QString needle)
        : hay_(hay)
        , needle_(std::move(needle))
    {
    }

    // The first occurrence lying wholly in [from, limit), or -1.
    qsizetype first(qsizetype from, qsizetype limit)
    {
        limit = std::min(limit, hay_.size());
        if (from < 0 || from >= limit)
            return -1;
        if (searchedFrom_ >= 0 && from >= searchedFrom_) {
            // found_ is the first occurrence at or after searchedFrom_.
            if (found_ >= from)
                return found_ + needle_.size() <= limit ? found_ : -1;
            if (found_ < 0 && limit <= searchedTo_)
                return -1;
        }
        const qsizetype at = hay_.sliced(from, limit - from).indexOf(needle_);
        searchedFrom_ = from;
        searchedTo_ = limit;
        found_ = at < 0 ? -1 : from + at;
        return found_;
    }

private:
    QStringView hay_;
    QString needle_;
    qsizetype searchedFrom_ = -1;
    qsizetype searchedTo_ = -1;
    qsizetype found_ = -1;
};

enum AttributeIndex { kSrc, kAlt, kTitle, kLanguage, kType, kId, kName, kClass, kStyle, kHref, kHttpEquiv, kContent, kAttributeCount };

constexpr std::array<QLatin1StringView, kAttributeCount> kAttributeNames = {
    "SRC"_L1, "ALT"_L1, "TITLE"_L1, "LANGUAGE"_L1, "TYPE"_L1, "ID"_L1,
    "NAME"_L1, "CLASS"_L1, "STYLE"_L1, "HREF"_L1, "HTTP-EQUIV"_L1, "CONTENT"_L1,
};
// How each is shown: three blanks, the name in lower case, "=".
constexpr std::array<QLatin1StringView, kAttributeCount> kAttributeShown = {
    "   src="_L1, "   alt="_L1, "   title="_L1, "   language="_L1, "   type="_L1, "   id="_L1,
    "   name="_L1, "   class="_L1, "   style="_L1, "   href="_L1, "   http-equiv="_L1, "   content="_L1,
};

constexpr int kImgAttributes[] = {kSrc, kAlt, kTitle};
constexpr int kScriptAttributes[] = {kLanguage, kType, kSrc};
constexpr int kCommonAttributes[] = {kId, kName, kClass, kStyle, kHref, kType};
constexpr int kMetaAttributes[] = {kHttpEquiv, kContent};

// Comment text as a node shows it.
QString CommentDetails(QStringView comment)
{
    QString s = comment.toString();
    s.replace(u"\r\n"_s, u", "_s);
    s.replace(u'\t', u' ');
    s.replace(u"[`]"_s, u", "_s);
    return s;
}

} // namespace

QString TagNode::line() const
{
    return QString(level, u'\t') + name + u"    "_s + details;
}

QStringList TagTreeBuild::lines() const
{
    QStringList out;
    out.reserve(nodes.size());
    for (const TagNode& n : nodes)
        out << n.line();
    return out;
}

QStringList TagTreeBuild::positions() const
{
    QStringList out;
    out.reserve(nodes.size());
    for (const TagNode& n : nodes)
        out << QString::number(n.position) + u"##"_s + n.name;
    return out;
}

QString ReadTagAttribute(QStringView tail, QStringView upperTail, const QString& upperName)
{
    const qsizetype size = std::min(tail.size(), upperTail.size());
    tail = tail.first(size);
    upperTail = upperTail.first(size);
    const qsizetype gt = upperTail.indexOf(u'>');
    if (gt < 0)
        return {};
    // The key only counts before the tag's first ">", so nothing beyond it
    // needs searching.
    const QString key = AttributeKey(upperName);
    const qsizetype at = upperTail.first(gt).indexOf(key);
    if (at < 0)
        return {};
    return ReadValue(tail.sliced(at + key.size()));
}

TagTreeBuild MAKE_DISPLAY(const QString& text)
{
    TagTreeBuild build;
    const QString upperText = UpperKeepingPositions(text);
    const QStringView upper = upperText;
    const QStringView written = text;
    const qsizetype n = upper.size();

    ForwardFinder tagEnd(upper, u">"_s);
    ForwardFinder commentEnd(written, kCommentCloser.toString());
    std::array<std::optional<ForwardFinder>, kAttributeCount> keys;
    auto valueOf = [&](int attribute, qsizetype tailStart, qsizetype gt) -> QString {
        auto& finder = keys[attribute];
        if (!finder)
            finder.emplace(upper, AttributeKey(kAttributeNames[attribute]));
        const qsizetype at = finder->first(tailStart, gt);
        if (at < 0)
            return {};
        return ReadValue(written.sliced(at + 2 + kAttributeNames[attribute].size()));
    };

    bool skip = false;
    QStringView endMarker;
    bool inTag = false;
    bool opens = false;
    bool closes = false;
    bool closing = false;
    bool attributesRead = false;
    bool comment = false;
    int level = 0;
    int previousLevel = 0;
    int lastLt = 0;
    QString name;
    QString details;

    for (qsizetype i = 0; i < n; ++i) {
        if (skip) {
            // Nothing inside a skipped region is looked at, and neither is
            // the position where its end marker starts.
            const qsizetype end = upper.sliced(i).indexOf(endMarker);
            if (end < 0)
                break;
            skip = false;
            i += end;
            continue;
        }
        const QChar c = upper[i];
        if (c != u'<' && c != u'>')
            continue;
        if (c == u'<') {
            const QStringView from = upper.sliced(i);
            if (from.startsWith(u"<SCRIPT")) {
                skip = true;
                endMarker = u"</SCRIPT";
            } else if (from.startsWith(kCommentOpener)) {
                skip = true;
                endMarker = kCommentCloser;
            } else if (from.startsWith(u"<?")) {
                skip = true;
                endMarker = u"?>";
            }

            const Entry* entry = nullptr;
            const bool isComment = from.startsWith(kCommentOpener);
            if (!isComment)
                entry = MatchEntry(upper, i);
            if (isComment || entry) {
                inTag = true;
                attributesRead = false;
                comment = isComment;
                if (isComment) {
                    name = kCommentName.toString();
                } else {
                    const bool slash = entry->name.startsWith(u'/');
                    name = QString(slash ? entry->name.sliced(1) : entry->name);
                    closing = closing || slash;
                    opens = opens || entry->kind == Kind::Container;
                    closes = closes || entry->kind == Kind::CloseContainer;
                }
            }
        }
        if (!inTag)
            continue;

        if (!closing && !attributesRead) {
            details.clear();
            if (comment) {
                const qsizetype textStart = i + kCommentOpener.size();
                const qsizetype end = commentEnd.first(textStart, n);
                details = CommentDetails(written.sliced(textStart, (end < 0 ? n : end) - textStart));
            } else {
                // The tail starts inside the name; every key begins with a
                // blank, so where exactly does not change what is found.
                const qsizetype tailStart = std::clamp<qsizetype>(i + name.size() - 1, 0, n);
                const qsizetype gt = tagEnd.first(tailStart, n);
                if (gt >= 0) {
                    auto add = [&](int attribute) {
                        const QString value = valueOf(attribute, tailStart, gt);
                        if (!value.isEmpty())
                            details += kAttributeShown[attribute] + value;
                    };
                    if (name == u"IMG")
                        for (int a : kImgAttributes)
                            add(a);
                    if (name == u"SCRIPT")
                        for (int a : kScriptAttributes)
                            add(a);
                    for (int a : kCommonAttributes)
                        add(a);
                    if (name == u"META")
                        for (int a : kMetaAttributes)
                            add(a);
                }
            }
            attributesRead = true;
        }

        if (c == u'<')
            lastLt = int(i + 1);

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
                if (level >= previousLevel + 2) {
                    ++previousLevel;
                    level = previousLevel;
                }
                build.nodes.append(TagNode{level, name, details, lastLt});
                previousLevel = level;
            }
            if (opens) {
                ++level;
                opens = false;
            }
        }
    }
    return build;
}

std::optional<TagTarget> TagTargetAt(const QStringList& positionList, int index, int textLength)
{
    if (index < 0 || index >= positionList.size())
        return std::nullopt;
    const QString& entry = positionList.at(index);
    const qsizetype split = entry.indexOf(u"##"_s);
    if (split < 0)
        return std::nullopt;
    bool ok = false;
    const int position = QStringView(entry).first(split).toInt(&ok);
    if (!ok || position < 0 || position >= textLength)
        return std::nullopt;
    const qsizetype nameLength = entry.size() - split - 2;
    // A name reaching past the text's end (the text changed since the
    // build) is cut at the end.
    return TagTarget{position, int(std::min<qsizetype>(nameLength, textLength - position))};
}

QString GoToTagCaption(const QString& nodeText)
{
    const qsizetype blank = nodeText.indexOf(u' ');
    return u"Перейти к <"_s + (blank < 0 ? nodeText : nodeText.first(blank)) + u">   (Enter)"_s;
}
