#pragma once
// Program-wide state: the program folders and the document's state. All of
// it lives for the whole run and belongs to the main window's side.
#include <QString>
#include <QtGlobal>

// The program folder (options sections, scratch document), with a trailing separator.
extern QString ProgramFolder;
// ProgramFolder + "Backup/": reserve copies.
extern QString BackupFolder;

// Full path of the document in the editor; empty for none.
extern QString CurrentFileName;
// 1 = Windows-1251, 2 = UTF-8.
extern int DocEncoding;
// How the document's file ends its lines: a file whose every line end is a
// lone LF is written back with LF; any other, and a new document, with CR LF.
enum class LineEnds { CrLf, Lf };
extern LineEnds DocLineEnds;
// "Opening", "Saving" or empty.
extern QString DocOrigin;
extern bool DocModified;
// Set while a document is being put into the editor; cleared by the clock.
extern bool LoadingText;
// The editor instance that started this one ("PARENT" on the command line), or 0.
extern qint64 ParentWindow;
// That instance's document ("PARENTDOC").
extern QString ParentDocument;
// The editor types a pair of quotes after "style=" (option 2QUOTES).
extern bool UseDoubleQuotes;
// The previews check the tags first. Not stored: on at every start, toggled
// by "Проверять исходник" (and by the settings dialog's box of that name).
extern bool CHECK_HTML;
// Help while typing, each switched on the settings dialog's "Правка" tab:
// the end tag typed with a start tag's ">" and after "</", and the matching
// tag's highlight and renaming; the completion list; abbreviations on Tab.
extern bool TypingCloseTags;
extern bool TypingCompletion;
extern bool TypingAbbreviations;
// The comment handed to the comment dialog; empty when nothing is handed over.
extern QString CommentText;

// Sets ProgramFolder and BackupFolder from the platform's program folder.
void InitProgramFolders();
// The scratch document of a new, never-saved document.
QString ScratchDocumentPath();
// Back to the values at start.
void ResetGlobals();
