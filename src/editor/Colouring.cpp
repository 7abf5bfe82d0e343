#include "editor/Colouring.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

// Where the HTML tokenizer stands.
enum Html : int {
    HText,
    HInTag,       // between attributes
    HAfterAttr,   // after an attribute's name: "=" or the next attribute
    HBeforeValue, // after "="
    HValueDq,
    HValueSq,
    HComment,
    HDecl,    // "<!...>"
    HContent, // a <style> or <script> block's content, or a whole .css / .js document
};
enum TagKind : int { TOther, TStyle, TScript };
enum CssBase : int { CSelector, CProperty, CValue };
enum CssOver : int { CNone, CComment, CStrDq, CStrSq };
enum JsOver : int { JCode, JComment, JTemplate, JStrDq, JStrSq };

// The state, unpacked. Packed it takes 21 bits.
struct State {
    int html = HText;      // 4 bits
    int tag = TOther;      // 2
    bool attrStyle = false; // 1: the attribute is "style"
    bool closing = false;  // 1: an end tag
    int cssBase = CSelector; // 2
    int cssOver = CNone;   // 2
    int cssDepth = 0;      // 3: rule blocks (@media) around
    bool cssAtRules = false; // 1: the at-rule's block holds rules
    bool cssPrelude = false; // 1: inside an at-rule's prelude
    int jsOver = JCode;    // 3
    bool php = false;      // 1

    int pack() const
    {
        return html | tag << 4 | int(attrStyle) << 6 | int(closing) << 7 | cssBase << 8 | cssOver << 10 | cssDepth << 12
            | int(cssAtRules) << 15 | int(cssPrelude) << 16 | jsOver << 17 | int(php) << 20;
    }
    static State unpack(int s)
    {
        State st;
        st.html = s & 15;
        st.tag = s >> 4 & 3;
        st.attrStyle = s >> 6 & 1;
        st.closing = s >> 7 & 1;
        st.cssBase = s >> 8 & 3;
        st.cssOver = s >> 10 & 3;
        st.cssDepth = s >> 12 & 7;
        st.cssAtRules = s >> 15 & 1;
        st.cssPrelude = s >> 16 & 1;
        st.jsOver = s >> 17 & 7;
        st.php = s >> 20 & 1;
        return st;
    }
    void resetCss()
    {
        cssBase = CSelector;
        cssOver = CNone;
        cssDepth = 0;
        cssAtRules = cssPrelude = false;
    }
};

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }
bool isCssIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'-' || c == u'_'; }

bool isJsKeyword(QStringView w)
{
    static const QSet<QStringView> words = {
        u"break", u"case", u"catch", u"class", u"const", u"continue", u"debugger", u"default", u"delete", u"do",
        u"else", u"export", u"extends", u"finally", u"for", u"function", u"if", u"import", u"in", u"instanceof",
        u"let", u"new", u"return", u"super", u"switch", u"this", u"throw", u"try", u"typeof", u"var", u"void",
        u"while", u"with", u"yield", u"async", u"await", u"of", u"static", u"null", u"true", u"false",
        u"undefined", u"NaN"};
    return w.size() >= 2 && w.size() <= 10 && words.contains(w);
}

// Keywords after which a value follows, as after an identifier.
bool isJsValueKeyword(QStringView w)
{
    return w == u"this" || w == u"super" || w == u"null" || w == u"true" || w == u"false" || w == u"undefined" || w == u"NaN";
}

// At-rules whose block holds rules rather than declarations.
bool isCssRuleBlock(QStringView name)
{
    static const QStringView names[] = {u"media", u"supports", u"document", u"-moz-document", u"layer", u"container",
                                        u"keyframes", u"-webkit-keyframes", u"scope", u"starting-style"};
    return std::any_of(std::begin(names), std::end(names), [&](QStringView n) { return name.compare(n, Qt::CaseInsensitive) == 0; });
}

class LineScanner {
public:
    LineScanner(ColouringKind kind, QStringView line, State st, std::vector<TokenSpan>* out)
        : kind_(kind), s_(line), n_(int(line.size())), st_(st), out_(out)
    {
    }

    int run()
    {
        int pos = 0;
        const bool html = kind_ == ColouringKind::Html;
        int php = html ? phpFrom(0) : n_;
        while (pos < n_) {
            if (st_.php) {
                const qsizetype e = s_.indexOf(u"?>", pos);
                const int stop = e < 0 ? n_ : int(e) + 2;
                emit(pos, stop, Token::Php);
                pos = stop;
                st_.php = e < 0;
                php = phpFrom(pos);
                continue;
            }
            if (pos == php) {
                st_.php = true;
                emit(pos, pos + 2, Token::Php);
                pos += 2;
                continue;
            }
            pos = step(pos, php);
        }
        // A string ends with its line unless a backslash carries it on.
        const bool carried = n_ > 0 && s_[n_ - 1] == u'\\';
        if (!carried && (st_.jsOver == JStrDq || st_.jsOver == JStrSq))
            st_.jsOver = JCode;
        if (!carried && (st_.cssOver == CStrDq || st_.cssOver == CStrSq))
            st_.cssOver = CNone;
        return st_.pack();
    }

private:
    int phpFrom(int pos) const
    {
        if (kind_ != ColouringKind::Html)
            return n_;
        const qsizetype p = s_.indexOf(u"<?", pos);
        return p < 0 ? n_ : int(p);
    }

    void emit(int start, int end, Token t)
    {
        if (!out_ || end <= start || t == Token::Plain)
            return;
        if (!out_->empty() && out_->back().token == t && out_->back().start + out_->back().length == start)
            out_->back().length += end - start;
        else
            out_->push_back({start, end - start, t});
    }

    // Colours from pos on, short of end; returns where it stopped (after a
    // change of mode, or at end).
    int step(int pos, int end)
    {
        const QStringView v = s_.first(end);
        switch (st_.html) {
        case HText: return text(v, pos);
        case HInTag: return inTag(v, pos);
        case HAfterAttr: {
            while (pos < end && isSpace(v[pos]))
                ++pos;
            if (pos < end) {
                if (v[pos] == u'=') {
                    st_.html = HBeforeValue;
                    return pos + 1;
                }
                st_.html = HInTag;
            }
            return pos;
        }
        case HBeforeValue: return beforeValue(v, pos);
        case HValueDq:
        case HValueSq: return value(v, pos);
        case HComment: {
            const qsizetype e = v.indexOf(u"-->", pos);
            const int stop = e < 0 ? end : int(e) + 3;
            emit(pos, stop, Token::Comment);
            if (e >= 0)
                st_.html = HText;
            return stop;
        }
        case HDecl: {
            const qsizetype e = v.indexOf(u'>', pos);
            const int stop = e < 0 ? end : int(e) + 1;
            emit(pos, stop, Token::Doctype);
            if (e >= 0)
                st_.html = HText;
            return stop;
        }
        case HContent: return content(v, pos);
        default:
            st_.html = HText;
            return pos;
        }
    }

    int text(QStringView v, int pos)
    {
        const int end = int(v.size());
        const qsizetype lt = v.indexOf(u'<', pos);
        const int stop = lt < 0 ? end : int(lt);
        if (out_)
            entities(v, pos, stop);
        if (lt < 0)
            return end;
        const int i = stop;
        const QStringView rest = v.sliced(i);
        if (rest.startsWith(u"<!--")) {
            emit(i, i + 4, Token::Comment);
            st_.html = HComment;
            return i + 4;
        }
        if (rest.startsWith(u"<!")) {
            emit(i, i + 2, Token::Doctype);
            st_.html = HDecl;
            return i + 2;
        }
        const bool closing = rest.size() > 2 && rest[1] == u'/';
        const int nameAt = i + (closing ? 2 : 1);
        if (nameAt >= end || !isAsciiLetter(v[nameAt]))
            return i + 1;
        int k = nameAt;
        while (k < end && (v[k].isLetterOrNumber() || v[k] == u'-' || v[k] == u':' || v[k] == u'_'))
            ++k;
        emit(i, k, Token::Tag);
        const QStringView name = v.sliced(nameAt, k - nameAt);
        st_.closing = closing;
        st_.tag = closing ? TOther
            : name.compare(u"style", Qt::CaseInsensitive) == 0 ? TStyle
            : name.compare(u"script", Qt::CaseInsensitive) == 0 ? TScript
                                                                 : TOther;
        st_.attrStyle = false;
        st_.html = HInTag;
        return k;
    }

    void entities(QStringView v, int pos, int stop)
    {
        for (qsizetype a = v.first(stop).indexOf(u'&', pos); a >= 0; a = v.first(stop).indexOf(u'&', a + 1)) {
            int j = int(a) + 1;
            if (j < stop && v[j] == u'#')
                ++j;
            const int nameAt = j;
            while (j < stop && v[j].isLetterOrNumber() && v[j].unicode() < 128)
                ++j;
            if (j > nameAt && j < stop && v[j] == u';')
                emit(int(a), j + 1, Token::Entity);
        }
    }

    int inTag(QStringView v, int pos)
    {
        const int end = int(v.size());
        while (pos < end && isSpace(v[pos]))
            ++pos;
        if (pos >= end)
            return end;
        const QChar c = v[pos];
        if (c == u'>') {
            emit(pos, pos + 1, Token::Tag);
            st_.attrStyle = false;
            if (!st_.closing && st_.tag != TOther) {
                st_.html = HContent;
                st_.resetCss();
                st_.jsOver = JCode;
            } else {
                st_.html = HText;
                st_.tag = TOther;
            }
            return pos + 1;
        }
        if (c == u'/' && pos + 1 < end && v[pos + 1] == u'>') {
            emit(pos, pos + 2, Token::Tag);
            st_.html = HText;
            st_.tag = TOther;
            return pos + 2;
        }
        if (c == u'=' || c == u'"' || c == u'\'' || c == u'/')
            return pos + 1;
        int k = pos;
        while (k < end && !isSpace(v[k]) && v[k] != u'=' && v[k] != u'>' && v[k] != u'/' && v[k] != u'"' && v[k] != u'\'')
            ++k;
        emit(pos, k, Token::Attribute);
        st_.attrStyle = v.sliced(pos, k - pos).compare(u"style", Qt::CaseInsensitive) == 0;
        st_.html = HAfterAttr;
        return k;
    }

    int beforeValue(QStringView v, int pos)
    {
        const int end = int(v.size());
        while (pos < end && isSpace(v[pos]))
            ++pos;
        if (pos >= end)
            return end;
        const QChar c = v[pos];
        if (c == u'"' || c == u'\'') {
            emit(pos, pos + 1, Token::Value);
            st_.html = c == u'"' ? HValueDq : HValueSq;
            st_.resetCss();
            st_.cssBase = CProperty;
            return pos + 1;
        }
        st_.html = HInTag;
        if (c == u'>')
            return pos;
        int k = pos;
        while (k < end && !isSpace(v[k]) && v[k] != u'>')
            ++k;
        emit(pos, k, Token::Value);
        return k;
    }

    int value(QStringView v, int pos)
    {
        const int end = int(v.size());
        const QChar q = st_.html == HValueDq ? u'"' : u'\'';
        const qsizetype qpos = v.indexOf(q, pos);
        const int lim = qpos < 0 ? end : int(qpos);
        if (st_.attrStyle)
            css(pos, lim, true);
        else
            emit(pos, lim, Token::Value);
        if (qpos < 0)
            return end;
        emit(lim, lim + 1, Token::Value);
        st_.html = HInTag;
        st_.attrStyle = false;
        st_.resetCss();
        return lim + 1;
    }

    static qsizetype closer(QStringView v, int from, QStringView name)
    {
        for (qsizetype i = v.indexOf(u"</", from); i >= 0; i = v.indexOf(u"</", i + 2))
            if (v.sliced(i).startsWith(name, Qt::CaseInsensitive))
                return i;
        return -1;
    }

    int content(QStringView v, int pos)
    {
        const int end = int(v.size());
        const bool style = st_.tag == TStyle;
        qsizetype close = -1;
        if (kind_ == ColouringKind::Html)
            close = closer(v, pos, style ? QStringView(u"</style") : QStringView(u"</script"));
        const int lim = close < 0 ? end : int(close);
        if (style)
            css(pos, lim, false);
        else
            js(pos, lim);
        if (close >= 0) {
            st_.html = HText;
            st_.tag = TOther;
            st_.resetCss();
            st_.jsOver = JCode;
        }
        return lim;
    }

    // The end of a quoted string from pos on (after its closing quote), or
    // -1 when it runs past lim.
    int stringEnd(int pos, int lim, QChar q) const
    {
        for (int i = pos; i < lim; ++i) {
            if (s_[i] == u'\\')
                ++i;
            else if (s_[i] == q)
                return i + 1;
        }
        return -1;
    }

    int commentEnd(int pos, int lim) const
    {
        const qsizetype e = s_.first(lim).indexOf(u"*/", pos);
        return e < 0 ? -1 : int(e) + 2;
    }

    // CSS from pos to lim; in a style attribute only declarations.
    void css(int pos, int lim, bool inAttribute)
    {
        while (pos < lim) {
            if (st_.cssOver == CComment) {
                const int e = commentEnd(pos, lim);
                emit(pos, e < 0 ? lim : e, Token::Comment);
                if (e < 0)
                    return;
                st_.cssOver = CNone;
                pos = e;
                continue;
            }
            if (st_.cssOver == CStrDq || st_.cssOver == CStrSq) {
                const int e = stringEnd(pos, lim, st_.cssOver == CStrDq ? u'"' : u'\'');
                emit(pos, e < 0 ? lim : e, Token::String);
                if (e < 0)
                    return;
                st_.cssOver = CNone;
                pos = e;
                continue;
            }
            const QChar c = s_[pos];
            if (isSpace(c)) {
                ++pos;
                continue;
            }
            if (c == u'/' && pos + 1 < lim && s_[pos + 1] == u'*') {
                emit(pos, pos + 2, Token::Comment);
                st_.cssOver = CComment;
                pos += 2;
                continue;
            }
            if (c == u'"' || c == u'\'') {
                emit(pos, pos + 1, Token::String);
                st_.cssOver = c == u'"' ? CStrDq : CStrSq;
                ++pos;
                continue;
            }
            if (c == u'}' && !inAttribute) {
                if (st_.cssBase == CSelector)
                    st_.cssDepth = std::max(0, st_.cssDepth - 1);
                st_.cssBase = CSelector;
                st_.cssAtRules = st_.cssPrelude = false;
                ++pos;
                continue;
            }
            switch (st_.cssBase) {
            case CSelector: pos = cssSelector(pos, lim); break;
            case CProperty: pos = cssRun(pos, lim, u":;{}\"'/", Token::Property, u':', CValue); break;
            default: pos = cssRun(pos, lim, u";{}\"'/", Token::CssValue, u';', CProperty); break;
            }
        }
    }

    // A run of one token class up to one of the stop characters; the switch
    // character moves to the next part of a declaration.
    int cssRun(int pos, int lim, QStringView stops, Token t, QChar switchChar, int next)
    {
        const QChar c = s_[pos];
        if (c == switchChar) {
            st_.cssBase = next;
            return pos + 1;
        }
        if (stops.contains(c)) {
            // A lone "/" belongs to the value ("12px/1.5"); others are plain.
            if (c == u'/')
                emit(pos, pos + 1, t);
            return pos + 1;
        }
        int k = pos;
        while (k < lim && !stops.contains(s_[k]))
            ++k;
        emit(pos, k, t);
        return k;
    }

    int cssSelector(int pos, int lim)
    {
        const QChar c = s_[pos];
        if (c == u'{') {
            if (st_.cssAtRules)
                st_.cssDepth = std::min(7, st_.cssDepth + 1);
            else
                st_.cssBase = CProperty;
            st_.cssAtRules = st_.cssPrelude = false;
            return pos + 1;
        }
        if (c == u';') {
            st_.cssAtRules = st_.cssPrelude = false;
            return pos + 1;
        }
        if (c == u'@') {
            int k = pos + 1;
            while (k < lim && isCssIdentChar(s_[k]))
                ++k;
            emit(pos, k, Token::AtRule);
            st_.cssAtRules = isCssRuleBlock(s_.sliced(pos + 1, k - pos - 1));
            st_.cssPrelude = true;
            return k;
        }
        int k = pos;
        while (k < lim && !QStringView(u"{};@\"'/").contains(s_[k]))
            ++k;
        if (k == pos)
            ++k;
        emit(pos, k, st_.cssPrelude ? Token::CssValue : Token::Selector);
        return k;
    }

    void js(int pos, int lim)
    {
        bool valueBefore = false; // a "/" after a value divides; elsewhere it starts a pattern
        while (pos < lim) {
            if (st_.jsOver == JComment) {
                const int e = commentEnd(pos, lim);
                emit(pos, e < 0 ? lim : e, Token::Comment);
                if (e < 0)
                    return;
                st_.jsOver = JCode;
                pos = e;
                continue;
            }
            if (st_.jsOver != JCode) {
                const QChar q = st_.jsOver == JTemplate ? u'`' : st_.jsOver == JStrDq ? u'"' : u'\'';
                const int e = stringEnd(pos, lim, q);
                emit(pos, e < 0 ? lim : e, Token::String);
                if (e < 0)
                    return;
                st_.jsOver = JCode;
                valueBefore = true;
                pos = e;
                continue;
            }
            const QChar c = s_[pos];
            if (isSpace(c)) {
                ++pos;
                continue;
            }
            if (c == u'/') {
                const QChar d = pos + 1 < lim ? s_[pos + 1] : QChar();
                if (d == u'/') {
                    emit(pos, lim, Token::Comment);
                    return;
                }
                if (d == u'*') {
                    emit(pos, pos + 2, Token::Comment);
                    st_.jsOver = JComment;
                    pos += 2;
                    continue;
                }
                if (!valueBefore) {
                    if (const int e = regexEnd(pos, lim); e > 0) {
                        emit(pos, e, Token::Regex);
                        pos = e;
                        valueBefore = true;
                        continue;
                    }
                }
                valueBefore = false;
                ++pos;
                continue;
            }
            if (c == u'"' || c == u'\'' || c == u'`') {
                emit(pos, pos + 1, Token::String);
                st_.jsOver = c == u'"' ? JStrDq : c == u'\'' ? JStrSq : JTemplate;
                ++pos;
                continue;
            }
            if (isDigit(c) || (c == u'.' && pos + 1 < lim && isDigit(s_[pos + 1]))) {
                int k = pos + 1;
                while (k < lim && (isIdentChar(s_[k]) || s_[k] == u'.'
                                   || ((s_[k] == u'+' || s_[k] == u'-') && (s_[k - 1] == u'e' || s_[k - 1] == u'E') && s_[pos] != u'0')))
                    ++k;
                emit(pos, k, Token::Number);
                valueBefore = true;
                pos = k;
                continue;
            }
            if (isIdentChar(c)) {
                int k = pos + 1;
                while (k < lim && isIdentChar(s_[k]))
                    ++k;
                const QStringView word = s_.sliced(pos, k - pos);
                if (isJsKeyword(word)) {
                    emit(pos, k, Token::Keyword);
                    valueBefore = isJsValueKeyword(word);
                } else {
                    valueBefore = true;
                }
                pos = k;
                continue;
            }
            valueBefore = c == u')' || c == u']';
            ++pos;
        }
    }

    // The end of a pattern literal starting at pos (after its flags), or -1.
    int regexEnd(int pos, int lim) const
    {
        bool inClass = false;
        for (int i = pos + 1; i < lim; ++i) {
            const QChar c = s_[i];
            if (c == u'\\') {
                ++i;
            } else if (c == u'[') {
                inClass = true;
            } else if (c == u']') {
                inClass = false;
            } else if (c == u'/' && !inClass) {
                int k = i + 1;
                while (k < lim && isAsciiLetter(s_[k]))
                    ++k;
                return k;
            }
        }
        return -1;
    }

    ColouringKind kind_;
    QStringView s_;
    int n_;
    State st_;
    std::vector<TokenSpan>* out_;
};

} // namespace

ColouringKind ColouringKindForPath(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"css")
        return ColouringKind::Css;
    if (ext == u"js" || ext == u"mjs" || ext == u"json")
        return ColouringKind::Js;
    if (ext == u"txt")
        return ColouringKind::Plain;
    return ColouringKind::Html;
}

int InitialColouringState(ColouringKind kind)
{
    State st;
    if (kind == ColouringKind::Css || kind == ColouringKind::Js) {
        st.html = HContent;
        st.tag = kind == ColouringKind::Css ? TStyle : TScript;
    }
    return st.pack();
}

int ColourLine(ColouringKind kind, QStringView line, int state, std::vector<TokenSpan>* spans)
{
    if (spans)
        spans->clear();
    if (kind == ColouringKind::Plain)
        return state;
    return LineScanner(kind, line, State::unpack(state), spans).run();
}

ColouringPlace PlaceOfState(int state)
{
    const State st = State::unpack(state);
    if (st.php)
        return ColouringPlace::Other;
    const auto css = [&] {
        if (st.cssOver != CNone || st.cssPrelude)
            return ColouringPlace::Other;
        return st.cssBase == CValue ? ColouringPlace::CssValue
            : st.cssBase == CProperty ? ColouringPlace::CssProperty
                                      : ColouringPlace::CssSelector;
    };
    switch (st.html) {
    case HText:
        return ColouringPlace::Text;
    case HInTag:
    case HAfterAttr:
    case HBeforeValue:
        return ColouringPlace::Tag;
    case HValueDq:
    case HValueSq:
        return st.attrStyle ? css() : ColouringPlace::AttrValue;
    case HComment:
        return ColouringPlace::Comment;
    case HContent:
        if (st.tag == TStyle)
            return css();
        if (st.tag == TScript)
            return st.jsOver == JCode ? ColouringPlace::Js : ColouringPlace::Other;
        return ColouringPlace::Text;
    default:
        return ColouringPlace::Other;
    }
}
