#pragma once
// The command-line checker's reading and report (html/plain/CheckCommand.h)
// for Qt's strings: the text a file's bytes give in the editor, and the
// fault line for a page.
#include <QByteArray>
#include <QString>

// The document text the editor would hold for the file's bytes.
QString DocumentTextFromBytes(const QByteArray& bytes);

// The fault line for one file, or an empty text when the file passes.
QString CheckReport(const QString& fileName, const QString& text);
