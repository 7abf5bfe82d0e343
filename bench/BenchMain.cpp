// Benchmarks run with an application object on the offscreen platform, so
// the editor widget can be measured too.
#include "BenchWindow.h"

#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "preview/ui/PageBrowser.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

struct BenchWindow {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TForm1> window;
};

std::vector<BenchWindow>& windows()
{
    static std::vector<BenchWindow> w;
    return w;
}

} // namespace

TForm1* MakeBenchWindow()
{
    BenchWindow b;
    b.folder = std::make_unique<QTemporaryDir>();
    qputenv("VELTMARK_HOME", b.folder->path().toUtf8());
    qputenv("VELTMARK_SYSROOT", (b.folder->path() + QStringLiteral("/sys")).toUtf8());
    ResetOptions();
    b.window = std::make_unique<TForm1>(QStringList());
    b.window->show();
    LoadingText = false;
    windows().push_back(std::move(b));
    return windows().back().window.get();
}

void TypeKey(TKRichEdit* editor)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(editor, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(editor, &up);
}

void DeleteBenchWindows()
{
    // Windows first, their folders after.
    for (BenchWindow& b : windows())
        b.window.reset();
    windows().clear();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareBrowserEngine(); // for the benchmarks of the live pane
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DeleteBenchWindows();
    return 0;
}
