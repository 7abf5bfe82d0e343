#include "tools/ui/CommentDialog.h"
#include "platform/ui/DialogPlacement.h"

#include "app/Globals.h"
#include "editor/TextModel.h"
#include "store/Utilities.h"
#include "tools/ElementMarkup.h"
#include "ui_CommentDialog.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
#include <algorithm>

namespace {

void setBoxText(QPlainTextEdit* box, const QString& text, int caret)
{
    box->setPlainText(text);
    QTextCursor c = box->textCursor();
    c.setPosition(std::clamp(caret, 0, int(box->document()->characterCount()) - 1));
    box->setTextCursor(c);
}

} // namespace

TCOMMENTFORM::TCOMMENTFORM(TextModel* editor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(new Ui::TCOMMENTFORM)
    , editor_(editor)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("COMMENTFORM"));
    setWindowModality(Qt::ApplicationModal);
    TXT = ui->TXT;
    OKBUT = ui->OKBUT;
    connect(TXT, &QPlainTextEdit::textChanged, this, &TCOMMENTFORM::TXTChange);
    connect(OKBUT, &QPushButton::clicked, this, &TCOMMENTFORM::OKBUTClick);
}

TCOMMENTFORM::~TCOMMENTFORM() { delete ui; }

void TCOMMENTFORM::ShowDialog()
{
    QString handedOver = CommentText;
    CommentText.clear();
    handedOver.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    handedOver.replace(u'\r', u'\n');
    // The handed-over comment obeys the box's rules from the start.
    const CommentBoxText tidy = TidyCommentBox(handedOver, int(handedOver.size()));
    tidying_ = true;
    setBoxText(TXT, tidy.text, int(tidy.text.size()));
    tidying_ = false;
    platform::ShowCentredOnDesktop(this);
    TXT->setFocus();
}

void TCOMMENTFORM::TXTChange()
{
    if (tidying_)
        return;
    QString text = TXT->toPlainText();
    int caret = TXT->textCursor().position();
    bool changed = false;
    // Characters beyond the limit are the ones just typed or pasted before the caret.
    if (text.size() > MaxLength) {
        const int excess = int(text.size()) - MaxLength;
        const int from = std::max(0, caret - excess);
        text.remove(from, std::min(excess, int(text.size()) - from));
        caret = from;
        changed = true;
    }
    const CommentBoxText tidy = TidyCommentBox(text, caret);
    if (!tidy.changed && !changed)
        return;
    tidying_ = true;
    setBoxText(TXT, tidy.text, tidy.caret);
    tidying_ = false;
}

void TCOMMENTFORM::OKBUTClick()
{
    const QString text = TXT->toPlainText();
    if (CommentIsBlank(text)) {
        ShowNotice(kCommentMissing);
        TXT->setFocus();
        return;
    }
    if (editor_)
        editor_->setSelText(CommentMarkup(text));
    accept();
    Q_EMIT inserted();
}
