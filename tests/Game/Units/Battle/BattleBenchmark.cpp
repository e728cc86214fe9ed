// One battle step (enemy modifiers, enemies, wave step) on the long road with
// N walking enemies, 15% of them healers, haste or invisibleArea units.
#include "BenchmarkBattle.h"

#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQEnemy.h"

#include <benchmark/benchmark.h>

namespace
{
namespace units = gametest::units;

constexpr float kFrame = gametest::BenchmarkBattle::kFrame;
// Steps between putting the walkers back, long before any reaches the goal.
constexpr int kStepsPerRound = 600;

class AuraBattle : public gametest::BenchmarkBattle
{
public:
    void Fill(int count)
    {
        StartLongRoad();
        StepFrames(2);
        const int auraUnits[] = {units::kHealer, units::kHaste, units::kInvisibleArea};
        for (int i = 0; i < count; ++i)
        {
            // 3 of every 20: 15%.
            SpawnWalker(i % 20 < 3 ? auraUnits[i % 20] : units::kTank);
        }
    }

    void BattleStep(float dt)
    {
        NQWaveManager* waves = map->mWaveManager;
        waves->UpdateEnemyModifiers(dt);
        for (size_t i = 0; i < waves->mEnemies.size(); ++i)
            waves->mEnemies[i]->Update(dt);
        waves->Update(dt);
        for (NQEnemy* enemy : waves->mEnemies)
            enemy->mSlow = 0.0f;
    }
};

void BattleStep(benchmark::State& state)
{
    AuraBattle battle;
    battle.Open();
    const int count = int(state.range(0));
    battle.Fill(count);
    int steps = 0;
    for (auto _ : state)
    {
        battle.BattleStep(kFrame);
        if (++steps % kStepsPerRound == 0)
        {
            state.PauseTiming();
            battle.PutBack();
            state.ResumeTiming();
        }
    }
    state.counters["enemies"] = double(battle.EnemyCount());
    state.counters["modifiers"] = double(battle.EnemyModifierCount());
    if (battle.EnemyCount() != size_t(count))
        state.SkipWithError("enemies left the road during the measurement");
    battle.Close();
}
BENCHMARK(BattleStep)->Arg(200)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
} // namespace
