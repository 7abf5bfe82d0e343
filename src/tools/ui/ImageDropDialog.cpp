#include "tools/ui/ImageDropDialog.h"
#include "platform/ui/DialogPlacement.h"

#include "app/Globals.h"
#include "editor/EditorState.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Prompts.h"
#include "store/Utilities.h"
#include "tools/ElementMarkup.h"
#include "ui_ImageDropDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

TIMGDROP::TIMGDROP(TKRichEdit* editor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(new Ui::TIMGDROP)
    , editor_(editor)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("IMGDROP"));
    setWindowModality(Qt::ApplicationModal);
    Label1 = ui->Label1;
    TAG = ui->TAG;
    PTH = ui->PTH;
    BG = ui->BG;
    BUF = ui->BUF;
    OK = ui->OK;
    connect(OK, &QPushButton::clicked, this, &TIMGDROP::OKClick);
}

TIMGDROP::~TIMGDROP() { delete ui; }

void TIMGDROP::ShowDialog(const QString& imagePath)
{
    waiting_.append(imagePath);
    if (!isVisible())
        showNext();
}

void TIMGDROP::showNext()
{
    if (waiting_.isEmpty())
        return;
    path_ = waiting_.takeFirst();
    if (QWidget* main = parentWidget()) {
        main->raise();
        main->activateWindow();
        main->repaint();
    }
    setWindowTitle(DroppedImageCaption(path_));
    platform::ShowCentredOnDesktop(this);
    OK->setFocus();
}

void TIMGDROP::OKClick()
{
    if (!QFileInfo(path_).isFile()) {
        platform::prompts().message(QString(), DroppedImageMissing(path_), platform::Severity::Warning);
        accept();
        return;
    }
    const QString path = RelativePath(CurrentFileName, path_, true);
    const DroppedImageUse use = PTH->isChecked() ? DroppedImageUse::Path
        : BG->isChecked()                        ? DroppedImageUse::Background
                                                 : DroppedImageUse::Tag;
    const QString markup = DroppedImageMarkup(use, path);
    if (BUF->isChecked())
        QApplication::clipboard()->setText(markup);
    if (editor_) {
        editor_->setSelStart(Editor().ClickCaretPos);
        if (!BUF->isChecked())
            editor_->setSelText(markup);
        editor_->setFocus();
    }
    accept();
}

void TIMGDROP::done(int result)
{
    QDialog::done(result);
    showNext();
}
