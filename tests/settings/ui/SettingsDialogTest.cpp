#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "platform/DesktopIntegration.h"
#include "settings/ShellIntegration.h"
#include "settings/ui/SettingsDialog.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFontComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>

using testing_support::FormTest;
using testing_support::WriteBytes;

namespace {

class SettingsDialogTest : public FormTest {
protected:
    TSETTINGS& open(const QByteArray& program = "[HELPLOG]0\r\n")
    {
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), program);
        TForm1& f = start();
        f.findChild<QAction*>(QStringLiteral("N32"))->trigger();
        auto* d = f.findChild<TSETTINGS*>(QStringLiteral("SETTINGS"));
        EXPECT_TRUE(d && d->isVisible());
        return *d;
    }
    QString item(const QString& name)
    {
        Opt_SelectFile(opt::Program);
        return Opt_ReadStr(name);
    }
};

TEST_F(SettingsDialogTest, ShowsItsTabsAndTheDefaultsOfUnreadableNumbers)
{
    TSETTINGS& d = open("[RECENTLEN]x\r\n[FONTSIZE]\r\n[HELPLOG]0\r\n");
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Настройки программы"));
    QStringList tabs;
    for (int i = 0; i < d.PageControl1->count(); ++i)
        tabs << d.PageControl1->tabText(i);
    EXPECT_EQ(tabs, QStringList({"Общие", "Интерфейс", "Файл", "Браузер", "Система"}));
    EXPECT_EQ(d.PageControl1->currentIndex(), 0);
    EXPECT_EQ(d.RECENTLEN->value(), 15);
    EXPECT_EQ(d.FONTSIZE->value(), 10);
    EXPECT_EQ(d.UNDOCOUNT->value(), 999);
    // OK writes numbers back.
    d.Button1->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(item(opt::RECENTLEN), QStringLiteral("15"));
    EXPECT_EQ(item(opt::FONTSIZE), QStringLiteral("10"));
    EXPECT_EQ(item(opt::UNDOCOUNT), QStringLiteral("999"));
}

TEST_F(SettingsDialogTest, BackgroundResetAndFontActAtOnce)
{
    TSETTINGS& d = open("[BACKGROUNDCOLOR]clRed\r\n[HELPLOG]0\r\n");
    d.Button4->click();
    EXPECT_EQ(item(opt::BACKGROUNDCOLOR), QStringLiteral("$00EAEEE8"));
    EXPECT_EQ(form_->Memo1->palette().color(QPalette::Base), QColor(232, 238, 234));
    EXPECT_EQ(d.BCCOL->palette().color(QPalette::Window), QColor(232, 238, 234));

    form_->pickColour = [](TColor, TColor* picked) {
        *picked = 0x00123456;
        return true;
    };
    d.BCPICK->click();
    EXPECT_EQ(item(opt::BACKGROUNDCOLOR), QStringLiteral("$00123456"));
    EXPECT_EQ(form_->Memo1->palette().color(QPalette::Base), QColor(0x56, 0x34, 0x12));

    d.FONTSIZE->setValue(20);
    EXPECT_EQ(form_->Memo1->font().pointSize(), 20);
    d.Button3->click();
    EXPECT_EQ(d.FONTLIST->currentText(), QStringLiteral("Microsoft Sans Serif"));
    EXPECT_EQ(form_->Memo1->font().pointSize(), 20);
    // Closing without OK keeps what acted at once and stores nothing else.
    d.close();
    EXPECT_EQ(item(opt::FONTSIZE), QString());
}

TEST_F(SettingsDialogTest, LoweringTheUndoDepthDropsTheOldestAtOnce)
{
    TSETTINGS& d = open();
    for (int i = 0; i < 12; ++i) {
        UndoSnapshot();
        form_->Memo1->setText(QStringLiteral("step %1").arg(i));
        UndoCommit();
    }
    ASSERT_EQ(Undo().count(), 12);
    d.UNDOCOUNT->setValue(7);
    EXPECT_EQ(Undo().count(), 7);
    d.close();
    EXPECT_EQ(Undo().count(), 7);
    EXPECT_EQ(item(opt::UNDOCOUNT), QString());
}

TEST_F(SettingsDialogTest, ReserveSwitchAndMessageLogOnOk)
{
    TSETTINGS& d = open();
    QDir().mkpath(BackupFolder);
    WriteBytes(BackupFolder + QStringLiteral("(1)_a.html"), "a");
    d.RESERVE->setChecked(false);
    d.MESLIST->setChecked(true);
    d.Button1->click();
    EXPECT_FALSE(QFileInfo::exists(BackupFolder));
    EXPECT_EQ(item(opt::HELPLOG), QStringLiteral("1"));
    EXPECT_FALSE(form_->HELPLOG->isHidden());

    form_->N32->trigger();
    EXPECT_TRUE(d.MESLIST->isChecked());
    d.RESERVE->setChecked(true);
    d.MESLIST->setChecked(false);
    d.Button1->click();
    EXPECT_TRUE(QFileInfo(BackupFolder).isDir());
    EXPECT_EQ(item(opt::HELPLOG), QStringLiteral("0"));
    EXPECT_TRUE(form_->HELPLOG->isHidden());
}

TEST_F(SettingsDialogTest, WrapRecentAndBrowserChooser)
{
    TSETTINGS& d = open("[HELPLOG]0\r\n[SYSBROWSPATH]/old\r\n");
    WriteBytes(programFolder() + QStringLiteral("Recent.ZEL"), "[01.01.26 1:00:00.000]/site/a.html\r\n");
    d.Button6->click();
    Opt_SelectFile(opt::Recent);
    EXPECT_EQ(Opt_Count(), 0);

    d.SCROLL_ONLYVERTICAL->click();
    EXPECT_EQ(form_->messageLog().line(0).message,
              QStringLiteral("Если текст не уходит за рамки редактора, метки на панели меток могут быть отображены неверно"));
    const QString chosen = programFolder() + QStringLiteral("firefox");
    WriteBytes(chosen, "#!/bin/sh\n");
    prompts_.fileNames = {chosen};
    d.Button5->click();
    EXPECT_EQ(prompts_.shown.back().request.title, QStringLiteral("Выбор браузера"));
    EXPECT_EQ(d.SYSBROWSPATH->text(), chosen);
    d.Button1->click();
    EXPECT_EQ(form_->Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(item(opt::SCROLL_ONLYVERTICAL), QStringLiteral("1"));
    EXPECT_EQ(item(opt::SYSBROWSPATH), chosen);
}

TEST_F(SettingsDialogTest, CheckBeforePreviewIsOneStateWithThePopUpEntry)
{
    TSETTINGS& d = open();
    ASSERT_TRUE(CHECK_HTML);
    form_->MENU_CHECKCODE->trigger();
    EXPECT_FALSE(CHECK_HTML);
    EXPECT_FALSE(d.CHECK_HTML->isChecked());
    d.CHECK_HTML->click();
    EXPECT_TRUE(CHECK_HTML);
    EXPECT_TRUE(form_->MENU_CHECKCODE->isChecked());
}

TEST_F(SettingsDialogTest, SystemSwitchShowsTheRealState)
{
    TSETTINGS& d = open();
    EXPECT_FALSE(d.INSERTTOSYSMENU->isChecked());
    d.INSERTTOSYSMENU->click();
    EXPECT_TRUE(d.INSERTTOSYSMENU->isChecked());
    EXPECT_TRUE(ShellIntegrationOn());
    // With the windowed program the desktop gets the painted icons too.
    EXPECT_TRUE(QFileInfo::exists(platform::UserDataHome() + QStringLiteral("icons/hicolor/48x48/apps/veltmark.png")));
    d.INSERTTOSYSMENU->click();
    EXPECT_FALSE(d.INSERTTOSYSMENU->isChecked());
    EXPECT_FALSE(QFileInfo::exists(platform::DesktopEntryPath()));

    // The registry cannot be written: said, and the box stays off.
    QFile::remove(sysRoot() + QStringLiteral("registry.json"));
    ASSERT_TRUE(QDir().mkpath(sysRoot() + QStringLiteral("registry.json")));
    d.INSERTTOSYSMENU->click();
    EXPECT_FALSE(d.INSERTTOSYSMENU->isChecked());
    ASSERT_EQ(prompts_.count(QStringLiteral("message")), 1);
    EXPECT_TRUE(prompts_.texts().last().startsWith(QStringLiteral("Не удалось записать системный реестр")));
}

} // namespace
