#pragma once
// "veltmark --check FILE...": the tag checker without a window, for scripts.
//
// Each file is read as the editor opens it: its lines joined with CR LF, in
// the encoding its own bytes call for (a byte order mark, a charset
// declaration, else the bytes themselves); devices, pipes and files over the
// editor's size limit are refused.
//
// A fault prints one line "FILE:LINE:COLUMN: MESSAGE" on out (1-based line and
// column of the offending character; line breaks and tabs inside the message
// become one blank); a clean file prints nothing. The exit code is 0 when
// every file passes, 1 when some file has a fault, 2 when some file cannot be
// read (its message goes to err) or no file was named.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

// The document text the editor would hold for the file's bytes.
QString DocumentTextFromBytes(const QByteArray& bytes);

// The 1-based line and column of a 1-based position in a CR LF text.
struct LineColumn {
    int line = 1;
    int column = 1;
};
LineColumn LineColumnAt(const QString& text, int position);

// The fault line for one file, or an empty text when the file passes.
QString CheckReport(const QString& fileName, const QString& text);

int RunCheckCommand(const QStringList& files, QTextStream& out, QTextStream& err);
