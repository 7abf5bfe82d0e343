#include "TestSupport.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using platform::Answer;
using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// "Привет" in Windows-1251 and in UTF-8.
const QByteArray kHelloCp1251("\xcf\xf0\xe8\xe2\xe5\xf2");
const QByteArray kHelloUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
const QString kHello = QStringLiteral("Привет");

class DocumentCommands : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        program("[RESERVE]1\r\n");
    }
    void TearDown() override
    {
        form_.reset();
        IsolatedTest::TearDown();
    }
    void program(const QByteArray& content) { WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), content); }
    TForm1& start(const QStringList& args = {})
    {
        form_ = std::make_unique<TForm1>(args);
        form_->show();
        return *form_;
    }
    QString page(const QString& name, const QByteArray& bytes)
    {
        const QString path = programFolder() + QStringLiteral("pages/") + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteBytes(path, bytes);
        return path;
    }
    QAction* action(const char* name) const { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
    void open(const QString& path)
    {
        prompts_.fileNames.push_back(path);
        form_->N7->trigger();
    }
    // Typing after the load has settled, so the change marks the document modified.
    void edit(const QString& text)
    {
        LoadingText = false;
        QApplication::setActiveWindow(form_.get());
        form_->Memo1->setFocus();
        QTest::keyClicks(form_->Memo1, text);
    }
    QString newestRecent() const
    {
        Opt_SelectFile(opt::Recent);
        return Opt_Count() ? Opt_ValueAt(0) : QString();
    }
    QStringList backups() const { return QDir(BackupFolder).entryList(QDir::Files); }
    void drop(const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form_.get(), &dropped);
    }

    std::unique_ptr<TForm1> form_;
};

TEST_F(DocumentCommands, FileMenuEntries)
{
    TForm1& form = start();
    struct Entry {
        const char* name;
        QString caption;
        QKeySequence shortcut;
    };
    const Entry entries[] = {
        {"MENU_NEWEMPTY", QStringLiteral("Пустой документ"), {}},
        {"N7", QStringLiteral("Открыть ..."), QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"N14", QStringLiteral("Сохранить как ..."), {}},
        {"N16", QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"ENC_1251", QStringLiteral("Windows-1251, обычный текст"), {}},
        {"ENC_UTF8", QStringLiteral("UTF-8"), {}},
    };
    for (const Entry& e : entries) {
        QAction* a = action(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), e.caption) << e.name;
        EXPECT_EQ(a->shortcut(), e.shortcut) << e.name;
    }
    ASSERT_NE(form.NEWDOC, nullptr);
    ASSERT_NE(form.N37, nullptr);
    EXPECT_EQ(form.NEWDOC->title(), QStringLiteral("Новый"));
    EXPECT_EQ(form.N37->title(), QStringLiteral("Кодировка"));
    EXPECT_TRUE(form.NEWDOC->actions().contains(form.MENU_NEWEMPTY));
    EXPECT_EQ(form.N37->actions(), (QList<QAction*>{form.ENC_1251, form.ENC_UTF8}));
    const QList<QAction*> file = form.N13->actions();
    ASSERT_EQ(file.size(), 6);
    EXPECT_EQ(file.first(), form.NEWDOC->menuAction());
    EXPECT_EQ(file.last(), form.MENU_EXIT);

    // Radio entries: Windows-1251 at start; opening the submenu marks DocEncoding.
    EXPECT_TRUE(form.ENC_1251->isChecked());
    EXPECT_FALSE(form.ENC_UTF8->isChecked());
    DocEncoding = EncodingUtf8;
    Q_EMIT form.N37->aboutToShow();
    EXPECT_TRUE(form.ENC_UTF8->isChecked());
    EXPECT_FALSE(form.ENC_1251->isChecked());
    form.ENC_1251->trigger();
    EXPECT_EQ(DocEncoding, EncodingCp1251);
    EXPECT_FALSE(form.ENC_UTF8->isChecked());
}

TEST_F(DocumentCommands, OpenedPagesShowDecodedTextAndSaveBackByteExact)
{
    const QByteArray cp1251 = "<META content=\"text/html; charset=windows-1251\">\r\n<p>" + kHelloCp1251 + "</p>\r\n";
    const QByteArray utf8 = "<meta charset=UTF-8>\r\n<p>" + kHelloUtf8 + "</p>\r\n";
    const QString a = page(QStringLiteral("a.html"), cp1251);
    const QString b = page(QStringLiteral("b.htm"), utf8);
    TForm1& form = start();

    open(b);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("<meta charset=UTF-8>\r\n<p>") + kHello + QStringLiteral("</p>"));
    EXPECT_EQ(DocEncoding, EncodingUtf8);
    EXPECT_EQ(CurrentFileName, b);
    EXPECT_EQ(DocOrigin, OriginOpening);
    EXPECT_FALSE(DocModified);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - b.htm"));
    EXPECT_EQ(form.appTitle(), QStringLiteral("b.htm - Veltmark"));
    EXPECT_EQ(newestRecent(), b);
    ASSERT_EQ(prompts_.count(QStringLiteral("open")), 1);
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Открытие файла для редактирования"));
    EXPECT_TRUE(prompts_.shown.back().request.filter.startsWith(QStringLiteral("Все поддерживаемые|*.html;*.htm*;")));

    WriteBytes(b, "changed on disk");
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(b), utf8);

    open(a);
    EXPECT_EQ(DocEncoding, EncodingCp1251);
    EXPECT_TRUE(form.Memo1->text().contains(QStringLiteral("<p>") + kHello + QStringLiteral("</p>")));
    WriteBytes(a, QByteArray());
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(a), cp1251);

    // The encoding chosen in the menu applies at the next write, without re-opening.
    form.ENC_UTF8->trigger();
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(a), "<META content=\"text/html; charset=windows-1251\">\r\n<p>" + kHelloUtf8 + "</p>\r\n");
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 0);
}

TEST_F(DocumentCommands, LineEndsAreWrittenAsCrLfAfterEveryLine)
{
    const QString p = page(QStringLiteral("ends.txt"), "one\rtwo\nthree");
    TForm1& form = start();
    open(p);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("one\r\ntwo\r\nthree"));
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(p), QByteArray("one\r\ntwo\r\nthree\r\n"));
}

TEST_F(DocumentCommands, OpenAsksToSaveFirstAndReportsAMissingFile)
{
    const QString a = page(QStringLiteral("a.html"), "first\r\n");
    TForm1& form = start();
    open(a);
    edit(QStringLiteral("x"));
    ASSERT_TRUE(DocModified);

    // Cancel in the save question: no dialog, nothing changes.
    prompts_.answers.push_back(Answer::Cancel);
    open(page(QStringLiteral("b.html"), "second\r\n"));
    EXPECT_EQ(prompts_.count(QStringLiteral("open")), 1);
    EXPECT_EQ(CurrentFileName, a);
    EXPECT_TRUE(DocModified);
    prompts_.fileNames.clear();

    // No: a reserve copy of the text, then the dialog; a vanished file is reported.
    const QString text = form.Memo1->text();
    prompts_.answers.push_back(Answer::No);
    open(programFolder() + QStringLiteral("pages/gone.html"));
    EXPECT_EQ(prompts_.texts().back(), FileNotFoundMessage);
    EXPECT_EQ(CurrentFileName, a);
    EXPECT_EQ(form.Memo1->text(), text);
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(backups().first().endsWith(QStringLiteral(")_a.html")));
    EXPECT_EQ(ReadBytes(a), QByteArray("first\r\n"));
}

TEST_F(DocumentCommands, NewDocumentAndSaveRunningSaveAs)
{
    program("[RESERVE]1\r\n[LOADLASTFILE]0\r\n");
    TForm1& form = start();
    const QString scratch = ScratchDocumentPath();
    EXPECT_EQ(CurrentFileName, scratch);
    EXPECT_TRUE(QFileInfo::exists(scratch));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - new_document.html"));
    EXPECT_EQ(form.appTitle(), QStringLiteral("new_document.html - Veltmark"));
    EXPECT_TRUE(DocOrigin.isEmpty());

    edit(QStringLiteral("<p>"));
    // A cancelled Save As writes nothing and the document stays modified.
    form.N16->trigger();
    EXPECT_EQ(prompts_.count(QStringLiteral("save")), 1);
    EXPECT_EQ(prompts_.shown.back().text, QStringLiteral("Сохранение документа"));
    EXPECT_TRUE(DocModified);
    EXPECT_EQ(CurrentFileName, scratch);

    // Save As over an existing file keeps the old content in the backup folder.
    const QString target = page(QStringLiteral("saved.html"), "old content\r\n");
    prompts_.fileNames.push_back(target);
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(target), QByteArray("<p>\r\n"));
    EXPECT_FALSE(QFileInfo::exists(scratch));
    EXPECT_EQ(CurrentFileName, target);
    EXPECT_EQ(DocOrigin, OriginSaving);
    EXPECT_FALSE(DocModified);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - saved.html"));
    EXPECT_EQ(newestRecent(), target);
    ASSERT_EQ(backups().size(), 1);
    EXPECT_EQ(ReadBytes(BackupFolder + backups().first()), QByteArray("old content\r\n"));

    // A new empty document again; Save As onto the scratch path keeps the file written.
    form.MENU_NEWEMPTY->trigger();
    EXPECT_EQ(CurrentFileName, scratch);
    EXPECT_TRUE(form.Memo1->text().isEmpty());
    edit(QStringLiteral("kept"));
    prompts_.fileNames.push_back(scratch);
    form.N14->trigger();
    EXPECT_EQ(ReadBytes(scratch), QByteArray("kept\r\n"));
}

TEST_F(DocumentCommands, CloseAsksToSaveAndCancelKeepsTheWindow)
{
    const QString a = page(QStringLiteral("a.html"), "text\r\n");
    TForm1& form = start();
    open(a);
    edit(QStringLiteral("more "));
    prompts_.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 1);
    EXPECT_EQ(prompts_.shown.back().text, SaveQuestionText);
    EXPECT_TRUE(prompts_.shown.back().caption.isEmpty());

    prompts_.answers.push_back(Answer::Yes);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(ReadBytes(a), QByteArray("more text\r\n"));
}

TEST_F(DocumentCommands, CloseDoesNotAskForAOneCharacterText)
{
    program("[RESERVE]1\r\n[LOADLASTFILE]0\r\n");
    TForm1& form = start();
    edit(QStringLiteral("x"));
    ASSERT_TRUE(DocModified);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 0);
}

TEST_F(DocumentCommands, StartOpensTheCommandLineDocumentOrTheLastOne)
{
    const QString a = page(QStringLiteral("a.html"), "<meta charset=utf-8>\r\n" + kHelloUtf8 + "\r\n");
    {
        TForm1& form = start({a, QStringLiteral("PARENT12345")});
        EXPECT_EQ(CurrentFileName, QFileInfo(a).absoluteFilePath());
        EXPECT_TRUE(form.Memo1->text().endsWith(kHello));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - a.html"));
        EXPECT_EQ(form.appTitle(), QStringLiteral("Veltmark"));
        EXPECT_EQ(DocOrigin, OriginOpening);
        EXPECT_FALSE(DocModified);
        EXPECT_EQ(form.messageLog().line(0).message, QStringLiteral("Документ открыт для редактирования. Не забудьте сохранить изменения"));
        form_.reset();
    }
    ResetGlobals();
    // LOADLASTFILE: the newest listed document that still exists.
    const QString b = page(QStringLiteral("b.txt"), "bee\r\n");
    AddToRecent_Opening(b);
    AddToRecent_Opening(programFolder() + QStringLiteral("pages/gone.html"));
    program("[LOADLASTFILE]1\r\n");
    TForm1& form = start();
    EXPECT_EQ(CurrentFileName, b);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("bee"));
    EXPECT_EQ(form.appTitle(), QStringLiteral("b.txt - Veltmark"));
    EXPECT_EQ(newestRecent(), b);
}

TEST_F(DocumentCommands, DroppedPagesOpenInTurn)
{
    const QString a = page(QStringLiteral("a.html"), "first\r\n");
    const QString b = page(QStringLiteral("b.js"), "// charset=utf-8 " + kHelloUtf8 + "\r\n");
    const QString other = page(QStringLiteral("c.exe"), "MZ");
    TForm1& form = start();
    open(a);
    edit(QStringLiteral("x"));
    prompts_.answers.push_back(Answer::No);
    drop({a, b, other});
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 1);
    EXPECT_EQ(CurrentFileName, b);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("// charset=utf-8 ") + kHello);
    EXPECT_EQ(DocEncoding, EncodingUtf8);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - b.js"));
    EXPECT_FALSE(DocModified);
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(b), "// charset=utf-8 " + kHelloUtf8 + "\r\n");
}

} // namespace
