#pragma once
// Abbreviations typed before the caret and expanded into markup: "ul>li*3"
// into a list, "m10-20" in a style into "margin:10px 20px;".
//
// HTML: child ">", sibling "+", climb-up "^", multiplication "*N", groups
// "( )", "#id", ".class", "[attr=value]" (values bare or in either quotes,
// attributes without a value come out as name=""), "{text}", numbering in
// any name, attribute or text: "$" (1, 2...), "$$" (01, 02...), "$@-"
// (counting down), "$@3" (from 3), "$@-3" (down to 3). An element without a
// name takes its parent's implicit child: li in ul/ol, tr in
// table/tbody/thead/tfoot, td in tr, option in select/optgroup, span in an
// inline element, otherwise div. "!" alone is the page skeleton; "lorem" /
// "loremN" and "ryba" / "rybaN" are N words (30 by default) of English or
// Russian placeholder text.
//
// Output: attributes in double quotes; block elements each on a line of
// their own, one tab deeper per level than the line the abbreviation began
// on (the first line keeps what stands before the abbreviation); inline
// elements and text on their parent's line. The caret goes to the first
// empty attribute value or empty content, else after the text.
//
// CSS: a table of short property names ("m", "w", "fz"...) followed by
// values, and of whole declarations ("db", "posa", "tac"...). A value is a
// number with an optional unit letter: p = %, e = em, r = rem, x = ex, none
// = px ("0" stays bare; z-index, opacity, font-weight and line-height take
// no unit); "-" separates values and a "-" right after the name or after a
// separator makes the value negative ("m-10" -> margin:-10px;, "m10--5" ->
// margin:10px -5px;). Colour properties take "#" and hex digits.
//
// Context: HTML text expands HTML, the inside of a <style> block, a style
// attribute's value or a .css document expands CSS, anything else (inside a
// tag, a comment, a script, a text file) nothing. It is read from the
// colouring tokenizer's state at the start of the line.
#include "editor/Colouring.h"

#include <QString>
#include <QStringView>

enum class AbbreviationContext { None, Html, Css };

// More elements than this (all multiplications counted out) and nothing is
// expanded.
inline constexpr int kMaxAbbreviationElements = 1000;

// The context at a column: the tokenizer's state at the line's start and the
// line's text before the column.
AbbreviationContext AbbreviationContextAt(ColouringKind kind, int lineStartState, QStringView lineBefore);

// The start column of the abbreviation that ends at the caret column of the
// line; equal to caret when there is none. In HTML it runs back over
// abbreviation characters (blanks only inside "{}", "[]" and quotes), never
// past the ">" that ends a tag, and there is none while the caret stands
// inside a tag.
int AbbreviationStart(QStringView line, int caret, AbbreviationContext context);

// Whether Tab should expand the text: an abbreviation with an operator, a
// known element name, "!" or placeholder text in HTML, a known short name in
// CSS. A plain word typed in a page stays a word.
bool IsAbbreviationForTab(QStringView abbreviation, AbbreviationContext context);

struct AbbreviationExpansion {
    QString text;  // empty on failure
    int caret = 0; // offset inside text
    QString error; // why nothing was expanded; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Expands the abbreviation. indent is the whitespace that begins its line,
// lineEnd what separates the document's lines (CR LF in the text model).
AbbreviationExpansion ExpandAbbreviation(QStringView abbreviation, AbbreviationContext context, QStringView indent,
    QStringView lineEnd = u"\r\n");

// The blanks and tabs that begin the line.
QStringView LineIndent(QStringView line);
