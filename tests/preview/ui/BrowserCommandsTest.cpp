#include "FormTest.h"

#include "app/Globals.h"
#include "preview/ExternalBrowsers.h"
#include "preview/ui/UrlAssignDialog.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testing_support::WriteBytes;

namespace {

// The main window over a saved page; browsers are looked for in a fake
// system whose bin/ is the PATH.
class BrowserCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
        const BrowserLookup l{{sys_.filePath(QStringLiteral("bin"))}, sys_.path()};
        SetBrowserLookup(&l);
        doc_ = programFolder() + QStringLiteral("site/index.html");
        QDir().mkpath(programFolder() + QStringLiteral("site"));
    }
    void TearDown() override
    {
        SetBrowserLookup(nullptr);
        FormTest::TearDown();
    }
    TForm1& open(const QByteArray& page = "<html><body><p>ok</p></body></html>")
    {
        WriteBytes(doc_, page);
        TForm1& f = start();
        EXPECT_TRUE(f.openDocument(doc_));
        return f;
    }
    QString program(const QString& rel, const QByteArray& body)
    {
        const QString path = sys_.filePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteBytes(path, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    static int assign(const QString& name, const QString& url)
    {
        Opt_SelectFile(opt::UrlAssigns);
        if (!name.isEmpty())
            Opt_Write(name, url);
        return Opt_Count();
    }
    static void setBrowser(const QString& path)
    {
        Opt_SelectFile(opt::Program);
        Opt_Write(opt::SYSBROWSPATH, path);
    }

    QTemporaryDir sys_;
    QString doc_;
};

TEST_F(BrowserCommandsTest, TheDropDownFindsTheBrowsersWhenItOpens)
{
    TForm1& f = open();
    QStringList names;
    for (const QAction* a : f.PopupMenu1->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(names.mid(names.size() - 7).join(u' '),
              QStringLiteral("MENU_SYSBROWSER_VIEW MENU_IEVIEW MENU_OPERAVIEW MENU_FOXVIEW MENU_URLASSIGN - MENU_CHECKCODE"));
    EXPECT_EQ(f.MENU_SYSBROWSER_VIEW->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(f.MENU_SYSBROWSER_VIEW->shortcutContext(), Qt::WidgetShortcut);

    const struct {
        bool firefox, opera, assigned;
        const char* foxCaption;   // null: disabled
        const char* operaCaption; // null: disabled
    } rows[] = {
        {false, false, false, nullptr, nullptr},
        {true, true, true, "• Mozilla Firefox 128.0", "• Opera 105.0.4970.21"},
        {true, false, false, "• Mozilla Firefox 128.0", nullptr},
        {false, false, false, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.firefox << row.opera << row.assigned);
        QDir(sys_.path()).removeRecursively();
        Opt_ClearFile(opt::UrlAssigns, false);
        std::vector<QString> programs;
        if (row.firefox) {
            programs.push_back(QFileInfo(program(QStringLiteral("bin/firefox"), "exit 0")).canonicalFilePath());
            WriteBytes(sys_.filePath(QStringLiteral("bin/application.ini")), "[App]\nVersion=128.0\n");
        }
        if (row.opera) {
            programs.push_back(program(QStringLiteral("usr/lib/opera/opera"), "exit 0"));
            WriteBytes(sys_.filePath(QStringLiteral("usr/lib/opera/VERSION")), "105.0.4970.21\n");
        }
        if (row.assigned)
            assign(doc_, QStringLiteral("http://localhost/"));
        Q_EMIT f.PopupMenu1->aboutToShow();

        EXPECT_EQ(f.MENU_URLASSIGN->isChecked(), row.assigned);
        EXPECT_FALSE(f.MENU_IEVIEW->isEnabled());
        EXPECT_EQ(f.MENU_IEVIEW->text(), QStringLiteral("• Internet Explorer"));
        EXPECT_EQ(f.MENU_FOXVIEW->isEnabled(), row.foxCaption != nullptr);
        EXPECT_EQ(f.MENU_FOXVIEW->text(), QString::fromUtf8(row.foxCaption ? row.foxCaption : "• Mozilla Firefox"));
        EXPECT_EQ(f.MENU_OPERAVIEW->isEnabled(), row.operaCaption != nullptr);
        EXPECT_EQ(f.MENU_OPERAVIEW->text(), QString::fromUtf8(row.operaCaption ? row.operaCaption : "• Opera"));

        // A browser that is there gets the preview address alone, in its folder.
        shell_.launches.clear();
        f.MENU_FOXVIEWClick();
        f.MENU_OPERAVIEWClick();
        ASSERT_EQ(shell_.launches.size(), programs.size());
        for (size_t i = 0; i < programs.size(); ++i) {
            EXPECT_EQ(shell_.launches[i].program, programs[i]);
            EXPECT_EQ(shell_.launches[i].args, QStringList{row.assigned ? QStringLiteral("http://localhost/") : doc_});
            EXPECT_EQ(shell_.launches[i].workFolder, QFileInfo(programs[i]).absolutePath());
        }
    }
}

TEST_F(BrowserCommandsTest, ViewInTheUsersBrowser)
{
    const QString browser = program(QStringLiteral("apps/browser"), "exit 0");
    const QString url = QStringLiteral("http://localhost:8080/site/");
    const struct {
        const char* browser; // "b": the browser, "x": a missing file, "": none
        bool assigned, badPage, check, launchWorks;
        const char* started; // "b": the browser, "open": the desktop handler, "": nothing
        const char* red;     // the log's red line starts so; null: none
    } rows[] = {
        {"", true, false, true, true, "open", nullptr},
        {"x", false, false, true, true, "open", nullptr},
        {"b", false, false, true, true, "b", nullptr},
        {"b", true, false, true, true, "b", nullptr},
        {"b", true, true, true, true, "", "Ошибка!"},
        {"b", true, true, false, true, "b", nullptr},
        {"b", false, false, true, false, "b", "Не удалось запустить браузер "},
        {"", false, false, true, false, "open", "Не удалось открыть документ"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.browser << row.assigned << row.badPage << row.check << row.launchWorks);
        TForm1& f = open(row.badPage ? "<html><body><blink>x</blink></body></html>" : "<p>ok</p>");
        const QString which = QString::fromLatin1(row.browser);
        setBrowser(which == QLatin1String("b") ? browser : which == QLatin1String("x") ? browser + QStringLiteral(".gone") : QString());
        Opt_ClearFile(opt::UrlAssigns, false);
        if (row.assigned)
            assign(doc_, url);
        CHECK_HTML = row.check;
        shell_.result = row.launchWorks;
        shell_.launches.clear();
        const int logged = f.messageLog().count();

        f.MENU_CtrlF9->trigger();

        const QString started = QString::fromLatin1(row.started);
        ASSERT_EQ(shell_.launches.size(), started.isEmpty() ? 0u : 1u);
        if (!started.isEmpty()) {
            const bool viaBrowser = started == QLatin1String("b");
            EXPECT_EQ(shell_.launches[0].program, viaBrowser ? browser : QString());
            EXPECT_EQ(shell_.launches[0].args, QStringList{viaBrowser && row.assigned ? url : doc_});
            EXPECT_EQ(shell_.launches[0].workFolder, QFileInfo(viaBrowser ? browser : doc_).absolutePath());
        }
        const bool red = f.messageLog().count() > logged && f.messageLog().line(0).error;
        EXPECT_EQ(red, row.red != nullptr);
        if (red && row.red) {
            EXPECT_TRUE(f.messageLog().line(0).message.startsWith(QString::fromUtf8(row.red)));
        }
        EXPECT_EQ(f.Memo1->selLength(), row.badPage && row.check ? 1 : 0);
    }
    // A document not on disk: nothing to show.
    shell_.launches.clear();
    QFile::remove(doc_);
    form_->MENU_CtrlF9->trigger();
    EXPECT_TRUE(shell_.launches.empty());
    EXPECT_TRUE(form_->messageLog().line(0).error);
    EXPECT_TRUE(form_->messageLog().line(0).message.endsWith(doc_));
}

TEST_F(BrowserCommandsTest, F10HandsTheAssignedUrlAloneToTheBrowserProgram)
{
    const QByteArray out = sys_.filePath(QStringLiteral("args.txt")).toUtf8();
    const QString browser =
        program(QStringLiteral("my browser/run"),
                "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; pwd; } > '" + out + ".part'; mv '" + out + ".part' '" + out + "'");
    TForm1& f = open();
    setBrowser(browser);
    assign(doc_, QStringLiteral("http://localhost:8080/a page.html?x=1&y=$HOME"));
    platform::SetShell(nullptr); // really started

    QTest::keyClick(f.Memo1, Qt::Key_F10);

    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(QString::fromUtf8(out)); }, 10000));
    const QStringList lines = QString::fromUtf8(testing_support::ReadBytes(QString::fromUtf8(out))).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("1"));
    EXPECT_EQ(lines[1], QStringLiteral("http://localhost:8080/a page.html?x=1&y=$HOME"));
    EXPECT_EQ(QFileInfo(lines[2]).canonicalFilePath(), QFileInfo(browser).canonicalPath());
}

TEST_F(BrowserCommandsTest, TheAssignmentDialog)
{
    TForm1& f = open();
    assign(programFolder() + QStringLiteral("a.html"), QStringLiteral("http://localhost/a.html"));
    const QString old = QStringLiteral("http://old/");
    const struct {
        bool assigned;
        const char* typed;
        const char* button;
        const char* stored; // null: none
        bool staysOpen;     // with a warning
    } rows[] = {
        {false, "", "OK", nullptr, false},
        {true, "", "OK", "http://old/", false},
        {true, " http://localhost:8080/a b.html\t", "OK", "http://localhost:8080/a b.html", false},
        {true, "a b", "OK", "http://old/", true},
        {true, "http://", "OK", "http://old/", true},
        {true, "http://x/", "DIS", nullptr, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.assigned << row.typed << row.button);
        Opt_SelectFile(opt::UrlAssigns);
        Opt_Delete(doc_);
        if (row.assigned)
            assign(doc_, old);
        prompts_.shown.clear();
        f.MENU_URLASSIGN->trigger();
        TURL_ASSIGN* d = f.URL_ASSIGN;
        ASSERT_TRUE(d->isVisible());
        EXPECT_EQ(d->URL->text(), row.assigned ? old : QString());
        EXPECT_EQ(d->DIS->isEnabled(), row.assigned);
        d->URL->setText(QString::fromLatin1(row.typed));
        d->findChild<QPushButton*>(QString::fromLatin1(row.button))->click();
        EXPECT_EQ(d->isVisible(), row.staysOpen);
        EXPECT_EQ(prompts_.count(QStringLiteral("message")), row.staysOpen ? 1 : 0);
        EXPECT_EQ(assign(QString(), QString()), row.stored ? 2 : 1);
        EXPECT_EQ(Opt_ReadStr(doc_), QString::fromLatin1(row.stored));
        d->close();
    }

    // Three assignments: all of them cancelled at once; the note explains.
    assign(doc_, old);
    assign(programFolder() + QStringLiteral("b.html"), old);
    f.MENU_URLASSIGN->trigger();
    TURL_ASSIGN* d = f.URL_ASSIGN;
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Назначить файлу URL для просмотра"));
    EXPECT_EQ(d->windowModality(), Qt::WindowModal);
    EXPECT_EQ(d->DISALL->text(), QStringLiteral("Отменить все (3)"));
    QTest::mouseClick(d->MImage1, Qt::LeftButton);
    ASSERT_EQ(prompts_.count(QStringLiteral("notice")), 1);
    EXPECT_EQ(prompts_.shown.back().text.split(u'\n'),
              (QStringList{QStringLiteral("Назначать иной URL необходимо в случае использования локального сервера, в этом случае"),
                           QStringLiteral("встроенный браузер программы или внешний браузер будут запускать именно этот URL."),
                           QStringLiteral("Память о назначеннных URL хранится в настройках программы.")}));
    d->DISALL->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(assign(QString(), QString()), 0);
    EXPECT_TRUE(QFileInfo::exists(programFolder() + QStringLiteral("url_assigns.ZEL")));
}

} // namespace
