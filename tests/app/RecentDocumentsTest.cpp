#include "TestSupport.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "platform/Codecs.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QDir>
#include <QFile>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

const QDateTime kWhen(QDate(2026, 12, 8), QTime(14, 5, 31, 250));

class RecentDocumentsTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        InitProgramFolders();
    }

    QString file(const QString& name)
    {
        const QString p = programFolder() + name;
        QDir().mkpath(QFileInfo(p).absolutePath());
        WriteBytes(p, "x");
        return p;
    }
    void program(const QString& name, const QString& value)
    {
        Opt_SelectFile(opt::Program);
        Opt_Write(name, value);
    }
    QStringList values()
    {
        Opt_SelectFile(opt::Recent);
        QStringList v;
        for (int i = 0; i < Opt_Count(); ++i)
            v << Opt_ValueAt(i);
        return v;
    }
    QString nameAt(int i)
    {
        Opt_SelectFile(opt::Recent);
        return Opt_NameAt(i);
    }
    QStringList backups() const { return QDir(BackupFolder).entryList(QDir::Files | QDir::Hidden); }
};

TEST_F(RecentDocumentsTest, SameDocumentTwiceKeepsOneEntryWithItsFirstName)
{
    EXPECT_EQ(RecentItemName(QDateTime(QDate(2026, 12, 8), QTime(4, 5, 31, 7))), QStringLiteral("08.12.26 4:05:31.007"));

    AddToRecent_Opening(QStringLiteral("/site/a.html"), kWhen);
    AddToRecent_Opening(QStringLiteral("/site/b.html"), kWhen.addSecs(1));
    AddToRecent_Opening(QStringLiteral("/site/a.html"), kWhen.addSecs(2));
    EXPECT_EQ(values(), (QStringList{QStringLiteral("/site/a.html"), QStringLiteral("/site/b.html")}));
    EXPECT_EQ(nameAt(0), RecentItemName(kWhen));
    EXPECT_EQ(nameAt(1), RecentItemName(kWhen.addSecs(1)));

    // Already on top: nothing moves.
    AddToRecent_Opening(QStringLiteral("/site/a.html"), kWhen.addSecs(3));
    EXPECT_EQ(values().size(), 2);
    EXPECT_EQ(nameAt(0), RecentItemName(kWhen));
    AddToRecent_Opening(QString(), kWhen);
    EXPECT_EQ(values().size(), 2);
}

TEST_F(RecentDocumentsTest, PathDifferingInLetterCaseMovesTheListedEntry)
{
    AddToRecent_Opening(QStringLiteral("/Site/Index.html"), kWhen);
    AddToRecent_Opening(QStringLiteral("/site/other.html"), kWhen.addSecs(1));
    AddToRecent_Opening(QStringLiteral("/SITE/INDEX.HTML"), kWhen.addSecs(2));
    EXPECT_EQ(values(), (QStringList{QStringLiteral("/Site/Index.html"), QStringLiteral("/site/other.html")}));
    EXPECT_EQ(nameAt(0), RecentItemName(kWhen));
}

TEST_F(RecentDocumentsTest, AdditionsWithinOneMillisecondKeepEveryPath)
{
    AddToRecent_Opening(QStringLiteral("/a.html"), kWhen);
    AddToRecent_Opening(QStringLiteral("/b.html"), kWhen);
    AddToRecent_Opening(QStringLiteral("/c.html"), kWhen);
    EXPECT_EQ(values(), (QStringList{QStringLiteral("/c.html"), QStringLiteral("/b.html"), QStringLiteral("/a.html")}));
}

TEST_F(RecentDocumentsTest, AfterAnAdditionTheListHoldsAtMostItsLength)
{
    const auto fill = [&](int n) {
        for (int i = 0; i < n; ++i)
            AddToRecent_Opening(QStringLiteral("/d/%1.html").arg(i), kWhen.addSecs(i));
    };
    // Default: 15.
    fill(17);
    EXPECT_EQ(values().size(), 15);
    EXPECT_EQ(values().front(), QStringLiteral("/d/16.html"));
    EXPECT_EQ(values().back(), QStringLiteral("/d/2.html"));

    // Lowered to 5 (or left longer by another instance): the next addition
    // trims the list to 5, the newest first.
    program(opt::RECENTLEN, QStringLiteral("5"));
    AddToRecent_Opening(QStringLiteral("/d/new.html"), kWhen.addSecs(100));
    EXPECT_EQ(values(), (QStringList{"/d/new.html", "/d/16.html", "/d/15.html", "/d/14.html", "/d/13.html"}));
    // A listed one moved to the top keeps the length.
    AddToRecent_Opening(QStringLiteral("/d/14.html"), kWhen.addSecs(101));
    EXPECT_EQ(values(), (QStringList{"/d/14.html", "/d/new.html", "/d/16.html", "/d/15.html", "/d/13.html"}));

    // Missing, malformed or negative: 15.
    for (const char* bad : {"abc", "", "-3", "5.0"}) {
        program(opt::RECENTLEN, QString::fromLatin1(bad));
        EXPECT_EQ(RecentLength(), DefaultRecentLen) << bad;
    }
    program(opt::RECENTLEN, QStringLiteral("7"));
    EXPECT_EQ(RecentLength(), 7);
}

TEST_F(RecentDocumentsTest, CaptionShortening)
{
    const QString name40 = QString(40, u'n');
    const QString name41 = QStringLiteral("abcde") + QString(5, u'x') + QStringLiteral("0123456789012345678901234567890");
    ASSERT_EQ(name41.size(), 41);
    EXPECT_EQ(RecentCaption(3, QStringLiteral("/s/") + name41), QStringLiteral("3  /s/abcde(...)0123456789012345678901234567890"));
    EXPECT_EQ(RecentCaption(0, QStringLiteral("/s/") + name40), QStringLiteral("0  /s/") + name40);

    // The folder part: kept while path length minus the name part is at most 25.
    const QString folder25 = QStringLiteral("/home/user/sites/site12/"); // 24
    EXPECT_EQ(RecentCaption(1, folder25 + QStringLiteral("a.html")), QStringLiteral("1  ") + folder25 + QStringLiteral("a.html"));
    const QString folder26 = QStringLiteral("/home/user/sites/site123/"); // 25
    EXPECT_EQ(RecentCaption(1, folder26 + QStringLiteral("a.html")), QStringLiteral("1  ") + folder26 + QStringLiteral("a.html"));
    const QString folder27 = QStringLiteral("/home/user/sites/site1234/"); // 26
    EXPECT_EQ(RecentCaption(2, folder27 + QStringLiteral("a.html")), QStringLiteral("2  /home/user/sites/si(...)/a.html"));
    // The name part counts with its shortened length: a short folder is
    // shortened too when a long name is.
    const QString name60 = QStringLiteral("abcde") + QString(24, u'x') + QStringLiteral("0123456789012345678901234567890");
    ASSERT_EQ(name60.size(), 60);
    EXPECT_EQ(RecentCaption(4, QStringLiteral("/short/") + name60),
              QStringLiteral("4  /short/abcdexxxxxxx(...)/abcde(...)0123456789012345678901234567890"));
}

TEST_F(RecentDocumentsTest, MenuEntriesDropVanishedFilesAndSkipTheCurrentDocument)
{
    const QString a = file(QStringLiteral("a.html"));
    const QString b = file(QStringLiteral("b.html"));
    const QString c = file(QStringLiteral("c.html"));
    AddToRecent_Opening(a, kWhen);
    AddToRecent_Opening(programFolder() + QStringLiteral("gone.html"), kWhen.addSecs(1));
    AddToRecent_Opening(b, kWhen.addSecs(2));
    AddToRecent_Opening(programFolder() + QStringLiteral("gone2.html"), kWhen.addSecs(3));
    AddToRecent_Opening(programFolder(), kWhen.addSecs(4)); // a folder is no document
    AddToRecent_Opening(c, kWhen.addSecs(5));

    const QList<RecentEntry> entries = RecentMenuEntries(c);
    EXPECT_EQ(values(), (QStringList{c, b, a}));
    ASSERT_EQ(entries.size(), 2);
    // Numbers are positions in Recent: they begin at 1 when the current document is newest.
    EXPECT_EQ(entries[0].position, 1);
    EXPECT_EQ(entries[0].path, b);
    EXPECT_EQ(entries[0].name(), QStringLiteral("RECENT_ITEM_1"));
    EXPECT_EQ(entries[0].caption, RecentCaption(1, b));
    EXPECT_EQ(entries[1].position, 2);
    EXPECT_EQ(entries[1].path, a);

    // The current document is skipped only on an exact match.
    EXPECT_EQ(RecentMenuEntries(c.toUpper()).size(), 3);
}

TEST_F(RecentDocumentsTest, ChoosingAnEntry)
{
    const QString a = file(QStringLiteral("a.html"));
    AddToRecent_Opening(programFolder() + QStringLiteral("gone.html"), kWhen);
    AddToRecent_Opening(a, kWhen.addSecs(1));

    EXPECT_EQ(RecentEntryPosition(QStringLiteral("RECENT_ITEM_12")), 12);
    EXPECT_EQ(RecentEntryPosition(QStringLiteral("RECENT_ITEM_")), -1);
    EXPECT_EQ(RecentEntryPosition(QStringLiteral("RECENT_ITEM_x")), -1);
    EXPECT_EQ(RecentEntryPosition(QStringLiteral("MACROS_ITEM_1")), -1);

    EXPECT_EQ(TakeRecentEntry(QStringLiteral("RECENT_ITEM_0")), a);
    EXPECT_EQ(values().size(), 2);
    // A vanished file is removed silently.
    EXPECT_EQ(TakeRecentEntry(QStringLiteral("RECENT_ITEM_1")), std::nullopt);
    EXPECT_EQ(values(), QStringList{a});
    EXPECT_EQ(TakeRecentEntry(QStringLiteral("RECENT_ITEM_5")), std::nullopt);
    EXPECT_EQ(TakeRecentEntry(QStringLiteral("bogus")), std::nullopt);
    EXPECT_EQ(values(), QStringList{a});
}

TEST_F(RecentDocumentsTest, FileMenuEnabling)
{
    EXPECT_EQ(FileMenuState(QString()), FileMenuEnabling{});

    const QString a = file(QStringLiteral("a.html"));
    AddToRecent_Opening(a, kWhen);
    program(opt::RESERVE, QStringLiteral("yes"));
    EXPECT_EQ(FileMenuState(a), (FileMenuEnabling{true, true, true, true, true, true}));

    WriteBytes(ScratchDocumentPath(), {});
    program(opt::RESERVE, QStringLiteral("0"));
    EXPECT_EQ(FileMenuState(ScratchDocumentPath()), (FileMenuEnabling{true, true, true, false, true, false}));
    EXPECT_EQ(FileMenuState(programFolder() + QStringLiteral("gone.html")), (FileMenuEnabling{false, false, false, false, true, false}));
}

TEST_F(RecentDocumentsTest, BackupNames)
{
    EXPECT_EQ(BackupFilePath(QStringLiteral("/site/index.html"), kWhen), BackupFolder + QStringLiteral("(08.12.26_14.05_31250)_index.html"));
    EXPECT_EQ(ReserveCopyPath(QStringLiteral("/site/index.html"), kWhen), QStringLiteral("/site/08.12.26_14.05_31250___index.html"));
    EXPECT_EQ(BackupFolder, programFolder() + QStringLiteral("Backup/"));
}

TEST_F(RecentDocumentsTest, BackupOfTheEditorText)
{
    CurrentFileName = programFolder() + QStringLiteral("index.html");
    DocEncoding = EncodingUtf8;

    // Switched off: nothing, not even the folder.
    BackupResult r = MakeBackup(CurrentBackup, QStringLiteral("текст"), kWhen);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.path.isEmpty());
    EXPECT_FALSE(QDir(BackupFolder).exists());

    program(opt::RESERVE, QStringLiteral("1"));
    r = MakeBackup(CurrentBackup, QStringLiteral("текст\nещё"), kWhen);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.path, BackupFolder + QStringLiteral("(08.12.26_14.05_31250)_index.html"));
    EXPECT_EQ(ReadBytes(r.path), QStringLiteral("текст\r\nещё\r\n").toUtf8());

    // A second copy at the same moment does not replace the first.
    const BackupResult second = MakeBackup(CurrentBackup, QStringLiteral("другой"), kWhen);
    ASSERT_TRUE(second.ok);
    EXPECT_NE(second.path, r.path);
    EXPECT_EQ(ReadBytes(r.path), QStringLiteral("текст\r\nещё\r\n").toUtf8());
    EXPECT_EQ(backups().size(), 2);

    // In Windows-1251 as the document; but characters it lacks are not lost.
    DocEncoding = EncodingCp1251;
    r = MakeBackup(CurrentBackup, QStringLiteral("текст"), kWhen.addSecs(10));
    EXPECT_EQ(ReadBytes(r.path), platform::EncodeCp1251(QStringLiteral("текст\r\n")));
    r = MakeBackup(CurrentBackup, QStringLiteral("текст ✓"), kWhen.addSecs(20));
    EXPECT_EQ(ReadBytes(r.path), QStringLiteral("текст ✓\r\n").toUtf8());

    // A text that has no document yet is kept under the scratch document's name.
    CurrentFileName.clear();
    r = MakeBackup(CurrentBackup, QStringLiteral("без имени"), kWhen.addSecs(30));
    EXPECT_EQ(r.path, BackupFolder + QStringLiteral("(08.12.26_14.06_01250)_new_document.html"));
}

TEST_F(RecentDocumentsTest, BackupOfAFileAboutToBeReplaced)
{
    program(opt::RESERVE, QStringLiteral("1"));
    const QString target = programFolder() + QStringLiteral("site/page.html");
    QDir().mkpath(programFolder() + QStringLiteral("site"));
    const QByteArray old("old\rcontent\n\x98\xFF");
    WriteBytes(target, old);

    const BackupResult r = MakeBackup(target, QStringLiteral("editor text is not used"), kWhen);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.path, BackupFolder + QStringLiteral("(08.12.26_14.05_31250)_page.html"));
    EXPECT_EQ(ReadBytes(r.path), old);
    EXPECT_EQ(ReadBytes(target), old);

    // Nothing to copy when the file does not exist.
    const BackupResult none = MakeBackup(programFolder() + QStringLiteral("none.html"), QString(), kWhen);
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.path.isEmpty());
    EXPECT_EQ(backups().size(), 1);
}

TEST_F(RecentDocumentsTest, BackupThatCannotBeWrittenGivesAMessage)
{
    program(opt::RESERVE, QStringLiteral("1"));
    CurrentFileName = programFolder() + QStringLiteral("index.html");
    // A file where the backup folder should be.
    WriteBytes(programFolder() + QStringLiteral("Backup"), "in the way");
    const BackupResult r = MakeBackup(CurrentBackup, QStringLiteral("text"), kWhen);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("Резервная копия не сделана"))) << r.error.toStdString();
    EXPECT_EQ(ReadBytes(programFolder() + QStringLiteral("Backup")), QByteArray("in the way"));
}

TEST_F(RecentDocumentsTest, ReserveCopyBesideTheDocumentIsPlainText)
{
    EXPECT_TRUE(SaveReserveCopyBeside(QStringLiteral("x"), kWhen).path.isEmpty());

    CurrentFileName = programFolder() + QStringLiteral("page.html");
    DocEncoding = EncodingCp1251;
    const BackupResult r = SaveReserveCopyBeside(QStringLiteral("<p>Текст</p>\r\n<p>два"), kWhen);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.path, programFolder() + QStringLiteral("08.12.26_14.05_31250___page.html"));
    EXPECT_EQ(ReadBytes(r.path), platform::EncodeCp1251(QStringLiteral("<p>Текст</p>\r\n<p>два\r\n")));

    CurrentFileName = programFolder() + QStringLiteral("missing/page.html");
    const BackupResult bad = SaveReserveCopyBeside(QStringLiteral("x"), kWhen);
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.error.isEmpty());
}

TEST_F(RecentDocumentsTest, ClearingTheReserve)
{
    EXPECT_EQ(ClearReserve(), 0); // no folder: nothing happens
    EXPECT_FALSE(QDir(BackupFolder).exists());

    QDir().mkpath(BackupFolder + QStringLiteral("sub"));
    WriteBytes(BackupFolder + QStringLiteral("a.html"), "a");
    WriteBytes(BackupFolder + QStringLiteral(".hidden"), "h");
    WriteBytes(BackupFolder + QStringLiteral("ro.html"), "r");
    WriteBytes(BackupFolder + QStringLiteral("sub/kept.html"), "k");
    QFile::setPermissions(BackupFolder + QStringLiteral("ro.html"), QFileDevice::ReadOwner);

    EXPECT_EQ(ClearReserve(), 0);
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_TRUE(QFile::exists(BackupFolder + QStringLiteral("sub/kept.html")));

    EXPECT_TRUE(OpenReserveFolder());
}

} // namespace
