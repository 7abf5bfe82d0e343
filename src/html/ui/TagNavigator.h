#pragma once
// The tag navigation window "Навигация по тегам": the page's structural
// tags as a tree; choosing a node selects that tag's name in the editor.
// Created once and reused: the tree and its positions stay until the next
// build, and a build runs only when the text changed since the last one.
#include <QDialog>
#include <QStringList>
#include <functional>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TextModel;

namespace Ui {
class THTMLNAVIG;
}

class THTMLNAVIG : public QDialog {
    Q_OBJECT

public:
    // highlight blinks the pointer beside the caret's line after a jump.
    THTMLNAVIG(TextModel* editor, std::function<void()> highlight, QWidget* parent = nullptr);
    ~THTMLNAVIG() override;

    QPushButton* REFRESH = nullptr;
    QPushButton* TOTAG = nullptr;
    QCheckBox* CLOSEAFTER = nullptr;
    QTreeWidget* TV = nullptr;
    QTimer* TIMER = nullptr;
    QTimer* REFRENAB = nullptr;
    QMenu* MENU = nullptr;
    QAction* GOTOTAG = nullptr;
    QAction* BENCHEXPAND = nullptr;
    QAction* TREEEXPAND = nullptr;
    QAction* TREECOLLAPCE = nullptr;
    QAction* UPDATETREE = nullptr;

    // Shows the window (modal, centred on the desktop); a changed text is
    // built once the window is on screen.
    void ShowNavigation();
    void REFRESHClick();
    void MAKE_DISPLAY();
    void GoToTag();
    void MENUPopup();

    const QStringList& positionList() const { return positions_; }
    int builds() const { return builds_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillTree(const QStringList& lines);
    void updateToTag();

    Ui::THTMLNAVIG* ui;
    TextModel* editor_;
    std::function<void()> highlight_;
    QStringList positions_;
    QString lastShownText_ = QStringLiteral("zlsjdflseblucyzbkuyg");
    QString lastTreeLines_;
    int builds_ = 0;
};
