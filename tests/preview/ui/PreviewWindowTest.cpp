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

// One page from a server on 127.0.0.1: what a local web server would give.
class OnePageServer : public QTcpServer {
public:
    explicit OnePageServer(QByteArray body)
        : body_(std::move(body))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    s->readAll();
                    s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                             + QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                    s->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }

private:
    QByteArray body_;
};

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
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("Страница"); }));
    EXPECT_NE(window()->URLCAP->text(), QStringLiteral("Справка"));
    window()->close();

    // The built-in page loads from under a program path with spaces.
    ASSERT_TRUE(showAndLoad([&] { window()->showPage(QUrl(QStringLiteral("res:///my%20programs/veltmark/INDEX.HTML#short")), QString(), QString()); }));
    EXPECT_TRUE(eventually([&] { return window()->windowTitle() == QStringLiteral("Veltmark - редактор HTML и CSS"); }));
    window()->close();
}

} // namespace
