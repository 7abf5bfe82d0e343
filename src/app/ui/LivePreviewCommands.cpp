// The live preview pane beside the editor ("Живой просмотр", F12): the page
// being edited, saved or not, shown a moment after typing pauses, at the
// scroll position it had. Made with its first showing, so a program that
// never opens it never loads the web engine.
#include "app/Documents.h"
#include "html/DocumentResources.h"
#include "preview/LivePage.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "preview/Preview.h"
#include "preview/ui/PageBrowser.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStackedLayout>
#include <QTimer>
#include <functional>

namespace {

// The pause in typing after which the pane shows the text.
constexpr int kTypingPauseMs = 300;
const QString kNotHtml = QStringLiteral("Живой просмотр показывает страницы HTML.");
const QString kNotLinked = QStringLiteral("Этот файл не подключён к странице, показанной в живом просмотре последней.");
// The pause after a caret move before the pane outlines its element.
constexpr int kOutlinePauseMs = 120;

// A value written into a script.
QString scriptValue(const QString& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Draws a thin frame over the page around the k-th element of a name, and
// scrolls it into view when it is outside (the frame inside the element's
// box, so it never widens the page); without such an element (or with
// an empty name) the frame goes. The frame is an element of the program's
// own name, so the page's own lookups by tag name do not see it.
QString outlineScript(const QString& name, int index)
{
    return QStringLiteral(
               "(function(n, k) {"
               " var o = document.querySelector('veltmark-outline');"
               " var e = n ? document.getElementsByTagName(n)[k] : null;"
               " var r = e && e.getBoundingClientRect ? e.getBoundingClientRect() : null;"
               " if (!r || (r.width == 0 && r.height == 0)) { if (o) o.remove(); return false; }"
               " if (!o) { o = document.createElement('veltmark-outline');"
               "  o.style.cssText = 'position:absolute;display:block;pointer-events:none;z-index:2147483647;"
               "box-sizing:border-box;border:1px solid rgba(30,110,230,.9);margin:0;padding:0';"
               "  document.documentElement.appendChild(o); }"
               " if (r.bottom < 0 || r.top > innerHeight) { e.scrollIntoView({block: 'center'}); r = e.getBoundingClientRect(); }"
               " o.style.left = (r.left + scrollX) + 'px'; o.style.top = (r.top + scrollY) + 'px';"
               " o.style.width = r.width + 'px'; o.style.height = r.height + 'px';"
               " return true; })(%1, %2)")
        .arg(scriptValue(name))
        .arg(index);
}

// The elements at a point of the page, innermost first, as "name index" lines.
QString elementsAtScript(const QPoint& p)
{
    return QStringLiteral("(function(x, y) { var out = [];"
                          " for (var e = document.elementFromPoint(x, y); e && e.nodeType == 1; e = e.parentElement) {"
                          "  var n = e.tagName.toLowerCase();"
                          "  out.push(n + ' ' + Array.prototype.indexOf.call(document.getElementsByTagName(n), e)); }"
                          " return out.join('\\n'); })(%1, %2)")
        .arg(p.x())
        .arg(p.y());
}

// Applies a style-only edit to the shown page; false when it found no such element.
QString styleEditScript(const StyleEdit& edit)
{
    return QStringLiteral("(function(n, k, v, sheet) { var e = document.getElementsByTagName(n)[k];"
                          " if (!e) return false; if (sheet) e.textContent = v; else e.setAttribute('style', v);"
                          " return true; })(%1, %2, %3, %4)")
        .arg(scriptValue(edit.element.name))
        .arg(edit.element.index)
        .arg(scriptValue(edit.value))
        .arg(edit.sheet ? QStringLiteral("true") : QStringLiteral("false"));
}

// Parses a page's new text and puts its body in place of the shown one, at
// the same scroll place; false when either page has no body.
QString bodyEditScript(const QString& text)
{
    return QStringLiteral("(function(t) { var x = scrollX, y = scrollY;"
                          " var d = new DOMParser().parseFromString(t, 'text/html');"
                          " if (!d.body || !document.body || d.body.tagName != 'BODY' || document.body.tagName != 'BODY') return false;"
                          " document.documentElement.replaceChild(document.adoptNode(d.body), document.body);"
                          " scrollTo(x, y); return true; })(%1)")
        .arg(scriptValue(text));
}

// The files a page's text refers to, by absolute path.
QStringList linkedFiles(const QString& pagePath, const QString& text)
{
    QStringList files;
    const QString folder = QFileInfo(pagePath).absolutePath() + u'/';
    for (QString ref : DocumentResources(text)) {
        ref = ref.left(ref.indexOf(QRegularExpression(QStringLiteral("[?#]"))));
        const QUrl url(ref);
        if (url.isLocalFile())
            files << QDir::cleanPath(url.toLocalFile());
        else if (url.isRelative())
            files << QDir::cleanPath(folder + QUrl::fromPercentEncoding(ref.toUtf8()).replace(u'\\', u'/'));
    }
    return files;
}

// Ctrl+clicks on the pane's page, from whichever of the engine's widgets gets them.
class CtrlClicks : public QObject {
public:
    CtrlClicks(QWidget* view, std::function<void(const QPoint&)> clicked)
        : QObject(view)
        , view_(view)
        , clicked_(std::move(clicked))
    {
        watch(view);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
                watch(w);
        } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                   || event->type() == QEvent::MouseButtonDblClick) {
            auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::LeftButton && (m->modifiers() & Qt::ControlModifier)) {
                if (event->type() == QEvent::MouseButtonPress)
                    clicked_(static_cast<QWidget*>(watched)->mapTo(view_, m->position().toPoint()));
                return true; // the page does not see it: no link opens
            }
        }
        return false;
    }

private:
    void watch(QWidget* w)
    {
        w->installEventFilter(this);
        for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            watch(child);
    }
    QWidget* view_;
    std::function<void(const QPoint&)> clicked_;
};

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
    liveOutlineTimer_ = new QTimer(this);
    liveOutlineTimer_->setSingleShot(true);
    liveOutlineTimer_->setInterval(kOutlinePauseMs);
    connect(liveOutlineTimer_, &QTimer::timeout, this, &TForm1::outlineLiveElement);
    connect(Memo1, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (LIVEPANE && LIVEPANE->isVisible())
            liveOutlineTimer_->start();
    });
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
                liveOutlineTimer_->start();
                Q_EMIT livePreviewShown();
            });
            new CtrlClicks(livePage_->widget(), [this](const QPoint& p) { liveClickAt(p); });
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
    // A new page in the pane, which comes back to the scroll place of the last.
    const auto show = [&](const QString& key, const std::function<void()>& load) {
        stack->setCurrentWidget(livePage_->widget());
        liveScroll_ = livePage_->scrollTop();
        load();
        liveShown_ = key;
    };
    const QString text = Memo1->text();
    if (!CurrentIsHTML()) {
        // A style sheet or script: the last page shown that refers to it, with its text as typed.
        const QString suffix = QFileInfo(CurrentFileName).suffix().toLower();
        const bool linkable = suffix == QLatin1String("css") || suffix == QLatin1String("js");
        const QString path = QDir::cleanPath(CurrentFileName);
        if (!linkable || CurrentFileName.isEmpty() || !liveLinks_.contains(path)) {
            note(linkable ? kNotLinked : kNotHtml);
            return;
        }
        const QString key = QStringLiteral("linked:") + text;
        if (liveShown_ == key)
            return;
        show(key, [&] { livePage_->showEdited(QUrl::fromLocalFile(livePagePath_), {{path, text}}); });
        return;
    }
    // The page's address: its assigned URL, reloaded as its file is saved,
    // or the page's file with the editor's text in place of its contents.
    const std::optional<QString> assigned = CurrentFileName.isEmpty() ? std::nullopt : AssignedUrl(CurrentFileName);
    if (assigned) {
        const QString key = QStringLiteral("url:") + *assigned;
        if (liveShown_ == key)
            return;
        show(key, [&] { livePage_->navigate(assigned->isEmpty() ? QUrl::fromLocalFile(CurrentFileName) : QUrl::fromUserInput(*assigned)); });
        return;
    }
    if (stack->currentWidget() == livePage_->widget() && !liveShown_.isEmpty()) {
        if (text == liveShown_)
            return;
        // A change of style alone goes into the page as it stands; a change
        // of the body of a page without scripts, parsed again in the page.
        const std::optional<StyleEdit> edit = StyleOnlyEdit(liveShown_, text);
        if (edit || BodyOnlyEdit(liveShown_, text)) {
            liveShown_ = text;
            if (!edit)
                liveLinks_ = linkedFiles(livePagePath_, text);
            livePage_->evaluate(edit ? styleEditScript(*edit) : bodyEditScript(text),
                                [this, page = QPointer<PageBrowser>(livePage_)](const QVariant& done) {
                                    if (!page)
                                        return;
                                    if (!done.toBool()) { // read the page again
                                        liveShown_.clear();
                                        refreshLivePreview();
                                        return;
                                    }
                                    liveOutlineTimer_->start();
                                    Q_EMIT livePreviewShown();
                                });
            return;
        }
    }
    const QString path = CurrentFileName.isEmpty() ? ScratchDocumentPath() : CurrentFileName;
    show(text, [&] { livePage_->showEdited(QUrl::fromLocalFile(path), {{path, text}}); });
    livePagePath_ = QDir::cleanPath(path);
    liveLinks_ = linkedFiles(path, text);
}

void TForm1::outlineLiveElement()
{
    if (!LIVEPANE || !LIVEPANE->isVisible() || !livePage_ || !CurrentIsHTML())
        return;
    const QString text = Memo1->text();
    if (liveShown_ != text) // the page shown is not this text yet: its refresh outlines again
        return;
    const std::optional<PageElement> e = ElementAtCaret(text, Memo1->selStart());
    livePage_->evaluate(e ? outlineScript(e->name, e->index) : outlineScript(QString(), 0));
}

void TForm1::liveClickAt(const QPoint& point)
{
    if (!livePage_ || !CurrentIsHTML())
        return;
    livePage_->evaluate(elementsAtScript(point), [this, page = QPointer<PageBrowser>(livePage_)](const QVariant& found) {
        if (!page)
            return;
        const QString text = Memo1->text();
        for (const QString& line : found.toString().split(u'\n', Qt::SkipEmptyParts)) {
            const qsizetype blank = line.indexOf(u' ');
            const std::optional<int> start = StartTagOf(text, PageElement{line.left(blank), line.mid(blank + 1).toInt()});
            if (start) {
                Memo1->setSelStart(*start);
                Memo1->ensureCursorVisible();
                Memo1->setFocus();
                return;
            }
        }
    });
}
