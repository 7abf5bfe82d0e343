#include "TestSupport.h"

#include "platform/Folders.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using testing_support::IsolatedTest;
using testing_support::WriteBytes;

namespace {

TEST(UtilitiesText, ReplaceTextLeftToRight)
{
    EXPECT_EQ(ReplaceText(QStringLiteral("abcabc"), QStringLiteral("b"), QStringLiteral("XX"), true), QStringLiteral("aXXcaXXc"));
    // Continues after the inserted replacement: no re-matching inside it.
    EXPECT_EQ(ReplaceText(QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa"), true), QStringLiteral("aaaaaa"));
    EXPECT_EQ(ReplaceText(QStringLiteral("aaaa"), QStringLiteral("aa"), QStringLiteral("b"), true), QStringLiteral("bb"));
    // A one-character match at the very end, ignoring case.
    EXPECT_EQ(ReplaceText(QStringLiteral("xyZ"), QStringLiteral("z"), QStringLiteral("!"), false), QStringLiteral("xy!"));
    EXPECT_EQ(ReplaceText(QStringLiteral("Ёлка ёлка"), QStringLiteral("ЁЛКА"), QStringLiteral("ель"), false), QStringLiteral("ель ель"));
    // Case-sensitive replacement of an upper-case letter leaves the lower-case one.
    EXPECT_EQ(ReplaceText(QStringLiteral("Aa"), QStringLiteral("A"), QStringLiteral("b"), true), QStringLiteral("ba"));
    EXPECT_EQ(ReplaceText(QStringLiteral("abc"), QString(), QStringLiteral("x"), true), QStringLiteral("abc"));
    EXPECT_EQ(ReplaceText(QString(), QStringLiteral("a"), QStringLiteral("x"), false), QString());
}

TEST(UtilitiesText, SplitAndFind)
{
    EXPECT_EQ(SplitToList(QStringLiteral("a--b--"), QStringLiteral("--")), QStringList({"a", "b"}));
    EXPECT_EQ(SplitToList(QStringLiteral("a\rb\nc\r\n\r\nd"), QStringLiteral("|")), QStringList({"a", "b", "c", "", "d"}));
    EXPECT_EQ(SplitLines(QString()), QStringList());
    EXPECT_EQ(FindText(QStringLiteral("Hello"), QStringLiteral("LL"), false), 3);
    EXPECT_EQ(FindText(QStringLiteral("Hello"), QStringLiteral("LL"), true), -1);
    EXPECT_EQ(FindText(QStringLiteral("Hello"), QStringLiteral("H"), true), 1);
    EXPECT_EQ(SquashRepeats(QStringLiteral("a  b   c d"), u' '), QStringLiteral("a b c d"));
    EXPECT_EQ(SquashRepeats(QStringLiteral("--a-"), u'-'), QStringLiteral("-a-"));
}

TEST(UtilitiesText, ExtractNumberAndBooleans)
{
    EXPECT_EQ(ExtractNumber(QStringLiteral("x-1-2y3")), QStringLiteral("-123"));
    EXPECT_EQ(ExtractNumber(QStringLiteral("-")), QStringLiteral("0"));
    EXPECT_EQ(ExtractNumber(QStringLiteral("abc")), QStringLiteral("0"));
    EXPECT_EQ(ExtractNumber(QStringLiteral("12px")), QStringLiteral("12"));
    EXPECT_EQ(ExtractNumber(QStringLiteral("5-")), QStringLiteral("5"));
    for (const char* yes : {"yes", "True", "t", "1", "Y", "ok", "TRUE"})
        EXPECT_TRUE(ParseBool(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"0", "no", "", "2", "truee", " 1"})
        EXPECT_FALSE(ParseBool(QString::fromLatin1(no))) << no;
    EXPECT_EQ(BoolToText(true), QStringLiteral("1"));
    EXPECT_EQ(BoolToText(false), QStringLiteral("0"));
    EXPECT_EQ(HexToInt(QStringLiteral("ff")), 255);
    EXPECT_EQ(HexToInt(QStringLiteral("1Fh")), 31);
    EXPECT_EQ(HexToInt(QStringLiteral("1G")), 0);
    EXPECT_EQ(HexToInt(QString()), 0);
    EXPECT_EQ(HexToInt(QStringLiteral("00EAEEE8")), 0x00EAEEE8);
}

TEST(UtilitiesText, DateStampFormat)
{
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5, 4, 32));
    EXPECT_EQ(DateStamp(t), QStringLiteral("07.03.26_09.05_04032"));
}

TEST(UtilitiesPaths, ExtensionsAndNames)
{
    EXPECT_EQ(FileExtension(QStringLiteral("/my.folder/file")), QStringLiteral("folder/file"));
    EXPECT_EQ(FileExtension(QStringLiteral("/site/a.HTML")), QStringLiteral("HTML"));
    EXPECT_EQ(FileExtension(QStringLiteral("/site/a")), QString());
    EXPECT_EQ(FileBaseName(QStringLiteral("/site/page.html")), QStringLiteral("page"));
    EXPECT_EQ(FileBaseName(QStringLiteral("/my.folder/file")), QString());
    EXPECT_EQ(StripExtension(QStringLiteral("a.b.c")), QStringLiteral("a.b"));
    EXPECT_EQ(StripExtension(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(IncludeBackslash(QStringLiteral("/a")), QStringLiteral("/a/"));
    EXPECT_EQ(IncludeBackslash(QStringLiteral("/a/")), QStringLiteral("/a/"));
    EXPECT_EQ(LongPathName(QStringLiteral("/x/y")), QStringLiteral("/x/y"));
}

TEST(UtilitiesPaths, RelativePath)
{
    const QString doc = QStringLiteral("/site/pages/a.html");
    EXPECT_EQ(RelativePath(doc, QStringLiteral("/site/img/b.gif"), false), QStringLiteral("../img/b.gif"));
    EXPECT_EQ(RelativePath(doc, QStringLiteral("/site/pages/img/My b.gif"), true, true), QStringLiteral("img/my%20b.gif"));
    // Where file names differ by case, the case stays.
    EXPECT_EQ(RelativePath(doc, QStringLiteral("/site/pages/img/My b.gif"), true, false), QStringLiteral("img/My%20b.gif"));
    EXPECT_EQ(RelativePath(doc, QStringLiteral("/site/pages/"), false), QString());
    // Two levels up: "../" twice, the rest once.
    EXPECT_EQ(RelativePath(QStringLiteral("/site/a/b/page.html"), QStringLiteral("/site/css/main.css"), false),
              QStringLiteral("../../css/main.css"));
    EXPECT_EQ(RelativePath(doc, QStringLiteral("/other/x.png"), false), QStringLiteral("../../other/x.png"));
}

class UtilitiesFiles : public IsolatedTest {};

TEST_F(UtilitiesFiles, ListFilesIncludesHiddenAndSkipsFolders)
{
    const QString f = programFolder() + QStringLiteral("list");
    QDir().mkpath(f + QStringLiteral("/sub.html"));
    WriteBytes(f + QStringLiteral("/a.html"), "x");
    WriteBytes(f + QStringLiteral("/.hidden.HTML"), "x");
    WriteBytes(f + QStringLiteral("/b.css"), "x");
    QStringList names = ListFiles(f, QStringLiteral("*.html"));
    names.sort();
    EXPECT_EQ(names, QStringList({".hidden.HTML", "a.html"}));
}

TEST_F(UtilitiesFiles, DeleteFolderRemovesEverythingButNeverFollowsLinks)
{
    const QString outside = programFolder() + QStringLiteral("outside");
    QDir().mkpath(outside);
    WriteBytes(outside + QStringLiteral("/keep.txt"), "keep");
    const QString f = programFolder() + QStringLiteral("Backup");
    QDir().mkpath(f + QStringLiteral("/deep/er"));
    WriteBytes(f + QStringLiteral("/deep/er/x.html"), "x");
    WriteBytes(f + QStringLiteral("/ro.txt"), "x");
    QFile::setPermissions(f + QStringLiteral("/ro.txt"), QFile::ReadOwner);
    ASSERT_TRUE(QFile::link(outside, f + QStringLiteral("/link")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/keep.txt"), f + QStringLiteral("/deep/filelink")));
    EXPECT_TRUE(DeleteFolder(f));
    EXPECT_FALSE(QFileInfo::exists(f));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep.txt")));
}

TEST_F(UtilitiesFiles, ShellOpenGoesThroughTheLauncher)
{
    EXPECT_TRUE(ShellOpen(QStringLiteral("/site/page; rm -rf ~.html")));
    ASSERT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(shell_.launches[0].args, QStringList({"/site/page; rm -rf ~.html"}));
    EXPECT_EQ(shell_.launches[0].workFolder, QStringLiteral("/site"));
}

TEST_F(UtilitiesFiles, ShellVerbsOnTheRegistry)
{
    const QString caption = QStringLiteral("   редактировать в Veltmark");
    RegisterShellVerb(QStringLiteral("HTML"), caption, QStringLiteral("[appexename]"));
    QString progId;
    ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral(".HTML"), QString(), progId));
    EXPECT_EQ(progId, QStringLiteral("HTMLfile"));
    QString command;
    ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral("htmlfile\\shell\\") + caption + QStringLiteral("\\command"), QString(), command));
    EXPECT_EQ(command, platform::ProgramFilePath() + QStringLiteral(" \"%1\""));

    // An existing file type is kept and the verb goes under it.
    RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral(".css"), QString(), QStringLiteral("CSSFile"));
    RegisterShellVerb(QStringLiteral("CSS"), caption, QStringLiteral("/opt/editor"));
    ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral("CSSFile\\shell\\") + caption + QStringLiteral("\\command"), QString(), command));
    EXPECT_EQ(command, QStringLiteral("/opt/editor \"%1\""));

    UnregisterShellVerb(QStringLiteral("HTML"), caption);
    QString gone = QStringLiteral("unchanged");
    EXPECT_FALSE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral("HTMLfile\\shell\\") + caption + QStringLiteral("\\command"), QString(), gone));
    EXPECT_EQ(gone, QStringLiteral("unchanged"));
    // Unregistering an extension without a file type does nothing.
    UnregisterShellVerb(QStringLiteral("JS"), caption);
}

TEST_F(UtilitiesFiles, FileVersionOfTheProgramOnly)
{
    EXPECT_EQ(FileVersion(platform::ProgramFilePath()), QStringLiteral("1.2.0.0"));
    QString error;
    EXPECT_EQ(FileVersion(QStringLiteral("/nonexistent/x"), &error), std::nullopt);
    EXPECT_EQ(error, QStringLiteral("Can't get file version information for /nonexistent/x"));
}

TEST_F(UtilitiesFiles, ShowNoticeGoesThroughThePrompts)
{
    ShowNotice(QStringLiteral("Введите число"));
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].kind, QStringLiteral("notice"));
    EXPECT_EQ(prompts_.shown[0].text, QStringLiteral("Введите число"));
}

} // namespace
