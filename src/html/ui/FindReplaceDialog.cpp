#include "html/ui/FindReplaceDialog.h"

#include "editor/TextModel.h"
#include "editor/Undo.h"
#include "html/FindReplace.h"
#include "platform/Prompts.h"
#include "store/Utilities.h"
#include "ui_FindReplaceDialog.h"

#include <QScreen>

TFINDREPLACE::TFINDREPLACE(TextModel* editor, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFINDREPLACE)
    , editor_(editor)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("FINDREPLACE"));
    _WHAT = ui->_WHAT;
    _WITH = ui->_WITH;
    _REG = ui->_REG;
    FROMCARETPOS = ui->FROMCARETPOS;
    _ALLDOC = ui->_ALLDOC;
    _SELTEXT = ui->_SELTEXT;
    _SEARCH = ui->_SEARCH;
    _SearchNext = ui->_SearchNext;
    _REPLACE = ui->_REPLACE;
    connect(ui->Button1, &QPushButton::clicked, this, [this] {
        _WHAT->clear();
        _WHAT->setFocus();
    });
    connect(ui->Button2, &QPushButton::clicked, this, [this] {
        _WITH->clear();
        _WITH->setFocus();
    });
    connect(ui->Button3, &QPushButton::clicked, this, [] { ShowNotice(SearchCodesNote()); });
    connect(_SEARCH, &QPushButton::clicked, this, &TFINDREPLACE::_SEARCHClick);
    connect(_SearchNext, &QPushButton::clicked, this, &TFINDREPLACE::_SearchNextClick);
    connect(_REPLACE, &QPushButton::clicked, this, &TFINDREPLACE::_REPLACEClick);
}

TFINDREPLACE::~TFINDREPLACE() { delete ui; }

void TFINDREPLACE::showCentred()
{
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    _WHAT->setFocus();
}

void TFINDREPLACE::report(bool found, const QString& message)
{
    if (!found && !message.isEmpty())
        platform::prompts().message(QString(), message);
}

void TFINDREPLACE::_SEARCHClick()
{
    if (_WHAT->text().isEmpty())
        return;
    const FindResult r = ProgramFindState().search(*editor_, _WHAT->text(), _REG->isChecked(), FROMCARETPOS->isChecked());
    close();
    report(r.found, r.message);
}

void TFINDREPLACE::_SearchNextClick()
{
    const FindResult r = ProgramFindState().findNext(*editor_, _WHAT->text(), _REG->isChecked(), FROMCARETPOS->isChecked());
    close();
    report(r.found, r.message);
}

void TFINDREPLACE::SearchHot()
{
    if (_WHAT->text().isEmpty()) {
        showCentred();
        return;
    }
    const FindResult r = ProgramFindState().findNext(*editor_, _WHAT->text(), _REG->isChecked(), FROMCARETPOS->isChecked());
    report(r.found, r.message);
}

void TFINDREPLACE::_REPLACEClick()
{
    if (_WHAT->text().isEmpty())
        return;
    UndoSnapshot();
    ReplaceInEditor(*editor_, _WHAT->text(), _WITH->text(), _REG->isChecked(),
                    _SELTEXT->isChecked() ? ReplaceScope::Selection : ReplaceScope::WholeDocument);
    UndoCommit();
    close();
}
