#pragma once
// The document's way in and out of files: reading with the charset check,
// writing in the document's encoding, the save question, and the rules of
// the document state that the main window follows. No windows here: the
// editor text comes in as a string (or a TextModel), questions go through
// platform::prompts(), and log lines through a callback.
#include "app/Globals.h"
#include "app/plain/DocumentBytes.h"
#include "platform/Prompts.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class TextModel;

// The scratch document's name, shown in the caption of a new document.
inline const QString ScratchDocumentName = QStringLiteral("new_document.html");
inline const QString OriginOpening = QStringLiteral("Opening");
inline const QString OriginSaving = QStringLiteral("Saving");
inline const QString FileNotFoundMessage = QString::fromUtf8(kFileNotFoundText);
inline const QString SaveQuestionText = QStringLiteral("Сохранить изменения в документе?");

// Writes one line into the message log (red when isError).
using LogWriter = std::function<void(const QString& message, bool isError)>;

// ---- Reading ----------------------------------------------------------

// Decoded file text as the editor shows it: CR LF, CR or LF end a line, the
// lines are joined with CR LF, and a final line end adds no empty line.
QString JoinDocumentLines(QString decoded);

// How a file's lines end (LineEnds in app/Globals.h).
LineEnds LineEndsOf(const QByteArray& bytes);
QStringView LineBreakOf(LineEnds ends);

// DeclaredCharset and CharsetEncoding (app/plain/DocumentBytes.h) of a byte array.
std::optional<int> DeclaredCharset(const QByteArray& bytes);

int CharsetEncoding(const QByteArray& bytes);

// The encoding of a page made in the program (not read from a file): the
// one it declares, else Windows-1251.
int PageEncoding(const QString& page);

// A file that is not text: a NUL byte among its first 8 KB.
bool LooksBinary(const QByteArray& bytes);

struct DecodedDocument {
    int encoding = EncodingCp1251;
    LineEnds lineEnds = LineEnds::CrLf;
    // Bytes of a UTF-8 document that are not valid UTF-8; they are kept as
    // raw-byte characters and written back unchanged.
    qsizetype invalidBytes = 0;
    QString text; // lines joined with CR LF
};

// CHECK_ENCODE over the bytes of a file just opened: decides the encoding
// and the line ends and decodes the bytes. Decoding and DocumentBytes give
// back the very bytes read (the final line end aside).
DecodedDocument CHECK_ENCODE(const QByteArray& bytes);

// The log line for a UTF-8 document holding invalid bytes.
QString InvalidUtf8Message(qsizetype invalidBytes);
// The question before a file that looks binary is opened as text.
QString BinaryFileQuestion(const QString& path);

// A whole file's bytes. On failure nullopt and *error gets the message
// (FileNotFoundMessage for a missing file); what is not a regular file (a
// device, a pipe) and files over MaxDocumentBytes are refused unread.
std::optional<QByteArray> ReadDocumentFile(const QString& path, QString* error = nullptr);

// The open-from-disk core: read the file (as plain text) and run the charset check.
std::optional<DecodedDocument> LoadDocument(const QString& path, QString* error = nullptr);

// "Открыть в буфер обмена": the file's lines, each followed by CR LF. The
// bytes are decoded as the charset check would decode them; the document's
// state is not changed.
std::optional<QString> ClipboardTextOfFile(const QString& path, QString* error = nullptr);

// ---- Writing ----------------------------------------------------------

// The document save dialog: its title, filter and default extension.
platform::FileDialogRequest SaveDialogRequest();
// The path dialog "Выбор пути", opening in the given folder.
platform::FileDialogRequest PathDialogRequest(const QString& folder);

// The bytes DocSave writes: every line followed by the line break (CR LF,
// CR and LF in the text all end a line), in Windows-1251 (1) or UTF-8 (2;
// a byte order mark only when the text keeps one). Characters Windows-1251
// lacks become "?"; ask UnencodableInCp1251 first. An empty text gives an
// empty file. A text ending with a line break keeps its last, empty line.
QByteArray DocumentBytes(const QString& text, int encoding, LineEnds ends = LineEnds::CrLf);

// Replaces the file atomically: either the new content is complete on disk
// or the previous file is left as it was. A file without write permission
// is not replaced. A writable file in a folder that cannot be written (where
// no replacement can be made beside it) is written in place, its previous
// content put back when the write fails. On failure *error gets a Russian
// message.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Writes an existing file in place: its previous content is read first and
// put back when the write does not complete or does not read back as
// written.
bool WriteFileInPlace(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// DocSave(path) over the given editor text, encoding and line ends.
bool DocSave(const QString& path, const QString& text, int encoding, LineEnds ends, QString* error = nullptr);

// The characters of a text Windows-1251 cannot hold.
struct Cp1251Gaps {
    int count = 0;        // characters (a surrogate pair counts once)
    int firstOffset = -1; // offset of the first one in the text
    QStringList distinct; // each one once, in order of appearance
    bool empty() const { return count == 0; }
};
Cp1251Gaps UnencodableInCp1251(const QString& text);

// The red log line for such characters.
QString Cp1251GapsMessage(const Cp1251Gaps& gaps);

// Before a document is written in `encoding`: when that is Windows-1251 and
// the text holds characters it lacks, writes the red log line and asks
// whether to save in UTF-8 instead. Yes gives 2, No gives 1 (those
// characters become "?"), Cancel gives nullopt (do not save). Otherwise
// the encoding is returned unchanged without a question.
std::optional<int> ConfirmSaveEncoding(const QString& text, int encoding, const LogWriter& log);

enum class SaveResult { Saved, Cancelled, Failed };

// Writes the editor text to path in DocEncoding and DocLineEnds after ConfirmSaveEncoding
// (DocEncoding follows a change to UTF-8). A failed write is shown in a
// message box; the previous file stays as it was.
SaveResult SaveDocumentAs(const QString& path, const QString& text, const LogWriter& log);

// ---- The save question and the save commands ---------------------------

// What Save does with the document: write it to its own path ("Opening" or
// "Saving"), or run Save As (new documents and imported archives).
enum class SaveRoute { OwnPath, SaveAs };
SaveRoute SaveFileRoute(const QString& docOrigin);

// SAVE_ON_EXIT: true means "go on". Asks only when DocModified. Yes writes
// the document (a never-saved document runs saveAs instead, and its
// cancellation or failure answers false); No leaves a reserve copy of the
// text in the backup folder (a copy that cannot be written is reported and
// the command goes on, as the user declined saving); Cancel answers false.
// DocModified is not changed here.
bool SAVE_ON_EXIT(const QString& text, const std::function<SaveResult()>& saveAs, const LogWriter& log = {});

// Whether Save As should delete the scratch document afterwards: only when
// the document was the scratch document and the chosen path is another file.
bool DeleteScratchAfterSaveAs(const QString& currentFileName, const QString& chosenPath);

// Whether two paths name the same file (letter case as the platform's file
// names; both resolved when they exist).
bool SamePath(const QString& a, const QString& b);

// ---- Document kind and titles -------------------------------------------

// The text after the last dot, upper-cased, is "HTML", "HTM" or "HTT".
bool IsHtmlPath(const QString& path);
bool CurrentIsHTML();
// CurrentFileName equals the scratch document's path exactly.
bool CurrentIsNew();

enum class DropKind { Document, Image, Ignored };
// A dropped file: an existing html, htm, txt, css or js document; an image
// (jpg, jpeg, gif, png, bmp) for the image-drop dialog; or nothing.
DropKind ClassifyDroppedFile(const QString& path);

// "Veltmark - " + file name.
QString MainWindowCaption(const QString& path);
// File name + " - Veltmark".
QString ApplicationTitle(const QString& path);

// The folder CONTFOLDER opens (empty when there is no document).
QString ContainingFolder(const QString& path);
bool OpenContainingFolder();

// ---- The document's state ----------------------------------------------

struct DocumentState {
    QString fileName;
    QString origin;
    int encoding = EncodingCp1251;
    bool modified = false;
    LineEnds lineEnds = LineEnds::CrLf;
    bool operator==(const DocumentState&) const = default;
};

enum class DocumentEvent {
    Opened,          // open command, recent entry, start-up, and a dropped document
    NewEmpty,        // the new empty document (modified is left to the change handler); Windows-1251, CR LF
    TextImported,    // path: the source with the extension ".html"
    ArchiveImported, // into the scratch document
    SavedAs,         // only after the file was written
    Saved,           // only after the file was written
    EncodingChosen,  // the encoding menu
};

// The state after an event. path, encoding and line ends are used where the
// event brings them (Opened: the path and the charset check's encoding and
// line ends; SavedAs and TextImported: the path; EncodingChosen: the
// encoding).
DocumentState ApplyDocumentEvent(const DocumentState& state, DocumentEvent event, const QString& path = {}, int encoding = 0,
                                 LineEnds ends = LineEnds::CrLf);

// The program-wide state (Globals) as one value, and back.
DocumentState CurrentDocumentState();
void SetDocumentState(const DocumentState& state);

// ---- Editing ------------------------------------------------------------

// InsertAtCaret: puts text into the caret's line at the caret's column. The
// caret and the selection stay where they were; undo is not touched. An
// empty editor receives the text as its first line.
void InsertAtCaret(TextModel& editor, const QString& text);
