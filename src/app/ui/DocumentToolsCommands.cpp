// The document properties dialog and the class selector of the tool bar.
#include "app/ui/MainWindow.h"

#include "app/Globals.h"
#include "editor/ui/KRichEdit.h"
#include "html/ClassNames.h"
#include "html/DocumentResources.h"
#include "html/ui/DocumentProperties.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

void TForm1::buildDocumentTools()
{
    MENU_DOC_PROP = findChild<QAction*>(QStringLiteral("MENU_DOC_PROP"));
    // The preview addresses come with the preview; until then every
    // document shows its temporary preview file.
    DOCUMENT_PROPERTIES = new TDOCUMENT_PROPERTIES(
        Memo1, [] { return DocumentPropertiesSource{CurrentFileName, std::nullopt}; }, this);
    connect(MENU_DOC_PROP, &QAction::triggered, DOCUMENT_PROPERTIES, &TDOCUMENT_PROPERTIES::showProperties);

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
