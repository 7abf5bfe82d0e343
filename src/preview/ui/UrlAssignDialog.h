#pragma once
// "Назначить файлу URL для просмотра": the preview URL of one document
// (section url_assigns). Window-modal over the main window, without a loop
// of its own; each button closes it after its change.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class TURL_ASSIGN;
}

class TURL_ASSIGN : public QDialog {
    Q_OBJECT

public:
    explicit TURL_ASSIGN(QWidget* parent = nullptr);
    ~TURL_ASSIGN() override;

    QLineEdit* URL = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* DIS = nullptr;    // "Отменить назначенное"
    QPushButton* DISALL = nullptr; // "Отменить все (N)"
    QLabel* MImage1 = nullptr;     // the help picture, clickable

    // Shows the assignment of a document, centred on the parent.
    void showFor(const QString& documentPath);
    // The fields from the section: the document's URL, the buttons' state.
    void FormShow();

    void OKClick();
    void DISClick();
    void DISALLClick();
    void MImage1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ui::TURL_ASSIGN* ui;
    QString document_;
};
