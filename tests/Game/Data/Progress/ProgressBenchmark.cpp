#include "FakeGameServices.h"
#include "TempProfileStore.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Game/Data/NQProgress.h"

#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <memory>

namespace
{
constexpr int kEpisodes = 4;
constexpr int kLevelsPerEpisode = 25;
constexpr int kModes = 2;

// A profile with 200 level elements: four episodes of 25 levels in two modes,
// every level played but the last of each episode.
struct Profile200
{
    Profile200()
    {
        services.episodeCount = kEpisodes;
        for (int e = 0; e < kEpisodes; ++e)
        {
            services.levelCounts[e] = kLevelsPerEpisode;
            services.openEpisodes[e] = true;
        }
        progress = std::make_unique<NQProgress>();
        for (int e = 0; e < kEpisodes; ++e)
            for (int mode = 0; mode < kModes; ++mode)
                for (int level = 0; level < kLevelsPerEpisode; ++level)
                {
                    const int stars = level + 1 < kLevelsPerEpisode ? 1 + level % 3 : 0;
                    // No save per level: only the elements are wanted here.
                    progress->FindOrCreateLevel(e, level, mode)->SetAttribute("stars", stars);
                }
    }
    ~Profile200()
    {
        progress.reset();
        base::testing::TeardownSingletonsNow();
    }
    gametest::TempProfileStore store;
    gametest::FakeGameServices services;
    std::unique_ptr<NQProgress> progress;
};

void GetStarsOfAll(benchmark::State& state)
{
    Profile200 profile;
    for (auto _ : state)
        benchmark::DoNotOptimize(profile.progress->GetStars(-1));
}
BENCHMARK(GetStarsOfAll)->Unit(benchmark::kMicrosecond);

void GetNextLevel(benchmark::State& state)
{
    Profile200 profile;
    for (auto _ : state)
        benchmark::DoNotOptimize(profile.progress->GetNextLevel(kEpisodes - 1, kModes - 1));
}
BENCHMARK(GetNextLevel)->Unit(benchmark::kMicrosecond);
} // namespace
