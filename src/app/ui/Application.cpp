#include "app/ui/Application.h"

#include "app/Globals.h"
#include "app/Install.h"
#include "app/StartUp.h"
#include "app/ui/MainWindow.h"
#include "app/ui/Pictures.h"
#include "app/plain/Switches.h"
#include "platform/DesktopIntegration.h"
#include "platform/ui/ProgramIcon.h"
#include "platform/ui/AccessibilityGuard.h"
#include "platform/ui/QtPrompts.h"
#include "platform/ui/RussianTranslations.h"
#include "preview/ui/PageBrowser.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {

void loadRussianTranslations(QApplication& app)
{
    platform::InstallRussianTranslations(app);
}

} // namespace

int RunVeltmark(int argc, char** argv)
{
    if (const std::optional<int> done = RunWindowlessSwitches(argc, argv))
        return *done;

    PrepareBrowserEngine();
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    loadRussianTranslations(app);
    platform::GuardAccessibilityBus();
    UseIconTheme();

    platform::QtPrompts prompts;
    platform::SetPrompts(&prompts);

    // A settings folder that cannot be written is said once, not silently ignored.
    SetOptionsWriteFailure([](const QString& path) {
        static bool said = false;
        if (said)
            return;
        said = true;
        platform::prompts().message(QString(), OptionsWriteFailureMessage(path), platform::Severity::Warning);
    });

    // The first run installs the desktop entry with the program's icons.
    platform::SetDesktopIconPainter(platform::ProgramIconPng);
    // The first-run check comes before any window.
    const SetupResult setup = FirstRunCheck();
    if (setup == SetupResult::Declined)
        return 0;

    QApplication::setApplicationName(QStringLiteral("Veltmark"));
    QStringList args = QApplication::arguments();
    args.removeFirst();
    TForm1 form(args);
    prompts.setParentWidget(&form);
    if (setup == SetupResult::Performed)
        RegisterOptionsFileType();
    form.show();
    // For start-up measurements: end as soon as the window has been shown.
    if (qEnvironmentVariableIsSet("VELTMARK_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int rc = app.exec();
    platform::SetPrompts(nullptr);
    return rc;
}
