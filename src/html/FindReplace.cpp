#include "html/FindReplace.h"

#include "editor/TextModel.h"
#include "store/Utilities.h"

QString ExpandSearchCodes(const QString& field)
{
    const QString lines = ReplaceText(field, QStringLiteral("[/]"), QStringLiteral("\r\n"), true);
    return ReplaceText(lines, QStringLiteral("[-]"), QStringLiteral("\t"), true);
}

QString SearchCodesNote()
{
    return QStringLiteral("Спецсимволы действуют как для нахождения, так и для замены:\n"
                          "переход на новую строку\t\t[/]\n"
                          "отступ tab\t\t\t[-]");
}

FindResult FindState::find(TextModel& editor, const QString& what, bool caseSensitive)
{
    FindResult r;
    const int start = searchStart_ <= 0 ? 1 : searchStart_;
    const QString pattern = ExpandSearchCodes(what);
    const QString text = editor.text();
    int at = -1;
    if (!pattern.isEmpty() && start - 1 < text.size())
        at = FindText(start == 1 ? text : text.mid(start - 1), pattern, caseSensitive);
    if (at < 0) {
        r.message = kNothingFoundMessage.toString();
        return r;
    }
    const int offset = at + start - 2;
    editor.setSelStart(offset);
    editor.setSelLength(int(pattern.size()));
    r.found = true;
    r.selStart = editor.selStart();
    r.selLength = editor.selLength();
    // Just after the find itself: the editor may have moved a selection edge
    // off the middle of a line break, and the next find must still move on.
    searchStart_ = offset + int(pattern.size()) + 1;
    lastSelStart_ = r.selStart;
    lastSelLength_ = r.selLength;
    return r;
}

FindResult FindState::search(TextModel& editor, const QString& what, bool caseSensitive, bool fromCaret)
{
    if (what.isEmpty())
        return {};
    searchStart_ = fromCaret ? editor.selStart() + 1 : 1;
    return find(editor, what, caseSensitive);
}

FindResult FindState::findNext(TextModel& editor, const QString& what, bool caseSensitive, bool fromCaret)
{
    // While the selection is still the last find, going on after the find
    // and after the selection are the same, except where the editor had to
    // move the selection off the middle of a line break.
    const bool onLastFind = editor.selStart() == lastSelStart_ && editor.selLength() == lastSelLength_;
    if (fromCaret && !onLastFind)
        searchStart_ = editor.selStart() + editor.selLength() + 1;
    return find(editor, what, caseSensitive);
}

FindState& ProgramFindState()
{
    static FindState state;
    return state;
}

ReplaceResult ReplaceInEditor(TextModel& editor, const QString& what, const QString& with, bool caseSensitive,
                              ReplaceScope scope)
{
    if (what.isEmpty())
        return ReplaceResult::NothingToFind;
    const QString find = ExpandSearchCodes(what);
    const QString replacement = ExpandSearchCodes(with);
    const QString before = scope == ReplaceScope::WholeDocument ? editor.text() : editor.selText();
    const QString after = ReplaceText(before, find, replacement, caseSensitive);
    if (after == before)
        return ReplaceResult::Unchanged;
    if (scope == ReplaceScope::WholeDocument)
        editor.setText(after);
    else
        editor.setSelText(after);
    return ReplaceResult::Replaced;
}
