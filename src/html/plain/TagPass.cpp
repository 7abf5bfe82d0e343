#include "html/plain/TagPass.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Index = std::ptrdiff_t;

// Every known name packed into two numbers, six bits a character and ten
// characters a number (names are of A-Z, 0-9, "!" and "-"), looked up
// as they are read from the scanned text, without building any string.
constexpr Index kCharsPerWord = 10;
constexpr Index kLongestName = 2 * kCharsPerWord;
using PackedName = std::array<std::uint64_t, 2>;

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
PackedName NameCode(std::string_view name)
{
    if (name.empty() || Index(name.size()) > kLongestName)
        return {};
    std::uint64_t words[2] = {0, 0};
    for (Index k = 0; k < Index(name.size()); ++k) {
        const int c = CharCode(char16_t(name[k]));
        if (c < 0)
            return {};
        if (k < kCharsPerWord)
            words[0] = (words[0] << 6) | std::uint64_t(c);
        else
            words[1] = (words[1] << 6) | std::uint64_t(c);
    }
    return {words[0], words[1]};
}

// The packed names for lookup: an open-addressed table of more than three
// slots a name, so a lookup mostly reads one slot. An empty slot is all
// zeros, which no name packs to.
class NameTable {
public:
    explicit NameTable(std::initializer_list<std::span<const char* const>> lists)
    {
        for (std::span<const char* const> names : lists)
          for (const char* name : names) {
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
static_assert((std::size(kKnownTags) + std::size(kHtml5Tags)) * 3 < 512);

const NameTable& NamesOf(bool html5)
{
    static const NameTable known({kKnownTags});
    static const NameTable current({kKnownTags, kHtml5Tags});
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
bool AsciiWordAt(std::u16string_view text, Index i, std::string_view word)
{
    if (i < 0 || i + Index(word.size()) > Index(text.size()))
        return false;
    for (Index k = 0; k < Index(word.size()); ++k) {
        char16_t c = text[i + k];
        if (c >= u'a' && c <= u'z')
            c -= 32;
        if (c != char16_t(static_cast<unsigned char>(word[k])))
            return false;
    }
    return true;
}

enum class TableToken { None, Table, Tr, Td, CloseTable, CloseTr, CloseTd };

// The elements whose content an HTML5 page skips, from the opening tag to the
// first closing tag of the same element.
enum class Foreign { None, Svg, Math };

std::u16string_view TokenName(TableToken t)
{
    switch (t) {
    case TableToken::Table: return u"<TABLE>";
    case TableToken::Tr: return u"<TR>";
    case TableToken::Td: return u"<TD>";
    case TableToken::CloseTable: return u"</TABLE>";
    case TableToken::CloseTr: return u"</TR>";
    case TableToken::CloseTd: return u"</TD>";
    case TableToken::None: break;
    }
    return {};
}

std::u16string TableFaultMessage(TableToken token, TableToken last)
{
    const bool closing = token == TableToken::CloseTable || token == TableToken::CloseTr || token == TableToken::CloseTd;
    std::u16string m(kTableCheckHeadingText);
    m += u"\r\n\t\tТег ";
    m += TokenName(token);
    if (last == TableToken::None)
        m += closing ? u" не может быть закрыт здесь" : u" не может открываться здесь";
    else
    {
        m += closing ? u" не может быть закрыт после тега " : u" не может открываться после тега ";
        m += TokenName(last);
    }
    return m;
}



// The first "<" or ">" at or after from, or n when there is none. They are
// the only characters that change the pass's state, together with the one
// after a ">" (where a comment or section ends); the scan steps over the
// text between them eight characters at a time.
Index NextAngle(const char16_t* d, Index from, Index n)
{
    Index i = from;
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
    Scan(std::u16string_view text, bool html5)
        : written_(text.data()), n_(Index(text.size())), index_(NamesOf(html5)), custom_(html5)
    {
    }

    Index size() const { return n_; }
    // The character at i, or 0 outside the text (0 is never a delimiter nor
    // part of any pattern, so a NUL in the text behaves the same).
    char16_t at(Index i) const { return i >= 0 && i < n_ ? UpperOf(written_[i]) : 0; }

    // The next position after i the pass has to look at: the character
    // after a ">", the next "<" or ">", and the text's last character.
    Index next(Index i) const
    {
        if (written_[i] == u'>')
            return i + 1;
        const Index j = NextAngle(written_, i + 1, n_);
        return j < n_ ? j : (i + 1 < n_ ? n_ - 1 : n_);
    }

    bool startsWith(Index i, std::string_view s) const
    {
        if (i < 0 || i + Index(s.size()) > n_)
            return false;
        for (Index k = 0; k < Index(s.size()); ++k)
            if (UpperOf(written_[i + k]) != char16_t(static_cast<unsigned char>(s[k])))
                return false;
        return true;
    }

    // Whether a known name, or where allowed a custom element name, starts
    // at i and is followed by a delimiter.
    bool knownNameAt(Index i) const { return listedNameAt(i) || (custom_ && customNameAt(i)); }

    // The table tag whose name starts at i and is followed by a delimiter:
    // TABLE, TR, TD or TH (a header cell counts as a TD cell), opening or
    // closing.
    TableToken tableTokenAt(Index i) const
    {
        Index k = i + 1;
        const bool closing = at(k) == u'/';
        if (closing)
            ++k;
        if (at(k) != u'T')
            return TableToken::None;
        TableToken token = TableToken::None;
        Index length = 2;
        switch (at(k + 1)) {
        case u'A':
            if (!startsWith(k, std::string_view("TABLE")))
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
    bool listedNameAt(Index i) const
    {
        // The name packed as it is read (see NameCode).
        std::uint64_t words[2] = {0, 0};
        bool packs = true;
        Index j = i;
        for (; j < n_ && j - i <= kLongestName; ++j) {
            const char16_t c = UpperOf(written_[j]);
            if (IsDelimiter(c))
                break;
            const int code = CharCode(c);
            if (code < 0)
                packs = false;
            std::uint64_t& word = words[j - i < kCharsPerWord ? 0 : 1];
            word = (word << 6) | std::uint64_t(code < 0 ? 0 : code);
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
    bool customNameAt(Index i) const
    {
        if (i >= n_ || !IsAsciiLetter(written_[i]))
            return false;
        bool hyphen = false;
        Index j = i + 1;
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
    Index n_;
    const NameTable& index_;
    bool custom_;
};

} // namespace

char16_t UpperOf(char16_t c)
{
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    // The only characters beyond ASCII whose upper case is in it.
    if (c == 0x0131)
        return u'I';
    if (c == 0x017F)
        return u'S';
    return c;
}

bool IsHtml5Page(std::u16string_view text)
{
    const Index n = Index(text.size());
    Index i = n > 0 && text[0] == u'\uFEFF' ? 1 : 0;
    for (;;) {
        while (i < n && IsBlank(text[i]))
            ++i;
        if (!AsciiWordAt(text, i, std::string_view("<!--")))
            break;
        // As in the check, "<!-->" is a whole comment.
        const std::size_t close = text.find(u"-->", std::size_t(i + 2));
        if (close == std::u16string_view::npos)
            return false;
        i = Index(close) + 3;
    }
    if (!AsciiWordAt(text, i, std::string_view("<!DOCTYPE")))
        return false;
    i += 9;
    const Index blanks = i;
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i == blanks || !AsciiWordAt(text, i, std::string_view("HTML")))
        return false;
    i += 4;
    while (i < n && IsBlank(text[i]))
        ++i;
    return i < n && text[i] == u'>';
}

TagFault CheckTagText(std::u16string_view text)
{
    TagFault result;
    if (text.empty())
        return result;

    const bool html5 = IsHtml5Page(text);
    const Scan s(text, html5);
    const Index n = s.size();

    auto fault = [&result](Index position, std::u16string message) {
        result.passed = false;
        result.message = std::move(message);
        result.position = std::size_t(position);
        return result;
    };

    bool inScript = false;
    bool inSection = false;
    bool inComment = false;
    Foreign foreign = Foreign::None;
    Index depth = 0;
    Index lastOpen = 0; // 1-based positions of the last two counted "<"
    Index previousOpen = 0;
    TableToken last = TableToken::None;
    Index tableDepth = 0;

    // Only the positions where the state can change are visited (Scan::next);
    // at every other one the steps below would do nothing.
    for (Index i = 0; i < n; i = s.next(i)) {
        const Index p = i + 1;
        const char16_t c = s.at(i);

        if (c == u'<') {
            switch (s.at(i + 1)) {
            case u'S':
                if (s.startsWith(i, std::string_view("<SCRIPT")) && IsDelimiter(s.at(i + 7)))
                    inScript = true;
                break;
            case u'/':
                if (s.startsWith(i, std::string_view("</SCRIPT")) && IsDelimiter(s.at(i + 8)))
                    inScript = false;
                break;
            case u'?':
                inSection = true;
                break;
            case u'!':
                if (s.startsWith(i, std::string_view("<!--")))
                    inComment = true;
                break;
            default:
                break;
            }
            // Inline SVG and MathML are skipped as a script is; only the
            // closing tag of the element that opened the content ends it.
            if (html5 && foreign == Foreign::None) {
                if (s.startsWith(i, std::string_view("<SVG")) && IsDelimiter(s.at(i + 4)))
                    foreign = Foreign::Svg;
                else if (s.startsWith(i, std::string_view("<MATH")) && IsDelimiter(s.at(i + 5)))
                    foreign = Foreign::Math;
            } else if (foreign == Foreign::Svg) {
                if (s.startsWith(i, std::string_view("</SVG")) && IsDelimiter(s.at(i + 5)))
                    foreign = Foreign::None;
            } else if (foreign == Foreign::Math) {
                if (s.startsWith(i, std::string_view("</MATH")) && IsDelimiter(s.at(i + 6)))
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
                return fault(p, std::u16string(kTagNotClosedText));
            const bool known = s.knownNameAt(i + 1) || (next == u'/' && s.knownNameAt(i + 2));
            if (!known)
                return fault(p, std::u16string(kTagUnknownText));
            previousOpen = lastOpen;
            lastOpen = p;
            ++depth;
        } else if (c == u'>') {
            --depth;
        }
        if (depth > 1)
            return fault(previousOpen, std::u16string(kTagNotClosedText));
        if (p == n && depth > 0)
            return fault(lastOpen, std::u16string(kTagNotClosedText));
        if (depth < 0)
            return fault(p, std::u16string(kTagSurplusCloseText));

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

