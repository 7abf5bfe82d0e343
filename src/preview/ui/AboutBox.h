#pragma once
// The About box "О программе": the emblem, the program's name, version and
// the system it runs on, and its site, which a click on the text opens.
#include <QDialog>

class QLabel;
class QPushButton;
namespace Ui {
class TABOUTFORM;
}

// The program's web site.
extern const QString kProgramSite;

// INFO's lines: the name, "Версия редактора: " with the first three parts
// of version, "ОС: " with the system, an empty line and the site.
QStringList AboutLines(const QString& version, const QString& system);
// The system this program runs on, on one line: "Linux (Debian GNU/Linux 12 (bookworm))".
QString SystemName();

class TABOUTFORM : public QDialog {
    Q_OBJECT

public:
    explicit TABOUTFORM(QWidget* parent = nullptr);
    ~TABOUTFORM() override;

    QLabel* ICN = nullptr;
    QLabel* INFO = nullptr;
    QPushButton* Button1 = nullptr;

    // Opens the site with the desktop's handler.
    void INFOClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ui::TABOUTFORM* ui;
};
