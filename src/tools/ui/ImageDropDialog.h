#pragma once
// The question for an image file dropped onto the main window: an image
// tag, the path alone or a background declaration, into the document at
// the last mouse press or into the clipboard. Application-modal without a
// loop of its own; images dropped while it is open wait their turn.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TKRichEdit;

namespace Ui {
class TIMGDROP;
}

class TIMGDROP : public QDialog {
    Q_OBJECT

public:
    // editor: the document the markup goes into, focused afterwards.
    explicit TIMGDROP(TKRichEdit* editor, QWidget* parent = nullptr);
    ~TIMGDROP() override;

    QLabel* Label1 = nullptr;
    QRadioButton* TAG = nullptr; // "Создать тег картинки", the start choice
    QRadioButton* PTH = nullptr; // "Вставить ее путь"
    QRadioButton* BG = nullptr;  // "Вставить как фон в style"
    QCheckBox* BUF = nullptr;    // "В буфер обмена, не в документ"
    QPushButton* OK = nullptr;

    // Remembers the image and shows the dialog for it, centred on the
    // desktop, captioned with the file's type; while the dialog is open the
    // image waits until the one before it is done.
    void ShowDialog(const QString& imagePath);
    // The image the dialog is showing.
    const QString& imagePath() const { return path_; }
    // The chosen markup at the last mouse press or into the clipboard (no
    // undo step); a file gone meanwhile is reported and nothing is inserted.
    void OKClick();

    void done(int result) override;

private:
    void showNext();

    Ui::TIMGDROP* ui;
    TKRichEdit* editor_;
    QString path_;
    QStringList waiting_;
};
