#include "html/ui/ClassNameDialog.h"

#include "html/ClassNames.h"
#include "platform/Prompts.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TCLASSNAME::TCLASSNAME(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("CLASSNAME"));
    setWindowTitle(QStringLiteral("Имя класса"));

    Label1 = new QLabel(QStringLiteral("Введите или выберите имя класса"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    CLASSLST = new QComboBox(this);
    CLASSLST->setObjectName(QStringLiteral("CLASSLST"));
    CLASSLST->setEditable(true);
    CLASSLST->setMaxVisibleItems(20);
    CLASSLST->setInsertPolicy(QComboBox::NoInsert);
    CLASSLST->setMinimumWidth(260);

    CLASSTOCLIP = new QCheckBox(QStringLiteral("Занести описание нового класса в буфер"), this);
    CLASSTOCLIP->setObjectName(QStringLiteral("CLASSTOCLIP"));

    OKBUT = new QPushButton(QStringLiteral("ОК"), this);
    OKBUT->setObjectName(QStringLiteral("OKBUT"));
    OKBUT->setDefault(true);
    connect(OKBUT, &QPushButton::clicked, this, &TCLASSNAME::OKBUTClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBUT);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(CLASSLST);
    layout->addWidget(CLASSTOCLIP);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TCLASSNAME::prepare(const QString& styleText, const QStringList& names)
{
    if (styleText == StyleError)
        return false;
    confirmedNow_.clear();
    if (!styleText.isEmpty()) {
        style_ = styleText;
        CLASSTOCLIP->setEnabled(true);
        CLASSTOCLIP->setChecked(true);
    } else {
        CLASSTOCLIP->setEnabled(false);
    }
    // The typed text stays between showings; only the list is renewed.
    const QString typed = CLASSLST->currentText();
    CLASSLST->clear();
    CLASSLST->addItems(names);
    CLASSLST->setEditText(typed);
    return true;
}

QString TCLASSNAME::askClassName(const QString& styleText, const QStringList& names)
{
    if (!prepare(styleText, names))
        return StyleError;
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    CLASSLST->setFocus();
    exec();
    return result();
}

void TCLASSNAME::OKBUTClick()
{
    const QString name = CLASSLST->currentText().trimmed();
    if (name.isEmpty()) {
        platform::prompts().showNotice(QStringLiteral("Введите или выберите имя класса"));
        return;
    }
    confirmedNow_ = name;
    lastConfirmed_ = name;
    if (CLASSTOCLIP->isEnabled() && CLASSTOCLIP->isChecked())
        QGuiApplication::clipboard()->setText(QStringLiteral(".") + name + QStringLiteral("{") + style_
                                              + QStringLiteral("}"));
    accept();
}
