#pragma once
// Opening files with their default handler and starting programs. Programs
// are always started with an argument list, never through a command shell,
// so no file name can smuggle in a command. Tests install a recording
// launcher instead of starting anything.
#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    // Opens a file, folder or URL with its registered handler.
    virtual bool open(const QString& target, const QString& workFolder) = 0;
    // Starts a program with its arguments in the given working folder.
    virtual bool start(const QString& program, const QStringList& args, const QString& workFolder) = 0;
};

// The launcher that really starts things (xdg-open for the default handler).
class SystemShell : public ShellLauncher {
public:
    bool open(const QString& target, const QString& workFolder) override;
    bool start(const QString& program, const QStringList& args, const QString& workFolder) override;
};

// Records every launch and starts nothing.
class RecordingShell : public ShellLauncher {
public:
    struct Launch {
        QString program; // empty for open()
        QStringList args;
        QString workFolder;
    };
    bool open(const QString& target, const QString& workFolder) override;
    bool start(const QString& program, const QStringList& args, const QString& workFolder) override;
    std::vector<Launch> launches;
    bool result = true;
};

// The program-wide launcher; SetShell(nullptr) goes back to SystemShell.
ShellLauncher& Shell();
void SetShell(ShellLauncher* shell);

} // namespace platform
