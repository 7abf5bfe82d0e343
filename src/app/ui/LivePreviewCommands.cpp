// The live preview pane beside the editor ("Живой просмотр", F12): the page
// being edited, saved or not, shown a moment after typing pauses, at the
// scroll position it had. Made with its first showing, so a program that
// never opens it never loads the web engine.
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "preview/Preview.h"
#include "preview/ui/PageBrowser.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStackedLayout>
#include <QTimer>

namespace {

// The pause in typing after which the pane shows the text.
constexpr int kTypingPauseMs = 300;
const QString kNotHtml = QStringLiteral("Живой просмотр показывает страницы HTML.");

} // namespace

void TForm1::buildLivePreviewEntry()
{
    MENU_LIVEPREVIEW = new QAction(QStringLiteral("Живой просмотр"), PopupMenu1);
    MENU_LIVEPREVIEW->setObjectName(QStringLiteral("MENU_LIVEPREVIEW"));
    MENU_LIVEPREVIEW->setCheckable(true);
    MENU_LIVEPREVIEW->setShortcut(Qt::Key_F12);
    MENU_LIVEPREVIEW->setShortcutContext(Qt::WindowShortcut);
    const QList<QAction*> entries = PopupMenu1->actions();
    const qsizetype after = entries.indexOf(MENU_PROGBROWSER_VIEW);
    PopupMenu1->insertAction(after + 1 < entries.size() ? entries[after + 1] : nullptr, MENU_LIVEPREVIEW);
    addAction(MENU_LIVEPREVIEW); // the key works wherever the focus is
    connect(MENU_LIVEPREVIEW, &QAction::toggled, this, [this](bool on) { showLivePreview(on, true); });
    liveTimer_ = new QTimer(this);
    liveTimer_->setSingleShot(true);
    liveTimer_->setInterval(kTypingPauseMs);
    connect(liveTimer_, &QTimer::timeout, this, &TForm1::refreshLivePreview);
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (LIVEPANE && LIVEPANE->isVisible())
            liveTimer_->start();
    });
    Opt_SelectFile(opt::Program);
    if (Opt_ReadStr(opt::LIVEPREVIEW) == QLatin1String("1"))
        QTimer::singleShot(0, this, [this] { MENU_LIVEPREVIEW->setChecked(true); });
}

void TForm1::showLivePreview(bool on, bool remember)
{
    if (on && !LIVEPANE) {
        // The editor goes into a splitter with the pane at its right; the
        // marker bar, the line numbers and the log stay where they are.
        auto* grid = qobject_cast<QGridLayout*>(Memo1->parentWidget()->layout());
        LIVESPLIT = new QSplitter(Qt::Horizontal, Memo1->parentWidget());
        LIVESPLIT->setObjectName(QStringLiteral("LIVESPLIT"));
        LIVESPLIT->setChildrenCollapsible(false);
        grid->replaceWidget(Memo1, LIVESPLIT);
        LIVESPLIT->addWidget(Memo1);
        LIVESPLIT->show();
        LIVEPANE = new QWidget(LIVESPLIT);
        LIVEPANE->setObjectName(QStringLiteral("LIVEPANE"));
        auto* stack = new QStackedLayout(LIVEPANE);
        LIVENOTE = new QLabel(LIVEPANE);
        LIVENOTE->setObjectName(QStringLiteral("LIVENOTE"));
        LIVENOTE->setAlignment(Qt::AlignCenter);
        LIVENOTE->setWordWrap(true);
        stack->addWidget(LIVENOTE);
        QString error;
        livePage_ = CreatePageBrowser(LIVEPANE, &error);
        if (livePage_) {
            stack->addWidget(livePage_->widget());
            connect(livePage_, &PageBrowser::documentComplete, this, [this] {
                if (liveScroll_ > 0)
                    livePage_->scrollTo(0, liveScroll_);
            });
        } else {
            LIVENOTE->setText(error);
        }
        LIVESPLIT->addWidget(LIVEPANE);
        Opt_SelectFile(opt::Program);
        const int width = Opt_ReadInt(opt::LIVEPREVIEW_WIDTH, 0).value_or(0);
        const int total = LIVESPLIT->width();
        const int pane = width > 0 ? width : total / 2;
        LIVESPLIT->setSizes({qMax(100, total - pane), pane});
        connect(LIVESPLIT, &QSplitter::splitterMoved, this, [this] {
            Opt_SelectFile(opt::Program);
            Opt_Write(opt::LIVEPREVIEW_WIDTH, QString::number(LIVEPANE->width()));
        });
    }
    if (LIVEPANE)
        LIVEPANE->setVisible(on);
    if (MENU_LIVEPREVIEW->isChecked() != on)
        MENU_LIVEPREVIEW->setChecked(on);
    if (remember) {
        Opt_SelectFile(opt::Program);
        Opt_Write(opt::LIVEPREVIEW, on ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (on) {
        liveShown_.clear();
        refreshLivePreview();
    }
}

void TForm1::liveDocumentChanged()
{
    if (LIVEPANE && LIVEPANE->isVisible()) {
        liveShown_.clear(); // a new or saved document: shown again, whatever its text
        refreshLivePreview();
    }
}

void TForm1::refreshLivePreview()
{
    liveTimer_->stop();
    if (!LIVEPANE || !LIVEPANE->isVisible() || !livePage_)
        return;
    auto* stack = static_cast<QStackedLayout*>(LIVEPANE->layout());
    const auto note = [&](const QString& text) {
        LIVENOTE->setText(text);
        stack->setCurrentWidget(LIVENOTE);
        liveShown_.clear();
    };
    if (!CurrentIsHTML()) {
        note(kNotHtml);
        return;
    }
    // The page's address: its assigned URL, reloaded as its file is saved,
    // or the page's file with the editor's text in place of its contents.
    const std::optional<QString> assigned = CurrentFileName.isEmpty() ? std::nullopt : AssignedUrl(CurrentFileName);
    if (assigned) {
        const QString key = QStringLiteral("url:") + *assigned;
        if (liveShown_ == key)
            return;
        stack->setCurrentWidget(livePage_->widget());
        liveScroll_ = livePage_->scrollTop();
        livePage_->navigate(assigned->isEmpty() ? QUrl::fromLocalFile(CurrentFileName) : QUrl::fromUserInput(*assigned));
        liveShown_ = key;
        return;
    }
    const QString text = Memo1->text();
    if (text == liveShown_ && stack->currentWidget() == livePage_->widget())
        return;
    stack->setCurrentWidget(livePage_->widget());
    liveScroll_ = livePage_->scrollTop();
    const QString path = CurrentFileName.isEmpty() ? ScratchDocumentPath() : CurrentFileName;
    livePage_->showEdited(QUrl::fromLocalFile(path), {{path, text}});
    liveShown_ = text;
}
