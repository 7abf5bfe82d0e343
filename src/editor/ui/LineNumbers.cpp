#include "editor/ui/LineNumbers.h"

#include "editor/ui/KRichEdit.h"

#include <QEvent>
#include <QPainter>
#include <QTextBlock>

TLineNumbers::TLineNumbers(TKRichEdit* editor)
    : QWidget(editor)
    , editor_(editor)
{
    setObjectName(QStringLiteral("LINENUMBERS"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    editor_->installEventFilter(this);
    connect(editor_, &QPlainTextEdit::blockCountChanged, this, [this] {
        if (QString::number(editor_->document()->blockCount()).size() != digits_)
            placeBesideText();
    });
    connect(editor_, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            scroll(0, dy);
        else
            update(0, rect.y(), width(), rect.height());
    });
    placeBesideText();
}

int TLineNumbers::widthNeeded() const { return widthFor(editor_->document()->blockCount()); }

int TLineNumbers::widthFor(int lines) const
{
    const int digits = std::max<int>(2, QString::number(lines).size());
    return editor_->fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 8;
}

bool TLineNumbers::widensFor(int lines) const { return QString::number(lines).size() != digits_; }

void TLineNumbers::prepareFor(int lines)
{
    if (widensFor(lines))
        placeFor(lines);
}

void TLineNumbers::placeBesideText() { placeFor(editor_->document()->blockCount()); }

void TLineNumbers::placeFor(int lines)
{
    digits_ = QString::number(lines).size();
    const int w = widthFor(lines);
    editor_->setGutterWidth(w);
    const QRect cr = editor_->contentsRect();
    setGeometry(cr.left(), cr.top(), w, cr.height());
    update();
}

void TLineNumbers::appearanceChanged() { placeBesideText(); }

bool TLineNumbers::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_) {
        if (event->type() == QEvent::Resize)
            placeBesideText();
        else if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
            appearanceChanged();
    }
    return QWidget::eventFilter(watched, event);
}

QList<TLineNumbers::Shown> TLineNumbers::shownNumbers() const
{
    QList<Shown> shown;
    QTextBlock block = editor_->firstVisibleBlock();
    const QPointF offset = editor_->contentOffset();
    const int bottom = height();
    while (block.isValid()) {
        const int top = qRound(editor_->blockBoundingGeometry(block).translated(offset).top());
        if (top > bottom)
            break;
        if (block.isVisible())
            shown.append({block.blockNumber() + 1, top});
        block = block.next();
    }
    return shown;
}

void TLineNumbers::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QColor base = editor_->palette().color(QPalette::Base);
    const bool dark = base.lightness() < 128;
    p.fillRect(event->rect(), dark ? base.lighter(130) : base.darker(108));
    p.setPen(dark ? base.lighter(115) : base.darker(125));
    p.drawLine(width() - 1, event->rect().top(), width() - 1, event->rect().bottom());
    p.setFont(editor_->font());
    p.setPen(dark ? QColor(0xa8, 0xb0, 0xaa) : QColor(0x56, 0x60, 0x5a));
    const int lineHeight = editor_->fontMetrics().height();
    for (const Shown& s : shownNumbers()) {
        if (s.top + lineHeight < event->rect().top() || s.top > event->rect().bottom())
            continue;
        p.drawText(0, s.top, width() - 5, lineHeight, Qt::AlignRight | Qt::AlignTop, QString::number(s.number));
    }
}
