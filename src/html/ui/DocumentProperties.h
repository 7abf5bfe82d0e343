#pragma once
// The document properties window "Свойства документа": a grid of the
// document's figures and the list of the files it refers to. Everything is
// computed anew each time the window is shown; only the hovered resource
// stays between showings. A double click on the list opens the hovered
// resource's folder.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolButton;
class TextModel;

// What the window needs to know about the document besides its text.
struct DocumentPropertiesSource {
    QString fileName;                  // CurrentFileName
    std::optional<QString> previewUrl; // the assigned preview address, if any
};

class TDOCUMENT_PROPERTIES : public QDialog {
    Q_OBJECT

public:
    TDOCUMENT_PROPERTIES(TextModel* editor, std::function<DocumentPropertiesSource()> source,
                         QWidget* parent = nullptr);

    QTableWidget* PROP = nullptr;
    QLabel* Label1 = nullptr; // "Ресурсы страницы:"
    QListWidget* RESDISP = nullptr;
    QPushButton* OK = nullptr;
    QToolButton* MImage1 = nullptr;

    // MENU_DOC_PROP: fills the window and shows it modally.
    void showProperties();
    // Computes every row and the resource list (under the wait window).
    void fill();

    // The pointer moved to pos (in RESDISP's viewport coordinates).
    void RESDISPMouseMove(const QPoint& pos);
    // Opens the hovered resource's folder when it exists.
    void RESDISPDblClick();

    const QString& hoveredResource() const { return hovered_; }

Q_SIGNALS:
    // The help picture was clicked.
    void helpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TextModel* editor_;
    std::function<DocumentPropertiesSource()> source_;
    QString hovered_;
    QString documentFolder_; // of the last fill
};
