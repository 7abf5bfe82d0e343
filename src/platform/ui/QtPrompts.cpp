#include "platform/ui/QtPrompts.h"
#include "platform/ui/RussianTranslations.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <memory>

namespace platform {
namespace {

// The 1-based index of the filter selected in the dialog (0 when none is).
int chosenFilter(const QFileDialog& d)
{
    return int(d.nameFilters().indexOf(d.selectedNameFilter())) + 1;
}

QFileDialog* makeDialog(QWidget* parent, const FileDialogRequest& r)
{
    auto* d = new QFileDialog(parent, r.title, r.folder);
    UseRussianFileList(d);
    const QString filter = QtFileFilter(r.filter);
    if (!filter.isEmpty()) {
        const QStringList filters = filter.split(QStringLiteral(";;"));
        d->setNameFilters(filters);
        const int i = qBound(1, r.filterIndex, int(filters.size())) - 1;
        d->selectNameFilter(filters.value(i));
    }
    if (!r.fileName.isEmpty())
        d->selectFile(r.fileName);
    // The extension for a name typed without one follows the chosen filter.
    d->setDefaultSuffix(DialogDefaultSuffix(r, chosenFilter(*d)));
    QObject::connect(d, &QFileDialog::filterSelected, d,
                     [d, r] { d->setDefaultSuffix(DialogDefaultSuffix(r, chosenFilter(*d))); });
    return d;
}

} // namespace

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(u';', u' ');
        out << parts[i] + QStringLiteral(" (") + masks.simplified() + u')';
    }
    return out.join(QStringLiteral(";;"));
}

Answer QtPrompts::askYesNo(const QString& caption, const QString& text, Answer defaultButton)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtPrompts::askYesNoCancel(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtPrompts::message(const QString& caption, const QString& text, Severity severity)
{
    const QMessageBox::Icon icon = severity == Severity::Error ? QMessageBox::Critical
        : severity == Severity::Warning                        ? QMessageBox::Warning
                                                               : QMessageBox::Information;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

QString QtPrompts::openFile(const FileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> d(makeDialog(parent_, request));
    d->setAcceptMode(QFileDialog::AcceptOpen);
    d->setFileMode(QFileDialog::ExistingFile);
    return d->exec() == QDialog::Accepted ? d->selectedFiles().value(0) : QString();
}

QStringList QtPrompts::openFiles(const FileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> d(makeDialog(parent_, request));
    d->setAcceptMode(QFileDialog::AcceptOpen);
    d->setFileMode(QFileDialog::ExistingFiles);
    return d->exec() == QDialog::Accepted ? d->selectedFiles() : QStringList();
}

QString QtPrompts::saveFile(const FileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> d(makeDialog(parent_, request));
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    return d->exec() == QDialog::Accepted ? d->selectedFiles().value(0) : QString();
}

void QtPrompts::showNotice(const QString& text)
{
    // A small window sized to its text: the label at (15, 15), the "ОК"
    // button centred under it.
    QDialog w(parent_, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    w.setObjectName(QStringLiteral("NOTICE"));
    w.setWindowTitle(appTitle_);
    QFont f = w.font();
    f.setPointSize(10);
    w.setFont(f);
    const QRect textRect = QFontMetrics(f).boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft | Qt::TextExpandTabs, text);
    auto* label = new QLabel(text, &w);
    label->setObjectName(QStringLiteral("NOTICE_TEXT"));
    label->setGeometry(15, 15, textRect.width() + 2, textRect.height());
    const int clientWidth = std::max(textRect.width() + 30, 130);
    int clientHeight = textRect.height() + 30;
    auto* ok = new QPushButton(QStringLiteral("ОК"), &w);
    ok->setObjectName(QStringLiteral("NOTICE_OK"));
    ok->setGeometry(clientWidth / 2 - 50, clientHeight, 100, 30);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &w, &QDialog::accept);
    clientHeight += 45;
    w.setFixedSize(clientWidth, clientHeight);
    if (const QScreen* s = w.screen())
        w.move(s->availableGeometry().center() - QPoint(clientWidth / 2, clientHeight / 2));
    w.exec();
}

} // namespace platform
