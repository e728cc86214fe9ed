// One whole battle step of a busy level: hundreds of walking enemies, dozens
// of firing towers of every kind with their real effects, and three map
// areas that outlast the run. The level's update and its drawing are timed
// apart, in processor time of this thread.
#include "BenchmarkBattle.h"

#include "Game/Data/NQUnitDatabase.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/Modifiers/DotModifierArea.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/Modifiers/MapImpassableArea.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTower.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <iterator>
#include <string>

namespace
{
namespace towers = gametest::towers;
namespace units = gametest::units;

constexpr float kForever = 1.0e9f;
constexpr int kWarmUpSteps = 600;
constexpr int kStepsPerRound = 600;
constexpr int kSpotColumns = 16;
constexpr int kSpotCount = 64;

// Splash, homing and rotating, lobbed, beam, booster, income, revealing, dot and stun.
constexpr int kKinds[] = {towers::kCannon,     towers::kArrow,     towers::kCannon + 2,   towers::kMagic,
                          towers::kMagic + 1, towers::kBank,      towers::kMagic + 2,   towers::kArrow + 100};

class BusyLevel : public gametest::BenchmarkBattle
{
public:
    void Fill(int enemies, int towerCount)
    {
        std::string spots;
        for (int i = 0; i < kSpotCount; ++i)
            spots += gametest::SpotXml(60.0f + float(i % kSpotColumns) * 60.0f, 330.0f + float(i / kSpotColumns) * 50.0f,
                                       {{"radius_mult", 1}, {"damage_mult", 1}, {"income_mult", 1}});
        StartLongRoad(spots);
        map->mEconomy->mGold = 1000000;
        for (int i = 0; i < towerCount; ++i)
        {
            // Spread over the spots so every part of the road has towers.
            const int spot = (i * kSpotCount / towerCount) % kSpotCount;
            map->BuildTower(map->mUnitDatabase->FindProto(kKinds[i % std::size(kKinds)]), SpotFrame(spot));
        }
        PlaceMapModifier(new FireSplashModifier("", 1.0f, kForever, nullptr, 300, 400, 150))->mPeriod = 1.0f;
        PlaceMapModifier(new MapImpassableArea(kForever, 900, 400, 60));
        PlaceMapModifier(new DotModifierArea(600, 400, 150, 1.0f, kForever));
        for (int i = 0; i < enemies; ++i)
            SpawnWalker(units::kTank);
    }

    // The frame step of Step, with the processor time of each half added up.
    void OneStep()
    {
        const double start = ThreadSeconds();
        ++framesStepped;
        map->Update(kFrame);
        const double updated = ThreadSeconds();
        DrawFrame();
        updateSeconds += updated - start;
        drawSeconds += ThreadSeconds() - updated;
    }

    size_t TowerCount() const { return map->mTowers.size(); }
    size_t BulletCount() const { return map->mBullets->mBullets.size(); }
    size_t Modifiers() const { return map->mModifiers.size() + EnemyModifierCount(); }

    size_t Effects() const
    {
        return map->mEffects.size() + map->mDepthEffects.size() + map->mLooseEmitters.size() + map->mParticles.size();
    }

    static double ThreadSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1.0e-9;
    }

    double updateSeconds = 0.0;
    double drawSeconds = 0.0;
};

void BusyLevelStep(benchmark::State& state)
{
    BusyLevel level;
    level.Open();
    const int enemies = int(state.range(0));
    level.Fill(enemies, int(state.range(1)));
    for (int i = 0; i < kWarmUpSteps; ++i)
        level.OneStep();
    level.PutBack();
    level.updateSeconds = 0.0;
    level.drawSeconds = 0.0;
    int steps = 0;
    for (auto _ : state)
    {
        level.OneStep();
        if (++steps % kStepsPerRound == 0)
        {
            state.PauseTiming();
            level.PutBack();
            state.ResumeTiming();
        }
    }
    // Microseconds per step.
    const double perStep = steps > 0 ? 1.0e6 / double(steps) : 0.0;
    state.counters["update_us"] = level.updateSeconds * perStep;
    state.counters["draw_us"] = level.drawSeconds * perStep;
    state.counters["enemies"] = double(level.EnemyCount());
    state.counters["towers"] = double(level.TowerCount());
    state.counters["bullets"] = double(level.BulletCount());
    state.counters["modifiers"] = double(level.Modifiers());
    state.counters["effects"] = double(level.Effects());
    if (level.EnemyCount() != size_t(enemies))
        state.SkipWithError("enemies left the road during the measurement");
    level.Close();
}
BENCHMARK(BusyLevelStep)
    ->Args({0, 0})
    ->Args({300, 40})
    ->Args({3000, 40})
    ->Args({300, 24})
    ->Args({300, 64})
    ->Args({1000, 24})
    ->Args({1000, 64})
    ->Unit(benchmark::kMicrosecond);
} // namespace
