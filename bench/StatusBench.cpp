// What the status bar adds to a keystroke: the caret report, now refreshed on
// each key press and release, beside a whole keystroke through the window
// (press and release with every handler) on the same page. Both should cost
// the same on every size: the report reads only the caret's line.
#include "BenchWindow.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

TForm1& statusForm()
{
    static TForm1* f = MakeBenchWindow();
    return *f;
}

void loadPage(benchmark::State& state)
{
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы</p>\r\n");
    QString text;
    text.reserve(state.range(0) + line.size());
    while (text.size() < state.range(0))
        text += line;
    TForm1& f = statusForm();
    f.Memo1->setText(text);
    f.Memo1->setSelStart(int(state.range(0) / 2));
    UndoReset();
    UndoSnapshot();
}

void BM_CaretReport(benchmark::State& state)
{
    loadPage(state);
    for (auto _ : state)
        statusForm().CARETINFO();
}

void BM_KeystrokeWithStatus(benchmark::State& state)
{
    loadPage(state);
    TKRichEdit* m = statusForm().Memo1;
    for (auto _ : state) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(m, &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(m, &up);
    }
}

} // namespace

BENCHMARK(BM_CaretReport)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeWithStatus)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);
