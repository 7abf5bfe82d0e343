#pragma once
// The tag navigation tree: one pass over the page that turns its structural
// tags (a fixed table of containers, closing containers and single tags)
// into node lines with levels and the position of each tag. Scripts,
// comments and <? ?> sections are stepped over. No windows here.
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

struct TagNode {
    int level = 0;    // 0 at the root; never more than one above the node before
    QString name;     // upper case, without "/" ("!--" for a comment)
    QString details;  // "   name=value" runs, or the comment's text
    int position = 0; // 1-based position of the tag's "<" in the text
    // Level tabs, the name, four blanks, the details.
    QString line() const;
    bool operator==(const TagNode&) const = default;
};

struct TagTreeBuild {
    QList<TagNode> nodes;
    // One node line per node, in order.
    QStringList lines() const;
    // One entry per node: position, "##", name.
    QStringList positions() const;
};

// MAKE_DISPLAY's scan over the editor's whole text (CR LF line breaks).
TagTreeBuild MAKE_DISPLAY(const QString& text);

// One attribute of a tag: tail is the text from the tag's name on (as
// written), upperTail the same upper-cased. The value as the tree shows it
// (single quotes shown as double quotes, line breaks as blanks), or empty.
QString ReadTagAttribute(QStringView tail, QStringView upperTail, const QString& upperName);

// Go to tag: the selection for the entry at index of the position list
// (offset = the stored position, so the tag's name right after its "<" is
// selected; length = the name's). Nothing when there is no such entry or
// the position is not inside a text of textLength characters.
struct TagTarget {
    int offset = 0;
    int length = 0;
    bool operator==(const TagTarget&) const = default;
};
std::optional<TagTarget> TagTargetAt(const QStringList& positionList, int index, int textLength);

// The caption of the pop-up entry for a node's text: "Перейти к <NAME>   (Enter)"
// with the text up to its first blank.
QString GoToTagCaption(const QString& nodeText);
