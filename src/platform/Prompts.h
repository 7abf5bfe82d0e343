#pragma once
// Every question the program asks the user goes through this interface:
// message boxes, file dialogs and the notice window. The windowed program
// installs the Qt implementation; tests install ScriptedPrompts, which
// answers from a script and records what was shown.
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace platform {

enum class Answer { Yes, No, Cancel, Ok };
enum class Severity { Information, Warning, Error };

struct FileDialogRequest {
    QString title;
    QString filter;      // "Описание|*.html;*.htm|..." pairs, as the program writes them
    QString folder;      // initial folder
    QString fileName;    // initial file name
    QString defaultExt;  // added to a name typed without extension ("*.html" or "html")
    int filterIndex = 1; // 1-based
};

// The extension, without its dot, a file dialog adds to a name typed without
// one while filter chosenFilter (1-based) is selected: that filter's first
// mask when it names a single extension ("*.css" gives "css"), otherwise
// the first mask of defaultExt read the same way, where the "*." may be left
// out ("*.html;*htm" and "html" both give "html"). Empty when neither names
// one ("*.*", "*.htm*").
QString DialogDefaultSuffix(const FileDialogRequest& request, int chosenFilter);

class Prompts {
public:
    virtual ~Prompts() = default;
    // A confirmation box with Yes and No; defaultButton is the focused one.
    virtual Answer askYesNo(const QString& caption, const QString& text, Answer defaultButton = Answer::Yes) = 0;
    virtual Answer askYesNoCancel(const QString& caption, const QString& text) = 0;
    // A box with the single button OK.
    virtual void message(const QString& caption, const QString& text, Severity severity = Severity::Information) = 0;
    // Empty when cancelled.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual QStringList openFiles(const FileDialogRequest& request) = 0;
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    // The small modal notice window with one "ОК" button.
    virtual void showNotice(const QString& text) = 0;
};

// Answers from a queue and records every prompt. An unscripted question is
// answered with defaultAnswer (dialogs with an empty name) and still recorded.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString kind;   // "yesno", "yesnocancel", "message", "open", "openmany", "save", "notice"
        QString caption;
        QString text;   // message text, or the dialog title
        FileDialogRequest request;
    };
    Answer askYesNo(const QString& caption, const QString& text, Answer defaultButton) override;
    Answer askYesNoCancel(const QString& caption, const QString& text) override;
    void message(const QString& caption, const QString& text, Severity severity) override;
    QString openFile(const FileDialogRequest& request) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    void showNotice(const QString& text) override;

    std::deque<Answer> answers;
    std::deque<QString> fileNames;
    Answer defaultAnswer = Answer::No;
    std::vector<Shown> shown;

    QStringList texts() const;
    int count(const QString& kind) const;

private:
    Answer next();
    QString nextFileName();
};

// The program-wide prompts. Until the program or a test installs its own, a
// scripted one answers every question negatively.
Prompts& prompts();
void SetPrompts(Prompts* p);

} // namespace platform
