#include "html/TagChecker.h"

#include "store/Utilities.h"

#include "editor/TextModel.h"

#include <QLatin1StringView>
#include <algorithm>
#include <vector>

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

// Every known name packed into one number, six bits a character (names are
// at most ten characters of A-Z, 0-9, "!" and "-"), sorted for lookup by a
// view into the scanned text without building any string.
constexpr qsizetype kLongestName = 10;

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

// The packed form, or 0 when the name cannot be a known one.
quint64 NameCode(QStringView name)
{
    if (name.isEmpty() || name.size() > kLongestName)
        return 0;
    quint64 code = 0;
    for (QChar c : name) {
        const int k = CharCode(c.unicode());
        if (k < 0)
            return 0;
        code = (code << 6) | quint64(k);
    }
    return code;
}

const std::vector<quint64>& Index()
{
    static const std::vector<quint64> index = [] {
        std::vector<quint64> codes;
        for (const QString& name : KnownTagNames())
            codes.push_back(NameCode(name));
        std::sort(codes.begin(), codes.end());
        return codes;
    }();
    return index;
}

// Tab, line feed, carriage return, space, "/" and ">" end a tag name.
bool IsDelimiter(char16_t c)
{
    return c == 9 || c == 10 || c == 13 || c == 32 || c == u'/' || c == u'>';
}

enum class TableToken { None, Table, Tr, Td, CloseTable, CloseTr, CloseTd };

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

// The upper-cased text with 0-based access; outside it there is no character.
class Scan {
public:
    explicit Scan(const QString& upper) : d_(upper.constData()), n_(upper.size()), index_(Index()) {}

    qsizetype size() const { return n_; }
    // The character at i, or 0 outside the text (0 is never a delimiter nor
    // part of any pattern, so a NUL in the text behaves the same).
    char16_t at(qsizetype i) const { return i >= 0 && i < n_ ? d_[i].unicode() : 0; }

    bool startsWith(qsizetype i, QLatin1StringView s) const
    {
        if (i < 0 || i + s.size() > n_)
            return false;
        for (qsizetype k = 0; k < s.size(); ++k)
            if (d_[i + k].unicode() != char16_t(uchar(s[k].toLatin1())))
                return false;
        return true;
    }

    // Whether a known name starts at i and is followed by a delimiter.
    bool knownNameAt(qsizetype i) const
    {
        qsizetype j = i;
        while (j < n_ && j - i <= kLongestName && !IsDelimiter(d_[j].unicode()))
            ++j;
        if (j >= n_ || j - i > kLongestName)
            return false; // the name runs into the end of the text or is too long
        const quint64 code = NameCode(QStringView(d_ + i, j - i));
        return code != 0 && std::binary_search(index_.begin(), index_.end(), code);
    }

private:
    const QChar* d_;
    qsizetype n_;
    const std::vector<quint64>& index_;
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

    const QString upper = UpperKeepingPositions(text);
    const Scan s(upper);
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
    qsizetype depth = 0;
    qsizetype lastOpen = 0; // 1-based positions of the last two counted "<"
    qsizetype previousOpen = 0;
    TableToken last = TableToken::None;
    qsizetype tableDepth = 0;

    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype p = i + 1;
        const char16_t c = s.at(i);

        if (c == u'<') {
            if (s.startsWith(i, QLatin1StringView("<SCRIPT")) && IsDelimiter(s.at(i + 7)))
                inScript = true;
            if (s.startsWith(i, QLatin1StringView("</SCRIPT")) && IsDelimiter(s.at(i + 8)))
                inScript = false;
            if (s.at(i + 1) == u'?')
                inSection = true;
            if (s.startsWith(i, QLatin1StringView("<!--")))
                inComment = true;
        }
        // A section or comment ends at the first character after its closing mark.
        if (inSection && s.at(i - 2) == u'?' && s.at(i - 1) == u'>')
            inSection = false;
        if (inComment && s.at(i - 3) == u'-' && s.at(i - 2) == u'-' && s.at(i - 1) == u'>')
            inComment = false;
        if (inScript || inSection || inComment)
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
        // The table order; the first prefix that matches applies.
        TableToken token = TableToken::None;
        bool allowed = false;
        if (s.startsWith(i, QLatin1StringView("<TABLE"))) {
            token = TableToken::Table;
            allowed = last == TableToken::None || last == TableToken::CloseTable || last == TableToken::Td;
        } else if (s.startsWith(i, QLatin1StringView("<TR"))) {
            token = TableToken::Tr;
            allowed = last == TableToken::Table || last == TableToken::CloseTr;
        } else if (s.startsWith(i, QLatin1StringView("<TD"))) {
            token = TableToken::Td;
            allowed = last == TableToken::Tr || last == TableToken::CloseTd
                || (last == TableToken::CloseTable && tableDepth > 0);
        } else if (s.startsWith(i, QLatin1StringView("</TABLE"))) {
            token = TableToken::CloseTable;
            allowed = last == TableToken::CloseTr;
        } else if (s.startsWith(i, QLatin1StringView("</TR"))) {
            token = TableToken::CloseTr;
            allowed = last == TableToken::CloseTd;
        } else if (s.startsWith(i, QLatin1StringView("</TD"))) {
            token = TableToken::CloseTd;
            allowed = last == TableToken::Td || last == TableToken::CloseTable;
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
