// Import of 1 MB and 10 MB web archives (quoted-printable, Windows-1251 and
// UTF-8), and the HTML and CSS compressors over pages of the same sizes.
#include "app/ImportExport.h"
#include "platform/Codecs.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>

namespace {

// A page as a browser saves it: MIME headers, a quoted-printable page with
// escapes, soft line breaks, scripts and comments, and one style part.
QByteArray archiveBytes(qsizetype bytes, bool utf8)
{
    QByteArray a = "From: <Saved by a browser>\r\nMIME-Version: 1.0\r\n"
                   "Content-Type: multipart/related; boundary=\"--------Part01\"\r\n\r\n"
                   "----------Part01\r\nContent-Type: text/html; charset=\"";
    a += utf8 ? "utf-8" : "windows-1251";
    a += "\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
         "<HTML><HEAD><TITLE>Page</TITLE></HEAD><BODY>\r\n";
    const QByteArray word = utf8 ? "=D0=A1=D1=82=D1=80=D0=BE=D0=BA=D0=B0" : "=D1=F2=F0=EE=EA=E0";
    a.reserve(bytes + 400);
    for (int i = 0; a.size() < bytes; ++i) {
        a += "<P class=3D\"text\" style=3D\"color:#123456\">" + word + " of the page =E2=84=96" + QByteArray::number(i) +
             " with a long line that the archive breaks with a soft line br=\r\neak</P>\r\n";
        if (i % 50 == 0)
            a += "<SCRIPT>var x =3D \"=20\";</SCRIPT><!-- note =20 -->\r\n";
    }
    a += "</BODY></HTML>\r\n\r\n----------Part01\r\nContent-Type: text/css;\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n\r\nP.text {color: red}\r\n----------Part01--\r\n";
    return a;
}

QString pageText(qsizetype chars)
{
    QString t = QStringLiteral("<html>\r\n<body>\r\n");
    t.reserve(chars + 200);
    for (int i = 0; t.size() < chars; ++i)
        t += QStringLiteral("  <table>\r\n\t<tr> <td> Ячейка %1 </td> </tr>\r\n  </table>\r\n  <p>  Text <b> bold </b>  more</p><br> \r\n").arg(i);
    return t;
}

QString cssText(qsizetype chars)
{
    QString t;
    t.reserve(chars + 200);
    for (int i = 0; t.size() < chars; ++i)
        t += QStringLiteral("div .c%1 {\r\n\tcolor : #123456 ;\r\n\tmargin: 0 .5em;\r\n\tbackground: url( a%1.png );\r\n}\r\n").arg(i);
    return t;
}

void BM_ImportMht(benchmark::State& state)
{
    const QByteArray a = archiveBytes(state.range(0), state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportMHT(a));
    state.SetBytesProcessed(state.iterations() * a.size());
}

void BM_CompressHtml(benchmark::State& state)
{
    const QString t = pageText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(CompressHtml(t));
    state.SetBytesProcessed(state.iterations() * t.size());
}

void BM_CompressCss(benchmark::State& state)
{
    const QString t = cssText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(CompressCss(t));
    state.SetBytesProcessed(state.iterations() * t.size());
}

constexpr int kMB = 1 << 20;

} // namespace

BENCHMARK(BM_ImportMht)->ArgsProduct({{kMB, 10 * kMB}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressHtml)->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressCss)->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond);
