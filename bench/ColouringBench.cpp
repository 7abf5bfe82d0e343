// The syntax colouring's cost: each benchmark runs with the colouring on
// (HTML) and off (a text file's kind) in the same run, so the ratios can be
// read side by side:
// - open: the text put into the editor and its first paint;
// - key-up: a typed character, its key release and the repaint;
// - scroll to the end: the longest single step of colouring work (the
//   counters max_step_ms, wall clock, and max_step_cpu_ms, the thread's own
//   time, and steps; no step may take a frame, 16 ms);
// - memory: heap bytes the colouring holds per character after the first
//   paint, a scroll to the end and a paint there (bytes_per_char).
#include "BenchPages.h"
#include "BenchWindow.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/Colouring.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/SyntaxColouring.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <time.h>

namespace {

const QString& page(qsizetype bytes)
{
    static QHash<qsizetype, QString> pages;
    QString& p = pages[bytes];
    if (p.isEmpty())
        p = PageOfBlocks(QStringLiteral(
                             "<div class=\"item\" style=\"color: #123456; margin: 0 4px\">\r\n"
                             "  <a href=\"page.html?a=1&amp;b=2\" title='Ссылка'>Строка текста &nbsp; страницы</a>\r\n"
                             "  <!-- примечание <b>жирный</b> -->\r\n"
                             "  <script>if (a < b) { s = \"</div>\"; n = 42; }</script>\r\n"
                             "</div>\r\n"),
                         bytes);
    return p;
}

// One main window for the whole run, in a program folder of its own; left
// to the end of the process (it must not outlive the application object).
TForm1& form()
{
    static TForm1* f = [] {
        TForm1* w = MakeBenchWindow();
        w->resize(747, 617);
        return w;
    }();
    return *f;
}

ColouringKind kindOf(const benchmark::State& state) { return state.range(1) ? ColouringKind::Html : ColouringKind::Plain; }

void paint(TKRichEdit* m) { m->viewport()->repaint(); }

// This thread's processor time in ms: a step's own work, whatever else the
// shared machine runs meanwhile.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void BM_OpenColoured(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setColouringKind(kindOf(state));
    const QString& text = page(state.range(0));
    for (auto _ : state) {
        m->setText(text);
        paint(m);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_KeyUpColoured(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setColouringKind(kindOf(state));
    m->setText(page(state.range(0)));
    m->setSelStart(int(state.range(0) / 2));
    m->ensureCursorVisible();
    paint(m);
    for (auto _ : state) {
        m->setSelText(QStringLiteral("x"));
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(m, &up);
        paint(m);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_ScrollToEndColoured(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setColouringKind(ColouringKind::Html);
    double maxStep = 0;
    double maxStepCpu = 0;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        m->setText(page(state.range(0)));
        paint(m);
        state.ResumeTiming();
        m->verticalScrollBar()->setValue(m->verticalScrollBar()->maximum());
        // Each step as the event loop runs it: colouring work, then the paint.
        steps = 0;
        bool done = false;
        while (!done) {
            QElapsedTimer t;
            t.start();
            const double cpu = threadMs();
            done = m->colouring()->colourVisible();
            maxStepCpu = std::max(maxStepCpu, threadMs() - cpu);
            maxStep = std::max(maxStep, t.nsecsElapsed() / 1e6);
            paint(m);
            ++steps;
        }
    }
    state.counters["max_step_ms"] = maxStep;
    state.counters["max_step_cpu_ms"] = maxStepCpu;
    state.counters["steps"] = steps;
}

void BM_ColouringMemory(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    const QString& text = page(state.range(0));
    double perChar = 0;
    for (auto _ : state) {
        size_t used[2] = {};
        for (int coloured = 0; coloured < 2; ++coloured) {
            m->setColouringKind(coloured ? ColouringKind::Html : ColouringKind::Plain);
            m->setText(QString());
            malloc_trim(0);
            m->setText(text);
            paint(m);
            m->verticalScrollBar()->setValue(m->verticalScrollBar()->maximum());
            while (!m->colouring()->colourVisible())
                ;
            paint(m);
            used[coloured] = mallinfo2().uordblks;
        }
        perChar = (double(used[1]) - double(used[0])) / double(text.size());
    }
    state.counters["bytes_per_char"] = perChar;
}

constexpr int64_t kMb = 1 << 20;

} // namespace

BENCHMARK(BM_OpenColoured)->Args({10 * kMb, 0})->Args({10 * kMb, 1})->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyUpColoured)->Args({kMb, 0})->Args({kMb, 1})->Args({10 * kMb, 0})->Args({10 * kMb, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollToEndColoured)->Arg(10 * kMb)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColouringMemory)->Arg(10 * kMb)->Iterations(1)->Unit(benchmark::kMillisecond);
