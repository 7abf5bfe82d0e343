#include "FormTest.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "platform/Codecs.h"
#include "tools/ui/NewPageWizard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class NewPageWizardTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
    }
};

TEST_F(NewPageWizardTest, ThePageGoesIntoTheEditorAndIsSavedInItsCharset)
{
    TForm1& f = start();
    f.CLASSESSEL->addItem(QStringLiteral("old"));
    f.MENU_NEWPAGE->trigger();
    TNEWPAGE* w = f.NEWPAGE;
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Создание новой web-страницы"));
    EXPECT_EQ(CurrentFileName, ScratchDocumentPath());
    EXPECT_EQ(w->ICO->currentText(), QStringLiteral("Иконка"));
    EXPECT_EQ(w->CHARS->currentText(), QStringLiteral("Кодировка"));

    const QString page = programFolder() + QStringLiteral("site/index.html");
    QDir().mkpath(programFolder() + QStringLiteral("site/css"));
    prompts_.fileNames.push_back(page);
    w->Button2->click();
    EXPECT_EQ(w->PAGEFILE->text(), page);
    prompts_.fileNames.push_back(programFolder() + QStringLiteral("site/css/main.css"));
    w->Button1->click();
    EXPECT_EQ(w->CSSPATH->text(), QStringLiteral("css/main.css"));
    w->TITL->setText(QStringLiteral("<Привет>"));
    w->CHARS->setEditText(QStringLiteral("UTF-8"));
    w->OK->click();
    EXPECT_FALSE(w->isVisible());

    EXPECT_TRUE(f.Memo1->text().contains(QStringLiteral("<title>Привет</title>")));
    EXPECT_TRUE(f.Memo1->text().contains(QStringLiteral("href=\"css/main.css\"")));
    EXPECT_EQ(CurrentFileName, page);
    EXPECT_FALSE(DocModified);
    EXPECT_EQ(ReadBytes(page), platform::EncodeUtf8(f.Memo1->text() + QStringLiteral("\r\n")));
    EXPECT_TRUE(f.windowTitle().endsWith(QStringLiteral("index.html")));
    ASSERT_EQ(f.CLASSESSEL->count(), 1);
    EXPECT_EQ(f.CLASSESSEL->itemText(0), QStringLiteral("Нет класса"));

    // Shown again: every field is cleared.
    f.MENU_NEWPAGE->trigger();
    EXPECT_TRUE(f.NEWPAGE->TITL->text().isEmpty());
    EXPECT_TRUE(f.NEWPAGE->PAGEFILE->text().isEmpty());
    EXPECT_FALSE(f.NEWPAGE->MKTABLE->isChecked());
    // Closed without OK: the empty scratch document stays.
    f.NEWPAGE->reject();
    EXPECT_EQ(CurrentFileName, ScratchDocumentPath());
    EXPECT_TRUE(f.Memo1->text().isEmpty());
}

TEST_F(NewPageWizardTest, WithoutAPageFileThePageStaysInTheScratchDocument)
{
    TForm1& f = start();
    f.MENU_NEWPAGE->trigger();
    f.NEWPAGE->MKTABLE->setChecked(true);
    f.NEWPAGE->OK->click();
    EXPECT_EQ(CurrentFileName, ScratchDocumentPath());
    EXPECT_TRUE(f.Memo1->text().contains(QStringLiteral("<TABLE>\r\n<TR>")));
    EXPECT_TRUE(f.Memo1->text().endsWith(QStringLiteral("</HTML>")));
}

} // namespace
