#include "tools/ui/NewPageWizard.h"

#include "app/Documents.h"
#include "platform/Prompts.h"
#include "store/Utilities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNEWPAGE::TNEWPAGE(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("NEWPAGE"));
    setWindowTitle(QStringLiteral("Создание новой web-страницы"));
    setWindowModality(Qt::ApplicationModal);

    const auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(320);
        return e;
    };
    const auto more = [this](const char* name) {
        auto* b = new QPushButton(QStringLiteral("..."), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFixedWidth(30);
        return b;
    };
    const auto combo = [this](const char* name, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->addItems(items);
        return c;
    };
    PAGEFILE = edit("PAGEFILE");
    Button2 = more("Button2");
    TITL = edit("TITL");
    DESCR = edit("DESCR");
    KEYWRD = edit("KEYWRD");
    AUTH = edit("AUTH");
    CSSPATH = edit("CSSPATH");
    Button1 = more("Button1");
    ICO = combo("ICO", {QStringLiteral("favicon.ico"), QStringLiteral("favicon.png"), QStringLiteral("favicon.gif")});
    CHARS = combo("CHARS", {QStringLiteral("Windows-1251"), QStringLiteral("UTF-8"), QStringLiteral("koi8-r")});
    MKTABLE = new QCheckBox(QStringLiteral("Создать заготовку таблицы в документе"), this);
    MKTABLE->setObjectName(QStringLiteral("MKTABLE"));
    OK = new QPushButton(QStringLiteral("ОК"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);

    const auto withButton = [](QWidget* field, QWidget* button) {
        auto* row = new QHBoxLayout;
        row->addWidget(field, 1);
        row->addWidget(button);
        return row;
    };
    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->addRow(QStringLiteral("Файл страницы"), withButton(PAGEFILE, Button2));
    form->addRow(QStringLiteral("Заголовок"), TITL);
    form->addRow(QStringLiteral("Описание"), DESCR);
    form->addRow(QStringLiteral("Ключевые слова через запятую"), KEYWRD);
    form->addRow(QStringLiteral("Автор"), AUTH);
    form->addRow(QStringLiteral("Относительный путь к файлу стиля CSS"), withButton(CSSPATH, Button1));
    auto* combos = new QHBoxLayout;
    combos->addWidget(ICO, 1);
    combos->addWidget(CHARS, 1);
    form->addRow(combos);
    form->addRow(MKTABLE);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OK);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button2, &QPushButton::clicked, this, &TNEWPAGE::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TNEWPAGE::Button1Click);
    connect(OK, &QPushButton::clicked, this, &TNEWPAGE::OKClick);
    clearFields();
}

void TNEWPAGE::clearFields()
{
    for (QLineEdit* e : {PAGEFILE, TITL, DESCR, KEYWRD, AUTH, CSSPATH})
        e->clear();
    ICO->setCurrentIndex(-1);
    ICO->setEditText(IconPlaceholder);
    CHARS->setCurrentIndex(-1);
    CHARS->setEditText(CharsetPlaceholder);
    MKTABLE->setChecked(false);
}

NewPageFields TNEWPAGE::fields() const
{
    NewPageFields f;
    f.title = TITL->text();
    f.description = DESCR->text();
    f.keywords = KEYWRD->text();
    f.author = AUTH->text();
    f.cssPath = CSSPATH->text();
    f.icon = ICO->currentText();
    f.charset = CHARS->currentText();
    f.makeTable = MKTABLE->isChecked();
    return f;
}

void TNEWPAGE::Button2Click()
{
    const QString path = platform::prompts().saveFile(SaveDialogRequest());
    if (!path.isEmpty())
        PAGEFILE->setText(path);
}

void TNEWPAGE::Button1Click()
{
    const QString page = PAGEFILE->text().trimmed();
    const QString picked = platform::prompts().openFile(PathDialogRequest(page.isEmpty() ? QString() : QFileInfo(page).absolutePath()));
    if (!picked.isEmpty())
        CSSPATH->setText(RelativePath(page, picked, true));
}

void TNEWPAGE::OKClick()
{
    const QString page = NewPageText(fields());
    const QString file = PAGEFILE->text().trimmed();
    accept();
    Q_EMIT pageBuilt(page, file);
}
