#pragma once
// "Создание тега flash-ролика": the object and embed markup of a Flash
// movie in place of the editor's selection, as one undo step. Width,
// height and version keep their values between showings; the movie's path
// starts empty each time. Application-modal without a loop of its own.
#include "tools/ElementMarkup.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TextModel;

namespace Ui {
class TSWFFORM;
}

class TSWFFORM : public QDialog {
    Q_OBJECT

public:
    // editor: the document the markup goes into; choosePath: the path
    // chooser, a path relative to the document or empty when cancelled.
    TSWFFORM(TextModel* editor, std::function<QString()> choosePath, QWidget* parent = nullptr);
    ~TSWFFORM() override;

    QLineEdit* PAGEFILE = nullptr; // "Путь к ролику"
    QPushButton* Button2 = nullptr; // "..."
    QSpinBox* WW = nullptr;         // "Ширина"
    QSpinBox* HH = nullptr;         // "Высота"
    QSpinBox* SWFVER = nullptr;     // "Версия flash"
    QCheckBox* JS = nullptr;        // "Совместим с JavaScript"
    QPushButton* Button1 = nullptr; // "ОК"

    // Clears the path and shows the dialog centred on the desktop.
    void ShowDialog();
    // The movie as the fields give it.
    FlashMovie movie() const;
    // A chosen SWF file goes into PAGEFILE; any other choice is ignored.
    void Button2Click();
    // Without a path: a message, and the dialog stays. Otherwise the markup
    // replaces the selection and the dialog closes.
    void Button1Click();

Q_SIGNALS:
    void inserted();

private:
    Ui::TSWFFORM* ui;
    TextModel* editor_;
    std::function<QString()> choosePath_;
};
