// The harness's example: a level, a few steps, assertions.
#include "BattleFixture.h"

#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace
{
using gametest::BattleTest;
namespace units = gametest::units;

TEST_F(BattleTest, TwoGruntsWalkTheStraightRoadAndLeak)
{
    StartBattleOn(gametest::StraightLevelXml(gametest::WaveXml(
        "spawn=\"1\"", gametest::EntryXml(units::kGrunt, 0.0f) + gametest::EntryXml(units::kGrunt, 45.0f))));
    StepFrames(2);
    ASSERT_EQ(CountEnemies(units::kGrunt), 1);
    StepUntilEnd();
    // Both reached the goal: 2 lives of strength 1 each, and the level is won.
    EXPECT_EQ(map->mLives, 23.0f);
    EXPECT_EQ(map->mScreenState, screen::kWon);
    EXPECT_EQ(Economy().mKillScore, 0);
}
} // namespace
