// The status bar beyond its three panels: the document's encoding and line
// ends, the caret report following the keyboard too, and the messages that
// show in the first panel while the message log is hidden.
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

// How long a message stays in the first panel.
constexpr int kStatusMessageMs = 6000;
// The first panel's width, and what it yields on a narrow window so that the
// caret report keeps room for a line and column.
constexpr int kHintPanelWidth = 400;
constexpr int kHintPanelNarrowest = 100;
constexpr int kCaretReportWidest = 500;
// A long caret report: line, character, column, the character and its code.
const QString kCaretReportSample = QStringLiteral("Строка 99999 символ 9999999, 9999 символ в строке: \"Щ\" (код: 9999)");

// Calls back on every resize of the watched widget.
class ResizeWatch : public QObject {
public:
    ResizeWatch(QWidget* watched, std::function<void()> onResize)
        : QObject(watched)
        , onResize_(std::move(onResize))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            onResize_();
        return false;
    }

private:
    std::function<void()> onResize_;
};

} // namespace

void TForm1::buildDocumentStatus()
{
    // The hints, messages and caret report are plain text, whatever tags they quote.
    for (int i : {0, 1})
        panels_[i]->setTextFormat(Qt::PlainText);
    // Between the caret report and the clock, so the clock keeps its place.
    STATUS_ENCODING = new QToolButton(STATUS);
    STATUS_ENCODING->setObjectName(QStringLiteral("STATUS_ENCODING"));
    STATUS_ENCODING->setAutoRaise(true);
    STATUS_ENCODING->setStyleSheet(QStringLiteral("QToolButton { padding: 0 4px; }"));
    STATUS_ENCODING->setFocusPolicy(Qt::NoFocus);
    STATUS_ENCODING->setToolTip(QStringLiteral("Кодировка документа"));
    STATUS_LINEENDS = new QLabel(STATUS);
    STATUS_LINEENDS->setObjectName(QStringLiteral("STATUS_LINEENDS"));
    STATUS_LINEENDS->setFrameShape(QFrame::StyledPanel);
    STATUS_LINEENDS->setFrameShadow(QFrame::Sunken);
    STATUS_LINEENDS->setAlignment(Qt::AlignCenter);
    STATUS_LINEENDS->setToolTip(QStringLiteral("Концы строк документа"));
    STATUS_LINEENDS->setMinimumWidth(QFontMetrics(STATUS_LINEENDS->font()).horizontalAdvance(QStringLiteral("CRLF")) + 10);
    STATUS->insertPermanentWidget(2, STATUS_ENCODING);
    STATUS->insertPermanentWidget(3, STATUS_LINEENDS);
    // A click on the encoding opens the encoding choices above it.
    connect(STATUS_ENCODING, &QToolButton::clicked, this, [this] {
        N37Click();
        // Right-aligned with the button, so it stays over the window.
        const QSize menu = N37->sizeHint();
        N37->popup(STATUS_ENCODING->mapToGlobal(QPoint(STATUS_ENCODING->width() - menu.width(), -menu.height())));
    });
    for (QAction* a : {ENC_1251, ENC_UTF8})
        connect(a, &QAction::triggered, this, &TForm1::showDocumentState);
    // The clock's tick catches whatever else changed the document's state.
    connect(TIME_TIMER, &QTimer::timeout, this, &TForm1::showDocumentState);
    showDocumentState();
    new ResizeWatch(STATUS, [this] { fitStatusPanels(); });

    // The caret report follows the keys as it follows the mouse; a held key
    // repeats its press, so the report moves with it.
    connect(Memo1, &TKRichEdit::OnKeyDown, this, [this] {
        CARETINFO();
        fitStatusPanels();
    });
    connect(Memo1, &TKRichEdit::OnKeyUp, this, [this] {
        CARETINFO();
        fitStatusPanels();
    });
    // And whatever else moves the caret (Undo, a search, the checker, a
    // marker): once per turn of the event loop, so a command that moves it
    // many times reports it once.
    connect(Memo1, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (caretReportDue_)
            return;
        caretReportDue_ = true;
        QTimer::singleShot(0, this, [this] {
            caretReportDue_ = false;
            CARETINFO();
            fitStatusPanels();
        });
    });

    STATUS_FLASH = new QTimer(this);
    STATUS_FLASH->setObjectName(QStringLiteral("STATUS_FLASH"));
    STATUS_FLASH->setSingleShot(true);
    STATUS_FLASH->setInterval(kStatusMessageMs);
    connect(STATUS_FLASH, &QTimer::timeout, this, &TForm1::endStatusMessage);
}

void TForm1::showDocumentState()
{
    if (!STATUS_ENCODING)
        return;
    STATUS_ENCODING->setText(DocEncoding == EncodingUtf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1251"));
    STATUS_LINEENDS->setText(DocLineEnds == LineEnds::Lf ? QStringLiteral("LF") : QStringLiteral("CRLF"));
    fitStatusPanels();
}

void TForm1::fitStatusPanels()
{
    QLabel* hints = panels_.value(0);
    if (!hints || !STATUS_ENCODING)
        return;
    // The caret report gets the room a long report needs, or its own text's
    // when that is longer; the hints take what is left.
    QLabel* caret = panels_.value(1);
    CaretReportWidths& known = caretReportWidths_;
    if (known.sample < 0 || known.font != caret->font()) {
        known = {caret->font(), QFontMetrics(caret->font()).horizontalAdvance(kCaretReportSample), QString(), 0};
    }
    if (known.text != caret->text()) {
        known.text = caret->text();
        known.textWidth = QFontMetrics(known.font).horizontalAdvance(known.text);
    }
    const int margins = 2 * caret->frameWidth() + 2 * caret->margin() + 8;
    const int room = std::min(kCaretReportWidest, margins + std::max(known.sample, known.textWidth));
    caret->setMinimumWidth(room);
    int others = room + 24; // the caret report, the size grip and the gaps
    for (QWidget* w : {static_cast<QWidget*>(STATUS_ENCODING), static_cast<QWidget*>(STATUS_LINEENDS), static_cast<QWidget*>(panels_.value(2))})
        others += w->sizeHint().width() + 4;
    hints->setFixedWidth(std::clamp(STATUS->width() - others, kHintPanelNarrowest, kHintPanelWidth));
}

void TForm1::showLogLineInStatus()
{
    if (!STATUS_FLASH || !HELPLOG->isHidden() || log_.count() == 0)
        return;
    QLabel* panel = panels_.value(0);
    if (!panel)
        return;
    if (!STATUS_FLASH->isActive())
        hintAfterMessage_ = panel->text();
    const MessageLog::Line& newest = log_.line(0);
    // One line in the panel; the whole message as its tip.
    panel->setText(newest.message.simplified());
    panel->setToolTip(newest.message);
    QPalette p = panel->palette();
    p.setColor(QPalette::WindowText, newest.error ? QColor(255, 0, 0) : STATUS->palette().color(QPalette::WindowText));
    panel->setPalette(p);
    STATUS_FLASH->start();
}

void TForm1::endStatusMessage()
{
    STATUS_FLASH->stop();
    if (QLabel* panel = panels_.value(0)) {
        panel->setPalette(STATUS->palette());
        panel->setToolTip(QString());
        panel->setText(hintAfterMessage_);
    }
}

void TForm1::showHint(const QString& hint)
{
    // A message being shown keeps its place; the hint follows it.
    if (STATUS_FLASH && STATUS_FLASH->isActive())
        hintAfterMessage_ = hint;
    else
        setStatusPanel(0, hint);
}
