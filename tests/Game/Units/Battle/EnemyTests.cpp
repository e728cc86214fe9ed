// Enemies: the walk, the life cycle, enemies spawned during play and bad data.
#include "QuietBattleFixture.h"

#include "Game/Data/FindById.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQEnemy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace
{
using gametest::EntryXml;
using gametest::WaveXml;
namespace units = gametest::units;

// A binary fraction: sums of it are exact.
constexpr float kStep = 0.0625f;

class EnemyTest : public gametest::QuietBattleTest
{
protected:
    // n updates of the enemy alone.
    static void Run(NQEnemy* enemy, int n, float dt = kStep)
    {
        for (int i = 0; i < n; ++i)
            enemy->Update(dt);
    }
};

TEST_F(EnemyTest, AnEnemyStartsAtItsSpawnPoint)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    ASSERT_NE(enemy, nullptr);
    EXPECT_EQ(enemy->mX, 100.0f);
    EXPECT_EQ(enemy->mY, 400.0f);
    EXPECT_EQ(enemy->mDrawX, 100.0f);
    EXPECT_EQ(enemy->mDrawY, 400.0f);
    EXPECT_EQ(enemy->mRoute, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(enemy->mEntry->mSpawned);
    EXPECT_NEAR(enemy->mLinkLength, 300.0f, 0.5f);
    EXPECT_EQ(enemy->mOpacity, 0.0f);
}

// A wave's route from a start point is searched for its first enemy there and
// walked by all the others: closing the short road afterwards changes
// nothing for that wave, while another wave searches its own.
TEST_F(EnemyTest, EveryEnemyOfAWaveWalksTheRouteFoundForItsFirst)
{
    // 1 -> 2 -> 4 is shorter than 1 -> 3 -> 4.
    const std::string level = R"(<map><budget>100</budget><points>
        <p id="1" x="100" y="400"><param name="spawn" value="1"/></p>
        <p id="2" x="400" y="300"/><p id="3" x="400" y="600"/>
        <p id="4" x="700" y="400"><param name="goal" value="1"/></p></points><links>
        <l sid="1" eid="2" anchor_x="250" anchor_y="350"/><l sid="2" eid="4" anchor_x="550" anchor_y="350"/>
        <l sid="1" eid="3" anchor_x="250" anchor_y="500"/><l sid="3" eid="4" anchor_x="550" anchor_y="500"/>
        </links><spots/><waves>)" +
                              WaveXml("timeout=\"100000\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f)) +
                              WaveXml("timeout=\"100000\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f)) +
                              "</waves></map>";
    StartBattleOn(level);
    const std::vector<int32_t> shortRoad = {1, 2, 4};
    NQEnemy* first = SpawnNow(units::kGrunt);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->mRoute, shortRoad);

    NQLink* closed = map->FindLink(FindById(*map->mPoints, 2), FindById(*map->mPoints, 4));
    ASSERT_NE(closed, nullptr);
    closed->mEid = 99;
    for (const float lane : {-65.0f, 0.0f, -130.0f})
    {
        NQEnemy* next = SpawnNow(units::kGrunt, lane);
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->mRoute, shortRoad) << lane;
    }

    NQWaveProto* other = map->mWaveManager->mWaves.at(1);
    auto* entry = new NQWaveEntry(other);
    entry->mId = units::kGrunt;
    other->mEntries.push_back(entry);
    NQEnemy* later = map->SpawnEnemy(entry, FindById(*map->mPoints, 1));
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->mRoute, (std::vector<int32_t>{1, 3, 4}));
}

TEST_F(EnemyTest, CrossingTheLinkEndMovesOnWithoutMovingAndTheLastLinkLeaks)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    ASSERT_NE(enemy, nullptr);
    int guard = 0;
    float lastX = enemy->mX;
    while (enemy->mRouteIndex == 0 && guard++ < 1000)
    {
        lastX = enemy->mX;
        enemy->Update(kStep);
    }
    ASSERT_EQ(enemy->mRouteIndex, 1);
    EXPECT_EQ(enemy->mProgress, 0.0f);
    EXPECT_EQ(enemy->mLinkTime, 0.0f);
    EXPECT_EQ(enemy->mX, lastX) << "no move in the frame that changes links";
    enemy->Update(kStep);
    EXPECT_GT(enemy->mX, 400.0f);

    const float livesBefore = map->mLives;
    while (enemy->mInPlay && guard++ < 2000)
        enemy->Update(kStep);
    EXPECT_EQ(enemy->mInPlay, 0);
    EXPECT_TRUE(enemy->mLeaked);
    EXPECT_EQ(enemy->mEntry->mState, 3);
    EXPECT_EQ(map->mLives, livesBefore - 1.0f);
}

TEST_F(EnemyTest, SlowAndSpeedFactorSetTheStep)
{
    NQEnemy* held = SpawnNow(units::kGrunt);
    NQEnemy* plain = SpawnNow(units::kGrunt);
    NQEnemy* hasted = SpawnNow(units::kGrunt);
    Run(plain, 1);
    Run(hasted, 1);
    held->Update(kStep);
    const float heldX = held->mX;
    const float heldTime = held->mAnimTime;
    for (int i = 0; i < 4; ++i)
    {
        held->mSlow = 60.0f;
        held->Update(kStep);
    }
    EXPECT_EQ(held->mX, heldX);
    EXPECT_EQ(held->mAnimTime, heldTime) << "a fully held enemy's animation stands";

    const float plainStart = plain->mProgress;
    const float hastedStart = hasted->mProgress;
    hasted->mSpeedFactor = 2.0f;
    hasted->mSpeedFactorTarget = 2.0f;
    hasted->mSpeedFactorTimer = 5.0f;
    Run(plain, 1);
    Run(hasted, 1);
    EXPECT_NEAR(hasted->mProgress - hastedStart, 2.0f * (plain->mProgress - plainStart), 1e-5f);
}

TEST_F(EnemyTest, LanesComeFromTheEntryY)
{
    const std::pair<float, float> cases[] = {{-65.0f, 0.0f}, {0.0f, -20.0f}, {-130.0f, 20.0f}};
    for (const auto& [laneY, offset] : cases)
    {
        NQEnemy* enemy = SpawnNow(units::kGrunt, laneY);
        Run(enemy, 4);
        // The road runs along x; its normal is (0, 1).
        EXPECT_NEAR(enemy->mY, 400.0f + offset, 1e-3f) << laneY;
        EXPECT_GT(enemy->mX, 100.0f);
    }
}

TEST_F(EnemyTest, FacingFollowsTheRoadDirectionValue)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    Run(enemy, 1);
    ASSERT_FALSE(enemy->mPathSamples.empty());
    const std::pair<float, bool> cases[] = {{-0.05f, true}, {-0.04f, false}, {1.0f, false}, {-1.0f, true}};
    for (const auto& [direction, left] : cases)
    {
        // The samples are the lane table's: what the next update reads.
        for (NQPathSample* sample : enemy->mPathSamples)
            sample->normalY = direction;
        Run(enemy, 1);
        EXPECT_EQ(enemy->mFacingLeft, left) << direction;
    }
}

TEST_F(EnemyTest, AStraightFlyerIgnoresSlowAndLeaksWithin50Units)
{
    NQEnemy* flyer = SpawnNow(units::kWyvern);
    ASSERT_NE(flyer, nullptr);
    EXPECT_EQ(flyer->mRoute, (std::vector<int32_t>{1, 3}));
    int guard = 0;
    float lastX = flyer->mX;
    while (flyer->mInPlay && guard++ < 1000)
    {
        lastX = flyer->mDrawX;
        flyer->mSlow = 1000.0f;
        flyer->Update(kStep);
    }
    EXPECT_EQ(flyer->mInPlay, 0);
    EXPECT_TRUE(flyer->mLeaked);
    EXPECT_LT(700.0f - lastX, 50.0f);
    EXPECT_GE(700.0f - lastX, 50.0f - 120.0f * kStep);
}

TEST_F(EnemyTest, UnstoredLanesAreSampledOnDemand)
{
    // Spawn -1 on the fork: the route building stores no lane for it.
    StartBattleOn(gametest::ForkLevelXml(WaveXml("timeout=\"0\" spawn=\"-1\"", EntryXml(units::kGrunt, 0, -20.0f))));
    StepFrames(2);
    ASSERT_EQ(Enemies().size(), 1u);
    NQEnemy* enemy = Enemies()[0];
    StepFrames(30);
    EXPECT_GT(enemy->mProgress, 0.0f);
    EXPECT_FALSE(enemy->mPathSamples.empty());

    // A link off the route: from point 2 instead.
    enemy->mRoute = {2, 3, 4};
    enemy->mRouteIndex = 0;
    enemy->mProgress = 0.0f;
    StepFrames(30);
    EXPECT_GT(enemy->mProgress, 0.0f);
    EXPECT_LT(enemy->mX, 400.0f);
    EXPECT_GT(enemy->mY, 400.0f);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    StepUntilEnd();
    EXPECT_EQ(map->mScreenState, screen::kWon);
}

TEST_F(EnemyTest, DyingTurnsToFadingThenLeavesPlay)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    Run(enemy, 12);
    ASSERT_EQ(enemy->mOpacity, 1.0f);
    enemy->ApplyDamage(100.0f);
    Run(enemy, 1);
    ASSERT_EQ(enemy->mState, NQEnemy::kDying);
    EXPECT_EQ(enemy->mAnimTime, 0.0f);
    // 3 frames at 10 fps: 0.3 s.
    Run(enemy, 4);
    EXPECT_EQ(enemy->mState, NQEnemy::kDying);
    Run(enemy, 1);
    EXPECT_EQ(enemy->mState, NQEnemy::kFading);
    EXPECT_EQ(enemy->mAnimTime, 0.2f);
    // Opacity 1 runs down at 1.5 a second.
    Run(enemy, 10);
    EXPECT_EQ(enemy->mInPlay, 1);
    Run(enemy, 1);
    EXPECT_EQ(enemy->mInPlay, 0);

    NQEnemy* bare = SpawnNow(units::kNoDeath);
    bare->ApplyDamage(100.0f);
    Run(bare, 1);
    EXPECT_EQ(bare->mInPlay, 1);
    Run(bare, 1);
    EXPECT_EQ(bare->mInPlay, 0) << "no death frames: out at once";
}

TEST_F(EnemyTest, KillRewardIconAndDeathSound)
{
    const std::pair<float, int> cases[] = {{0.0f, 10}, {0.25f, 13}};
    for (const auto& [factor, reward] : cases)
    {
        map->mKillRewardFactor = factor;
        NQEnemy* enemy = SpawnNow(units::kGrunt);
        Run(enemy, 3);
        const int score = Economy().mKillScore;
        map->mFloatingIcons->Clear();
        enemy->ApplyDamage(100.0f);
        Run(enemy, 1);
        EXPECT_EQ(Economy().mKillScore - score, reward) << factor;
        ASSERT_EQ(map->mFloatingIcons->mIcons.size(), 1u);
        const NQFloatingIcon* icon = map->mFloatingIcons->mIcons[0];
        EXPECT_EQ(icon->kind, 4);
        EXPECT_EQ(icon->x, enemy->mDrawX);
        EXPECT_EQ(icon->y, enemy->mDrawY);
        EXPECT_EQ(icon->text, L"+ " + std::to_wstring(reward));
    }

    NQEnemy* levelled = SpawnNow(units::kLevelled, -65.0f, 2);
    levelled->ApplyDamage(1000.0f);
    Run(levelled, 3);
    EXPECT_EQ(CountTag(L"enemy61die"), 1);
    EXPECT_EQ(CountTag(L"enemy60die"), 0);
}

TEST_F(EnemyTest, AnExplosionReachesItsEdgeButNotItselfOrTheDying)
{
    NQEnemy* bomb = SpawnNow(units::kExplosive);
    NQEnemy* edge = SpawnNow(units::kTank);
    NQEnemy* beyond = SpawnNow(units::kTank);
    NQEnemy* dying = SpawnNow(units::kTank);
    bomb->mX = 200.0f;
    bomb->mY = 400.0f;
    edge->mX = 200.0f;
    edge->mY = 450.0f;
    beyond->mX = 250.01f;
    beyond->mY = 400.0f;
    dying->mX = 210.0f;
    dying->mY = 400.0f;
    dying->mState = NQEnemy::kDying;
    const float full = edge->mHealth;
    bomb->ApplyDamage(1000.0f);
    effects.clear();
    bomb->Update(kStep);
    EXPECT_EQ(edge->mHealth, full - 5.0f);
    EXPECT_EQ(beyond->mHealth, full);
    EXPECT_EQ(dying->mHealth, full);
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].name, "mg_00");
    EXPECT_EQ(effects[0].list, "anchor");
    EXPECT_EQ(effects[0].x, 200.0f);
    EXPECT_EQ(effects[0].y, 400.0f);
}

TEST_F(EnemyTest, DamageHealsInvisibilityAndTheHealthBar)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    enemy->mInvisibleTimer = 2.0f;
    enemy->mAlphaTarget = 0.4f;
    enemy->ApplyDamage(-5.0f);
    EXPECT_EQ(enemy->mHealth, 35.0f);
    EXPECT_EQ(enemy->mInvisibleTimer, 2.0f) << "a heal keeps it hidden";
    EXPECT_EQ(enemy->mHealthBarTimer, 2.5f);
    enemy->ApplyDamage(10.0f);
    EXPECT_EQ(enemy->mHealth, 25.0f);
    EXPECT_EQ(enemy->mInvisibleTimer, 0.0f);
    EXPECT_EQ(enemy->mAlphaTarget, 1.0f);
    EXPECT_EQ(CountTag(L"enemy50hit"), 2);

    for (const int32_t state : {NQEnemy::kDying, NQEnemy::kFading})
    {
        enemy->mState = state;
        enemy->ApplyDamage(10.0f);
        EXPECT_EQ(enemy->mHealth, 25.0f) << state;
    }
    EXPECT_EQ(CountTag(L"enemy50hit"), 2);
}

TEST_F(EnemyTest, PrototypeByUpgrade)
{
    const std::pair<int, int> levelled[] = {{1, 60}, {2, 61}, {3, 62}, {7, 62}};
    for (const auto& [upgrade, id] : levelled)
    {
        NQEnemy* enemy = SpawnNow(units::kLevelled, -65.0f, upgrade);
        ASSERT_NE(enemy, nullptr);
        EXPECT_EQ(enemy->GetProto()->id, id) << upgrade;
    }
    // No children: the unit's own prototype, whatever the upgrade.
    for (const int upgrade : {0, 3})
        EXPECT_EQ(SpawnNow(units::kGrunt, -65.0f, upgrade)->GetProto()->id, units::kGrunt) << upgrade;
}

// The prototype an enemy reads follows its unit, its level and every reload
// of the sheets.
TEST_F(EnemyTest, ThePrototypeFollowsLevelUnitAndReload)
{
    NQEnemy* enemy = SpawnNow(units::kLevelled, -65.0f, 2);
    ASSERT_NE(enemy, nullptr);
    EXPECT_EQ(enemy->GetProto()->id, 61);
    enemy->mLevel = 2;
    EXPECT_EQ(enemy->GetProto()->id, 62);
    enemy->mLevel = 0;
    EXPECT_EQ(enemy->GetProto()->id, units::kLevelled);
    enemy->mEntry->mId = units::kGrunt;
    EXPECT_EQ(enemy->GetProto()->id, units::kGrunt);
    EXPECT_EQ(enemy->GetBaseProto()->id, units::kGrunt);

    enemy->mEntry->mId = units::kLevelled;
    enemy->mLevel = 1;
    ASSERT_EQ(enemy->GetProto()->id, 61);
    map->LoadSheets();
    const NQUnitProto* reloaded = map->mUnitDatabase->FindProto(61);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(enemy->GetProto(), reloaded);
    EXPECT_EQ(enemy->GetBaseProto(), map->mUnitDatabase->FindProto(units::kLevelled));
    EXPECT_EQ(enemy->GetMaxHealth(), 50.0f);
}

TEST_F(EnemyTest, MaxHealthByMode)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    const float expected[] = {27.0f, 30.0f, 33.0f, 30.0f};
    for (int mode = 0; mode < 4; ++mode)
    {
        map->mMode = mode;
        EXPECT_NEAR(enemy->GetMaxHealth(), expected[mode], 1e-4f) << mode;
    }
    enemy->mEntry->mHealthBonus = 10;
    map->mMode = 1;
    EXPECT_EQ(enemy->GetMaxHealth(), 35.0f);
}

TEST_F(EnemyTest, TimersApproachTheirTargetsByDt)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    enemy->mInvisibleTimer = 2.0f;
    enemy->mSpeedFactorTarget = 2.0f;
    enemy->mSpeedFactorTimer = 5.0f;
    Run(enemy, 4);
    EXPECT_EQ(enemy->mAlpha, 0.75f);
    EXPECT_EQ(enemy->mSpeedFactor, 1.25f);
    EXPECT_EQ(enemy->mOpacity, 0.375f);
    Run(enemy, 8);
    EXPECT_EQ(enemy->mAlpha, 0.4f);
    EXPECT_EQ(enemy->mSpeedFactor, 1.75f);
    EXPECT_EQ(enemy->mOpacity, 1.0f) << "faded in within 2/3 s";
    EXPECT_EQ(enemy->mFadeRate, 0.0f);
    // 2 s: the invisibility has run out.
    Run(enemy, 20);
    EXPECT_EQ(enemy->mAlphaTarget, 1.0f);
    EXPECT_EQ(enemy->mSpeedFactor, 2.0f);
    // The haste ends after 5 s.
    Run(enemy, 47);
    EXPECT_EQ(enemy->mSpeedFactorTarget, 2.0f);
    Run(enemy, 1);
    EXPECT_EQ(enemy->mSpeedFactorTarget, 1.0f);
    EXPECT_EQ(enemy->mSpeedFactorTimer, 0.0f);
    EXPECT_EQ(enemy->mSpeedFactor, 2.0f - kStep);
}

TEST_F(EnemyTest, PickingUsesTheDrawnFrameMirroredAsDrawn)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    NQEnemy::Bounds bounds;
    EXPECT_FALSE(enemy->GetBounds(bounds)) << "never drawn: no bounds";
    EXPECT_EQ(Waves().EnemyAt(100.0f, 400.0f), nullptr);

    const NQSpriteSet::FrameList& walk = enemy->GetProto()->spriteSet->GetFrames("walk");
    ASSERT_EQ(walk.size(), 4u);
    // Frame 1 at (2, 1), 40 x 50; extent 46 x 53; root (10, 20).
    enemy->mLastDrawnFrame = walk[1];
    ASSERT_TRUE(enemy->GetBounds(bounds));
    EXPECT_EQ(bounds.x, 100.0f - 10.0f + 2.0f + 20.0f);
    EXPECT_EQ(bounds.y, 400.0f - 20.0f + 1.0f + 25.0f);
    EXPECT_EQ(bounds.w, 40.0f);
    EXPECT_EQ(bounds.h, 50.0f);
    // Facing left the picture is mirrored about the drawn position, as drawn.
    enemy->mFacingLeft = true;
    ASSERT_TRUE(enemy->GetBounds(bounds));
    EXPECT_EQ(bounds.x, 100.0f + 10.0f - 2.0f - 20.0f);

    EXPECT_EQ(Waves().EnemyAt(bounds.x + 20.0f, bounds.y - 25.0f), enemy) << "edges count";
    EXPECT_EQ(Waves().EnemyAt(bounds.x + 20.5f, bounds.y), nullptr);

    // No root frame: the origin counts as (0, 0).
    NQEnemy* rootless = SpawnNow(units::kNoDeath);
    rootless->mLastDrawnFrame = rootless->GetProto()->spriteSet->GetFrames("walk")[0];
    ASSERT_TRUE(rootless->GetBounds(bounds));
    EXPECT_EQ(bounds.x, 100.0f + 20.0f);
    EXPECT_EQ(bounds.y, 400.0f + 25.0f);
}

TEST_F(EnemyTest, ACarrierDropsItsCargoAlongItsLink)
{
    const std::pair<float, std::array<float, 3>> cases[] = {{0.05f, {0.0f, 0.1f, 0.2f}},
                                                            {0.99f, {0.85f, 0.95f, 1.05f}}};
    for (const auto& [progress, expected] : cases)
    {
        NQEnemy* carrier = SpawnNow(units::kCarrier);
        Run(carrier, 2);
        carrier->mProgress = progress;
        carrier->mHealth = 0.0f;
        const size_t before = Enemies().size();
        Run(carrier, 1);
        ASSERT_EQ(Enemies().size(), before + 3);
        for (size_t i = 0; i < 3; ++i)
        {
            const NQEnemy* cargo = Enemies()[before + i];
            EXPECT_EQ(cargo->mEntry->mId, units::kCargo);
            EXPECT_EQ(cargo->mEntry->mUpgrade, 1);
            EXPECT_EQ(cargo->mEntry->mX, -1.0f);
            EXPECT_EQ(cargo->mEntry->mY, carrier->mEntry->mY);
            EXPECT_EQ(cargo->mEntry->mWave, carrier->mEntry->mWave);
            EXPECT_NEAR(cargo->mProgress, expected[i], 1e-6f) << progress;
            EXPECT_EQ(cargo->mRoute, carrier->mRoute);
            EXPECT_EQ(cargo->mRouteIndex, carrier->mRouteIndex);
            EXPECT_EQ(cargo->mX, carrier->mX);
        }
    }
}

TEST_F(EnemyTest, TheFirstRaiserInReachRaisesTheDead)
{
    NQEnemy* dead = SpawnNow(units::kGrunt);
    NQEnemy* far = SpawnNow(units::kRaiser);
    NQEnemy* first = SpawnNow(units::kRaiser);
    NQEnemy* second = SpawnNow(units::kRaiser);
    dead->mX = 200.0f;
    dead->mProgress = 0.3f;
    far->mX = 350.0f; // exactly r away: not strictly within
    first->mX = 349.0f;
    second->mX = 250.0f;
    const size_t before = Enemies().size();
    dead->TryRaiseDead();
    ASSERT_EQ(Enemies().size(), before + 1);
    const NQEnemy* undead = Enemies().back();
    EXPECT_EQ(undead->mEntry->mId, units::kUndead);
    EXPECT_TRUE(undead->mEntry->mSpawned);
    EXPECT_EQ(undead->mState, NQEnemy::kSpecial);
    EXPECT_EQ(undead->mAnimTime, 0.0f);
    EXPECT_EQ(undead->mRoute, dead->mRoute);
    EXPECT_EQ(undead->mProgress, 0.3f);
    EXPECT_EQ(undead->mX, 200.0f);
    EXPECT_EQ(far->mState, NQEnemy::kWalking);
    EXPECT_EQ(first->mState, NQEnemy::kSpecial);
    EXPECT_EQ(second->mState, NQEnemy::kWalking);

    // An undead is never raised again.
    NQEnemy* raised = Enemies().back();
    raised->mX = 250.0f;
    raised->TryRaiseDead();
    EXPECT_EQ(Enemies().size(), before + 1);
}

TEST_F(EnemyTest, BadDataIsGivenUpAndTheLevelStillEnds)
{
    struct Case
    {
        const char* name;
        std::string level;
    };
    const std::string noGoal = "<map><points><p id=\"1\" x=\"0\" y=\"0\"><param name=\"spawn\" value=\"1\"/></p>"
                               "<p id=\"2\" x=\"100\" y=\"0\"/></points><links><l sid=\"1\" eid=\"2\"/></links>"
                               "<waves><wave spawn=\"1\"><e id=\"50\" upgrade=\"1\"/></wave></waves></map>";
    const std::string unreachable =
        "<map><points><p id=\"1\" x=\"0\" y=\"0\"><param name=\"spawn\" value=\"1\"/></p>"
        "<p id=\"2\" x=\"100\" y=\"0\"/><p id=\"3\" x=\"300\" y=\"0\"><param name=\"goal\" value=\"1\"/></p></points>"
        "<links><l sid=\"1\" eid=\"2\"/></links>"
        "<waves><wave spawn=\"1\"><e id=\"50\" upgrade=\"1\"/></wave></waves></map>";
    const Case cases[] = {
        {"unknown unit", gametest::StraightLevelXml(WaveXml("spawn=\"1\"", EntryXml(999, 0.0f)))},
        {"unknown point", gametest::StraightLevelXml(WaveXml("spawn=\"77\"", EntryXml(units::kGrunt, 0.0f)))},
        {"no goal", noGoal},
        {"unreachable goal", unreachable},
        {"fps 0", gametest::StraightLevelXml(WaveXml("spawn=\"1\"", EntryXml(units::kNoFps, 0.0f)))},
        {"no special", gametest::StraightLevelXml(WaveXml("spawn=\"1\"", EntryXml(units::kNoSpecial, 0.0f)))},
        {"no root, no death", gametest::StraightLevelXml(WaveXml("spawn=\"1\"", EntryXml(units::kNoDeath, 0.0f)))},
    };
    for (const Case& c : cases)
    {
        StartBattleOn(c.level);
        StepFrames(3);
        for (NQEnemy* enemy : Enemies())
        {
            // Casting, then killed: both must end.
            enemy->mState = NQEnemy::kSpecial;
            enemy->mAnimTime = 0.0f;
        }
        // Two special frames at 10 fps where there are any.
        StepFrames(20);
        for (NQEnemy* enemy : Enemies())
        {
            EXPECT_EQ(enemy->mState, NQEnemy::kWalking) << c.name;
            enemy->ApplyDamage(1000.0f);
        }
        const int frames = StepUntilEnd(60 * 30);
        EXPECT_LT(frames, 60 * 30) << c.name;
        EXPECT_EQ(map->mScreenState, screen::kWon) << c.name;
    }
    EXPECT_EQ(CountTag(L"enemy80special"), 1);
}
TEST_F(EnemyTest, NearestAndWeakestEnemies)
{
    NQEnemy* a = At(units::kGrunt, 200.0f);
    NQEnemy* b = At(units::kGrunt, 300.0f);
    NQEnemy* tie = At(units::kGrunt, 100.0f);
    const std::vector<NQEnemy*> list = {a, b, tie};
    EXPECT_EQ(FindNearestEnemy(list, 290.0f, 400.0f), b);
    // 150 from a and from tie: the first wins.
    EXPECT_EQ(FindNearestEnemy(list, 150.0f, 400.0f), a);
    EXPECT_EQ(FindNearestEnemy({}, 0.0f, 0.0f), nullptr);
    // Beyond a squared distance of 1e9 nothing is chosen.
    EXPECT_EQ(FindNearestEnemy(list, 200.0f, 400.0f + 40000.0f), nullptr);

    a->mHealth = 5.0f;
    b->mHealth = 1.0f;
    tie->mHealth = 3.0f;
    std::vector<NQEnemy*> sorted = list;
    std::sort(sorted.begin(), sorted.end(), CompareEnemyHealth);
    EXPECT_EQ(sorted, (std::vector<NQEnemy*>{b, tie, a}));
    EXPECT_FALSE(CompareEnemyHealth(a, a));
}

TEST_F(EnemyTest, AGoalReachedWithoutAPrototypeTakesNoLife)
{
    NQEnemy* enemy = SpawnNow(units::kGrunt);
    enemy->mEntry->mId = 999;
    effects.clear();
    map->OnEnemyReachedGoal(enemy);
    EXPECT_EQ(map->mLives, 25.0f);
    EXPECT_EQ(enemy->mInPlay, 0);
    EXPECT_TRUE(enemy->mLeaked);
    EXPECT_EQ(enemy->mEntry->mState, 3);
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].name, "damage_h");
}
} // namespace
