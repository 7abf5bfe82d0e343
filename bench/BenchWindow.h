#pragma once
// Main windows for the benchmarks that drive the real window: each made in a
// program folder of its own, shown, past its loading second, and deleted by
// the benchmark main while the application object still exists.
class TForm1;
class TKRichEdit;

TForm1* MakeBenchWindow();
void DeleteBenchWindows();
// A typed "x": its key press and release, as the window gets them.
void TypeKey(TKRichEdit* editor);
