#pragma once
// The number dialog: a number with its unit ("12px") for the CSS reference
// and the editor pop-up's "Число с единицами измерения". Application-modal
// without a loop of its own: the answer comes to the asker when it closes,
// empty unless OK took a valid number.
#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace Ui {
class TNUM_INSERT;
}

class TNUM_INSERT : public QDialog {
    Q_OBJECT

public:
    explicit TNUM_INSERT(QWidget* parent = nullptr);
    ~TNUM_INSERT() override;

    QLineEdit* CNT = nullptr;
    QComboBox* UNITS = nullptr; // keeps its text from one showing to the next
    QPushButton* OKBUT = nullptr;

    // The number with its unit after a valid OK; emptied at every showing.
    const QString& ResultText() const { return result_; }

    // Shows the dialog centred on the desktop, titled after the caption
    // ("[default]": "Численное значение"); answered gets the result when the
    // dialog closes. Ignored while the dialog is already asking.
    void ask(const QString& caption, std::function<void(const QString&)> answered);

    void FormShow();
    // Refuses an empty entry or one that is not a whole number with a
    // notice and stays open; otherwise keeps the result and closes.
    void OKBUTClick();

private:
    Ui::TNUM_INSERT* ui;
    QString result_;
    std::function<void(const QString&)> answered_;
};
