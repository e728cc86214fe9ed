// NQMap::DrawContextMenu per frame on the recording back end: a four-item
// build ring and a three-item tower ring, fully open, with their pictures,
// prices and ability icons.
#include "InputFixture.h"

#include <benchmark/benchmark.h>

namespace
{
namespace towers = gametest::towers;

class RingBenchmark : public gametest::InputTest
{
public:
    void TestBody() override {}
    void Open() { SetUp(); }
    void Close() { TearDown(); }

    void OpenBuildRing()
    {
        LoadRingPictures();
        ReleaseOnSpot(kOpenSpot);
        OpenFully();
    }

    void OpenTowerRing()
    {
        LoadRingPictures();
        Unlock("20000,20001,20002");
        NQTower* tower = BuildOn(kOpenSpot, towers::kArrow);
        map->OnMouseUp(int(tower->mX), int(tower->mY));
        OpenFully();
    }

    size_t ItemCount() const { return Ring() ? Ring()->mItems.size() : 0; }

    void DrawOnce()
    {
        Recorder()->Record([&](render::Graphics* g) { map->DrawContextMenu(g); });
    }
};

void Run(benchmark::State& state, bool towerRing, size_t items)
{
    RingBenchmark bench;
    bench.Open();
    if (towerRing)
        bench.OpenTowerRing();
    else
        bench.OpenBuildRing();
    if (bench.ItemCount() != items)
        state.SkipWithError("the ring does not hold the expected items");
    for (auto _ : state)
        bench.DrawOnce();
    state.counters["items"] = double(bench.ItemCount());
    bench.Close();
}

void DrawBuildRing(benchmark::State& state)
{
    Run(state, false, 4);
}

void DrawTowerRing(benchmark::State& state)
{
    Run(state, true, 3);
}

BENCHMARK(DrawBuildRing)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawTowerRing)->Unit(benchmark::kMicrosecond);
} // namespace
