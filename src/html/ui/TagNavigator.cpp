#include "html/ui/TagNavigator.h"

#include "editor/TextModel.h"
#include "html/TagTree.h"
#include "ui_TagNavigator.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int kNodeIndexRole = Qt::UserRole;
const QString kNoTags = QStringLiteral("Нет тегов для отображения");

} // namespace

THTMLNAVIG::THTMLNAVIG(TextModel* editor, std::function<void()> highlight, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::THTMLNAVIG)
    , editor_(editor)
    , highlight_(std::move(highlight))
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("THTMLNAVIG"));
    setWindowModality(Qt::ApplicationModal);
    REFRESH = ui->REFRESH;
    TOTAG = ui->TOTAG;
    CLOSEAFTER = ui->CLOSEAFTER;
    TV = ui->TV;

    TIMER = new QTimer(this);
    TIMER->setObjectName(QStringLiteral("TIMER"));
    REFRENAB = new QTimer(this);
    REFRENAB->setObjectName(QStringLiteral("REFRENAB"));
    for (QTimer* t : {TIMER, REFRENAB}) {
        t->setSingleShot(true);
        t->setInterval(1);
    }
    connect(TIMER, &QTimer::timeout, this, [this] {
        TIMER->stop();
        REFRESHClick();
    });
    connect(REFRENAB, &QTimer::timeout, this, [this] {
        REFRESH->setEnabled(true);
        REFRENAB->stop();
    });

    MENU = new QMenu(this);
    MENU->setObjectName(QStringLiteral("MENU"));
    GOTOTAG = MENU->addAction(QStringLiteral("Перейти к тегу (Enter)"));
    GOTOTAG->setObjectName(QStringLiteral("GOTOTAG"));
    MENU->addSeparator();
    BENCHEXPAND = MENU->addAction(QStringLiteral("Раскрыть всю ветку"));
    BENCHEXPAND->setObjectName(QStringLiteral("BENCHEXPAND"));
    TREEEXPAND = MENU->addAction(QStringLiteral("Раскрыть всё дерево"));
    TREEEXPAND->setObjectName(QStringLiteral("TREEEXPAND"));
    TREECOLLAPCE = MENU->addAction(QStringLiteral("Свернуть дерево"));
    TREECOLLAPCE->setObjectName(QStringLiteral("TREECOLLAPCE"));
    UPDATETREE = MENU->addAction(QStringLiteral("Обновить дерево тегов"));
    UPDATETREE->setObjectName(QStringLiteral("UPDATETREE"));
    connect(MENU, &QMenu::aboutToShow, this, &THTMLNAVIG::MENUPopup);

    connect(REFRESH, &QPushButton::clicked, this, &THTMLNAVIG::REFRESHClick);
    connect(UPDATETREE, &QAction::triggered, this, &THTMLNAVIG::REFRESHClick);
    connect(TREEEXPAND, &QAction::triggered, TV, &QTreeWidget::expandAll);
    connect(TREECOLLAPCE, &QAction::triggered, TV, &QTreeWidget::collapseAll);
    connect(BENCHEXPAND, &QAction::triggered, this, [this] {
        if (QTreeWidgetItem* item = TV->currentItem())
            TV->expandRecursively(TV->indexFromItem(item));
    });
    const auto goAndFocus = [this] {
        GoToTag();
        TV->setFocus();
    };
    connect(TOTAG, &QPushButton::clicked, this, goAndFocus);
    connect(GOTOTAG, &QAction::triggered, this, goAndFocus);
    connect(TV, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        // A node with children only opens or closes, as tree views do.
        if (item && item->childCount() == 0)
            GOTOTAG->trigger();
    });
    connect(TV, &QTreeWidget::currentItemChanged, this, &THTMLNAVIG::updateToTag);
    TV->viewport()->installEventFilter(this);
    TV->installEventFilter(this);
}

THTMLNAVIG::~THTMLNAVIG() { delete ui; }

void THTMLNAVIG::ShowNavigation()
{
    const QString text = editor_->text();
    if (text != lastShownText_) {
        lastShownText_ = text;
        TIMER->start();
    }
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void THTMLNAVIG::REFRESHClick()
{
    // A click during a build does not start a second one.
    if (!REFRESH->isEnabled())
        return;
    REFRESH->setEnabled(false);
    MAKE_DISPLAY();
}

void THTMLNAVIG::MAKE_DISPLAY()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TagTreeBuild build = ::MAKE_DISPLAY(editor_->text());
    ++builds_;
    positions_ = build.positions();
    REFRENAB->start();
    QApplication::restoreOverrideCursor();
    const QStringList lines = build.lines();
    const QString joined = lines.join(QStringLiteral("\r\n"));
    if (joined == lastTreeLines_ && TV->topLevelItemCount() > 0)
        return;
    lastTreeLines_ = joined;
    fillTree(lines);
}

void THTMLNAVIG::fillTree(const QStringList& lines)
{
    TV->clear();
    // The parent of a line is the nearest earlier line one level up; a line
    // is never more than one level below the line before it.
    QList<QTreeWidgetItem*> parents;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        int level = 0;
        while (level < line.size() && line[level] == u'\t')
            ++level;
        level = std::min<int>(level, parents.size());
        parents.resize(level);
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(TV) : new QTreeWidgetItem(parents.last());
        item->setText(0, line.mid(level));
        item->setData(0, kNodeIndexRole, i);
        parents.append(item);
    }
    if (TV->topLevelItemCount() == 0)
        new QTreeWidgetItem(TV, QStringList{kNoTags});
    // A fresh tree opens fully, so every tag is in view at once.
    TV->expandAll();
    updateToTag();
}

void THTMLNAVIG::updateToTag() { TOTAG->setEnabled(TV->currentItem() != nullptr); }

void THTMLNAVIG::GoToTag()
{
    QTreeWidgetItem* item = TV->currentItem();
    if (!item)
        return;
    const QVariant index = item->data(0, kNodeIndexRole);
    if (!index.isValid())
        return; // the placeholder
    const std::optional<TagTarget> target = TagTargetAt(positions_, index.toInt(), int(editor_->text().size()));
    if (!target)
        return;
    hide();
    editor_->setSelStart(target->offset);
    editor_->setSelLength(target->length);
    if (highlight_)
        highlight_();
    if (!CLOSEAFTER->isChecked())
        show();
}

void THTMLNAVIG::MENUPopup()
{
    QTreeWidgetItem* item = TV->currentItem();
    const bool node = item && item->text(0) != QLatin1String("Document");
    GOTOTAG->setVisible(node);
    BENCHEXPAND->setVisible(node);
    if (node)
        GOTOTAG->setText(GoToTagCaption(item->text(0)));
}

bool THTMLNAVIG::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TV->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton) {
            if (QTreeWidgetItem* item = TV->itemAt(e->position().toPoint()))
                TV->setCurrentItem(item);
            MENU->popup(TV->viewport()->mapToGlobal(e->position().toPoint()));
        }
        updateToTag();
    }
    if (watched == TV && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && TV->currentItem())
            GoToTag();
    }
    return QDialog::eventFilter(watched, event);
}
