#include "platform/Prompts.h"

namespace platform {

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
