// A level start on the fixture data with the loading picture presented.
#include "GameFixture.h"

#include "Game/NQMap.h"

#include <benchmark/benchmark.h>

namespace
{
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
    for (auto _ : state)
    {
        map->StartLevel();
        gametest::CallLog().clear();
    }
}
BENCHMARK(StartLevel)->Unit(benchmark::kMillisecond);
} // namespace
