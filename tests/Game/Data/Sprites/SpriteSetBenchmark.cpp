#include "DataRootFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Game/Data/NQResources.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{
constexpr int kGroups = 40;
constexpr int kLayersPerGroup = 50; // 2,000 layers

// PreloadSpriteSets of a generated 2,000-layer image: 40 top-level groups of
// 50 layers spread over the sets' named groups. No application runs, so the
// cost is the listing and the frames, not picture decoding.
void PreloadSpriteSets(benchmark::State& state)
{
    gametest::DataRoot data;
    static const char* const kGroupsUsed[] = {"idle", "walk", "death", "f_00", "f_07", "rotate", "", "shot"};
    std::vector<gametest::FixtureLayer> layers;
    for (int g = 0; g < kGroups; ++g)
        for (int i = 0; i < kLayersPerGroup; ++i)
        {
            const std::string group = kGroupsUsed[i % 8];
            const std::string folder = "unit" + std::to_string(g) + "/" + (group.empty() ? "" : group + "/");
            layers.push_back({folder + "l" + std::to_string(i), i, g, 4, 4});
        }
    data.Write("nq/units/big/layers.xml", gametest::LayersXml(layers));
    for (auto _ : state)
    {
        NQResources::Instance()->PreloadSpriteSets(L"nq/units/big");
        state.PauseTiming();
        NQResources::Instance()->DeleteSpriteSets();
        state.ResumeTiming();
    }
    base::testing::TeardownSingletonsNow();
}
BENCHMARK(PreloadSpriteSets)->Unit(benchmark::kMillisecond);
} // namespace
