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
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
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
        {"N8", QStringLiteral("Открыть в буфер обмена ..."), {}},
        {"MENU_RESERVCOPY", QStringLiteral("Сохранить в папке документа"), {}},
        {"MENU_RESERVCUR", QStringLiteral("Сохранить в резерв"), {}},
        {"MMENU_UNSAVED", QStringLiteral("Открыть резерв"), {}},
        {"MENU_CLEARRESERVE", QStringLiteral("Очистить весь резерв"), {}},
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
    // The two encodings for the next save, then the re-open submenu after a separator.
    ASSERT_EQ(form.N37->actions().size(), 4);
    EXPECT_EQ(form.N37->actions().mid(0, 2), (QList<QAction*>{form.ENC_1251, form.ENC_UTF8}));
    EXPECT_TRUE(form.N37->actions().at(2)->isSeparator());
    EXPECT_EQ(form.N37->actions().at(3)->menu()->objectName(), QStringLiteral("MENU_REOPEN_ENCODING"));
    EXPECT_EQ(form.RECENT_MENU->title(), QStringLiteral("Недавние документы"));
    EXPECT_EQ(form.MENU_RESERVES->title(), QStringLiteral("Резервные копии"));
    EXPECT_EQ(form.MENU_RESERVES->actions(), (QList<QAction*>{form.MENU_RESERVCOPY, form.MENU_RESERVCUR, form.MMENU_UNSAVED, form.MENU_CLEARRESERVE}));
    EXPECT_FALSE(form.RECENT_ACTITEM->isVisible());
    const QList<QAction*> file = form.N13->actions();
    ASSERT_EQ(file.size(), 14);
    EXPECT_TRUE(file.contains(form.findChild<QAction*>(QStringLiteral("MENU_DOC_PROP"))));
    EXPECT_EQ(file.first(), form.NEWDOC->menuAction());
    EXPECT_EQ(file.last(), form.MENU_EXIT);
    EXPECT_EQ(std::count_if(file.begin(), file.end(), [](QAction* a) { return a->isSeparator(); }), 2);

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

TEST_F(DocumentCommands, EachDocumentKeepsItsOwnEncodingAndLineEnds)
{
    // A UTF-8 page, then a Windows-1251 style sheet and a UTF-8 script, neither declaring anything.
    const QByteArray pageBytes = "<meta charset=\"utf-8\">\n<p>" + kHelloUtf8 + "</p>\n";
    const QByteArray cssBytes = "/* " + kHelloCp1251 + " */\r\nb { }\r\n";
    const QByteArray jsBytes = "// " + kHelloUtf8 + "\nvar a;\n";
    const QString a = page(QStringLiteral("a.html"), pageBytes);
    const QString b = page(QStringLiteral("b.css"), cssBytes);
    const QString c = page(QStringLiteral("c.js"), jsBytes);
    const QString mixed = page(QStringLiteral("ends.txt"), "one\rtwo\nthree");
    TForm1& form = start();
    const struct {
        QString path;
        QByteArray bytes;
        int encoding;
    } rows[] = {{a, pageBytes, EncodingUtf8}, {b, cssBytes, EncodingCp1251}, {c, jsBytes, EncodingUtf8}, {a, pageBytes, EncodingUtf8}};
    for (const auto& row : rows) {
        open(row.path);
        EXPECT_EQ(DocEncoding, row.encoding) << row.path.toStdString();
        EXPECT_TRUE(form.Memo1->text().contains(kHello)) << row.path.toStdString();
        form.N16->trigger();
        EXPECT_EQ(ReadBytes(row.path), row.bytes) << row.path.toStdString();
    }
    // Mixed line ends are written as CR LF, after every line.
    open(mixed);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("one\r\ntwo\r\nthree"));
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(mixed), QByteArray("one\r\ntwo\r\nthree\r\n"));
    // A new document is Windows-1251 with CR LF, whatever came before.
    open(c);
    form.MENU_NEWEMPTY->trigger();
    EXPECT_EQ(DocEncoding, EncodingCp1251);
    EXPECT_EQ(DocLineEnds, LineEnds::CrLf);
}

TEST_F(DocumentCommands, FileDialogsStartInTheDocumentsFolder)
{
    const QString a = page(QStringLiteral("a.html"), "<p>a</p>\r\n");
    TForm1& form = start();
    open(a);
    const QString folder = QFileInfo(a).absolutePath();
    EXPECT_EQ(prompts_.shown.back().request.folder, QDir::homePath()); // nothing used yet
    prompts_.fileNames.push_back(QString()); // cancelled
    form.N7->trigger();
    EXPECT_EQ(prompts_.shown.back().request.folder, folder);
    // The scratch document: the folder last used.
    form.MENU_NEWEMPTY->trigger();
    prompts_.fileNames.push_back(QString());
    form.N14->trigger();
    EXPECT_EQ(prompts_.shown.back().request.folder, folder);
}

TEST_F(DocumentCommands, BinaryFilesAreOpenedOnlyWhenTheUserAgrees)
{
    const QByteArray binary = QByteArray("PNG\0\0\x01\xFF" "data", 12);
    const QString text = page(QStringLiteral("a.html"), "<p>text</p>\r\n");
    const QString bin = page(QStringLiteral("renamed.html"), binary);
    TForm1& form = start();
    open(text);
    prompts_.answers.push_back(Answer::No);
    open(bin);
    EXPECT_EQ(CurrentFileName, text);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("<p>text</p>"));
    prompts_.answers.push_back(Answer::Yes);
    open(bin);
    EXPECT_EQ(CurrentFileName, bin);
    EXPECT_EQ(ReadBytes(bin), binary);
    EXPECT_EQ(prompts_.count(QStringLiteral("yesno")), 2);
    // Saved on purpose: nothing of it is lost but for the final line end.
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(bin), binary + "\r\n");

    // Invalid bytes in a UTF-8 page are reported once, and saved as they were.
    const QByteArray broken = "<meta charset=utf-8>\xFF\xFE<p>" + kHelloUtf8 + "\r\n";
    const QString p = page(QStringLiteral("broken.html"), broken);
    const int before = form.HELPLOG->document()->blockCount();
    open(p);
    EXPECT_TRUE(form.HELPLOG->toPlainText().contains(QStringLiteral("недопустимые")));
    EXPECT_LE(form.HELPLOG->document()->blockCount(), before + 2);
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(p), broken);
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
    EXPECT_EQ(ReadBytes(target), QByteArray("<p></p>\r\n")); // the typed start tag brought its end tag
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

// The recent submenu as it opens: the entries' names and captions.
QStringList recentEntries(TForm1& form, QStringList* captions = nullptr)
{
    Q_EMIT form.RECENT_MENU->aboutToShow();
    QStringList names;
    for (QAction* a : form.RECENT_MENU->actions()) {
        if (!a->objectName().startsWith(RecentItemPrefix))
            continue;
        names << a->objectName();
        if (captions)
            *captions << a->text();
    }
    return names;
}

QAction* recentEntry(TForm1& form, const QString& name)
{
    for (QAction* a : form.RECENT_MENU->actions())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

TEST_F(DocumentCommands, RecentSubmenuListsOtherDocumentsAndOpensThem)
{
    const QString a = page(QStringLiteral("a.html"), "<p>a</p>\r\n");
    const QString b = page(QStringLiteral("b.css"), "b { }\r\n");
    const QString c = page(QStringLiteral("c.html"), "<meta charset=utf-8>" + kHelloUtf8 + "\r\n");
    TForm1& form = start();
    open(a);
    open(b);
    open(c);
    // The current document (position 0) is not offered; the numbers are positions.
    QStringList captions;
    EXPECT_EQ(recentEntries(form, &captions), (QStringList{QStringLiteral("RECENT_ITEM_1"), QStringLiteral("RECENT_ITEM_2")}));
    EXPECT_EQ(captions, (QStringList{RecentCaption(1, b), RecentCaption(2, a)}));
    EXPECT_TRUE(captions.first().startsWith(QStringLiteral("1  ")));
    // Rebuilt at each opening, never doubled.
    EXPECT_EQ(recentEntries(form).size(), 2);

    // Choosing b: the save question comes first (Cancel changes nothing).
    edit(QStringLiteral("x"));
    prompts_.answers.push_back(Answer::Cancel);
    recentEntry(form, QStringLiteral("RECENT_ITEM_1"))->trigger();
    EXPECT_EQ(CurrentFileName, c);
    EXPECT_TRUE(DocModified);
    prompts_.answers.push_back(Answer::No);
    recentEntry(form, QStringLiteral("RECENT_ITEM_1"))->trigger();
    EXPECT_EQ(CurrentFileName, b);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("b { }"));
    EXPECT_EQ(DocEncoding, EncodingCp1251); // no declaration, plain bytes: nothing kept from c
    EXPECT_FALSE(DocModified);
    EXPECT_EQ(DocOrigin, OriginOpening);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Veltmark - b.css"));
    EXPECT_EQ(newestRecent(), b);
    // A CSS file: the HTML-only buttons are off.
    EXPECT_FALSE(form.CHECKBUT->isEnabled());
    EXPECT_FALSE(form.VIEWBUT->isEnabled());

    // A listed file that vanished while the menu was open: the entry goes,
    // the editor keeps its document and its changes.
    EXPECT_EQ(recentEntries(form), (QStringList{QStringLiteral("RECENT_ITEM_1"), QStringLiteral("RECENT_ITEM_2")}));
    edit(QStringLiteral("y"));
    ASSERT_TRUE(QFile::remove(a));
    prompts_.answers.push_back(Answer::Cancel);
    recentEntry(form, QStringLiteral("RECENT_ITEM_2"))->trigger(); // cancelled: nothing removed
    Opt_SelectFile(opt::Recent);
    EXPECT_EQ(Opt_Count(), 3);
    prompts_.answers.push_back(Answer::No);
    recentEntry(form, QStringLiteral("RECENT_ITEM_2"))->trigger();
    Opt_SelectFile(opt::Recent);
    EXPECT_EQ(Opt_Count(), 2);
    EXPECT_EQ(CurrentFileName, b);
    EXPECT_TRUE(form.Memo1->text().startsWith(QStringLiteral("y")));
    EXPECT_TRUE(DocModified);
}

TEST_F(DocumentCommands, FileMenuEnablingFollowsTheDocument)
{
    program("[RESERVE]0\r\n[LOADLASTFILE]0\r\n");
    TForm1& form = start();
    // A new document (its scratch file exists) and an empty recent list.
    Q_EMIT form.N13->aboutToShow();
    EXPECT_TRUE(form.MENU_RESERVCOPY->isEnabled());
    EXPECT_FALSE(form.CONTFOLDER->isEnabled());
    EXPECT_FALSE(form.RECENT_MENU->menuAction()->isEnabled());
    EXPECT_FALSE(form.MENU_RESERVES->menuAction()->isEnabled());
    EXPECT_TRUE(form.CHECKBUT->isEnabled()); // the scratch document is a page

    // An opened document: its folder button works at once, before the menu opens.
    const QString p = page(QStringLiteral("style.css"), "a { }\r\n");
    open(p);
    EXPECT_TRUE(form.CONTFOLDER->isEnabled());
    form.CONTFOLDER->click();
    ASSERT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(QDir(shell_.launches.back().args.value(0)), QDir(QFileInfo(p).absolutePath()));
    program("[RESERVE]1\r\n");
    Q_EMIT form.N13->aboutToShow();
    EXPECT_TRUE(form.MENU_RESERVCOPY->isEnabled());
    EXPECT_TRUE(form.RECENT_MENU->menuAction()->isEnabled());
    EXPECT_TRUE(form.MENU_RESERVES->menuAction()->isEnabled());

    // The file vanishes: the menu's next opening notices.
    ASSERT_TRUE(QFile::remove(p));
    Q_EMIT form.N13->aboutToShow();
    EXPECT_FALSE(form.MENU_RESERVCOPY->isEnabled());
    EXPECT_FALSE(form.CONTFOLDER->isEnabled());

    // Back to a new document: the folder button goes off again.
    open(page(QStringLiteral("x.html"), "<p>\r\n"));
    EXPECT_TRUE(form.CONTFOLDER->isEnabled());
    form.MENU_NEWEMPTY->trigger();
    EXPECT_FALSE(form.CONTFOLDER->isEnabled());
}

TEST_F(DocumentCommands, ReserveCopyCommands)
{
    const QString p = page(QStringLiteral("index.html"), "<p>old</p>\r\n");
    TForm1& form = start();
    open(p);
    edit(QStringLiteral("new "));

    form.MENU_RESERVCUR->trigger();
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(backups().first().endsWith(QStringLiteral(")_index.html")));
    EXPECT_EQ(ReadBytes(BackupFolder + backups().first()), QByteArray("new <p>old</p>\r\n"));

    form.MENU_RESERVCOPY->trigger();
    const QStringList beside = QDir(QFileInfo(p).absolutePath()).entryList({QStringLiteral("*___index.html")}, QDir::Files);
    ASSERT_EQ(beside.size(), 1);
    EXPECT_EQ(ReadBytes(QFileInfo(p).absolutePath() + QLatin1Char('/') + beside.first()), QByteArray("new <p>old</p>\r\n"));
    // Neither copy touches the document or its state.
    EXPECT_EQ(ReadBytes(p), QByteArray("<p>old</p>\r\n"));
    EXPECT_TRUE(DocModified);
    EXPECT_EQ(CurrentFileName, p);

    form.MMENU_UNSAVED->trigger();
    ASSERT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(QDir(shell_.launches.back().args.value(0)), QDir(BackupFolder));

    QFile::setPermissions(BackupFolder + backups().first(), QFileDevice::ReadOwner);
    QDir().mkpath(BackupFolder + QStringLiteral("sub"));
    form.MENU_CLEARRESERVE->trigger();
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_TRUE(QFileInfo(BackupFolder + QStringLiteral("sub")).isDir());
    EXPECT_EQ(prompts_.count(QStringLiteral("message")), 0);
}

TEST_F(DocumentCommands, ReserveFolderOpensBeforeTheFirstBackup)
{
    TForm1& form = start();
    ASSERT_FALSE(QFileInfo::exists(BackupFolder));
    form.MMENU_UNSAVED->trigger();
    EXPECT_TRUE(QFileInfo(BackupFolder).isDir());
    ASSERT_EQ(shell_.launches.size(), 1u);
    // "Очистить весь резерв" on an empty or missing folder does nothing.
    QDir(BackupFolder).removeRecursively();
    form.MENU_CLEARRESERVE->trigger();
    EXPECT_EQ(form.messageLog().count(), 0);
}

TEST_F(DocumentCommands, OpenIntoTheClipboardLeavesTheDocumentAlone)
{
    const QString doc = page(QStringLiteral("doc.html"), "<p>doc</p>\r\n");
    const QString other = page(QStringLiteral("other.txt"), "one\ntwo");
    TForm1& form = start();
    open(doc);
    edit(QStringLiteral("x"));
    const QString title = form.windowTitle();
    prompts_.fileNames.push_back(other);
    form.N8->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 0);
    EXPECT_EQ(CurrentFileName, doc);
    EXPECT_EQ(form.windowTitle(), title);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("x<p>doc</p>"));
    EXPECT_TRUE(DocModified);
    // A cancelled dialog leaves the clipboard as it was.
    form.N8->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one\r\ntwo\r\n"));
}

TEST_F(DocumentCommands, CheckBeforePreviewSwitch)
{
    TForm1& form = start();
    ASSERT_NE(form.MENU_CHECKCODE, nullptr);
    EXPECT_EQ(form.MENU_CHECKCODE->text(), QStringLiteral("Проверять исходник"));
    EXPECT_EQ(form.VIEWBUT->toolTip(), QStringLiteral("Просмотр страницы"));
    EXPECT_EQ(form.VIEWBUT->menu(), form.PopupMenu1);
    EXPECT_TRUE(form.PopupMenu1->actions().contains(form.MENU_CHECKCODE));
    // Every entry of the drop-down, in order.
    QStringList names;
    for (QAction* a : form.PopupMenu1->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->menu() ? a->menu()->objectName() : a->objectName());
    EXPECT_EQ(names, (QStringList{"MENU_PROGBROWSER_VIEW", "MENU_LIVEPREVIEW", "N24", "-", "MENU_SYSBROWSER_VIEW", "MENU_IEVIEW", "MENU_OPERAVIEW",
                                  "MENU_FOXVIEW", "MENU_URLASSIGN", "-", "MENU_CHECKCODE"}));
    EXPECT_TRUE(form.MENU_PROGBROWSER_VIEW->isEnabled());

    EXPECT_TRUE(CHECK_HTML);
    Q_EMIT form.PopupMenu1->aboutToShow();
    EXPECT_TRUE(form.MENU_CHECKCODE->isChecked());
    form.MENU_CHECKCODE->trigger();
    EXPECT_FALSE(CHECK_HTML);
    EXPECT_FALSE(form.MENU_CHECKCODE->isChecked());
    form.MENU_CHECKCODE->trigger();
    EXPECT_TRUE(CHECK_HTML);
    EXPECT_TRUE(form.MENU_CHECKCODE->isChecked());
    // The mark follows the switch each time the menu opens.
    CHECK_HTML = false;
    Q_EMIT form.PopupMenu1->aboutToShow();
    EXPECT_FALSE(form.MENU_CHECKCODE->isChecked());
}

TEST_F(DocumentCommands, SavingCharactersWindows1251LacksOffersUtf8)
{
    const QString p = page(QStringLiteral("plain.html"), "<p>\r\n");
    TForm1& form = start();
    open(p);
    ASSERT_EQ(DocEncoding, EncodingCp1251);
    form.Memo1->setText(QStringLiteral("<p>✓ ") + kHello);
    // Cancel: nothing is written, the warning stays in the log in red.
    prompts_.answers.push_back(Answer::Cancel);
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(p), QByteArray("<p>\r\n"));
    ASSERT_GT(form.messageLog().count(), 0);
    EXPECT_TRUE(form.messageLog().line(0).error);
    EXPECT_TRUE(form.messageLog().line(0).message.contains(QStringLiteral("✓")));
    // Yes: the document is written in UTF-8 and stays UTF-8.
    prompts_.answers.push_back(Answer::Yes);
    form.N16->trigger();
    EXPECT_EQ(ReadBytes(p), QStringLiteral("<p>✓ ").toUtf8() + kHelloUtf8 + "\r\n");
    EXPECT_EQ(DocEncoding, EncodingUtf8);
}

} // namespace
