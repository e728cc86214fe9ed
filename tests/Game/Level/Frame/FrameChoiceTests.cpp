// Which frame a tower and an enemy show, state by state, with every index
// kept inside its group and nothing shown from an empty group.
#include "Game/Units/Battle/TowerFixture.h"

#include "Core/Math/Transform2D.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using gametest::TowerTest;
namespace towers = gametest::towers;
namespace units = gametest::units;

// Half a frame past the frame's start, clear of rounding at its edges.
float FrameTime(float frame, float fps)
{
    return (frame + 0.5f) / fps;
}

class FrameChoiceTest : public TowerTest
{
protected:
    void TearDown() override
    {
        for (auto& [proto, set] : swappedSets)
            proto->spriteSet = set;
        swappedSets.clear();
        TowerTest::TearDown();
    }

    // The frame the tower shows, or null.
    NQFrameEntry* TowerFrame(NQTower* tower, int state, float animTime, float angle = 0.0f)
    {
        tower->mState = state;
        tower->mAnimTime = animTime;
        tower->mAngle = angle;
        math::Transform2D unused;
        return tower->PlaceCurrentFrame(unused);
    }

    // The frame the enemy queues, or null when it queues nothing; the queues
    // are emptied again.
    NQFrameEntry* EnemyFrame(NQEnemy* enemy, int state, float animTime)
    {
        enemy->mState = state;
        enemy->mAnimTime = animTime;
        enemy->mLastDrawnFrame = nullptr;
        size_t queued = 0;
        enemy->QueueDraw(nullptr);
        for (std::vector<NQFrameEntry*>& queue : map->mDrawQueues)
        {
            queued += queue.size();
            for (NQFrameEntry* entry : queue)
                delete entry;
            queue.clear();
        }
        return queued > 0 ? enemy->mLastDrawnFrame : nullptr;
    }

    // The prototype shows another unit's set until the test ends.
    void UseSetOf(NQUnitProto* proto, int unitId)
    {
        const NQUnitProto* other = map->mUnitDatabase->FindProto(unitId);
        ASSERT_NE(other, nullptr);
        swappedSets.push_back({proto, proto->spriteSet});
        proto->spriteSet = other->spriteSet;
    }

    std::vector<std::pair<NQUnitProto*, NQSpriteSet*>> swappedSets;
};

TEST_F(FrameChoiceTest, APlainTowerByState)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    ASSERT_NE(tower, nullptr);
    NQUnitProto* proto = tower->GetProto(-1);
    ASSERT_GT(proto->fps, 0.0f);
    NQSpriteSet& set = *proto->spriteSet;
    const NQSpriteSet::FrameList& idle = set.GetFrames("idle");
    const NQSpriteSet::FrameList& blast = set.GetFrames("blast");
    ASSERT_EQ(idle.size(), 2u);
    ASSERT_EQ(blast.size(), 2u);
    const float fps = proto->fps;
    struct Case
    {
        int state;
        float frame;
        NQFrameEntry* expected;
    };
    const Case cases[] = {
        {NQTower::kIdle, 0, idle[0]},
        {NQTower::kIdle, 1, idle[1]},
        {NQTower::kIdle, 2, idle[0]}, // beyond: the first frame
        {NQTower::kTurning, 1, idle[1]},
        {NQTower::kFiring, 0, blast[0]},
        {NQTower::kFiring, 1, blast[1]},
        {NQTower::kFiring, 4, blast[1]}, // at most the last frame
        {NQTower::kLobbedWait, 0, blast[0]}, // frame -1 kept at the first
        {NQTower::kLobbedWait, 2, blast[1]},
        {NQTower::kLobbedWait, 9, blast[1]},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TowerFrame(tower, c.state, FrameTime(c.frame, fps)), c.expected)
            << "state " << c.state << " frame " << c.frame;
}

TEST_F(FrameChoiceTest, ARotatingTowerBySectorAndState)
{
    NQTower* tower = BuildOn(1, towers::kArrow);
    ASSERT_NE(tower, nullptr);
    NQUnitProto* proto = tower->GetProto(-1);
    ASSERT_TRUE(proto->rotating);
    ASSERT_GT(proto->fps, 0.0f);
    const NQSpriteSet::FrameList& root = proto->spriteSet->GetFrames("");
    ASSERT_EQ(root.size(), 128u);
    const float fps = proto->fps;
    struct Case
    {
        float angle;
        int state;
        float frame;
        int sector;
        size_t expected;
    };
    const Case cases[] = {
        {0.0f, NQTower::kIdle, 0, 31, 124},
        {0.0f, NQTower::kIdle, 3, 31, 124},     // the idle frame does not animate
        {360.0f, NQTower::kIdle, 0, 31, 124},
        {11.25f, NQTower::kIdle, 0, 30, 120},
        {11.24f, NQTower::kIdle, 0, 31, 124},
        {359.9f, NQTower::kIdle, 0, 0, 0},
        {359.9f, NQTower::kFiring, 2, 0, 2},
        {0.0f, NQTower::kFiring, 3, 31, 127},
        {0.0f, NQTower::kFiring, 4, 31, 127},   // past the group's end: its last frame
        {180.0f, NQTower::kFiring, 1, 15, 61},
    };
    for (const Case& c : cases)
    {
        tower->mDirection = -1;
        EXPECT_EQ(TowerFrame(tower, c.state, FrameTime(c.frame, fps), c.angle), root[c.expected])
            << c.angle << " state " << c.state << " frame " << c.frame;
        EXPECT_EQ(tower->mDirection, c.sector) << c.angle;
    }
}

TEST_F(FrameChoiceTest, EmptyGroupsShowNothing)
{
    NQTower* cannon = BuildOn(0, towers::kCannon);
    NQTower* arrow = BuildOn(1, towers::kArrow);
    ASSERT_NE(cannon, nullptr);
    ASSERT_NE(arrow, nullptr);
    // Sets without "idle", "blast" and "base_point"; the second without a root group.
    UseSetOf(cannon->GetProto(-1), units::kLopsided);
    UseSetOf(arrow->GetProto(-1), units::kNoDeath);
    for (const int state : {NQTower::kIdle, NQTower::kFiring, NQTower::kLobbedWait})
    {
        EXPECT_EQ(TowerFrame(cannon, state, 0.0f), nullptr) << state;
        EXPECT_EQ(TowerFrame(arrow, state, 0.0f), nullptr) << state;
    }
    // Nothing queued, nothing drawn.
    cannon->QueueDraw(nullptr);
    arrow->QueueDraw(nullptr);
    EXPECT_TRUE(map->mDrawQueues[1].empty());
    EXPECT_TRUE(Recorder()->Record([&](render::Graphics* g) { cannon->Draw(g); }).empty());
}

TEST_F(FrameChoiceTest, AnEnemyByState)
{
    NQEnemy* enemy = SpawnNow(units::kLopsided);
    ASSERT_NE(enemy, nullptr);
    NQSpriteSet& set = *enemy->GetProto()->spriteSet;
    const NQSpriteSet::FrameList& walk = set.GetFrames("walk");
    const NQSpriteSet::FrameList& death = set.GetFrames("death");
    const NQSpriteSet::FrameList& special = set.GetFrames("special");
    ASSERT_EQ(walk.size(), 3u);
    ASSERT_EQ(death.size(), 3u);
    ASSERT_EQ(special.size(), 3u);
    const float fps = enemy->GetProto()->fps;
    struct Case
    {
        int state;
        float frame;
        NQFrameEntry* expected;
    };
    const Case cases[] = {
        {NQEnemy::kWalking, 0, walk[0]},   {NQEnemy::kWalking, 2, walk[2]},
        {NQEnemy::kWalking, 7, walk[2]},   {NQEnemy::kDying, 1, death[1]},
        {NQEnemy::kDying, 30, death[2]},   {NQEnemy::kSpecial, 1, special[1]},
        {NQEnemy::kSpecial, 3, special[2]}, {NQEnemy::kFading, 0, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnemyFrame(enemy, c.state, FrameTime(c.frame, fps)), c.expected)
            << "state " << c.state << " frame " << c.frame;

    // Held by a beam: the second or third death frame, the time restarted.
    for (int i = 0; i < 20; ++i)
    {
        NQFrameEntry* frame = EnemyFrame(enemy, NQEnemy::kTeleportHeld, FrameTime(2, fps));
        EXPECT_TRUE(frame == death[1] || frame == death[2]);
        EXPECT_EQ(enemy->mAnimTime, 0.0f);
    }
    // Held while frozen: walking frames, the time kept.
    enemy->GetProto()->ice = true;
    EXPECT_EQ(EnemyFrame(enemy, NQEnemy::kTeleportHeld, FrameTime(1, fps)), walk[1]);
    EXPECT_GT(enemy->mAnimTime, 0.0f);
    enemy->GetProto()->ice = false;
}

TEST_F(FrameChoiceTest, AnEnemyWithoutTheGroupQueuesNothing)
{
    NQEnemy* enemy = SpawnNow(units::kNoSpecial);
    ASSERT_NE(enemy, nullptr);
    ASSERT_TRUE(enemy->GetProto()->spriteSet->GetFrames("special").empty());
    EXPECT_EQ(EnemyFrame(enemy, NQEnemy::kSpecial, 0.0f), nullptr);
    EXPECT_NE(EnemyFrame(enemy, NQEnemy::kWalking, 0.0f), nullptr);
}
} // namespace
