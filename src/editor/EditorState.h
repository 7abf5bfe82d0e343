#pragma once
// State the editor's events keep for the rest of the program, and the
// common ways commands put text into the document.
#include "editor/TextModel.h"

#include <QString>

struct EditorState {
    bool CtrlHeld = false;   // Ctrl pressed in the editor, not yet released
    bool AltHeld = false;    // Alt pressed in the editor, not yet released
    int LastSelStart = 0;    // selection start after the last key-up or mouse-up
    int ClickCaretPos = 0;   // selection start at the last mouse press
    int LastLineCount = 0;   // line count at the last change event
    int LastCaretLine = 0;   // caret line at the last change event
    bool RestoringText = false; // an undo is putting an earlier text back
    int SavedSelStart = 0;   // the one slot of SaveSelParams
    int SavedSelLength = 0;
};

// The program-wide editor state.
EditorState& Editor();

void SaveSelParams(const TextModel& m);
void LoadSelParams(TextModel& m);

// Inserts at the selection's start (selected text stays in place), caret
// after the new text, as one undo step.
void InsertWithUndo(TextModel& m, const QString& text);
