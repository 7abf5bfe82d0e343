#include "TestSupport.h"

#include "html/CheckCommand.h"
#include "html/plain/CheckCommand.h"

#include "app/Documents.h"
#include "html/TagChecker.h"
#include "html/plain/TagPass.h"
#include "platform/Codecs.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

using testing_support::WriteBytes;

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

class CheckCommandRun : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

    int run(const QStringList& files)
    {
        std::vector<std::string> names;
        for (const QString& f : files)
            names.push_back(QFile::encodeName(f).toStdString());
        char* outBuffer = nullptr;
        char* errBuffer = nullptr;
        size_t outSize = 0;
        size_t errSize = 0;
        FILE* out = open_memstream(&outBuffer, &outSize);
        FILE* err = open_memstream(&errBuffer, &errSize);
        const int code = RunCheckCommand(names, out, err);
        std::fclose(out);
        std::fclose(err);
        out_ = QString::fromUtf8(outBuffer, qsizetype(outSize));
        err_ = QString::fromUtf8(errBuffer, qsizetype(errSize));
        std::free(outBuffer);
        std::free(errBuffer);
        return code;
    }

    QTemporaryDir dir_;
    QString out_;
    QString err_;
};

TEST(CheckCommandText, ReadLikeTheEditor)
{
    // Any line end becomes CR LF, and a final one adds nothing.
    EXPECT_EQ(DocumentTextFromBytes("a\nb\rc\r\n\r\nd\n"), QStringLiteral("a\r\nb\r\nc\r\n\r\nd"));
    EXPECT_EQ(DocumentTextFromBytes(QByteArray()), QString());
    // Decided as the editor decides: a declaration, else the bytes.
    const QByteArray cyr = platform::EncodeCp1251(S("Привет"));
    EXPECT_EQ(DocumentTextFromBytes(cyr), S("Привет"));
    EXPECT_EQ(DocumentTextFromBytes(S("Привет").toUtf8()), S("Привет"));
    const QByteArray utf = "<meta content=\"text/html; CharSet=UTF-8\">" + S("Привет").toUtf8();
    EXPECT_EQ(DocumentTextFromBytes(utf), S("<meta content=\"text/html; CharSet=UTF-8\">Привет"));
    // An invalid byte in a UTF-8 page is kept as a raw byte.
    EXPECT_EQ(DocumentTextFromBytes("charset=utf-8 \xC0!"), S("charset=utf-8 ") + platform::RawByteChar(0xC0) + S("!"));
}

TEST(CheckCommandText, UpperCaseAgreesWithUnicodeWhereverThePassCanTell)
{
    // The pass compares characters only with ASCII ones: its upper case must
    // be Unicode's wherever either side is ASCII, and stay beyond ASCII
    // everywhere else.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const char16_t unicode = QChar(char16_t(c)).toUpper().unicode();
        if (c < 0x80 || unicode < 0x80)
            EXPECT_EQ(UpperOf(char16_t(c)), unicode) << std::hex << unsigned(c);
        else
            EXPECT_GE(UpperOf(char16_t(c)), 0x80) << std::hex << unsigned(c);
    }
}

TEST(CheckCommandText, LinesAndColumns)
{
    const std::u16string_view t = u"ab\r\ncd\r\n\r\nef";
    EXPECT_EQ(LineColumnAt(t, 1).line, 1u);
    EXPECT_EQ(LineColumnAt(t, 2).column, 2u);
    EXPECT_EQ(LineColumnAt(t, 5).line, 2u);
    EXPECT_EQ(LineColumnAt(t, 5).column, 1u);
    EXPECT_EQ(LineColumnAt(t, 12).line, 4u);
    EXPECT_EQ(LineColumnAt(t, 12).column, 2u);

    EXPECT_EQ(CheckReport(QStringLiteral("p.html"), QStringLiteral("<b>x</b>")), QString());
    EXPECT_EQ(CheckReport(QStringLiteral("p.html"), S("<p>\r\n  Ёж <blink>")),
              S("p.html:2:6: Ошибка! Неизвестный тег"));
    // The table message's line break and tabs become one blank.
    EXPECT_EQ(CheckReport(QStringLiteral("t.htm"), QStringLiteral("<table>\r\n<td>")),
              S("t.htm:2:1: Проверка построения таблиц... Тег <TD> не может открываться после тега <TABLE>"));
    // A file name that looks like a placeholder is printed as it is.
    EXPECT_EQ(CheckReport(QStringLiteral("%2%1.html"), QStringLiteral(">")),
              S("%2%1.html:1:1: Ошибка! Лишнее закрытие тега или тег некорректен."));
}

TEST_F(CheckCommandRun, CleanFilesPrintNothing)
{
    const QString a = file(QStringLiteral("a.html"), "<html>\n<body><p>x</p></body>\n</html>\n");
    const QString b = file(QStringLiteral("b.html"), QByteArray());
    const QString c = file(QStringLiteral("c.html"), "<!DOCTYPE html>\n<main><my-card><svg><path/></svg></my-card></main>\n"
                                                      "<table><tr><th>h</th></tr></table>\n");
    EXPECT_EQ(run({a, b, c}), 0);
    EXPECT_TRUE(out_.isEmpty());
    EXPECT_TRUE(err_.isEmpty());
}

TEST_F(CheckCommandRun, FaultsPrintOneLineEach)
{
    const QString clean = file(QStringLiteral("clean.html"), "<b>x</b>");
    // LF-only lines, Cyrillic in Windows-1251 before the fault.
    const QString bad = file(QStringLiteral("bad.html"), "<p>\n" + platform::EncodeCp1251(S("Ёж и <b <i>")) + "\n");
    const QString table = file(QStringLiteral("table.html"), "<table><tr><th>h</th></table>");
    EXPECT_EQ(run({clean, bad, table}), 1);
    const QStringList lines = out_.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << out_.toStdString();
    EXPECT_EQ(lines.at(0), bad + S(":2:6: Ошибка! Тег не закрыт."));
    EXPECT_EQ(lines.at(1), table + S(":1:22: Проверка построения таблиц... Тег </TABLE> не может быть закрыт после тега </TD>"));
    EXPECT_TRUE(err_.isEmpty());
}

TEST_F(CheckCommandRun, Utf8PageColumnsCountCharacters)
{
    const QString page = file(QStringLiteral("u.html"),
                              "<meta charset=utf-8>\r\n" + S("Жёлтый > синий").toUtf8());
    EXPECT_EQ(run({page}), 1);
    EXPECT_EQ(out_, page + S(":2:8: Ошибка! Лишнее закрытие тега или тег некорректен.\n"));
}

TEST_F(CheckCommandRun, UnreadableFilesAreReportedAndTheRestStillChecked)
{
    const QString missing = dir_.filePath(QStringLiteral("missing.html"));
    const QString bad = file(QStringLiteral("bad.html"), "a < b");
    EXPECT_EQ(run({missing, bad}), 2);
    EXPECT_TRUE(err_.contains(missing));
    EXPECT_TRUE(err_.contains(S("не найден")));
    EXPECT_EQ(out_, bad + S(":1:3: Ошибка! Тег не закрыт.\n"));

    // A device, a pipe and a file over the size limit (sparse) are refused
    // unread: no endless read, no blocked wait.
    const QString fifo = dir_.filePath(QStringLiteral("pipe.html"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile huge(dir_.filePath(QStringLiteral("huge.html")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(MaxDocumentBytes + 1));
    huge.close();
    for (const QString& refused : {QStringLiteral("/dev/zero"), fifo, huge.fileName()}) {
        EXPECT_EQ(run({refused}), 2) << refused.toStdString();
        EXPECT_TRUE(err_.contains(S("не обычный файл")) || err_.contains(S("больше 256 МБ"))) << err_.toStdString();
        EXPECT_TRUE(out_.isEmpty());
    }

    EXPECT_EQ(run({dir_.path()}), 2) << "a folder is not a page";
    EXPECT_TRUE(out_.isEmpty());
    EXPECT_FALSE(err_.isEmpty());

    EXPECT_EQ(run({}), 2);
    EXPECT_FALSE(err_.isEmpty());
}

} // namespace
