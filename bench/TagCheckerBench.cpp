// The tag checker on generated pages of 100 KB, 1 MB and 10 MB, and in the
// same run the HTML Tidy program on the same pages (`tidy -q -e`, each run a
// whole process), with the ratio of tidy's time to the checker's.
#include "html/TagChecker.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchPages.h"
#include <algorithm>

namespace {

const QString kTidy = QStringLiteral("/usr/bin/tidy");

// A page that passes the checker: tables, a script, comments, Cyrillic text;
// about the given size as a UTF-8 file.
QString Page(qsizetype bytes)
{
    const QString block = QStringLiteral(
        "<!-- раздел -->\r\n"
        "<div class=text style='color:#123456'><p>Строка текста <b>страницы</b> с <a href=\"a.html\">ссылкой</a>.</p>\r\n"
        "<table border=1><tr><td>ячейка</td><td><img src=\"p.png\" alt=\"\"></td></tr>\r\n"
        "<tr><td><table><tr><td>вложенная</td></tr></table></td><td>&nbsp;</td></tr></table>\r\n"
        "<ul><li>пункт</li><li><span>другой</span></li></ul><br></div>\r\n");
    return PageOfBlocks(block, bytes);
}

struct Sample {
    QString text;
    QString path; // the page as a UTF-8 file
    qsizetype bytes = 0;
};

// One page per size for the whole run, also written out for tidy.
const Sample& SampleOf(qsizetype bytes)
{
    static QTemporaryDir dir;
    static QMap<qsizetype, Sample> samples;
    auto it = samples.find(bytes);
    if (it == samples.end()) {
        Sample s;
        s.text = Page(bytes);
        s.path = dir.filePath(QStringLiteral("page_%1.html").arg(bytes));
        const QByteArray utf8 = s.text.toUtf8();
        s.bytes = utf8.size();
        QFile f(s.path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(utf8);
        it = samples.insert(bytes, s);
    }
    return *it;
}

void BM_CheckTags(benchmark::State& state)
{
    const Sample& s = SampleOf(state.range(0));
    if (!CHECK_TAGS(s.text).passed) {
        state.SkipWithError("the generated page does not pass the checker");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(CHECK_TAGS(s.text));
    state.SetBytesProcessed(state.iterations() * s.bytes);
    state.counters["chars"] = double(s.text.size());
}

// Median seconds of a few checker runs over the text.
double CheckerSeconds(const QString& text)
{
    double times[3];
    for (double& t : times) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(CHECK_TAGS(text));
        t = double(timer.nsecsElapsed()) / 1e9;
    }
    std::sort(std::begin(times), std::end(times));
    return times[1];
}

void BM_TidyBeside(benchmark::State& state)
{
    if (!QFile::exists(kTidy)) {
        state.SkipWithError("tidy is not installed (/usr/bin/tidy)");
        return;
    }
    const Sample& s = SampleOf(state.range(0));
    const double checker = CheckerSeconds(s.text);
    double total = 0;
    for (auto _ : state) {
        QProcess tidy;
        tidy.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer timer;
        timer.start();
        tidy.start(kTidy, {QStringLiteral("-q"), QStringLiteral("-e"), s.path});
        if (!tidy.waitForFinished(-1) || tidy.exitStatus() != QProcess::NormalExit) {
            state.SkipWithError("tidy did not run to its end");
            return;
        }
        tidy.readAll();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double tidySeconds = total / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetBytesProcessed(state.iterations() * s.bytes);
    state.counters["checker_ms"] = checker * 1e3;
    state.counters["tidy_ms"] = tidySeconds * 1e3;
    state.counters["tidy_to_checker"] = checker > 0 ? tidySeconds / checker : 0;
}

} // namespace

BENCHMARK(BM_CheckTags)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TidyBeside)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->UseManualTime();
