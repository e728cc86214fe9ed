#include "BenchmarkBattle.h"

#include "BattleData.h"
#include "Game/Units/NQEnemy.h"

#include <vector>

namespace gametest
{
namespace
{
constexpr float kLanes[] = {0.0f, -32.5f, -65.0f, -97.5f, -130.0f};
constexpr size_t kFirstLinks = 6;
// Progress steps along a link; prime, so walkers of one link spread out.
constexpr size_t kProgressSteps = 97;

void PlaceAtStart(NQEnemy* enemy, size_t index)
{
    enemy->mRouteIndex = int32_t(index % kFirstLinks);
    enemy->mProgress = float(index % kProgressSteps) / float(kProgressSteps);
    enemy->mHealth = BenchmarkBattle::kHealth;
}
} // namespace

void BenchmarkBattle::StartLongRoad(const std::string& spots)
{
    const std::string level =
        LongRoadLevelXml(WaveXml("timeout=\"100000\" spawn=\"1\"", EntryXml(units::kTank, 0.0f)));
    StartBattleOn(spots.empty() ? level : WithSpots(level, spots));
}

NQEnemy* BenchmarkBattle::SpawnWalker(int unitId)
{
    const size_t index = Enemies().size();
    NQEnemy* enemy = SpawnNow(unitId, kLanes[index % std::size(kLanes)]);
    if (enemy)
        PlaceAtStart(enemy, index);
    return enemy;
}

void BenchmarkBattle::PutBack()
{
    const std::vector<NQEnemy*>& enemies = Enemies();
    for (size_t i = 0; i < enemies.size(); ++i)
        PlaceAtStart(enemies[i], i);
}

size_t BenchmarkBattle::EnemyModifierCount() const
{
    size_t count = 0;
    for (const NQEnemy* enemy : Enemies())
        count += enemy->mModifiers.size();
    return count;
}
} // namespace gametest
