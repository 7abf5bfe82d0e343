// The web engine module: the engine's view on the program's profile, the
// "res" address scheme of the built-in pages, and the table of functions the
// program calls (preview/ui/BrowserEngine.h).
#include "preview/ui/BrowserEngine.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace {

const QByteArray kBuiltInScheme = "res";

// Serves the program's built-in pages (the help page and its picture) from
// its compiled-in resources: "res://<program path>/INDEX.HTML" is
// ":/help/INDEX.HTML", whatever the folders before the name.
class BuiltInPages : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QString path = job->requestUrl().path();
        const QString name = path.mid(path.lastIndexOf(u'/') + 1);
        QFile f(QStringLiteral(":/help/") + name);
        if (name.isEmpty() || !f.open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(f.readAll());
        const QByteArray type = name.endsWith(QLatin1String(".PNG"), Qt::CaseInsensitive) ? "image/png" : "text/html";
        job->reply(type, body);
    }
};

// One profile for every browser of the program: nothing kept on disk and no
// cache, so a preview always shows the page as it is now.
QWebEngineProfile* programProfile()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setHttpCacheType(QWebEngineProfile::NoCache);
        profile->installUrlSchemeHandler(kBuiltInScheme, new BuiltInPages(profile));
    }
    return profile;
}

QWebEngineView* view(QWidget* w) { return static_cast<QWebEngineView*>(w); }
const QWebEngineView* view(const QWidget* w) { return static_cast<const QWebEngineView*>(w); }

QWidget* createView(QWidget* parent, const BrowserEvents& events)
{
    auto* v = new QWebEngineView(parent);
    v->setPage(new QWebEnginePage(programProfile(), v));
    QWebEnginePage* page = v->page();
    QObject::connect(page, &QWebEnginePage::titleChanged, v, events.titleChanged);
    QObject::connect(page, &QWebEnginePage::linkHovered, v, events.linkHovered);
    QObject::connect(page, &QWebEnginePage::loadStarted, v, events.loadStarted);
    QObject::connect(page, &QWebEnginePage::urlChanged, v, events.urlChanged);
    QObject::connect(page, &QWebEnginePage::loadFinished, v, events.loadFinished);
    return v;
}

const BrowserEngine kEngine = {
    BrowserEngineVersion,
    createView,
    [](QWidget* w, const QUrl& url) { view(w)->setUrl(url); },
    // The engine takes a text of up to 2 MB this way; pages are previewed
    // through their files.
    [](QWidget* w, const QString& html, const QUrl& base) { view(w)->setHtml(html, base); },
    [](QWidget* w) { view(w)->back(); },
    [](QWidget* w) { view(w)->forward(); },
    [](QWidget* w) { view(w)->reload(); },
    [](const QWidget* w) { return view(w)->url(); },
    [](const QWidget* w) { return view(w)->title(); },
    [](const QWidget* w) { return view(w)->page()->scrollPosition().y(); },
    [](QWidget* w, const QString& script, const std::function<void(const QVariant&)>& result) {
        if (result)
            view(w)->page()->runJavaScript(script, result);
        else
            view(w)->page()->runJavaScript(script);
    },
    [](const QWidget* w) { return view(w)->history()->canGoBack(); },
    [](const QWidget* w) { return view(w)->history()->canGoForward(); },
};

} // namespace

extern "C" Q_DECL_EXPORT const BrowserEngine* veltmark_browser_engine()
{
    // The scheme is known to the engine before its first page.
    static const bool registered = [] {
        QWebEngineUrlScheme scheme(kBuiltInScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    Q_UNUSED(registered);
    return &kEngine;
}
