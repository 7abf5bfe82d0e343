// The font style dialog: FONTBUT, the tag tool panel's font button and the
// CSS reference's font value open it over the editor's document.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "tools/ui/FontDialog.h"

#include <QToolButton>

void TForm1::buildFontDialog()
{
    FONTFORM = new TFONTFORM(this);
    FONTFORM->pickColour = [this](TColor start, TColor* picked) { return pickColour && pickColour(start, picked); };
    FONTBUT->setEnabled(true);
    connect(FONTBUT, &QToolButton::clicked, this, &TForm1::FONTBUTClick);
}

void TForm1::FONTBUTClick() { FONTFORM->showFor(Memo1, CurrentClass, CurrentFileName); }
