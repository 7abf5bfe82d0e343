// The element insertion commands: link, image, table, Flash movie, comment
// and background markup at the caret, and the dialog for a dropped image.
#include "app/ui/MainWindow.h"

#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "tools/ElementMarkup.h"
#include "tools/ui/CommentDialog.h"
#include "tools/ui/ImageDropDialog.h"
#include "tools/ui/SwfDialog.h"

#include <QAction>
#include <QFrame>
#include <QToolButton>

namespace {

// Replaces the editor's selection as one undo step.
void ReplaceSelection(TextModel& editor, const QString& markup)
{
    UndoSnapshot();
    editor.setSelText(markup);
    UndoCommit();
}

} // namespace

void TForm1::buildElementDialogs()
{
    COMMENTFORM = new TCOMMENTFORM(Memo1, this);
    IMGDROP = new TIMGDROP(Memo1, this);
    SWFFORM = new TSWFFORM(Memo1, [this] { return ImgPathDialog(); }, this);
    // The selection the dialogs replaced is gone: so is the tag tool panel.
    const auto backToEditor = [this] {
        TXTOOLS->hide();
        Memo1->setFocus();
    };
    connect(COMMENTFORM, &TCOMMENTFORM::inserted, this, backToEditor);
    connect(SWFFORM, &TSWFFORM::inserted, this, backToEditor);

    const std::pair<QToolButton*, void (TForm1::*)()> buttons[] = {
        {COMMENTBUT, &TForm1::COMMENTBUTClick},
        {ABUT, &TForm1::ABUTClick},
        {TABLEBUT, &TForm1::TABLEBUTClick},
        {IMGBUT, &TForm1::IMGBUTClick},
        {SWFBUT, &TForm1::SWFBUTClick},
    };
    for (const auto& [button, command] : buttons) {
        button->setEnabled(true);
        connect(button, &QToolButton::clicked, this, command);
    }
    connect(MENU_CREATEBG, &QAction::triggered, this, &TForm1::MENU_CREATEBGClick);
}

void TForm1::COMMENTBUTClick() { COMMENTFORM->ShowDialog(); }

void TForm1::ABUTClick()
{
    const QString path = ImgPathDialog();
    if (!path.isEmpty())
        ReplaceSelection(*Memo1, LinkMarkup(path, Memo1->selText(), CurrentClass));
}

void TForm1::TABLEBUTClick() { ReplaceSelection(*Memo1, TableMarkup(Memo1->selText(), CurrentClass)); }

void TForm1::IMGBUTClick()
{
    const QString path = ImgPathDialog();
    if (!path.isEmpty())
        ReplaceSelection(*Memo1, ImageMarkup(path, CurrentClass));
}

void TForm1::MENU_CREATEBGClick()
{
    const QString path = ImgPathDialog();
    if (!path.isEmpty())
        ReplaceSelection(*Memo1, BackgroundMarkup(path));
}

void TForm1::SWFBUTClick() { SWFFORM->ShowDialog(); }
