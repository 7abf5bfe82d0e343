#include "TestSupport.h"
#include "app/ui/MainWindow.h"
#include "platform/DesktopIntegration.h"
#include "platform/ui/ProgramIcon.h"
#include "preview/ui/PageBrowser.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing_support::IsolateEnvironment();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    // As the program does: the desktop entry comes with the painted icons.
    platform::SetDesktopIconPainter(platform::ProgramIconPng);
    // The colour picker is modal; in tests it is cancelled unless a test
    // answers it itself.
    TForm1::PickerForTests = [](TColor, TColor*) { return false; };
    TForm1::ClassNameForTests = [](const QString&, const QStringList&) { return QString(); };
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
