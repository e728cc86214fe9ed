// The harness's example: a level, a few steps, assertions.
#include "BattleFixture.h"

#include "Game/NQLevelEconomy.h"
#include "Game/NQMap.h"

#include <gtest/gtest.h>

namespace
{
using gametest::BattleTest;
namespace units = gametest::units;

TEST_F(BattleTest, TwoGruntsWalkTheStraightRoadAndLeak)
{
    StartBattleOn(gametest::StraightLevelXml("<wave timeout=\"0\" spawn=\"1\">"
                                             "<e id=\"50\" upgrade=\"1\" x=\"0\" y=\"-65\"/>"
                                             "<e id=\"50\" upgrade=\"1\" x=\"45\" y=\"-65\"/></wave>\n"));
    StepFrames(2);
    ASSERT_EQ(CountEnemies(units::kGrunt), 1);
    StepUntilEnd();
    // Both reached the goal: 2 lives of strength 1 each, and the level is won.
    EXPECT_EQ(map->mLives, 23.0f);
    EXPECT_EQ(map->mScreenState, screen::kWon);
    EXPECT_EQ(Economy().mKillScore, 0);
}
} // namespace
