#include "tools/Snippets.h"

#include "app/Documents.h"
#include "editor/TextModel.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

QList<SnippetEntry> SnippetMenuEntries()
{
    Opt_SelectFile(opt::Macros);
    QList<SnippetEntry> entries;
    const int count = Opt_Count();
    for (int i = 0; i < count; ++i)
        entries.append({SnippetItemPrefix + QString::number(i), Opt_NameAt(i), Opt_ValueAt(i)});
    return entries;
}

void InsertSnippet(TextModel& editor, const QString& entryName)
{
    if (!entryName.startsWith(SnippetItemPrefix))
        return;
    const std::optional<int> index = StrictToInt(entryName.mid(SnippetItemPrefix.size()));
    Opt_SelectFile(opt::Macros);
    if (!index || *index < 0 || *index >= Opt_Count())
        return;
    const CaretPos caret = editor.caretPos();
    const int start = editor.lineStart(caret.line) < 0 ? 0 : editor.lineStart(caret.line) + caret.column;
    InsertAtCaret(editor, Opt_ValueAt(*index));
    editor.setSelStart(start);
}

QString SnippetHintText(const QString& text)
{
    QString result = text;
    return result.replace(QStringLiteral("#nstr"), QStringLiteral("\r\n"));
}

QString SnippetHint(const QString& text)
{
    QString source = SnippetHintText(text).toHtmlEscaped();
    if (source.isEmpty())
        return source;
    source.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    source.replace(u'\r', QStringLiteral("<br>"));
    source.replace(u'\n', QStringLiteral("<br>"));
    return QStringLiteral("<p style='white-space:pre'>") + source + QStringLiteral("</p>");
}

bool SaveSnippet(const QString& name, QString text, bool editMode,
                 const QString& oldName, int oldIndex)
{
    if (name.isEmpty() || text.isEmpty())
        return false;
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    Opt_SelectFile(opt::Macros);
    if (!editMode)
        return Opt_Write(name, text);
    Opt_Delete(oldName);
    // Renamed onto another snippet's name: that one takes the text in its own
    // place, and the others keep their order.
    const bool appended = !Opt_Has(name);
    const bool ok = Opt_Write(name, text);
    if (appended)
        Opt_Move(Opt_Count() - 1, oldIndex);
    return ok;
}
