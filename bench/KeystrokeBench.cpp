// The whole keystroke as the user sees it: the key's press and release with
// every handler of the window, then the frame the window paints for it (the
// offscreen platform's backing store is an image). A window of 1000 x 800,
// the caret at the end of the page, colouring on (HTML) and off (a text
// file's kind), on pages of 1 KB to 50 MB and on one line of 5 MB (a
// minified script). A key should cost the same on every page.
//
// The parts of the same key as rows of their own (colouring on):
//   press     - the key press: the edit, the changed line laid out and
//               coloured, the text-change listeners, the key-down handlers;
//   release   - the key release: hints, interception, the undo step, the
//               caret report;
//   undo      - UndoCommit + UndoSnapshot after a typed character;
//   colouring - the colouring's pass before a paint (colourVisible);
//   layout    - the changed line laid out again;
//   paint     - the frame after the key (only what the key changed);
//   full      - the whole editor rendered into an image (every line in view,
//               the gutter with its numbers).
#include "BenchPages.h"
#include "BenchWindow.h"
#include "app/ui/MainWindow.h"
#include "editor/Colouring.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/SyntaxColouring.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <benchmark/benchmark.h>

namespace {

constexpr int64_t kKb = 1 << 10;
constexpr int64_t kMb = 1 << 20;
// The one-line page's size is given as a negative argument.
constexpr int64_t kOneLine5Mb = -5 * kMb;

const QString& page(int64_t size)
{
    static QHash<int64_t, QString> pages;
    QString& p = pages[size];
    if (!p.isEmpty())
        return p;
    if (size < 0) {
        // A minified script: no line break at all.
        p = RepeatToSize(QStringLiteral("<script>"),
            QStringLiteral("var a=1,b=\"x\";if(a<b&&b>0){s=\"</div>\";n=42;}function f(c){return c*2;}"),
            QStringLiteral("</script>"), -size);
    } else {
        p = PageOfBlocks(QStringLiteral(
                             "<div class=\"item\" style=\"color: #123456; margin: 0 4px\">\r\n"
                             "  <a href=\"page.html?a=1&amp;b=2\" title='Ссылка'>Строка текста &nbsp; страницы</a>\r\n"
                             "  <!-- примечание <b>жирный</b> -->\r\n"
                             "  <script>if (a < b) { s = \"</div>\"; n = 42; }</script>\r\n"
                             "</div>\r\n"),
            size);
    }
    return p;
}

TForm1& form()
{
    static TForm1* f = [] {
        TForm1* w = MakeBenchWindow();
        w->resize(1000, 800);
        QCoreApplication::processEvents();
        return w;
    }();
    return *f;
}

// Counts the editor's paints, so a frame is known to have been painted.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The page in the window, the caret at its end and in view, the history
// starting from it, everything painted once.
TKRichEdit* load(benchmark::State& state)
{
    TForm1& f = form();
    TKRichEdit* m = f.Memo1;
    m->setColouringKind(state.range(1) ? ColouringKind::Html : ColouringKind::Plain);
    m->setText(page(state.range(0)));
    m->setSelStart(m->textLength());
    m->ensureCursorVisible();
    UndoReset();
    UndoSnapshot();
    m->viewport()->repaint();
    QCoreApplication::processEvents();
    return m;
}

std::string pageName(int64_t size)
{
    return (size < 0   ? QStringLiteral("one line %1 MB").arg(-size / kMb)
               : size >= kMb ? QStringLiteral("%1 MB").arg(size / kMb)
                             : QStringLiteral("%1 KB").arg(size / kKb))
        .toStdString();
}

// The key and the frame the window paints for it.
void BM_KeystrokeFrame(benchmark::State& state)
{
    TKRichEdit* m = load(state);
    PaintCounter counter;
    m->viewport()->installEventFilter(&counter);
    for (auto _ : state) {
        TypeKey(m);
        QCoreApplication::processEvents();
    }
    m->viewport()->removeEventFilter(&counter);
    state.counters["paints_per_key"] = double(counter.paints) / double(state.iterations());
    state.SetLabel(pageName(state.range(0)) + (state.range(1) ? ", coloured" : ", plain"));
}

enum Part { Press, Release, UndoPart, ColouringPart, LayoutPart, PaintPart, FullPaint };

void pressKey(TKRichEdit* m)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(m, &down);
}

void releaseKey(TKRichEdit* m)
{
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(m, &up);
}

void BM_KeystrokePart(benchmark::State& state)
{
    TKRichEdit* m = load(state);
    const auto part = Part(state.range(2));
    QImage image(m->size(), QImage::Format_ARGB32_Premultiplied);
    auto* layout = m->document()->documentLayout();
    for (auto _ : state) {
        switch (part) {
        case Press:
            pressKey(m);
            state.PauseTiming();
            releaseKey(m);
            QCoreApplication::processEvents();
            state.ResumeTiming();
            break;
        case Release:
            state.PauseTiming();
            pressKey(m);
            state.ResumeTiming();
            releaseKey(m);
            state.PauseTiming();
            QCoreApplication::processEvents();
            state.ResumeTiming();
            break;
        case UndoPart:
            state.PauseTiming();
            m->setSelText(QStringLiteral("x"));
            state.ResumeTiming();
            UndoCommit();
            UndoSnapshot();
            break;
        case ColouringPart:
            state.PauseTiming();
            TypeKey(m);
            state.ResumeTiming();
            m->colouring()->colourVisible();
            state.PauseTiming();
            QCoreApplication::processEvents();
            state.ResumeTiming();
            break;
        case LayoutPart: {
            state.PauseTiming();
            TypeKey(m);
            QCoreApplication::processEvents();
            const QTextBlock block = m->textCursor().block();
            block.layout()->clearLayout();
            state.ResumeTiming();
            benchmark::DoNotOptimize(layout->blockBoundingRect(block));
            break;
        }
        case PaintPart:
            state.PauseTiming();
            TypeKey(m);
            state.ResumeTiming();
            QCoreApplication::processEvents();
            break;
        case FullPaint: {
            state.PauseTiming();
            TypeKey(m);
            QCoreApplication::processEvents();
            state.ResumeTiming();
            m->render(&image);
            break;
        }
        }
    }
    static const char* const names[] = {"press", "release", "undo", "colouring", "layout", "paint", "full"};
    state.SetLabel(std::string(names[part]) + ", " + pageName(state.range(0)));
}

const int64_t kPages[] = {kKb, kMb, 10 * kMb, 50 * kMb};

void frameArgs(benchmark::internal::Benchmark* b)
{
    for (int64_t size : kPages)
        for (int coloured : {1, 0})
            b->Args({size, coloured});
}

void partArgs(benchmark::internal::Benchmark* b)
{
    for (int64_t size : kPages)
        for (int part = Press; part <= FullPaint; ++part)
            b->Args({size, 1, part});
}

void oneLineFrameArgs(benchmark::internal::Benchmark* b)
{
    for (int coloured : {1, 0})
        b->Args({kOneLine5Mb, coloured});
}

void oneLinePartArgs(benchmark::internal::Benchmark* b)
{
    for (int part = Press; part <= FullPaint; ++part)
        b->Args({kOneLine5Mb, 1, part});
}

} // namespace

// The 50 MB page takes seconds to open: a fixed, small number of keys.
BENCHMARK(BM_KeystrokeFrame)->Apply(frameArgs)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokePart)->Apply(partArgs)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeFrame)->Name("BM_KeystrokeFrameOneLine")->Apply(oneLineFrameArgs)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokePart)->Name("BM_KeystrokePartOneLine")->Apply(oneLinePartArgs)->Iterations(20)->Unit(benchmark::kMillisecond);
