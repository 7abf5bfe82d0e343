// The CSS reference "Мини-справочник по CSS" behind STYLEBUT, and the number
// dialog, also reached from the editor pop-up's "Вставить в стиль".
#include "app/ui/MainWindow.h"

#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "tools/StyleReference.h"
#include "tools/ui/NumberDialog.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QToolButton>

namespace {

// The declaration in place of the selection, the caret moved back into it.
void putDeclaration(TextModel& editor, const StyleInsertion& insertion)
{
    editor.setSelText(insertion.text);
    editor.setSelLength(0);
    editor.setSelStart(editor.selStart() - insertion.caretBack);
}

} // namespace

void TForm1::buildStyleReference()
{
    NUM_INSERT = new TNUM_INSERT(this);
    askFontStyle = [this] { FONTBUTClick(); };

    STYLEPOPUP = new QMenu(this);
    STYLEPOPUP->setObjectName(QStringLiteral("STYLEPOPUP"));
    STVAL = STYLEPOPUP->addAction(QStringLiteral("STVAL"));
    STVAL->setObjectName(QStringLiteral("STVAL"));
    STVAL->setVisible(false);
    STYLEBUT->setEnabled(true);
    connect(STYLEBUT, &QToolButton::clicked, this, &TForm1::STYLEBUTClick);

    // "Вставить в стиль" of the editor pop-up: after the colour entry.
    MENU_NUMINSRT = MENU_STYLE->addAction(QStringLiteral("Число с единицами измерения"));
    MENU_NUMINSRT->setObjectName(QStringLiteral("MENU_NUMINSRT"));
    connect(MENU_NUMINSRT, &QAction::triggered, this, &TForm1::MENU_NUMINSRTClick);
}

void TForm1::STYLEHELPClick()
{
    if (StyleHelpBuilt)
        return;
    const QStringList tokens = StyleHelpTokens();
    if (tokens.isEmpty())
        return;
    for (const StyleGroup& group : ParseStyleHelp(tokens)) {
        auto* groupMenu = new QMenu(group.caption, STYLEPOPUP);
        STYLEPOPUP->addMenu(groupMenu);
        for (const StyleProperty& property : group.properties) {
            auto* propertyMenu = new QMenu(property.caption, groupMenu);
            groupMenu->addMenu(propertyMenu);
            for (const StyleEntry& entry : property.entries) {
                if (entry.kind == StyleEntry::Separator) {
                    propertyMenu->addSeparator();
                    continue;
                }
                auto* a = new QAction(entry.caption, propertyMenu);
                propertyMenu->addAction(a);
                if (entry.kind == StyleEntry::Note)
                    a->setEnabled(false);
                else
                    connect(a, &QAction::triggered, this, [this, a] { STVALClick(a); });
            }
        }
    }
    StyleHelpBuilt = true;
}

void TForm1::STYLEBUTClick()
{
    STYLEHELPClick();
    STYLEPOPUP->popup(QCursor::pos());
}

void TForm1::STVALClick(QAction* entry)
{
    const auto* propertyMenu = qobject_cast<QMenu*>(entry->parent());
    if (!propertyMenu)
        return;
    const QString property = WithoutAccelerators(propertyMenu->title());
    const QString value = WithoutAccelerators(entry->text());
    switch (StyleValueKindOf(value)) {
    case StyleValueKind::Number:
        // The dialog answers when it closes; nothing is inserted without a number.
        NUM_INSERT->ask(property + QLatin1Char(':'), [this, property, value](const QString& number) {
            if (number.isEmpty())
                return;
            UndoSnapshot();
            putDeclaration(*Memo1, StyleValueInsertion(property, value, number));
            UndoCommit();
        });
        return;
    case StyleValueKind::Font:
        // The dialog answers after this command and writes its text as a
        // step of its own; the selection deleted here is this one's.
        UndoSnapshot();
        Memo1->setSelText(QString());
        if (askFontStyle)
            askFontStyle();
        Memo1->setSelLength(0);
        UndoCommit();
        return;
    case StyleValueKind::Colour:
        // The picker's change is held back the same way: one step with the
        // declaration it changes.
        UndoSnapshot();
        putDeclaration(*Memo1, StyleValueInsertion(property, value));
        Undo().UndoSuspended = true;
        COLOR_CHANGE();
        Undo().UndoSuspended = false;
        UndoCommit();
        return;
    case StyleValueKind::Path: {
        const QString path = ImgPathDialog();
        UndoSnapshot();
        putDeclaration(*Memo1, StyleValueInsertion(property, value, path));
        UndoCommit();
        return;
    }
    case StyleValueKind::Multi:
    case StyleValueKind::Text:
    case StyleValueKind::Plain:
        break;
    }
    UndoSnapshot();
    putDeclaration(*Memo1, StyleValueInsertion(property, value));
    UndoCommit();
}

void TForm1::MENU_NUMINSRTClick()
{
    // Closing the dialog leaves the selection as it is.
    NUM_INSERT->ask(QStringLiteral("[default]"), [this](const QString& number) {
        if (number.isEmpty())
            return;
        UndoSnapshot();
        Memo1->setSelText(number);
        UndoCommit();
    });
}
