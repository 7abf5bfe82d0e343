#include "TestSupport.h"

#include "app/Install.h"
#include "platform/Codecs.h"
#include "platform/Folders.h"
#include "settings/ShellIntegration.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFileInfo>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class InstallTest : public IsolatedTest {
protected:
    QByteArray section(const QString& name) const { return ReadBytes(programFolder() + name + QStringLiteral(".ZEL")); }
    QStringList folderEntries() const
    {
        return QDir(programFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(InstallTest, DeclinedSetupWritesNothing)
{
    prompts_.answers = {platform::Answer::No};
    EXPECT_EQ(FirstRunCheck(), SetupResult::Declined);
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].kind, QStringLiteral("yesno"));
    EXPECT_EQ(prompts_.shown[0].text, QStringLiteral("Установить Veltmark в текущую папку ?"));
    EXPECT_TRUE(folderEntries().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(sysRoot() + QStringLiteral("registry.json")));
}

TEST_F(InstallTest, SetupWritesTheDefaultSectionsByteForByte)
{
    prompts_.answers = {platform::Answer::Yes};
    EXPECT_EQ(FirstRunCheck(), SetupResult::Performed);
    EXPECT_EQ(section(opt::Program),
              QByteArray("[LEFT]0\r\n[TOP]0\r\n[WIDTH]747\r\n[HEIGHT]617\r\n[LOADLASTFILE]1\r\n[INSERTTOSYSMENU]1\r\n"
                         "[SCROLL_ONLYVERTICAL]0\r\n[RECENTLEN]15\r\n[WINDOWSTATE]NORMAL\r\n[FONT]Microsoft Sans Serif\r\n"
                         "[FONTSIZE]10\r\n[DISABLEUNDO]0\r\n[BACKGROUNDCOLOR]$00EAEEE8\r\n[2QUOTES]1\r\n"
                         "[SYSBROWSPATH]C:\\Program Files\\\r\n[CL3TO6]1\r\n[UNDOCOUNT]999\r\n[RESERVE]1\r\n"));
    for (const QString& empty : {opt::Recent, opt::RColors, opt::UrlAssigns}) {
        EXPECT_TRUE(QFileInfo::exists(programFolder() + empty + QStringLiteral(".ZEL"))) << empty.toStdString();
        EXPECT_TRUE(section(empty).isEmpty());
    }

    // Snippets: eight items, Windows-1251 on disk, stored line breaks kept as "#tsnwstng".
    const QByteArray macros = section(opt::Macros);
    EXPECT_TRUE(platform::DecodeCp1251(macros).startsWith(
        QStringLiteral("[Основа HTML страницы]<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">#tsnwstng<HTML>")));
    EXPECT_TRUE(macros.endsWith("\r\n[\xD4\xF0\xE5\xE9\xEC \xE1\xE5\xE7 \xF1\xEA\xF0\xEE\xEB\xEB\xE8\xED\xE3\xE0 \xE8 \xF0\xE0\xEC\xEE\xEA]"
                                "<iframe src='' scrolling=no frameborder=0></iframe>\r\n"));
    Opt_SelectFile(opt::Macros);
    EXPECT_EQ(Opt_Count(), 8);
    EXPECT_EQ(Opt_NameAt(6), QStringLiteral("<TABLE>"));
    EXPECT_EQ(Opt_ValueAt(3), QStringLiteral("<style type=\"text/css\">\r\n\r\n</style>"));

    // The CSS reference: one token an item, empty values, in order.
    Opt_SelectFile(opt::StyleHelp);
    EXPECT_EQ(Opt_NameAt(0), QStringLiteral("Отображение"));
    EXPECT_EQ(Opt_NameAt(1), QStringLiteral("-display"));
    EXPECT_EQ(Opt_NameAt(2), QStringLiteral("=inline"));
    EXPECT_EQ(Opt_NameAt(Opt_Count() - 1), QStringLiteral("=color"));
    EXPECT_EQ(Opt_ValueAt(1), QString());
    EXPECT_EQ(Opt_Count(), DefaultSectionItems(opt::StyleHelp).size());
}

TEST_F(InstallTest, SetupFillsOnlyWhatIsMissing)
{
    WriteBytes(programFolder() + QStringLiteral("Macros.ZEL"), "[Mine]my snippet\r\n");
    WriteBytes(programFolder() + QStringLiteral("Recent.ZEL"), "[01.01.26 1:00:00.000]/site/a.html\r\n");
    prompts_.answers = {platform::Answer::Yes};
    EXPECT_EQ(FirstRunCheck(), SetupResult::Performed);
    EXPECT_EQ(section(opt::Macros), QByteArray("[Mine]my snippet\r\n"));
    EXPECT_EQ(section(opt::Recent), QByteArray("[01.01.26 1:00:00.000]/site/a.html\r\n"));
    EXPECT_TRUE(section(opt::Program).startsWith("[LEFT]0\r\n"));

    // Once all six exist, nothing is asked any more.
    prompts_.shown.clear();
    EXPECT_EQ(FirstRunCheck(), SetupResult::NotNeeded);
    EXPECT_TRUE(prompts_.shown.empty());

    // Deleting one brings the question back.
    QFile::remove(programFolder() + QStringLiteral("url_assigns.ZEL"));
    prompts_.answers = {platform::Answer::No};
    EXPECT_EQ(FirstRunCheck(), SetupResult::Declined);
    EXPECT_EQ(prompts_.count(QStringLiteral("yesno")), 1);
}

TEST_F(InstallTest, SetupRegistersTheVerbForTheSixExtensions)
{
    // An older verb under a file type the user already had is replaced.
    RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral(".htm"), QString(), QStringLiteral("PageFile"));
    RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral("PageFile\\shell\\") + ShellVerbCaption() + QStringLiteral("\\command"),
                   QString(), QStringLiteral("/old/editor \"%1\""));
    prompts_.answers = {platform::Answer::Yes};
    ASSERT_EQ(FirstRunCheck(), SetupResult::Performed);
    const QString expected = platform::ProgramFilePath() + QStringLiteral(" \"%1\"");
    for (const QString& ext : VerbExtensions()) {
        QString progId;
        ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, u'.' + ext, QString(), progId)) << ext.toStdString();
        QString command;
        ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\shell\\   редактировать в Veltmark\\command"),
                                  QString(), command))
            << ext.toStdString();
        EXPECT_EQ(command, expected);
    }
    QString progId;
    RegReadString(HKEY_CLASSES_ROOT, QStringLiteral(".HTM"), QString(), progId);
    EXPECT_EQ(progId, QStringLiteral("PageFile"));
    // The settings' "Система" box reads the integration as on.
    EXPECT_TRUE(ShellIntegrationOn());
    // The options-file type waits for the main window.
    EXPECT_FALSE(platform::Registry().keyExists(HKEY_CLASSES_ROOT, QStringLiteral(".ZEL")));
}

TEST_F(InstallTest, OptionsFileTypeAndIcon)
{
    ASSERT_TRUE(RegisterOptionsFileType());
    QString v;
    ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral(".ZEL"), QString(), v));
    EXPECT_EQ(v, QStringLiteral("OstrabendOptionsFile"));
    ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral("OstrabendOptionsFile"), QString(), v));
    EXPECT_EQ(v, QStringLiteral("Ostrabend Options File"));
    ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral("OstrabendOptionsFile\\DefaultIcon"), QString(), v));
    EXPECT_EQ(v, WindowsFolder() + QStringLiteral("ZEL.ico"));
    const QByteArray ico = ReadBytes(v);
    ASSERT_GT(ico.size(), 22);
    EXPECT_EQ(ico.left(6), QByteArray("\0\0\1\0\1\0", 6));
    EXPECT_EQ(ico.mid(22, 8), QByteArray("\x89PNG\r\n\x1a\n"));
}

} // namespace
