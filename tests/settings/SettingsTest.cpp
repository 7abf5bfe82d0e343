#include "TestSupport.h"

#include "app/Globals.h"
#include "settings/Settings.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <tuple>

using testing_support::IsolatedTest;
using testing_support::WriteBytes;

namespace {

class SettingsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        InitProgramFolders();
    }
    void program(const QByteArray& items) { WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), items); }
};

TEST_F(SettingsTest, NumbersMissingOrUnreadableShowTheDefaults)
{
    const struct {
        QByteArray items;
        int recent, fontSize, undo;
    } rows[] = {
        {"", 15, 10, 999},
        {"[RECENTLEN]abc\r\n[FONTSIZE]12pt\r\n[UNDOCOUNT] \r\n", 15, 10, 999},
        {"[RECENTLEN]7\r\n[FONTSIZE]14\r\n[UNDOCOUNT]50\r\n", 7, 14, 50},
        // Out of the dialog's ranges: the nearest it can show.
        {"[RECENTLEN]-3\r\n[FONTSIZE]2147483647\r\n[UNDOCOUNT]1\r\n", 0, 100, 5},
    };
    for (const auto& r : rows) {
        program(r.items);
        const ProgramSettings s = LoadSettings();
        EXPECT_EQ(s.recentLength, r.recent) << r.items.constData();
        EXPECT_EQ(s.fontSize, r.fontSize) << r.items.constData();
        EXPECT_EQ(s.undoCount, r.undo) << r.items.constData();
    }
}

TEST_F(SettingsTest, StoreWritesTheItemsInTheDialogsOrder)
{
    program("");
    const QString browser = programFolder() + QStringLiteral("browser");
    WriteBytes(browser, "#!/bin/sh\n");
    ProgramSettings s;
    s.fontName = QStringLiteral("DejaVu Sans");
    s.browserPath = browser;
    s.reserve = true;
    const StoreResult r = StoreSettings(s);
    EXPECT_TRUE(r.browserPathStored);
    Opt_SelectFile(opt::Program);
    QStringList names;
    for (int i = 0; i < Opt_Count(); ++i)
        names << Opt_NameAt(i);
    EXPECT_EQ(names, QStringList({"RECENTLEN", "FONT", "FONTSIZE", "UNDOCOUNT", "LOADLASTFILE", "DISABLEUNDO", "RESERVE",
                                  "CL3TO6", "SYSBROWSPATH", "2QUOTES", "SCROLL_ONLYVERTICAL", "EDIT_CLOSETAGS",
                                  "EDIT_COMPLETION", "EDIT_ABBREVIATIONS"}));
    EXPECT_EQ(Opt_ReadStr(opt::RECENTLEN), QStringLiteral("15"));
    EXPECT_EQ(Opt_ReadStr(opt::RESERVE), QStringLiteral("1"));

    // A path naming no file (or a folder) leaves the stored one.
    for (const QString& bad : {QStringLiteral("/no/such/browser"), programFolder(), QString()}) {
        s.browserPath = bad;
        EXPECT_FALSE(StoreSettings(s).browserPathStored);
        Opt_SelectFile(opt::Program);
        EXPECT_EQ(Opt_ReadStr(opt::SYSBROWSPATH), browser);
    }
}

TEST_F(SettingsTest, TypingSwitchesAreOnUnlessStoredAsZero)
{
    const struct {
        QByteArray items;
        bool closeTags, completion, abbreviations;
    } cases[] = {
        {"", true, true, true},
        {"[EDIT_CLOSETAGS]0\r\n[EDIT_COMPLETION]\r\n[EDIT_ABBREVIATIONS]1\r\n", false, true, true},
        {"[EDIT_CLOSETAGS]no\r\n[EDIT_COMPLETION]0\r\n[EDIT_ABBREVIATIONS]0\r\n", true, false, false},
    };
    for (const auto& c : cases) {
        program(c.items);
        const ProgramSettings s = LoadSettings();
        EXPECT_EQ(s.closeTags, c.closeTags) << c.items.constData();
        EXPECT_EQ(s.completion, c.completion) << c.items.constData();
        EXPECT_EQ(s.abbreviations, c.abbreviations) << c.items.constData();
        // Stored back and read again, the switches come out as they went in.
        StoreSettings(s);
        const ProgramSettings again = LoadSettings();
        EXPECT_EQ(std::tuple(again.closeTags, again.completion, again.abbreviations),
                  std::tuple(c.closeTags, c.completion, c.abbreviations));
    }
}

TEST_F(SettingsTest, ReserveSwitchRemovesAndCreatesTheFolderWithoutFollowingLinks)
{
    program("");
    QDir().mkpath(BackupFolder + QStringLiteral("sub"));
    WriteBytes(BackupFolder + QStringLiteral("(1)_a.html"), "a");
    WriteBytes(BackupFolder + QStringLiteral("sub/b.html"), "b");
    // A link inside to a folder outside: the link goes, the folder stays.
    const QString outside = programFolder() + QStringLiteral("outside/");
    QDir().mkpath(outside);
    WriteBytes(outside + QStringLiteral("keep.html"), "keep");
    QFile::link(outside, BackupFolder + QStringLiteral("link"));

    ProgramSettings s;
    s.reserve = false;
    EXPECT_TRUE(StoreSettings(s).reserveFolderOk);
    EXPECT_FALSE(QFileInfo::exists(BackupFolder));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("keep.html")));

    s.reserve = true;
    EXPECT_TRUE(StoreSettings(s).reserveFolderOk);
    EXPECT_TRUE(QFileInfo(BackupFolder).isDir());
    EXPECT_TRUE(QDir(BackupFolder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));

    // The reserve folder itself a link: removed as a link.
    QDir(BackupFolder).removeRecursively();
    QFile::link(outside, programFolder() + QStringLiteral("Backup"));
    s.reserve = false;
    StoreSettings(s);
    EXPECT_FALSE(QFileInfo(programFolder() + QStringLiteral("Backup")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("keep.html")));
}

} // namespace
