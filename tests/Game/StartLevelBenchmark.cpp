// A level start on the fixture data with the loading picture presented: a
// small level with a road from its spawn point to its goal, so the start
// finds its routes as a real level's does.
#include "BattleData.h"
#include "GameFixture.h"

#include "Game/NQMap.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int kHardcoreMode = 3;

void StartLevel(benchmark::State& state)
{
    gametest::GameRun run;
    gametest::WriteGameContent(*run.data);
    gametest::GameRun::SupplyMonitor(1366, 768, 768);
    if (run.Start() != HV_OK || run.Frame() != HV_OK || !run.Map())
    {
        state.SkipWithError("the game did not start");
        return;
    }
    NQMap* map = run.Map();
    // No wave: each would log a line at every start.
    run.data->Write(gametest::LevelFilePath(map->mEpisode, map->mLevel, map->mMode == kHardcoreMode),
                    gametest::StraightLevelXml(""));
    for (auto _ : state)
    {
        map->StartLevel();
        gametest::CallLog().clear();
    }
}
BENCHMARK(StartLevel)->Unit(benchmark::kMillisecond);
} // namespace
