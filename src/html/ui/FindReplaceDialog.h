#pragma once
// The modeless find-and-replace dialog "Найти или заменить". Each command
// closes it after running; the fields stay between showings.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TextModel;

namespace Ui {
class TFINDREPLACE;
}

class TFINDREPLACE : public QDialog {
    Q_OBJECT

public:
    TFINDREPLACE(TextModel* editor, QWidget* parent = nullptr);
    ~TFINDREPLACE() override;

    QLineEdit* _WHAT = nullptr;
    QLineEdit* _WITH = nullptr;
    QCheckBox* _REG = nullptr;
    QCheckBox* FROMCARETPOS = nullptr;
    QRadioButton* _ALLDOC = nullptr;
    QRadioButton* _SELTEXT = nullptr;
    QPushButton* _SEARCH = nullptr;
    QPushButton* _SearchNext = nullptr;
    QPushButton* _REPLACE = nullptr;

    // Shows the dialog centred on the desktop.
    void showCentred();
    // F3: the dialog when the find field is empty, otherwise find next.
    void SearchHot();

    void _SEARCHClick();
    void _SearchNextClick();
    void _REPLACEClick();

private:
    void report(bool found, const QString& message);

    Ui::TFINDREPLACE* ui;
    TextModel* editor_;
};
