// The tag navigation tree's build on generated pages of 1 MB and 10 MB: an
// ordinary page, and one whose tags run on without a ">" for long stretches
// (every "<p" inside such a stretch looks for its keys up to the same ">").
#include "html/TagTree.h"

#include <QMap>
#include <benchmark/benchmark.h>

#include "BenchPages.h"

namespace {

// Tables, lists, scripts, comments and Cyrillic text; about the given size
// as a UTF-8 file.
QString Page(qsizetype bytes)
{
    const QString block = QStringLiteral(
        "<!-- раздел\r\nвторая строка -->\r\n"
        "<div class=text id='d1' style='color:#123456'><p>Строка текста <b>страницы</b> с "
        "<a href=\"a.html\" name=n>ссылкой</a>.</p>\r\n"
        "<table border=1><tr><td>ячейка</td><td><img src=\"p.png\" alt=\"\" title='t'></td></tr>\r\n"
        "<tr><td><table><tr><td>вложенная</td></tr></table></td><td>&nbsp;</td></tr></table>\r\n"
        "<ul><li>пункт</li><li><span>другой</span></li></ul><br></div>\r\n");
    return PageOfBlocks(block, bytes);
}

// Stretches of unfinished tags of about 64 KB, each ended by one ">".
QString OpenTags(qsizetype bytes)
{
    QString text;
    text.reserve(bytes + 16);
    while (text.size() < bytes) {
        for (int i = 0; i < 8192; ++i)
            text += QStringLiteral("<p a=1 ");
        text += QStringLiteral("id=x>\r\n");
    }
    return text;
}

const QString& Sample(qsizetype bytes, bool open)
{
    static QMap<std::pair<qsizetype, bool>, QString> samples;
    auto it = samples.find({bytes, open});
    if (it == samples.end())
        it = samples.insert({bytes, open}, open ? OpenTags(bytes) : Page(bytes));
    return *it;
}

void Run(benchmark::State& state, bool open)
{
    const QString& text = Sample(state.range(0), open);
    qsizetype nodes = 0;
    for (auto _ : state) {
        const TagTreeBuild b = MAKE_DISPLAY(text);
        nodes = b.nodes.size();
        benchmark::DoNotOptimize(b);
    }
    if (nodes == 0) {
        state.SkipWithError("the generated page gave no nodes");
        return;
    }
    state.SetBytesProcessed(state.iterations() * text.size() * qsizetype(sizeof(QChar)));
    state.counters["chars"] = double(text.size());
    state.counters["nodes"] = double(nodes);
}

void BM_TagTreePage(benchmark::State& state) { Run(state, false); }
void BM_TagTreeOpenTags(benchmark::State& state) { Run(state, true); }

} // namespace

BENCHMARK(BM_TagTreePage)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagTreeOpenTags)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
