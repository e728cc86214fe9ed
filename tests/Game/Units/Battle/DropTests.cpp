// Gems: the drop, the flight, lying, collection and the flight to the counter.
#include "TowerFixture.h"

#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQCrystallSpecial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
using gametest::TowerTest;
namespace units = gametest::units;

class DropTest : public TowerTest
{
protected:
    NQCrystallSpecial* Drop(float x, float y)
    {
        NQEnemy* enemy = EnemyAt(units::kTank, x, y);
        auto* gem = new NQCrystallSpecial(enemy);
        map->mDrops->push_back(gem);
        return gem;
    }
};

TEST_F(DropTest, AGemJumpsToARingAroundTheEnemy)
{
    NQCrystallSpecial* gem = Drop(300, 400);
    EXPECT_EQ(gem->mState, NQTowerSpecial::kFlyingOut);
    const float d = PointDistance(gem->mStartX, gem->mStartY, gem->mTargetX, gem->mTargetY);
    EXPECT_GE(d, 49.99f);
    EXPECT_LE(d, 100.01f);
    EXPECT_EQ(gem->mControlY, std::min(gem->mStartY, gem->mTargetY) - 25.0f);
    EXPECT_NE(gem->mShadow, nullptr);
    EXPECT_EQ(gem->mAnimation->mRate, 8.0f);
}

TEST_F(DropTest, FlyingOneSecondThenLyingThenCollectedAndGone)
{
    NQCrystallSpecial* gem = Drop(300, 400);
    for (int i = 0; i < 4; ++i)
        map->UpdateDrops(*map->mDrops, 0.25f);
    EXPECT_EQ(gem->mState, NQTowerSpecial::kFlyingOut);
    map->UpdateDrops(*map->mDrops, 0.25f);
    EXPECT_EQ(gem->mState, NQTowerSpecial::kLying);
    EXPECT_EQ(gem->mProgress, 1.0f);
    const float lyingX = gem->mTargetX;
    gem->SetState(NQTowerSpecial::kCollected);
    EXPECT_EQ(gem->mStartX, lyingX);
    EXPECT_EQ(gem->mTargetX, 150.0f);
    EXPECT_EQ(gem->mTargetY, 50.0f);
    EXPECT_LE(gem->mProgress, 0.0f);
    EXPECT_GT(gem->mProgress, -1.0f);
    EXPECT_EQ(CountEvent(L"gem_collected"), 1);
    for (int i = 0; i < 10 && !map->mDrops->empty(); ++i)
        map->UpdateDrops(*map->mDrops, 0.0625f);
    EXPECT_TRUE(map->mDrops->empty());
}

TEST_F(DropTest, AGemLyingFiveSecondsIsCollectedByTheFrame)
{
    NQCrystallSpecial* gem = Drop(300, 400);
    gem->mState = NQTowerSpecial::kLying;
    gem->mProgress = 4.99f;
    const int gems = Economy().mGems;
    StepFrames(1);
    EXPECT_EQ(gem->mState, NQTowerSpecial::kCollected);
    EXPECT_EQ(Economy().mGems, gems + 1);
    EXPECT_EQ(Economy().mGemsGained, 1);
}

TEST_F(DropTest, AClickCollectsTheFirstLyingGemStrictlyInReach)
{
    NQCrystallSpecial* flying = Drop(100, 100);
    NQCrystallSpecial* first = Drop(100, 100);
    NQCrystallSpecial* second = Drop(100, 100);
    for (NQCrystallSpecial* gem : {flying, first, second})
    {
        gem->mX = 0.0f;
        gem->mY = 0.0f;
    }
    first->mState = second->mState = NQTowerSpecial::kLying;
    first->mX = 34.65f;
    EXPECT_EQ(FindCollectableAt(*map->mDrops, 0, 0), second);
    first->mX = 34.6f;
    EXPECT_EQ(FindCollectableAt(*map->mDrops, 0, 0), first);
    EXPECT_FALSE(HasCollectableAt(*map->mDrops, 500, 500));
    const int gems = Economy().mGems;
    EXPECT_TRUE(CollectGemAt(0, 0));
    EXPECT_EQ(first->mState, NQTowerSpecial::kCollected);
    EXPECT_EQ(Economy().mGems, gems + 1);
    SetStateAll(*map->mDrops, NQTowerSpecial::kLying);
    EXPECT_EQ(flying->mState, NQTowerSpecial::kLying);
}

TEST_F(DropTest, TheFlightFollowsTheBezierThroughTheControlPoint)
{
    NQCrystallSpecial* gem = Drop(100, 300);
    gem->mTargetX = 200.0f;
    gem->mTargetY = 200.0f;
    gem->mControlX = 150.0f;
    gem->mControlY = 175.0f;
    struct Case
    {
        float progress;
        float x;
        float y;
    };
    const Case cases[] = {{-0.1f, 100, 300}, {0.0f, 100, 300}, {0.5f, 150, 212.5f}, {1.0f, 200, 200}, {1.2f, 200, 200}};
    for (const Case& c : cases)
    {
        gem->mProgress = c.progress;
        gem->Draw(nullptr);
        EXPECT_FLOAT_EQ(gem->mX, c.x) << c.progress;
        EXPECT_FLOAT_EQ(gem->mY, c.y) << c.progress;
    }
}

TEST_F(DropTest, TheDropOverrideLaysEveryGemAtOnePoint)
{
    map->mDropChanceOverride = 1.0f;
    NQCrystallSpecial* gem = Drop(300, 400);
    EXPECT_EQ(gem->mState, NQTowerSpecial::kLying);
    EXPECT_EQ(gem->mProgress, 1.0f);
    EXPECT_EQ(gem->mX, 200.0f);
    EXPECT_EQ(gem->mY, 200.0f);
    EXPECT_TRUE(CollectGemAt(200, 200));
}

TEST_F(DropTest, AKillThatDropsMakesAGem)
{
    NQEnemy* enemy = SpawnNow(units::kDropper);
    enemy->mHealth = 0.0f;
    for (int i = 0; i < 120 && CountEvent(L"gem_dropped") == 0; ++i)
        StepFrames(1);
    EXPECT_EQ(CountEvent(L"gem_dropped"), 1);
    ASSERT_EQ(map->mDrops->size(), 1u);
    EXPECT_EQ(map->mDrops->front()->mState, NQTowerSpecial::kFlyingOut);
}
} // namespace
