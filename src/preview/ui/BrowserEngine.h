#pragma once
// The web engine lives in a module of its own (libveltmark_webengine.so),
// loaded with the first browser the program makes: a program that never
// previews never maps the engine, and starts as fast as without it. This is
// the module's whole interface, one table of plain functions over the
// engine's view widget; PageBrowser (WebPageBrowser.cpp) is built on it.
#include <QHash>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;

// What the engine reports about its page.
struct BrowserEvents {
    std::function<void(const QString& title)> titleChanged;
    std::function<void(const QString& url)> linkHovered;
    std::function<void()> loadStarted;
    std::function<void()> urlChanged;
    std::function<void(bool ok)> loadFinished;
};

struct BrowserEngine {
    int version;
    // A view inside parent, on the program's profile, reporting to events;
    // A view for the user's pages, or one for the program's own pages, which
    // load nothing from the web and run no script but with programScript.
    QWidget* (*createView)(QWidget* parent, const BrowserEvents& events, bool programPages, bool programScript);
    void (*navigate)(QWidget* view, const QUrl& url);
    void (*setHtml)(QWidget* view, const QString& html, const QUrl& base);
    void (*back)(QWidget* view);
    void (*forward)(QWidget* view);
    void (*reload)(QWidget* view);
    QUrl (*url)(const QWidget* view);
    QString (*title)(const QWidget* view);
    double (*scrollTop)(const QWidget* view);
    void (*runJavaScript)(QWidget* view, const QString& script, const std::function<void(const QVariant&)>& result);
    bool (*canGoBack)(const QWidget* view);
    bool (*canGoForward)(const QWidget* view);
    // The page of a local file, with the files named in texts (absolute
    // paths) served from those texts instead of the disk.
    void (*showEdited)(QWidget* view, const QUrl& file, const QHash<QString, QString>& texts);
};

inline constexpr int BrowserEngineVersion = 3;
// The module's one exported symbol: extern "C" const BrowserEngine* veltmark_browser_engine().
inline constexpr const char* BrowserEngineEntryName = "veltmark_browser_engine";
using BrowserEngineEntry = const BrowserEngine* (*)();
