// The main window's side of what a click finds at the caret: the colour
// swatch, the image's size in the status bar or the image in the resource
// viewer, the hint or the new editor for a linked document, the comment, and
// the path dialog.
#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "app/ui/MainWindow.h"
#include "editor/CaretContext.h"
#include "editor/EditorLogic.h"
#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "html/ui/ResourceViewer.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "platform/ui/InstanceLink.h"
#include "store/Utilities.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kSwatchSize = 50;
constexpr int kSwatchMs = 500;

const QString kNewInstanceFailed = QStringLiteral("Не удалось запустить второй редактор для документа %1");

QString colourStyle(TColor colour)
{
    return QStringLiteral("background-color: %1;").arg(ColorToWeb(colour, false));
}

} // namespace

void TForm1::buildCaretContext()
{
    COLORDISP = new QFrame(this);
    COLORDISP->setObjectName(QStringLiteral("COLORDISP"));
    COLORDISP->setFixedSize(kSwatchSize, kSwatchSize);
    COLORDISP->setFrameShape(QFrame::Box);
    COLORDISP->setLineWidth(1);
    auto* layout = new QVBoxLayout(COLORDISP);
    layout->setContentsMargins(1, 1, 1, 1);
    COLORRECT = new QFrame(COLORDISP);
    COLORRECT->setObjectName(QStringLiteral("COLORRECT"));
    layout->addWidget(COLORRECT);
    COLORDISP->hide();
    COLORDISP->installEventFilter(this);
    COLORRECT->installEventFilter(this);

    COLORTIMER = new QTimer(this);
    COLORTIMER->setObjectName(QStringLiteral("COLORTIMER"));
    COLORTIMER->setSingleShot(true);
    COLORTIMER->setInterval(kSwatchMs);
    connect(COLORTIMER, &QTimer::timeout, this, &TForm1::COLORTIMERTimer);

    MENU_SELECTPATH = EDITOR_POPUP->addAction(QStringLiteral("Выбрать путь на диске ..."));
    MENU_SELECTPATH->setObjectName(QStringLiteral("MENU_SELECTPATH"));
    MENU_SELECTPATH->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    addAction(MENU_SELECTPATH); // the key works without the menu
    connect(MENU_SELECTPATH, &QAction::triggered, this, &TForm1::MENU_SELECTPATHClick);

    // The resource viewer stays while Ctrl is held: a press in the editor or
    // Ctrl's release puts it away.
    const auto hideViewer = [this] {
        if (RESVIEWER)
            RESVIEWER->hide();
    };
    connect(Memo1, &TKRichEdit::OnMouseDown, this, hideViewer);
    connect(Memo1, &TKRichEdit::OnKeyUp, this, [hideViewer](int key, Qt::KeyboardModifiers, quint32 nativeKey) {
        if (WindowsKeyCode(key, nativeKey) == 17)
            hideViewer();
    });

    // An editor started from this one for another document gives the window back when it closes.
    platform::ListenForRestore([this] { restoreFromChild(); });
}

void TForm1::showSwatch(QPoint mouse)
{
    const QPoint editorTopLeft = Memo1->viewport()->mapTo(this, QPoint(0, 0));
    COLORDISP->move(SwatchPosition(editorTopLeft, mouse, size(), STATUS->height(), COLORDISP->size()));
    COLORRECT->setStyleSheet(colourStyle(FoundColour));
    COLORDISP->show();
    COLORDISP->raise();
    COLORDISP->repaint();
    COLORTIMER->stop();
    COLORTIMER->start();
}

void TForm1::COLORTIMERTimer()
{
    COLORDISP->hide();
    COLORTIMER->stop();
}


bool TForm1::IF_IMAGE_undercursor(bool statusOnly)
{
    setStatusPanel(0, QString());
    const std::optional<QString> path = ImagePathAt(Memo1->text(), Editor().LastSelStart);
    if (!path)
        return false;
    const QFileInfo file(PathBesideDocument(CurrentFileName, *path));
    if (!file.isFile())
        return false;
    if (statusOnly) {
        setStatusPanel(0, ImageStatusText(file.fileName(), file.size(), QLocale()));
        if (Editor().AltHeld) {
            ShellOpen(file.absolutePath());
            Editor().AltHeld = false;
        }
    } else {
        IMGSHOW(file.absoluteFilePath());
    }
    return true;
}

QString TForm1::IF_PATH_UNDERCURSOR(bool act)
{
    const std::optional<QString> relative = DocumentPathAt(Memo1->text(), Memo1->selStart());
    if (!relative)
        return {};
    const QString found = PathBesideDocument(CurrentFileName, *relative);
    if (found.isEmpty() || !QFileInfo(found).isFile())
        return found;
    if (act)
        openInNewInstance(found);
    else
        HELPLOG_Write(DocumentPathHint(found), false);
    return found;
}

void TForm1::openInNewInstance(const QString& path)
{
    showMinimized();
    const QStringList args = {
        path,
        QStringLiteral("PARENT") + QString::number(platform::WindowHandle()),
        QStringLiteral("PARENTDOC") + CurrentFileName,
    };
    if (!platform::Shell().start(QCoreApplication::applicationFilePath(), args, ProgramFolder)) {
        showNormal();
        HELPLOG_Write(kNewInstanceFailed.arg(QFileInfo(path).fileName()), true);
    }
}

void TForm1::restoreFromChild()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TForm1::IF_COMMENT()
{
    const std::optional<CommentFind> comment = CommentAt(Memo1->text(), Memo1->selStart());
    if (!comment)
        return;
    CommentText = CommentDialogText(comment->text);
    Memo1->setSelStart(comment->start);
    Memo1->setSelLength(comment->length);
    // The comment dialog takes CommentText and replaces the selection.
    COMMENTBUTClick();
    Editor().CtrlHeld = false;
}

QString TForm1::ImgPathDialog()
{
    const QString picked = platform::prompts().openFile(PathDialogRequest(QFileInfo(CurrentFileName).absolutePath()));
    if (picked.isEmpty())
        return {};
    return RelativePath(CurrentFileName, picked, true);
}

void TForm1::MENU_SELECTPATHClick()
{
    Editor().CtrlHeld = false;
    Editor().AltHeld = false;
    const QString path = ImgPathDialog();
    if (path.isEmpty())
        return;
    UndoSnapshot();
    Memo1->setSelText(path);
    UndoCommit();
}
