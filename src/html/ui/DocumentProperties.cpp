#include "html/ui/DocumentProperties.h"

#include "app/ui/WaitMessage.h"
#include "editor/TextModel.h"
#include "html/DocumentResources.h"
#include "store/Utilities.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

TDOCUMENT_PROPERTIES::TDOCUMENT_PROPERTIES(TextModel* editor, std::function<DocumentPropertiesSource()> source,
                                           QWidget* parent)
    : QDialog(parent)
    , editor_(editor)
    , source_(std::move(source))
{
    setObjectName(QStringLiteral("DOCUMENT_PROPERTIES"));
    setWindowTitle(QStringLiteral("Свойства документа"));
    setMinimumSize(600, 400);
    resize(600, 400);

    PROP = new QTableWidget(0, 2, this);
    PROP->setObjectName(QStringLiteral("PROP"));
    PROP->horizontalHeader()->setVisible(false);
    PROP->verticalHeader()->setVisible(false);
    PROP->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    PROP->horizontalHeader()->setStretchLastSection(true);

    Label1 = new QLabel(QStringLiteral("Ресурсы страницы:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    RESDISP = new QListWidget(this);
    RESDISP->setObjectName(QStringLiteral("RESDISP"));
    RESDISP->setMouseTracking(true);
    RESDISP->viewport()->setMouseTracking(true);
    RESDISP->viewport()->installEventFilter(this);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);

    // The help picture: the help page at the description of this window.
    MImage1 = new QToolButton(this);
    MImage1->setObjectName(QStringLiteral("MImage1"));
    MImage1->setText(QStringLiteral("?"));
    MImage1->setAutoRaise(true);
    MImage1->setToolTip(QStringLiteral("Справка"));
    connect(MImage1, &QToolButton::clicked, this, &TDOCUMENT_PROPERTIES::helpRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MImage1);
    buttons->addStretch(1);
    buttons->addWidget(OK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PROP, 3);
    layout->addWidget(Label1);
    layout->addWidget(RESDISP, 2);
    layout->addLayout(buttons);
}

void TDOCUMENT_PROPERTIES::fill()
{
    const TWAITMESSAGE wait(parentWidget() ? parentWidget() : this);
    PROP->clearContents();
    PROP->setRowCount(0);
    RESDISP->clear();

    const DocumentPropertiesSource doc = source_ ? source_() : DocumentPropertiesSource{};
    const QString text = editor_ ? editor_->text() : QString();
    const int lines = editor_ ? editor_->lineCount() : 0;
    const DocumentProperties props = ComputeDocumentProperties(doc.fileName, text, lines, doc.previewUrl);
    documentFolder_ = DocumentFolderOf(doc.fileName);

    PROP->setRowCount(int(props.rows.size()));
    for (int i = 0; i < props.rows.size(); ++i) {
        auto* name = new QTableWidgetItem(props.rows.at(i).name);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        PROP->setItem(i, 0, name);
        // The values may be edited (to copy from them); edits are never read.
        PROP->setItem(i, 1, new QTableWidgetItem(props.rows.at(i).value));
    }
    RESDISP->addItems(props.resources);
}

void TDOCUMENT_PROPERTIES::showProperties()
{
    fill();
    exec();
}

void TDOCUMENT_PROPERTIES::RESDISPMouseMove(const QPoint& pos)
{
    const QListWidgetItem* item = RESDISP->itemAt(pos);
    if (!item) {
        QToolTip::hideText();
        return;
    }
    hovered_ = item->text();
    const QString hint = ResourceHint(hovered_);
    RESDISP->setToolTip(hint);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(RESDISP->viewport()->mapToGlobal(pos), hint, RESDISP);
}

void TDOCUMENT_PROPERTIES::RESDISPDblClick()
{
    const QString folder = ResourceFolderToOpen(documentFolder_, hovered_);
    if (!folder.isEmpty())
        ShellOpen(folder);
}

bool TDOCUMENT_PROPERTIES::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RESDISP->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            RESDISPMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            RESDISPDblClick();
            return true;
        } else if (event->type() == QEvent::ToolTip) {
            // The hint follows the pointer's moves only.
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
