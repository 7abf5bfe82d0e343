#include "TestSupport.h"

#include "app/Install.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

// A screen reader's first questions, asked of the program on a real X
// server (only there does Qt join the accessibility bus) in a session bus
// of its own: every property of the application and of its window at once.
const char* kScreenReader = R"(
Xvfb -displayfd 3 -screen 0 800x600x24 3>"$WORK/display" 2>/dev/null &
XVFB=$!
trap 'kill $APP $XVFB 2>/dev/null' EXIT
for i in $(seq 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
for i in $(seq 50); do
  A=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus --method org.a11y.Bus.GetAddress 2>/dev/null | sed "s/^('\(.*\)',)$/\1/")
  [ -n "$A" ] && break; sleep 0.1
done
echo "bus: $A"
[ -n "$A" ] || exit 0
DISPLAY=:$(cat "$WORK/display") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$PROGRAM" >/dev/null 2>&1 &
APP=$!
for i in $(seq 100); do
  NAME=$(gdbus call --address "$A" --dest org.a11y.atspi.Registry --object-path /org/a11y/atspi/accessible/root \
         --method org.a11y.atspi.Accessible.GetChildren 2>/dev/null | grep -o "':1\.[0-9]*'" | head -1 | tr -d "'")
  [ -n "$NAME" ] && break; sleep 0.1
done
echo "program: $NAME"
call() { gdbus call --address "$A" --dest "$NAME" --object-path "$@"; }
call /org/a11y/atspi/accessible/root --method org.freedesktop.DBus.Properties.GetAll org.a11y.atspi.Accessible
WINDOW=$(call /org/a11y/atspi/accessible/root --method org.a11y.atspi.Accessible.GetChildren | grep -o "/org/a11y/atspi/accessible/[0-9]*" | head -1)
call "$WINDOW" --method org.freedesktop.DBus.Properties.GetAll org.a11y.atspi.Accessible
call "$WINDOW" --method org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name
sleep 3
kill -0 $APP && echo "still running"
)";

using AccessibilityGuard = testing_support::IsolatedTest;

TEST_F(AccessibilityGuard, AScreenReaderAskingForAllPropertiesLeavesTheProgramRunning)
{
    for (const char* tool : {"dbus-run-session", "gdbus", "Xvfb"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    if (!QFileInfo::exists(QStringLiteral("/usr/libexec/at-spi-bus-launcher")))
        GTEST_SKIP() << "at-spi2-core is not installed";

    WriteMissingSections(); // no first-run question
    QTemporaryDir work;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WORK"), work.path());
    env.insert(QStringLiteral("PROGRAM"), QCoreApplication::applicationDirPath() + QStringLiteral("/veltmark"));
    QProcess session;
    session.setProcessEnvironment(env);
    session.start(QStringLiteral("dbus-run-session"), {QStringLiteral("--"), QStringLiteral("bash"), QStringLiteral("-c"), QString::fromLatin1(kScreenReader)});
    ASSERT_TRUE(session.waitForFinished(30000));
    const QString out = QString::fromUtf8(session.readAllStandardOutput() + session.readAllStandardError());
    if (!out.contains(QStringLiteral("bus: unix:")))
        GTEST_SKIP() << "no accessibility bus here: " << out.toStdString();
    ASSERT_TRUE(out.contains(QStringLiteral("program: :1."))) << out.toStdString();
    EXPECT_EQ(out.count(QStringLiteral("'Name': <'Veltmark'>")), 2) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("'Parent': <(':1."))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("(<'Veltmark'>,)"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("still running"))) << out.toStdString();
}

} // namespace
