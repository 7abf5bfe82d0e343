// "О программе" in the "Справка" menu, and the resource viewer a Ctrl+click
// on a picture's path opens.
#include "app/ui/MainWindow.h"
#include "editor/EditorState.h"
#include "html/ResourceViewer.h"
#include "html/ui/ResourceViewer.h"
#include "platform/Prompts.h"
#include "preview/ui/AboutBox.h"
#include "preview/ui/PageBrowser.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>

namespace {

const QString kNoBrowser = QStringLiteral("Ресурс не показан.\n");

QString cannotOpen(const QString& path)
{
    return QStringLiteral("Не удалось открыть файл для просмотра:\n") + QDir::toNativeSeparators(path);
}

} // namespace

void TForm1::buildAboutEntry()
{
    MENU_ABOUT = HELPMENU->addAction(QStringLiteral("О программе"));
    MENU_ABOUT->setObjectName(QStringLiteral("MENU_ABOUT"));
    connect(MENU_ABOUT, &QAction::triggered, this, &TForm1::MENU_ABOUTClick);
}

void TForm1::MENU_ABOUTClick()
{
    if (!ABOUTFORM) {
        ABOUTFORM = new TABOUTFORM(this);
        ABOUTFORM->setWindowModality(Qt::ApplicationModal);
    }
    ABOUTFORM->show();
    ABOUTFORM->raise();
    ABOUTFORM->activateWindow();
}

void TForm1::IMGSHOW(const QString& path)
{
    if (RESVIEWER)
        RESVIEWER->hide();
    const QFileInfo info(path);
    if (!info.isFile())
        return;
    // A file that cannot be read is named and not shown: the browser, and
    // with it the engine, is not started for it.
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        Editor().CtrlHeld = false; // the message takes Ctrl's release
        platform::prompts().message(QString(), cannotOpen(info.absoluteFilePath()), platform::Severity::Warning);
        return;
    }
    const QByteArray head = IsSwfFile(path) ? file.read(kSwfHeadBytes) : QByteArray();
    file.close();

    if (!RESVIEWER) {
        RESVIEWER = new TRESVIEWER(this);
        RESVIEWER->setObjectName(QStringLiteral("RESVIEWER"));
    }
    QString error;
    PageBrowser* browser = RESVIEWER->browser(&error);
    if (!browser) {
        Editor().CtrlHeld = false;
        platform::prompts().message(QString(), kNoBrowser + error, platform::Severity::Warning);
        return;
    }
    // The page takes the folder's origin: a page of no address may not show
    // a picture from the disk.
    browser->loadHtml(ResourceViewerPage(path, head), QUrl::fromLocalFile(info.absolutePath() + u'/'));
    Editor().CtrlHeld = false;
    RESVIEWER->showOver(frameGeometry());
}
