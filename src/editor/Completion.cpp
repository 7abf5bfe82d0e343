#include "editor/Completion.h"

#include <QFile>
#include <QSet>

static void initCompletionResource() { Q_INIT_RESOURCE(completion); }

namespace {

QString readResource(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// "name = v1 v2 | hint" or "name | hint" into its parts; false when the line
// has no hint or no name.
bool splitFact(QStringView line, QString& name, QStringList& values, QString& hint)
{
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0)
        return false;
    hint = line.sliced(bar + 1).trimmed().toString();
    QStringView head = line.first(bar).trimmed();
    values.clear();
    const qsizetype eq = head.indexOf(u'=');
    if (eq >= 0) {
        values = head.sliced(eq + 1).toString().split(u' ', Qt::SkipEmptyParts);
        head = head.first(eq).trimmed();
    }
    name = head.toString();
    return !name.isEmpty() && !hint.isEmpty() && !name.contains(u' ') && (eq < 0 || !values.isEmpty());
}

bool skipped(QStringView line) { return line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'); }

// Calls fact(line, number) for every line of a table that holds a fact (not
// blank, not a comment), its line end cut off; numbers count from 1.
template <typename Fact>
void forEachFactLine(const QString& text, Fact fact)
{
    int n = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++n;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!skipped(line))
            fact(line, n);
    }
}

// Notes a name the table gave before.
void noteRepeat(QSet<QString>& seen, const QString& name, const QString& what, QStringList& faults)
{
    if (seen.contains(name))
        faults << QStringLiteral("%1 %2 twice").arg(what, name);
    seen.insert(name);
}

void noteDuplicates(const QStringList& values, const QString& where, QStringList& faults)
{
    QSet<QString> seen;
    for (const QString& v : values) {
        if (seen.contains(v))
            faults << QStringLiteral("%1: value %2 twice").arg(where, v);
        seen.insert(v);
    }
}

void parseHtml(const QString& text, CompletionTables& t)
{
    QSet<QString> elements;
    HtmlElementFact* current = nullptr;
    QSet<QString> attributes;
    forEachFactLine(text, [&](QStringView line, int n) {
        if (line.startsWith(u"@obsolete")) {
            t.obsolete << line.sliced(9).toString().split(u' ', Qt::SkipEmptyParts);
            return;
        }
        QString name, hint;
        QStringList values;
        if (!splitFact(line, name, values, hint)) {
            t.faults << QStringLiteral("html.txt:%1: not a fact").arg(n);
            return;
        }
        if (line.front() == u' ' || line.front() == u'\t') {
            if (!current) {
                t.faults << QStringLiteral("html.txt:%1: attribute before any element").arg(n);
                return;
            }
            noteRepeat(attributes, name, QStringLiteral("html.txt:%1: attribute").arg(n), t.faults);
            noteDuplicates(values, QStringLiteral("html.txt:%1").arg(n), t.faults);
            current->attributes.push_back({name, hint, values});
            return;
        }
        if (!values.isEmpty())
            t.faults << QStringLiteral("html.txt:%1: element with values").arg(n);
        noteRepeat(elements, name, QStringLiteral("html.txt:%1: element").arg(n), t.faults);
        attributes.clear();
        if (name == u"*") {
            t.global = {name, hint, {}};
            current = &t.global;
        } else {
            t.elements.push_back({name, hint, {}});
            current = &t.elements.back();
        }
    });
    // An element's own attribute may not repeat a global one.
    for (const HtmlElementFact& e : t.elements)
        for (const HtmlAttributeFact& a : e.attributes)
            for (const HtmlAttributeFact& g : t.global.attributes)
                if (a.name == g.name)
                    t.faults << QStringLiteral("html.txt: %1 of %2 is a global attribute").arg(a.name, e.name);
}

void parseCss(const QString& text, CompletionTables& t)
{
    QSet<QString> seen;
    forEachFactLine(text, [&](QStringView line, int n) {
        QString name, hint;
        QStringList values;
        if (!splitFact(line, name, values, hint)) {
            t.faults << QStringLiteral("css.txt:%1: not a fact").arg(n);
            return;
        }
        noteRepeat(seen, name, QStringLiteral("css.txt:%1: property").arg(n), t.faults);
        noteDuplicates(values, QStringLiteral("css.txt:%1").arg(n), t.faults);
        t.properties.push_back({name, hint, values});
    });
}

void parseReferences(const QString& text, CompletionTables& t)
{
    QSet<QString> seen;
    forEachFactLine(text, [&](QStringView line, int n) {
        const qsizetype bar = line.indexOf(u'|');
        const QStringList parts = bar < 0 ? QStringList() : line.first(bar).toString().split(u' ', Qt::SkipEmptyParts);
        bool ok = false;
        const uint code = parts.size() == 2 ? parts[1].toUInt(&ok, 16) : 0;
        const QString hint = bar < 0 ? QString() : line.sliced(bar + 1).trimmed().toString();
        if (!ok || code == 0 || code > 0x10FFFF || hint.isEmpty()) {
            t.faults << QStringLiteral("entities.txt:%1: not a fact").arg(n);
            return;
        }
        noteRepeat(seen, parts[0], QStringLiteral("entities.txt:%1:").arg(n), t.faults);
        t.references.push_back({parts[0], char32_t(code), hint});
    });
}

bool isNameChar(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'; }
bool isAttrChar(QChar c) { return isNameChar(c) || c == u'_' || c == u':' || c == u'.'; }
bool isCssChar(QChar c) { return isNameChar(c) || c == u'_'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Start of the run of characters accepted by ok that ends at end.
template <typename Ok>
int runStart(QStringView s, int end, Ok ok)
{
    int i = end;
    while (i > 0 && ok(s[i - 1]))
        --i;
    return i;
}

// The name of the tag the position is inside: after the last "<" before it.
QString tagNameBefore(QStringView s, int pos)
{
    const qsizetype lt = s.first(pos).lastIndexOf(u'<');
    if (lt < 0)
        return {};
    int e = int(lt) + 1;
    while (e < pos && isNameChar(s[e]))
        ++e;
    return s.sliced(lt + 1, e - lt - 1).toString().toLower();
}

const QStringList& pathAttributes()
{
    static const QStringList names = {QStringLiteral("src"), QStringLiteral("href"), QStringLiteral("poster"),
                                      QStringLiteral("action"), QStringLiteral("data")};
    return names;
}

CompletionContext attributeValueContext(QStringView s, int caret)
{
    CompletionContext c;
    // The opening quote: the last quote before the caret.
    int q = caret - 1;
    while (q >= 0 && s[q] != u'"' && s[q] != u'\'')
        --q;
    if (q < 0)
        return c;
    int i = q;
    while (i > 0 && isBlank(s[i - 1]))
        --i;
    if (i == 0 || s[i - 1] != u'=')
        return c;
    --i;
    while (i > 0 && isBlank(s[i - 1]))
        --i;
    const int nameStart = runStart(s, i, isAttrChar);
    if (nameStart == i)
        return c;
    c.attribute = s.sliced(nameStart, i - nameStart).toString().toLower();
    c.element = tagNameBefore(s, nameStart);
    const QStringView value = s.sliced(q + 1, caret - q - 1);
    const qsizetype blank = std::max(value.lastIndexOf(u' '), value.lastIndexOf(u'\t'));
    const QString lastWord = value.sliced(blank + 1).toString();
    if (c.attribute == u"class") {
        c.kind = CompletionKind::ClassName;
        c.prefix = lastWord;
    } else if (pathAttributes().contains(c.attribute) && !(c.element == u"object" && c.attribute != u"data")) {
        c.kind = CompletionKind::Path;
        c.prefix = value.toString();
    } else if (const HtmlAttributeFact* a = CompletionData().attribute(c.element, c.attribute); a && !a->values.isEmpty()) {
        c.kind = CompletionKind::AttributeValue;
        c.prefix = lastWord;
    }
    return c;
}

CompletionContext cssValueContext(QStringView s, int caret)
{
    CompletionContext c;
    const int start = runStart(s, caret, isCssChar);
    // The property: the name before the ":" this value follows.
    int i = start - 1;
    int depth = 0;
    for (; i >= 0; --i) {
        const QChar ch = s[i];
        if (ch == u')')
            ++depth;
        else if (ch == u'(')
            depth = std::max(0, depth - 1);
        else if (depth == 0 && ch == u':')
            break;
        else if (ch == u';' || ch == u'{' || ch == u'}' || ch == u'"' || ch == u'\'')
            return c;
    }
    if (i < 0)
        return c;
    int e = i;
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    const int p = runStart(s, e, isCssChar);
    if (p == e)
        return c;
    c.kind = CompletionKind::CssValue;
    c.property = s.sliced(p, e - p).toString().toLower();
    c.prefix = s.sliced(start, caret - start).toString();
    return c;
}

} // namespace

CompletionTables ParseCompletionTables(const QString& html, const QString& css, const QString& references)
{
    CompletionTables t;
    parseHtml(html, t);
    parseCss(css, t);
    parseReferences(references, t);
    return t;
}

const CompletionTables& CompletionData()
{
    static const CompletionTables tables = [] {
        initCompletionResource();
        return ParseCompletionTables(readResource(QStringLiteral(":/completion/html.txt")),
                                     readResource(QStringLiteral(":/completion/css.txt")),
                                     readResource(QStringLiteral(":/completion/entities.txt")));
    }();
    return tables;
}

const HtmlElementFact* CompletionTables::element(QStringView name) const
{
    for (const HtmlElementFact& e : elements)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

const CssPropertyFact* CompletionTables::property(QStringView name) const
{
    for (const CssPropertyFact& p : properties)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const HtmlAttributeFact* CompletionTables::attribute(QStringView elementName, QStringView name) const
{
    if (const HtmlElementFact* e = element(elementName))
        for (const HtmlAttributeFact& a : e->attributes)
            if (a.name.compare(name, Qt::CaseInsensitive) == 0)
                return &a;
    for (const HtmlAttributeFact& a : global.attributes)
        if (a.name.compare(name, Qt::CaseInsensitive) == 0)
            return &a;
    return nullptr;
}

CompletionContext CompletionContextAt(QStringView window, int caret, ColouringKind kind, int state)
{
    CompletionContext none;
    if (kind == ColouringKind::Plain || caret < 0 || caret > window.size())
        return none;
    // The state at the caret: the whole lines before it, then its line's start.
    int lineStart = 0;
    for (;;) {
        const qsizetype nl = window.indexOf(u'\n', lineStart);
        if (nl < 0 || nl >= caret)
            break;
        QStringView line = window.sliced(lineStart, nl - lineStart);
        if (line.endsWith(u'\r'))
            line.chop(1);
        state = ColourLine(kind, line, state, nullptr);
        lineStart = int(nl) + 1;
    }
    const QStringView head = window.sliced(lineStart, caret - lineStart);
    const ColouringPlace place = PlaceOfState(ColourLine(kind, head, state, nullptr));
    const QStringView s = window.first(caret);

    CompletionContext c;
    if (place == ColouringPlace::Text || place == ColouringPlace::AttrValue) {
        const int start = runStart(s, caret, [](QChar ch) { return ch.isLetterOrNumber() && ch.unicode() < 128; });
        if (start > 0 && s[start - 1] == u'&') {
            c.kind = CompletionKind::Entity;
            c.prefix = s.sliced(start).toString();
            return c;
        }
    }
    if (place == ColouringPlace::Text || place == ColouringPlace::Tag) {
        const int start = runStart(s, caret, isNameChar);
        if (start > 0 && s[start - 1] == u'<' && (start == caret || s[start].isLetter())) {
            c.kind = CompletionKind::Element;
            c.prefix = s.sliced(start).toString();
            return c;
        }
    }
    switch (place) {
    case ColouringPlace::Tag: {
        const int start = runStart(s, caret, isAttrChar);
        if (start == 0 || !isBlank(s[start - 1]))
            return none;
        c.element = tagNameBefore(s, start);
        if (c.element.isEmpty())
            return none;
        c.kind = CompletionKind::Attribute;
        c.prefix = s.sliced(start).toString();
        return c;
    }
    case ColouringPlace::AttrValue:
        return attributeValueContext(s, caret);
    case ColouringPlace::CssProperty: {
        const int start = runStart(s, caret, isCssChar);
        c.kind = CompletionKind::CssProperty;
        c.prefix = s.sliced(start).toString();
        return c;
    }
    case ColouringPlace::CssValue:
        return cssValueContext(s, caret);
    default:
        return none;
    }
}

namespace {

class Collector {
public:
    explicit Collector(const QString& prefix) : prefix_(prefix) {}
    void add(const QString& label, const QString& hint, const QString& insert, int caret)
    {
        if (seen_.contains(label.toLower()))
            return;
        if (label.startsWith(prefix_, Qt::CaseInsensitive))
            first_.push_back({label, hint, insert, caret});
        else if (label.contains(prefix_, Qt::CaseInsensitive))
            rest_.push_back({label, hint, insert, caret});
        else
            return;
        seen_.insert(label.toLower());
    }
    void addPlain(const QString& label, const QString& hint) { add(label, hint, label, int(label.size())); }
    std::vector<CompletionItem> take()
    {
        first_.insert(first_.end(), rest_.begin(), rest_.end());
        return std::move(first_);
    }

private:
    QString prefix_;
    QSet<QString> seen_;
    std::vector<CompletionItem> first_, rest_;
};

void addAttributes(Collector& out, const HtmlElementFact& e, QChar quote)
{
    for (const HtmlAttributeFact& a : e.attributes)
        out.add(a.name, a.hint, a.name + u'=' + quote + quote, int(a.name.size()) + 2);
}

void addCssValue(Collector& out, const QString& value, const QString& hint)
{
    // A function goes in with the caret between its brackets.
    if (value.endsWith(u"()"))
        out.add(value, hint, value + u';', int(value.size()) - 1);
    else
        out.add(value, hint, value + u';', int(value.size()) + 1);
}

} // namespace

std::vector<CompletionItem> CompletionItems(const CompletionContext& context, const CompletionExtras& extras)
{
    const CompletionTables& t = CompletionData();
    Collector out(context.prefix);
    switch (context.kind) {
    case CompletionKind::None:
        break;
    case CompletionKind::Element:
        for (const HtmlElementFact& e : t.elements)
            out.addPlain(e.name, e.hint);
        break;
    case CompletionKind::Attribute:
        if (const HtmlElementFact* e = t.element(context.element))
            addAttributes(out, *e, extras.quote);
        addAttributes(out, t.global, extras.quote);
        break;
    case CompletionKind::AttributeValue:
        if (const HtmlAttributeFact* a = t.attribute(context.element, context.attribute))
            for (const QString& v : a->values)
                out.addPlain(v, a->hint);
        break;
    case CompletionKind::CssProperty:
        for (const QString& name : extras.customProperties)
            out.add(name, QStringLiteral("Своё свойство страницы"), name + u':', int(name.size()) + 1);
        for (const CssPropertyFact& p : t.properties)
            out.add(p.name, p.hint, p.name + u':', int(p.name.size()) + 1);
        break;
    case CompletionKind::CssValue:
        if (context.prefix.startsWith(u"--")) {
            // Inside var(): the page's own property names.
            for (const QString& name : extras.customProperties)
                out.addPlain(name, QStringLiteral("Своё свойство страницы"));
            break;
        }
        if (const CssPropertyFact* p = t.property(context.property))
            for (const QString& v : p->values)
                addCssValue(out, v, p->hint);
        for (const QString& name : extras.customProperties)
            out.add(QStringLiteral("var(%1)").arg(name), QStringLiteral("Значение своего свойства страницы"),
                    QStringLiteral("var(%1);").arg(name), int(name.size()) + 6);
        addCssValue(out, QStringLiteral("var()"), QStringLiteral("Значение своего свойства"));
        addCssValue(out, QStringLiteral("inherit"), QStringLiteral("Как у родителя"));
        addCssValue(out, QStringLiteral("initial"), QStringLiteral("Начальное значение"));
        addCssValue(out, QStringLiteral("unset"), QStringLiteral("Наследуемое или начальное"));
        addCssValue(out, QStringLiteral("revert"), QStringLiteral("Значение стиля браузера"));
        break;
    case CompletionKind::Entity:
        for (const CharacterReferenceFact& r : t.references) {
            const char32_t code = r.code;
            const QString shown = code < 0x20 ? QString() : QString::fromUcs4(&code, 1) + QStringLiteral(" — ");
            out.add(r.name, shown + r.hint, r.name + u';', int(r.name.size()) + 1);
        }
        break;
    case CompletionKind::ClassName:
        for (const QString& name : extras.classNames)
            out.addPlain(name, QStringLiteral("Класс из стилей страницы"));
        break;
    case CompletionKind::Path:
        for (const QString& path : extras.files)
            out.addPlain(path, QStringLiteral("Файл рядом со страницей"));
        break;
    }
    return out.take();
}

QStringList CustomPropertyNames(QStringView text)
{
    QStringList names;
    QSet<QString> seen;
    for (qsizetype i = text.indexOf(u"--"); i >= 0; i = text.indexOf(u"--", i + 2)) {
        if (i > 0 && isCssChar(text[i - 1]))
            continue;
        qsizetype e = i + 2;
        while (e < text.size() && isCssChar(text[e]))
            ++e;
        qsizetype k = e;
        while (k < text.size() && isBlank(text[k]))
            ++k;
        if (e == i + 2 || k >= text.size() || text[k] != u':')
            continue;
        const QString name = text.sliced(i, e - i).toString();
        if (!seen.contains(name)) {
            seen.insert(name);
            names << name;
        }
        i = e - 2;
    }
    return names;
}

bool CompletionOpener(QChar typed, const CompletionContext& context)
{
    if (!context.prefix.isEmpty())
        return false;
    switch (context.kind) {
    case CompletionKind::Element:
        return typed == u'<';
    case CompletionKind::Attribute:
        return typed == u' ';
    case CompletionKind::AttributeValue:
    case CompletionKind::ClassName:
    case CompletionKind::Path:
        return typed == u'"' || typed == u'\'';
    case CompletionKind::CssProperty:
        return typed == u'{' || typed == u';' || typed == u'"' || typed == u'\'';
    case CompletionKind::CssValue:
        return typed == u':';
    case CompletionKind::Entity:
        return typed == u'&';
    case CompletionKind::None:
        break;
    }
    return false;
}
