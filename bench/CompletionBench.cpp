// A keystroke on 1 MB and 10 MB pages with the help while typing (the
// completion list, closing tags, abbreviations) on and off, and the time
// from typing "<" to the completion list shown with its items.
#include "BenchWindow.h"
#include "app/Globals.h"
#include "app/ui/CompletionCommands.h"
#include "app/ui/MainWindow.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kPageSizes[] = {1 << 20, 10 << 20};

TForm1& window()
{
    static TForm1* f = MakeBenchWindow();
    return *f;
}

void setTypingHelp(bool on)
{
    TypingCompletion = TypingCloseTags = TypingAbbreviations = on;
}

// A page of equal lines, the caret inside the text of a line in the middle.
void loadPage(qsizetype bytes)
{
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы</p>");
    QString text;
    text.reserve(bytes + line.size() + 2);
    while (text.size() < bytes)
        text += line + QStringLiteral("\r\n");
    TKRichEdit* m = window().Memo1;
    m->setText(text);
    m->setSelStart(m->lineStart(m->lineCount() / 2) + 40);
    UndoReset();
    UndoSnapshot();
}

void press(TKRichEdit* m, Qt::Key key, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(m, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(m, &up);
}

void BM_KeystrokeTypingHelp(benchmark::State& state)
{
    setTypingHelp(state.range(1) != 0);
    loadPage(state.range(0));
    TKRichEdit* m = window().Memo1;
    for (auto _ : state)
        press(m, Qt::Key_X, QStringLiteral("x"));
    setTypingHelp(true);
}

// "<" typed: the key's press and release, the list opened and filled.
void BM_OpenCompletionList(benchmark::State& state)
{
    setTypingHelp(true);
    loadPage(state.range(0));
    TKRichEdit* m = window().Memo1;
    auto* completion = window().findChild<TCompletionCommands*>();
    for (auto _ : state) {
        press(m, Qt::Key_Less, QStringLiteral("<"));
        state.PauseTiming();
        if (!completion->isOpen())
            state.SkipWithError("the list did not open");
        press(m, Qt::Key_Escape, QString());
        press(m, Qt::Key_Backspace, QString());
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_KeystrokeTypingHelp)->ArgsProduct({{kPageSizes[0], kPageSizes[1]}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCompletionList)->Arg(kPageSizes[0])->Arg(kPageSizes[1])->Unit(benchmark::kMillisecond);
