#include "platform/Prompts.h"

namespace platform {
namespace {

// The extension a mask stands for: "*.css" gives "css"; one with wildcards
// after the dot stands for many and gives nothing. A bare "css" or ".css" is
// taken too where the "*." may be omitted.
QString maskExtension(const QString& mask, bool bareAllowed)
{
    QString m = mask.trimmed();
    if (m.startsWith(QStringLiteral("*.")))
        m.remove(0, 2);
    else if (!bareAllowed)
        return {};
    else if (m.startsWith(u'.'))
        m.remove(0, 1);
    for (const QChar c : m)
        if (c == u'*' || c == u'?' || c == u'.' || c == u'/' || c.isSpace())
            return {};
    return m;
}

QString firstMask(const QString& masks)
{
    return masks.split(u';', Qt::SkipEmptyParts).value(0);
}

} // namespace

QString DialogDefaultSuffix(const FileDialogRequest& request, int chosenFilter)
{
    // The filter is "description|masks|description|masks...".
    const QStringList parts = request.filter.split(u'|');
    const qsizetype masksAt = qsizetype(chosenFilter) * 2 - 1;
    if (chosenFilter >= 1 && masksAt < parts.size()) {
        const QString ext = maskExtension(firstMask(parts[masksAt]), false);
        if (!ext.isEmpty())
            return ext;
    }
    return maskExtension(firstMask(request.defaultExt), true);
}

Answer ScriptedPrompts::next()
{
    if (answers.empty())
        return defaultAnswer;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

Answer ScriptedPrompts::askYesNo(const QString& caption, const QString& text, Answer)
{
    shown.push_back({QStringLiteral("yesno"), caption, text, {}});
    return next();
}

Answer ScriptedPrompts::askYesNoCancel(const QString& caption, const QString& text)
{
    shown.push_back({QStringLiteral("yesnocancel"), caption, text, {}});
    return next();
}

void ScriptedPrompts::message(const QString& caption, const QString& text, Severity)
{
    shown.push_back({QStringLiteral("message"), caption, text, {}});
}

QString ScriptedPrompts::nextFileName()
{
    if (fileNames.empty())
        return {};
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedPrompts::openFile(const FileDialogRequest& request)
{
    shown.push_back({QStringLiteral("open"), QString(), request.title, request});
    return nextFileName();
}

QStringList ScriptedPrompts::openFiles(const FileDialogRequest& request)
{
    shown.push_back({QStringLiteral("openmany"), QString(), request.title, request});
    QStringList names;
    while (!fileNames.empty()) {
        names << fileNames.front();
        fileNames.pop_front();
    }
    return names;
}

QString ScriptedPrompts::saveFile(const FileDialogRequest& request)
{
    shown.push_back({QStringLiteral("save"), QString(), request.title, request});
    return nextFileName();
}

void ScriptedPrompts::showNotice(const QString& text)
{
    shown.push_back({QStringLiteral("notice"), QString(), text, {}});
}

QStringList ScriptedPrompts::texts() const
{
    QStringList out;
    for (const Shown& s : shown)
        out << s.text;
    return out;
}

int ScriptedPrompts::count(const QString& kind) const
{
    int n = 0;
    for (const Shown& s : shown)
        n += s.kind == kind ? 1 : 0;
    return n;
}

namespace {
Prompts* g_prompts = nullptr;

// Used when nothing was installed: answers every question negatively, so a
// missing installation can never confirm anything on the user's behalf.
ScriptedPrompts& fallback()
{
    static ScriptedPrompts p;
    return p;
}
} // namespace

Prompts& prompts() { return g_prompts ? *g_prompts : fallback(); }
void SetPrompts(Prompts* p) { g_prompts = p; }

} // namespace platform
