#include "FormTest.h"

#include "app/Globals.h"
#include "editor/EditorState.h"
#include "html/ui/ResourceViewer.h"
#include "preview/ui/AboutBox.h"
#include "preview/ui/PageBrowser.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QTest>
#include <memory>

using testing_support::WriteBytes;

namespace {

class HelpCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
    }
    // What the viewer's input box above the picture says once it says
    // expected, or what it says after 30 s.
    static QString shownSize(TRESVIEWER* viewer, const QString& expected)
    {
        PageBrowser* view = viewer->BROWS;
        if (!view)
            return {};
        // A late answer may come after the wait is over.
        const auto value = std::make_shared<QString>();
        static_cast<void>(QTest::qWaitFor([&] {
            view->evaluate(QStringLiteral("FINP.value"), [value](const QVariant& v) { *value = v.toString(); });
            QTest::qWait(100);
            return *value == expected;
        }, 30000));
        return *value;
    }
};

TEST(HelpCommandsAboutLines, NameVersionSystemAndSite)
{
    const struct {
        const char* version;
        const char* shown;
    } rows[] = {{"1.2.0.0", "1.2.0"}, {"2.10.3.7", "2.10.3"}, {"3.1", "3.1"}};
    for (const auto& row : rows) {
        const QStringList lines = AboutLines(QString::fromLatin1(row.version), QStringLiteral("Linux (Debian)"));
        EXPECT_EQ(lines, (QStringList{QStringLiteral("Veltmark"), QStringLiteral("Версия редактора: ") + QString::fromLatin1(row.shown),
                             QStringLiteral("ОС: Linux (Debian)."), QString(), QStringLiteral("Сайт:   https://veltmark.example/")}));
    }
}

TEST_F(HelpCommandsTest, AboutBoxShowsTheProgramAndOpensItsSite)
{
    TForm1& form = start();
    ASSERT_NE(form.MENU_ABOUT, nullptr);
    EXPECT_TRUE(form.HELPMENU->actions().contains(form.MENU_ABOUT));
    EXPECT_EQ(form.MENU_ABOUT->text(), QStringLiteral("О программе"));
    EXPECT_EQ(form.ABOUTFORM, nullptr);

    form.MENU_ABOUT->trigger();
    TABOUTFORM* about = form.ABOUTFORM;
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about->size(), QSize(356, 221));
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(about->ICN->pixmap().isNull());
    EXPECT_EQ(about->INFO->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_EQ(about->INFO->text(), AboutLines(QStringLiteral(VELTMARK_VERSION), SystemName()).join(u'\n'));
    EXPECT_EQ(SystemName(), QStringLiteral("Linux (") + QSysInfo::prettyProductName().simplified() + u')');

    QTest::mouseClick(about->INFO, Qt::LeftButton);
    ASSERT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(shell_.launches.back().program, QString());
    EXPECT_EQ(shell_.launches.back().args, QStringList{kProgramSite});

    QTest::mouseClick(about->Button1, Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    form.MENU_ABOUT->trigger();
    EXPECT_EQ(form.ABOUTFORM, about); // made once
    EXPECT_TRUE(about->isVisible());
}

TEST_F(HelpCommandsTest, NothingIsShownForAMissingFile)
{
    TForm1& form = start();
    Editor().CtrlHeld = true;
    form.IMGSHOW(programFolder() + QStringLiteral("none.png"));
    form.IMGSHOW(programFolder());
    EXPECT_EQ(form.RESVIEWER, nullptr); // the engine has not started
    EXPECT_TRUE(prompts_.shown.empty());
    EXPECT_TRUE(Editor().CtrlHeld);
}

TEST_F(HelpCommandsTest, AnUnreadableFileIsNamedInAMessage)
{
    const QString locked = programFolder() + QStringLiteral("locked.png");
    WriteBytes(locked, "x");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (QFile f(locked); f.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "the file stays readable for this user";
    TForm1& form = start();
    Editor().CtrlHeld = true;
    form.IMGSHOW(locked);
    EXPECT_EQ(form.RESVIEWER, nullptr);
    EXPECT_FALSE(Editor().CtrlHeld);
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_TRUE(prompts_.shown.back().text.contains(QStringLiteral("locked.png")));
}

TEST_F(HelpCommandsTest, CtrlClickOnAPictureShowsItUntilCtrlIsReleased)
{
    const QString folder = programFolder() + QStringLiteral("сайт с картинками/");
    QDir().mkpath(folder + QStringLiteral("img"));
    QImage picture(123, 45, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(folder + QStringLiteral("img/рис1.png")));
    const QString page = folder + QStringLiteral("index.html");
    WriteBytes(page, "<p><img src=\"img/\xd1\x80\xd0\xb8\xd1\x81" "1.png\"></p>\r\n");
    TForm1& form = start({page});
    form.setGeometry(50, 40, 700, 560);
    LoadingText = false;

    // The Ctrl+click on the path.
    form.Memo1->setSelStart(int(form.Memo1->text().indexOf(QStringLiteral("img/"))) + 2);
    Editor().CtrlHeld = true;
    QTest::mouseClick(form.Memo1->viewport(), Qt::LeftButton, Qt::NoModifier, form.Memo1->cursorRect().center());
    TRESVIEWER* viewer = form.RESVIEWER;
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(Editor().CtrlHeld);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Просмотр ресурса"));
    EXPECT_EQ(viewer->size(), QSize(600, 617));
    EXPECT_TRUE(viewer->windowFlags().testFlags(Qt::Tool | Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(viewer->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(viewer->isEnabled());
    EXPECT_TRUE(viewer->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(form.isActiveWindow());
    // Over the window's middle, inside the screen.
    const QRect frame = viewer->frameGeometry();
    const QRect available = form.screen()->availableGeometry();
    EXPECT_EQ(frame.center().x(), form.frameGeometry().center().x());
    EXPECT_TRUE(frame.top() == available.top() || available.contains(frame)) << frame.top() << " " << frame.bottom();
    EXPECT_EQ(shownSize(viewer, QStringLiteral("123 x 45")).toStdString(), "123 x 45");

    // Ctrl's release puts it away; so does a press in the editor.
    QTest::keyRelease(form.Memo1, Qt::Key_Control);
    EXPECT_FALSE(viewer->isVisible());
    form.IMGSHOW(folder + QStringLiteral("img/рис1.png"));
    EXPECT_TRUE(viewer->isVisible());
    QTest::mousePress(form.Memo1->viewport(), Qt::LeftButton);
    EXPECT_FALSE(viewer->isVisible());
    QTest::mouseRelease(form.Memo1->viewport(), Qt::LeftButton);
}

TEST_F(HelpCommandsTest, AMovieShowsItsFrameSizeFromTheFile)
{
    // "FWS", version 10, the length, then a RECT of 15-bit values: 0, 11000, 0, 8000 twips.
    const QString movie = programFolder() + QStringLiteral("ролик.swf");
    WriteBytes(movie, QByteArray("FWS\x0a\x30\x00\x00\x00\x78\x00\x05\x5f\x00\x00\x0f\xa0\x00\x00\x18\x01\x00", 21));
    TForm1& form = start();
    form.IMGSHOW(movie);
    ASSERT_NE(form.RESVIEWER, nullptr);
    EXPECT_TRUE(form.RESVIEWER->isVisible());
    EXPECT_EQ(shownSize(form.RESVIEWER, QStringLiteral("550 x 400")).toStdString(), "550 x 400");
}

} // namespace
