#pragma once
// Main windows for the benchmarks that drive the real window: each made in a
// program folder of its own, shown, past its loading second, and deleted by
// the benchmark main while the application object still exists.
class TForm1;

TForm1* MakeBenchWindow();
void DeleteBenchWindows();
