#pragma once
// The editing commands that change the document's text in place: letter
// case and keyboard layout of the selection, wrapping the selection in a
// pair of tags, and the line clean-ups and re-layout of the whole text.
// Each command that changes the text is one undo step.
#include "editor/TextModel.h"

#include <QString>
#include <QPoint>
#include <QSize>
#include <QStringList>

// Letter case by the Unicode rules (Cyrillic included), one character for
// one, so the text keeps its length.
QString UpperCaseKeepingLength(const QString& text);
QString LowerCaseKeepingLength(const QString& text);

enum class SelectionConversion { Upper, Lower, ToLatinLayout, ToRussianLayout };
// Replaces the selection by its converted text and selects the same range.
void ConvertSelection(TextModel& m, SelectionConversion conversion);

// Replaces the selection by open + selection + close. caretOffset -1
// selects the whole wrapped text; otherwise the caret goes that many
// characters after its start.
void TextStyle(TextModel& m, const QString& open, const QString& close, int caretOffset);

// "<br>" after the selection (or at the caret), caret after it.
void InsertBreakTag(TextModel& m);

// The lines that hold a character other than a blank or a tab.
QStringList MeaningfulLines(const QStringList& lines);
// Drops blanks and tabs at the line's start; a line of blanks keeps one.
QString TrimLineStart(const QString& line);
// Every CR LF followed by "<br>" first; the last line gets none.
QString BreakTagsAtLineEnds(const QString& text);
// Every CR LF becomes one blank.
QString IntoOneLine(const QString& text);
// One tag per line, "<br>" kept at the end of the line it follows, no blank
// lines, and an empty line around every table and division. The contents
// of <pre>, <textarea> and <script> stay as written.
QString RelayoutCode(const QString& text);

// The line commands over the editor: the whole text (or, for the break
// commands, the selection when there is one), one undo step each.
void DeleteMeaninglessLines(TextModel& m);
void TrimLineStarts(TextModel& m);
void SquashBlanks(TextModel& m);
void AddBreakTagsAtLineEnds(TextModel& m);
void JoinIntoOneLine(TextModel& m);
void RelayoutDocument(TextModel& m);

// What "Сохранить выделенное в файл" writes: the selection's lines, each
// followed by CR LF; nothing for an empty selection.
QString SelectionFileText(const QString& selection);

// An entry of the main menu "Символы": a heading (inserted empty) or an
// insert command.
struct SymbolEntry {
    const char* name;
    QString caption;
    QString inserted;
};
const QList<SymbolEntry>& SymbolEntries();

// Where the floating tag tool panel goes for a mouse-up at mouse (main-window
// coordinates): centred above the pointer, kept inside the window's width.
QPoint ToolPanelPosition(QPoint mouse, int windowWidth, QSize panel);
