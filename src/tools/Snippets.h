#pragma once
// Snippets: named pieces of text kept in the options section Macros, one item
// per snippet (name = item name, text = item value), in the order in which
// the menu and the manager list them.
#include <QList>
#include <QString>

class TextModel;

struct SnippetEntry {
    QString name;     // menu component name: SnippetItemPrefix + index
    QString caption;  // the snippet's name
    QString hint;     // the snippet's text
};

inline const QString SnippetItemPrefix = QStringLiteral("MACROS_ITEM_");

// One entry per stored snippet, in stored order.
QList<SnippetEntry> SnippetMenuEntries();

// Inserts the snippet whose menu entry is entryName at the caret and puts the
// caret back at the start of the inserted text. Undo is left to the caller.
// A name without the prefix or with an index outside the section does nothing.
void InsertSnippet(TextModel& editor, const QString& entryName);

// The text shown as the manager's hover hint: every "#nstr" becomes CR LF.
QString SnippetHintText(const QString& text);
// The hover hint of a snippet in the menu and the manager. Qt renders a hint
// that looks like rich text, so the source is given as escaped markup that
// shows it as written: every line break and run of blanks kept. Empty for an
// empty snippet.
QString SnippetHint(const QString& text);

// Stores a snippet as the editor's OK does. Returns false (nothing stored)
// when the name or the text is empty. A final CR LF of the text is dropped.
// Create mode: the name is written (replaced in place or appended). Edit mode:
// the item oldName is deleted, the new one written and moved to oldIndex.
bool SaveSnippet(const QString& name, QString text, bool editMode,
                 const QString& oldName, int oldIndex);
