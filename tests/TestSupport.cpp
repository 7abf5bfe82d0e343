#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include "app/Globals.h"
#include "store/OptionsStore.h"

namespace testing_support {

void IsolateEnvironment()
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/veltmark-tests-XXXXXX"));
    const QString base = root.path();
    for (const char* sub : {"home", "data", "config", "cache", "runtime", "program", "sys"})
        QDir().mkpath(base + u'/' + QLatin1String(sub));
    qputenv("HOME", (base + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (base + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_CACHE_HOME", (base + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + QStringLiteral("/runtime")).toUtf8());
    QFile::setPermissions(base + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("VELTMARK_HOME", (base + QStringLiteral("/program")).toUtf8());
    qputenv("VELTMARK_SYSROOT", (base + QStringLiteral("/sys")).toUtf8());
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

void IsolatedTest::SetUp()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    home_ = dir_->path() + QStringLiteral("/program");
    sys_ = dir_->path() + QStringLiteral("/sys");
    QDir().mkpath(home_);
    QDir().mkpath(sys_);
    qputenv("VELTMARK_HOME", home_.toUtf8());
    qputenv("VELTMARK_SYSROOT", sys_.toUtf8());
    platform::SetPrompts(&prompts_);
    platform::SetShell(&shell_);
    ResetOptions();
    ResetGlobals();
}

void IsolatedTest::TearDown()
{
    platform::SetPrompts(nullptr);
    platform::SetShell(nullptr);
    dir_.reset();
}

} // namespace testing_support
