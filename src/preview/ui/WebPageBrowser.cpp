// PageBrowser on the web engine module (BrowserEngine.h), which is loaded
// with the first browser made.
#include "preview/ui/BrowserEngine.h"
#include "preview/ui/PageBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QWidget>

#include <unistd.h>

#ifndef VELTMARK_MODULE_DIR
#define VELTMARK_MODULE_DIR ""
#endif

namespace {

// The engine's table, from the module beside the program (or in the
// installed module folder, found from the program's own folder so that any
// install prefix works); nullptr with the reason when it cannot be had.
const BrowserEngine* loadEngine(QString* error)
{
    static const BrowserEngine* engine = nullptr;
    static QString failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        QStringList places = {QCoreApplication::applicationDirPath()};
        if (*VELTMARK_MODULE_DIR)
            places << QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).filePath(QString::fromUtf8(VELTMARK_MODULE_DIR));
        for (const QString& folder : places) {
            QLibrary module(QDir(folder).filePath(QStringLiteral("libveltmark_webengine")));
            if (!module.load()) {
                failure = module.errorString();
                continue;
            }
            const auto entry = reinterpret_cast<BrowserEngineEntry>(module.resolve(BrowserEngineEntryName));
            const BrowserEngine* e = entry ? entry() : nullptr;
            if (e && e->version == BrowserEngineVersion) {
                engine = e;
                break;
            }
            failure = QStringLiteral("модуль другой версии");
        }
    }
    if (!engine && error)
        *error = QStringLiteral("Встроенный браузер недоступен: не загружен модуль libveltmark_webengine (%1).").arg(failure);
    return engine;
}

class WebPageBrowser : public PageBrowser {
public:
    WebPageBrowser(const BrowserEngine* engine, QWidget* parent, BrowserKind kind)
        : PageBrowser(parent)
        , e_(engine)
    {
        BrowserEvents events;
        events.titleChanged = [this](const QString& title) { Q_EMIT titleChanged(title); };
        events.linkHovered = [this](const QString& url) { Q_EMIT statusTextChanged(url); };
        events.loadStarted = [this] { Q_EMIT navigationStarting(); };
        events.urlChanged = [this] {
            Q_EMIT downloadComplete();
            reportCommandState();
        };
        events.loadFinished = [this](bool ok) {
            Q_EMIT downloadComplete();
            reportCommandState();
            Q_EMIT documentComplete(ok);
        };
        view_ = e_->createView(parent, events, kind != BrowserKind::Pages, kind == BrowserKind::ScriptedProgramPages);
        view_->setObjectName(QStringLiteral("BROWSER"));
    }

    QWidget* widget() override { return view_; }
    void navigate(const QUrl& url) override { e_->navigate(view_, url); }
    void loadHtml(const QString& html, const QUrl& base) override { e_->setHtml(view_, html, base); }
    void showEdited(const QUrl& file, const QHash<QString, QString>& texts) override { e_->showEdited(view_, file, texts); }
    void back() override { e_->back(view_); }
    void forward() override { e_->forward(view_); }
    void reload() override { e_->reload(view_); }
    QUrl location() const override { return e_->url(view_); }
    QString title() const override { return e_->title(view_); }
    int scrollTop() const override { return qRound(e_->scrollTop(view_)); }
    void scrollTo(int x, int y) override { evaluate(QStringLiteral("window.scrollTo(%1, %2);").arg(x).arg(y), {}); }
    QImage pagePicture() override { return view_->size().isEmpty() ? QImage() : view_->grab().toImage(); }
    void evaluate(const QString& script, const std::function<void(const QVariant&)>& result) override
    {
        e_->runJavaScript(view_, script, result);
    }

private:
    void reportCommandState() { Q_EMIT commandStateChanged(e_->canGoBack(view_), e_->canGoForward(view_)); }

    const BrowserEngine* e_;
    QWidget* view_ = nullptr;
};

} // namespace

PageBrowser* CreatePageBrowser(QWidget* parent, QString* error, BrowserKind kind)
{
    const BrowserEngine* engine = loadEngine(error);
    return engine ? new WebPageBrowser(engine, parent, kind) : nullptr;
}

void PrepareBrowserEngine()
{
    // The engine's sandbox refuses to run for root; everyone else keeps it.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // No traffic of the engine's own: a preview talks to the page's servers only.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const char* f : {"--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run"}) {
        if (!flags.contains(f))
            flags += QByteArray(flags.isEmpty() ? "" : " ") + f;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    // The engine shares the application's GL contexts; this must be said
    // before the application object exists, even though the engine comes later.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
