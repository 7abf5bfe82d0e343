#include "TestSupport.h"

#include "app/Install.h"
#include "platform/DesktopIntegration.h"
#include "platform/Folders.h"
#include "settings/ShellIntegration.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// Each test has a data folder of its own for the desktop files.
class ShellIntegrationTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        oldData_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", (data_.path() + QStringLiteral("/data")).toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", oldData_);
        IsolatedTest::TearDown();
    }
    QString verbCommandKey(const QString& progId) const
    {
        return progId + QStringLiteral("\\shell\\") + ShellVerbCaption() + QStringLiteral("\\command");
    }
    static QString tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

    QTemporaryDir data_;
    QByteArray oldData_;
};

TEST_F(ShellIntegrationTest, AddingAndRemovingOnTheRegistryAndTheDesktop)
{
    RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral(".css"), QString(), QStringLiteral("CSSFile"));
    ASSERT_FALSE(ShellIntegrationOn());
    ASSERT_TRUE(AddShellIntegration());
    EXPECT_TRUE(ShellIntegrationOn());
    const QString command = platform::ProgramFilePath() + QStringLiteral(" \"%1\"");
    for (const QString& ext : VerbExtensions()) {
        QString progId, value;
        ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, u'.' + ext, QString(), progId));
        EXPECT_EQ(progId, ext == QStringLiteral("CSS") ? QStringLiteral("CSSFile") : ext + QStringLiteral("file"));
        ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, verbCommandKey(progId), QString(), value)) << ext.toStdString();
        EXPECT_EQ(value, command);
    }
    for (const QString& f : platform::DesktopIntegrationFiles())
        // Without a painter (the core alone) the entry names its icon only.
        EXPECT_TRUE(QFileInfo::exists(f) || f.contains(QStringLiteral("/apps/"))) << f.toStdString();
    EXPECT_TRUE(platform::DesktopIntegrationInstalled(platform::ProgramFilePath()));
    const QString entry = QString::fromUtf8(ReadBytes(platform::DesktopEntryPath()));
    EXPECT_TRUE(entry.contains(QStringLiteral("\n[Desktop Action edit]\nName=   редактировать в Veltmark\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=text/html;")));
    if (!tool("desktop-file-validate").isEmpty()) {
        QProcess v;
        v.start(tool("desktop-file-validate"), {platform::DesktopEntryPath()});
        ASSERT_TRUE(v.waitForFinished(10000));
        EXPECT_EQ(v.exitCode(), 0) << v.readAllStandardOutput().constData();
    }

    ASSERT_TRUE(RemoveShellIntegration());
    EXPECT_FALSE(ShellIntegrationOn());
    EXPECT_FALSE(platform::Registry().keyExists(HKEY_LOCAL_MACHINE, ProgramRegistryKey()));
    for (const QString& ext : VerbExtensions()) {
        QString progId;
        // The extension keys stay; only the verbs are gone.
        ASSERT_TRUE(RegReadString(HKEY_CLASSES_ROOT, u'.' + ext, QString(), progId));
        EXPECT_FALSE(platform::Registry().keyExists(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\shell\\") + ShellVerbCaption()));
    }
    for (const QString& f : platform::DesktopIntegrationFiles())
        EXPECT_FALSE(QFileInfo::exists(f)) << f.toStdString();
}

TEST_F(ShellIntegrationTest, AnUnwritablePlaceIsReportedAndNothingStaysHalfDone)
{
    // A folder where a file must go cannot be written, even by root.
    const struct {
        QString blocked;
        QString says;
    } rows[] = {
        {sysRoot() + QStringLiteral("registry.json"), QStringLiteral("Не удалось записать системный реестр программы")},
        {platform::UserDataHome() + QStringLiteral("applications/veltmark.desktop"), QStringLiteral("Не удалось записать файл")},
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(QDir().mkpath(r.blocked));
        QString error;
        EXPECT_FALSE(AddShellIntegration(&error));
        EXPECT_TRUE(error.startsWith(r.says)) << error.toStdString();
        EXPECT_FALSE(ShellIntegrationOn());
        QDir(r.blocked).removeRecursively();
    }
}

TEST_F(ShellIntegrationTest, ProgramPathsAsExecArguments)
{
    const struct {
        QString path, arg;
    } rows[] = {
        {"/usr/bin/veltmark", "/usr/bin/veltmark"},
        {"/opt/my editor/veltmark", "\"/opt/my editor/veltmark\""},
        {"/opt/a$b\"c/v", "\"/opt/a\\\\$b\\\\\"c/v\""},
        {"/opt/x\\y z/v", "\"/opt/x\\\\\\\\y z/v\""},
        {"/opt/100%/v", "/opt/100%%/v"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(platform::DesktopExecArgument(r.path), r.arg) << r.path.toStdString();
    EXPECT_TRUE(platform::DesktopEntryText(QStringLiteral("/opt/my editor/veltmark"))
                    .contains(QStringLiteral("\nExec=\"/opt/my editor/veltmark\" %F\n")));
}

} // namespace
