#include "preview/ui/AboutBox.h"

#include "platform/Shell.h"
#include "ui_AboutBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>

// No address of the program's own is known yet: its project home page.
const QString kProgramSite = QStringLiteral("https://veltmark.example/");

QStringList AboutLines(const QString& version, const QString& system)
{
    return {
        QStringLiteral("Veltmark"),
        QStringLiteral("Версия редактора: ") + version.section(u'.', 0, 2),
        QStringLiteral("ОС: ") + system + u'.',
        QString(),
        QStringLiteral("Сайт:   ") + kProgramSite,
    };
}

QString SystemName()
{
    const QString kernel = QSysInfo::kernelType();
    const QString name = kernel == QLatin1String("linux") ? QStringLiteral("Linux") : kernel;
    QString pretty = QSysInfo::prettyProductName().simplified();
    return pretty.isEmpty() ? name : name + QStringLiteral(" (") + pretty + u')';
}

TABOUTFORM::TABOUTFORM(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , ui(new Ui::TABOUTFORM)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("ABOUTFORM"));
    ICN = ui->ICN;
    INFO = ui->INFO;
    Button1 = ui->Button1;
    INFO->setText(AboutLines(QStringLiteral(VELTMARK_VERSION), SystemName()).join(u'\n'));
    INFO->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TABOUTFORM::~TABOUTFORM() { delete ui; }

void TABOUTFORM::INFOClick() { platform::Shell().open(kProgramSite, QString()); }

void TABOUTFORM::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
}

bool TABOUTFORM::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == INFO && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        INFOClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
