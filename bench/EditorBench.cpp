// The editor's event paths on pages of growing size, each beside one
// toPlainText() of the same document in the same run; a keystroke and an
// undo or redo step should cost the same on every size. Opening a page
// beside QPlainTextEdit::setPlainText of the same text.
#include "BenchWindow.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "store/OptionsStore.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
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
    static TForm1* f = MakeBenchWindow();
    return *f;
}

void load(benchmark::State& state)
{
    TForm1& f = form();
    f.Memo1->setText(page(state.range(0)));
    f.Memo1->setSelStart(int(state.range(0) / 2));
    // As a document is opened: the history starts from this text.
    UndoReset();
    UndoSnapshot();
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

// The whole keystroke: press (the editor types) and release (the handlers).
void BM_Keystroke(benchmark::State& state)
{
    load(state);
    TKRichEdit* m = form().Memo1;
    for (auto _ : state)
        TypeKey(m);
    state.counters["undoEntries"] = Undo().count();
}

// One Undo (the edit itself not timed) of a typed character (0) or of one
// deleted with Backspace (1), then the same with Redo taking the Undo back.
// On a page of equal lines a step narrows the line that is the widest, and
// Qt's plain-text layout then measures every line again to find the new
// widest one: a cost of the widget, not of the history (BM_UndoCommitOneChar
// and the redo step show the history's own).
void BM_UndoStep(benchmark::State& state)
{
    load(state);
    TForm1& f = form();
    for (auto _ : state) {
        state.PauseTiming();
        if (state.range(1) == 0) {
            TypeKey(f.Memo1);
        } else {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(f.Memo1, &down);
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(f.Memo1, &up);
        }
        state.ResumeTiming();
        f.MENU_UNDOClick();
    }
}

void BM_RedoStep(benchmark::State& state)
{
    load(state);
    TForm1& f = form();
    for (auto _ : state) {
        state.PauseTiming();
        TypeKey(f.Memo1);
        f.MENU_UNDOClick();
        state.ResumeTiming();
        f.MENU_REDOClick();
    }
}

QString pageFile(qsizetype bytes)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page%1.html").arg(bytes));
    if (!QFile::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(page(bytes).toUtf8());
    }
    return path;
}

// Opening a page in the main window until it is painted, beside a plain
// QPlainTextEdit of the window's size taking the same text.
void BM_OpenPageInWindow(benchmark::State& state)
{
    TForm1& f = form();
    const QString path = pageFile(state.range(0));
    for (auto _ : state) {
        f.openDocument(path);
        f.repaint();
        QCoreApplication::processEvents();
    }
}

void BM_PlainEditShowsPage(benchmark::State& state)
{
    const QString text = QString::fromUtf8([&] {
        QFile file(pageFile(state.range(0)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }());
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.resize(form().Memo1->size());
    edit.show();
    for (auto _ : state) {
        edit.setPlainText(text);
        edit.repaint();
        QCoreApplication::processEvents();
    }
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
// A keystroke's sizes: 1 KB to 50 MB.
constexpr int64_t kKeySizes[] = {1 << 10, 1 << 20, 10 << 20, 50 << 20};

} // namespace

BENCHMARK(BM_ToPlainText)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyUp)->Arg(kKeySizes[0])->Arg(kKeySizes[1])->Arg(kKeySizes[2])->Arg(kKeySizes[3])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MouseUp)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke)->Arg(kKeySizes[0])->Arg(kKeySizes[1])->Arg(kKeySizes[2])->Arg(kKeySizes[3])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoStep)->ArgsProduct({{kKeySizes[0], 5 << 20, kKeySizes[3]}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoStep)->Arg(kKeySizes[0])->Arg(5 << 20)->Arg(kKeySizes[3])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPageInWindow)->Arg(10 << 20)->Arg(kKeySizes[3])->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainEditShowsPage)->Arg(10 << 20)->Arg(kKeySizes[3])->Unit(benchmark::kMillisecond);
