#include "TestSupport.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "editor/MemoryTextModel.h"
#include "platform/Codecs.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <random>
#include <unistd.h>

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
    // The text may be changed between the two (edit).
    QByteArray roundTrip(const QByteArray& bytes, int* decided = nullptr, const std::function<QString(QString)>& edit = {})
    {
        WriteBytes(path(QStringLiteral("in.html")), bytes);
        QString error;
        const std::optional<DecodedDocument> doc = LoadDocument(path(QStringLiteral("in.html")), &error);
        EXPECT_TRUE(doc.has_value()) << error.toStdString();
        if (!doc)
            return {};
        if (decided)
            *decided = doc->encoding;
        const QString text = edit ? edit(doc->text) : doc->text;
        EXPECT_TRUE(DocSave(path(QStringLiteral("out.html")), text, doc->encoding, doc->lineEnds, &error)) << error.toStdString();
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
    EXPECT_EQ(roundTrip(page, &decided), page);
    EXPECT_EQ(decided, EncodingCp1251);

    const DecodedDocument doc = CHECK_ENCODE(page);
    EXPECT_TRUE(doc.text.contains(QStringLiteral("«ёлка» №1")));
    EXPECT_FALSE(doc.text.endsWith(QStringLiteral("\r\n")));
}

// Every way a page or a style sheet names its charset, and the bytes when it names none.
TEST_F(DocumentsTest, EncodingComesFromTheDocumentAlone)
{
    const QByteArray utf = QStringLiteral("Ж").toUtf8();
    const QByteArray ansi = cp1251(QStringLiteral("Ж"));
    const struct {
        QByteArray bytes;
        int expected;
    } rows[] = {
        {"<meta charset=utf-8>" + ansi, EncodingUtf8},
        {"<meta charset=\"utf-8\">" + ansi, EncodingUtf8},
        {"<META CHARSET='UTF-8'>" + ansi, EncodingUtf8},
        {"<meta http-equiv=Content-Type content=\"text/html; charset = utf-8\">" + ansi, EncodingUtf8},
        {"<meta content=\"text/html;charset=utf8\">" + ansi, EncodingUtf8},
        {"@charset \"utf-8\";\r\nbody{}" + ansi, EncodingUtf8},
        {"<meta charset=\"windows-1251\">" + utf, EncodingCp1251},
        {"<meta charset=cp1251>" + utf, EncodingCp1251},
        {"@charset 'x-cp1251';" + utf, EncodingCp1251},
        // The first declaration decides.
        {"charset=WINDOWS-1251 charset=utf-8", EncodingCp1251},
        // A byte order mark outranks a declaration.
        {"\xEF\xBB\xBF<meta charset=windows-1251>", EncodingUtf8},
        // No declaration: the bytes.
        {"<p>" + utf + "</p>", EncodingUtf8},
        {"<p>" + ansi + "</p>", EncodingCp1251},
        {"<p>plain</p>", EncodingCp1251},
        {{}, EncodingCp1251},
        // Not declarations: a cut name, an unknown one, "charset" inside a word, no "=".
        {"charset=utf-" + utf, EncodingUtf8},
        {"charset=koi8-r" + ansi, EncodingCp1251},
        {"xcharset=utf-8" + ansi, EncodingCp1251},
        {"charset utf-8" + ansi, EncodingCp1251},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CharsetEncoding(row.bytes), row.expected) << row.bytes.toStdString();
}

// Open, type, save: the file is the bytes read plus the typed text's bytes,
// in the file's own encoding and line ends.
TEST_F(DocumentsTest, SavingKeepsEveryByteNotEdited)
{
    const QString typed = QStringLiteral("Привет ₽");
    const QString typedAnsi = QStringLiteral("Привет");
    const struct {
        const char* head;
        bool utf8;
    } encodings[] = {
        {"<meta charset=\"utf-8\">", true},
        {"<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>", false},
        {"\xEF\xBB\xBF<p>", true},
        {"@charset \"UTF-8\";", true},
        {"<p>", false}, // ASCII, no declaration
    };
    for (const auto& e : encodings) {
        for (const char* br : {"\r\n", "\n"}) {
            const QString add = e.utf8 ? typed : typedAnsi;
            const QByteArray addBytes = e.utf8 ? add.toUtf8() : cp1251(add);
            const QByteArray body = e.utf8 ? QStringLiteral("Текст").toUtf8() : (QByteArrayView(e.head).startsWith("<p>") ? QByteArray("Text") : cp1251(QStringLiteral("Текст")));
            const QByteArray original = QByteArray(e.head) + br + body + br + "end" + br;
            const QByteArray expected = QByteArray(e.head) + br + body + addBytes + br + "end" + br;
            const QByteArray saved = roundTrip(original, nullptr, [&](QString text) {
                const qsizetype at = text.indexOf(QStringLiteral("\r\nend"));
                return text.insert(at, add);
            });
            EXPECT_EQ(saved, expected) << e.head << " / " << (br[0] == '\r' ? "CRLF" : "LF");
            EXPECT_EQ(roundTrip(original), original) << e.head;
        }
    }
}

TEST_F(DocumentsTest, InvalidBytesInUtf8ComeBackAsTheyWere)
{
    const QByteArray page = QByteArray("<meta charset=utf-8>\xFF\xFE ") + cp1251(QStringLiteral("Привет")) + " " + QStringLiteral("ясно").toUtf8() + "\r\n";
    const DecodedDocument doc = CHECK_ENCODE(page);
    EXPECT_EQ(doc.encoding, EncodingUtf8);
    EXPECT_EQ(doc.invalidBytes, 8);
    EXPECT_TRUE(doc.text.endsWith(QStringLiteral(" ясно")));
    EXPECT_EQ(roundTrip(page), page);
    // Chosen Windows-1251 in the menu: the raw bytes are still themselves.
    EXPECT_EQ(DocumentBytes(doc.text, EncodingCp1251), QByteArray("<meta charset=utf-8>\xFF\xFE ") + cp1251(QStringLiteral("Привет ясно")) + "\r\n");
    EXPECT_TRUE(UnencodableInCp1251(doc.text).empty());
}

TEST_F(DocumentsTest, LineEndsAreTheFilesOwn)
{
    EXPECT_EQ(CHECK_ENCODE("a\rb\nc\r\nd").text, QStringLiteral("a\r\nb\r\nc\r\nd"));
    EXPECT_EQ(CHECK_ENCODE("a\n\rb").text, QStringLiteral("a\r\n\r\nb"));
    const struct {
        QByteArray read;
        QByteArray written;
    } rows[] = {
        {"<p>last", "<p>last\r\n"}, // no line end: one is added
        {"one\ntwo\n", "one\ntwo\n"},
        {"one\ntwo", "one\ntwo\n"},
        {"one\n\n", "one\n\n"},
        {"one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        {"one\rtwo\nthree\r\n", "one\r\ntwo\r\nthree\r\n"}, // mixed
        {"one\rtwo\r", "one\r\ntwo\r\n"},
        {"x\r\n\r\n\r\n", "x\r\n\r\n\r\n"},
        {{}, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(roundTrip(row.read), row.written) << row.read.toStdString();

    // The editor's own text: every line gets the line end, the last one included.
    EXPECT_EQ(DocumentBytes(QStringLiteral("a\r\nb"), EncodingCp1251), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(DocumentBytes(QStringLiteral("a\nb\r"), EncodingCp1251), QByteArray("a\r\nb\r\n\r\n"));
    EXPECT_EQ(DocumentBytes(QStringLiteral("a\r\nb"), EncodingCp1251, LineEnds::Lf), QByteArray("a\nb\n"));
}

TEST_F(DocumentsTest, ChosenEncodingDecidesTheBytesWithoutReopening)
{
    const QByteArray page = QByteArray("<meta charset=utf-8>") + QStringLiteral("Текст").toUtf8();
    const DecodedDocument doc = CHECK_ENCODE(page);
    // "Windows-1251, обычный текст" chosen before saving: written as ANSI.
    EXPECT_EQ(DocumentBytes(doc.text, EncodingCp1251), QByteArray("<meta charset=utf-8>") + cp1251(QStringLiteral("Текст")) + "\r\n");
    EXPECT_EQ(DocumentBytes(doc.text, EncodingUtf8), page + "\r\n");
    // UTF-8 is written without a byte-order mark.
    EXPECT_FALSE(DocumentBytes(QStringLiteral("Ж"), EncodingUtf8).startsWith("\xEF\xBB\xBF"));
}

TEST_F(DocumentsTest, WhatIsReadIsWrittenBackByteForByte)
{
    // Over arbitrary bytes: written back they are the bytes read, but for the
    // line ends of a mixed file and a final line end added.
    std::mt19937 gen(20261208);
    std::uniform_int_distribution<int> len(0, 64);
    const char alphabet[] = "charset=utf-8 CHARSET=WINDOWS-1251\r\n\r\xD0\x96\xE2\x9C\x93\xF0\x9F\x98\x80\xC0\xFF\x98\x80\xED\xA0\x80\xEF\xBB\xBF";
    std::uniform_int_distribution<int> pick(0, int(sizeof(alphabet)) - 2);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes;
        const int n = len(gen);
        for (int i = 0; i < n; ++i)
            bytes.append(round % 3 == 0 ? char(anyByte(gen)) : alphabet[pick(gen)]);
        const DecodedDocument doc = CHECK_ENCODE(bytes);
        const QByteArray written = DocumentBytes(doc.text, doc.encoding, doc.lineEnds);
        QByteArray expected = bytes;
        if (doc.lineEnds == LineEnds::CrLf)
            expected = QString::fromLatin1(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toLatin1();
        const QByteArray br = doc.lineEnds == LineEnds::Lf ? "\n" : "\r\n";
        if (!expected.isEmpty() && !expected.endsWith(br))
            expected += br;
        ASSERT_EQ(written, expected) << bytes.toHex().toStdString();
        const DecodedDocument again = CHECK_ENCODE(written);
        ASSERT_EQ(again.encoding, doc.encoding) << bytes.toHex().toStdString();
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
    EXPECT_FALSE(DocSave(target, QStringLiteral("new"), EncodingCp1251, LineEnds::CrLf, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Не удалось сохранить файл"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("locked.html")));
    EXPECT_EQ(ReadBytes(target), QByteArray("old content\r\n"));

    // A missing folder and a folder in place of the file.
    error.clear();
    EXPECT_FALSE(DocSave(path(QStringLiteral("no/such/folder/x.html")), QStringLiteral("x"), EncodingCp1251, LineEnds::CrLf, &error));
    EXPECT_FALSE(error.isEmpty());
    QDir().mkpath(path(QStringLiteral("folder.html")));
    error.clear();
    EXPECT_FALSE(DocSave(path(QStringLiteral("folder.html")), QStringLiteral("x"), EncodingCp1251, LineEnds::CrLf, &error));
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
    EXPECT_TRUE(DocSave(plain, QStringLiteral("new"), EncodingCp1251, LineEnds::CrLf, &error));
    EXPECT_EQ(ReadBytes(plain), QByteArray("new\r\n"));
    const QStringList left = QDir(programFolder()).entryList({QStringLiteral("plain.html*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("plain.html")});
}

TEST_F(DocumentsTest, FileInAFolderThatCannotBeWrittenIsWrittenInPlace)
{
    // A new file that cannot be created does not speak of a previous one.
    QString error;
    EXPECT_FALSE(DocSave(path(QStringLiteral("no/such/x.html")), QStringLiteral("x"), EncodingCp1251, LineEnds::CrLf, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Не удалось создать файл"))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("Прежний")));

    // The in-place write itself (the fallback for such a folder).
    const QString file = path(QStringLiteral("in-place.html"));
    WriteBytes(file, "old content, longer than the new\r\n");
    EXPECT_TRUE(WriteFileInPlace(file, "new\r\n", &error));
    EXPECT_EQ(ReadBytes(file), QByteArray("new\r\n"));

    // Through the save, where the folder really refuses (not for root, who may write anywhere).
    if (geteuid() == 0)
        return;
    const QString folder = path(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString page = folder + QStringLiteral("/page.html");
    WriteBytes(page, "old\r\n");
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_TRUE(DocSave(page, QStringLiteral("new"), EncodingCp1251, LineEnds::CrLf, &error)) << error.toStdString();
    EXPECT_EQ(ReadBytes(page), QByteArray("new\r\n"));
    EXPECT_FALSE(DocSave(folder + QStringLiteral("/other.html"), QStringLiteral("x"), EncodingCp1251, LineEnds::CrLf, &error));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(DocumentsTest, ReadFailures)
{
    QString error;
    EXPECT_FALSE(LoadDocument(path(QStringLiteral("missing.html")), &error));
    EXPECT_EQ(error, FileNotFoundMessage);
    QDir().mkpath(path(QStringLiteral("dir.html")));
    EXPECT_FALSE(LoadDocument(path(QStringLiteral("dir.html")), &error));
    EXPECT_NE(error, FileNotFoundMessage);
    EXPECT_FALSE(LoadDocument(QString()));
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

    const DocumentState opened = ApplyDocumentEvent(start, DocumentEvent::Opened, QStringLiteral("/b.css"), EncodingCp1251, LineEnds::Lf);
    EXPECT_EQ(opened, (DocumentState{QStringLiteral("/b.css"), OriginOpening, EncodingCp1251, false, LineEnds::Lf}));

    // A new document takes nothing from the previous one.
    const DocumentState fresh = ApplyDocumentEvent(opened, DocumentEvent::NewEmpty);
    EXPECT_EQ(fresh, (DocumentState{ScratchDocumentPath(), QString(), EncodingCp1251, false, LineEnds::CrLf}));

    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::TextImported, QStringLiteral("/t.html")),
              (DocumentState{QStringLiteral("/t.html"), OriginOpening, EncodingUtf8, false}));
    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::ArchiveImported),
              (DocumentState{ScratchDocumentPath(), QString(), EncodingUtf8, false}));
    EXPECT_EQ(ApplyDocumentEvent(start, DocumentEvent::SavedAs, QStringLiteral("/c.html")),
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
