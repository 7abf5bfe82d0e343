#pragma once
// The preview window TBROWSFORM: the page in the program's own browser, at
// the full size or in a smaller viewport, with back, forward and reload, the
// address and the status text, and the page's picture. The help page shows
// in it too (help mode). The browser is made on the first showing.
#include "preview/Preview.h"

#include <QUrl>
#include <QWidget>

class PageBrowser;
class QAction;
class QLabel;
class QToolButton;
namespace Ui {
class TBROWSFORM;
}

class TBROWSFORM : public QWidget {
    Q_OBJECT

public:
    explicit TBROWSFORM(QWidget* parent = nullptr);
    ~TBROWSFORM() override;

    QWidget* BRMENU = nullptr;
    QToolButton* BACK = nullptr;
    QToolButton* FORWD = nullptr;
    QToolButton* REFRESHER = nullptr;
    QLabel* URLCAP = nullptr;
    QLabel* STATUS = nullptr;
    QLabel* SHOT = nullptr;
    QAction* MENU_CLOSE = nullptr; // Esc
    QAction* N21 = nullptr;        // F9

    // "Справка" while the help page shows, otherwise empty.
    QString HelpMode;
    // The vertical scroll offset of the page shown when the window last
    // closed; below 0: nothing is restored.
    int ScrollMemory = 0;
    // The size chosen for previews; each showing keeps the size it was
    // shown with, whatever Size becomes meanwhile.
    PreviewSize Size = PreviewSize::None;

    // The browser, made when first needed; nullptr (with the reason) when
    // the engine cannot be loaded.
    PageBrowser* browser(QString* error = nullptr);
    // Shows the window (modal to the program) with the browser placed for
    // Size and navigating to url. tempCopy is deleted when the window closes;
    // pictureFolder is where the picture's save dialog opens. Without an
    // engine: a message, the copy deleted, false.
    bool showPage(const QUrl& url, const QString& tempCopy, const QString& pictureFolder);
    // The visible page saved as a picture (the camera picture's click after
    // its dialog). JPEG at quality 100 for ".JPG", otherwise a bitmap;
    // failures are silent.
    void PageToIMG(const QString& path);
    void SHOTClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeBrowser();
    void documentComplete();

    Ui::TBROWSFORM* ui;
    QWidget* area_ = nullptr;
    PageBrowser* browser_ = nullptr;
    QString tempCopy_;
    // The size this showing places the browser for, on every later resize too.
    PreviewSize shownSize_ = PreviewSize::None;
    QString pictureFolder_;
};
