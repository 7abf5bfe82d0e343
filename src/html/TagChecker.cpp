#include "html/TagChecker.h"

#include "editor/TextModel.h"
#include "html/plain/TagPass.h"

namespace {

std::u16string_view viewOf(QStringView text) { return {text.utf16(), std::size_t(text.size())}; }

} // namespace

const QStringList& KnownTagNames()
{
    static const QStringList names = [] {
        QStringList l;
        for (const char* t : kKnownTags)
            l << QString::fromLatin1(t);
        return l;
    }();
    return names;
}

const QStringList& Html5TagNames()
{
    static const QStringList names = [] {
        QStringList l = KnownTagNames();
        for (const char* t : kHtml5Tags)
            l << QString::fromLatin1(t);
        return l;
    }();
    return names;
}

bool IsHtml5Document(QStringView text) { return IsHtml5Page(viewOf(text)); }

const QString& KnownTagList()
{
    static const QString list = KnownTagNames().join(QStringLiteral("\r\n"));
    return list;
}

TagCheckResult CHECK_TAGS(const QString& text)
{
    const TagFault fault = CheckTagText(viewOf(text));
    TagCheckResult result;
    result.passed = fault.passed;
    result.message = QString::fromStdU16String(fault.message);
    result.position = int(fault.position);
    return result;
}

bool CheckTagsInModel(TextModel& editor, QString* message)
{
    const TagCheckResult r = CHECK_TAGS(editor.text());
    if (r.passed)
        return true;
    editor.setSelStart(r.position - 1);
    editor.setSelLength(1);
    if (message)
        *message = r.message;
    return false;
}
