// What a level start costs for its roads: the reading steps and the route
// building, computed or from the path cache, on a level the size of the
// content's; the route of one spawning enemy; a whole wave spawning at once;
// the sampling of one link.
#include "BenchmarkBattle.h"
#include "DataRootFixture.h"
#include "LevelFileFixtures.h"
#include "PathCacheWriter.h"
#include "TempProfileStore.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Game/BezierCurve.h"
#include "Game/Game.h"
#include "Game/NQEnemy.h"
#include "Game/NQMap.h"
#include "Game/NQPathSample.h"
#include "Game/NQPoint.h"
#include "Game/NQWaveEntry.h"
#include "Game/NQWaveManager.h"
#include "Game/NQWaveProto.h"
#include "Platform/Bass/StandIn.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
const std::string kCachePath = "nq/levels_normal/level_01_01.cache";

// A level object on a scratch data root, with the content-sized level read.
struct ContentLevel
{
    ContentLevel()
    {
        bass::UseManualOutput();
        map = std::make_unique<NQMap>();
        game::testing::SetRunningMap(map.get());
        Read();
    }
    ~ContentLevel()
    {
        game::testing::SetRunningMap(nullptr);
        map.reset();
        base::testing::TeardownSingletonsNow();
    }
    void Read()
    {
        std::string picture;
        map->ReadLevelText(text, picture);
    }

    hvtest::TempFolder xdg;
    hvtest::ScopedEnv xdgEnv{"XDG_DATA_HOME", xdg.Folder().string()};
    gametest::DataRoot data;
    gametest::TempProfileStore profiles;
    std::unique_ptr<NQMap> map;
    const std::string text = gametest::ContentSizedLevelXml();
};

void ReadLevelAndComputeRoutes(benchmark::State& state)
{
    ContentLevel level;
    for (auto _ : state)
    {
        level.Read();
        level.map->BuildRoutes();
    }
    state.counters["lanes"] = double(level.map->mLanePaths->size());
}
BENCHMARK(ReadLevelAndComputeRoutes)->Unit(benchmark::kMillisecond);

void ReadLevelAndLoadPathCache(benchmark::State& state)
{
    ContentLevel level;
    level.map->BuildRoutes();
    level.data.Write(kCachePath, gametest::WritePathCache(*level.map->mLanePaths, *level.map->mLinks));
    for (auto _ : state)
    {
        level.Read();
        level.map->BuildRoutes();
    }
}
BENCHMARK(ReadLevelAndLoadPathCache)->Unit(benchmark::kMillisecond);

void FindRouteOfASpawningEnemy(benchmark::State& state)
{
    ContentLevel level;
    NQPoint* spawn = level.map->FindSpawnPoint();
    NQPoint* goal = level.map->FindGoalPoint();
    for (auto _ : state)
        benchmark::DoNotOptimize(level.map->FindRoute(spawn, goal));
}
BENCHMARK(FindRouteOfASpawningEnemy)->Unit(benchmark::kMicrosecond);

// N enemies of one wave spawned at the content-sized level's spawn point: its
// route is searched for the first of them and walked by all the others.
void SpawnAWholeWave(benchmark::State& state)
{
    gametest::BenchmarkBattle battle;
    battle.Open();
    battle.StartOn(gametest::ContentSizedLevelXml());
    NQMap* map = Game::GetMap();
    NQPoint* spawn = map->FindSpawnPoint();
    NQWaveProto wave;
    for (int64_t i = 0; i < state.range(0); ++i)
    {
        auto* entry = new NQWaveEntry(&wave);
        entry->mId = gametest::units::kTank;
        wave.mEntries.push_back(entry);
    }
    for (auto _ : state)
    {
        wave.mRoutes.clear();
        for (NQWaveEntry* entry : wave.mEntries)
            map->SpawnEnemy(entry, spawn);
        state.PauseTiming();
        if (map->mWaveManager->mEnemies.size() != wave.mEntries.size())
            state.SkipWithError("an enemy was not spawned");
        base::DeleteAll(map->mWaveManager->mEnemies);
        state.ResumeTiming();
    }
    battle.Close();
}
BENCHMARK(SpawnAWholeWave)->Arg(1000)->Unit(benchmark::kMillisecond);

void SampleOneLink(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::vector<NQPathSample*> samples;
        SampleOffsetBezier({150.0f, 80.0f}, {220.0f, 55.0f}, {290.0f, 80.0f}, -10.0f, 20, samples);
        benchmark::DoNotOptimize(samples.data());
        base::DeleteAll(samples);
    }
}
BENCHMARK(SampleOneLink)->Unit(benchmark::kMicrosecond);
} // namespace
