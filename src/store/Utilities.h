#pragma once
// The program's general library: text replacement and splitting, relative
// paths for links, path and file tools, registry and shell-verb tools, and
// the small modal notice window. It holds no state.
//
// Positions are 1-based unless said otherwise. Paths use "/" as separator.
#include "platform/Registry.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// Registry roots, as the program's callers name them.
inline constexpr platform::RegRoot HKEY_CLASSES_ROOT = platform::RegRoot::ClassesRoot;
inline constexpr platform::RegRoot HKEY_LOCAL_MACHINE = platform::RegRoot::LocalMachine;

// Upper-cases character by character (the length never changes).
QString UpperKeepLength(const QString& text);
// Upper-cases the ASCII letters only.
QString AsciiUpper(const QString& text);

// Replaces every occurrence of find, left to right, continuing after each
// inserted replacement. Without the flag the comparison ignores letter case.
// An empty find leaves the text unchanged.
QString ReplaceText(const QString& text, const QString& find, const QString& replacement, bool caseSensitive);

// ReplaceText of the separator by CR LF, then the lines (line ends CR LF, CR or LF;
// a trailing line end adds no empty line).
QStringList SplitToList(const QString& text, const QString& separator);

// Splits text into lines the way the program reads files: CR LF, CR or LF end
// a line, and a final line end adds no empty line.
QStringList SplitLines(const QString& text);

// 1-based position of the first occurrence, or -1.
int FindText(const QString& text, const QString& sub, bool caseSensitive);

// The contents of <pre>, <textarea> and <script> elements, which reformatting
// must leave as written: [start, end) each, in order. Comments are stepped
// over, so a "<pre>" inside one opens nothing; an element left open runs to
// the end of the text.
struct KeptRange {
    qsizetype start = 0;
    qsizetype end = 0;
};
QList<KeptRange> KeptContentRanges(QStringView text);

QString SquashRepeats(const QString& text, QChar c);
QString ExtractNumber(const QString& text);
bool ParseBool(const QString& text);
QString BoolToText(bool value);

// "dd.mm.yy_hh.nn_sszzz".
QString DateStamp();
QString DateStamp(const QDateTime& when);

// The (emulated) Windows folder with a trailing separator.
QString WindowsFolder();
QString IncludeBackslash(const QString& path);
QString FileExtension(const QString& path);
QString FileBaseName(const QString& path);
QString StripExtension(const QString& name);

// There are no 8.3 forms here: the value is left as it is.
QString LongPathName(const QString& path);
QString ShortPathName(const QString& path);

// Names (without folder) of every file matching mask, hidden ones included.
QStringList ListFiles(const QString& folder, const QString& mask);
// Deletes the folder with everything in it. Symbolic links are removed as
// links; nothing outside the folder is ever touched. True when it is gone.
bool DeleteFolder(const QString& folder);

bool ShellOpen(const QString& path);

bool RegWriteString(platform::RegRoot root, const QString& key, const QString& name, const QString& value);
// The value when it exists; otherwise value is left unchanged (false returned).
bool RegReadString(platform::RegRoot root, const QString& key, const QString& name, QString& value);
bool RegDeleteKey(platform::RegRoot root, const QString& key);
// The verb under the extension's file type (the type named "<EXT>file" when
// the extension has none); false when the registry could not be written.
bool RegisterShellVerb(const QString& extension, const QString& caption, const QString& command);
// The verb's key gone (the extension's key stays, created when missing);
// false when it is still there.
bool UnregisterShellVerb(const QString& extension, const QString& caption);

// "major.minor.release.build" of a program file; only the program itself
// carries a version here. Otherwise nullopt and *error gets the message.
std::optional<QString> FileVersion(const QString& programPath, QString* error = nullptr);

int HexToInt(const QString& text);

// The text upper-cased one code unit at a time, so every index of the copy
// is the same character of the text (a full mapping such as "ß" to "SS"
// would shift them); ASCII, most of any page, takes the short way.
QString UpperKeepingPositions(const QString& text);

// The path of target relative to the document's folder, for links.
// lowerCase defaults to lower-casing only where file names ignore letter case.
QString RelativePath(const QString& documentPath, const QString& target, bool encodeSpaces);
QString RelativePath(const QString& documentPath, const QString& target, bool encodeSpaces, bool lowerCase);

// The small modal notice window (through the program's prompts).
void ShowNotice(const QString& text);
