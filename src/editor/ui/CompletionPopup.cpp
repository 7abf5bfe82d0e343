#include "editor/ui/CompletionPopup.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kVisibleRows = 10;
}

TCompletionPopup::TCompletionPopup(QWidget* owner)
    : QFrame(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("COMPLETIONLIST"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    list_ = new QListWidget(this);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    hint_ = new QLabel(this);
    hint_->setMargin(3);
    layout->addWidget(list_);
    layout->addWidget(hint_);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { showHint(); });
    connect(list_, &QListWidget::itemClicked, this, [this] {
        if (const int row = currentRow(); row >= 0 && onAccept) {
            const CompletionItem item = items_[row];
            hide();
            onAccept(item);
        }
    });
}

void TCompletionPopup::showItems(std::vector<CompletionItem> items, QPoint at)
{
    items_ = std::move(items);
    if (items_.empty()) {
        hide();
        return;
    }
    list_->setUpdatesEnabled(false);
    list_->clear();
    int widest = 120;
    const QFontMetrics fm(list_->font());
    for (const CompletionItem& item : items_) {
        list_->addItem(item.label);
        widest = std::max(widest, fm.horizontalAdvance(item.label) + 40);
    }
    list_->setCurrentRow(0);
    list_->setUpdatesEnabled(true);
    const int rowHeight = std::max(fm.height() + 2, list_->sizeHintForRow(0));
    const int rows = std::min<int>(kVisibleRows, int(items_.size()));
    list_->setFixedHeight(rowHeight * rows + 4);
    setFixedWidth(std::min(widest + 20, 480));
    showHint();
    adjustSize();
    move(at);
    show();
}

bool TCompletionPopup::handleKey(const QKeyEvent& event)
{
    if (!isVisible())
        return false;
    const int count = list_->count();
    switch (event.key()) {
    case Qt::Key_Up:
        list_->setCurrentRow((currentRow() + count - 1) % count);
        return true;
    case Qt::Key_Down:
        list_->setCurrentRow((currentRow() + 1) % count);
        return true;
    case Qt::Key_Escape:
        hide();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab: {
        const int row = currentRow();
        hide();
        if (row >= 0 && onAccept)
            onAccept(items_[row]);
        return true;
    }
    default:
        return false;
    }
}

int TCompletionPopup::currentRow() const { return list_->currentRow(); }

QString TCompletionPopup::hintText() const { return hint_->text(); }

void TCompletionPopup::showHint()
{
    const int row = currentRow();
    hint_->setText(row >= 0 && row < int(items_.size()) ? items_[row].hint : QString());
}
