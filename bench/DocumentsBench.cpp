// Opening (read, charset check, decoding) and saving of 1 MB and 10 MB
// pages in Windows-1251 and UTF-8, beside QPlainTextEdit::setPlainText of the
// same text in the same run.
#include "app/Documents.h"
#include "platform/Codecs.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString pageText(qsizetype bytes, bool utf8)
{
    const QString head = utf8 ? QStringLiteral("<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">\r\n")
                              : QStringLiteral("<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\r\n");
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы — №%1</p>");
    QString text = head;
    text.reserve(bytes + 200);
    for (int i = 0; text.size() < bytes; ++i)
        text += line.arg(i) + QStringLiteral("\r\n");
    return text;
}

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The page's file, written once per size and encoding.
QString pageFile(qsizetype bytes, bool utf8)
{
    const QString path = folder().path() + QStringLiteral("/page_%1_%2.html").arg(bytes).arg(utf8 ? 8 : 1251);
    if (!QFile::exists(path)) {
        const QString text = pageText(bytes, utf8);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(utf8 ? platform::EncodeUtf8(text) : platform::EncodeCp1251(text));
    }
    return path;
}

void BM_OpenPage(benchmark::State& state)
{
    const bool utf8 = state.range(1) != 0;
    const QString path = pageFile(state.range(0), utf8);
    for (auto _ : state) {
        std::optional<DecodedDocument> doc = LoadDocument(path);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_SavePage(benchmark::State& state)
{
    const bool utf8 = state.range(1) != 0;
    const QString text = pageText(state.range(0), utf8);
    const QString out = folder().path() + QStringLiteral("/saved.html");
    const int encoding = utf8 ? EncodingUtf8 : EncodingCp1251;
    for (auto _ : state)
        benchmark::DoNotOptimize(DocSave(out, text, encoding, LineEnds::CrLf));
    state.SetBytesProcessed(state.iterations() * QFile(out).size());
}

void BM_Cp1251Gaps(benchmark::State& state)
{
    const QString text = pageText(state.range(0), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(UnencodableInCp1251(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}

// The reference: the editor widget taking the same text.
void BM_SetPlainText(benchmark::State& state)
{
    const QString text = pageText(state.range(0), state.range(1) != 0);
    QPlainTextEdit edit;
    for (auto _ : state) {
        edit.setPlainText(text);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

constexpr int kMB = 1 << 20;

} // namespace

BENCHMARK(BM_OpenPage)->ArgsProduct({{kMB, 10 * kMB}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePage)->ArgsProduct({{kMB, 10 * kMB}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cp1251Gaps)->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetPlainText)->ArgsProduct({{kMB, 10 * kMB}, {0, 1}})->Unit(benchmark::kMillisecond);
