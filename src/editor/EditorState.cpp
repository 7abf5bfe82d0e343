#include "editor/EditorState.h"

#include "editor/Undo.h"

EditorState& Editor()
{
    static EditorState state;
    return state;
}

void SaveSelParams(const TextModel& m)
{
    Editor().SavedSelStart = m.selStart();
    Editor().SavedSelLength = m.selLength();
}

void LoadSelParams(TextModel& m)
{
    m.setSelStart(Editor().SavedSelStart);
    m.setSelLength(Editor().SavedSelLength);
}

void InsertWithUndo(TextModel& m, const QString& text)
{
    UndoSnapshot();
    m.setSelLength(0);
    m.setSelText(text);
    UndoCommit();
}
