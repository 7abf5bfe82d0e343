// The document properties dialog and the class selector of the tool bar.
#include "app/ui/MainWindow.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "html/ClassNames.h"
#include "html/DocumentResources.h"
#include "html/ui/ClassNameDialog.h"
#include "html/ui/DocumentProperties.h"
#include "preview/Preview.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

std::function<QString(const QString&, const QStringList&)> TForm1::ClassNameForTests;

void TForm1::buildDocumentTools()
{
    MENU_DOC_PROP = findChild<QAction*>(QStringLiteral("MENU_DOC_PROP"));
    DOCUMENT_PROPERTIES = new TDOCUMENT_PROPERTIES(
        Memo1, [] { return DocumentPropertiesSource{CurrentFileName, AssignedUrl(CurrentFileName)}; }, this);
    connect(MENU_DOC_PROP, &QAction::triggered, DOCUMENT_PROPERTIES, &TDOCUMENT_PROPERTIES::showProperties);
    connect(DOCUMENT_PROPERTIES, &TDOCUMENT_PROPERTIES::helpRequested, this, [this] { ShowHELP(QStringLiteral("docprop")); });

    CLASSESSEL = new QComboBox(MAINTOOLBAR);
    CLASSESSEL->setObjectName(QStringLiteral("CLASSESSEL"));
    CLASSESSEL->setEditable(true);
    CLASSESSEL->setInsertPolicy(QComboBox::NoInsert);
    CLASSESSEL->setMaxVisibleItems(20);
    CLASSESSEL->setMinimumContentsLength(14);
    CLASSESSEL->setToolTip(QStringLiteral("Список классов, влияет на инструменты"));
    CLASSESSEL->setEditText(ChooseClassText);
    MAINTOOLBAR->addWidget(CLASSESSEL);
    SpeedButton1 = addToolButton(QStringLiteral("SpeedButton1"), QStringLiteral("↻"), QStringLiteral("Обновить список классов"));
    SpeedButton1->setAutoRaise(true);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(CLASSESSEL, &QComboBox::editTextChanged, this, &TForm1::CLASSESSELChange);

    CLASSNAME = new TCLASSNAME(this);
    askClassName = [this](const QString& style, const QStringList& names) {
        if (style == StyleError)
            return StyleError;
        return ClassNameForTests ? ClassNameForTests(style, names) : CLASSNAME->askClassName(style, names);
    };
    MENU_STYLE2CLASS = N22->addAction(QStringLiteral("Преобразовать стиль в класс"));
    MENU_STYLE2CLASS->setObjectName(QStringLiteral("MENU_STYLE2CLASS"));
    MENU_STYLESEL = N22->addAction(QStringLiteral("Выбрать имя класса"));
    MENU_STYLESEL->setObjectName(QStringLiteral("MENU_STYLESEL"));
    N22->menuAction()->setEnabled(true);
    connect(N22, &QMenu::aboutToShow, this, &TForm1::N22Click);
    connect(MENU_STYLE2CLASS, &QAction::triggered, this, &TForm1::MENU_STYLE2CLASSClick);
    connect(MENU_STYLESEL, &QAction::triggered, this, &TForm1::MENU_STYLESELClick);
}

QString TForm1::ChooseClassName()
{
    return askClassName(QString(), ClassNames(Memo1->text(), DocumentFolderOf(CurrentFileName)));
}

void TForm1::N22Click()
{
    const bool inStyle = ExtractStyle(Memo1->text(), Memo1->selStart()).style != StyleError;
    MENU_STYLE2CLASS->setEnabled(inStyle);
    MENU_STYLESEL->setEnabled(!inStyle);
}

void TForm1::MENU_STYLE2CLASSClick()
{
    const QString text = Memo1->text();
    if (text.isEmpty())
        return;
    const int caret = Memo1->selStart();
    const QString style = ExtractStyle(text, caret).style;
    const QString name = askClassName(style, ClassNames(text, DocumentFolderOf(CurrentFileName)));
    const StyleExtraction change = ExtractStyle(text, caret, name);
    if (!change.replace)
        return;
    UndoSnapshot();
    ApplyStyleExtraction(*Memo1, change);
    UndoCommit();
}

void TForm1::MENU_STYLESELClick()
{
    UndoSnapshot();
    const QString name = ChooseClassName();
    // A closed dialog gives no name: the selection stays.
    if (!name.isEmpty())
        Memo1->setSelText(name);
    UndoCommit();
}

void TForm1::SpeedButton1Click()
{
    const QString shown = CLASSESSEL->currentText();
    const QSignalBlocker quiet(CLASSESSEL);
    CLASSESSEL->clear();
    CLASSESSEL->addItem(NoClassText);
    CLASSESSEL->addItems(ClassNames(Memo1->text(), DocumentFolderOf(CurrentFileName)));
    CLASSESSEL->setEditText(shown);
}

void TForm1::CLASSESSELChange(const QString& text)
{
    const CurrentClassChoice choice = CurrentClassFromText(text);
    CurrentClass = choice.currentClass;
    if (choice.showNoClass) {
        const QSignalBlocker quiet(CLASSESSEL);
        CLASSESSEL->setEditText(NoClassText);
    }
}
