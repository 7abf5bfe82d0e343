#include "html/ui/ResourceViewer.h"

#include "html/ResourceViewer.h"
#include "preview/ui/PageBrowser.h"
#include "ui_ResourceViewer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

TRESVIEWER::TRESVIEWER(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , ui(new Ui::TRESVIEWER)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setEnabled(false);
}

TRESVIEWER::~TRESVIEWER() { delete ui; }

PageBrowser* TRESVIEWER::browser(QString* error)
{
    if (!BROWS) {
        BROWS = CreatePageBrowser(this, error, BrowserKind::ScriptedProgramPages);
        if (!BROWS)
            return nullptr;
        BROWS->setObjectName(QStringLiteral("BROWS"));
        ui->BROWS_LAYOUT->addWidget(BROWS->widget());
    }
    return BROWS;
}

void TRESVIEWER::showOver(const QRect& frame)
{
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : frame;
    const QSize outer = frameGeometry().size();
    move(ResourceViewerPlace(frame, outer, available).topLeft());
    show();
    // The window's frame is known once it is on screen: the first showing
    // places it again when the frame made it larger.
    if (frameGeometry().size() != outer)
        move(ResourceViewerPlace(frame, frameGeometry().size(), available).topLeft());
}
