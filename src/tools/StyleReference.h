#pragma once
// The CSS reference "Мини-справочник по CSS": its menu read from the section
// StyleHelp, the declaration each value puts into the document, and the
// checks of the number dialog.
//
// Every item name of StyleHelp is one token, read in order; its first
// character gives its kind: "-" a property of the current group, "=" a value
// of the current property, "!" a note followed by a separator, "?" a note;
// anything else starts a group. Six value tokens stand for a question to the
// user and are shown by a Russian label ("=color" as "выбор_цвета").
#include <QList>
#include <QString>
#include <QStringList>

// What choosing a value does.
enum class StyleValueKind {
    Plain,  // property:value;
    Multi,  // "множество_параметров": property:; with the caret before ";"
    Text,   // "текстовое_значение": the same
    Number, // "численное_значение": property:number; from the number dialog
    Colour, // "выбор_цвета": property:#000; and the colour picker on it
    Font,   // "выбор_шрифта": the font style dialog instead
    Path,   // "выбор_пути": property:URL(path); from the path chooser
};

struct StyleEntry {
    enum Kind { Value, Note, Separator };
    Kind kind = Value;
    QString caption; // empty for a separator
    bool operator==(const StyleEntry&) const = default;
};

struct StyleProperty {
    QString caption;
    QList<StyleEntry> entries;
};

struct StyleGroup {
    QString caption;
    QList<StyleProperty> properties;
};

// The token with a special value token replaced by its label ("=url" gives
// "=выбор_пути"); any other token as it is.
QString StyleTokenLabel(const QString& token);

// The caption without its "&" accelerator marks.
QString WithoutAccelerators(const QString& caption);

// The kind of a value by its caption ("&" marks ignored).
StyleValueKind StyleValueKindOf(const QString& caption);

// The menu's content from the tokens in order. Empty tokens are skipped, and
// so are tokens that have nothing to go into: a property before any group, a
// value or note before any property of the current group. A caption that
// repeats (case and "&" marks aside: a group among the groups, a property
// within its group) still gives an entry, but what follows it goes into the
// first entry of that caption.
QList<StyleGroup> ParseStyleHelp(const QStringList& tokens);

// The item names of the section StyleHelp, in order (selects the section).
QStringList StyleHelpTokens();

// What choosing a value puts in place of the selection.
struct StyleInsertion {
    QString text;      // empty: nothing to insert
    int caretBack = 0; // characters the caret moves back after the text
    bool operator==(const StyleInsertion&) const = default;
};

// The declaration of a value of a property ("&" marks ignored in both).
// answer is the number with its unit for a number value (empty: nothing is
// inserted) and the chosen path for a path value (empty: the caret waits
// between the parentheses). A font value inserts nothing itself.
StyleInsertion StyleValueInsertion(const QString& property, const QString& value, const QString& answer = QString());

// The number dialog's entry.
enum class NumberEntry {
    Valid,      // an optional leading "-" and decimal digits only
    Empty,      // "Введите число"
    NotANumber, // "Неверное численное значение"
};
NumberEntry CheckNumberEntry(const QString& text);
// The notice for a refused entry; empty for a valid one.
QString NumberEntryMessage(NumberEntry entry);
// The number followed directly by its unit ("12" and "px" give "12px"). The
// digits stay text, so no length of number can overflow.
QString NumberWithUnit(const QString& number, const QString& unit);
// The dialog's caption: "Численное значение" for "[default]", otherwise the
// given caption.
QString NumberDialogCaption(const QString& caption);
