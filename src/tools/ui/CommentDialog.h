#pragma once
// "Комментарий": the text of an HTML comment that replaces the editor's
// selection. The box keeps itself free of runs of blanks and of leading
// blanks; line breaks go into the page as three blanks. Application-modal
// without a loop of its own: OK does the work and closes it.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class TextModel;

namespace Ui {
class TCOMMENTFORM;
}

class TCOMMENTFORM : public QDialog {
    Q_OBJECT

public:
    static constexpr int MaxLength = 256;

    // editor: the document the comment goes into.
    explicit TCOMMENTFORM(TextModel* editor, QWidget* parent = nullptr);
    ~TCOMMENTFORM() override;

    QPlainTextEdit* TXT = nullptr;
    QPushButton* OKBUT = nullptr;

    // Shows the dialog centred on the desktop. TXT takes the comment handed
    // over in CommentText (or is emptied), and the hand-over is cleared.
    void ShowDialog();
    // The box's blank rules and its length limit, after every change.
    void TXTChange();
    // A blank text is refused with a notice; otherwise the comment replaces
    // the editor's selection (no undo step) and the dialog closes.
    void OKBUTClick();

Q_SIGNALS:
    // The comment is in the document.
    void inserted();

private:
    Ui::TCOMMENTFORM* ui;
    TextModel* editor_;
    bool tidying_ = false;
};
