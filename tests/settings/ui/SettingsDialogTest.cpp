#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "platform/DesktopIntegration.h"
#include "settings/ShellIntegration.h"
#include "settings/ui/SettingsDialog.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAccessible>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QTest>
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
    EXPECT_EQ(tabs, QStringList({"Общие", "Интерфейс", "Файл", "Браузер", "Система", "Правка"}));
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

TEST_F(SettingsDialogTest, EnterInAFieldAppliesTheFieldAndPressesNoButton)
{
    TSETTINGS& d = open("[FONT]DejaVu Sans\r\n[FONTSIZE]10\r\n[HELPLOG]0\r\n");
    d.PageControl1->setCurrentIndex(1);
    for (QPushButton* b : d.findChildren<QPushButton*>())
        EXPECT_FALSE(b->autoDefault() || b->isDefault()) << b->objectName().toStdString();

    d.FONTLIST->lineEdit()->selectAll();
    QTest::keyClicks(d.FONTLIST->lineEdit(), QStringLiteral("DejaVu Serif"));
    QTest::keyClick(d.FONTLIST->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form_->Memo1->font().family(), QStringLiteral("DejaVu Serif"));
    QLineEdit* size = d.FONTSIZE->findChild<QLineEdit*>();
    size->selectAll();
    QTest::keyClicks(size, QStringLiteral("14"));
    QTest::keyClick(size, Qt::Key_Return);
    EXPECT_EQ(form_->Memo1->font().pointSize(), 14);
    // Nothing was reset, and the dialog is still open.
    EXPECT_EQ(d.FONTLIST->currentText(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(form_->Memo1->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_TRUE(d.isVisible());
}

TEST_F(SettingsDialogTest, ControlsAreNamedByTheirCaptionsAndActLikeAClick)
{
    TSETTINGS& d = open();
    const struct {
        QWidget* control;
        const char* name;
    } names[] = {
        {d.UNDOCOUNT, "Количество отмен"}, {d.FONTLIST, "Шрифт"},
        {d.FONTSIZE, "Размер шрифта"},     {d.BCCOL, "Фон редактора"},
        {d.RECENTLEN, "Длина списка недавних документов"}, {d.SYSBROWSPATH, "Путь к внешнему браузеру (F10)"},
        {d.INSERTTOSYSMENU, "Встроить программу в сисемное меню"}, {d.Button3, "сброс"},
        {d.EDIT_ABBREVIATIONS, "Сокращения по Tab (Ctrl+E)"},
    };
    for (const auto& n : names) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(n.control);
        ASSERT_TRUE(a) << n.name;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(n.name));
    }
    // No control of the dialog goes without a name.
    for (QWidget* w : d.findChildren<QWidget*>()) {
        // The edit parts of the spin and combo boxes and the combo box's list are theirs.
        const bool part = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget());
        if (!(w->focusPolicy() & Qt::TabFocus) || part || w->window() != &d)
            continue;
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w))
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->objectName().toStdString() << " " << w->metaObject()->className();
    }

    // The screen reader's "toggle" switches the integration as a click does.
    QAccessibleActionInterface* system = QAccessible::queryAccessibleInterface(d.INSERTTOSYSMENU)->actionInterface();
    ASSERT_TRUE(system);
    system->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(ShellIntegrationOn());
    EXPECT_TRUE(d.INSERTTOSYSMENU->isChecked());
    system->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(ShellIntegrationOn());
    QAccessible::queryAccessibleInterface(d.SCROLL_ONLYVERTICAL)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(form_->messageLog().line(0).message,
              QStringLiteral("Если текст не уходит за рамки редактора, метки на панели меток могут быть отображены неверно"));
    // Showing the dialog again loads the boxes and acts on nothing.
    const int lines = form_->messageLog().count();
    form_->N32->trigger();
    EXPECT_EQ(form_->messageLog().count(), lines);
}

TEST_F(SettingsDialogTest, EditingTabStoresItsSwitchesOnOk)
{
    TSETTINGS& d = open("[HELPLOG]0\r\n[EDIT_COMPLETION]0\r\n");
    EXPECT_TRUE(d.EDIT_CLOSETAGS->isChecked());
    EXPECT_FALSE(d.EDIT_COMPLETION->isChecked());
    EXPECT_TRUE(d.EDIT_ABBREVIATIONS->isChecked());
    EXPECT_EQ(d.EDIT_CLOSETAGS->text(), QStringLiteral("Закрывать и подсвечивать парные теги"));
    EXPECT_EQ(d.EDIT_COMPLETION->text(), QStringLiteral("Список подсказок при наборе"));
    d.EDIT_CLOSETAGS->setChecked(false);
    d.EDIT_COMPLETION->setChecked(true);
    // Closing without OK changes nothing.
    d.close();
    EXPECT_TRUE(TypingCloseTags);
    EXPECT_EQ(item(opt::EDIT_CLOSETAGS), QString());
    form_->N32->trigger();
    d.EDIT_CLOSETAGS->setChecked(false);
    d.EDIT_ABBREVIATIONS->setChecked(false);
    d.Button1->click();
    EXPECT_EQ(item(opt::EDIT_CLOSETAGS), QStringLiteral("0"));
    EXPECT_EQ(item(opt::EDIT_COMPLETION), QStringLiteral("0"));
    EXPECT_EQ(item(opt::EDIT_ABBREVIATIONS), QStringLiteral("0"));
    EXPECT_FALSE(TypingCloseTags);
    EXPECT_FALSE(TypingCompletion);
    EXPECT_FALSE(TypingAbbreviations);
}

} // namespace
