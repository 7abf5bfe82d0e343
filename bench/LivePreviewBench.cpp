// The live preview pane: how long after the typing pause an edit is on the
// screen (the refresh through the page loaded, real time, as the engine
// works in threads and a process of its own), and a keystroke with the pane
// open beside the same keystroke with it shut, in one window and one run.
#include "BenchWindow.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "preview/ui/PageBrowser.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QEventLoop>
#include <QTimer>
#include <QStandardPaths>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <functional>

namespace {

QString livePage(qsizetype bytes)
{
    const QString block = QStringLiteral("<div class=\"card\"><h2>Заголовок</h2><p style=\"color:#345\">Строка текста страницы,"
                                         " <a href=\"#x\">ссылка</a> и <b>слово</b>.</p></div>\n");
    QString text = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Т</title>"
                                  "<style>.card { margin: 4px; border: 1px solid #ccc }</style></head><body>\n");
    while (text.size() < bytes)
        text += block;
    return text + QStringLiteral("</body></html>\n");
}

bool shownBy(TForm1* form, const std::function<void()>& start);

struct LiveWindow {
    TForm1* form = nullptr;
    PageBrowser* pane = nullptr;
};

// A window with the page opened from a file of its folder and the pane shown.
LiveWindow openLive(qsizetype bytes)
{
    LiveWindow w;
    w.form = MakeBenchWindow();
    w.form->resize(1000, 800);
    const QString path = QDir::tempPath() + QStringLiteral("/veltmark-live-bench-%1.html").arg(bytes);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(livePage(bytes).toUtf8()) < 0)
        return w;
    f.close();
    w.form->openDocument(path);
    LoadingText = false;
    w.form->MENU_LIVEPREVIEW->setChecked(true);
    w.pane = w.form->LIVEPANE ? w.form->LIVEPANE->findChild<PageBrowser*>() : nullptr;
    if (w.pane && !shownBy(w.form, [] {}))
        w.pane = nullptr;
    return w;
}

// Runs what starts a refresh and waits for the pane to show the text; false after two minutes.
bool shownBy(TForm1* form, const std::function<void()>& start)
{
    QEventLoop loop;
    bool done = false;
    const auto c = QObject::connect(form, &TForm1::livePreviewShown, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    start();
    if (!done)
        loop.exec();
    QObject::disconnect(c);
    return done;
}

// The pause over: from the refresh to the edit shown, for a letter typed
// into the body's text (0), which the page takes as it stands, and into the
// title (1), which reads the page again.
void BM_LiveRefresh(benchmark::State& state)
{
    const LiveWindow w = openLive(state.range(0));
    if (!w.pane) {
        state.SkipWithError("the web engine could not be loaded");
        return;
    }
    TKRichEdit* m = w.form->Memo1;
    m->setSelStart(int(m->text().indexOf(state.range(1) == 0 ? QStringLiteral("Строка") : QStringLiteral("</title>"))));
    for (auto _ : state) {
        state.PauseTiming();
        TypeKey(m);
        state.ResumeTiming();
        if (!shownBy(w.form, [&] { w.form->refreshLivePreview(); })) {
            state.SkipWithError("the edit was not shown");
            return;
        }
    }
    w.form->MENU_LIVEPREVIEW->setChecked(false);
}

// A keystroke, the pane shut (0) or open (1), with the events that follow it.
void BM_KeystrokeBesideLivePane(benchmark::State& state)
{
    const LiveWindow w = openLive(state.range(0));
    if (!w.pane) {
        state.SkipWithError("the web engine could not be loaded");
        return;
    }
    w.form->MENU_LIVEPREVIEW->setChecked(state.range(1) == 1);
    TKRichEdit* m = w.form->Memo1;
    m->setSelStart(int(m->text().size() / 2));
    for (auto _ : state) {
        TypeKey(m);
        QCoreApplication::processEvents();
    }
    w.form->MENU_LIVEPREVIEW->setChecked(false);
}

} // namespace

BENCHMARK(BM_LiveRefresh)->ArgsProduct({{1 << 10, 100 << 10, 1 << 20}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_KeystrokeBesideLivePane)->ArgsProduct({{1 << 20, 10 << 20}, {0, 1, 0, 1}})->Unit(benchmark::kMillisecond)->Iterations(200);
