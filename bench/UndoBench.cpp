// The undo history on pages of growing size: one typed character committed
// the way the key-up handler does it, beside one whole copy of the same text
// in the same run (what a plain history would pay per entry).
#include "editor/MemoryTextModel.h"
#include "editor/Undo.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kSizes[] = {10 * 1024, 1024 * 1024, 10 * 1024 * 1024};

QString page(qsizetype chars)
{
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы</p>\r\n");
    QString text;
    text.reserve(chars + line.size());
    while (text.size() < chars)
        text += line;
    return text;
}

// Commits read the depth from the options store: keep it in a folder of its
// own unless another benchmark has already set one up.
void useOwnProgramFolder()
{
    static QTemporaryDir dir;
    static const bool done = [] {
        if (qEnvironmentVariableIsEmpty("VELTMARK_HOME")) {
            qputenv("VELTMARK_HOME", dir.path().toUtf8());
            qputenv("VELTMARK_SYSROOT", (dir.path() + QStringLiteral("/sys")).toUtf8());
            ResetOptions();
        }
        return true;
    }();
    (void)done;
}

// A history of its own, so that the program-wide one (the main window's,
// measured by the editor benchmarks) is left alone.
void openInHistory(UndoHistory& history, MemoryTextModel& editor, const QString& text)
{
    useOwnProgramFolder();
    editor.setText(text);
    history.init(&editor);
    history.reset();
    history.snapshot();
}

// A thousand one-character edits spread over the page, each an undo step.
void typeThousandCharacters(UndoHistory& history, MemoryTextModel& editor)
{
    for (int i = 0; i < 1000; ++i) {
        editor.setSelStart(int((qint64(i) * 7919) % editor.text().size()));
        history.snapshot();
        editor.setSelText(QStringLiteral("x"));
        history.commit();
    }
}

void BM_UndoCommitOneChar(benchmark::State& state)
{
    MemoryTextModel editor;
    UndoHistory history;
    openInHistory(history, editor, page(state.range(0)));
    qint64 step = 0;
    for (auto _ : state) {
        editor.setSelStart(int((step++ * 7919) % editor.text().size()));
        history.snapshot();
        editor.setSelText(QStringLiteral("x"));
        history.commit();
    }
    state.counters["entries"] = history.count();
}

void BM_UndoTextCopy(benchmark::State& state)
{
    MemoryTextModel editor(page(state.range(0)));
    for (auto _ : state) {
        QString copy = editor.text();
        copy.detach();
        benchmark::DoNotOptimize(copy.constData());
    }
}

// Bytes held after 1000 one-character edits on a 1 MB page.
void BM_UndoMemoryAfter1000Edits(benchmark::State& state)
{
    MemoryTextModel editor;
    UndoHistory history;
    const QString text = page(1024 * 1024);
    qint64 bytes = 0;
    for (auto _ : state) {
        openInHistory(history, editor, text);
        typeThousandCharacters(history, editor);
        bytes = history.memoryBytes();
    }
    state.counters["memoryBytes"] = double(bytes);
    state.counters["plainBytes"] = double(qint64(history.count()) * text.size() * qint64(sizeof(QChar)));
}

// The same edits undone one by one, then redone: what the undo and redo
// entries hold together at each point, beside the history after the edits.
void BM_RedoMemoryAfter1000Edits(benchmark::State& state)
{
    MemoryTextModel editor;
    UndoHistory history;
    const QString text = page(1024 * 1024);
    qint64 edited = 0;
    qint64 undone = 0;
    qint64 redone = 0;
    for (auto _ : state) {
        openInHistory(history, editor, text);
        typeThousandCharacters(history, editor);
        edited = history.memoryBytes() + history.redoMemoryBytes();
        while (!history.isEmpty())
            history.restore();
        undone = history.memoryBytes() + history.redoMemoryBytes();
        while (history.canRedo())
            history.redo();
        redone = history.memoryBytes() + history.redoMemoryBytes();
    }
    state.counters["editedBytes"] = double(edited);
    state.counters["undoneBytes"] = double(undone);
    state.counters["redoneBytes"] = double(redone);
}

} // namespace

BENCHMARK(BM_RedoMemoryAfter1000Edits)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoCommitOneChar)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoTextCopy)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMemoryAfter1000Edits)->Iterations(1)->Unit(benchmark::kMillisecond);
