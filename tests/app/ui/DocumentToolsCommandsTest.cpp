#include "FormTest.h"

#include "html/ui/DocumentProperties.h"

#include <QAction>
#include <QFile>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QToolButton>

using testing_support::WriteBytes;

namespace {

class DocumentToolsCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
        page_ = programFolder() + QStringLiteral("page.html");
        WriteBytes(programFolder() + QStringLiteral("site.css"), ".menu{color:red}");
        WriteBytes(page_, "<html><head><link rel=stylesheet href=\"site.css\">\r\n"
                          "<style>.warn{color:red} .note{}</style></head><body></body></html>\r\n");
    }
    QStringList items() const
    {
        QStringList list;
        for (int i = 0; i < form_->CLASSESSEL->count(); ++i)
            list << form_->CLASSESSEL->itemText(i);
        return list;
    }
    QString page_;
};

TEST_F(DocumentToolsCommandsTest, OpeningADocumentFillsTheClassSelector)
{
    TForm1& f = start({page_});
    EXPECT_EQ(items(), (QStringList{"Нет класса", "warn", "note", "menu"}));
    EXPECT_EQ(f.CLASSESSEL->toolTip(), QStringLiteral("Список классов, влияет на инструменты"));

    f.CLASSESSEL->setEditText(QStringLiteral("warn"));
    EXPECT_EQ(f.CurrentClass, QStringLiteral("warn"));
    f.CLASSESSEL->setEditText(QStringLiteral("my-class"));
    EXPECT_TRUE(f.CurrentClass.isEmpty());
    EXPECT_EQ(f.CLASSESSEL->currentText(), QStringLiteral("Нет класса"));
    f.CLASSESSEL->setEditText(QStringLiteral("Выбор класса"));
    EXPECT_TRUE(f.CurrentClass.isEmpty());

    // The button reads the text as it is now.
    f.Memo1->setText(QStringLiteral("<style>.fresh{}</style>"));
    f.SpeedButton1->click();
    EXPECT_EQ(items(), (QStringList{"Нет класса", "fresh"}));
}

TEST_F(DocumentToolsCommandsTest, PropertiesNeedADocumentOnDisk)
{
    TForm1& f = start();
    ASSERT_TRUE(f.openDocument(page_));
    f.N13Click();
    EXPECT_TRUE(f.MENU_DOC_PROP->isEnabled());
    EXPECT_EQ(f.MENU_DOC_PROP->text(), QStringLiteral("Свойства документа"));
    f.DOCUMENT_PROPERTIES->fill();
    ASSERT_GE(f.DOCUMENT_PROPERTIES->PROP->rowCount(), 2);
    EXPECT_EQ(f.DOCUMENT_PROPERTIES->PROP->item(1, 1)->text(), page_);
    QFile::remove(page_);
    f.N13Click();
    EXPECT_FALSE(f.MENU_DOC_PROP->isEnabled());
}

} // namespace

namespace {

class StyleToClassTest : public DocumentToolsCommandsTest {
protected:
    void TearDown() override
    {
        TForm1::ClassNameForTests = [](const QString&, const QStringList&) { return QString(); };
        DocumentToolsCommandsTest::TearDown();
    }
};

TEST_F(StyleToClassTest, StyleBecomesClassAndNamesAreChosen)
{
    QStringList asked;
    QString answer = QStringLiteral("warn");
    TForm1::ClassNameForTests = [&](const QString& style, const QStringList& names) {
        asked << style + QLatin1Char('|') + names.join(u',');
        return answer;
    };
    TForm1& f = start();
    f.Memo1->setText(QStringLiteral("<p style='color:red'>x</p>"));
    f.Memo1->setSelStart(12);
    f.N22Click();
    EXPECT_TRUE(f.MENU_STYLE2CLASS->isEnabled());
    EXPECT_FALSE(f.MENU_STYLESEL->isEnabled());
    f.MENU_STYLE2CLASS->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("<p class=warn>x</p>"));
    EXPECT_EQ(asked, QStringList{"color:red|"});
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("<p style='color:red'>x</p>"));

    // Outside a style attribute: only the name entry, which inserts the name.
    f.Memo1->setSelStart(1);
    f.N22Click();
    EXPECT_FALSE(f.MENU_STYLE2CLASS->isEnabled());
    EXPECT_TRUE(f.MENU_STYLESEL->isEnabled());
    f.MENU_STYLE2CLASS->trigger(); // run anyway: nothing changes
    EXPECT_EQ(asked.size(), 1);
    f.Memo1->setSelStart(0);
    f.MENU_STYLESEL->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("warn<p style='color:red'>x</p>"));
    EXPECT_EQ(asked.last(), QStringLiteral("|"));

    // A closed dialog (no name) leaves the selection alone.
    answer.clear();
    f.Memo1->setSelStart(0);
    f.Memo1->setSelLength(4);
    f.MENU_STYLESEL->trigger();
    EXPECT_TRUE(f.Memo1->text().startsWith(QStringLiteral("warn")));
}

} // namespace
