// The editor's event paths on pages of growing size, each beside one
// toPlainText() of the same document in the same run.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

QString page(qsizetype bytes)
{
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы</p>");
    QString text;
    text.reserve(bytes + line.size() + 2);
    while (text.size() < bytes)
        text += line + QStringLiteral("\r\n");
    return text;
}

// One main window for the whole run, in a program folder of its own.
TForm1& form()
{
    static QTemporaryDir dir;
    static std::unique_ptr<TForm1> f = [] {
        qputenv("VELTMARK_HOME", dir.path().toUtf8());
        qputenv("VELTMARK_SYSROOT", (dir.path() + QStringLiteral("/sys")).toUtf8());
        ResetOptions();
        auto w = std::make_unique<TForm1>(QStringList());
        w->show();
        LoadingText = false;
        return w;
    }();
    return *f;
}

void load(benchmark::State& state)
{
    TForm1& f = form();
    f.Memo1->setText(page(state.range(0)));
    f.Memo1->setSelStart(int(state.range(0) / 2));
}

void BM_ToPlainText(benchmark::State& state)
{
    load(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(form().Memo1->toPlainText());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_KeyUp(benchmark::State& state)
{
    load(state);
    TKRichEdit* m = form().Memo1;
    for (auto _ : state) {
        // A typed character, then its key release (hints, interception, undo).
        m->setSelText(QStringLiteral("x"));
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(m, &up);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_MouseUp(benchmark::State& state)
{
    load(state);
    TKRichEdit* m = form().Memo1;
    const QPoint at(40, 20);
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, at, m->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, m->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m->viewport(), &release);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

constexpr int64_t kSizes[] = {10 << 10, 1 << 20, 10 << 20};

} // namespace

BENCHMARK(BM_ToPlainText)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyUp)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MouseUp)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
