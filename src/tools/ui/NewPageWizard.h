#pragma once
// The new page wizard "Создание новой web-страницы": a short form from which
// a fresh page is built. The main window puts the page into the editor and
// saves it; the form only gathers the fields.
#include "tools/NewPage.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TNEWPAGE : public QDialog {
    Q_OBJECT

public:
    explicit TNEWPAGE(QWidget* parent = nullptr);

    QLineEdit* PAGEFILE = nullptr;
    QPushButton* Button2 = nullptr; // "..." for the page file
    QLineEdit* TITL = nullptr;
    QLineEdit* DESCR = nullptr;
    QLineEdit* KEYWRD = nullptr;
    QLineEdit* AUTH = nullptr;
    QLineEdit* CSSPATH = nullptr;
    QPushButton* Button1 = nullptr; // "..." for the style sheet
    QComboBox* ICO = nullptr;
    QComboBox* CHARS = nullptr;
    QCheckBox* MKTABLE = nullptr;
    QPushButton* OK = nullptr;

    // Every showing starts from cleared fields.
    void clearFields();
    NewPageFields fields() const;

    void Button2Click();
    void Button1Click();
    void OKClick();

Q_SIGNALS:
    // OK: the page and the trimmed page file (empty: not to be saved).
    void pageBuilt(const QString& page, const QString& pageFile);
};
