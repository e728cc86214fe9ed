// The shop with a section of 30 upgrades: the window's construction (every
// plate built and refreshed), and one frame (Update, then Draw into the
// recording back end) while the list scrolls by one wheel notch a frame.
#include "ShopFixture.h"

#include "Game/Hud/HUDShopWindow.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int kSectionSize = 30;
constexpr float kFrameTime = 1.0f / 60.0f;
constexpr int kNotch = 120;
// Notches from top to bottom and back, at 120/1024 of the range each.
constexpr int kNotchesPerSweep = 9;

class ShopRun : public gametest::ShopTest
{
public:
    void TestBody() override {}
    void Start()
    {
        SetUp();
        LoadUpgrades(gametest::FixtureUpgradesXml(kSectionSize));
        SetGems(500);
    }
    void Stop() { TearDown(); }
    size_t Frame(HUDShopWindow& shop, int frame)
    {
        const bool down = (frame / kNotchesPerSweep) % 2 == 0;
        shop.OnMouseWheel(down ? -kNotch : kNotch);
        shop.Update(kFrameTime);
        return Record([&](render::Graphics* g) { shop.Draw(g); }).size();
    }
};

void ShopConstruction(benchmark::State& state)
{
    ShopRun run;
    run.Start();
    size_t plates = 0;
    for (auto _ : state)
    {
        HUDShopWindow shop(false);
        plates = shop.mPlates.size();
        benchmark::DoNotOptimize(plates);
    }
    state.counters["plates"] = double(plates);
    run.Stop();
}
BENCHMARK(ShopConstruction)->Unit(benchmark::kMicrosecond);

void ShopScrollingFrame(benchmark::State& state)
{
    ShopRun run;
    run.Start();
    {
        HUDShopWindow shop(false);
        int frame = 0;
        size_t quads = 0;
        for (auto _ : state)
            quads = run.Frame(shop, frame++);
        state.counters["quads"] = double(quads);
    }
    run.Stop();
}
BENCHMARK(ShopScrollingFrame)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
