#include "tools/ui/SwfDialog.h"
#include "platform/ui/DialogPlacement.h"

#include "editor/TextModel.h"
#include "editor/Undo.h"
#include "platform/Prompts.h"
#include "ui_SwfDialog.h"

#include <QGuiApplication>
#include <QScreen>

TSWFFORM::TSWFFORM(TextModel* editor, std::function<QString()> choosePath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(new Ui::TSWFFORM)
    , editor_(editor)
    , choosePath_(std::move(choosePath))
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("SWFFORM"));
    setWindowModality(Qt::ApplicationModal);
    PAGEFILE = ui->PAGEFILE;
    Button2 = ui->Button2;
    WW = ui->WW;
    HH = ui->HH;
    SWFVER = ui->SWFVER;
    JS = ui->JS;
    Button1 = ui->Button1;
    connect(Button2, &QPushButton::clicked, this, &TSWFFORM::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TSWFFORM::Button1Click);
}

TSWFFORM::~TSWFFORM() { delete ui; }

void TSWFFORM::ShowDialog()
{
    PAGEFILE->clear();
    platform::ShowCentredOnDesktop(this);
    PAGEFILE->setFocus();
}

FlashMovie TSWFFORM::movie() const
{
    FlashMovie m;
    m.path = PAGEFILE->text().trimmed();
    m.width = QString::number(WW->value());
    m.height = QString::number(HH->value());
    m.version = QString::number(SWFVER->value());
    m.javaScript = JS->isChecked();
    return m;
}

void TSWFFORM::Button2Click()
{
    const QString path = choosePath_ ? choosePath_() : QString();
    if (IsFlashMoviePath(path))
        PAGEFILE->setText(path);
}

void TSWFFORM::Button1Click()
{
    // A number field left empty or half-typed counts as its last whole number.
    for (QSpinBox* box : {WW, HH, SWFVER})
        box->interpretText();
    const FlashMovie m = movie();
    if (m.path.isEmpty()) {
        platform::prompts().message(QString(), kFlashPathMissing, platform::Severity::Information);
        PAGEFILE->setFocus();
        return;
    }
    if (editor_) {
        UndoSnapshot();
        editor_->setSelText(FlashMarkup(m));
        UndoCommit();
    }
    accept();
    Q_EMIT inserted();
}
