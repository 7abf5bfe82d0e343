#pragma once
// The editor's syntax colouring, line by line: given a line's text and the
// state at its start, the coloured spans of the line and the state at its
// end. A state is a small non-negative integer, so the editor can keep one per
// line and colour any line again from the state of the line before it alone.
//
// HTML pages colour tags, attribute names and values, comments, character
// references and declarations (the doctype); the content of <style> blocks
// and style attributes as CSS, of <script> blocks as JavaScript. A PHP
// section ("<?" to "?>") keeps the plain text colour, wherever it stands.
// .css and .js documents are CSS and JavaScript throughout; a text file is
// not coloured.
#include <QString>
#include <QStringView>
#include <vector>

enum class ColouringKind { Plain, Html, Css, Js };

// The kind of a document by its file extension: .css, .js (.mjs, .json),
// .txt plain, anything else (the scratch document too) an HTML page.
ColouringKind ColouringKindForPath(const QString& path);

enum class Token : unsigned char {
    Plain,
    Tag,       // "<name", "</name", ">" and "/>"
    Attribute, // an attribute's name
    Value,     // an attribute's value with its quotes
    Entity,    // "&amp;", "&#160;"
    Comment,   // HTML, CSS and JavaScript comments
    Doctype,   // "<!DOCTYPE ...>" and other "<!...>" declarations
    Php,       // a PHP section: the plain colour
    Selector,  // CSS selectors
    Property,  // CSS property names
    CssValue,  // CSS values
    AtRule,    // "@media", "@import"...
    Keyword,   // JavaScript keywords
    String,    // JavaScript and CSS strings
    Number,    // JavaScript numbers
    Regex,     // JavaScript regular expression literals
};
inline constexpr int kTokenCount = int(Token::Regex) + 1;

// Only so much of a longer line (a minified script) is coloured, so its
// colours never take more memory than a screenful's, and the typing help
// reads no further into a line either.
inline constexpr int kColouredLineLength = 16384;

struct TokenSpan {
    int start = 0;
    int length = 0;
    Token token = Token::Plain;
    bool operator==(const TokenSpan&) const = default;
};

// The state at the start of a document of the kind.
int InitialColouringState(ColouringKind kind);

// Colours one line (without its line break) from the state at its start and
// returns the state at its end. Spans go to *spans (cleared first) in order,
// plain text left out; with spans null only the state is worked out, faster.
int ColourLine(ColouringKind kind, QStringView line, int state, std::vector<TokenSpan>* spans);

// What a state says of the place it stands at, for the parts that act by
// context: HTML text, inside a tag, an attribute's value, a comment, CSS
// (selector, property name or value; a style attribute's value counts as
// CSS), JavaScript code. Other covers declarations, PHP, and strings and
// comments inside CSS and JavaScript.
enum class ColouringPlace { Text, Tag, AttrValue, Comment, CssSelector, CssProperty, CssValue, Js, Other };
ColouringPlace PlaceOfState(int state);
