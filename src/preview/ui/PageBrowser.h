#pragma once
// The program's browser component, as every window that shows a page sees
// it: the preview window, the help page, the resource viewer and the font
// dialog's sample. One implementation, on the web engine, is made by
// CreatePageBrowser; the engine's module is loaded with the first one made.
#include <QHash>
#include <QImage>
#include <QObject>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;

class PageBrowser : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The widget that shows the page.
    virtual QWidget* widget() = 0;

    virtual void navigate(const QUrl& url) = 0;
    // Shows an HTML text as the page; relative addresses in it resolve
    // against base. An empty text blanks the browser.
    virtual void loadHtml(const QString& html, const QUrl& base = QUrl()) = 0;
    // Shows the page of a local file as it is being edited: the files named
    // in texts (by absolute path; the page itself among them, or not) are
    // read from those texts instead of the disk, everything else as by
    // navigate. Nothing is written to disk for it.
    virtual void showEdited(const QUrl& file, const QHash<QString, QString>& texts)
    {
        loadHtml(texts.value(file.toLocalFile()), file);
    }
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void reload() = 0;

    virtual QUrl location() const = 0;
    virtual QString title() const = 0;
    // The page's vertical scroll offset in pixels, as last reported.
    virtual int scrollTop() const = 0;
    virtual void scrollTo(int x, int y) = 0;
    // The visible page at the widget's size; a null image when there is none.
    virtual QImage pagePicture() = 0;
    // Runs a script in the page; its value goes to result when given.
    virtual void evaluate(const QString& script, const std::function<void(const QVariant&)>& result = {}) = 0;

Q_SIGNALS:
    void titleChanged(const QString& title);
    // The text a browser shows in its status line (a link under the pointer).
    void statusTextChanged(const QString& text);
    // A navigation begins.
    void navigationStarting();
    // The address of the page being loaded is known.
    void downloadComplete();
    // The page has loaded (ok false: it could not be loaded; the engine shows its error page).
    void documentComplete(bool ok);
    void commandStateChanged(bool canGoBack, bool canGoForward);
};

// What a browser shows. Pages: the user's pages, with a browser's rules for a
// page from disk (its own files and the web load; its script reads no file);
// the program's built-in pages shown in it run no script and load nothing
// from the web. ProgramPages: a browser for pages the program makes (the font
// sample), under the built-in pages' rules throughout. ScriptedProgramPages:
// the same for pages the program makes with a script of its own in them (the
// resource viewer), whose script runs.
enum class BrowserKind { Pages, ProgramPages, ScriptedProgramPages };

// A browser inside parent, on the web engine; nullptr when the engine's
// module cannot be loaded (*error, when given, then says why, in Russian).
PageBrowser* CreatePageBrowser(QWidget* parent, QString* error = nullptr, BrowserKind kind = BrowserKind::Pages);

// Before the application object exists: the engine's start-up switches (its
// sandbox cannot run for root, and the network stays quiet). The engine
// itself is not loaded here.
void PrepareBrowserEngine();
