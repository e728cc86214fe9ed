// Towers: building, selling and upgrading, targeting, turning and firing,
// the enemies' auras, income and in-place upgrades.
#include "TowerFixture.h"

#include "CallLog.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/Modifiers/StunModifier.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
using gametest::TowerTest;
namespace towers = gametest::towers;
namespace units = gametest::units;

constexpr float kDt = 0.0625f;

NQFloatingIcon* LastIcon(NQMap* map)
{
    return map->mFloatingIcons->mIcons.empty() ? nullptr : map->mFloatingIcons->mIcons.back();
}

// --- building ---

TEST_F(TowerTest, ShortGoldOpensTheGemsQuestionAndAcceptingBuilds)
{
    Economy().mGold = 130;
    Economy().mGems = 3;
    EXPECT_EQ(BuildOn(0, towers::kMagic), nullptr);
    EXPECT_EQ(map->mScreenState, screen::kGemsForGold);
    EXPECT_EQ(map->mPendingBuild.proto, Proto(towers::kMagic));
    EXPECT_EQ(map->mPendingBuild.spot, SpotFrame(0));
    EXPECT_EQ(map->mPendingBuild.price, 150.0f);
    EXPECT_EQ(map->mPendingUpgrade.tower, nullptr);
    ASSERT_EQ(gametest::CountCalls("HUD.ShowModalDialog gems|pay 3 gems|-1"), 1);
    EXPECT_TRUE(map->mTowers.empty());

    AcceptGemsQuestion();
    EXPECT_EQ(Economy().mGems, 0);
    EXPECT_EQ(Economy().mGold, 130);
    ASSERT_EQ(map->mTowers.size(), 1u);
    EXPECT_EQ(CountEvent(L"tower_built"), 1);
}

TEST_F(TowerTest, ShortGoldAndGemsDoNothing)
{
    Economy().mGold = 130;
    Economy().mGems = 2;
    EXPECT_EQ(BuildOn(0, towers::kMagic), nullptr);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    EXPECT_EQ(map->mPendingBuild.proto, nullptr);
    EXPECT_EQ(gametest::CountCalls("HUD.ShowModalDialog"), 0);
    EXPECT_EQ(Economy().mGold, 130);
}

TEST_F(TowerTest, ABrokenPriceIsTruncated)
{
    Proto(towers::kCannon)->cost = 100.7f;
    Economy().mGold = 200;
    ASSERT_NE(BuildOn(0, towers::kCannon), nullptr);
    EXPECT_EQ(Economy().mGold, 100);
    EXPECT_EQ(Economy().mSpentGold, 100);
}

TEST_F(TowerTest, ABuildHidesTheSpotAndStandsAtItsCentre)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    ASSERT_NE(tower, nullptr);
    EXPECT_EQ(SpotFrame(0)->mShown, 0);
    EXPECT_EQ(tower->mX, 400.0f);
    EXPECT_EQ(tower->mY, 330.0f);
    EXPECT_EQ(tower->mState, NQTower::kPause);
    EXPECT_EQ(tower->mOpacity, 0.0f);
    EXPECT_EQ(tower->mFadeRate, 1.5f);
    EXPECT_EQ(CountTag(L"buildTower"), 1);
    ASSERT_EQ(map->mLooseEmitters.size(), 1u);
    const auto at = map->mLooseEmitters[0]->GetPosition();
    EXPECT_EQ(at[0], 400.0f);
    EXPECT_EQ(at[1], 330.0f);
    EXPECT_EQ(Economy().mGold, 900);
}

TEST_F(TowerTest, ANewBoosterLeadsTheTowerList)
{
    NQTower* cannon = BuildOn(0, towers::kCannon);
    NQTower* magic = BuildOn(1, towers::kMagic);
    NQTower* booster = map->BuildTower(Proto(towers::kMagic + 1), SpotFrame(2));
    ASSERT_NE(booster, nullptr);
    EXPECT_EQ(map->mTowers, (std::vector<NQTower*>{booster, cannon, magic}));
    // An upgrade into a booster sorts the list again.
    UpgradeBranch(magic, 200, 0.0f);
    EXPECT_EQ(map->mTowers.size(), 3u);
    EXPECT_EQ(map->mTowers[2], cannon);
}

TEST_F(TowerTest, FindTowerAtAndFindSpotEntryAt)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    EXPECT_EQ(map->FindTowerAt(449, 330), tower);
    EXPECT_EQ(map->FindTowerAt(450, 330), nullptr);
    // The built spot is hidden; the free one answers within 40, edge included.
    EXPECT_EQ(map->FindSpotEntryAt(400, 330), nullptr);
    EXPECT_EQ(map->FindSpotEntryAt(250, 370), SpotFrame(1));
    EXPECT_EQ(map->FindSpotEntryAt(250, 371), nullptr);
    // A decoration picture near the point is no spot.
    auto* decoration = new NQFrameEntry;
    decoration->mRect[0] = 600;
    decoration->mRect[1] = 100;
    map->mDecorationSet->mFrames.push_back(decoration);
    EXPECT_EQ(map->FindSpotEntryAt(600, 100), nullptr);
}

TEST_F(TowerTest, BuyingASpotSpendsBothPrices)
{
    Economy().mGold = 29;
    Economy().mGems = 5;
    EXPECT_FALSE(BuySpot(3));
    Economy().mGold = 30;
    ASSERT_TRUE(BuySpot(3));
    EXPECT_EQ(Economy().mGold, 0);
    EXPECT_EQ(Economy().mGems, 0);
    EXPECT_TRUE(SpotFrame(3)->mSpot->mOwned);
    EXPECT_EQ(CountTag(L"buySpot"), 1);
    EXPECT_EQ(CountEvent(L"buildspot_bought"), 1);
}

// --- selling ---

TEST_F(TowerTest, SellRefundsHalfTheValueWithAKnownParent)
{
    struct Case
    {
        int level;
        int parent; // 0: as in the sheet
        int refund;
    };
    const Case cases[] = {{0, 0, 50}, {1, 0, 125}, {1, 99999, 75}};
    for (const Case& c : cases)
    {
        if (c.parent)
            Proto(towers::kCannon + 1)->parent = c.parent;
        Economy().mGold = 1000;
        NQTower* tower = BuildOn(0, towers::kCannon);
        ASSERT_NE(tower, nullptr);
        if (c.level)
            UpgradeBranch(tower, c.level, 0.0f);
        Economy().mGold = 0;
        Sell(tower);
        EXPECT_EQ(Economy().mGold, c.refund) << c.level << " " << c.parent;
        EXPECT_TRUE(map->mTowers.empty());
    }
}

TEST_F(TowerTest, SellingTakesTheTowersBulletsAndSourcesAndShowsTheSpot)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQTower* other = BuildOn(1, towers::kCannon);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    map->mBullets->Add(new NQBullet(tower, enemy));
    map->mBullets->Add(new NQBullet(other, enemy));
    enemy->mModifiers.push_back(new StunModifier("speed", 0.5f, 3.0f, tower));
    auto* fire = new FireSplashModifier("", 1.0f, 10.0f, tower, 400, 400, 64);
    PlaceMapModifier(fire);
    map->mTowers.front()->mDebuffed = false;

    Sell(tower);
    ASSERT_EQ(map->mBullets->mBullets.size(), 1u);
    EXPECT_EQ(map->mBullets->mBullets[0]->mTower, other);
    EXPECT_EQ(enemy->mModifiers.back()->mSource, nullptr);
    EXPECT_EQ(fire->mSource, nullptr);
    EXPECT_EQ(SpotFrame(0)->mShown, 1);
    EXPECT_EQ(CountTag(L"sellTower"), 1);
    EXPECT_EQ(map->mTowers, std::vector<NQTower*>{other});
}

TEST_F(TowerTest, SellingABeamTowerFreesAHeldTargetButNotADyingOne)
{
    for (const int state : {NQEnemy::kTeleportHeld, NQEnemy::kDying})
    {
        NQTower* tower = BuildOn(0, towers::kMagic);
        NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
        tower->mTarget = enemy;
        tower->Launch();
        ASSERT_NE(tower->mBeam, nullptr);
        NQBeamParticle* beam = tower->mBeam;
        ASSERT_FALSE(enemy->mModifiers.empty());
        enemy->mState = state;
        Sell(tower);
        EXPECT_EQ(enemy->mState, state == NQEnemy::kTeleportHeld ? NQEnemy::kWalking : NQEnemy::kDying);
        EXPECT_TRUE(enemy->mModifiers.empty());
        EXPECT_FALSE(beam->IsPlaying());
        UpdateParticles(kDt);
        EXPECT_TRUE(map->mParticles.empty());
    }
}

TEST_F(TowerTest, SellingRemovesTheAuraSprites)
{
    Proto(units::kGrunt)->blocktower = true;
    Proto(units::kGrunt)->r = 100.0f;
    NQTower* tower = BuildOn(0, towers::kCannon);
    EnemyAt(units::kGrunt, 400, 380);
    const size_t before = map->mHints->size();
    tower->Update(kDt);
    EXPECT_TRUE(tower->mDisabled);
    EXPECT_EQ(map->mHints->size(), before + 1);
    Sell(tower);
    EXPECT_EQ(map->mHints->size(), before);
}

// --- upgrading ---

TEST_F(TowerTest, UpgradeTextHasALineForEachChangedValue)
{
    struct Case
    {
        int line;
        int level;
        float oldStrength;
        float newCooldown;
        const char* text;
    };
    const Case cases[] = {
        {towers::kCannon, 1, 10.0f, 1.0f, "range 6\ndamage 50"},
        {towers::kCannon, 1, 0.0f, 1.0f, "range 6"},
        {towers::kCannon, 1, 10.0f, 0.5f, "range 6\ndamage 50\nrate 100"},
        {towers::kBank, 1, -1.0f, 5.0f, "income 100"},
    };
    for (const Case& c : cases)
    {
        Proto(c.line)->strength = c.oldStrength;
        Proto(c.line + c.level)->cooldown = c.newCooldown;
        NQTower* tower = BuildOn(0, c.line);
        UpgradeBranch(tower, c.level, 10.0f);
        NQFloatingIcon* icon = LastIcon(map);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(gametest::Narrow(icon->text), c.text) << c.line;
        EXPECT_EQ(icon->kind, 5);
        EXPECT_EQ(icon->x, 400.0f);
        EXPECT_EQ(icon->y, 300.0f);
        EXPECT_EQ(icon->life, 2.5f);
        Sell(tower);
    }
}

TEST_F(TowerTest, AnIncomeOfZeroGivesNoIncomeLine)
{
    Proto(towers::kBank)->goldIncome = 0;
    NQTower* tower = BuildOn(0, towers::kBank);
    UpgradeBranch(tower, 1, 10.0f);
    EXPECT_EQ(gametest::Narrow(LastIcon(map)->text), "");
}

TEST_F(TowerTest, AnUpgradeSetsTheLevelAndStartsItsEffect)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    BuyInPlace(tower);
    ASSERT_EQ(tower->mTierCount, 1);
    const int gold = Economy().mGold;
    UpgradeBranch(tower, 1, 150.5f);
    EXPECT_EQ(Economy().mGold, gold - 150);
    EXPECT_EQ(tower->mLevel, 1);
    EXPECT_EQ(tower->GetProto(-1), Proto(towers::kCannon + 1));
    EXPECT_EQ(tower->mTierCount, 0);
    EXPECT_EQ(tower->mState, NQTower::kIdle);
    const auto at = map->mLooseEmitters.back()->GetPosition();
    EXPECT_EQ(at[0], 400.0f);
    EXPECT_EQ(at[1], 345.0f);
    EXPECT_EQ(CountTag(L"upgradeTower"), 1);
    EXPECT_EQ(CountEvent(L"tower_upgraded"), 1);
}

TEST_F(TowerTest, AnUpgradeShortOfGoldAsksForGems)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    Economy().mGold = 100;
    Economy().mGems = 3;
    UpgradeBranch(tower, 1, 150.0f);
    EXPECT_EQ(map->mScreenState, screen::kGemsForGold);
    EXPECT_EQ(map->mPendingUpgrade.tower, tower);
    EXPECT_EQ(map->mPendingUpgrade.key, 1);
    EXPECT_EQ(map->mPendingBuild.proto, nullptr);
    EXPECT_EQ(tower->mLevel, 0);
    AcceptGemsQuestion();
    EXPECT_EQ(tower->mLevel, 1);
    EXPECT_EQ(Economy().mGold, 100);
    EXPECT_EQ(Economy().mGems, 0);
}

TEST_F(TowerTest, AnUnknownLevelDoesNothing)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    const int gold = Economy().mGold;
    UpgradeBranch(tower, 7, 10.0f);
    EXPECT_EQ(tower->mLevel, 0);
    EXPECT_EQ(Economy().mGold, gold);
}

// --- in-place upgrades and income ---

TEST_F(TowerTest, InPlaceUpgradesChargeCountAndLast)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    Economy().mGold = 100;
    BuyInPlace(tower);
    EXPECT_EQ(Economy().mGold, 60);
    EXPECT_EQ(tower->mTierCount, 1);
    for (int frame = 0; frame < 3; ++frame)
    {
        StepFrames(1);
        EXPECT_EQ(tower->mBonus->r, 150.0f) << frame;
        EXPECT_EQ(tower->mBonus->strength, 15.0f) << frame;
    }
    Economy().mGold = 39;
    BuyInPlace(tower);
    EXPECT_EQ(tower->mTierCount, 1);
    EXPECT_EQ(Economy().mGold, 39);
    Economy().mGold = 100;
    BuyInPlace(tower);
    EXPECT_EQ(tower->mTierCount, 2);
    BuyInPlace(tower);
    EXPECT_EQ(tower->mTierCount, 2);
    EXPECT_EQ(Economy().mGold, 60);
}

TEST_F(TowerTest, IncomeUsesTheUpgradedIncomeAndTheSpotsMultiplier)
{
    NQTower* rich = BuildOn(0, towers::kBank);
    NQTower* poor = map->BuildTower(Proto(towers::kBank), SpotFrame(2));
    ASSERT_NE(poor, nullptr);
    Economy().mGold = 0;
    rich->PayIncome();
    EXPECT_EQ(Economy().mGold, 15);
    EXPECT_EQ(gametest::Narrow(LastIcon(map)->text), "+15");
    EXPECT_EQ(rich->mState, NQTower::kFiring);
    poor->PayIncome();
    EXPECT_EQ(Economy().mGold, 15);
    EXPECT_EQ(CountTag(L"tower40000shot"), 2);
}

TEST_F(TowerTest, AnIncomeTowerPaysEveryCooldown)
{
    BuildOn(0, towers::kBank);
    Economy().mGold = 0;
    StepSeconds(5.1f);
    EXPECT_EQ(Economy().mGold, 15);
    StepSeconds(5.0f);
    EXPECT_EQ(Economy().mGold, 30);
}

// --- targeting ---

TEST_F(TowerTest, ReachIsStrictAndTheMarginKeepsTracking)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 480);
    std::vector<NQEnemy*> near;
    tower->GetEnemiesInRange(near, 0);
    EXPECT_TRUE(near.empty());
    std::vector<NQEnemy*> wide;
    tower->GetEnemiesInRange(wide, 100);
    EXPECT_EQ(wide.size(), 1u);
    tower->mState = NQTower::kIdle;
    tower->Update(kDt);
    EXPECT_EQ(tower->mTarget, enemy);
    EXPECT_EQ(tower->mState, NQTower::kTracking);
    Place(enemy, 400, 479.5f);
    near.clear();
    tower->GetEnemiesInRange(near, 0);
    EXPECT_EQ(near.size(), 1u);
}

TEST_F(TowerTest, WhoIsInRange)
{
    struct Case
    {
        int unit;
        int state;
        float invisible;
        int towerLevel;
        bool in;
    };
    const Case cases[] = {
        {units::kTank, NQEnemy::kWalking, 0.0f, 0, true},   {units::kTank, NQEnemy::kWalking, 0.5f, 0, false},
        {units::kTank, NQEnemy::kDying, 0.0f, 0, false},    {units::kTank, NQEnemy::kFading, 0.0f, 0, false},
        {units::kTank, NQEnemy::kTeleportHeld, 0.0f, 0, true}, {units::kWyvern, NQEnemy::kWalking, 0.0f, 0, false},
        {units::kWyvern, NQEnemy::kWalking, 0.0f, 1, true}, {units::kTank, NQEnemy::kWalking, 0.0f, 1, true},
    };
    for (const Case& c : cases)
    {
        NQTower* tower = BuildOn(0, towers::kArrow);
        if (c.towerLevel)
            UpgradeBranch(tower, c.towerLevel, 0.0f);
        NQEnemy* enemy = EnemyAt(c.unit, 400, 400);
        enemy->mState = c.state;
        enemy->mInvisibleTimer = c.invisible;
        std::vector<NQEnemy*> list;
        tower->GetEnemiesInRange(list, 0);
        EXPECT_EQ(!list.empty(), c.in) << c.unit << " " << c.state << " " << c.towerLevel;
        Sell(tower);
        Place(enemy, -5000, -5000);
    }
}

TEST_F(TowerTest, ANonShootingTowerNeverTargets)
{
    NQTower* tower = BuildOn(0, towers::kBank);
    EnemyAt(units::kTank, 400, 400);
    for (int i = 0; i < 10; ++i)
        tower->Update(kDt);
    EXPECT_EQ(tower->mTarget, nullptr);
}

TEST_F(TowerTest, ChoosingPrefersFlyersThenLowHealthThenNearness)
{
    NQTower* tower = BuildOn(0, towers::kArrow);
    NQEnemy* strong = EnemyAt(units::kTank, 400, 380);
    NQEnemy* weakFar = EnemyAt(units::kGrunt, 400, 430);
    NQEnemy* weakNear = EnemyAt(units::kGrunt, 400, 420);
    NQEnemy* twin = EnemyAt(units::kGrunt, 400, 420);
    std::vector<NQEnemy*> list = {strong, weakFar, weakNear, twin};
    EXPECT_EQ(tower->ChooseTarget(list, nullptr, true), weakNear);
    // A current target in the list stays.
    EXPECT_EQ(tower->ChooseTarget(list, strong, true), strong);
    // Without preference: the nearest.
    EXPECT_EQ(tower->ChooseTarget(list, nullptr, false), strong);
    NQEnemy* flyer = EnemyAt(units::kWyvern, 400, 470);
    list.push_back(flyer);
    EXPECT_EQ(tower->ChooseTarget(list, nullptr, true), flyer);
    map->mSelectedEnemy = weakFar;
    EXPECT_EQ(tower->ChooseTarget(list, strong, true), weakFar);
}

TEST_F(TowerTest, TheSelectionWinsOnlyInsideTheReach)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQEnemy* inside = EnemyAt(units::kTank, 400, 400);
    NQEnemy* outside = EnemyAt(units::kTank, 400, 500);
    map->mSelectedEnemy = outside;
    tower->Update(kDt);
    EXPECT_EQ(tower->mTarget, inside);
    Place(outside, 400, 410);
    tower->Update(kDt);
    EXPECT_EQ(tower->mTarget, outside);
}

// --- turning and firing ---

TEST_F(TowerTest, SnapAngleChangesOnlyOnASectorChange)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    tower->mTargetAngle = 101.25f;
    tower->SnapAngle(200.0f);
    EXPECT_EQ(tower->mTargetAngle, 101.25f);
    tower->SnapAngle(205.0f);
    EXPECT_EQ(tower->mTargetAngle, 115.0f);
    tower->SnapAngle(45.0f);
    EXPECT_EQ(tower->mTargetAngle, 315.0f);
}

TEST_F(TowerTest, TurningGoesTheShortWayThroughNorth)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    tower->mPauseTimer = 1000.0f;
    tower->mAngle = 350.0f;
    tower->mTargetAngle = 10.0f;
    bool wrapped = false;
    for (int i = 0; i < 200 && int(tower->mAngle / 11.25f + 0.5f) != 1; ++i)
    {
        const float before = tower->mAngle;
        tower->Update(0.001f);
        wrapped = wrapped || tower->mAngle < before;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_NEAR(tower->mAngle, 5.625f, 0.4f);
}

TEST_F(TowerTest, TurningIs360DegreesPerSecondAndStopsOnTheTarget)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    tower->mPauseTimer = 1000.0f;
    tower->mAngle = 0.0f;
    tower->mTargetAngle = 90.0f;
    tower->Update(0.1f);
    EXPECT_NEAR(tower->mAngle, 36.0f, 1e-4f);
    tower->mAngle = 80.0f;
    tower->Update(0.1f);
    EXPECT_EQ(tower->mAngle, 90.0f);
}

TEST_F(TowerTest, ADebuffedTowerReloadsHalfAgainSlower)
{
    Proto(towers::kCannon)->cooldown = 2.0f;
    Proto(units::kGrunt)->debufftower = true;
    Proto(units::kGrunt)->r = 200.0f;
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQEnemy* enemy = EnemyAt(units::kGrunt, 400, 400);
    tower->mTarget = enemy;
    tower->mState = NQTower::kFiring;
    for (int i = 0; i < 10 && tower->mReloadTimer == 0.0f; ++i)
        tower->Update(kDt);
    EXPECT_TRUE(tower->mDebuffed);
    EXPECT_EQ(tower->mReloadTimer, 3.0f);
}

TEST_F(TowerTest, ARotatingTowerFiresFourFramesAfterItStarts)
{
    NQTower* tower = BuildOn(0, towers::kArrow);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    tower->mTarget = enemy;
    tower->mState = NQTower::kFiring;
    tower->mAnimTime = 0.0f;
    for (int i = 0; i < 3; ++i)
        tower->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
    tower->Update(kDt);
    EXPECT_EQ(map->mBullets->mBullets.size(), 1u);
    EXPECT_EQ(tower->mReloadTimer, 0.5f);
    EXPECT_EQ(CountTag(L"tower20000shot"), 1);
}

TEST_F(TowerTest, ALobbedShotHoldsItsTowerUntilItIsDeleted)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    UpgradeBranch(tower, 2, 0.0f);
    EnemyAt(units::kTank, 400, 400);
    for (int i = 0; i < 240 && tower->mState != NQTower::kLobbedWait; ++i)
        StepFrames(1);
    ASSERT_EQ(tower->mState, NQTower::kLobbedWait);
    EXPECT_EQ(tower->mTarget, nullptr);
    ASSERT_EQ(map->mBullets->mBullets.size(), 1u);
    while (!map->mBullets->mBullets.empty() && framesStepped < 2000)
    {
        EXPECT_EQ(tower->mState, NQTower::kLobbedWait);
        StepFrames(1);
    }
    EXPECT_NE(tower->mState, NQTower::kLobbedWait);
}

TEST_F(TowerTest, TheIdlePauseRunsAtTwiceItsSpeed)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    tower->mState = NQTower::kTurning;
    tower->mAngle = tower->mTargetAngle = 90.0f;
    tower->Update(kDt);
    ASSERT_EQ(tower->mState, NQTower::kPause);
    EXPECT_EQ(tower->mPauseTimer, 3.0f);
    for (int i = 0; i < 23; ++i)
        tower->Update(kDt);
    EXPECT_EQ(tower->mState, NQTower::kPause);
    tower->Update(kDt);
    EXPECT_EQ(tower->mState, NQTower::kIdle);
}

TEST_F(TowerTest, ATeleportShotHoldsItsTargetWithOneBeam)
{
    NQTower* tower = BuildOn(0, towers::kMagic);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    for (int i = 0; i < 600 && enemy->mState != NQEnemy::kTeleportHeld; ++i)
        StepFrames(1);
    ASSERT_EQ(enemy->mState, NQEnemy::kTeleportHeld);
    EXPECT_EQ(map->mParticles.size(), 1u);
    EXPECT_EQ(tower->mState, NQTower::kHolding);
    ASSERT_NE(tower->mBeam, nullptr);
    StepSeconds(0.25f);
    EXPECT_EQ(tower->mBeam, nullptr);
    EXPECT_EQ(map->mParticles.size(), 0u);
    EXPECT_EQ(tower->mState, NQTower::kHolding);
    // The hold ends with the teleport, which frees the tower.
    StepSeconds(3.0f);
    EXPECT_NE(tower->mState, NQTower::kHolding);
    EXPECT_EQ(CountTag(L"teleportEnemy"), 1);
}

// --- auras ---

TEST_F(TowerTest, BlockingReachesItsEdgeFromTheEnemysPosition)
{
    Proto(units::kGrunt)->blocktower = true;
    Proto(units::kGrunt)->r = 100.0f;
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQEnemy* enemy = EnemyAt(units::kGrunt, 400, 380);
    enemy->mDrawY = 500.0f;
    const size_t sprites = map->mHints->size();
    tower->Update(kDt);
    EXPECT_TRUE(tower->mDisabled);
    tower->Update(kDt);
    EXPECT_EQ(map->mHints->size(), sprites + 1);
    EXPECT_EQ(tower->mTarget, nullptr);
    Place(enemy, 400, 380.01f);
    tower->Update(kDt);
    EXPECT_FALSE(tower->mDisabled);
    EXPECT_EQ(map->mHints->size(), sprites);
}

TEST_F(TowerTest, DebuffReachesTheFullRadius)
{
    Proto(units::kGrunt)->debufftower = true;
    Proto(units::kGrunt)->r = 70.0f;
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQEnemy* enemy = EnemyAt(units::kGrunt, 400, 400);
    EXPECT_TRUE(map->IsTowerDebuffed(tower));
    Place(enemy, 400, 400.01f);
    EXPECT_FALSE(map->IsTowerDebuffed(tower));
}

TEST_F(TowerTest, AHeldAuraEnemyOrAHammerMarkStopsTheAura)
{
    Proto(units::kGrunt)->blocktower = true;
    Proto(units::kGrunt)->r = 100.0f;
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQEnemy* enemy = EnemyAt(units::kGrunt, 400, 380);
    EXPECT_TRUE(map->IsTowerBlocked(tower));
    enemy->mSlow = Proto(units::kGrunt)->speed;
    EXPECT_FALSE(map->IsTowerBlocked(tower));
    enemy->mSlow = 0.0f;
    tower->mHammerMark = 1;
    EXPECT_FALSE(map->IsTowerBlocked(tower));
}
} // namespace

namespace
{
// While the wave manager's tower queries are built, a tower finds what the
// walk over the whole list finds, in the same order.
TEST_F(TowerTest, TheTowerQueriesAnswerAsTheWalkOverEveryEnemy)
{
    Proto(units::kGrunt)->blocktower = true;
    Proto(units::kGrunt)->r = 100.0f;
    Proto(units::kHealer)->debufftower = true;
    Proto(units::kHealer)->r = 90.0f;
    const int kinds[] = {units::kTank, units::kGrunt, units::kWyvern, units::kHealer, units::kTank};
    for (int i = 0; i < 150; ++i)
    {
        NQEnemy* enemy = EnemyAt(kinds[i % 5], 100.0f + float(i * 37 % 700), 250.0f + float(i * 53 % 300));
        if (i % 7 == 0)
            enemy->mInvisibleTimer = 1.0f;
        if (i % 11 == 0)
            enemy->mState = NQEnemy::kDying;
    }
    std::vector<NQTower*> built = {BuildOn(0, towers::kCannon), BuildOn(1, towers::kArrow), BuildOn(2, towers::kMagic)};
    UpgradeBranch(built[1], 1, 0.0f);

    struct Answer
    {
        std::vector<NQEnemy*> near;
        std::vector<NQEnemy*> wide;
        bool blocked = false;
        bool debuffed = false;
    };
    auto ask = [this](const NQTower* tower) {
        Answer a;
        tower->GetEnemiesInRange(a.near, 0);
        tower->GetEnemiesInRange(a.wide, NQTower::kTrackingMargin);
        a.blocked = map->IsTowerBlocked(tower);
        a.debuffed = map->IsTowerDebuffed(tower);
        return a;
    };
    bool anyBlocked = false;
    bool anyDebuffed = false;
    for (const NQTower* tower : built)
    {
        const Answer walked = ask(tower);
        Waves().BuildTowerQueries();
        ASSERT_NE(Waves().GetGrid(), nullptr);
        const Answer indexed = ask(tower);
        Waves().DropTowerQueries();
        EXPECT_EQ(indexed.near, walked.near);
        EXPECT_EQ(indexed.wide, walked.wide);
        EXPECT_EQ(indexed.blocked, walked.blocked);
        EXPECT_EQ(indexed.debuffed, walked.debuffed);
        EXPECT_FALSE(walked.near.empty());
        EXPECT_GT(walked.wide.size(), walked.near.size());
        anyBlocked = anyBlocked || walked.blocked;
        anyDebuffed = anyDebuffed || walked.debuffed;
    }
    EXPECT_TRUE(anyBlocked);
    EXPECT_TRUE(anyDebuffed);
}
} // namespace
