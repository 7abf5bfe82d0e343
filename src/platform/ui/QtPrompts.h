#pragma once
// The windowed implementation of the program's prompts.
#include "platform/Prompts.h"

class QWidget;

namespace platform {

class QtPrompts : public Prompts {
public:
    // Boxes and dialogs are centred over parent (may be null).
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    // The title of the notice window (the application's title).
    void setAppTitle(const QString& title) { appTitle_ = title; }

    Answer askYesNo(const QString& caption, const QString& text, Answer defaultButton) override;
    Answer askYesNoCancel(const QString& caption, const QString& text) override;
    void message(const QString& caption, const QString& text, Severity severity) override;
    QString openFile(const FileDialogRequest& request) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    void showNotice(const QString& text) override;

private:
    QWidget* parent_ = nullptr;
    QString appTitle_ = QStringLiteral("Veltmark");
};

// "Описание|*.a;*.b|Другое|*.c" → "Описание (*.a *.b);;Другое (*.c)".
QString QtFileFilter(const QString& filter);

} // namespace platform
