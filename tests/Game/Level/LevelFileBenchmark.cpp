// What a level start costs for its roads: the reading steps and the route
// building, computed or from the path cache, on a level the size of the
// content's and on every level the content ships; the route of one spawning
// enemy; a whole wave spawning at once; the sampling of one link.
#include "BenchmarkBattle.h"
#include "DataRootFixture.h"
#include "LevelFileFixtures.h"
#include "PathCacheWriter.h"
#include "TempProfileStore.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/NQEnemy.h"
#include "Platform/Bass/StandIn.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
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

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped levels, each read and its routes built: argument 1 with the
// path caches the content ships beside them, 0 computed. Per iteration all of
// them; the counter gives one level's time.
void ReadShippedLevelsAndBuildRoutes(benchmark::State& state)
{
    constexpr int kHardcoreMode = 3;
    constexpr int kNormalMode = 1;
    const bool cached = state.range(0) != 0;
    struct Shipped
    {
        std::string text;
        int mode, episode, level;
    };
    ContentLevel level;
    std::vector<Shipped> shipped;
    for (const char* folder : {"levels_normal", "levels_hardcore"})
    {
        const std::filesystem::path from = std::filesystem::path(HV_CONTENT_ROOT) / "nq" / folder;
        if (!std::filesystem::is_directory(from))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(from))
        {
            const std::string name = entry.path().stem().string();
            if (entry.path().extension() != ".xml")
                continue;
            shipped.push_back({ReadFile(entry.path()), std::string(folder) == "levels_hardcore" ? kHardcoreMode : kNormalMode,
                               std::stoi(name.substr(6, 2)) - 1, std::stoi(name.substr(9, 2)) - 1});
            if (cached)
                level.data.Write(std::string("nq/") + folder + "/" + name + ".cache",
                                 ReadFile(entry.path().parent_path() / (name + ".cache")));
        }
    }
    if (shipped.empty())
    {
        state.SkipWithError("no built content in " HV_CONTENT_ROOT);
        return;
    }
    for (auto _ : state)
    {
        for (const Shipped& one : shipped)
        {
            level.map->mMode = one.mode;
            level.map->mEpisode = one.episode;
            level.map->mLevel = one.level;
            std::string picture;
            level.map->ReadLevelText(one.text, picture);
            level.map->BuildRoutes();
        }
    }
    state.counters["levels"] = double(shipped.size());
    state.counters["per_level"] =
        benchmark::Counter(double(shipped.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(ReadShippedLevelsAndBuildRoutes)->Arg(0)->Arg(1)->ArgName("cached")->Unit(benchmark::kMillisecond);

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
