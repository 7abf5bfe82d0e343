#pragma once
// The snippet windows: the manager "Управление заготовками", a list in
// which snippets are reordered, edited and deleted, and the editor
// "Редактор заготовок кода", which creates a snippet or changes one. Both are
// made once and reused; the editor shows the manager again when it was
// opened from there.
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TMRED : public QDialog {
    Q_OBJECT

public:
    explicit TMRED(QWidget* parent = nullptr);

    QLineEdit* MNAME = nullptr;
    QPlainTextEdit* MTEXT = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cansel = nullptr;

    // Create mode with the given text (the lines of a selection, or nothing).
    void startCreate(const QString& text, bool returnToManager);
    // Edit mode for the snippet at index with its name and text.
    void startEdit(const QString& name, const QString& text, int index);

    bool editMode() const { return editMode_; }
    bool returnsToManager() const { return returnToManager_; }
    // The text box's lines, each followed by CR LF; empty for an empty box.
    QString snippetText() const;

    void OKClick();
    void MNAMEChange();

Q_SIGNALS:
    // The editor closed, by any means; true when it was opened from the manager.
    void closed(bool returnToManager);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void open(bool returnToManager);

    bool editMode_ = false;
    QString oldName_;
    int oldIndex_ = -1;
    bool returnToManager_ = false;
};

class TMACROSFORM : public QDialog {
    Q_OBJECT

public:
    TMACROSFORM(TMRED* editor, QWidget* parent = nullptr);

    QListWidget* MSELECT = nullptr;
    QToolButton* ADDBUT = nullptr;
    QToolButton* EDITBUT = nullptr;
    QToolButton* UPBUT = nullptr;
    QToolButton* DOWNBUT = nullptr;
    QToolButton* DELBUT = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* MENU_REDACT = nullptr;
    QAction* MENU_ADD = nullptr;
    QAction* MENU_DEL = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* MImage1 = nullptr;

    // Fills the list with the stored names and selects the first.
    void BUILD_LIST();
    void MENU_REDACTClick();
    void MENU_ADDClick();
    void MENU_DELClick();
    void moveUp();
    void moveDown();

    // The row under a point of the list's viewport, or -1 below the last row.
    int rowAt(QPoint viewportPos) const;
    // The drag inside the list: the dragged entry follows the pointer at once;
    // the stored order changes once, at the drop.
    void dragStart();
    void dragOver(QPoint viewportPos);
    void dragDrop();
    bool dragging() const { return dragSource_ >= 0; }
    // The hint for the row under the pointer; empty below the last row.
    QString hintAt(QPoint viewportPos) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveBy(int step);
    void centreOnParent();

    TMRED* editor_;
    int dragSource_ = -1;
    int dragTarget_ = -1;
    QPoint pressPos_;
    bool pressed_ = false;
};
