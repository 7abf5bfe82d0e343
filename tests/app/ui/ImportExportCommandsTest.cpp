#include "FormTest.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ImportExport.h"
#include "app/ui/MainWindow.h"
#include "platform/Codecs.h"
#include "editor/ui/KRichEdit.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

using platform::Answer;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

const QByteArray kArchive(
    "From: <saved>\r\n"
    "Content-Type: text/html; charset=\"windows-1251\"\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
    "<HTML><HEAD><TITLE>A</TITLE></HEAD><BODY><P class=3D\"x\">=CF=F0=E8=\r\n"
    "=E2=E5=F2</P></BODY></HTML>\r\n");

class ImportExportCommands : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[RESERVE]1\r\n[LOADLASTFILE]0\r\n[HELPLOG]1\r\n");
        folder_ = programFolder() + QStringLiteral("work/");
        QDir().mkpath(folder_);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        WriteBytes(folder_ + name, bytes);
        return folder_ + name;
    }
    void import(const QString& path)
    {
        prompts_.fileNames.push_back(path);
        form_->MENU_IMPORT->trigger();
    }
    QStringList backups() const { return QDir(BackupFolder).entryList(QDir::Files); }

    QString folder_;
};

TEST_F(ImportExportCommands, TextFilesBecomePagesBesideThem)
{
    TForm1& form = start();
    // After a UTF-8 page the imported one is still written as it declares itself.
    DocEncoding = EncodingUtf8;
    EXPECT_EQ(form.MENU_IMPORT->text(), QStringLiteral("Импорт ..."));
    EXPECT_EQ(form.MENU_EXPORT->text(), QStringLiteral("Экспорт ..."));
    const QString source = file(QStringLiteral("notes.txt"), "one\r\ntwo\nthree \xe0");
    import(source);
    const QString page = folder_ + QStringLiteral("notes.html");
    const QString expected = TextImportPage(QStringLiteral("one\r\ntwo\r\nthree а\r\n"), QStringLiteral("notes"));
    EXPECT_TRUE(expected.contains(QStringLiteral("one<br>\r\ntwo<br>\r\nthree а<br>\r\n")));
    EXPECT_EQ(DocEncoding, EncodingCp1251);
    EXPECT_EQ(ReadBytes(page), platform::EncodeCp1251(expected));
    EXPECT_EQ(form.Memo1->text() + QStringLiteral("\r\n"), expected);
    EXPECT_EQ(CurrentFileName, page);
    EXPECT_EQ(DocOrigin, OriginOpening);
    EXPECT_FALSE(DocModified);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - notes.html"));
    Opt_SelectFile(opt::Recent);
    EXPECT_EQ(Opt_ValueAt(0), page);
    EXPECT_TRUE(form.CONTFOLDER->isEnabled());

    // A page of that name already there: asked first; No changes nothing.
    WriteBytes(page, "mine\r\n");
    prompts_.answers.push_back(Answer::No);
    import(source);
    EXPECT_EQ(ReadBytes(page), QByteArray("mine\r\n"));
    prompts_.answers.push_back(Answer::Yes);
    import(source);
    EXPECT_EQ(ReadBytes(page), platform::EncodeCp1251(expected));
    ASSERT_EQ(backups().size(), 1);
    EXPECT_EQ(ReadBytes(BackupFolder + backups().first()), QByteArray("mine\r\n"));

    // A vanished source, and a type import does not know.
    import(folder_ + QStringLiteral("gone.txt"));
    EXPECT_EQ(prompts_.texts().back(), QStringLiteral("Файл не найден"));
    const int shown = int(prompts_.shown.size());
    import(file(QStringLiteral("page.mhtml"), kArchive));
    EXPECT_EQ(int(prompts_.shown.size()), shown + 1); // the dialog only
    EXPECT_EQ(CurrentFileName, page);
}

TEST_F(ImportExportCommands, WebArchivesImportIntoTheScratchDocument)
{
    TForm1& form = start();
    import(file(QStringLiteral("saved.mht"), kArchive));
    EXPECT_TRUE(form.Memo1->text().startsWith(QStringLiteral("<!DOCTYPE HTML")));
    EXPECT_TRUE(form.Memo1->text().contains(QStringLiteral("class=\"x\">Привет</")));
    EXPECT_EQ(CurrentFileName, ScratchDocumentPath());
    EXPECT_TRUE(DocOrigin.isEmpty());
    EXPECT_FALSE(DocModified);
    EXPECT_FALSE(form.CONTFOLDER->isEnabled());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - new_document.html"));
    EXPECT_EQ(DocumentBytes(form.Memo1->text(), EncodingCp1251), ReadBytes(ScratchDocumentPath()));
    form_.reset();

    // Named on the command line, an archive is imported the same way.
    ResetGlobals();
    TForm1& second = start({folder_ + QStringLiteral("saved.mht")});
    EXPECT_TRUE(second.Memo1->text().contains(QStringLiteral("Привет")));
    EXPECT_EQ(CurrentFileName, ScratchDocumentPath());
    EXPECT_EQ(second.appTitle(), QStringLiteral("Veltmark"));
}

TEST_F(ImportExportCommands, ExportWritesACompressedCopyAndReports)
{
    const QString doc = file(QStringLiteral("index.html"), "<table>\r\n  <tr> <td> a </td> </tr>\r\n</table>\r\n");
    prompts_.fileNames.push_back(doc);
    TForm1& form = start();
    form.N7->trigger();
    ASSERT_EQ(CurrentFileName, doc);
    Q_EMIT form.N13->aboutToShow();
    EXPECT_TRUE(form.MENU_EXPORT->isEnabled());

    const QString out = folder_ + QStringLiteral("out.html");
    prompts_.fileNames.push_back(out);
    form.MENU_EXPORT->trigger();
    const auto& dialog = prompts_.shown[prompts_.shown.size() - 2];
    EXPECT_EQ(dialog.text, QStringLiteral("Сохранение документа"));
    EXPECT_EQ(QDir(dialog.request.folder), QDir(folder_));
    const QString text = QStringLiteral("<table>\r\n  <tr> <td> a </td> </tr>\r\n</table>");
    EXPECT_EQ(ReadBytes(out), DocumentBytes(CompressHtml(text), EncodingCp1251));
    EXPECT_EQ(prompts_.texts().back(), ExportReport(CompressionFigure, false));
    EXPECT_TRUE(prompts_.texts().back().startsWith(QStringLiteral("Файл сжат на ")));
    // The document stays as it was.
    EXPECT_EQ(CurrentFileName, doc);
    EXPECT_FALSE(DocModified);

    // Over an existing file: a reserve copy of it, named in the report; a
    // style sheet is compressed as CSS.
    const QString css = file(QStringLiteral("site.css"), "old\r\n");
    form.Memo1->setText(QStringLiteral("a { color : red ; }"));
    prompts_.fileNames.push_back(css);
    form.MENU_EXPORT->trigger();
    EXPECT_EQ(ReadBytes(css), DocumentBytes(CompressCss(QStringLiteral("a { color : red ; }")), EncodingCp1251));
    EXPECT_TRUE(prompts_.texts().back().endsWith(QStringLiteral("\r\nСоздана резервная копия оригинала замененного файла")));
    ASSERT_EQ(backups().size(), 1);
    EXPECT_EQ(ReadBytes(BackupFolder + backups().first()), QByteArray("old\r\n"));

    // The scratch document's export starts at the root.
    form.MENU_NEWEMPTY->trigger();
    form.MENU_EXPORT->trigger();
    EXPECT_EQ(prompts_.shown.back().request.folder, QDir::rootPath());
}

} // namespace
