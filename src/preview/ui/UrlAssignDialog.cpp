#include "preview/ui/UrlAssignDialog.h"

#include "platform/Prompts.h"
#include "preview/ExternalBrowsers.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"
#include "ui_UrlAssignDialog.h"

#include <QEvent>
#include <QMouseEvent>
#include <QStyle>

TURL_ASSIGN::TURL_ASSIGN(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TURL_ASSIGN)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("URL_ASSIGN"));
    setWindowModality(Qt::WindowModal);
    URL = ui->URL;
    OK = ui->OK;
    DIS = ui->DIS;
    DISALL = ui->DISALL;
    MImage1 = ui->MImage1;
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    MImage1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(side, side));
    MImage1->installEventFilter(this);
    connect(OK, &QPushButton::clicked, this, &TURL_ASSIGN::OKClick);
    connect(DIS, &QPushButton::clicked, this, &TURL_ASSIGN::DISClick);
    connect(DISALL, &QPushButton::clicked, this, &TURL_ASSIGN::DISALLClick);
}

TURL_ASSIGN::~TURL_ASSIGN() { delete ui; }

void TURL_ASSIGN::showFor(const QString& documentPath)
{
    document_ = documentPath;
    FormShow();
    adjustSize();
    if (const QWidget* over = parentWidget())
        move(over->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    URL->setFocus();
}

void TURL_ASSIGN::FormShow()
{
    Opt_SelectFile(opt::UrlAssigns);
    const bool assigned = !document_.isEmpty() && Opt_Has(document_);
    if (assigned)
        URL->setText(Opt_ReadStr(document_));
    else
        URL->clear();
    DIS->setEnabled(assigned);
    const int count = Opt_Count();
    DISALL->setEnabled(count > 0);
    DISALL->setText(CancelAllCaption(count));
}

void TURL_ASSIGN::OKClick()
{
    switch (AssignPreviewUrl(document_, URL->text())) {
    case UrlAssignOutcome::NotAUrl:
        // Stays open for a correction.
        platform::prompts().message(QString(), NotAUrlMessage(URL->text()), platform::Severity::Warning);
        URL->setFocus();
        return;
    case UrlAssignOutcome::NotWritten:
        platform::prompts().message(QString(), kUrlNotWrittenMessage, platform::Severity::Error);
        break;
    case UrlAssignOutcome::Stored:
    case UrlAssignOutcome::LeftAsItWas:
        break;
    }
    close();
}

void TURL_ASSIGN::DISClick()
{
    Opt_SelectFile(opt::UrlAssigns);
    Opt_Delete(document_);
    close();
}

void TURL_ASSIGN::DISALLClick()
{
    Opt_ClearFile(opt::UrlAssigns, false);
    close();
}

void TURL_ASSIGN::MImage1Click() { ShowNotice(UrlAssignNote()); }

bool TURL_ASSIGN::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MImage1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        MImage1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
