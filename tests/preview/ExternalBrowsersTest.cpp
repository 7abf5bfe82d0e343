#include "TestSupport.h"

#include "preview/ExternalBrowsers.h"
#include "store/Utilities.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

using testing_support::ReadBytes;

namespace {

// A fake system under a temporary root, its bin/ as PATH.
class ExternalBrowsersTest : public testing_support::IsolatedTest {
protected:
    QString put(const QString& rel, const QByteArray& content, bool executable = false)
    {
        const QString path = sys_.filePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        testing_support::WriteBytes(path, executable ? "#!/bin/sh\n" + content + "\n" : content);
        if (executable)
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    void reset()
    {
        QDir(sys_.path()).removeRecursively();
        QDir().mkpath(sys_.filePath(QStringLiteral("bin")));
    }
    BrowserLookup lookup(int timeoutMs = 5000) const { return {{sys_.filePath(QStringLiteral("bin"))}, sys_.path(), timeoutMs}; }
    std::optional<QString> read(const QString& key, const QString& name) const
    {
        QString value = QStringLiteral("unchanged");
        if (BrowserRegReadString(HKEY_LOCAL_MACHINE, key, name, value, lookup()))
            return value;
        EXPECT_EQ(value, QStringLiteral("unchanged"));
        return std::nullopt;
    }
    QTemporaryDir sys_;
};

TEST_F(ExternalBrowsersTest, FirefoxOnPathWithItsVersion)
{
    const struct {
        const char* installed; // the program; bin/<name> links to it when it is elsewhere
        const char* ini;       // application.ini beside it
        const char* prints;    // by --version
        bool executable;
        const char* version; // empty: not found
    } rows[] = {
        {"usr/lib/firefox-esr/firefox-esr", "[App]\nVendor=Mozilla\nVersion=115.3.0esr\n", "Mozilla Firefox 1.0", true, "115.3.0esr"},
        {"bin/firefox", nullptr, "Mozilla Firefox 128.0.3", true, "128.0.3"},
        {"opt/ff/firefox", "[Gecko]\nVersion=9.9\n", "Mozilla Firefox 130.0", true, "130.0"},
        {"bin/firefox", nullptr, "Mozilla Firefox 1.0", false, ""},
        {"bin/firefox", nullptr, "Error: no DISPLAY", true, ""},
        {nullptr, nullptr, nullptr, true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.installed ? row.installed : "nothing");
        reset();
        QString exe;
        if (row.installed) {
            exe = put(QString::fromLatin1(row.installed), QByteArray("echo '") + row.prints + "'", row.executable);
            const QString name = QFileInfo(exe).fileName();
            if (!QString::fromLatin1(row.installed).startsWith(QStringLiteral("bin/"))) {
                ASSERT_TRUE(QFile::link(exe, sys_.filePath(QStringLiteral("bin/") + name)));
            }
            if (row.ini)
                put(QFileInfo(QString::fromLatin1(row.installed)).path() + QStringLiteral("/application.ini"), row.ini);
            exe = QFileInfo(exe).canonicalFilePath();
        }
        const QString version = QString::fromLatin1(row.version);
        const BrowserEntry e = FirefoxEntry(lookup());
        EXPECT_EQ(e.found, !version.isEmpty());
        if (version.isEmpty()) {
            EXPECT_EQ(read(kFirefoxKey, kFirefoxCurrentVersion), std::nullopt);
            continue;
        }
        EXPECT_EQ(read(kFirefoxKey, kFirefoxCurrentVersion), version);
        EXPECT_EQ(read(FirefoxMainKey(version), kFirefoxPathToExe), exe);
        EXPECT_EQ(read(FirefoxMainKey(QStringLiteral("1.0")), kFirefoxPathToExe), std::nullopt);
        EXPECT_EQ(e.caption, QStringLiteral("• Mozilla Firefox ") + version);
        EXPECT_EQ(e.program, exe);
        EXPECT_EQ(e.folder, QFileInfo(exe).absolutePath());
    }
}

TEST_F(ExternalBrowsersTest, TheVersionRunIsCutShortAndRememberedPerExecutable)
{
    put(QStringLiteral("bin/firefox"), "exec sleep 20", true);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(FirefoxEntry(lookup(300)).found);
    EXPECT_LT(t.elapsed(), 5000);

    // Every opening of the menu asks again; the program runs once.
    const QByteArray runs = sys_.filePath(QStringLiteral("runs")).toUtf8();
    put(QStringLiteral("bin/firefox"), "echo run >> '" + runs + "'; echo 'Mozilla Firefox 131.0'", true);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FirefoxEntry(lookup()).caption, QStringLiteral("• Mozilla Firefox 131.0"));
    EXPECT_EQ(ReadBytes(QString::fromUtf8(runs)), QByteArray("run\n"));
}

TEST_F(ExternalBrowsersTest, OperaFolderAndVersion)
{
    const struct {
        const char* folder; // empty: none
        bool program, linked;
        const char* versionFile;
        const char* caption; // null: not found
    } rows[] = {
        {"usr/lib/x86_64-linux-gnu/opera/", true, true, "resources/VERSION", "• Opera 105.0.4970.21"},
        {"usr/lib/opera/", true, false, nullptr, "• Opera"},
        {"usr/lib/x86_64-linux-gnu/opera/", false, false, "VERSION", nullptr},
        {"", false, false, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        reset();
        const QString folder = QString::fromLatin1(row.folder);
        if (!folder.isEmpty()) {
            QDir().mkpath(sys_.filePath(folder));
            if (row.program)
                put(folder + OperaProgramName, "exit 0", true);
            if (row.linked) {
                ASSERT_TRUE(QFile::link(sys_.filePath(folder + OperaProgramName), sys_.filePath(QStringLiteral("bin/opera"))));
            }
            if (row.versionFile)
                put(folder + QString::fromLatin1(row.versionFile), "105.0.4970.21\n");
        }
        const std::optional<QString> dir = read(kOperaKey, kOperaInstallDirectory);
        ASSERT_EQ(dir.has_value(), !folder.isEmpty());
        if (dir) {
            EXPECT_TRUE(dir->endsWith(u'/'));
            EXPECT_EQ(QFileInfo(*dir).canonicalFilePath(), QFileInfo(sys_.filePath(folder)).canonicalFilePath());
        }
        const BrowserEntry e = OperaEntry(lookup());
        EXPECT_EQ(e.caption, QString::fromUtf8(row.caption));
        EXPECT_EQ(e.program, row.caption ? *dir + OperaProgramName : QString());
    }
}

TEST_F(ExternalBrowsersTest, InternetExplorerCaptionAndStaleEmulatedValues)
{
    EXPECT_EQ(IeCaption(QStringLiteral("6.0.2900.2180")), QStringLiteral("• Internet Explorer 6.0"));
    EXPECT_EQ(IeCaption(QStringLiteral("11")), QStringLiteral("• Internet Explorer 11"));

    // What an emulated registry once held is not what is installed now.
    const QString old = put(QStringLiteral("old/opera"), "exit 0", true);
    put(QStringLiteral("old/firefox"), "exit 0", true);
    const QString stale[][3] = {
        {kIeKey, kIeVersion, QStringLiteral("6.0.2900.2180")},
        {kOperaKey, kOperaInstallDirectory, QFileInfo(old).path() + u'/'},
        {kFirefoxKey, kFirefoxCurrentVersion, QStringLiteral("3.6")},
        {FirefoxMainKey(QStringLiteral("3.6")), kFirefoxPathToExe, QFileInfo(old).path() + QStringLiteral("/firefox")},
    };
    for (const auto& s : stale) {
        ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, s[0], s[1], s[2]));
        EXPECT_EQ(read(s[0], s[1]), std::nullopt) << s[0].toStdString();
    }
    EXPECT_FALSE(InternetExplorerEntry(lookup()).found || OperaEntry(lookup()).found || FirefoxEntry(lookup()).found);
    ASSERT_TRUE(RegWriteString(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Veltmark"), QStringLiteral("Folder"), QStringLiteral("x")));
    EXPECT_EQ(read(QStringLiteral("software/veltmark"), QStringLiteral("folder")), QStringLiteral("x"));
}

} // namespace
