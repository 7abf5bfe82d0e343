#include "editor/Abbreviations.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QString kFailed = QStringLiteral("Сокращение не раскрыто: ");

bool isLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// ---- The tree ----

struct Attribute {
    QString name;
    QString value;
};

struct Node {
    QString name; // empty: implicit
    bool group = false;
    QString id;
    QStringList classes;
    std::vector<Attribute> attributes;
    std::optional<QString> text;
    int count = 1;
    std::vector<std::unique_ptr<Node>> children;
};

// Nested groups deeper than this are refused before the parser's stack is.
constexpr int kMaxDepth = 64;
// Placeholder text longer than this is refused.
constexpr int kMaxWords = 1000;

class Parser {
public:
    explicit Parser(QStringView s)
        : s_(s)
    {
    }

    // The top level; error() tells what went wrong.
    std::vector<std::unique_ptr<Node>> parse()
    {
        Node root;
        root.group = true;
        sequence(root, 0);
        if (error_.isEmpty() && i_ < s_.size())
            unexpected();
        return std::move(root.children);
    }
    const QString& error() const { return error_; }

private:
    QChar peek() const { return i_ < s_.size() ? s_[i_] : QChar(); }
    bool failed() const { return !error_.isEmpty(); }
    void fail(const QString& why)
    {
        if (error_.isEmpty())
            error_ = kFailed + why;
    }
    void unexpected()
    {
        if (i_ >= s_.size())
            fail(QStringLiteral("оно оборвано на конце"));
        else
            fail(QStringLiteral("лишний символ \"%1\" в позиции %2").arg(s_[i_]).arg(i_ + 1));
    }

    // Items joined by ">", "+" and "^" into the group's children, up to ")"
    // or the end.
    void sequence(Node& group, int depth)
    {
        std::vector<Node*> parents{&group};
        for (;;) {
            Node* item = this->item(depth);
            if (failed())
                return;
            parents.back()->children.push_back(std::unique_ptr<Node>(item));
            const QChar op = peek();
            if (op == u'>') {
                ++i_;
                if (depth + int(parents.size()) > 2 * kMaxDepth) {
                    fail(QStringLiteral("слишком глубокая вложенность"));
                    return;
                }
                parents.push_back(item);
            } else if (op == u'+') {
                ++i_;
            } else if (op == u'^') {
                while (peek() == u'^') {
                    ++i_;
                    if (parents.size() > 1)
                        parents.pop_back();
                }
            } else {
                return;
            }
        }
    }

    Node* item(int depth)
    {
        auto node = std::make_unique<Node>();
        if (peek() == u'(') {
            if (depth >= kMaxDepth) {
                fail(QStringLiteral("слишком глубоко вложены скобки"));
                return nullptr;
            }
            const qsizetype open = i_++;
            node->group = true;
            sequence(*node, depth + 1);
            if (failed())
                return nullptr;
            if (peek() != u')') {
                if (i_ >= s_.size())
                    fail(QStringLiteral("не закрыта скобка \"(\" в позиции %1").arg(open + 1));
                else
                    unexpected();
                return nullptr;
            }
            ++i_;
            multiplier(*node);
            return failed() ? nullptr : node.release();
        }
        node->name = word(true);
        if (node->name == u"!" && s_.size() != 1) {
            fail(QStringLiteral("\"!\" раскрывается только один"));
            return nullptr;
        }
        bool any = !node->name.isEmpty();
        for (;;) {
            const QChar c = peek();
            if (c == u'#') {
                ++i_;
                node->id = word(false);
                if (node->id.isEmpty())
                    return missing(QStringLiteral("после \"#\" нет имени"));
            } else if (c == u'.') {
                ++i_;
                const QString name = word(false);
                if (name.isEmpty())
                    return missing(QStringLiteral("после \".\" нет имени класса"));
                node->classes.append(name);
            } else if (c == u'[') {
                if (!attributes(*node))
                    return nullptr;
            } else if (c == u'{') {
                const qsizetype open = i_++;
                const qsizetype close = s_.indexOf(u'}', i_);
                if (close < 0) {
                    fail(QStringLiteral("не закрыта скобка \"{\" в позиции %1").arg(open + 1));
                    return nullptr;
                }
                node->text = node->text.value_or(QString()) + s_.sliced(i_, close - i_).toString();
                i_ = close + 1;
            } else if (c == u'*') {
                if (!multiplier(*node))
                    return nullptr;
            } else {
                break;
            }
            any = true;
        }
        if (!any) {
            if (i_ >= s_.size() && s_.isEmpty())
                fail(QStringLiteral("оно пустое"));
            else
                unexpected();
            return nullptr;
        }
        return node.release();
    }

    Node* missing(const QString& why)
    {
        fail(why);
        return nullptr;
    }

    // A name, id or class: up to the next operator.
    QString word(bool element)
    {
        const qsizetype from = i_;
        if (element && peek() == u'!') {
            ++i_;
            return QStringLiteral("!");
        }
        while (i_ < s_.size()) {
            const QChar c = s_[i_];
            const bool ok = isLetter(c) || isDigit(c) || c == u'-' || c == u'_' || c == u':' || c == u'$' || c == u'@'
                || (!element && c == u'!');
            if (!ok)
                break;
            ++i_;
        }
        return s_.sliced(from, i_ - from).toString();
    }

    bool multiplier(Node& node)
    {
        if (peek() != u'*')
            return true;
        ++i_;
        const qsizetype from = i_;
        qint64 n = 0;
        while (i_ < s_.size() && isDigit(s_[i_])) {
            n = std::min<qint64>(n * 10 + (s_[i_].unicode() - u'0'), qint64(kMaxAbbreviationElements) + 1);
            ++i_;
        }
        if (i_ == from) {
            fail(QStringLiteral("после \"*\" нет числа"));
            return false;
        }
        if (n == 0) {
            fail(QStringLiteral("умножение на ноль"));
            return false;
        }
        node.count = int(n);
        return true;
    }

    bool attributes(Node& node)
    {
        const qsizetype open = i_++;
        for (;;) {
            while (i_ < s_.size() && isBlank(s_[i_]))
                ++i_;
            if (i_ >= s_.size()) {
                fail(QStringLiteral("не закрыта скобка \"[\" в позиции %1").arg(open + 1));
                return false;
            }
            if (s_[i_] == u']') {
                ++i_;
                return true;
            }
            const qsizetype from = i_;
            while (i_ < s_.size() && !isBlank(s_[i_]) && s_[i_] != u'=' && s_[i_] != u']' && s_[i_] != u'"'
                && s_[i_] != u'\'')
                ++i_;
            Attribute a{s_.sliced(from, i_ - from).toString(), QString()};
            if (a.name.isEmpty()) {
                unexpected();
                return false;
            }
            if (peek() == u'=') {
                ++i_;
                const QChar q = peek();
                if (q == u'"' || q == u'\'') {
                    const qsizetype close = s_.indexOf(q, i_ + 1);
                    if (close < 0) {
                        fail(QStringLiteral("не закрыта кавычка в позиции %1").arg(i_ + 1));
                        return false;
                    }
                    a.value = s_.sliced(i_ + 1, close - i_ - 1).toString();
                    i_ = close + 1;
                } else {
                    const qsizetype vfrom = i_;
                    while (i_ < s_.size() && !isBlank(s_[i_]) && s_[i_] != u']')
                        ++i_;
                    a.value = s_.sliced(vfrom, i_ - vfrom).toString();
                }
            }
            auto same = std::find_if(node.attributes.begin(), node.attributes.end(), [&](const Attribute& b) { return b.name == a.name; });
            if (same != node.attributes.end())
                same->value = a.value;
            else
                node.attributes.push_back(std::move(a));
        }
    }

    QStringView s_;
    qsizetype i_ = 0;
    QString error_;
};

// Elements the tree makes, multiplications counted out; stops counting past
// the limit, so a nest of multiplications never overflows.
qint64 countElements(const std::vector<std::unique_ptr<Node>>& nodes, qint64 factor)
{
    qint64 total = 0;
    for (const auto& n : nodes) {
        const qint64 f = std::min<qint64>(factor * n->count, qint64(kMaxAbbreviationElements) + 1);
        if (!n->group)
            total += f;
        total += countElements(n->children, f);
        if (total > kMaxAbbreviationElements)
            return total;
    }
    return total;
}

// ---- Names ----

bool isInline(const QString& name)
{
    static const QSet<QString> names = {
        QStringLiteral("a"), QStringLiteral("abbr"), QStringLiteral("b"), QStringLiteral("bdi"), QStringLiteral("bdo"),
        QStringLiteral("br"), QStringLiteral("button"), QStringLiteral("cite"), QStringLiteral("code"), QStringLiteral("data"),
        QStringLiteral("dfn"), QStringLiteral("em"), QStringLiteral("i"), QStringLiteral("img"), QStringLiteral("input"),
        QStringLiteral("kbd"), QStringLiteral("label"), QStringLiteral("mark"), QStringLiteral("q"), QStringLiteral("s"),
        QStringLiteral("samp"), QStringLiteral("small"), QStringLiteral("span"), QStringLiteral("strong"),
        QStringLiteral("sub"), QStringLiteral("sup"), QStringLiteral("time"), QStringLiteral("u"), QStringLiteral("var"),
        QStringLiteral("wbr"),
    };
    return names.contains(name.toLower());
}

bool isVoid(const QString& name)
{
    static const QSet<QString> names = {
        QStringLiteral("area"), QStringLiteral("base"), QStringLiteral("br"), QStringLiteral("col"), QStringLiteral("embed"),
        QStringLiteral("hr"), QStringLiteral("img"), QStringLiteral("input"), QStringLiteral("link"), QStringLiteral("meta"),
        QStringLiteral("source"), QStringLiteral("track"), QStringLiteral("wbr"),
    };
    return names.contains(name.toLower());
}

// Element names Tab expands when typed alone.
bool isKnownElement(QStringView name)
{
    static const QSet<QString> names = [] {
        QSet<QString> s;
        for (const char* n : {"a", "abbr", "address", "article", "aside", "audio", "b", "blockquote", "body", "br", "button",
                 "canvas", "caption", "cite", "code", "col", "colgroup", "dd", "del", "details", "dfn", "div", "dl", "dt", "em",
                 "embed", "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4", "h5", "h6", "head",
                 "header", "hr", "html", "i", "iframe", "img", "input", "ins", "kbd", "label", "legend", "li", "link", "main",
                 "mark", "meta", "nav", "noscript", "object", "ol", "optgroup", "option", "p", "picture", "pre", "q", "s",
                 "samp", "script", "section", "select", "small", "source", "span", "strong", "style", "sub", "summary", "sup",
                 "table", "tbody", "td", "template", "textarea", "tfoot", "th", "thead", "time", "title", "tr", "u", "ul",
                 "var", "video"})
            s.insert(QString::fromLatin1(n));
        return s;
    }();
    return names.contains(name.toString().toLower());
}

QString implicitName(const QString& parent)
{
    const QString p = parent.toLower();
    if (p == u"ul" || p == u"ol")
        return QStringLiteral("li");
    if (p == u"table" || p == u"tbody" || p == u"thead" || p == u"tfoot")
        return QStringLiteral("tr");
    if (p == u"tr")
        return QStringLiteral("td");
    if (p == u"select" || p == u"optgroup")
        return QStringLiteral("option");
    if (!p.isEmpty() && isInline(p))
        return QStringLiteral("span");
    return QStringLiteral("div");
}

// Attributes an element comes with, before those typed.
std::vector<Attribute> defaultAttributes(const QString& name)
{
    const QString n = name.toLower();
    if (n == u"a")
        return {{QStringLiteral("href"), {}}};
    if (n == u"img")
        return {{QStringLiteral("src"), {}}, {QStringLiteral("alt"), {}}};
    if (n == u"link")
        return {{QStringLiteral("rel"), QStringLiteral("stylesheet")}, {QStringLiteral("href"), {}}};
    if (n == u"input")
        return {{QStringLiteral("type"), QStringLiteral("text")}};
    if (n == u"form")
        return {{QStringLiteral("action"), {}}};
    return {};
}

// ---- Placeholder text ----

const char* const kLorem[] = {"lorem", "ipsum", "dolor", "sit", "amet", "consectetur", "adipiscing", "elit", "sed", "do",
    "eiusmod", "tempor", "incididunt", "ut", "labore", "et", "dolore", "magna", "aliqua", "enim", "ad", "minim", "veniam",
    "quis", "nostrud", "exercitation", "ullamco", "laboris", "nisi", "aliquip", "ex", "ea", "commodo", "consequat"};
const char* const kRyba[] = {"здесь", "будет", "текст", "страницы", "который", "автор", "напишет", "позже", "а", "пока",
    "эти", "слова", "только", "занимают", "место", "и", "показывают", "как", "ляжет", "шрифт", "в", "абзаце", "на",
    "узком", "и", "широком", "экране", "читать", "их", "не", "нужно"};

// "lorem", "lorem12", "ryba", "ryba5": the number of words, or nothing for
// another name; -1 for a number past the limit.
std::optional<int> placeholderWords(const QString& name, bool& russian)
{
    QStringView rest;
    if (name.startsWith(u"lorem"))
        rest = QStringView(name).sliced(5), russian = false;
    else if (name.startsWith(u"ryba"))
        rest = QStringView(name).sliced(4), russian = true;
    else
        return std::nullopt;
    if (rest.isEmpty())
        return 30;
    qint64 n = 0;
    for (QChar c : rest) {
        if (!isDigit(c))
            return std::nullopt;
        n = std::min<qint64>(n * 10 + (c.unicode() - u'0'), kMaxWords + 1);
    }
    return n > kMaxWords ? -1 : int(n);
}

QString placeholderText(int words, bool russian)
{
    QString out;
    const int size = russian ? int(std::size(kRyba)) : int(std::size(kLorem));
    for (int k = 0; k < words; ++k) {
        QString w = QString::fromUtf8(russian ? kRyba[k % size] : kLorem[k % size]);
        if (k == 0)
            w[0] = w[0].toUpper();
        if (k > 0)
            out += u' ';
        out += w;
    }
    if (words > 0)
        out += u'.';
    return out;
}

// ---- Numbering ----

struct Counter {
    int index = 0; // 0-based
    int count = 1;
};

// Every run of "$" with its "@" options replaced by the number.
QString numbered(const QString& s, Counter c)
{
    if (!s.contains(u'$'))
        return s;
    QString out;
    for (qsizetype i = 0; i < s.size();) {
        if (s[i] != u'$') {
            out += s[i++];
            continue;
        }
        int width = 0;
        while (i < s.size() && s[i] == u'$')
            ++width, ++i;
        bool down = false;
        qint64 base = 1;
        if (i < s.size() && s[i] == u'@') {
            ++i;
            if (i < s.size() && s[i] == u'-')
                down = true, ++i;
            if (i < s.size() && isDigit(s[i])) {
                base = 0;
                while (i < s.size() && isDigit(s[i])) {
                    base = std::min<qint64>(base * 10 + (s[i].unicode() - u'0'), 1000000000);
                    ++i;
                }
            }
        }
        const qint64 n = base + (down ? c.count - 1 - c.index : c.index);
        out += QStringLiteral("%1").arg(n, std::min(width, 20), 10, QChar(u'0'));
    }
    return out;
}

// ---- HTML output ----

QString escapedValue(const QString& v)
{
    QString out = v;
    out.replace(u'"', QStringLiteral("&quot;"));
    return out;
}

class HtmlWriter {
public:
    HtmlWriter(QStringView indent, QStringView lineEnd)
        : indent_(indent.toString())
        , lineEnd_(lineEnd.toString())
    {
    }

    // One item of a run: what it says, and whether it takes lines of its own.
    struct Piece {
        QString text;
        bool block = false;
        int caret = -1; // inside text
    };

    std::vector<Piece> pieces(const std::vector<std::unique_ptr<Node>>& nodes, const QString& parent, Counter counter, int depth)
    {
        std::vector<Piece> out;
        for (const auto& n : nodes) {
            for (int k = 0; k < n->count; ++k) {
                const Counter c = n->count > 1 ? Counter{k, n->count} : counter;
                if (n->group) {
                    std::vector<Piece> inner = pieces(n->children, parent, c, depth);
                    out.insert(out.end(), std::make_move_iterator(inner.begin()), std::make_move_iterator(inner.end()));
                } else {
                    out.push_back(element(*n, parent, c, depth));
                }
            }
        }
        return out;
    }

    // A run of pieces at a depth: block pieces on lines of their own,
    // neighbouring inline ones together. The first line starts where the run
    // does; with startOnNewLine it starts on a new line.
    Piece join(const std::vector<Piece>& run, int depth, bool startOnNewLine)
    {
        Piece out;
        const QString newLine = lineEnd_ + indent_ + QString(depth, u'\t');
        bool first = true;
        bool previousBlock = false;
        for (const Piece& p : run) {
            if (startOnNewLine ? (first || p.block || previousBlock) : (!first && (p.block || previousBlock)))
                out.text += newLine;
            if (out.caret < 0 && p.caret >= 0)
                out.caret = int(out.text.size()) + p.caret;
            out.text += p.text;
            previousBlock = p.block;
            first = false;
        }
        out.block = std::any_of(run.begin(), run.end(), [](const Piece& p) { return p.block; });
        return out;
    }

private:
    Piece element(const Node& n, const QString& parent, Counter c, int depth)
    {
        QString name = numbered(n.name, c);
        Piece p;
        bool russian = false;
        if (const auto words = placeholderWords(name, russian); words && n.id.isEmpty() && n.classes.isEmpty() && n.attributes.empty()) {
            p.text = placeholderText(*words, russian);
            return p;
        }
        if (name.isEmpty())
            name = implicitName(parent);
        p.block = !isInline(name);
        p.text = u'<' + name;
        std::vector<Attribute> attributes = defaultAttributes(name);
        auto set = [&](const QString& an, const QString& value) {
            auto same = std::find_if(attributes.begin(), attributes.end(), [&](const Attribute& a) { return a.name == an; });
            if (same != attributes.end())
                same->value = value;
            else
                attributes.push_back({an, value});
        };
        std::vector<Attribute> typed;
        if (!n.id.isEmpty())
            typed.push_back({QStringLiteral("id"), numbered(n.id, c)});
        if (!n.classes.isEmpty()) {
            QStringList classes;
            for (const QString& cl : n.classes)
                classes.append(numbered(cl, c));
            typed.push_back({QStringLiteral("class"), classes.join(u' ')});
        }
        for (const Attribute& a : n.attributes)
            typed.push_back({numbered(a.name, c), numbered(a.value, c)});
        // Typed id and class come first, then the element's own, then the rest.
        std::vector<Attribute> ordered;
        for (const Attribute& a : typed)
            if (a.name == u"id" || a.name == u"class")
                ordered.push_back(a);
        for (const Attribute& a : attributes)
            ordered.push_back(a);
        attributes = ordered;
        for (const Attribute& a : typed)
            if (a.name != u"id" && a.name != u"class")
                set(a.name, a.value);
        for (const Attribute& a : attributes) {
            p.text += u' ' + a.name + QStringLiteral("=\"");
            if (a.value.isEmpty() && p.caret < 0)
                p.caret = int(p.text.size());
            p.text += escapedValue(a.value) + u'"';
        }
        p.text += u'>';
        if (isVoid(name))
            return p;
        std::vector<Piece> content;
        if (n.text)
            content.push_back({numbered(*n.text, c), false, -1});
        std::vector<Piece> children = pieces(n.children, name, c, depth + 1);
        content.insert(content.end(), std::make_move_iterator(children.begin()), std::make_move_iterator(children.end()));
        const bool multiline = std::any_of(content.begin(), content.end(), [](const Piece& q) { return q.block; });
        if (content.empty() || (content.size() == 1 && content.front().text.isEmpty())) {
            if (p.caret < 0)
                p.caret = int(p.text.size());
        } else {
            const Piece inner = join(content, depth + 1, multiline);
            if (p.caret < 0 && inner.caret >= 0)
                p.caret = int(p.text.size()) + inner.caret;
            p.text += inner.text;
            if (multiline)
                p.text += lineEnd_ + indent_ + QString(depth, u'\t');
        }
        p.text += QStringLiteral("</") + name + u'>';
        return p;
    }

    QString indent_;
    QString lineEnd_;
};

AbbreviationExpansion skeleton(QStringView indent, QStringView lineEnd)
{
    const QString nl = lineEnd.toString() + indent.toString();
    AbbreviationExpansion e;
    e.text = QStringLiteral("<!DOCTYPE html>") + nl + QStringLiteral("<html lang=\"ru\">") + nl + QStringLiteral("<head>") + nl
        + QStringLiteral("\t<meta charset=\"utf-8\">") + nl
        + QStringLiteral("\t<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">") + nl
        + QStringLiteral("\t<title>Документ</title>") + nl + QStringLiteral("</head>") + nl + QStringLiteral("<body>") + nl
        + u'\t';
    e.caret = int(e.text.size());
    e.text += nl + QStringLiteral("</body>") + nl + QStringLiteral("</html>");
    return e;
}

// ---- CSS ----

enum class CssValues { Numbers, Colour, None };

struct CssEntry {
    const char* abbreviation;
    const char* property;
    CssValues values;
    const char* fixed; // the value of a whole declaration, or the default one
    bool unitless = false;
};

const CssEntry kCss[] = {
    {"m", "margin", CssValues::Numbers, ""},
    {"mt", "margin-top", CssValues::Numbers, ""},
    {"mr", "margin-right", CssValues::Numbers, ""},
    {"mb", "margin-bottom", CssValues::Numbers, ""},
    {"ml", "margin-left", CssValues::Numbers, ""},
    {"p", "padding", CssValues::Numbers, ""},
    {"pt", "padding-top", CssValues::Numbers, ""},
    {"pr", "padding-right", CssValues::Numbers, ""},
    {"pb", "padding-bottom", CssValues::Numbers, ""},
    {"pl", "padding-left", CssValues::Numbers, ""},
    {"w", "width", CssValues::Numbers, ""},
    {"h", "height", CssValues::Numbers, ""},
    {"miw", "min-width", CssValues::Numbers, ""},
    {"maw", "max-width", CssValues::Numbers, ""},
    {"mih", "min-height", CssValues::Numbers, ""},
    {"mah", "max-height", CssValues::Numbers, ""},
    {"t", "top", CssValues::Numbers, ""},
    {"r", "right", CssValues::Numbers, ""},
    {"b", "bottom", CssValues::Numbers, ""},
    {"l", "left", CssValues::Numbers, ""},
    {"fz", "font-size", CssValues::Numbers, ""},
    {"lh", "line-height", CssValues::Numbers, "", true},
    {"fw", "font-weight", CssValues::Numbers, "", true},
    {"zi", "z-index", CssValues::Numbers, "", true},
    {"op", "opacity", CssValues::Numbers, "", true},
    {"bdrs", "border-radius", CssValues::Numbers, ""},
    {"ti", "text-indent", CssValues::Numbers, ""},
    {"c", "color", CssValues::Colour, "#000"},
    {"bg", "background", CssValues::Colour, "#000"},
    {"bgc", "background-color", CssValues::Colour, "#fff"},
    {"bdc", "border-color", CssValues::Colour, "#000"},
    {"bd", "border", CssValues::None, "1px solid #000"},
    {"d", "display", CssValues::None, "block"},
    {"db", "display", CssValues::None, "block"},
    {"di", "display", CssValues::None, "inline"},
    {"dib", "display", CssValues::None, "inline-block"},
    {"dn", "display", CssValues::None, "none"},
    {"df", "display", CssValues::None, "flex"},
    {"dg", "display", CssValues::None, "grid"},
    {"fl", "float", CssValues::None, "left"},
    {"fr", "float", CssValues::None, "right"},
    {"fn", "float", CssValues::None, "none"},
    {"cl", "clear", CssValues::None, "both"},
    {"pos", "position", CssValues::None, "relative"},
    {"posa", "position", CssValues::None, "absolute"},
    {"posr", "position", CssValues::None, "relative"},
    {"posf", "position", CssValues::None, "fixed"},
    {"poss", "position", CssValues::None, "static"},
    {"ta", "text-align", CssValues::None, "left"},
    {"tal", "text-align", CssValues::None, "left"},
    {"tac", "text-align", CssValues::None, "center"},
    {"tar", "text-align", CssValues::None, "right"},
    {"taj", "text-align", CssValues::None, "justify"},
    {"fwb", "font-weight", CssValues::None, "bold"},
    {"fwn", "font-weight", CssValues::None, "normal"},
    {"fsi", "font-style", CssValues::None, "italic"},
    {"tdn", "text-decoration", CssValues::None, "none"},
    {"tdu", "text-decoration", CssValues::None, "underline"},
    {"ttu", "text-transform", CssValues::None, "uppercase"},
    {"ovh", "overflow", CssValues::None, "hidden"},
    {"ova", "overflow", CssValues::None, "auto"},
    {"cp", "cursor", CssValues::None, "pointer"},
    {"bxzb", "box-sizing", CssValues::None, "border-box"},
    {"vat", "vertical-align", CssValues::None, "top"},
    {"vam", "vertical-align", CssValues::None, "middle"},
    {"wsnw", "white-space", CssValues::None, "nowrap"},
    {"ma", "margin", CssValues::None, "0 auto"},
};

const CssEntry* cssEntry(QStringView name)
{
    for (const CssEntry& e : kCss)
        if (name == QLatin1String(e.abbreviation))
            return &e;
    return nullptr;
}

// The letters that begin a CSS abbreviation.
QStringView cssName(QStringView a)
{
    qsizetype n = 0;
    while (n < a.size() && isLetter(a[n]))
        ++n;
    return a.first(n);
}

std::optional<QString> cssNumber(QStringView v, bool unitless)
{
    bool negative = false;
    if (v.startsWith(u'-'))
        negative = true, v = v.sliced(1);
    qsizetype n = 0;
    bool dot = false;
    while (n < v.size() && (isDigit(v[n]) || (v[n] == u'.' && !dot))) {
        dot = dot || v[n] == u'.';
        ++n;
    }
    const QStringView number = v.first(n);
    const QStringView unit = v.sliced(n);
    if (number.isEmpty() || number == u"." || number.size() > 12)
        return std::nullopt;
    QString out = (negative ? QStringLiteral("-") : QString()) + number.toString();
    if (number.startsWith(u'.'))
        out.insert(negative ? 1 : 0, u'0');
    if (unit.isEmpty()) {
        const bool zero = std::all_of(number.begin(), number.end(), [](QChar c) { return c == u'0' || c == u'.'; });
        if (!unitless && !zero)
            out += QStringLiteral("px");
        return out;
    }
    if (unit == u"p" || unit == u"%")
        return out + u'%';
    if (unit == u"e" || unit == u"em")
        return out + QStringLiteral("em");
    if (unit == u"r" || unit == u"rem")
        return out + QStringLiteral("rem");
    if (unit == u"x" || unit == u"ex")
        return out + QStringLiteral("ex");
    if (unit == u"px" || unit == u"pt" || unit == u"vh" || unit == u"vw")
        return out + unit.toString();
    return std::nullopt;
}

AbbreviationExpansion expandCss(QStringView a)
{
    AbbreviationExpansion e;
    const QStringView name = cssName(a);
    const CssEntry* entry = name.isEmpty() ? nullptr : cssEntry(name);
    if (!entry) {
        e.error = kFailed + QStringLiteral("\"%1\" не сокращение CSS").arg(a.toString());
        return e;
    }
    const QStringView rest = a.sliced(name.size());
    const QString head = QLatin1String(entry->property) + u':';
    QString value;
    if (rest.isEmpty()) {
        value = QLatin1String(entry->fixed);
    } else if (entry->values == CssValues::None) {
        e.error = kFailed + QStringLiteral("у \"%1\" не бывает значений").arg(name.toString());
        return e;
    } else if (entry->values == CssValues::Colour) {
        const QStringView hex = rest.startsWith(u'#') ? rest.sliced(1) : rest;
        const bool ok = (hex.size() == 3 || hex.size() == 6)
            && std::all_of(hex.begin(), hex.end(), [](QChar c) { return isDigit(c) || (c.toLower() >= u'a' && c.toLower() <= u'f'); });
        if (!ok) {
            e.error = kFailed + QStringLiteral("\"%1\" не код цвета").arg(rest.toString());
            return e;
        }
        value = u'#' + hex.toString().toLower();
    } else {
        // "-" separates values; one more "-" makes the next value negative.
        QStringList parts;
        qsizetype i = 0;
        while (i < rest.size()) {
            qsizetype from = i;
            if (rest[i] == u'-')
                ++i;
            while (i < rest.size() && rest[i] != u'-')
                ++i;
            const auto number = cssNumber(rest.sliced(from, i - from), entry->unitless);
            if (!number || parts.size() >= 4) {
                e.error = kFailed + QStringLiteral("\"%1\" не значение для %2").arg(rest.toString(), QLatin1String(entry->property));
                return e;
            }
            parts.append(*number);
            if (i < rest.size()) {
                ++i; // the separator
                if (i >= rest.size()) {
                    e.error = kFailed + QStringLiteral("после \"-\" нет значения");
                    return e;
                }
            }
        }
        value = parts.join(u' ');
    }
    e.text = head + value;
    e.caret = int(e.text.size()) + (value.isEmpty() ? 0 : 1);
    e.text += u';';
    return e;
}

bool isAbbreviationChar(QChar c)
{
    return isLetter(c) || isDigit(c) || QStringView(u"-_:!>+^*()#.$@%").contains(c);
}

} // namespace

AbbreviationContext AbbreviationContextAt(ColouringKind kind, int lineStartState, QStringView lineBefore)
{
    if (kind == ColouringKind::Plain || kind == ColouringKind::Js)
        return AbbreviationContext::None;
    const int state = ColourLine(kind, lineBefore, lineStartState, nullptr);
    // What a probe typed here would be coloured as tells where it stands.
    std::vector<TokenSpan> spans;
    ColourLine(kind, u"a", state, &spans);
    if (!spans.empty() && spans.front().start == 0) {
        const Token t = spans.front().token;
        if (t == Token::Property || t == Token::Selector || t == Token::CssValue)
            return AbbreviationContext::Css;
    }
    if (kind != ColouringKind::Html)
        return AbbreviationContext::None;
    ColourLine(kind, u"<b>", state, &spans);
    if (!spans.empty() && spans.front().start == 0 && spans.front().token == Token::Tag && spans.front().length >= 2)
        return AbbreviationContext::Html;
    return AbbreviationContext::None;
}

int AbbreviationStart(QStringView line, int caret, AbbreviationContext context)
{
    caret = std::clamp(caret, 0, int(line.size()));
    if (context == AbbreviationContext::None)
        return caret;
    if (context == AbbreviationContext::Css) {
        int i = caret;
        while (i > 0 && (isLetter(line[i - 1]) || isDigit(line[i - 1]) || QStringView(u"-.#%").contains(line[i - 1])))
            --i;
        return i;
    }
    // Where the last tag before the caret ends; none open at the caret.
    int limit = 0;
    bool inTag = false;
    QChar quote;
    for (int i = 0; i < caret; ++i) {
        const QChar c = line[i];
        if (inTag) {
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                inTag = false;
                limit = i + 1;
            }
        } else if (c == u'<' && i + 1 < line.size() && (isLetter(line[i + 1]) || QStringView(u"/!?").contains(line[i + 1]))) {
            inTag = true;
        }
    }
    if (inTag)
        return caret;
    bool inBrace = false, inBracket = false;
    quote = QChar();
    int i = caret;
    for (; i > limit; --i) {
        const QChar c = line[i - 1];
        if (inBrace) {
            if (c == u'{')
                inBrace = false;
        } else if (inBracket) {
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'[') {
                inBracket = false;
            }
        } else if (c == u'}') {
            inBrace = true;
        } else if (c == u']') {
            inBracket = true;
        } else if (!isAbbreviationChar(c)) {
            break;
        }
    }
    // An unclosed "}" or "]" ran into the limit: no abbreviation.
    if (inBrace || inBracket)
        return caret;
    return i;
}

bool IsAbbreviationForTab(QStringView a, AbbreviationContext context)
{
    if (a.isEmpty() || context == AbbreviationContext::None)
        return false;
    if (context == AbbreviationContext::Css) {
        const QStringView name = cssName(a);
        return !name.isEmpty() && cssEntry(name) != nullptr;
    }
    const QChar first = a.front();
    if (!(isLetter(first) || QStringView(u"!.#[({").contains(first)))
        return false;
    for (QChar c : a)
        if (QStringView(u">+^*#.[{(!$").contains(c))
            return true;
    bool russian = false;
    return isKnownElement(a) || placeholderWords(a.toString(), russian).has_value();
}

AbbreviationExpansion ExpandAbbreviation(QStringView abbreviation, AbbreviationContext context, QStringView indent, QStringView lineEnd)
{
    AbbreviationExpansion e;
    if (abbreviation.isEmpty()) {
        e.error = kFailed + QStringLiteral("оно пустое");
        return e;
    }
    if (context == AbbreviationContext::None) {
        e.error = kFailed + QStringLiteral("здесь сокращения не раскрываются");
        return e;
    }
    if (context == AbbreviationContext::Css)
        return expandCss(abbreviation);
    Parser parser(abbreviation);
    const std::vector<std::unique_ptr<Node>> tree = parser.parse();
    if (!parser.error().isEmpty()) {
        e.error = parser.error();
        return e;
    }
    if (countElements(tree, 1) > kMaxAbbreviationElements) {
        e.error = kFailed + QStringLiteral("в нём больше 1 000 элементов");
        return e;
    }
    if (tree.size() == 1 && tree.front()->name == u"!")
        return skeleton(indent, lineEnd);
    // Placeholder counts anywhere in the tree.
    std::vector<const Node*> stack;
    for (const auto& n : tree)
        stack.push_back(n.get());
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        bool russian = false;
        const auto words = placeholderWords(n->name, russian);
        if (words && *words < 0) {
            e.error = kFailed + QStringLiteral("в тексте-заполнителе больше %1 слов").arg(kMaxWords);
            return e;
        }
        for (const auto& c : n->children)
            stack.push_back(c.get());
    }
    HtmlWriter writer(indent, lineEnd);
    const std::vector<HtmlWriter::Piece> run = writer.pieces(tree, QString(), Counter{}, 0);
    const HtmlWriter::Piece all = writer.join(run, 0, false);
    e.text = all.text;
    e.caret = all.caret >= 0 ? all.caret : int(all.text.size());
    return e;
}

QStringView LineIndent(QStringView line)
{
    qsizetype n = 0;
    while (n < line.size() && isBlank(line[n]))
        ++n;
    return line.first(n);
}
