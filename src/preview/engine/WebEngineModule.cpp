// The web engine module: the engine's view on the program's profile, the
// "res" address scheme of the built-in pages, and the table of functions the
// program calls (preview/ui/BrowserEngine.h).
#include "preview/ui/BrowserEngine.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <QPointer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace {

const QByteArray kBuiltInScheme = "res";
// The user's pages from disk are shown as "page://p" + the file's path, whose
// pictures, style sheets and scripts come from disk by relative and file
// addresses and from the web by theirs. Every frame gets a host of its own,
// so a page's script reads no frame of another file, as a browser keeps
// files apart. (A page shown as a file address would get the engine's
// local-content rules instead: no web address at all, or every file
// readable by its script.)
const QByteArray kPageScheme = "page";
const QString kPageHost = QStringLiteral("p");

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

// The texts a view shows in place of some files' contents (the editor's
// unsaved page and style sheets), by the host its page is shown at.
QHash<QString, QHash<QString, QByteArray>>& editedTexts()
{
    static QHash<QString, QHash<QString, QByteArray>> texts;
    return texts;
}
const char* const kEditedHost = "veltmarkEditedHost";

// Serves the files of the user's pages at their "page:" addresses.
class DiskPages : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QString path = job->requestUrl().path(QUrl::FullyDecoded);
        const auto edited = editedTexts().constFind(job->requestUrl().host());
        if (edited != editedTexts().cend() && edited->contains(path)) {
            auto* body = new QBuffer(job);
            body->setData(edited->value(path));
            const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
            job->reply(type.name().toLatin1() + "; charset=utf-8", body);
            return;
        }
        QFile f(path);
        if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(f.readAll());
        const QMimeType type = QMimeDatabase().mimeTypeForFileNameAndData(path, body->data());
        job->reply(type.name().toLatin1() + charsetOf(type, body->data()), body);
    }

private:
    // A text's encoding, as a browser would find it in a file: the page's own
    // declaration when it has one, else UTF-8 when its bytes are, else the
    // program's other encoding.
    static QByteArray charsetOf(const QMimeType& type, const QByteArray& data)
    {
        if (!type.inherits(QStringLiteral("text/plain")))
            return {};
        if (type.inherits(QStringLiteral("text/html")) && data.left(2048).toLower().contains("charset"))
            return {};
        QStringDecoder utf8(QStringDecoder::Utf8);
        (void)utf8.decode(data);
        return utf8.hasError() ? "; charset=windows-1251" : "; charset=utf-8";
    }
};

// A browser made for the program's own pages runs no page script.
const char* const kProgramPages = "veltmarkProgramPages";
// ... unless the program put a script of its own into them.
const char* const kProgramScript = "veltmarkProgramScript";

bool isLocalAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("file") || scheme == QLatin1String(kBuiltInScheme) || scheme == QLatin1String("data")
        || scheme == QLatin1String("blob") || scheme == QLatin1String("about") || scheme.isEmpty();
}

// What a page may load, as a browser rules it for a page opened from disk:
// its pictures, style sheets, scripts and frames from disk and from the web,
// but no file read by its script. The program's own pages (the "res" pages,
// and every page of a browser made for them) load nothing from the web.
class PageRules : public QWebEngineUrlRequestInterceptor {
public:
    PageRules(bool programPages, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent)
        , programPages_(programPages)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        const bool ownPage = programPages_ || info.firstPartyUrl().scheme() == QLatin1String(kBuiltInScheme);
        if (ownPage && !isLocalAddress(url)) {
            info.block(true);
            return;
        }
        switch (info.resourceType()) {
        case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
            if (url.scheme() == QLatin1String(kPageScheme) && (url.host() == kPageHost || editedTexts().contains(url.host()))) {
                QUrl own = url;
                own.setHost(QStringLiteral("f%1").arg(++frames_));
                info.redirect(own);
            }
            break;
        case QWebEngineUrlRequestInfo::ResourceTypeXhr: // XMLHttpRequest and fetch
        case QWebEngineUrlRequestInfo::ResourceTypeWorker:
        case QWebEngineUrlRequestInfo::ResourceTypeSharedWorker:
        case QWebEngineUrlRequestInfo::ResourceTypeServiceWorker:
        case QWebEngineUrlRequestInfo::ResourceTypePing:
        case QWebEngineUrlRequestInfo::ResourceTypeCspReport:
        case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
        case QWebEngineUrlRequestInfo::ResourceTypePrefetch:
            if (url.isLocalFile() || url.scheme() == QLatin1String(kBuiltInScheme) || url.scheme() == QLatin1String(kPageScheme))
                info.block(true);
            break;
        default:
            break;
        }
    }

private:
    bool programPages_;
    quint64 frames_ = 0;
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
        profile->installUrlSchemeHandler(kPageScheme, new DiskPages(profile));
        profile->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    }
    return profile;
}

QWebEngineView* view(QWidget* w) { return static_cast<QWebEngineView*>(w); }
const QWebEngineView* view(const QWidget* w) { return static_cast<const QWebEngineView*>(w); }

// A file address as the view of the user's pages shows it, and back.
QUrl shownAddress(const QWidget* w, const QUrl& url)
{
    if (!url.isLocalFile() || w->property(kProgramPages).toBool())
        return url;
    QUrl page;
    page.setScheme(QString::fromLatin1(kPageScheme));
    page.setHost(kPageHost);
    page.setPath(url.path());
    page.setQuery(url.query());
    page.setFragment(url.fragment());
    return page;
}

QUrl fileAddress(const QUrl& url)
{
    if (url.scheme() != QLatin1String(kPageScheme))
        return url;
    QUrl file = QUrl::fromLocalFile(url.path());
    file.setQuery(url.query());
    file.setFragment(url.fragment());
    return file;
}

// Shows the page of a file with the given files' texts in place of their
// contents, at a host of the view's own.
void showEdited(QWidget* w, const QUrl& file, const QHash<QString, QString>& texts)
{
    if (w->property(kProgramPages).toBool()) {
        view(w)->setHtml(texts.value(file.toLocalFile()), file);
        return;
    }
    QString host = w->property(kEditedHost).toString();
    if (host.isEmpty()) {
        static quint64 views = 0;
        host = QStringLiteral("e%1").arg(++views);
        w->setProperty(kEditedHost, host);
        QObject::connect(w, &QObject::destroyed, [host] { editedTexts().remove(host); });
    }
    QHash<QString, QByteArray>& own = editedTexts()[host];
    own.clear();
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        own.insert(it.key(), it.value().toUtf8());
    QUrl page = shownAddress(w, file);
    page.setHost(host);
    view(w)->page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true); // as navigate leaves it for a user's page
    // The same page again is read anew with all its files, as the texts may be new.
    if (view(w)->url() == page)
        view(w)->page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    else
        view(w)->setUrl(page);
}

QWidget* createView(QWidget* parent, const BrowserEvents& events, bool programPages, bool programScript)
{
    auto* v = new QWebEngineView(parent);
    v->setPage(new QWebEnginePage(programProfile(), v));
    QWebEnginePage* page = v->page();
    page->setUrlRequestInterceptor(new PageRules(programPages, page));
    v->setProperty(kProgramPages, programPages);
    v->setProperty(kProgramScript, programScript);
    if (programPages)
        page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, programScript);
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
    [](QWidget* w, const QUrl& url) {
        // The built-in pages run no script, whichever browser shows them.
        const bool own = w->property(kProgramPages).toBool() || url.scheme() == QLatin1String(kBuiltInScheme);
        view(w)->page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, !own || w->property(kProgramScript).toBool());
        view(w)->setUrl(shownAddress(w, url));
    },
    // The engine takes a text of up to 2 MB this way; pages are previewed
    // through their files.
    [](QWidget* w, const QString& html, const QUrl& base) { view(w)->setHtml(html, shownAddress(w, base)); },
    [](QWidget* w) { view(w)->back(); },
    [](QWidget* w) { view(w)->forward(); },
    [](QWidget* w) { view(w)->reload(); },
    [](const QWidget* w) { return fileAddress(view(w)->url()); },
    [](const QWidget* w) { return view(w)->title(); },
    [](const QWidget* w) { return view(w)->page()->scrollPosition().y(); },
    [](QWidget* w, const QString& script, const std::function<void(const QVariant&)>& result) {
        // The program's own scripts on a page that runs none of its own go
        // to a world of their own, which the switch for page scripts leaves on.
        const quint32 world = w->property(kProgramPages).toBool() || view(w)->url().scheme() == QLatin1String(kBuiltInScheme)
            ? QWebEngineScript::ApplicationWorld
            : QWebEngineScript::MainWorld;
        view(w)->page()->runJavaScript(script, world, result ? result : [](const QVariant&) {});
    },
    [](const QWidget* w) { return view(w)->history()->canGoBack(); },
    [](const QWidget* w) { return view(w)->history()->canGoForward(); },
    showEdited,
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
        QWebEngineUrlScheme pages(kPageScheme);
        pages.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        pages.setFlags(QWebEngineUrlScheme::LocalAccessAllowed);
        QWebEngineUrlScheme::registerScheme(pages);
        return true;
    }();
    Q_UNUSED(registered);
    return &kEngine;
}
