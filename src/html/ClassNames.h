#pragma once
// The CSS class names a document defines, the current class chosen from
// them, and the inline style attribute under the caret that can become a
// class. No windows here: the callers show the lists and apply the edits.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TextModel;

// Names defined in the document's first style block before the end of the
// head: each "." outside a rule body starts a name that runs up to a tab,
// blank, "(", ",", ":", ";", "[", "{" or the next "."; a "<", ">" or the
// end of the text first means no name. Each name once (letter case ignored).
QStringList ClassNamesFromStyleBlock(const QString& text);

// Names defined in a style sheet's text (line breaks and blanks ignored):
// after a ".", the characters up to "{" or "," (or the next ".") are a name;
// ":" and "}" drop what was gathered. Duplicates are kept.
QStringList ClassNamesFromStyleSheet(const QString& sheetText);

// Reads a linked style sheet as text; nullopt when it cannot be read.
using StyleSheetReader = std::function<std::optional<QString>(const QString& path)>;
// The reader of the real file system (decoded as the editor reads files).
std::optional<QString> ReadStyleSheetFile(const QString& path);

// The class-name list: the style block's names, then the names of every
// linked ".css" resource, read from documentFolder + the reference as
// written (a sheet that cannot be read, or is empty, adds nothing; without a
// document folder no sheet is read). Split into lines, empty ones dropped.
QStringList ClassNames(const QString& text, const QString& documentFolder, const StyleSheetReader& read = {});

// The first entry of the class selector and of its refilled list.
inline const QString NoClassText = QStringLiteral("Нет класса");
// The selector's text before anything was chosen.
inline const QString ChooseClassText = QStringLiteral("Выбор класса");

// What a new text of the class selector means.
struct CurrentClassChoice {
    QString currentClass; // empty: no class
    bool showNoClass = false; // the selector's text must become NoClassText
};
// "Выбор класса", "Нет класса" or a blank text: no class. Otherwise the
// trimmed text, when it consists of Latin letters only; any other character
// empties the class and sets the selector to "Нет класса".
CurrentClassChoice CurrentClassFromText(const QString& comboText);

// The style attribute under the caret.
struct StyleExtraction {
    // The text between the attribute's quotes, or "error" when the caret
    // does not stand inside a style attribute. Empty also when the value
    // has no closing quote.
    QString style;
    // With a new name and a closed attribute: the range (0-based offset and
    // length, from the "s" of style through the closing quote) to replace by
    // replacement, after which the caret goes to caretAfter.
    bool replace = false;
    int start = 0;
    int length = 0;
    QString replacement;
    int caretAfter = 0;
};
inline const QString StyleError = QStringLiteral("error");
// p: the caret's 0-based offset in text (line breaks counting two, as the
// editor's text holds them). A new name that is empty or "error" asks for
// the value only.
StyleExtraction ExtractStyle(const QString& text, int p, const QString& newName = {});

// Puts a replacement of ExtractStyle into the editor: selects the range,
// replaces it and leaves the caret after the new text with nothing
// selected. Does nothing (false) when the extraction has no replacement.
// The caller brackets the change with the undo calls.
bool ApplyStyleExtraction(TextModel& editor, const StyleExtraction& extraction);
