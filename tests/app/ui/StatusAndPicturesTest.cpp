#include "FormTest.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/Pictures.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using platform::Answer;
using testing_support::FormTest;
using testing_support::WriteBytes;

namespace {

class StatusAndPictures : public FormTest {
protected:
    void program(const QByteArray& content) { WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), content); }
    QString page(const QString& name, const QByteArray& bytes)
    {
        WriteBytes(programFolder() + name, bytes);
        return programFolder() + name;
    }
    void open(const QString& path)
    {
        prompts_.fileNames.push_back(path);
        form_->N7->trigger();
    }
    QLabel* hintPanel() const { return form_->findChild<QLabel*>(QStringLiteral("STATUS_PANEL0")); }
    QString shownState() const { return form_->STATUS_ENCODING->text() + QLatin1Char(' ') + form_->STATUS_LINEENDS->text(); }
    // The tool bar's own buttons, without its "more" button.
    QList<QToolButton*> toolButtons() const
    {
        QList<QToolButton*> out;
        for (QToolButton* b : form_->MAINTOOLBAR->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
            if (!b->objectName().startsWith(QLatin1String("qt_")))
                out << b;
        return out;
    }
};

TEST_F(StatusAndPictures, StatusShowsTheDocumentsEncodingAndLineEnds)
{
    const QString utf8Lf = page(QStringLiteral("a.html"), "<meta charset=\"utf-8\">\n<p>\xd0\x9f</p>\n");
    const QString cp1251CrLf = page(QStringLiteral("b.css"), "/* \xcf */\r\nb { }\r\n");
    const QString cp1251Lf = page(QStringLiteral("c.txt"), "one\ntwo\n");
    const QString mixed = page(QStringLiteral("d.txt"), "one\rtwo\n");
    start();
    const struct {
        QString path;
        const char* shown;
    } rows[] = {
        {utf8Lf, "UTF-8 LF"},
        {cp1251CrLf, "Windows-1251 CRLF"},
        {cp1251Lf, "Windows-1251 LF"},
        {mixed, "Windows-1251 CRLF"},
        {utf8Lf, "UTF-8 LF"},
    };
    for (const auto& row : rows) {
        open(row.path);
        EXPECT_EQ(shownState(), QString::fromLatin1(row.shown)) << row.path.toStdString();
    }
    // The encoding chosen in the menu, and the one a save switched to.
    form_->ENC_1251->trigger();
    EXPECT_EQ(shownState(), QStringLiteral("Windows-1251 LF"));
    form_->Memo1->setText(QStringLiteral("✓"));
    prompts_.answers.push_back(Answer::Yes);
    form_->N16->trigger();
    ASSERT_EQ(DocEncoding, EncodingUtf8);
    EXPECT_EQ(shownState(), QStringLiteral("UTF-8 LF"));
    // A new document.
    form_->MENU_NEWEMPTY->trigger();
    EXPECT_EQ(shownState(), QStringLiteral("Windows-1251 CRLF"));
}

TEST_F(StatusAndPictures, ClickOnTheEncodingOpensTheEncodingChoices)
{
    start();
    DocEncoding = EncodingUtf8;
    QTest::mouseClick(form_->STATUS_ENCODING, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form_->N37->isVisible(); }, 2000));
    EXPECT_TRUE(form_->ENC_UTF8->isChecked());
    form_->ENC_1251->trigger();
    form_->N37->hide();
    EXPECT_EQ(form_->STATUS_ENCODING->text(), QStringLiteral("Windows-1251"));
}

TEST_F(StatusAndPictures, HiddenLogsLinesShowInTheFirstPanelForAWhile)
{
    const QString hint = QStringLiteral("Скрыть окно сообщений");
    const struct {
        const char* helplog;
        bool error;
        bool shown;
    } rows[] = {{"0", true, true}, {"0", false, true}, {"1", true, false}};
    for (const auto& row : rows) {
        program(QByteArray("[HELPLOG]") + row.helplog + "\r\n");
        start();
        form_->STATUS_FLASH->setInterval(50);
        form_->setStatusPanel(0, QStringLiteral("до"));
        form_->HELPLOG_Write(QStringLiteral("Тег <TD>\r\n не закрыт"), row.error);
        const QColor normal = form_->STATUS->palette().color(QPalette::WindowText);
        if (!row.shown) {
            EXPECT_EQ(form_->statusPanel(0), QStringLiteral("до"));
            continue;
        }
        // One line, red for an error, as plain text whatever tags it quotes.
        EXPECT_EQ(form_->statusPanel(0), QStringLiteral("Тег <TD> не закрыт"));
        EXPECT_EQ(hintPanel()->textFormat(), Qt::PlainText);
        EXPECT_EQ(hintPanel()->palette().color(QPalette::WindowText), row.error ? QColor(255, 0, 0) : normal);
        // A hint, or a clearing, waits for the message to end.
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(form_->CLOSELOG, &enter);
        form_->setStatusPanel(0, QString());
        EXPECT_EQ(form_->statusPanel(0), QStringLiteral("Тег <TD> не закрыт"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->STATUS_FLASH->isActive(); }, 2000));
        EXPECT_EQ(form_->statusPanel(0), QString());
        EXPECT_EQ(hintPanel()->palette().color(QPalette::WindowText), normal);
        // A text of its own ends it at once.
        form_->HELPLOG_Write(QStringLiteral("второе"), row.error);
        form_->setStatusPanel(0, hint);
        EXPECT_FALSE(form_->STATUS_FLASH->isActive());
        EXPECT_EQ(form_->statusPanel(0), hint);
    }
}

TEST_F(StatusAndPictures, EveryToolButtonHasAPictureWithTheThemeOrWithout)
{
    UseIconTheme();
    const QString programTheme = QIcon::themeName();
    const bool themeInstalled = QIcon::hasThemeIcon(QStringLiteral("edit-find"));
    for (const QString& theme : {programTheme, QStringLiteral("no-such-theme")}) {
        QIcon::setThemeName(theme);
        start();
        const QList<QToolButton*> buttons = toolButtons();
        EXPECT_GE(buttons.size(), 13);
        for (QToolButton* b : buttons) {
            EXPECT_FALSE(b->icon().pixmap(22, 22).isNull()) << b->objectName().toStdString() << " " << theme.toStdString();
            EXPECT_FALSE(b->toolTip().isEmpty()) << b->objectName().toStdString();
        }
        // The common actions come from the theme where it has them.
        const QToolButton* find = form_->findChild<QToolButton*>(QStringLiteral("ToolButton5"));
        if (theme == programTheme && themeInstalled) {
            EXPECT_EQ(find->icon().name(), QStringLiteral("edit-find"));
            EXPECT_FALSE(form_->MENU_UNDO->icon().isNull());
        }
        form_.reset();
    }
    QIcon::setThemeName(programTheme);
}

TEST_F(StatusAndPictures, CaretReportIsWholeAtTheFirstRunWidth)
{
    start();
    form_->resize(747, 617);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    form_->Memo1->setText(QString(40, QLatin1Char(10)) + QString(900, QLatin1Char(97)));
    form_->Memo1->setSelStart(80 + 5);
    QApplication::processEvents();
    QApplication::processEvents();
    auto* panel = form_->findChild<QLabel*>(QStringLiteral("STATUS_PANEL1"));
    ASSERT_TRUE(panel);
    ASSERT_TRUE(panel->text().contains(QStringLiteral("(код: ")));
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text())) << panel->text().toStdString();
}

TEST_F(StatusAndPictures, DefaultWidthShowsEveryButtonAndTheClassSelector)
{
    UseIconTheme();
    start();
    form_->resize(747, 617);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    QApplication::processEvents();
    const QRect bar = form_->MAINTOOLBAR->rect();
    QList<QWidget*> shown;
    for (QToolButton* b : toolButtons())
        shown << b;
    shown << form_->CLASSESSEL;
    for (QWidget* w : shown) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_TRUE(bar.contains(w->geometry())) << w->objectName().toStdString();
    }
    // The caret report keeps room beside the encoding and line ends.
    EXPECT_GE(form_->findChild<QLabel*>(QStringLiteral("STATUS_PANEL1"))->width(), 150);
}

} // namespace
