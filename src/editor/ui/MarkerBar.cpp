#include "editor/ui/MarkerBar.h"

#include "editor/ui/KRichEdit.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTimer>

namespace {

constexpr int kPicture = 13;

QPixmap markerPicture()
{
    QPixmap p(kPicture, kPicture);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QColor(160, 90, 0));
    g.setBrush(QColor(255, 200, 0));
    g.drawRoundedRect(QRectF(0.5, 0.5, kPicture - 1, kPicture - 1), 3, 3);
    return p;
}

QPixmap pointerPicture()
{
    QPixmap p(kPicture, kPicture);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(220, 30, 30));
    const QPointF arrow[] = {{1, 2}, {12, 6.5}, {1, 11}};
    g.drawPolygon(arrow, 3);
    return p;
}

} // namespace

TMarkerBar::TMarkerBar(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(QStringLiteral("Панель меток, кликните для создания метки"));
    setMinimumWidth(17);
    setMaximumWidth(17);

    MARKMENU = new QMenu(this);
    MARKMENU->setObjectName(QStringLiteral("MARKMENU"));
    MARKERS_CLEAR = MARKMENU->addAction(QStringLiteral("Очистить метки"));
    MARKERS_CLEAR->setObjectName(QStringLiteral("MARKERS_CLEAR"));
    connect(MARKERS_CLEAR, &QAction::triggered, this, &TMarkerBar::MARKERS_CLEARClick);
    GOTOMARKS = MARKMENU->addMenu(QStringLiteral("Перейти к метке"));
    GOTOMARKS->setObjectName(QStringLiteral("GOTOMARKS"));
    connect(GOTOMARKS, &QMenu::aboutToShow, this, &TMarkerBar::GOTOMARKSPopup);

    INS = new QLabel(this);
    INS->setObjectName(QStringLiteral("INS"));
    static_cast<QLabel*>(INS)->setPixmap(pointerPicture());
    INS->setGeometry(1, 0, 14, kPicture);
    INS->setAttribute(Qt::WA_TransparentForMouseEvents);
    INS->hide();

    blink_ = new QTimer(this);
    blink_->setInterval(50);
    connect(blink_, &QTimer::timeout, this, [this] {
        INS->setVisible(!INS->isVisible());
        if (--blinksLeft_ > 0)
            return;
        blink_->stop();
        INS->hide();
        MarkersRemake(true);
    });
}

void TMarkerBar::paintEvent(QPaintEvent*)
{
    QPainter g(this);
    g.fillRect(rect(), QColor(236, 240, 246));
    g.setPen(QColor(132, 148, 176));
    g.drawRect(rect().adjusted(0, 0, -1, -1));
}

int TMarkerBar::viewportTop() const
{
    const QPoint viewport = editor_->viewport()->mapTo(window(), QPoint(0, 0));
    return viewport.y() - mapTo(window(), QPoint(0, 0)).y();
}

int TMarkerBar::lineTop(int line) const
{
    // Where the editor really draws the line, so a marker stays beside it
    // whatever fonts the line's characters take.
    const int count = editor_->document()->blockCount();
    if (line < count) {
        const QTextBlock b = editor_->document()->findBlockByNumber(line);
        return viewportTop() + editor_->cursorRect(QTextCursor(b)).top();
    }
    const QTextBlock last = editor_->document()->lastBlock();
    return viewportTop() + editor_->cursorRect(QTextCursor(last)).top() + (line - count + 1) * TKRichEdit::LineHeight;
}

int TMarkerBar::markerTop(int line) const
{
    const int f = firstVisible();
    return MarkerTop(line, f, TKRichEdit::LineHeight, lineTop(line) - (line - f) * TKRichEdit::LineHeight);
}

int TMarkerBar::lineAtY(int y) const
{
    if (y < viewportTop())
        return -1;
    return editor_->cursorForPosition(QPoint(0, y - viewportTop())).blockNumber();
}

int TMarkerBar::firstVisible() const { return editor_ ? editor_->firstVisibleLine() : 0; }

QLabel* TMarkerBar::picture(int line) const
{
    return findChild<QLabel*>(QStringLiteral("marker%1").arg(line), Qt::FindDirectChildrenOnly);
}

void TMarkerBar::createPicture(int line)
{
    auto* p = new QLabel(this);
    p->setObjectName(QStringLiteral("marker%1").arg(line));
    p->setPixmap(markerPicture());
    // Clicks go through to the bar; the picture keeps its bright colours.
    p->setAttribute(Qt::WA_TransparentForMouseEvents);
    p->setGeometry(2, markerTop(line), kPicture, kPicture);
    p->show();
}

void TMarkerBar::destroyPictures()
{
    for (QLabel* p : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (p->objectName().startsWith(QStringLiteral("marker")))
            delete p;
}

void TMarkerBar::Mark(int line)
{
    if (!editor_ || line < 0 || line > editor_->lineCount())
        return;
    if (markers_.contains(line) || picture(line)) {
        if (markers_.contains(line))
            markers_.Mark(line, editor_->lineCount());
        delete picture(line);
        return;
    }
    markers_.Mark(line, editor_->lineCount());
    createPicture(line);
}

void TMarkerBar::MarkersRemake(bool force)
{
    if (!editor_)
        return;
    const auto [lastCount, lastCaret] = lastState_ ? lastState_() : std::pair<int, int>(editor_->lineCount(), 0);
    if (!markers_.MarkersRemake(force, editor_->lineCount(), lastCount, lastCaret))
        return;
    destroyPictures();
    for (int line : markers_.lines())
        createPicture(line);
    Memo1Scroll();
}

void TMarkerBar::FollowText(const QString& before, const QString& after)
{
    if (!editor_ || markers_.isEmpty())
        return;
    markers_.FollowText(before, after);
    destroyPictures();
    for (int line : markers_.lines())
        createPicture(line);
    Memo1Scroll();
}

void TMarkerBar::FollowReplacement(int offset, const QString& removed, int added)
{
    if (!editor_ || markers_.isEmpty() || (removed.isEmpty() && added == 0))
        return;
    markers_.FollowReplacement(*editor_, offset, removed, added);
    destroyPictures();
    for (int line : markers_.lines())
        createPicture(line);
    Memo1Scroll();
}

void TMarkerBar::Memo1Scroll()
{
    for (int line : markers_.lines()) {
        QLabel* p = picture(line);
        if (!p)
            continue;
        const int t = markerTop(line);
        if (t < 1 || t + p->height() > height() - 1) {
            p->hide();
        } else {
            p->move(2, t);
            p->show();
        }
    }
}

void TMarkerBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (editor_)
        Memo1Scroll();
}

void TMarkerBar::mousePressEvent(QMouseEvent* event)
{
    if (editor_ && event->button() != Qt::RightButton)
        editor_->measureLineHeight();
    event->accept();
}

void TMarkerBar::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (!editor_)
        return;
    if (event->button() == Qt::RightButton) {
        GOTOMARKS->setEnabled(!markers_.isEmpty());
        MARKMENU->popup(event->globalPosition().toPoint());
        return;
    }
    editor_->measureLineHeight();
    Mark(lineAtY(event->position().toPoint().y()));
    if (log_)
        log_(QStringLiteral("Для легкого перехода к метке, для очистки панели меток, - кликните по панели меток правой кнопкой мыши"), false);
}

void TMarkerBar::MARKERS_CLEARClick()
{
    destroyPictures();
    markers_.clear();
}

void TMarkerBar::GOTOMARKSPopup()
{
    GOTOMARKS->clear();
    for (int line : markers_.lines()) {
        QAction* a = GOTOMARKS->addAction(GotoMarkCaption(line, editor_ ? editor_->line(line) : QString()));
        a->setObjectName(QStringLiteral("GOTOMARK%1").arg(line));
        connect(a, &QAction::triggered, this, [this, a] { GOTOMARKClick(a->text()); });
    }
}

void TMarkerBar::GOTOMARKClick(const QString& caption)
{
    const int line = GotoMarkLine(caption);
    if (!editor_ || !markers_.contains(line))
        return;
    editor_->setSelStart(editor_->lineStart(line));
    editor_->ensureCursorVisible();
    Memo1Scroll();
    HighlightCaretPos();
}

void TMarkerBar::HighlightCaretPos()
{
    if (!editor_)
        return;
    destroyPictures();
    const int line = editor_->caretPos().line;
    INS->move(1, markerTop(line));
    // Six blinks of 100 ms on a timer; the markers come back afterwards.
    INS->show();
    blinksLeft_ = 12;
    blink_->start();
}
