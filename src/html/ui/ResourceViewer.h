#pragma once
// The resource viewer TRESVIEWER: a small window above every other that
// shows the picture or movie under a Ctrl+click in the program's browser.
// It takes no input and never takes the focus from the editor.
#include <QWidget>

class PageBrowser;
namespace Ui {
class TRESVIEWER;
}

class TRESVIEWER : public QWidget {
    Q_OBJECT

public:
    explicit TRESVIEWER(QWidget* parent = nullptr);
    ~TRESVIEWER() override;

    // The browser, made when first needed: the engine starts with it.
    // nullptr when the engine cannot be loaded; *error then says why.
    PageBrowser* BROWS = nullptr;
    PageBrowser* browser(QString* error = nullptr);

    // Shows the viewer centred over frame, inside the available area of
    // frame's screen, without activating it.
    void showOver(const QRect& frame);

private:
    Ui::TRESVIEWER* ui;
};
