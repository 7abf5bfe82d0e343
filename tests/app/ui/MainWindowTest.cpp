#include "TestSupport.h"

#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class MainWindowTest : public IsolatedTest {
protected:
    void program(const QByteArray& content) { WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), content); }
    QByteArray programBytes() const { return ReadBytes(programFolder() + QStringLiteral("Program.ZEL")); }
};

TEST_F(MainWindowTest, ComponentsAreFoundByName)
{
    TForm1 form({});
    for (const char* name : {"Memo1", "HELPLOG", "CLOSELOG", "VERTBAR", "STATUS", "TIME_TIMER", "N13", "MENU_TAGS", "MENU_EXIT"})
        EXPECT_NE(form.findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form.findChild<TKRichEdit*>(QStringLiteral("Memo1")), form.Memo1);
    EXPECT_EQ(form.minimumSize(), QSize(600, 600));
    EXPECT_EQ(form.TIME_TIMER->interval(), 1000);
    EXPECT_FALSE(form.CLOSELOG->pixmap().isNull());
}

TEST_F(MainWindowTest, CreatedFromTheStoredOptions)
{
    program("[LEFT]30\r\n[TOP]40\r\n[WIDTH]700\r\n[HEIGHT]640\r\n[BACKGROUNDCOLOR]$000000FF\r\n[2QUOTES]1\r\n[HELPLOG]1\r\n");
    TForm1 form({});
    EXPECT_EQ(form.pos(), QPoint(30, 40));
    EXPECT_EQ(form.size(), QSize(700, 640));
    EXPECT_EQ(form.Memo1->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_TRUE(UseDoubleQuotes);
    form.show();
    EXPECT_TRUE(form.HELPLOG->isVisible());
    EXPECT_TRUE(form.CLOSELOG->isVisible());
}

TEST_F(MainWindowTest, BrokenStoredNumbersGiveAUsableWindowAndAreNotWrittenBack)
{
    program("[LEFT]-90000\r\n[TOP]99999\r\n[WIDTH]32767\r\n[HEIGHT]16777215\r\n[FONTSIZE]2147483647\r\n[LOADLASTFILE]0\r\n");
    {
        TForm1 form({});
        form.show();
        const QRect desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry();
        EXPECT_LE(form.width(), desktop.width());
        EXPECT_LE(form.height(), desktop.height());
        EXPECT_GE(form.x(), desktop.left());
        EXPECT_GE(form.y(), desktop.top());
        EXPECT_EQ(form.Memo1->font().pointSize(), 100);
        form.close();
    }
    EXPECT_FALSE(programBytes().contains("16777215"));
    EXPECT_FALSE(programBytes().contains("32767"));
}

TEST_F(MainWindowTest, LogHiddenAndTagsMenuAbsentWhenTheItemsAreMissing)
{
    program("[FONTSIZE]14\r\n[FONT]DejaVu Sans\r\n");
    TForm1 form({});
    form.show();
    EXPECT_FALSE(form.HELPLOG->isVisible());
    EXPECT_FALSE(form.CLOSELOG->isVisible());
    EXPECT_FALSE(form.MENU_TAGS->menuAction()->isVisible());
    EXPECT_EQ(form.Memo1->font().pointSize(), 14);
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    // The editor takes the log's room.
    EXPECT_GT(form.Memo1->height(), form.height() - 200);
}

TEST_F(MainWindowTest, WrappingAndTagsMenuFromTheOptions)
{
    program("[SCROLL_ONLYVERTICAL]1\r\n[SHOWTEGSTEMPLATES]1\r\n");
    TForm1 form({});
    form.show();
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(form.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(form.MENU_TAGS->menuAction()->isVisible());
}

TEST_F(MainWindowTest, ClockTickEndsLoading)
{
    TForm1 form({});
    form.show();
    EXPECT_TRUE(LoadingText);
    form.TIME_TIMERTimer();
    EXPECT_FALSE(LoadingText);
    const QString clock = form.statusPanel(2);
    EXPECT_TRUE(clock.endsWith(QStringLiteral("        ")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,2}:\\d\\d {8}$")).match(clock).hasMatch()) << clock.toStdString();
}

TEST_F(MainWindowTest, HintOfTheControlUnderTheMouseGoesToPanelZero)
{
    TForm1 form({});
    form.show();
    form.CLOSELOG->setToolTip(QStringLiteral("Скрыть окно сообщений"));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(form.CLOSELOG, &enter);
    EXPECT_EQ(form.statusPanel(0), QStringLiteral("Скрыть окно сообщений"));
    QApplication::sendEvent(form.Memo1, &enter);
    EXPECT_EQ(form.statusPanel(0), QString());
}

TEST_F(MainWindowTest, ClosingStoresThePlacement)
{
    program("[LEFT]0\r\n[TOP]0\r\n[WIDTH]747\r\n[HEIGHT]617\r\n[WINDOWSTATE]NORMAL\r\n");
    {
        TForm1 form({});
        form.show();
        form.move(70, 80);
        form.resize(700, 650);
        EXPECT_TRUE(form.close());
    }
    EXPECT_EQ(programBytes(), QByteArray("[LEFT]70\r\n[TOP]80\r\n[WIDTH]700\r\n[HEIGHT]650\r\n[WINDOWSTATE]NORMAL\r\n"));
    {
        TForm1 form({});
        EXPECT_EQ(form.pos(), QPoint(70, 80));
        form.showMaximized();
        EXPECT_TRUE(form.close());
    }
    EXPECT_EQ(programBytes(), QByteArray("[LEFT]70\r\n[TOP]80\r\n[WIDTH]700\r\n[HEIGHT]650\r\n[WINDOWSTATE]MAXIMIZED\r\n"));
    {
        TForm1 form({});
        EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
        form.showMinimized();
        form.setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(form.close());
    }
    EXPECT_EQ(programBytes(), QByteArray("[LEFT]70\r\n[TOP]80\r\n[WIDTH]700\r\n[HEIGHT]650\r\n[WINDOWSTATE]MAXIMIZED\r\n"));
}

TEST_F(MainWindowTest, ClosingRemovesTheScratchDocument)
{
    TForm1 form({});
    form.show();
    WriteBytes(ScratchDocumentPath(), "<html>");
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(QFile::exists(ScratchDocumentPath()));
}

TEST_F(MainWindowTest, ParentArgumentsAreKept)
{
    const QString page = programFolder() + QStringLiteral("p.html");
    WriteBytes(page, "x");
    TForm1 form({page, QStringLiteral("PARENT77"), QStringLiteral("PARENTDOC/site/a.html")});
    form.show();
    EXPECT_EQ(ParentWindow, 77);
    EXPECT_EQ(ParentDocument, QStringLiteral("/site/a.html"));
    EXPECT_EQ(form.startDocument().path, page);
}

} // namespace
