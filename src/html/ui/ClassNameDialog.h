#pragma once
// The class-name dialog "Имя класса": the user types or picks a class name.
// When a style text was handed over, OK can also put a class rule made of it
// on the clipboard. The dialog keeps the last style text and the last
// confirmed name between showings.
#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class TCLASSNAME : public QDialog {
    Q_OBJECT

public:
    explicit TCLASSNAME(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QComboBox* CLASSLST = nullptr;
    QCheckBox* CLASSTOCLIP = nullptr;
    QPushButton* OKBUT = nullptr;

    // Asks for a class name (modal). styleText "error" returns "error" at
    // once without showing anything. A non-empty style text is remembered
    // for the clipboard rule and CLASSTOCLIP is enabled and checked; an
    // empty one disables CLASSTOCLIP. names fill CLASSLST. Returns the name
    // confirmed with OK, or an empty text when the dialog was closed
    // without OK.
    QString askClassName(const QString& styleText, const QStringList& names);

    // The steps of askClassName before and after the modal loop, so tests
    // can show() the dialog and click OKBUT. prepare returns false for "error".
    bool prepare(const QString& styleText, const QStringList& names);
    // The name confirmed by OK in this showing (empty when none).
    QString result() const { return confirmedNow_; }

    // The last name confirmed with OK in this run.
    const QString& lastConfirmedName() const { return lastConfirmed_; }
    const QString& rememberedStyle() const { return style_; }

    void OKBUTClick();

private:
    QString style_;
    QString lastConfirmed_;
    QString confirmedNow_;
};
