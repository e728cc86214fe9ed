// One battle step (enemy modifiers, enemies, wave step) on the long road with
// N walking enemies, 15% of them healers, haste or invisibleArea units.
#include "BattleFixture.h"

#include "Game/NQEnemy.h"
#include "Game/NQMap.h"
#include "Game/NQWaveManager.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{
namespace units = gametest::units;

constexpr float kFrame = 1.0f / 60.0f;
// Never killed, never healed: the auras still search every frame.
constexpr float kHealth = 1.0e9f;
// Steps between putting the walkers back, long before any reaches the goal.
constexpr int kStepsPerRound = 600;
constexpr int kFirstLinks = 6;

class BenchmarkBattle : public gametest::BattleTest
{
public:
    void TestBody() override {}
    void Open() { SetUp(); }
    void Close() { TearDown(); }

    void Fill(int count)
    {
        using gametest::EntryXml;
        StartBattleOn(gametest::LongRoadLevelXml(
            gametest::WaveXml("timeout=\"100000\" spawn=\"1\"", EntryXml(units::kTank, 0.0f))));
        StepFrames(2);
        const int auraUnits[] = {units::kHealer, units::kHaste, units::kInvisibleArea};
        const float lanes[] = {0.0f, -32.5f, -65.0f, -97.5f, -130.0f};
        for (int i = 0; i < count; ++i)
        {
            // 3 of every 20: 15%.
            const int unit = i % 20 < 3 ? auraUnits[i % 20] : units::kTank;
            NQEnemy* enemy = SpawnNow(unit, lanes[i % 5]);
            enemy->mHealth = kHealth;
            enemy->mRouteIndex = i % kFirstLinks;
            enemy->mProgress = float(i % 97) / 97.0f;
            mStarts.push_back({enemy->mRouteIndex, enemy->mProgress});
        }
    }

    void PutBack()
    {
        const std::vector<NQEnemy*>& enemies = Enemies();
        for (size_t i = 0; i < enemies.size() && i < mStarts.size(); ++i)
        {
            enemies[i]->mRouteIndex = mStarts[i].first;
            enemies[i]->mProgress = mStarts[i].second;
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

    size_t EnemyCount() const { return Enemies().size(); }

    size_t ModifierCount() const
    {
        size_t count = 0;
        for (const NQEnemy* enemy : Enemies())
            count += enemy->mModifiers.size();
        return count;
    }

private:
    std::vector<std::pair<int32_t, float>> mStarts;
};

void BattleStep(benchmark::State& state)
{
    BenchmarkBattle battle;
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
    state.counters["modifiers"] = double(battle.ModifierCount());
    if (battle.EnemyCount() != size_t(count))
        state.SkipWithError("enemies left the road during the measurement");
    battle.Close();
}
BENCHMARK(BattleStep)->Arg(200)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
} // namespace
