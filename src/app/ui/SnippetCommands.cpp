// The main menu "Заготовки": fixed commands, then one entry per stored
// snippet, rebuilt each time the menu opens; the manager and the editor.
#include "app/ui/MainWindow.h"

#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "tools/Snippets.h"
#include "tools/ui/SnippetWindows.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void TForm1::buildSnippetMenu()
{
    MACROS = menuBar()->addMenu(QStringLiteral("Заготовки"));
    MACROS->setObjectName(QStringLiteral("MACROS"));
    MACROS->menuAction()->setObjectName(QStringLiteral("MACROS_ACTION"));
    MACROS->setToolTipsVisible(true);
    const auto entry = [this](const char* name, const QString& caption) {
        QAction* a = MACROS->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    MACROS_ADD = entry("MACROS_ADD", QStringLiteral("Добавить ..."));
    MAKR_CRSEL = entry("MAKR_CRSEL", QStringLiteral("Создать из выделенного"));
    MACROS_INSERT = entry("MACROS_INSERT", QStringLiteral("Управление заготовками ..."));
    MACROS->addSeparator();
    MACROS_ACTITEM = entry("MACROS_ACTITEM", QStringLiteral("MACROS_ACTITEM"));
    MACROS_ACTITEM->setVisible(false);

    MRED = new TMRED(this);
    MACROSFORM = new TMACROSFORM(MRED, this);

    connect(MACROS, &QMenu::aboutToShow, this, &TForm1::MACROSClick);
    connect(MACROS_ADD, &QAction::triggered, this, [this] { MRED->startCreate(QString(), false); });
    connect(MAKR_CRSEL, &QAction::triggered, this, [this] { MRED->startCreate(Memo1->selText(), false); });
    connect(MACROS_INSERT, &QAction::triggered, this, [this] { MACROSFORM->show(); });
}

void TForm1::MACROSClick()
{
    for (QAction* a : MACROS->actions())
        if (a->objectName().startsWith(SnippetItemPrefix)) {
            MACROS->removeAction(a);
            delete a;
        }
    for (const SnippetEntry& e : SnippetMenuEntries()) {
        // The caption is the name as stored: an "&" in it marks no shortcut.
        QAction* a = MACROS->addAction(QString(e.caption).replace(u'&', QStringLiteral("&&")));
        a->setObjectName(e.name);
        a->setToolTip(SnippetHint(e.hint));
        const QString name = e.name;
        connect(a, &QAction::triggered, this, [this, name] { MACROS_ACTITEMClick(name); });
    }
    MAKR_CRSEL->setEnabled(Memo1->selLength() != 0);
}

void TForm1::MACROS_ACTITEMClick(const QString& entryName)
{
    UndoSnapshot();
    InsertSnippet(*Memo1, entryName);
    UndoCommit();
}
