// The cost of one PeekMessageW on an empty queue, and of the one call that
// merges 1,000 queued motion events into a single move.
#include "support/TestWindow.h"

#include <benchmark/benchmark.h>

using namespace testwin;

namespace
{
struct BenchWindow
{
    BenchWindow()
    {
        SDL_setenv("SDL_VIDEODRIVER", "offscreen", 0);
        hwnd = MakeWindow(rec);
        SetTimer(hwnd, 100, 1000000, nullptr);
        PumpAll(nullptr);
        CurrentRecorder() = nullptr;
    }
    ~BenchWindow() { DestroyWindow(hwnd); }
    Recorder rec;
    HWND hwnd = nullptr;
};

void PeekEmptyQueue(benchmark::State& state)
{
    BenchWindow w;
    MSG msg;
    for (auto _ : state)
        benchmark::DoNotOptimize(PeekMessageW(&msg, w.hwnd, 0, 0, PM_REMOVE));
}
BENCHMARK(PeekEmptyQueue);

void PeekMerging1000Motions(benchmark::State& state)
{
    BenchWindow w;
    MSG msg;
    for (auto _ : state)
    {
        state.PauseTiming();
        for (int i = 0; i < 1000; ++i)
            Push(Motion(w.hwnd, i % 600, i % 400));
        state.ResumeTiming();
        PeekMessageW(&msg, w.hwnd, 0, 0, PM_REMOVE);
        if (msg.message != WM_MOUSEMOVE)
            state.SkipWithError("no merged move");
    }
}
BENCHMARK(PeekMerging1000Motions);
} // namespace
