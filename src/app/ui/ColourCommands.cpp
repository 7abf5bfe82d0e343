// The colour picker at the caret and the main menu "Цвет": the colours of
// the document and the recently picked ones, inserted or swapped in at the
// caret.
#include "app/ui/MainWindow.h"

#include "editor/CaretContext.h"
#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "store/ColourNotation.h"
#include "store/ui/QtColour.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"
#include "tools/ColourPicker.h"
#include "tools/ui/PaletteDialog.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {

const QString kDocColourPrefix = QStringLiteral("DOC_COLOR_");
const QString kRecentColourPrefix = QStringLiteral("RECENT_COLOR_");

// A 16 × 16 swatch inside a one-pixel black frame.
QIcon swatch(TColor colour)
{
    QPixmap pm(16, 16);
    pm.fill(ToQColor(colour));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pm);
}

bool shortColours()
{
    Opt_SelectFile(opt::Program);
    return ParseBool(Opt_ReadStr(opt::CL3TO6));
}

} // namespace

std::function<bool(TColor, TColor*)> TForm1::PickerForTests;

void TForm1::buildColourMenu()
{
    PALETTE_DIALOG = new TPALETTE_DIALOG(this);
    pickColour = PickerForTests ? PickerForTests
                                : [this](TColor start, TColor* picked) { return PALETTE_DIALOG->pick(start, picked); };

    MENU_RCLR = menuBar()->addMenu(QStringLiteral("Цвет"));
    MENU_RCLR->setObjectName(QStringLiteral("MENU_RCLR"));
    MENU_RCLR->menuAction()->setObjectName(QStringLiteral("MENU_RCLR_ACTION"));
    const auto entry = [this](const char* name, const QString& caption) {
        QAction* a = MENU_RCLR->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    MENU_CREATECOLOR = entry("MENU_CREATECOLOR", QStringLiteral("Создать"));
    MENU_CHANGECOLOR = entry("MENU_CHANGECOLOR", QStringLiteral("Изменить"));
    MENU_RCLR->addSeparator();
    MENU_DOCCLRCAPT = entry("MENU_DOCCLRCAPT", QStringLiteral("Цвета документа"));
    MENU_DOCCLRCAPT->setEnabled(false); // a heading
    // One column here: the recent colours follow under their own heading.
    MENU_RECENTCLRCAPT = MENU_RCLR->addSection(QStringLiteral("Недавно использованные"));
    MENU_RECENTCLRCAPT->setObjectName(QStringLiteral("MENU_RECENTCLRCAPT"));
    RECENT_CLR = entry("RECENT_CLR", QStringLiteral("RECENT_CLR"));
    RECENT_CLR->setVisible(false);

    connect(MENU_RCLR, &QMenu::aboutToShow, this, &TForm1::MENU_RCLRClick);
    connect(MENU_CREATECOLOR, &QAction::triggered, this, &TForm1::MENU_CREATECOLORClick);
    connect(MENU_CHANGECOLOR, &QAction::triggered, this, &TForm1::COLOR_CHANGE);

    // "Вставить в стиль" of the editor pop-up.
    MENU_RGBSEL = MENU_STYLE->addAction(QStringLiteral("color: выбор цвета"));
    MENU_RGBSEL->setObjectName(QStringLiteral("MENU_RGBSEL"));
    connect(MENU_RGBSEL, &QAction::triggered, this, &TForm1::MENU_RGBSELClick);
}

void TForm1::COLOR_CHANGE()
{
    if (!IF_COLOR(*Memo1, std::nullopt, true))
        return;
    const int start = Memo1->selStart();
    TColor picked = FoundColour;
    if (!pickColour || !pickColour(FoundColour, &picked))
        return;
    UndoSnapshot();
    FoundColour = picked;
    const QString code = ColorToWeb(picked, shortColours());
    Memo1->setSelText(code);
    Memo1->setSelStart(start);
    Memo1->setSelLength(int(code.size()));
    UndoCommit();
}

void TForm1::MENU_RCLRClick()
{
    const bool onCode = IF_COLOR(*Memo1, std::nullopt, false);
    MENU_CREATECOLOR->setEnabled(!onCode);
    MENU_CHANGECOLOR->setEnabled(onCode);
    MENU_CHANGECOLOR->setIcon(onCode ? swatch(FoundColour) : QIcon());

    for (QAction* a : MENU_RCLR->actions())
        if (a->objectName().startsWith(kRecentColourPrefix) || a->objectName().startsWith(kDocColourPrefix)) {
            MENU_RCLR->removeAction(a);
            delete a;
        }
    const auto colourEntry = [this](const QString& code, const QString& name) {
        auto* a = new QAction(swatch(WebToColor(code)), ColourEntryCaption(code), MENU_RCLR);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, a] { RECENT_CLRClick(a->text()); });
        return a;
    };
    const QStringList recent = RecentColours();
    for (int i = 0; i < recent.size(); ++i)
        MENU_RCLR->addAction(colourEntry(recent[i], kRecentColourPrefix + QString::number(i)));
    // Each document colour goes right below the heading, so the menu lists
    // them from the last found to the first.
    const QStringList document = DocumentColours(Memo1->text());
    for (int i = 0; i < document.size(); ++i) {
        const QList<QAction*> now = MENU_RCLR->actions();
        MENU_RCLR->insertAction(now.value(now.indexOf(MENU_DOCCLRCAPT) + 1),
                                colourEntry(document[i], kDocColourPrefix + QString::number(i)));
    }
}

void TForm1::RECENT_CLRClick(const QString& caption)
{
    UndoSnapshot();
    const QString code = ColourEntryCode(caption);
    if (!IF_COLOR(*Memo1, WebToColor(code), true)) {
        const QString text = shortColours() ? Conv_WebColorTo3(code) : code;
        const int start = Memo1->selStart();
        Memo1->setSelText(text);
        Memo1->setSelStart(start);
        Memo1->setSelLength(int(text.size()));
    }
    UndoCommit();
}

void TForm1::MENU_CREATECOLORClick()
{
    UndoSnapshot();
    if (IF_COLOR(*Memo1, std::nullopt, false))
        return;
    Memo1->setSelLength(0);
    const int start = Memo1->selStart();
    Memo1->setSelText(QStringLiteral("#000000"));
    Memo1->setSelStart(start);
    Memo1->setSelLength(7);
    Undo().UndoSuspended = true;
    COLOR_CHANGE();
    Undo().UndoSuspended = false;
    UndoCommit();
}

void TForm1::MENU_RGBSELClick()
{
    UndoSnapshot();
    Memo1->setSelText(QStringLiteral("color:#000;"));
    Memo1->setSelStart(Memo1->selStart() - 3);
    COLOR_CHANGE();
    UndoCommit();
}
