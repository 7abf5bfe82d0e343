#pragma once
// The tag checker's pass over a page's source, on the C++ library alone, so
// the command-line checker needs no Qt; html/TagChecker wraps it for the
// editor and describes what it checks.
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

// The names known on every page, upper-case (the known-tag list).
inline constexpr const char* kKnownTags[] = {
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
inline constexpr const char* kHtml5Tags[] = {
    "ARTICLE", "ASIDE", "AUDIO", "BDI", "CANVAS", "DATA", "DATALIST", "DETAILS", "DIALOG", "FIGCAPTION",
    "FIGURE", "FOOTER", "HEADER", "HGROUP", "MAIN", "MARK", "MATH", "METER", "NAV", "OUTPUT",
    "PICTURE", "PROGRESS", "RP", "RT", "RUBY", "SEARCH", "SECTION", "SELECTEDCONTENT", "SLOT", "SOURCE",
    "SUMMARY", "SVG", "TEMPLATE", "TIME", "TRACK", "VIDEO",
};
static_assert(std::size(kHtml5Tags) == 36);


// The messages of a fault and of a clean check.
inline constexpr std::u16string_view kTagUnknownText = u"Ошибка! Неизвестный тег";
inline constexpr std::u16string_view kTagNotClosedText = u"Ошибка! Тег не закрыт.";
inline constexpr std::u16string_view kTagSurplusCloseText = u"Ошибка! Лишнее закрытие тега или тег некорректен.";
inline constexpr std::u16string_view kTableCheckHeadingText = u"Проверка построения таблиц...";
inline constexpr std::u16string_view kTagCheckPassedText = u"Ошибок при проверке не обнаружено";

struct TagFault {
    bool passed = true;
    // Empty when passed. The table fault's message has two lines.
    std::u16string message;
    // 1-based position of the offending character in the text; 0 when passed.
    std::size_t position = 0;
};

// The character as the pass compares it: ASCII letters upper-cased, and the
// two characters beyond ASCII whose Unicode upper case is ASCII ("ı" and
// "ſ", as I and S); any other character stays as it is, since it can match
// nothing the pass looks for (one character for one, so positions stay
// those of the text).
char16_t UpperOf(char16_t c);

// Whether the text opens with the HTML5 doctype (see IsHtml5Document).
bool IsHtml5Page(std::u16string_view text);

// The pass of CHECK_TAGS.
TagFault CheckTagText(std::u16string_view text);
