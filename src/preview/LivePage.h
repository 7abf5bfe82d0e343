#pragma once
// What the live preview knows of the page text it shows, by its own scan of
// the text: which element the caret is in, where an element's start tag is,
// and whether an edit changed nothing but style (a <style> element's sheet or
// a style attribute), so the shown page can take it without a reload.
// Elements are named as the browser numbers them: the tag name and the
// element's place among the elements of that name in document order.
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

struct PageElement {
    QString name; // lower case
    int index = 0;
    friend bool operator==(const PageElement&, const PageElement&) = default;
};

// A start tag as the scan found it.
struct ScannedTag {
    QString name;
    int index = 0;       // among the start tags of this name
    int start = 0;       // at its "<"
    int end = 0;         // after its ">" (or the text's end)
    int contentEnd = -1; // style and script: where the content ends ("</"), else -1
    int styleStart = -1; // the style attribute's value, without quotes; -1 without one
    int styleEnd = -1;
    bool quoted = false; // the style value is in quotes
};

// The start tags of text before limit (all of them by default), in order.
// Comments, <! > and <? ?> declarations, and the contents of script, style,
// textarea and title are skipped as a browser skips them.
std::vector<ScannedTag> ScanStartTags(QStringView text, int limit = -1);

// The element whose start tag or content holds the caret (a caret right
// before a start tag is at that element): the innermost one open at the caret (void elements close at once; an end tag closes the
// innermost open element of its name).
std::optional<PageElement> ElementAtCaret(QStringView text, int caret);

// Where the start tag of an element begins; nullopt when the text has none
// (elements the browser adds, such as an implied body).
std::optional<int> StartTagOf(QStringView text, const PageElement& element);

// An edit from before to after that changed only the sheet of one <style>
// element or the value of one style attribute.
struct StyleEdit {
    bool sheet = false; // true: a <style> element's text; false: a style attribute
    PageElement element;
    QString value;
};
std::optional<StyleEdit> StyleOnlyEdit(QStringView before, QStringView after);

// An edit from before to after that changed only what follows the <body>
// start tag, on pages with no script (nor noscript, which a page with
// scripts reads otherwise): such a page shows the edit when its body is
// parsed again and put in place of the old, with nothing to run.
bool BodyOnlyEdit(QStringView before, QStringView after);
