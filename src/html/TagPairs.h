#pragma once
// Start and end tags that belong together: the end tag typed for the user
// after the ">" of a start tag or after "</", the pair of tags around the
// caret, and the partner's name to rewrite when one tag's name is edited.
//
// Everything works on bounded windows of the text around the caret, read by
// one small forward scan that steps over comments, "<? ?>" sections,
// declarations, quoted attribute values and the content of <script> and
// <style>. A window may start anywhere: inside a comment, section, script,
// style or tag, what ends it in the window ("-->", "?>", </script>, </style>
// met as page text, a ">" before any "<") shows, and the scan goes on from
// there as in page text, the tags before it left out. So a pair is never
// made of tags that stand in a comment or script before such a point; one
// that spans it is not found. The text after a pair is not read, so a
// comment that ends only after both tags is not seen.
#include <QString>
#include <QStringView>
#include <optional>

// How far the pair search reads before and after the caret.
inline constexpr int kTagPairScanLimit = 256 * 1024;
// How much text before the caret the typing rules read.
inline constexpr int kTagTypingWindow = 64 * 1024;

// The document's kind as far as tags go: only HTML pages have them.
struct TagTypingContext {
    bool html = true;
};

// Whether the upper- or lower-case name is one of an element without an end
// tag (BR, IMG, the obsolete BASEFONT, FRAME...).
bool IsVoidElement(QStringView name);

// The end tag to put after the caret once ">" has been typed: before is the
// text before the caret ending with that ">", after the text after the caret.
// Nothing for a void element, a "/>" tag, a ">" that ends no start tag (in a
// comment, script, style, "<? ?>" section or attribute value) or when the
// same end tag already follows the caret (blanks and line breaks between).
// The name keeps the letter case it was typed in.
std::optional<QString> EndTagToInsert(QStringView before, QStringView after, TagTypingContext context = {});

// What completes a just typed "</" (before ends with it): the innermost open
// element's name and ">", or nothing when no element is open in the window or
// the "</" stands in a comment, script, style or section.
std::optional<QString> EndTagCompletion(QStringView before, TagTypingContext context = {});

// The names of a start tag and its end tag, as offsets into the text.
struct TagPair {
    int openName = 0;
    int openLength = 0;
    int closeName = 0;
    int closeLength = 0;
    bool operator==(const TagPair&) const = default;
};

// A quick look whether the caret may stand in a tag: a "<" at it, or one
// before it (within 4 KB) with no ">" between but one just before the caret.
// MatchingTag finds nothing where this says no.
bool MayBeInTag(QStringView text, int caret);

// The pair whose start or end tag holds the caret (from just before its "<"
// to just after its ">"), matched by name ignoring letter case, nested
// elements of the same name counted. Nothing for a void or "/>" element, a
// tag without a partner, or a partner farther than the scan limit.
std::optional<TagPair> MatchingTag(QStringView text, int caret, int scanLimit = kTagPairScanLimit);

// One replacement that renames the partner: its name's range in the edited
// text, and the name to put there.
struct TagRename {
    int start = 0;
    int length = 0;
    QString name;
    bool operator==(const TagRename&) const = default;
};

// After an edit (at start, removed characters replaced by added ones) that
// lies inside or at the edges of one name of the pair found before it, the
// replacement that gives the other name the same new text. Nothing when the
// edit reaches outside the name, leaves it empty or not a name, or the names
// already agree.
std::optional<TagRename> PartnerRename(const TagPair& before, int start, int removed, int added, QStringView textAfter);
