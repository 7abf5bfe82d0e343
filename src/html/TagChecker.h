#pragma once
// The tag checker: one left-to-right pass over a page's source that stops at
// the first fault. It checks that every "<" outside comments, scripts and
// "<? ?>" sections starts a known tag, that angle brackets pair up without
// nesting, that the text does not end inside an open tag, and that TABLE, TR
// and TD (a TH cell counts as a TD) come in their fixed order.
//
// A page that opens with the HTML5 doctype (IsHtml5Document) is checked
// against the known-tag list together with today's elements (Html5TagNames)
// and custom element names such as "my-widget", and the content of an inline
// <svg> or <math> is skipped as a script's is. Any other page is checked
// against the known-tag list alone.
//
// The pass is a pure function of the text; the main window's CHECK_TAGS logs
// the message and selects the character (CheckTagsInModel does the latter).
// Inside TForm1, whose method has the same name, call it as ::CHECK_TAGS.
#include "html/plain/TagPass.h"

#include <QString>
#include <QStringList>
#include <QStringView>

class TextModel;

// The messages of a fault and of a clean check.
inline constexpr QStringView kTagUnknownMessage{kTagUnknownText.data(), qsizetype(kTagUnknownText.size())};
inline constexpr QStringView kTagNotClosedMessage{kTagNotClosedText.data(), qsizetype(kTagNotClosedText.size())};
inline constexpr QStringView kTagSurplusCloseMessage{kTagSurplusCloseText.data(), qsizetype(kTagSurplusCloseText.size())};
inline constexpr QStringView kTableCheckHeading{kTableCheckHeadingText.data(), qsizetype(kTableCheckHeadingText.size())};
inline constexpr QStringView kTagCheckPassedMessage{kTagCheckPassedText.data(), qsizetype(kTagCheckPassedText.size())};

struct TagCheckResult {
    bool passed = true;
    // Empty when passed. The table fault's message has two lines.
    QString message;
    // 1-based position of the offending character in the text; 0 when passed.
    // The editor selects offset position - 1, length 1.
    int position = 0;
};

// The known-tag list: 102 upper-case names, one per line, separated by CR LF.
// Built once, on first use, and never changed.
const QString& KnownTagList();
// The same names one per entry, in the same order.
const QStringList& KnownTagNames();

// The names known in an HTML5 page: the known-tag list, then the elements
// that list lacks, upper-case.
const QStringList& Html5TagNames();

// Whether the text opens with the HTML5 doctype: after an optional byte order
// mark, blanks, tabs, line breaks and comments, "<!DOCTYPE", at least one of
// those blanks, "html", optional blanks and ">", in any letter case.
bool IsHtml5Document(QStringView text);

// Checks the text (with CR LF line ends, as the editor holds it); the text's
// doctype decides which names are known.
TagCheckResult CHECK_TAGS(const QString& text);

// Checks the model's text; on a fault selects the offending character and,
// when message is given, stores the fault's message there. True on a pass.
bool CheckTagsInModel(TextModel& editor, QString* message = nullptr);
