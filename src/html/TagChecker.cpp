#include "html/TagChecker.h"

#include "editor/TextModel.h"

#include <QLatin1StringView>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr const char* kKnownTags[] = {
    "!--", "!DOCTYPE", "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "AREA", "B", "BASE",
    "BASEFONT", "BGSOUND", "BDO", "BIG", "BLOCKQUOTE", "BODY", "BR", "BUTTON", "CAPTION", "CENTER",
    "CITE", "CODE", "COL", "COLGROUP", "COMMENT", "DD", "DEL", "DFN", "DIR", "DIV",
    "DL", "DT", "EM", "EMBED", "FONT", "FORM", "FRAME", "FRAMESET", "FIELDSET", "H1",
    "H2", "H3", "H4", "H5", "H6", "HEAD", "HR", "HTML", "I", "IFRAME",
    "IMG", "INS", "INPUT", "ISINDEX", "KBD", "LABEL", "LEGEND", "LI", "LINK", "LISTING",
    "MAP", "MARQUEE", "MENU", "META", "NOBR", "NOFRAMES", "OBJECT", "OL", "OPTION", "OPTGROUP",
    "P", "PARAM", "PLAINTEXT", "PRE", "Q", "S", "SAMP", "SCRIPT", "SELECT", "SMALL",
    "SPAN", "STYLE", "STRONG", "STRIKE", "SUB", "SUP", "TABLE", "TBODY", "TD", "TEXTAREA",
    "TFOOT", "TH", "THEAD", "TITLE", "TR", "TT", "U", "UL", "VAR", "WBR",
    "XMP", "NOSCRIPT",
};
static_assert(std::size(kKnownTags) == 102);

// The elements of today's HTML that the list above lacks.
constexpr const char* kHtml5Tags[] = {
    "ARTICLE", "ASIDE", "AUDIO", "BDI", "CANVAS", "DATA", "DATALIST", "DETAILS", "DIALOG", "FIGCAPTION",
    "FIGURE", "FOOTER", "HEADER", "HGROUP", "MAIN", "MARK", "MATH", "METER", "NAV", "OUTPUT",
    "PICTURE", "PROGRESS", "RP", "RT", "RUBY", "SEARCH", "SECTION", "SELECTEDCONTENT", "SLOT", "SOURCE",
    "SUMMARY", "SVG", "TEMPLATE", "TIME", "TRACK", "VIDEO",
};
static_assert(std::size(kHtml5Tags) == 36);

// Every known name packed into two numbers, six bits a character and ten
// characters a number (names are of A-Z, 0-9, "!" and "-"), looked up
// as they are read from the scanned text, without building any string.
constexpr qsizetype kCharsPerWord = 10;
constexpr qsizetype kLongestName = 2 * kCharsPerWord;
using PackedName = std::array<quint64, 2>;

constexpr bool NamesFit(const auto& names)
{
    for (const char* name : names)
        if (std::char_traits<char>::length(name) > std::size_t(kLongestName))
            return false;
    return true;
}
static_assert(NamesFit(kKnownTags) && NamesFit(kHtml5Tags));

int CharCode(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 1;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 27;
    if (c == u'!')
        return 37;
    if (c == u'-')
        return 38;
    return -1;
}

// The packed form, or all zeros when the name cannot be a known one.
PackedName NameCode(QStringView name)
{
    if (name.isEmpty() || name.size() > kLongestName)
        return {};
    quint64 words[2] = {0, 0};
    for (qsizetype k = 0; k < name.size(); ++k) {
        const int c = CharCode(name[k].unicode());
        if (c < 0)
            return {};
        if (k < kCharsPerWord)
            words[0] = (words[0] << 6) | quint64(c);
        else
            words[1] = (words[1] << 6) | quint64(c);
    }
    return {words[0], words[1]};
}

// The packed names for lookup: an open-addressed table of more than three
// slots a name, so a lookup mostly reads one slot. An empty slot is all
// zeros, which no name packs to.
class NameTable {
public:
    explicit NameTable(const QStringList& names)
    {
        Q_ASSERT(names.size() * 3 < qsizetype(kSlots));
        for (const QString& name : names) {
            const PackedName code = NameCode(name);
            if (code[0] == 0 || contains(code))
                continue;
            std::size_t k = slotOf(code);
            while (slots_[k][0] != 0)
                k = (k + 1) % kSlots;
            slots_[k] = code;
        }
    }

    bool contains(const PackedName& code) const
    {
        for (std::size_t k = slotOf(code);; k = (k + 1) % kSlots) {
            if (slots_[k] == code)
                return true;
            if (slots_[k][0] == 0)
                return false;
        }
    }

private:
    static constexpr std::size_t kSlots = 512;
    static std::size_t slotOf(const PackedName& code)
    {
        // The top nine bits of a multiplicative hash of both words.
        return std::size_t(((code[0] * 0x9E3779B97F4A7C15ull) ^ code[1]) * 0xFF51AFD7ED558CCDull >> 55);
    }
    std::array<PackedName, kSlots> slots_{};
};

const NameTable& Index(bool html5)
{
    static const NameTable known(KnownTagNames());
    static const NameTable current(Html5TagNames());
    return html5 ? current : known;
}

// Tab, line feed, carriage return, space, "/" and ">" end a tag name.
bool IsDelimiter(char16_t c)
{
    return c == 9 || c == 10 || c == 13 || c == 32 || c == u'/' || c == u'>';
}

bool IsBlank(char16_t c)
{
    return c == 9 || c == 10 || c == 13 || c == 32;
}

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Whether the upper-case ASCII word stands at i, in any letter case.
bool AsciiWordAt(QStringView text, qsizetype i, QLatin1StringView word)
{
    if (i < 0 || i + word.size() > text.size())
        return false;
    for (qsizetype k = 0; k < word.size(); ++k) {
        char16_t c = text[i + k].unicode();
        if (c >= u'a' && c <= u'z')
            c -= 32;
        if (c != char16_t(uchar(word[k].toLatin1())))
            return false;
    }
    return true;
}

enum class TableToken { None, Table, Tr, Td, CloseTable, CloseTr, CloseTd };

// The elements whose content an HTML5 page skips, from the opening tag to the
// first closing tag of the same element.
enum class Foreign { None, Svg, Math };

QString TokenName(TableToken t)
{
    switch (t) {
    case TableToken::Table: return QStringLiteral("<TABLE>");
    case TableToken::Tr: return QStringLiteral("<TR>");
    case TableToken::Td: return QStringLiteral("<TD>");
    case TableToken::CloseTable: return QStringLiteral("</TABLE>");
    case TableToken::CloseTr: return QStringLiteral("</TR>");
    case TableToken::CloseTd: return QStringLiteral("</TD>");
    case TableToken::None: break;
    }
    return {};
}

QString TableFaultMessage(TableToken token, TableToken last)
{
    const bool closing = token == TableToken::CloseTable || token == TableToken::CloseTr || token == TableToken::CloseTd;
    QString m = kTableCheckHeading.toString() + QStringLiteral("\r\n\t\tТег ") + TokenName(token);
    if (last == TableToken::None)
        m += closing ? QStringLiteral(" не может быть закрыт здесь") : QStringLiteral(" не может открываться здесь");
    else
        m += (closing ? QStringLiteral(" не может быть закрыт после тега ") : QStringLiteral(" не может открываться после тега "))
            + TokenName(last);
    return m;
}

// The character as the pass compares it: ASCII letters upper-cased in
// place, any other character through its Unicode upper case (one character
// for one, so positions stay those of the text). Only two characters outside
// ASCII become ASCII that way ("ı" and "ſ", as I and S), and none becomes
// "<" or ">".
char16_t UpperOf(char16_t c)
{
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    return QChar(c).toUpper().unicode();
}

// The first "<" or ">" at or after from, or n when there is none. They are
// the only characters that change the pass's state, together with the one
// after a ">" (where a comment or section ends); the scan steps over the
// text between them eight characters at a time.
qsizetype NextAngle(const char16_t* d, qsizetype from, qsizetype n)
{
    qsizetype i = from;
#if defined(__SSE2__)
    // "<" is 0x3C and ">" 0x3E: with bit 1 set both are 0x3E.
    const __m128i mark = _mm_set1_epi16(0x3E);
    const __m128i bit = _mm_set1_epi16(0x02);
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_or_si128(v, bit), mark));
        if (hits != 0)
            return i + (__builtin_ctz(unsigned(hits)) >> 1);
    }
#endif
    for (; i < n; ++i)
        if ((d[i] | 2) == 0x3E)
            return i;
    return n;
}

// The text with 0-based access to its upper-case form (UpperOf), made
// character by character as the pass asks, never as a copy of the page;
// outside the text there is no character. Custom element names, when
// allowed, are read from the text as written, since only ASCII letters make
// one.
class Scan {
public:
    Scan(const QString& text, bool html5)
        : written_(reinterpret_cast<const char16_t*>(text.constData())), n_(text.size()), index_(Index(html5)), custom_(html5)
    {
    }

    qsizetype size() const { return n_; }
    // The character at i, or 0 outside the text (0 is never a delimiter nor
    // part of any pattern, so a NUL in the text behaves the same).
    char16_t at(qsizetype i) const { return i >= 0 && i < n_ ? UpperOf(written_[i]) : 0; }

    // The next position after i the pass has to look at: the character
    // after a ">", the next "<" or ">", and the text's last character.
    qsizetype next(qsizetype i) const
    {
        if (written_[i] == u'>')
            return i + 1;
        const qsizetype j = NextAngle(written_, i + 1, n_);
        return j < n_ ? j : (i + 1 < n_ ? n_ - 1 : n_);
    }

    bool startsWith(qsizetype i, QLatin1StringView s) const
    {
        if (i < 0 || i + s.size() > n_)
            return false;
        for (qsizetype k = 0; k < s.size(); ++k)
            if (UpperOf(written_[i + k]) != char16_t(uchar(s[k].toLatin1())))
                return false;
        return true;
    }

    // Whether a known name, or where allowed a custom element name, starts
    // at i and is followed by a delimiter.
    bool knownNameAt(qsizetype i) const { return listedNameAt(i) || (custom_ && customNameAt(i)); }

    // The table tag whose name starts at i and is followed by a delimiter:
    // TABLE, TR, TD or TH (a header cell counts as a TD cell), opening or
    // closing.
    TableToken tableTokenAt(qsizetype i) const
    {
        qsizetype k = i + 1;
        const bool closing = at(k) == u'/';
        if (closing)
            ++k;
        if (at(k) != u'T')
            return TableToken::None;
        TableToken token = TableToken::None;
        qsizetype length = 2;
        switch (at(k + 1)) {
        case u'A':
            if (!startsWith(k, QLatin1StringView("TABLE")))
                return TableToken::None;
            token = closing ? TableToken::CloseTable : TableToken::Table;
            length = 5;
            break;
        case u'R':
            token = closing ? TableToken::CloseTr : TableToken::Tr;
            break;
        case u'D':
        case u'H':
            token = closing ? TableToken::CloseTd : TableToken::Td;
            break;
        default:
            return TableToken::None;
        }
        return IsDelimiter(at(k + length)) ? token : TableToken::None;
    }

private:
    bool listedNameAt(qsizetype i) const
    {
        // The name packed as it is read (see NameCode).
        quint64 words[2] = {0, 0};
        bool packs = true;
        qsizetype j = i;
        for (; j < n_ && j - i <= kLongestName; ++j) {
            const char16_t c = UpperOf(written_[j]);
            if (IsDelimiter(c))
                break;
            const int code = CharCode(c);
            if (code < 0)
                packs = false;
            quint64& word = words[j - i < kCharsPerWord ? 0 : 1];
            word = (word << 6) | quint64(code < 0 ? 0 : code);
        }
        if (j >= n_ || j - i > kLongestName)
            return false; // the name runs into the end of the text or is too long
        if (!packs || j == i)
            return false;
        const PackedName code = {words[0], words[1]};
        return index_.contains(code);
    }

    // An ASCII letter, then ASCII letters, digits, ".", "_" and "-", with at
    // least one "-". No character of a name is "<", so the runs read from
    // different "<" never overlap and the pass stays linear.
    bool customNameAt(qsizetype i) const
    {
        if (i >= n_ || !IsAsciiLetter(written_[i]))
            return false;
        bool hyphen = false;
        qsizetype j = i + 1;
        for (; j < n_; ++j) {
            const char16_t c = written_[j];
            if (c == u'-')
                hyphen = true;
            else if (!IsAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'.' && c != u'_')
                break;
        }
        return hyphen && j < n_ && IsDelimiter(written_[j]);
    }

    const char16_t* written_;
    qsizetype n_;
    const NameTable& index_;
    bool custom_;
};

} // namespace

const QStringList& KnownTagNames()
{
    static const QStringList names = [] {
        QStringList l;
        for (const char* t : kKnownTags)
            l << QString::fromLatin1(t);
        return l;
    }();
    return names;
}

const QStringList& Html5TagNames()
{
    static const QStringList names = [] {
        QStringList l = KnownTagNames();
        for (const char* t : kHtml5Tags)
            l << QString::fromLatin1(t);
        return l;
    }();
    return names;
}

bool IsHtml5Document(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = n > 0 && text[0] == QChar(0xFEFF) ? 1 : 0;
    for (;;) {
        while (i < n && IsBlank(text[i].unicode()))
            ++i;
        if (!AsciiWordAt(text, i, QLatin1StringView("<!--")))
            break;
        // As in the check, "<!-->" is a whole comment.
        const qsizetype close = text.indexOf(u"-->", i + 2);
        if (close < 0)
            return false;
        i = close + 3;
    }
    if (!AsciiWordAt(text, i, QLatin1StringView("<!DOCTYPE")))
        return false;
    i += 9;
    const qsizetype blanks = i;
    while (i < n && IsBlank(text[i].unicode()))
        ++i;
    if (i == blanks || !AsciiWordAt(text, i, QLatin1StringView("HTML")))
        return false;
    i += 4;
    while (i < n && IsBlank(text[i].unicode()))
        ++i;
    return i < n && text[i] == u'>';
}

const QString& KnownTagList()
{
    static const QString list = KnownTagNames().join(QStringLiteral("\r\n"));
    return list;
}

TagCheckResult CHECK_TAGS(const QString& text)
{
    TagCheckResult result;
    if (text.isEmpty())
        return result;

    const bool html5 = IsHtml5Document(text);
    const Scan s(text, html5);
    const qsizetype n = s.size();

    auto fault = [&result](qsizetype position, QString message) {
        result.passed = false;
        result.message = std::move(message);
        result.position = int(position);
        return result;
    };

    bool inScript = false;
    bool inSection = false;
    bool inComment = false;
    Foreign foreign = Foreign::None;
    qsizetype depth = 0;
    qsizetype lastOpen = 0; // 1-based positions of the last two counted "<"
    qsizetype previousOpen = 0;
    TableToken last = TableToken::None;
    qsizetype tableDepth = 0;

    // Only the positions where the state can change are visited (Scan::next);
    // at every other one the steps below would do nothing.
    for (qsizetype i = 0; i < n; i = s.next(i)) {
        const qsizetype p = i + 1;
        const char16_t c = s.at(i);

        if (c == u'<') {
            switch (s.at(i + 1)) {
            case u'S':
                if (s.startsWith(i, QLatin1StringView("<SCRIPT")) && IsDelimiter(s.at(i + 7)))
                    inScript = true;
                break;
            case u'/':
                if (s.startsWith(i, QLatin1StringView("</SCRIPT")) && IsDelimiter(s.at(i + 8)))
                    inScript = false;
                break;
            case u'?':
                inSection = true;
                break;
            case u'!':
                if (s.startsWith(i, QLatin1StringView("<!--")))
                    inComment = true;
                break;
            default:
                break;
            }
            // Inline SVG and MathML are skipped as a script is; only the
            // closing tag of the element that opened the content ends it.
            if (html5 && foreign == Foreign::None) {
                if (s.startsWith(i, QLatin1StringView("<SVG")) && IsDelimiter(s.at(i + 4)))
                    foreign = Foreign::Svg;
                else if (s.startsWith(i, QLatin1StringView("<MATH")) && IsDelimiter(s.at(i + 5)))
                    foreign = Foreign::Math;
            } else if (foreign == Foreign::Svg) {
                if (s.startsWith(i, QLatin1StringView("</SVG")) && IsDelimiter(s.at(i + 5)))
                    foreign = Foreign::None;
            } else if (foreign == Foreign::Math) {
                if (s.startsWith(i, QLatin1StringView("</MATH")) && IsDelimiter(s.at(i + 6)))
                    foreign = Foreign::None;
            }
        }
        // A section or comment ends at the first character after its closing mark.
        if (inSection && s.at(i - 2) == u'?' && s.at(i - 1) == u'>')
            inSection = false;
        if (inComment && s.at(i - 3) == u'-' && s.at(i - 2) == u'-' && s.at(i - 1) == u'>')
            inComment = false;
        if (inScript || inSection || inComment || foreign != Foreign::None)
            continue;

        if (c == u'<') {
            const char16_t next = s.at(i + 1);
            const bool nameStart = next == u'!' || next == u'/' || next == u'?'
                || (next >= u'A' && next <= u'Z') || (next >= u'a' && next <= u'z');
            if (!nameStart)
                return fault(p, kTagNotClosedMessage.toString());
            const bool known = s.knownNameAt(i + 1) || (next == u'/' && s.knownNameAt(i + 2));
            if (!known)
                return fault(p, kTagUnknownMessage.toString());
            previousOpen = lastOpen;
            lastOpen = p;
            ++depth;
        } else if (c == u'>') {
            --depth;
        }
        if (depth > 1)
            return fault(previousOpen, kTagNotClosedMessage.toString());
        if (p == n && depth > 0)
            return fault(lastOpen, kTagNotClosedMessage.toString());
        if (depth < 0)
            return fault(p, kTagSurplusCloseMessage.toString());

        if (c != u'<')
            continue;
        // The table order.
        const TableToken token = s.tableTokenAt(i);
        bool allowed = false;
        switch (token) {
        case TableToken::Table:
            allowed = last == TableToken::None || last == TableToken::CloseTable || last == TableToken::Td;
            break;
        case TableToken::Tr:
            allowed = last == TableToken::Table || last == TableToken::CloseTr;
            break;
        case TableToken::Td:
            allowed = last == TableToken::Tr || last == TableToken::CloseTd
                || (last == TableToken::CloseTable && tableDepth > 0);
            break;
        case TableToken::CloseTable:
            allowed = last == TableToken::CloseTr;
            break;
        case TableToken::CloseTr:
            allowed = last == TableToken::CloseTd;
            break;
        case TableToken::CloseTd:
            allowed = last == TableToken::Td || last == TableToken::CloseTable;
            break;
        case TableToken::None:
            break;
        }
        if (token == TableToken::None)
            continue;
        if (!allowed)
            return fault(p, TableFaultMessage(token, last));
        if (token == TableToken::Table)
            ++tableDepth;
        else if (token == TableToken::CloseTable)
            --tableDepth;
        last = token;
    }
    return result;
}

bool CheckTagsInModel(TextModel& editor, QString* message)
{
    const TagCheckResult r = CHECK_TAGS(editor.text());
    if (r.passed)
        return true;
    editor.setSelStart(r.position - 1);
    editor.setSelLength(1);
    if (message)
        *message = r.message;
    return false;
}
