#include "tools/ui/NumberDialog.h"
#include "platform/ui/DialogPlacement.h"

#include "store/Utilities.h"
#include "tools/StyleReference.h"
#include "ui_NumberDialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TNUM_INSERT::TNUM_INSERT(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(new Ui::TNUM_INSERT)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("NUM_INSERT"));
    setWindowModality(Qt::ApplicationModal);
    CNT = ui->CNT;
    UNITS = ui->UNITS;
    OKBUT = ui->OKBUT;
    UNITS->setCurrentIndex(0);
    connect(OKBUT, &QPushButton::clicked, this, &TNUM_INSERT::OKBUTClick);
    connect(this, &QDialog::finished, this, [this] {
        // Taken first: the asker may ask again from its answer.
        auto answered = std::move(answered_);
        answered_ = nullptr;
        if (answered)
            answered(result_);
    });
}

TNUM_INSERT::~TNUM_INSERT()
{
    // Hiding on the way out must not answer with members already gone.
    disconnect(this, &QDialog::finished, nullptr, nullptr);
    delete ui;
}

void TNUM_INSERT::ask(const QString& caption, std::function<void(const QString&)> answered)
{
    if (isVisible())
        return;
    answered_ = std::move(answered);
    setWindowTitle(NumberDialogCaption(caption));
    FormShow();
    platform::ShowCentredOnDesktop(this);
    CNT->setFocus();
}

void TNUM_INSERT::FormShow()
{
    result_.clear();
    CNT->clear();
}

void TNUM_INSERT::OKBUTClick()
{
    result_.clear();
    const NumberEntry entry = CheckNumberEntry(CNT->text());
    if (entry != NumberEntry::Valid) {
        ShowNotice(NumberEntryMessage(entry));
        CNT->setFocus();
        return;
    }
    result_ = NumberWithUnit(CNT->text(), UNITS->currentText());
    accept();
}
