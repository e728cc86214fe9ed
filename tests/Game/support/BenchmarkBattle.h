#pragma once

// The battle fixture driven by hand for the benchmarks: the long road with a
// wave that never ends, and walkers that never die, spread over its first
// links and put back at their starts long before any reaches the goal.
#include "BattleFixture.h"

#include <cstddef>
#include <string>

class NQEnemy;

namespace gametest
{
class BenchmarkBattle : public BattleTest
{
public:
    static constexpr float kFrame = 1.0f / 60.0f;
    // Never killed; the auras still search every frame.
    static constexpr float kHealth = 1.0e9f;

    void TestBody() override {}
    void Open() { SetUp(); }
    void Close() { TearDown(); }

    // The long road with the spots and one endless wave.
    void StartLongRoad(const std::string& spots = std::string());
    // Any level file, started as the battle's level.
    void StartOn(const std::string& levelXml) { StartBattleOn(levelXml); }
    // The next walker: its lane, link and progress follow from its place
    // among the enemies.
    NQEnemy* SpawnWalker(int unitId);
    // Every walker back at its start, at full health.
    void PutBack();

    size_t EnemyCount() const { return Enemies().size(); }
    // The modifiers the enemies carry.
    size_t EnemyModifierCount() const;
};
} // namespace gametest
