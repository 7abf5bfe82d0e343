#include "TestSupport.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "editor/MemoryTextModel.h"
#include "platform/Codecs.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <random>

using platform::Answer;
using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

QByteArray cp1251(const QString& s) { return platform::EncodeCp1251(s); }

class DocumentsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        InitProgramFolders();
    }
    QString path(const QString& name) const { return programFolder() + name; }

    // Reads a page from disk and writes it back to another file as the
    // editor would: the bytes written.
    QByteArray roundTrip(const QByteArray& bytes, int currentEncoding, int* decided = nullptr)
    {
        WriteBytes(path(QStringLiteral("in.html")), bytes);
        QString error;
        const std::optional<DecodedDocument> doc = LoadDocument(path(QStringLiteral("in.html")), currentEncoding, &error);
        EXPECT_TRUE(doc.has_value()) << error.toStdString();
        if (!doc)
            return {};
        if (decided)
            *decided = doc->encoding;
        EXPECT_TRUE(DocSave(path(QStringLiteral("out.html")), doc->text, doc->encoding, &error)) << error.toStdString();
        return ReadBytes(path(QStringLiteral("out.html")));
    }

    void setReserve(bool on)
    {
        Opt_SelectFile(opt::Program);
        Opt_Write(opt::RESERVE, on ? QStringLiteral("1") : QStringLiteral("0"));
    }
};

TEST_F(DocumentsTest, Cp1251PageRoundTripsByteExact)
{
    QByteArray page = cp1251(QStringLiteral("<html><head><meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\r\n"
                                            "<title>Главная страница — «ёлка» №1</title></head>\r\n"
                                            "<body>Ђђ€‰</body></html>\r\n"));
    page.append('\x98'); // unassigned in the code page: must survive as it is
    page.append("\r\n");
    int decided = 0;
    EXPECT_EQ(roundTrip(page, EncodingUtf8, &decided), page);
    EXPECT_EQ(decided, EncodingCp1251);

    const DecodedDocument doc = CHECK_ENCODE(page, EncodingCp1251);
    EXPECT_TRUE(doc.text.contains(QStringLiteral("«ёлка» №1")));
    EXPECT_FALSE(doc.text.endsWith(QStringLiteral("\r\n")));
}

TEST_F(DocumentsTest, Utf8PageDeclaredInAnyLetterCaseDecodesAndKeepsEveryCharacter)
{
    // Characters outside Windows-1251 too: they must all come back.
    const QString body = QStringLiteral("Привет, мир ✓ Ωμέγα 中文 😀 ő\r\nвторая строка");
    for (const char* declaration : {"charset=utf-8", "CHARSET=UTF-8", "ChArSeT=uTf-8"}) {
        const QByteArray page = QByteArray("<meta content=\"text/html; ") + declaration + "\">\r\n" + body.toUtf8() + "\r\n";
        const DecodedDocument doc = CHECK_ENCODE(page, EncodingCp1251);
        EXPECT_EQ(doc.encoding, EncodingUtf8) << declaration;
        EXPECT_TRUE(doc.text.contains(body)) << declaration;
        int decided = 0;
        EXPECT_EQ(roundTrip(page, EncodingCp1251, &decided), page) << declaration;
        EXPECT_EQ(decided, EncodingUtf8);
    }
}

TEST_F(DocumentsTest, CharsetCheckIsAPlainSubstringTest)
{
    const QByteArray utf = QStringLiteral("Ж").toUtf8();
    // Blanks around "=" or quotes around the value are not recognised.
    EXPECT_EQ(CharsetEncoding("charset = utf-8" + utf, EncodingCp1251), EncodingCp1251);
    EXPECT_EQ(CharsetEncoding("charset=\"utf-8\"", EncodingCp1251), EncodingCp1251);
    EXPECT_EQ(CharsetEncoding("charset=windows-1251", EncodingUtf8), EncodingCp1251);
    // Both declared: UTF-8 wins.
    EXPECT_EQ(CharsetEncoding("charset=WINDOWS-1251 charset=utf-8", EncodingCp1251), EncodingUtf8);
    // Nothing declared: the previous document's encoding stays.
    EXPECT_EQ(CharsetEncoding("<p>plain</p>", EncodingUtf8), EncodingUtf8);
    EXPECT_EQ(CharsetEncoding("<p>plain</p>", EncodingCp1251), EncodingCp1251);
    // A declaration cut at the end of the file.
    EXPECT_EQ(CharsetEncoding("charset=utf-", EncodingCp1251), EncodingCp1251);
    EXPECT_EQ(CharsetEncoding({}, EncodingUtf8), EncodingUtf8);
}

TEST_F(DocumentsTest, UndeclaredPageAfterUtf8KeepsInvalidBytesAsWindows1251)
{
    // A Windows-1251 page without a declaration opened while the encoding is 2:
    // its bytes are not UTF-8, and none of its letters may be lost.
    const QByteArray page = cp1251(QStringLiteral("Привет, мир")) + "\r\n" + QStringLiteral("ясно").toUtf8();
    const DecodedDocument doc = CHECK_ENCODE(page, EncodingUtf8);
    EXPECT_EQ(doc.encoding, EncodingUtf8);
    EXPECT_EQ(doc.text, QStringLiteral("Привет, мир\r\nясно"));
}

TEST_F(DocumentsTest, LineEndsAreReadAsLinesAndWrittenAsCrLf)
{
    EXPECT_EQ(CHECK_ENCODE("a\rb\nc\r\nd", EncodingCp1251).text, QStringLiteral("a\r\nb\r\nc\r\nd"));
    EXPECT_EQ(CHECK_ENCODE("a\n\rb", EncodingCp1251).text, QStringLiteral("a\r\n\r\nb"));

    // No final line break: one is added. Lone CR and LF become CR LF.
    EXPECT_EQ(roundTrip("<p>last", EncodingCp1251), QByteArray("<p>last\r\n"));
    EXPECT_EQ(roundTrip("one\rtwo\nthree\r\n", EncodingCp1251), QByteArray("one\r\ntwo\r\nthree\r\n"));
    EXPECT_EQ(roundTrip("one\n\n", EncodingCp1251), QByteArray("one\r\n\r\n"));
    // Empty lines at the end are kept, and an empty file stays empty.
    EXPECT_EQ(roundTrip("x\r\n\r\n\r\n", EncodingCp1251), QByteArray("x\r\n\r\n\r\n"));
    EXPECT_EQ(roundTrip({}, EncodingCp1251), QByteArray());

    // The editor's own text: every line gets CR LF, the last one included.
    EXPECT_EQ(DocumentBytes(QStringLiteral("a\r\nb"), EncodingCp1251), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(DocumentBytes(QStringLiteral("a\nb\r"), EncodingCp1251), QByteArray("a\r\nb\r\n\r\n"));
}

TEST_F(DocumentsTest, ChosenEncodingDecidesTheBytesWithoutReopening)
{
    const QByteArray page = QByteArray("<meta charset=utf-8>") + QStringLiteral("Текст").toUtf8();
    const DecodedDocument doc = CHECK_ENCODE(page, EncodingCp1251);
    // "Windows-1251, обычный текст" chosen before saving: written as ANSI.
    EXPECT_EQ(DocumentBytes(doc.text, EncodingCp1251), QByteArray("<meta charset=utf-8>") + cp1251(QStringLiteral("Текст")) + "\r\n");
    EXPECT_EQ(DocumentBytes(doc.text, EncodingUtf8), page + "\r\n");
    // UTF-8 is written without a byte-order mark.
    EXPECT_FALSE(DocumentBytes(QStringLiteral("Ж"), EncodingUtf8).startsWith("\xEF\xBB\xBF"));
}

TEST_F(DocumentsTest, ReadingWhatWasWrittenGivesTheSameText)
{
    // Over arbitrary bytes: the text read, written and read again is the same
    // text, in either encoding.
    std::mt19937 gen(20261208);
    std::uniform_int_distribution<int> len(0, 64);
    const char alphabet[] = "charset=utf-8 CHARSET=WINDOWS-1251\r\n\r\xD0\x96\xE2\x9C\x93\xF0\x9F\x98\x80\xC0\xFF\x98\x80";
    std::uniform_int_distribution<int> pick(0, int(sizeof(alphabet)) - 2);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes;
        const int n = len(gen);
        for (int i = 0; i < n; ++i)
            bytes.append(round % 3 == 0 ? char(anyByte(gen)) : alphabet[pick(gen)]);
        for (int current : {EncodingCp1251, EncodingUtf8}) {
            const DecodedDocument first = CHECK_ENCODE(bytes, current);
            const DecodedDocument again = CHECK_ENCODE(DocumentBytes(first.text, first.encoding), current);
            ASSERT_EQ(again.encoding, first.encoding) << bytes.toHex().toStdString();
            ASSERT_EQ(again.text, first.text) << bytes.toHex().toStdString();
        }
    }
}

TEST_F(DocumentsTest, CharactersWindows1251CannotHold)
{
    const QString text = QStringLiteral("€ok ✓ 😀✓ ж");
    const Cp1251Gaps gaps = UnencodableInCp1251(text);
    EXPECT_EQ(gaps.count, 3);
    EXPECT_EQ(gaps.firstOffset, 4);
    EXPECT_EQ(gaps.distinct, (QStringList{QStringLiteral("✓"), QStringLiteral("😀")}));
    EXPECT_TRUE(Cp1251GapsMessage(gaps).contains(QStringLiteral("✓ 😀")));
    EXPECT_TRUE(UnencodableInCp1251(QStringLiteral("Обычный текст €")).empty());

    // A lone surrogate is one gap and is shown by its code.
    const Cp1251Gaps lone = UnencodableInCp1251(QString(QChar(0xD800)) + QStringLiteral("a"));
    EXPECT_EQ(lone.count, 1);
    EXPECT_TRUE(Cp1251GapsMessage(lone).contains(QStringLiteral("U+D800")));
}

TEST_F(DocumentsTest, SavingCharactersOutsideWindows1251AsksFirst)
{
    QStringList logged;
    const LogWriter log = [&](const QString& m, bool error) {
        EXPECT_TRUE(error);
        logged << m;
    };
    const QString text = QStringLiteral("Символ ✓");

    prompts_.answers = {Answer::Yes, Answer::No, Answer::Cancel};
    EXPECT_EQ(ConfirmSaveEncoding(text, EncodingCp1251, log), EncodingUtf8);
    EXPECT_EQ(ConfirmSaveEncoding(text, EncodingCp1251, log), EncodingCp1251);
    EXPECT_EQ(ConfirmSaveEncoding(text, EncodingCp1251, log), std::nullopt);
    EXPECT_EQ(logged.size(), 3);
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 3);

    // Nothing to ask when the text fits or is written as UTF-8.
    EXPECT_EQ(ConfirmSaveEncoding(QStringLiteral("Символ"), EncodingCp1251, log), EncodingCp1251);
    EXPECT_EQ(ConfirmSaveEncoding(text, EncodingUtf8, log), EncodingUtf8);
    EXPECT_EQ(prompts_.count(QStringLiteral("yesnocancel")), 3);

    // Through the save: "Yes" writes UTF-8 and the document follows.
    DocEncoding = EncodingCp1251;
    prompts_.answers = {Answer::Yes};
    EXPECT_EQ(SaveDocumentAs(path(QStringLiteral("a.html")), text, log), SaveResult::Saved);
    EXPECT_EQ(ReadBytes(path(QStringLiteral("a.html"))), text.toUtf8() + "\r\n");
    EXPECT_EQ(DocEncoding, EncodingUtf8);

    // "Cancel" writes nothing.
    DocEncoding = EncodingCp1251;
    prompts_.answers = {Answer::Cancel};
    EXPECT_EQ(SaveDocumentAs(path(QStringLiteral("b.html")), text, log), SaveResult::Cancelled);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("b.html"))));
    EXPECT_EQ(DocEncoding, EncodingCp1251);
}

TEST_F(DocumentsTest, UnwritableTargetGivesAMessageAndLeavesTheOldFile)
{
    const QString target = path(QStringLiteral("locked.html"));
    WriteBytes(target, "old content\r\n");
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QString error;
    EXPECT_FALSE(DocSave(target, QStringLiteral("new"), EncodingCp1251, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Не удалось сохранить файл"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("locked.html")));
    EXPECT_EQ(ReadBytes(target), QByteArray("old content\r\n"));

    // A missing folder and a folder in place of the file.
    error.clear();
    EXPECT_FALSE(DocSave(path(QStringLiteral("no/such/folder/x.html")), QStringLiteral("x"), EncodingCp1251, &error));
    EXPECT_FALSE(error.isEmpty());
    QDir().mkpath(path(QStringLiteral("folder.html")));
    error.clear();
    EXPECT_FALSE(DocSave(path(QStringLiteral("folder.html")), QStringLiteral("x"), EncodingCp1251, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("folder.html"))).isDir());

    // Through the save: a message box, and the caller learns it failed.
    QStringList logged;
    EXPECT_EQ(SaveDocumentAs(target, QStringLiteral("new"), [&](const QString& m, bool) { logged << m; }), SaveResult::Failed);
    EXPECT_EQ(prompts_.count(QStringLiteral("message")), 1);
    EXPECT_EQ(logged.size(), 1);
    EXPECT_EQ(ReadBytes(target), QByteArray("old content\r\n"));

    // A writable file is replaced and no temporary file is left behind.
    const QString plain = path(QStringLiteral("plain.html"));
    WriteBytes(plain, "old");
    EXPECT_TRUE(DocSave(plain, QStringLiteral("new"), EncodingCp1251, &error));
    EXPECT_EQ(ReadBytes(plain), QByteArray("new\r\n"));
    const QStringList left = QDir(programFolder()).entryList({QStringLiteral("plain.html*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("plain.html")});
}

TEST_F(DocumentsTest, ReadFailures)
{
    QString error;
    EXPECT_FALSE(LoadDocument(path(QStringLiteral("missing.html")), EncodingCp1251, &error));
    EXPECT_EQ(error, FileNotFoundMessage);
    QDir().mkpath(path(QStringLiteral("dir.html")));
    EXPECT_FALSE(LoadDocument(path(QStringLiteral("dir.html")), EncodingCp1251, &error));
    EXPECT_NE(error, FileNotFoundMessage);
    EXPECT_FALSE(LoadDocument(QString(), EncodingCp1251));
}

TEST_F(DocumentsTest, SaveQuestion)
{
    const QString doc = path(QStringLiteral("page.html"));
    WriteBytes(doc, "old\r\n");
    CurrentFileName = doc;
    DocOrigin = OriginOpening;
    DocEncoding = EncodingCp1251;
    int saveAsRuns = 0;
    SaveResult saveAsResult = SaveResult::Saved;
    const auto saveAs = [&] {
        ++saveAsRuns;
        return saveAsResult;
    };

    // Unmodified: no question.
    DocModified = false;
    EXPECT_TRUE(SAVE_ON_EXIT(QStringLiteral("text"), saveAs));
    EXPECT_TRUE(prompts_.shown.empty());

    // Yes writes the document to its path; DocModified is left alone.
    DocModified = true;
    prompts_.answers = {Answer::Yes};
    EXPECT_TRUE(SAVE_ON_EXIT(QStringLiteral("новый"), saveAs));
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].caption, QString());
    EXPECT_EQ(prompts_.shown[0].text, SaveQuestionText);
    EXPECT_EQ(ReadBytes(doc), cp1251(QStringLiteral("новый\r\n")));
    EXPECT_TRUE(DocModified);
    EXPECT_EQ(saveAsRuns, 0);

    // Cancel ends the command with nothing written.
    prompts_.answers = {Answer::Cancel};
    EXPECT_FALSE(SAVE_ON_EXIT(QStringLiteral("другой"), saveAs));
    EXPECT_EQ(ReadBytes(doc), cp1251(QStringLiteral("новый\r\n")));

    // A failed write does not let the command go on.
    QFile::setPermissions(doc, QFileDevice::ReadOwner);
    prompts_.answers = {Answer::Yes};
    EXPECT_FALSE(SAVE_ON_EXIT(QStringLiteral("другой"), saveAs));
    QFile::setPermissions(doc, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A never-saved document runs Save As; its cancellation cancels.
    CurrentFileName = ScratchDocumentPath();
    DocOrigin.clear();
    prompts_.answers = {Answer::Yes};
    saveAsResult = SaveResult::Cancelled;
    EXPECT_FALSE(SAVE_ON_EXIT(QStringLiteral("x"), saveAs));
    prompts_.answers = {Answer::Yes};
    saveAsResult = SaveResult::Saved;
    EXPECT_TRUE(SAVE_ON_EXIT(QStringLiteral("x"), saveAs));
    EXPECT_EQ(saveAsRuns, 2);
    EXPECT_FALSE(QFile::exists(ScratchDocumentPath()));
}

TEST_F(DocumentsTest, NoInTheSaveQuestionLeavesAReserveCopyOnlyWhenSwitchedOn)
{
    CurrentFileName = path(QStringLiteral("index.html"));
    DocOrigin = OriginOpening;
    DocModified = true;

    setReserve(false);
    prompts_.answers = {Answer::No};
    EXPECT_TRUE(SAVE_ON_EXIT(QStringLiteral("черновик"), {}));
    EXPECT_FALSE(QDir(BackupFolder).exists());

    setReserve(true);
    prompts_.answers = {Answer::No};
    EXPECT_TRUE(SAVE_ON_EXIT(QStringLiteral("черновик"), {}));
    const QStringList copies = QDir(BackupFolder).entryList(QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies[0].endsWith(QStringLiteral(")_index.html")));
    EXPECT_EQ(ReadBytes(BackupFolder + copies[0]), cp1251(QStringLiteral("черновик\r\n")));
    EXPECT_FALSE(QFile::exists(CurrentFileName));

    // A copy that cannot be written is reported; the user's "No" still stands.
    QDir(BackupFolder).removeRecursively();
    WriteBytes(programFolder() + QStringLiteral("Backup"), "a file in the way");
    BackupFolder = programFolder() + QStringLiteral("Backup/");
    prompts_.answers = {Answer::No};
    EXPECT_TRUE(SAVE_ON_EXIT(QStringLiteral("черновик"), {}));
    EXPECT_EQ(prompts_.count(QStringLiteral("message")), 1);
}

TEST_F(DocumentsTest, StateTableAndSaveRules)
{
    const DocumentState start{path(QStringLiteral("a.html")), OriginSaving, EncodingUtf8, true};

    const DocumentState opened = ApplyDocumentEvent(start, DocumentEvent::Opened, QStringLiteral("/b.css"), EncodingCp1251);
    EXPECT_EQ(opened, (DocumentState{QStringLiteral("/b.css"), OriginOpening, EncodingCp1251, false}));

    const DocumentState fresh = ApplyDocumentEvent(start, DocumentEvent::NewEmpty);
    EXPECT_EQ(fresh, (DocumentState{ScratchDocumentPath(), QString(), EncodingUtf8, true}));

    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::TextImported, QStringLiteral("/t.html")),
              (DocumentState{QStringLiteral("/t.html"), OriginOpening, EncodingUtf8, false}));
    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::ArchiveImported),
              (DocumentState{ScratchDocumentPath(), QString(), EncodingUtf8, false}));
    EXPECT_EQ(ApplyDocumentEvent(fresh, DocumentEvent::SavedAs, QStringLiteral("/c.html")),
              (DocumentState{QStringLiteral("/c.html"), OriginSaving, EncodingUtf8, false}));
    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::Saved), (DocumentState{start.fileName, OriginSaving, EncodingUtf8, false}));
    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::EncodingChosen, {}, EncodingCp1251),
              (DocumentState{start.fileName, OriginSaving, EncodingCp1251, true}));
    // An encoding out of range changes nothing.
    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::EncodingChosen, {}, 7), start);

    SetDocumentState(opened);
    EXPECT_EQ(CurrentFileName, QStringLiteral("/b.css"));
    EXPECT_EQ(CurrentDocumentState(), opened);

    EXPECT_EQ(SaveFileRoute(OriginOpening), SaveRoute::OwnPath);
    EXPECT_EQ(SaveFileRoute(OriginSaving), SaveRoute::OwnPath);
    EXPECT_EQ(SaveFileRoute(QString()), SaveRoute::SaveAs);

    // Save As of the scratch document deletes it, unless it was saved onto itself.
    EXPECT_TRUE(DeleteScratchAfterSaveAs(ScratchDocumentPath(), path(QStringLiteral("x.html"))));
    EXPECT_FALSE(DeleteScratchAfterSaveAs(ScratchDocumentPath(), ScratchDocumentPath()));
    EXPECT_FALSE(DeleteScratchAfterSaveAs(ScratchDocumentPath(), programFolder() + QStringLiteral("./sub/../new_document.html")));
    EXPECT_FALSE(DeleteScratchAfterSaveAs(path(QStringLiteral("y.html")), path(QStringLiteral("x.html"))));
}

TEST_F(DocumentsTest, DocumentKindTitlesAndDrop)
{
    for (const char* p : {"/s/a.html", "/s/a.HTM", "/s/b.c.Htt"})
        EXPECT_TRUE(IsHtmlPath(QString::fromLatin1(p))) << p;
    for (const char* p : {"/s/a.css", "/s/a.html.bak", "/s/noext", "/s.html/page", ""})
        EXPECT_FALSE(IsHtmlPath(QString::fromLatin1(p))) << p;

    CurrentFileName = ScratchDocumentPath();
    EXPECT_TRUE(CurrentIsNew());
    EXPECT_TRUE(CurrentIsHTML());
    CurrentFileName = ScratchDocumentPath().toUpper();
    EXPECT_FALSE(CurrentIsNew());

    EXPECT_EQ(MainWindowCaption(QStringLiteral("/site/index.html")), QStringLiteral("Veltmark - index.html"));
    EXPECT_EQ(ApplicationTitle(QStringLiteral("/site/index.html")), QStringLiteral("index.html - Veltmark"));
    EXPECT_EQ(ContainingFolder(QStringLiteral("/site/index.html")), QStringLiteral("/site/"));
    EXPECT_EQ(ContainingFolder(QString()), QString());

    WriteBytes(path(QStringLiteral("p.HTML")), "x");
    WriteBytes(path(QStringLiteral("p.pdf")), "x");
    EXPECT_EQ(ClassifyDroppedFile(path(QStringLiteral("p.HTML"))), DropKind::Document);
    EXPECT_EQ(ClassifyDroppedFile(path(QStringLiteral("gone.html"))), DropKind::Ignored);
    EXPECT_EQ(ClassifyDroppedFile(path(QStringLiteral("pic.JPEG"))), DropKind::Image);
    EXPECT_EQ(ClassifyDroppedFile(path(QStringLiteral("p.pdf"))), DropKind::Ignored);

    CurrentFileName = path(QStringLiteral("p.HTML"));
    EXPECT_TRUE(OpenContainingFolder());
    CurrentFileName.clear();
    EXPECT_FALSE(OpenContainingFolder());
}

TEST_F(DocumentsTest, ClipboardTextLeavesTheDocumentAlone)
{
    WriteBytes(path(QStringLiteral("c.txt")), cp1251(QStringLiteral("один\rдва")));
    CurrentFileName = path(QStringLiteral("doc.html"));
    DocEncoding = EncodingUtf8;
    EXPECT_EQ(ClipboardTextOfFile(path(QStringLiteral("c.txt"))), QStringLiteral("один\r\nдва\r\n"));
    EXPECT_EQ(CurrentFileName, path(QStringLiteral("doc.html")));
    EXPECT_EQ(DocEncoding, EncodingUtf8);
    WriteBytes(path(QStringLiteral("u.html")), QByteArray("charset=utf-8\n") + QStringLiteral("три").toUtf8());
    EXPECT_EQ(ClipboardTextOfFile(path(QStringLiteral("u.html"))), QStringLiteral("charset=utf-8\r\nтри\r\n"));
    EXPECT_FALSE(ClipboardTextOfFile(path(QStringLiteral("none.txt"))));
}

TEST_F(DocumentsTest, InsertAtCaretKeepsTheCaret)
{
    MemoryTextModel m(QStringLiteral("first\r\nsecond line\r\nthird"));
    m.setSelStart(7 + 3); // line 1, column 3
    InsertAtCaret(m, QStringLiteral("<b>"));
    EXPECT_EQ(m.text(), QStringLiteral("first\r\nsec<b>ond line\r\nthird"));
    EXPECT_EQ(m.selStart(), 10);
    EXPECT_EQ(m.selLength(), 0);

    MemoryTextModel empty;
    InsertAtCaret(empty, QStringLiteral("x"));
    EXPECT_EQ(empty.text(), QStringLiteral("x"));
}

} // namespace
