#include "FormTest.h"
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"

#include <QAction>
#include <QMenu>

using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class ReopenEncodingCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
    }
    QAction* entry(const char* name) { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
    void showEncodingMenu() { Q_EMIT form_->N37->aboutToShow(); }
};

TEST_F(ReopenEncodingCommandsTest, ReadsTheFileAgainInTheChosenEncodingWhichThenHoldsForSaves)
{
    const QString word = QStringLiteral("Привет");
    const QByteArray cp1251 = QByteArray("<meta charset=\"utf-8\">\r\n<p>") + QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2") + "</p>\r\n";
    const QByteArray utf8 = QByteArray("<meta charset=\"windows-1251\">\r\n<p>") + word.toUtf8() + "</p>\r\n";
    const struct {
        const char* what;
        QByteArray bytes;
        const char* entry;
        int encoding;
    } files[] = {
        {"Windows-1251 declaring utf-8", cp1251, "MENU_REOPEN_1251", EncodingCp1251},
        {"UTF-8 read as Windows-1251", utf8, "MENU_REOPEN_UTF8", EncodingUtf8},
    };
    for (const auto& f : files) {
        const QString page = programFolder() + QStringLiteral("page.html");
        WriteBytes(page, f.bytes);
        start({page});
        LoadingText = false;
        ASSERT_FALSE(form_->Memo1->text().contains(word)) << f.what;
        showEncodingMenu();
        ASSERT_TRUE(entry(f.entry)->isEnabled()) << f.what;
        entry(f.entry)->trigger();
        EXPECT_TRUE(form_->Memo1->text().contains(word)) << f.what;
        EXPECT_EQ(DocEncoding, f.encoding) << f.what;
        form_->SaveFile();
        EXPECT_EQ(ReadBytes(page), f.bytes) << f.what;
    }
}

TEST_F(ReopenEncodingCommandsTest, CancelledSaveQuestionLeavesTheDocumentAndANewDocumentHasNoEntries)
{
    const QString page = programFolder() + QStringLiteral("page.html");
    const QByteArray bytes = QByteArray("<p>\xcf\xf0\xe8</p>\r\n");
    WriteBytes(page, bytes);
    start({page});
    LoadingText = false;
    form_->Memo1->setText(QStringLiteral("<p>changed</p>"));
    DocModified = true;
    prompts_.answers.push_back(platform::Answer::Cancel);
    entry("MENU_REOPEN_UTF8")->trigger();
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("<p>changed</p>"));
    EXPECT_EQ(DocEncoding, EncodingCp1251);
    EXPECT_TRUE(DocModified);
    EXPECT_EQ(ReadBytes(page), bytes);

    DocModified = false;
    form_->NEWDOCClick();
    showEncodingMenu();
    for (const char* name : {"MENU_REOPEN_1251", "MENU_REOPEN_UTF8"})
        EXPECT_FALSE(entry(name)->isEnabled()) << name;
}

} // namespace
