// The preview window with the real web engine, headless.
#include "FormTest.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "html/ui/DocumentProperties.h"
#include "preview/ui/BrowserWindow.h"
#include "preview/ui/PageBrowser.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QToolButton>
#include <memory>

using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

constexpr int kLoadWait = 30000;

// Waits for the engine (QtTest's QTRY macros would return without telling the test).
bool eventually(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kLoadWait); }

class PreviewWindow : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
    }
    QString page(const QString& name, const QByteArray& bytes)
    {
        const QString path = programFolder() + QStringLiteral("site/") + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteBytes(path, bytes);
        return path;
    }
    TForm1& openPage(const QString& path)
    {
        TForm1& form = start({path});
        LoadingText = false;
        return form;
    }
    // Runs a command that shows a page and waits for the page to load.
    bool showAndLoad(const std::function<void()>& command)
    {
        TBROWSFORM* w = form_->browserWindow();
        PageBrowser* b = w->browser();
        if (!b)
            return false;
        QSignalSpy loaded(b, &PageBrowser::documentComplete);
        command();
        return loaded.wait(kLoadWait) || !loaded.isEmpty();
    }
    TBROWSFORM* window() { return form_->BROWSFORM; }
    // The secret file, the picture and the inner frame page beside the
    // probing page, whose text it gives.
    QByteArray probingSite(quint16 cdnPort);
};

TEST_F(PreviewWindow, ShowsTheEditorTextFromACopyBesideThePageAndDeletesIt)
{
    const QString a = page(QStringLiteral("a.html"), "<html><head><meta charset=\"utf-8\"><title>Старое</title></head>\n<body><p>x</p></body></html>\n");
    TForm1& form = openPage(a);
    form.Memo1->setText(QStringLiteral("<html><head><meta charset=\"utf-8\"><title>Новое ₽</title></head>\n<body><p>x</p></body></html>"));
    const QString copy = programFolder() + QStringLiteral("site/temp_a.html");
    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    // Written in the document's encoding and line ends, unsaved text and all.
    EXPECT_EQ(ReadBytes(copy), DocumentBytes(form.Memo1->text(), EncodingUtf8, LineEnds::Lf));
    EXPECT_TRUE(window()->isVisible());
    EXPECT_TRUE(window()->isModal());
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("Новое ₽"); }));
    EXPECT_EQ(window()->URLCAP->text(), QUrl::fromLocalFile(copy).toString());
    EXPECT_TRUE(window()->SHOT->isVisible());
    EXPECT_EQ(ReadBytes(a).left(6), QByteArray("<html>")); // the document itself untouched

    window()->MENU_CLOSE->trigger(); // Esc
    EXPECT_FALSE(window()->isVisible());
    EXPECT_FALSE(QFile::exists(copy));
}

TEST_F(PreviewWindow, RefusalsWriteNothing)
{
    const QString css = page(QStringLiteral("s.css"), "b { }\n");
    TForm1& form = openPage(css);
    form.MENU_PROGBROWSER_VIEW->trigger();
    EXPECT_EQ(prompts_.texts().back(), QStringLiteral("Просмотр доступен только для документов HTML"));
    EXPECT_FALSE(QFile::exists(programFolder() + QStringLiteral("site/temp_s.css")));
    form_.reset();

    const QString bad = page(QStringLiteral("bad.html"), "<p>a < b</p>\n");
    TForm1& again = openPage(bad);
    again.MENU_PROGBROWSER_VIEW->trigger();
    EXPECT_FALSE(QFile::exists(programFolder() + QStringLiteral("site/temp_bad.html")));
    EXPECT_TRUE(again.messageLog().line(0).message.contains(QStringLiteral("Тег не закрыт")));
    EXPECT_TRUE(again.BROWSFORM == nullptr || !again.BROWSFORM->isVisible());
    form_.reset();

    // A copy that cannot be written (a folder in its place here; a read-only
    // folder for a user) is said so; no older copy is shown.
    const QString c = page(QStringLiteral("c.html"), "<p>x</p>\n");
    QDir().mkpath(programFolder() + QStringLiteral("site/temp_c.html"));
    TForm1& third = openPage(c);
    third.MENU_PROGBROWSER_VIEW->trigger();
    EXPECT_TRUE(prompts_.texts().back().startsWith(QStringLiteral("Страница не показана")));
    EXPECT_TRUE(third.BROWSFORM == nullptr || !third.BROWSFORM->isVisible());
}

// One page from a server on 127.0.0.1: what a local web server or a CDN would give.
class OnePageServer : public QTcpServer {
public:
    explicit OnePageServer(QByteArray body, QByteArray type = "text/html; charset=utf-8")
        : body_(std::move(body))
        , type_(std::move(type))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    s->readAll();
                    ++requests;
                    s->write("HTTP/1.0 200 OK\r\nContent-Type: " + type_ + "\r\nAccess-Control-Allow-Origin: *\r\nContent-Length: "
                             + QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                    s->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }
    int requests = 0;

private:
    QByteArray body_;
    QByteArray type_;
};

// A page that takes its style sheet from a "CDN", its picture and a frame from
// beside it, and whose script tries every way to read a file it was not given.
QByteArray ProbingPage(quint16 cdnPort, const QString& secret)
{
    const QByteArray abs = QUrl::fromLocalFile(secret).toEncoded();
    return "<html><head><title>probe</title><link rel=\"stylesheet\" href=\"http://127.0.0.1:" + QByteArray::number(cdnPort)
        + "/cdn.css\"></head>\n<body><p id=\"p\">x</p><img id=\"i\" src=\"pic.png\"><iframe id=\"f\" src=\"secret.txt\"></iframe><iframe src=\"inner.html\"></iframe>\n"
          "<script>\nvar d = document.body.dataset;\n"
          "window.addEventListener('message', function(e) { d.inner = e.data; });\n"
          "function xhr(u) { try { var x = new XMLHttpRequest(); x.open('GET', u, false); x.send(); return x.responseText || 'empty'; } catch (e) { return 'blocked'; } }\n"
          "d.xhr = xhr('secret.txt') + '|' + xhr('" + abs + "');\n"
          "fetch('" + abs + "').then(function(r) { return r.text(); }).then(function(t) { d.fetch = t; }, function() { d.fetch = 'blocked'; });\n"
          "window.onload = function() { try { d.frame = document.getElementById('f').contentDocument.body.textContent; } catch (e) { d.frame = 'blocked'; } };\n"
          "</script></body></html>\n";
}

// What the probing page found out, once its script has run to the end.
struct Probe {
    QString xhr, fetch, frame, colour;
    int pictureWidth = -1;
    QString inner;
    bool asking = false;
};

Probe ReadProbe(PageBrowser* b)
{
    // The answers may come after the wait has given up: they go to a probe that outlives it.
    auto shared = std::make_shared<Probe>();
    Probe& p = *shared;
    QTest::qWaitFor([&] {
        if (p.asking)
            return false;
        p.asking = true; // one question at a time, while the page may still be loading
        b->evaluate(QStringLiteral("[document.body.dataset.xhr, document.body.dataset.fetch, document.body.dataset.frame,"
                                   " getComputedStyle(document.getElementById('p')).color, document.getElementById('i').naturalWidth,"
                                   " document.body.dataset.inner].join('\\n')"),
                    [shared](const QVariant& v) {
                        Probe& p = *shared;
                        p.asking = false;
                        const QStringList parts = v.toString().split(u'\n');
                        if (parts.size() == 6 && !parts[1].isEmpty() && !parts[2].isEmpty())
                            p = {parts[0], parts[1], parts[2], parts[3], parts[4].toInt(), parts[5], false};
                    });
        return p.pictureWidth >= 0 && p.colour == QStringLiteral("rgb(1, 2, 3)") && !p.inner.isEmpty();
    }, kLoadWait);
    return p;
}

// What a page from disk may do: its remote style sheet applied, its own
// picture and a frame beside it loaded, and no other file read by its script.
void ExpectOwnFilesOnly(const Probe& p)
{
    EXPECT_EQ(p.colour, QStringLiteral("rgb(1, 2, 3)"));
    EXPECT_EQ(p.pictureWidth, 7); // its own picture, by a relative address
    EXPECT_EQ(p.xhr, QStringLiteral("blocked|blocked"));
    EXPECT_EQ(p.fetch, QStringLiteral("blocked"));
    EXPECT_FALSE(p.frame.contains(QStringLiteral("SECRET")));
    EXPECT_EQ(p.inner, QStringLiteral("inner 7"));
}

QByteArray PreviewWindow::probingSite(quint16 cdnPort)
{
    const QString secret = page(QStringLiteral("secret.txt"), "SECRET-TEXT");
    QImage pic(7, 5, QImage::Format_RGB32);
    pic.fill(Qt::red);
    pic.save(programFolder() + QStringLiteral("site/pic.png"));
    // A frame of a page beside it shows, with its own picture, and talks by messages.
    page(QStringLiteral("inner.html"), "<html><body><img src=\"pic.png\" onload=\"parent.postMessage('inner ' + this.naturalWidth, '*')\"></body></html>");
    return ProbingPage(cdnPort, secret);
}

TEST_F(PreviewWindow, AnAssignedUrlIsShownInsteadOfACopy)
{
    OnePageServer server("<html><head><title>С сервера</title></head><body>ok</body></html>");
    ASSERT_TRUE(server.isListening());
    const QString a = page(QStringLiteral("a.html"), "<p>x</p>\n");
    Opt_SelectFile(opt::UrlAssigns);
    Opt_Write(a, QStringLiteral("http://127.0.0.1:%1/a.html").arg(server.serverPort()));
    TForm1& form = openPage(a);
    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("С сервера"); }));
    EXPECT_FALSE(QFile::exists(programFolder() + QStringLiteral("site/temp_a.html")));
    window()->close();
}

TEST_F(PreviewWindow, TheNextPreviewOpensWhereTheLastWasScrolled)
{
    QByteArray tall = "<html><body>";
    for (int i = 0; i < 300; ++i)
        tall += "<p>line " + QByteArray::number(i) + "</p>\n";
    tall += "</body></html>\n";
    const QString a = page(QStringLiteral("a.html"), tall);
    TForm1& form = openPage(a);
    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    PageBrowser* b = window()->browser();
    b->scrollTo(0, 500);
    EXPECT_TRUE(eventually([&] { return b->scrollTop() == 500; }));
    window()->N21->trigger(); // F9
    EXPECT_EQ(window()->ScrollMemory, 500);

    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    EXPECT_TRUE(eventually([&] { return b->scrollTop() == 500; }));
    window()->close();
}

TEST_F(PreviewWindow, PagePictureIsAJpegOnlyForJpg)
{
    const QString a = page(QStringLiteral("a.html"), "<html><body style='background:#0a0'><p>x</p></body></html>\n");
    TForm1& form = openPage(a);
    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    const QSize viewport = window()->browser()->widget()->size();
    const QString jpg = programFolder() + QStringLiteral("shot.jpg");
    const QString jpeg = programFolder() + QStringLiteral("shot.jpeg");
    prompts_.fileNames = {jpg, jpeg};
    window()->SHOTClick();
    window()->SHOTClick();
    EXPECT_TRUE(ReadBytes(jpg).startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(QImage(jpg).size(), viewport);
    EXPECT_TRUE(ReadBytes(jpeg).startsWith("BM"));
    EXPECT_EQ(QImage(jpeg, "BMP").size(), viewport);
    EXPECT_EQ(prompts_.shown.back().request.filter, QStringLiteral("Jpeg|*.jpg|BMP|*.bmp"));
    window()->close();
}

TEST_F(PreviewWindow, HelpFromTheMenuAndFromTheProperties)
{
    const QString a = page(QStringLiteral("a.html"), "<html><head><title>Страница</title></head><body></body></html>\n");
    TForm1& form = openPage(a);
    ASSERT_TRUE(showAndLoad([&] { form.MENU_HELP->trigger(); }));
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("Veltmark - редактор HTML и CSS"); })) << window()->windowTitle().toStdString() << " at " << window()->browser()->location().toString().toStdString();
    EXPECT_EQ(window()->URLCAP->text(), QStringLiteral("Справка"));
    EXPECT_TRUE(window()->browser()->location().fragment().isEmpty());
    window()->close();

    ASSERT_TRUE(showAndLoad([&] { form.DOCUMENT_PROPERTIES->MImage1->click(); }));
    EXPECT_EQ(window()->browser()->location().fragment(), QStringLiteral("docprop"));
    window()->close();

    // After help, a preview has no "Справка" label.
    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("Страница"); })) << window()->windowTitle().toStdString() << " at " << window()->browser()->location().toString().toStdString();
    EXPECT_NE(window()->URLCAP->text(), QStringLiteral("Справка"));
    window()->close();

    // The built-in page loads from under a program path with spaces.
    ASSERT_TRUE(showAndLoad([&] { window()->showPage(QUrl(QStringLiteral("res:///my%20programs/veltmark/INDEX.HTML#short")), QString(), QString()); }));
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("Veltmark - редактор HTML и CSS"); }));
    window()->close();
}

TEST_F(PreviewWindow, APageLoadsItsOwnAndRemoteFilesButItsScriptReadsNoOtherFile)
{
    OnePageServer cdn("#p { color: rgb(1, 2, 3); }", "text/css");
    ASSERT_TRUE(cdn.isListening());
    const QString a = page(QStringLiteral("a.html"), probingSite(cdn.serverPort()));
    TForm1& form = openPage(a);
    ASSERT_TRUE(showAndLoad([&] { form.MENU_PROGBROWSER_VIEW->trigger(); }));
    ExpectOwnFilesOnly(ReadProbe(window()->browser()));
    EXPECT_GE(cdn.requests, 1);
    window()->close();
}

} // namespace

namespace {

TEST_F(PreviewWindow, TheProgramsOwnPagesLoadNothingRemoteAndRunOnlyTheProgramsScript)
{
    OnePageServer cdn("#p { color: rgb(1, 2, 3); }", "text/css");
    ASSERT_TRUE(cdn.isListening());
    const QByteArray remote = "http://127.0.0.1:" + QByteArray::number(cdn.serverPort());
    const QString html = QString::fromLatin1("<html><head><title>t</title><link rel=\"stylesheet\" href=\"" + remote + "/a.css\"></head><body><p id=\"p\">x</p>"
                                             "<img src=\"" + remote + "/b.png\"><script>document.title = 'ran';</script></body></html>");
    const struct {
        BrowserKind kind;
        const char* title;
    } cases[] = {{BrowserKind::ProgramPages, "t"}, {BrowserKind::ScriptedProgramPages, "ran"}};
    for (const auto& c : cases) {
        QWidget host;
        host.resize(300, 200);
        host.show();
        PageBrowser* b = CreatePageBrowser(&host, nullptr, c.kind);
        ASSERT_NE(b, nullptr);
        b->widget()->resize(300, 200);
        QSignalSpy loaded(b, &PageBrowser::documentComplete);
        b->loadHtml(html, QUrl::fromLocalFile(programFolder()));
        ASSERT_TRUE(loaded.wait(kLoadWait) || !loaded.isEmpty());
        EXPECT_TRUE(eventually([&] { return b->title() == QLatin1String(c.title); })) << c.title << " " << b->title().toStdString();
        QString colour;
        b->evaluate(QStringLiteral("getComputedStyle(document.getElementById('p')).color"), [&](const QVariant& v) { colour = v.toString(); });
        EXPECT_TRUE(eventually([&] { return !colour.isEmpty(); }));
        EXPECT_NE(colour, QStringLiteral("rgb(1, 2, 3)"));
    }
    EXPECT_EQ(cdn.requests, 0);
}

} // namespace

namespace {

class LivePane : public PreviewWindow {
protected:
    // Shows the pane beside the editor and waits for its first page.
    PageBrowser* openPane(TForm1& form)
    {
        form.MENU_LIVEPREVIEW->trigger(); // F12
        if (!form.LIVEPANE || !form.LIVEPANE->isVisible())
            return nullptr;
        return form.LIVEPANE->findChild<PageBrowser*>();
    }
    QString bodyText(PageBrowser* b)
    {
        auto text = std::make_shared<QString>();
        b->evaluate(QStringLiteral("document.body ? document.body.innerText : ''"), [text](const QVariant& v) { *text = v.toString(); });
        QTest::qWaitFor([&] { return !text->isNull(); }, kLoadWait);
        return *text;
    }
};

TEST_F(LivePane, FollowsTheTypingAfterAPauseAndKeepsItsScrollPlace)
{
    QByteArray tall = "<html><body>";
    for (int i = 0; i < 300; ++i)
        tall += "<p>line " + QByteArray::number(i) + "</p>\n";
    tall += "<p>end</p></body></html>\n";
    const QString a = page(QStringLiteral("a.html"), tall);
    TForm1& form = openPage(a);
    PageBrowser* b = openPane(form);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(form.LIVEPANE->parentWidget()->objectName(), QStringLiteral("LIVESPLIT"));
    EXPECT_EQ(form.Memo1->parentWidget(), form.LIVEPANE->parentWidget());
    ASSERT_TRUE(eventually([&] { return bodyText(b).contains(QStringLiteral("line 299")); }));
    Opt_SelectFile(opt::Program);
    EXPECT_EQ(Opt_ReadStr(opt::LIVEPREVIEW), QStringLiteral("1"));
    EXPECT_FALSE(QFile::exists(programFolder() + QStringLiteral("site/temp_a.html"))); // nothing written beside the page

    b->scrollTo(0, 500);
    ASSERT_TRUE(eventually([&] { return b->scrollTop() == 500; }));
    // Typed into the page, unsaved: shown after the pause, at the same place.
    form.Memo1->setSelStart(int(form.Memo1->text().indexOf(QStringLiteral("end"))));
    QSignalSpy shown(&form, &TForm1::livePreviewShown);
    QTest::keyClicks(form.Memo1, QStringLiteral("new "));
    EXPECT_TRUE(shown.isEmpty()); // not while the keys come
    ASSERT_TRUE(eventually([&] { return bodyText(b).contains(QStringLiteral("new end")); }));
    EXPECT_EQ(shown.size(), 1); // one refresh for the whole word
    EXPECT_TRUE(eventually([&] { return b->scrollTop() == 500; }));

    form.MENU_LIVEPREVIEW->trigger();
    EXPECT_FALSE(form.LIVEPANE->isVisible());
    Opt_SelectFile(opt::Program);
    EXPECT_EQ(Opt_ReadStr(opt::LIVEPREVIEW), QStringLiteral("0"));
}

TEST_F(LivePane, ShowsTheUnsavedPageWithItsOwnAndRemoteFilesButItsScriptReadsNoOtherFile)
{
    OnePageServer cdn("#p { color: rgb(1, 2, 3); }", "text/css");
    ASSERT_TRUE(cdn.isListening());
    const QByteArray probing = probingSite(cdn.serverPort());
    const QString a = page(QStringLiteral("a.html"), "<html><body>saved</body></html>");
    TForm1& form = openPage(a);
    form.Memo1->setText(QString::fromUtf8(probing)); // unsaved
    PageBrowser* b = openPane(form);
    ASSERT_NE(b, nullptr);
    ExpectOwnFilesOnly(ReadProbe(b));
    EXPECT_EQ(b->location(), QUrl::fromLocalFile(a));
    EXPECT_EQ(ReadBytes(a), QByteArray("<html><body>saved</body></html>"));
}

TEST_F(LivePane, AStyleSheetOfNoPageShownAndATextShowANote)
{
    const struct {
        const char* name;
        const char* note;
    } cases[] = {
        {"s.css", "Этот файл не подключён к странице, показанной в живом просмотре последней."},
        {"t.txt", "Живой просмотр показывает страницы HTML."},
    };
    for (const auto& c : cases) {
        TForm1& form = openPage(page(QString::fromLatin1(c.name), "b { }\n"));
        form.MENU_LIVEPREVIEW->trigger();
        ASSERT_NE(form.LIVENOTE, nullptr);
        EXPECT_TRUE(form.LIVENOTE->isVisible());
        EXPECT_EQ(form.LIVENOTE->text(), QString::fromUtf8(c.note));
        form.MENU_LIVEPREVIEW->trigger();
    }
}

// A script's answer, waited for.
QString ask(PageBrowser* b, const QString& script)
{
    auto answer = std::make_shared<QString>();
    b->evaluate(script, [answer](const QVariant& v) { *answer = v.isValid() ? v.toString() : QStringLiteral("?"); });
    QTest::qWaitFor([&] { return !answer->isNull(); }, kLoadWait);
    return *answer;
}

TEST_F(LivePane, OutlinesTheElementAtTheCaretAndACtrlClickBringsTheCaretToAnElement)
{
    const QString a = page(QStringLiteral("a.html"),
                           "<html><body style=\"margin:0\"><p id=\"a\" style=\"height:30px;margin:0\">first</p>\n"
                           "<div id=\"b\" style=\"height:40px\">second</div></body></html>\n");
    TForm1& form = openPage(a);
    PageBrowser* b = openPane(form);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(eventually([&] { return bodyText(b).contains(QStringLiteral("second")); }));
    const auto outlined = [&] {
        return ask(b, QStringLiteral("(function() { var o = document.querySelector('veltmark-outline');"
                                     " if (!o) return 'none'; var r = o.getBoundingClientRect();"
                                     " return Math.round(r.top) + ' ' + Math.round(r.height); })()"));
    };
    const QString text = form.Memo1->text();
    form.Memo1->setSelStart(int(text.indexOf(QStringLiteral("second"))) + 2);
    EXPECT_TRUE(eventually([&] { return outlined() == QStringLiteral("30 40"); })) << outlined().toStdString();
    form.Memo1->setSelStart(int(text.indexOf(QStringLiteral("first"))));
    EXPECT_TRUE(eventually([&] { return outlined() == QStringLiteral("0 30"); })) << outlined().toStdString();
    form.Memo1->setSelStart(int(text.indexOf(QStringLiteral("</html>"))) + 7); // outside every element
    EXPECT_TRUE(eventually([&] { return outlined() == QStringLiteral("none"); })) << outlined().toStdString();

    // Ctrl+click on the second element, on whichever widget of the view takes the mouse.
    QWidget* target = b->widget()->focusProxy() ? b->widget()->focusProxy() : b->widget();
    QTest::mouseClick(target, Qt::LeftButton, Qt::ControlModifier, target->mapFrom(b->widget(), QPoint(20, 50)));
    EXPECT_TRUE(eventually([&] { return form.Memo1->selStart() == int(text.indexOf(QStringLiteral("<div"))); }))
        << form.Memo1->selStart();
    // Without Ctrl the page has the click, and the caret stays.
    form.Memo1->setSelStart(0);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(b->widget(), QPoint(20, 10)));
    QTest::qWait(300);
    EXPECT_EQ(form.Memo1->selStart(), 0);
}

TEST_F(LivePane, AStyleEditGoesIntoThePageWithoutAReloadAndALinkedSheetFollowsItsTyping)
{
    page(QStringLiteral("s.css"), "#b { color: rgb(0, 0, 1); }\n");
    const QString a = page(QStringLiteral("a.html"),
                           "<html><head><link rel=\"stylesheet\" href=\"s.css\"><style>#a { color: rgb(1, 2, 3) }</style></head>"
                           "<body><p id=\"a\">x</p><p id=\"b\" style=\"background: rgb(4, 5, 6)\">y</p></body></html>\n");
    TForm1& form = openPage(a);
    PageBrowser* b = openPane(form);
    ASSERT_NE(b, nullptr);
    const auto colours = [&] {
        return ask(b, QStringLiteral("getComputedStyle(document.getElementById('a')).color + '|' +"
                                     " getComputedStyle(document.getElementById('b')).backgroundColor + '|' +"
                                     " getComputedStyle(document.getElementById('b')).color"));
    };
    ASSERT_TRUE(eventually([&] { return colours() == QStringLiteral("rgb(1, 2, 3)|rgb(4, 5, 6)|rgb(0, 0, 1)"); }));
    QSignalSpy loads(b, &PageBrowser::navigationStarting);
    const auto retype = [&](const QString& old, const QString& typed) {
        form.Memo1->setSelStart(int(form.Memo1->text().indexOf(old)));
        form.Memo1->setSelLength(int(old.size()));
        QTest::keyClicks(form.Memo1, typed);
    };
    retype(QStringLiteral("2, 3"), QStringLiteral("2, 9"));
    EXPECT_TRUE(eventually([&] { return colours().startsWith(QStringLiteral("rgb(1, 2, 9)|")); }));
    retype(QStringLiteral("5, 6"), QStringLiteral("5, 7"));
    EXPECT_TRUE(eventually([&] { return colours() == QStringLiteral("rgb(1, 2, 9)|rgb(4, 5, 7)|rgb(0, 0, 1)"); }));
    retype(QStringLiteral(">x<"), QStringLiteral(">z<")); // the body of a page without scripts: parsed in the page
    EXPECT_TRUE(eventually([&] { return bodyText(b).startsWith(QStringLiteral("z")); }));
    EXPECT_EQ(ask(b, QStringLiteral("getComputedStyle(document.getElementById('a')).color")), QStringLiteral("rgb(1, 2, 9)"));
    EXPECT_EQ(loads.size(), 0);
    const auto paste = [&](const QString& old, const QString& text) { // as a paste, past the typing help
        form.Memo1->setSelStart(int(form.Memo1->text().indexOf(old)));
        form.Memo1->setSelLength(int(old.size()));
        form.Memo1->setSelText(text);
    };
    paste(QStringLiteral("<style>"), QStringLiteral("<title>T</title><style>")); // the head: read again
    EXPECT_TRUE(eventually([&] { return b->title() == QStringLiteral("T"); }));
    EXPECT_TRUE(eventually([&] { return !loads.isEmpty(); })); // the engine may tell the title first
    QTest::qWait(300);
    loads.clear();
    paste(QStringLiteral(">z<"), QStringLiteral("><script>document.title = 'S'</script>w<")); // a script: read again
    EXPECT_TRUE(eventually([&] { return b->title() == QStringLiteral("S"); }));
    EXPECT_TRUE(eventually([&] { return !loads.isEmpty(); }));

    // The style sheet the page refers to, typed into unsaved: that page with the new sheet.
    DocModified = false;
    ASSERT_TRUE(form.openDocument(programFolder() + QStringLiteral("site/s.css")));
    EXPECT_TRUE(eventually([&] { return colours().endsWith(QStringLiteral("|rgb(0, 0, 1)")); }));
    retype(QStringLiteral("0, 0, 1"), QStringLiteral("0, 0, 2"));
    EXPECT_TRUE(eventually([&] { return colours().endsWith(QStringLiteral("|rgb(0, 0, 2)")); })) << colours().toStdString();
    EXPECT_EQ(ReadBytes(programFolder() + QStringLiteral("site/s.css")), QByteArray("#b { color: rgb(0, 0, 1); }\n"));
}

} // namespace
