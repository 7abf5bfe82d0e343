#pragma once
// Import of foreign files as pages (plain text, saved web archives) and the
// whitespace compressors of the export. No windows and no file access:
// texts in, texts out.
#include <QByteArray>
#include <QString>

// The figure of the last compression: 100 - compressed / uncompressed * 100
// as "%8.2f", or "---" for an empty text. Empty before the first one.
extern QString CompressionFigure;

// The figure for two lengths (as above); also what the compressors store.
QString CompressionFigureOf(qsizetype uncompressed, qsizetype compressed);

// The page a text import builds: the doctype, HEAD with the title (the
// source's base name) and the Windows-1251 META, BODY holding the text with
// "<br>" before every line break. "&", "<" and ">" of the text and the title
// are written as "&amp;", "&lt;" and "&gt;". text is the source's lines
// joined with CR LF, a final CR LF included.
QString TextImportPage(const QString& text, const QString& title);

// The decoded page of a web archive (the archive file's bytes): the style
// parts gathered into the head, the MIME headers before the doctype
// dropped, the quoted-printable escapes of the page decoded (outside
// scripts and comments), in the charset the archive declares for its page
// (UTF-8 when it says so, otherwise Windows-1251).
QString ImportMHT(const QByteArray& archive);

// The compressors of the export: CR LF and tabs become blanks, runs of
// blanks one, and the blanks around table tags, <br>, tag ends (HTML) or
// braces, semicolons and colons (CSS) go. Both set CompressionFigure.
QString CompressHtml(const QString& text);
QString CompressCss(const QString& text);

// The export's report: "Файл сжат на " + figure + " %", and the reserve-copy
// line when a copy of the replaced file was made.
QString ExportReport(const QString& figure, bool backupMade);

// Drops every trailing "0" ("12.50" -> "12.5", "12.00" -> "12.").
QString DropTrailingZeros(const QString& text);
