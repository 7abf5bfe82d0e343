#include "tools/ui/SnippetWindows.h"

#include "platform/Prompts.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"
#include "tools/Snippets.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The text box shows line breaks as its own; the stored text has CR LF.
QString forDisplay(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

void centreOn(QWidget* w, QWidget* over)
{
    const QRect area = over ? over->frameGeometry()
                            : (w->screen() ? w->screen()->availableGeometry() : QRect());
    if (area.isValid())
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

} // namespace

// ---- The snippet editor -------------------------------------------------

TMRED::TMRED(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MRED"));
    setWindowTitle(QStringLiteral("Редактор заготовок кода"));
    setMinimumSize(444, 363);
    setWindowModality(Qt::ApplicationModal);

    auto* nameLabel = new QLabel(QStringLiteral("Название заготовки :"), this);
    MNAME = new QLineEdit(this);
    MNAME->setObjectName(QStringLiteral("MNAME"));
    nameLabel->setBuddy(MNAME);
    auto* textLabel = new QLabel(QStringLiteral("Содержимое :"), this);
    MTEXT = new QPlainTextEdit(this);
    MTEXT->setObjectName(QStringLiteral("MTEXT"));
    MTEXT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MTEXT->setLineWrapMode(QPlainTextEdit::NoWrap);
    textLabel->setBuddy(MTEXT);
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setAutoDefault(false);
    Cansel = new QPushButton(QStringLiteral("Отмена"), this);
    Cansel->setObjectName(QStringLiteral("Cansel"));
    Cansel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OK);
    buttons->addWidget(Cansel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(MNAME);
    layout->addWidget(textLabel);
    layout->addWidget(MTEXT, 1);
    layout->addLayout(buttons);

    connect(OK, &QPushButton::clicked, this, &TMRED::OKClick);
    connect(Cansel, &QPushButton::clicked, this, &QDialog::reject);
    connect(MNAME, &QLineEdit::textChanged, this, &TMRED::MNAMEChange);
}

void TMRED::open(bool returnToManager)
{
    returnToManager_ = returnToManager;
    centreOn(this, parentWidget());
    show();
    raise();
    activateWindow();
    MNAME->setFocus();
}

void TMRED::startCreate(const QString& text, bool returnToManager)
{
    editMode_ = false;
    oldName_.clear();
    oldIndex_ = -1;
    MNAME->clear();
    MTEXT->setPlainText(forDisplay(text));
    open(returnToManager);
}

void TMRED::startEdit(const QString& name, const QString& text, int index)
{
    MNAME->setText(name);
    MTEXT->setPlainText(forDisplay(text));
    editMode_ = true;
    oldName_ = name;
    oldIndex_ = index;
    open(true);
}

QString TMRED::snippetText() const
{
    // Like a text box's lines: every line, the last included, ends in CR LF
    // (the save drops that final one again).
    const QString plain = MTEXT->toPlainText();
    if (plain.isEmpty())
        return plain;
    return QString(plain).replace(u'\n', kCrLf) + kCrLf;
}

void TMRED::OKClick()
{
    const QString name = MNAME->text();
    const QString text = snippetText();
    if (name.isEmpty() || text.isEmpty()) {
        platform::prompts().message(QString(), QStringLiteral("Введите имя и текст макроса"));
        return;
    }
    SaveSnippet(name, text, editMode_, oldName_, oldIndex_);
    editMode_ = false;
    accept();
}

void TMRED::MNAMEChange()
{
    const QString name = MNAME->text();
    if (!name.isEmpty() && name.front() == u'&') {
        MNAME->clear();
        ShowNotice(QStringLiteral("Нельзя начинать название с этого символа"));
    }
}

void TMRED::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    editMode_ = false;
    const bool back = returnToManager_;
    returnToManager_ = false;
    Q_EMIT closed(back);
}

// ---- The snippet manager ------------------------------------------------

TMACROSFORM::TMACROSFORM(TMRED* editor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , editor_(editor)
{
    setObjectName(QStringLiteral("MACROSFORM"));
    setWindowTitle(QStringLiteral("Управление заготовками"));
    resize(360, 420);

    const auto tool = [this](const char* name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        return b;
    };
    ADDBUT = tool("ADDBUT", QStringLiteral("+"), QStringLiteral("Добавить заготовку"));
    EDITBUT = tool("EDITBUT", QStringLiteral("✎"), QStringLiteral("Редактировать"));
    UPBUT = tool("UPBUT", QStringLiteral("▲"), QStringLiteral("Переместить вверх"));
    DOWNBUT = tool("DOWNBUT", QStringLiteral("▼"), QStringLiteral("Переместить вниз"));
    DELBUT = tool("DELBUT", QStringLiteral("✕"), QStringLiteral("Удалить"));

    MSELECT = new QListWidget(this);
    MSELECT->setObjectName(QStringLiteral("MSELECT"));
    MSELECT->setSelectionMode(QAbstractItemView::SingleSelection);
    MSELECT->setMouseTracking(true);
    MSELECT->setContextMenuPolicy(Qt::NoContextMenu);
    MSELECT->installEventFilter(this);
    MSELECT->viewport()->installEventFilter(this);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    MENU_REDACT = PopupMenu1->addAction(QStringLiteral("Редактировать ..."));
    MENU_REDACT->setObjectName(QStringLiteral("MENU_REDACT"));
    MENU_ADD = PopupMenu1->addAction(QStringLiteral("Добавить заготовку ..."));
    MENU_ADD->setObjectName(QStringLiteral("MENU_ADD"));
    MENU_DEL = PopupMenu1->addAction(QStringLiteral("Удалить"));
    MENU_DEL->setObjectName(QStringLiteral("MENU_DEL"));

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    MImage1 = new QLabel(QStringLiteral("?"), this);
    MImage1->setObjectName(QStringLiteral("MImage1"));
    MImage1->setCursor(Qt::PointingHandCursor);
    MImage1->setToolTip(QStringLiteral("Подсказка"));
    MImage1->installEventFilter(this);

    auto* tools = new QHBoxLayout;
    for (QToolButton* b : {ADDBUT, EDITBUT, UPBUT, DOWNBUT, DELBUT})
        tools->addWidget(b);
    tools->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    bottom->addWidget(MImage1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(MSELECT, 1);
    layout->addLayout(bottom);

    connect(ADDBUT, &QToolButton::clicked, this, &TMACROSFORM::MENU_ADDClick);
    connect(EDITBUT, &QToolButton::clicked, this, &TMACROSFORM::MENU_REDACTClick);
    connect(UPBUT, &QToolButton::clicked, this, &TMACROSFORM::moveUp);
    connect(DOWNBUT, &QToolButton::clicked, this, &TMACROSFORM::moveDown);
    connect(DELBUT, &QToolButton::clicked, this, &TMACROSFORM::MENU_DELClick);
    connect(MENU_REDACT, &QAction::triggered, this, &TMACROSFORM::MENU_REDACTClick);
    connect(MENU_ADD, &QAction::triggered, this, &TMACROSFORM::MENU_ADDClick);
    connect(MENU_DEL, &QAction::triggered, this, &TMACROSFORM::MENU_DELClick);
    connect(MSELECT, &QListWidget::itemDoubleClicked, this, &TMACROSFORM::MENU_REDACTClick);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(editor_, &TMRED::closed, this, [this](bool back) {
        if (back)
            show();
    });
}

void TMACROSFORM::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        centreOnParent();
        BUILD_LIST();
    }
}

void TMACROSFORM::centreOnParent() { centreOn(this, parentWidget()); }

void TMACROSFORM::BUILD_LIST()
{
    Opt_SelectFile(opt::Macros);
    MSELECT->clear();
    const QString names = Opt_Names();
    if (!names.isEmpty())
        MSELECT->addItems(names.split(kCrLf));
    if (MSELECT->count() > 0)
        MSELECT->setCurrentRow(0);
}

void TMACROSFORM::MENU_REDACTClick()
{
    const int row = MSELECT->currentRow();
    if (row < 0 || !MSELECT->currentItem()->isSelected())
        return;
    const QString name = MSELECT->currentItem()->text();
    Opt_SelectFile(opt::Macros);
    QString text;
    Opt_Read(name, text);
    hide();
    editor_->startEdit(name, text, row);
}

void TMACROSFORM::MENU_ADDClick()
{
    hide();
    editor_->startCreate(QString(), true);
}

void TMACROSFORM::MENU_DELClick()
{
    const int row = MSELECT->currentRow();
    if (row < 0 || !MSELECT->currentItem()->isSelected())
        return;
    Opt_SelectFile(opt::Macros);
    Opt_DeleteAt(row);
    MSELECT->clear();
    const QString names = Opt_Names();
    if (!names.isEmpty())
        MSELECT->addItems(names.split(kCrLf));
    MSELECT->setCurrentRow(-1);
}

void TMACROSFORM::moveBy(int step)
{
    const int k = MSELECT->currentRow();
    const int to = k + step;
    if (k < 0 || !MSELECT->currentItem()->isSelected() || to < 0 || to >= MSELECT->count())
        return;
    MSELECT->insertItem(to, MSELECT->takeItem(k));
    MSELECT->setCurrentRow(to);
    Opt_SelectFile(opt::Macros);
    Opt_Move(k, to);
}

void TMACROSFORM::moveUp() { moveBy(-1); }
void TMACROSFORM::moveDown() { moveBy(1); }

int TMACROSFORM::rowAt(QPoint viewportPos) const
{
    const QModelIndex index = MSELECT->indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

void TMACROSFORM::dragStart()
{
    dragSource_ = MSELECT->currentRow();
    dragTarget_ = dragSource_;
}

void TMACROSFORM::dragOver(QPoint viewportPos)
{
    if (dragSource_ < 0 || MSELECT->count() == 0)
        return;
    int row = rowAt(viewportPos);
    if (row < 0)
        row = viewportPos.y() < 0 ? 0 : MSELECT->count() - 1;
    const int current = MSELECT->currentRow();
    if (row != current && current >= 0) {
        MSELECT->insertItem(row, MSELECT->takeItem(current));
        MSELECT->setCurrentRow(row);
    }
    dragTarget_ = row;
}

void TMACROSFORM::dragDrop()
{
    if (dragSource_ >= 0 && dragTarget_ >= 0 && dragTarget_ != dragSource_) {
        Opt_SelectFile(opt::Macros);
        Opt_Move(dragSource_, dragTarget_);
    }
    dragSource_ = dragTarget_ = -1;
}

QString TMACROSFORM::hintAt(QPoint viewportPos) const
{
    const int row = rowAt(viewportPos);
    if (row < 0)
        return QString();
    Opt_SelectFile(opt::Macros);
    return SnippetHint(Opt_ReadStr(MSELECT->item(row)->text()));
}

bool TMACROSFORM::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MImage1 && event->type() == QEvent::MouseButtonRelease) {
        ShowNotice(QStringLiteral("В списке можно перетягивать элементы, редактировать заготовку двойным кликом") + kCrLf
                   + QStringLiteral("или выполнять иные функции при нажатии правой кнопки мыши."));
        return true;
    }
    if (watched == MSELECT) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                accept();
                return true;
            }
        }
        return false;
    }
    if (watched != MSELECT->viewport())
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            pressed_ = true;
            pressPos_ = e->position().toPoint();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint pos = e->position().toPoint();
        if (pressed_ && (e->buttons() & Qt::LeftButton)) {
            if (!dragging() && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance())
                dragStart();
            if (dragging()) {
                dragOver(pos);
                return true;
            }
            break;
        }
        const QString hint = hintAt(pos);
        MSELECT->setToolTip(hint);
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(e->globalPosition().toPoint(), hint, MSELECT);
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            pressed_ = false;
            if (dragging()) {
                dragDrop();
                return true;
            }
        } else if (e->button() == Qt::RightButton) {
            const int row = rowAt(e->position().toPoint());
            MSELECT->setCurrentRow(row);
            if (row < 0)
                MSELECT->clearSelection();
            MSELECT->viewport()->update();
            PopupMenu1->popup(e->globalPosition().toPoint());
            return true;
        }
        break;
    }
    case QEvent::ToolTip:
        return true; // the hint is shown by the mouse moves above
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
