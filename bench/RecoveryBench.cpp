// A keystroke on a 10 MB page with the recovery copy off, on (as the
// program keeps it: written after a pause, at most every few seconds while
// typing goes on), and handed to its writer at every keystroke (the worst
// case, far more often than the program does). Each keystroke is the
// character, its key release and one turn of the event loop, where the
// keeper's timer runs.
#include "BenchWindow.h"
#include "app/Globals.h"
#include "app/Recovery.h"
#include "app/ui/MainWindow.h"
#include "app/ui/RecoveryKeeper.h"
#include "editor/ui/KRichEdit.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qsizetype kPageBytes = 10 * 1024 * 1024;

QString page()
{
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы</p>\r\n");
    QString text;
    text.reserve(kPageBytes + line.size());
    while (text.size() < kPageBytes)
        text += line;
    return text;
}

TForm1& form()
{
    static TForm1* f = [] {
        TForm1* w = MakeBenchWindow();
        delete w->RECOVERY; // each case brings its own
        w->RECOVERY = nullptr;
        return w;
    }();
    return *f;
}

void keystroke(TKRichEdit* m)
{
    m->setSelText(QStringLiteral("x"));
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(m, &up);
    QCoreApplication::processEvents();
}

// range(0): 0 off, 1 on, 2 a copy at every keystroke.
void BM_Keystroke10MB(benchmark::State& state)
{
    TForm1& f = form();
    TKRichEdit* m = f.Memo1;
    // Every case on a fresh page, not on the pieces the previous one left.
    m->setText(page());
    m->setSelStart(int(kPageBytes / 2));
    std::unique_ptr<RecoveryKeeper> keeper;
    if (state.range(0) == 1)
        keeper = std::make_unique<RecoveryKeeper>(m, nullptr);
    if (state.range(0) == 2)
        keeper = std::make_unique<RecoveryKeeper>(m, nullptr, RecoveryKeeper::Timing{0, 0, 3600000});
    for (auto _ : state) {
        keystroke(m);
        if (state.range(0) == 2)
            keeper->tick();
    }
}

} // namespace

BENCHMARK(BM_Keystroke10MB)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(6.0);

namespace {

// What a due copy costs the typing thread: the editor's raw text, or its
// text with CR LF.
void BM_RecoveryRawTextOf10MB(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setText(page());
    for (auto _ : state)
        benchmark::DoNotOptimize(m->document()->toRawText());
}

void BM_RecoveryTextOf10MB(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setText(page());
    for (auto _ : state)
        benchmark::DoNotOptimize(m->text());
}

// What the writer thread does with it before the disk.
void BM_RecoveryCopyBytes10MB(benchmark::State& state)
{
    const RecoveryCopy copy{QStringLiteral("/a/b.html"), OriginOpening, 1, LineEnds::CrLf, QDateTime::currentDateTime(), page()};
    for (auto _ : state)
        benchmark::DoNotOptimize(RecoveryCopyBytes(copy));
}

// The writer's text with CR LF, from the keeper's pieces of the raw text.
void BM_RecoveryEditorTextOf10MB(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setText(page());
    RecoveryText text;
    text.reset(m->document()->toRawText());
    for (auto _ : state)
        benchmark::DoNotOptimize(RecoveryText::EditorText(text.chunks()));
}

// What the writer thread writes from the keeper's pieces.
void BM_RecoveryCopyBytesOfPieces10MB(benchmark::State& state)
{
    TKRichEdit* m = form().Memo1;
    m->setText(page());
    RecoveryText text;
    text.reset(m->document()->toRawText());
    const RecoveryCopy copy{QStringLiteral("/a/b.html"), OriginOpening, 1, LineEnds::CrLf, QDateTime::currentDateTime(), QString()};
    for (auto _ : state)
        benchmark::DoNotOptimize(RecoveryCopyBytes(copy, text));
}

} // namespace

BENCHMARK(BM_RecoveryCopyBytesOfPieces10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryRawTextOf10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryEditorTextOf10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryTextOf10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryCopyBytes10MB)->Unit(benchmark::kMillisecond);
