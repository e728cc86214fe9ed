// Hits, bullets and beams.
#include "TowerFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/Modifiers/BlastModifier.h"
#include "Game/Units/Modifiers/DotModifier.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
using gametest::TowerTest;
namespace towers = gametest::towers;
namespace units = gametest::units;

constexpr float kDt = 0.0625f;

class CombatTest : public TowerTest
{
protected:
    // A tower of the line on spot #0, upgraded to the level.
    NQTower* Tower(int line, int level = 0, int spot = 0)
    {
        NQTower* tower = BuildOn(spot, line);
        if (level)
            UpgradeBranch(tower, level, 0.0f);
        return tower;
    }

    int CountEffects(const std::string& name) const
    {
        return int(std::count_if(effects.begin(), effects.end(),
                                 [&name](const gametest::PlacedEffect& e) { return e.name == name; }));
    }

    // Updates the bullet manager until it is empty; the updates it took.
    int FlyOut(float dt = kDt, int limit = 1000)
    {
        int updates = 0;
        while (!map->mBullets->mBullets.empty() && updates < limit)
        {
            map->mBullets->Update(dt);
            ++updates;
        }
        return updates;
    }
};

// --- hits ---

TEST_F(CombatTest, ImmunityIsJudgedOnTheBasePrototype)
{
    struct Case
    {
        bool NQUnitValues::*flag;
        int line;
        int level;
        bool refused;
    };
    const Case cases[] = {
        {&NQUnitValues::ice, towers::kCannon, 100, true},        {&NQUnitValues::ice, towers::kCannon, 200, true},
        {&NQUnitValues::stone, towers::kCannon, 100, true},      {&NQUnitValues::stone, towers::kCannon, 0, false},
        {&NQUnitValues::poisonImmun, towers::kArrow, 2, true},   {&NQUnitValues::poisonImmun, towers::kArrow, 0, false},
        {&NQUnitValues::fire_dmg_only, towers::kArrow, 0, false}, {&NQUnitValues::fire_dmg_only, towers::kArrow, 200, true},
    };
    for (const Case& c : cases)
    {
        NQUnitProto* base = Proto(units::kLevelled);
        base->*c.flag = true;
        NQTower* tower = Tower(c.line, c.level);
        // Upgrade 2 plays the child, whose flags are clear.
        NQEnemy* enemy = SpawnNow(units::kLevelled, -65.0f, 2);
        Place(enemy, 400, 400);
        const float health = enemy->mHealth;
        const size_t icons = map->mFloatingIcons->mIcons.size();
        NQBullet shot(tower, enemy);
        shot.mX = 400;
        shot.mY = 400;
        enemy->OnHit(&shot, true);
        if (c.refused)
        {
            EXPECT_EQ(enemy->mHealth, health) << c.line + c.level;
            EXPECT_TRUE(enemy->mModifiers.empty()) << c.line + c.level;
            ASSERT_EQ(map->mFloatingIcons->mIcons.size(), icons + 1);
            const NQFloatingIcon* icon = map->mFloatingIcons->mIcons.back();
            EXPECT_EQ(icon->kind, 2);
            EXPECT_EQ(icon->x, 400.0f);
            EXPECT_EQ(icon->y, 380.0f);
        }
        else
        {
            EXPECT_LT(enemy->mHealth, health) << c.line + c.level;
            EXPECT_EQ(map->mFloatingIcons->mIcons.size(), icons);
        }
        base->*c.flag = false;
        Sell(tower);
        Place(enemy, -5000, -5000);
        base::DeleteAll(map->mModifiers);
    }
}

TEST_F(CombatTest, OneTowersStunIsRefusedWhileItsDotIsOn)
{
    NQTower* tower = Tower(towers::kArrow, 100);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    NQBullet shot(tower, enemy);
    enemy->OnHit(&shot, true);
    ASSERT_EQ(enemy->mModifiers.size(), 1u);
    EXPECT_NE(dynamic_cast<DotModifier*>(enemy->mModifiers[0]), nullptr);
    EXPECT_EQ(enemy->mModifiers[0]->mPeriod, 0.9f);
}

TEST_F(CombatTest, SplashVictimsFallOffAndAreHitBeforeTheTarget)
{
    NQTower* tower = Tower(towers::kCannon);
    NQEnemy* target = EnemyAt(units::kGrunt, 400, 400);
    NQEnemy* near = EnemyAt(units::kLevelled, 400, 430);
    NQEnemy* far = EnemyAt(units::kLevelled, 400, 431);
    const float farHealth = far->mHealth;
    sounds->tags.clear();
    NQBullet shot(tower, target);
    shot.mX = 400;
    shot.mY = 400;
    target->OnHit(&shot, true);
    EXPECT_EQ(target->mHealth, 20.0f);
    EXPECT_EQ(near->mHealth, 35.0f);
    EXPECT_EQ(far->mHealth, farHealth);
    ASSERT_EQ(sounds->tags.size(), 2u);
    EXPECT_EQ(sounds->tags[0].first, L"enemy60hit");
    EXPECT_EQ(sounds->tags[1].first, L"enemy50hit");
    // The splash mark goes to the map: 1.5 s, size 100, at the target.
    ASSERT_EQ(map->mModifiers.size(), 1u);
    EXPECT_EQ(map->mModifiers[0]->mKind, 101);
    EXPECT_EQ(map->mModifiers[0]->mAreaSize, 100.0f);
}

TEST_F(CombatTest, DamageIsBonusPlusStrengthPlusTheSpotsDamage)
{
    NQTower* tower = Tower(towers::kArrow, 0, 1);
    tower->mBonus->strength = 3.0f;
    NQEnemy* enemy = EnemyAt(units::kTank, 250, 400);
    const float health = enemy->mHealth;
    NQBullet shot(tower, enemy);
    enemy->OnHit(&shot, true);
    EXPECT_EQ(health - enemy->mHealth, 10.0f);
    // A dead enemy takes no hit.
    enemy->mHealth = 0.0f;
    enemy->OnHit(&shot, true);
    EXPECT_EQ(enemy->mHealth, 0.0f);
}

TEST_F(CombatTest, KillBonusCountsIncomeTowersThatReachTheEnemy)
{
    Tower(towers::kBank, 0, 2);
    NQEnemy* enemy = EnemyAt(units::kGrunt, 550, 570);
    EXPECT_FLOAT_EQ(enemy->GetKillBonus(), 0.2f);
    Place(enemy, 550, 570.5f);
    EXPECT_EQ(enemy->GetKillBonus(), 0.0f);
}

// --- bullets ---

TEST_F(CombatTest, AStraightShotLandsWhereItWasAimed)
{
    NQTower* tower = Tower(towers::kCannon);
    NQEnemy* target = EnemyAt(units::kTank, 400, 400);
    NQEnemy* bystander = EnemyAt(units::kTank, 400, 440);
    const float health = target->mHealth;
    map->mBullets->Add(new NQBullet(tower, target));
    Place(target, 480, 400);
    FlyOut();
    EXPECT_EQ(target->mHealth, health);
    EXPECT_LT(bystander->mHealth, health);
    EXPECT_EQ(CountTag(L"ammo2001hit"), 2);
    EXPECT_EQ(CountEffects("hit_fx"), 2);
}

TEST_F(CombatTest, AnEmptyLandingShowsOnlyItsEffectAndLeavingTheReachIsSilent)
{
    NQTower* tower = Tower(towers::kCannon);
    NQEnemy* target = EnemyAt(units::kTank, 400, 400);
    map->mBullets->Add(new NQBullet(tower, target));
    Place(target, 480, 400);
    FlyOut();
    EXPECT_EQ(CountTag(L"ammo2001hit"), 1);
    EXPECT_EQ(CountEffects("hit_fx"), 1);

    Place(target, 400, 600);
    map->mBullets->Add(new NQBullet(tower, target));
    FlyOut();
    EXPECT_EQ(CountTag(L"ammo2001hit"), 1);
    EXPECT_EQ(CountEffects("hit_fx"), 1);
}

TEST_F(CombatTest, AHomingShotHitsWithinTen)
{
    NQTower* tower = Tower(towers::kArrow);
    NQEnemy* target = EnemyAt(units::kTank, 400, 400);
    const float health = target->mHealth;
    map->mBullets->Add(new NQBullet(tower, target));
    EXPECT_EQ(CountEffects("fire_fx"), 1);
    ASSERT_NE(map->mBullets->mBullets[0]->mEmitter, nullptr);
    FlyOut();
    EXPECT_EQ(health - target->mHealth, 5.0f);
    EXPECT_EQ(CountTag(L"ammo2002hit"), 1);
}

TEST_F(CombatTest, AHomingShotWithoutItsTargetBurstsSilently)
{
    for (const bool gone : {true, false})
    {
        NQTower* tower = Tower(towers::kArrow);
        NQEnemy* target = EnemyAt(units::kTank, 400, 400);
        auto* shot = new NQBullet(tower, target);
        map->mBullets->Add(shot);
        map->mBullets->Update(kDt);
        NQEnemy* bystander = EnemyAt(units::kTank, shot->mX, shot->mY);
        const float health = bystander->mHealth;
        if (gone)
            map->mBullets->ForgetEnemy(target);
        else
            Place(target, 400, 600);
        map->mBullets->Update(kDt);
        EXPECT_TRUE(map->mBullets->mBullets.empty());
        ASSERT_EQ(map->mModifiers.size(), 1u);
        EXPECT_NE(dynamic_cast<BlastModifier*>(map->mModifiers[0]), nullptr);
        EXPECT_EQ(health - bystander->mHealth, 5.0f);
        EXPECT_EQ(CountTag(L"ammo2002hit"), 0);
        // The burst ends at its first update with time.
        map->mModifiers[0]->Update(nullptr, 0.0f);
        EXPECT_TRUE(map->mModifiers[0]->mActive);
        map->mModifiers[0]->Update(nullptr, kDt);
        EXPECT_FALSE(map->mModifiers[0]->mActive);
        base::DeleteAll(map->mModifiers);
        Sell(tower);
        Place(target, -5000, -5000);
        Place(bystander, -5000, -5000);
    }
}

TEST_F(CombatTest, AnAmmoWithoutOnHitIsSilent)
{
    NQTower* tower = Tower(towers::kArrow, 200);
    NQEnemy* target = EnemyAt(units::kTank, 400, 400);
    const float health = target->mHealth;
    map->mBullets->Add(new NQBullet(tower, target));
    FlyOut();
    EXPECT_LT(target->mHealth, health);
    EXPECT_EQ(CountTag(L"ammo2004hit"), 0);
    EXPECT_EQ(CountEffects("hit_fx"), 0);
}

TEST_F(CombatTest, ALobbedShotRisesFliesItsArcAndLands)
{
    NQTower* tower = Tower(towers::kCannon, 2);
    NQEnemy* target = EnemyAt(units::kTank, 400, 400);
    const float health = target->mHealth;
    auto* shot = new NQBullet(tower, target);
    EXPECT_EQ(shot->mY, 315.0f);
    ASSERT_NE(shot->mLobbed, nullptr);
    map->mBullets->Add(shot);
    for (int i = 0; i < 7; ++i)
        map->mBullets->Update(kDt);
    EXPECT_EQ(shot->mPhase, NQBullet::kRising);
    EXPECT_LT(shot->mY, 315.0f);
    map->mBullets->Update(kDt);
    EXPECT_EQ(shot->mPhase, NQBullet::kOnArc);
    EXPECT_EQ(shot->mArcEndY, 400.0f);
    EXPECT_EQ(shot->mArcControlY, shot->mArcStartY - (400.0f - shot->mArcStartY) * 0.5f - 35.0f);
    for (int i = 0; i < 16; ++i)
        map->mBullets->Update(kDt);
    EXPECT_EQ(shot->mPhase, NQBullet::kOnArc);
    EXPECT_EQ(shot->mY, 400.0f);
    map->mBullets->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
    EXPECT_EQ(health - target->mHealth, 20.0f);
}

TEST_F(CombatTest, ALobbedShotEndsWhenItsTargetGoesWhileRising)
{
    NQTower* tower = Tower(towers::kCannon, 2);
    NQEnemy* target = EnemyAt(units::kTank, 400, 400);
    tower->mState = NQTower::kLobbedWait;
    map->mBullets->Add(new NQBullet(tower, target));
    map->mBullets->Update(kDt);
    map->ForgetEnemy(target);
    map->mBullets->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
    EXPECT_EQ(tower->mState, NQTower::kIdle);
}

TEST_F(CombatTest, LongStepsStillHit)
{
    struct Case
    {
        int line;
        float step;
        int updates; // 0: any
    };
    // Straight from 70 away: within 10 after 13 steps of 5.
    const Case cases[] = {{towers::kCannon, 5.0f, 13}, {towers::kCannon, 25.0f, 0}, {towers::kCannon, 200.0f, 1},
                          {towers::kArrow, 5.0f, 0},   {towers::kArrow, 25.0f, 0},  {towers::kArrow, 200.0f, 1}};
    for (const Case& c : cases)
    {
        Proto(c.line)->speed = 300.0f;
        NQTower* tower = Tower(c.line);
        NQEnemy* target = EnemyAt(units::kTank, 400, 400);
        const float health = target->mHealth;
        map->mBullets->Add(new NQBullet(tower, target));
        const int updates = FlyOut(c.step / 300.0f);
        EXPECT_LT(target->mHealth, health) << c.line << " " << c.step;
        if (c.updates)
        {
            EXPECT_EQ(updates, c.updates) << c.line << " " << c.step;
        }
        Sell(tower);
        Place(target, -5000, -5000);
        base::DeleteAll(map->mModifiers);
    }
}

TEST_F(CombatTest, AnAimOnTheStartLandsAtOnce)
{
    NQTower* tower = Tower(towers::kCannon);
    NQEnemy* target = EnemyAt(units::kTank, 400, 330);
    auto* shot = new NQBullet(tower, target);
    EXPECT_EQ(shot->mDirX, 0.0f);
    EXPECT_EQ(shot->mDirY, 0.0f);
    map->mBullets->Add(shot);
    EXPECT_EQ(FlyOut(), 1);
}

// A bullet that fires another one in its first update.
class SpawningBullet : public NQBullet
{
public:
    SpawningBullet(NQBulletManager* manager, int* updates) : NQBullet(nullptr, nullptr), mManager(manager), mCount(updates) {}
    void Update(float) override
    {
        ++*mCount;
        if (mManager)
            mManager->Add(new SpawningBullet(nullptr, mCount));
        mManager = nullptr;
        mAlive = 0;
    }
    NQBulletManager* mManager;
    int* mCount;
};

TEST_F(CombatTest, BulletsAppendedDuringThePassFlyInIt)
{
    int updates = 0;
    map->mBullets->Add(new SpawningBullet(map->mBullets, &updates));
    map->mBullets->Update(kDt);
    EXPECT_EQ(updates, 2);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
}

// --- beams ---

TEST_F(CombatTest, ABeamHasOneLinkPerThirtyUnits)
{
    struct Case
    {
        float distance;
        size_t links;
    };
    const Case cases[] = {{61.0f, 3}, {60.0f, 2}, {0.0f, 0}};
    for (const Case& c : cases)
    {
        NQEnemy* enemy = EnemyAt(units::kTank, 100, 100 + c.distance);
        auto* beam = new NQBeamParticle(100, 100, enemy, "t_line");
        map->mParticles.push_back(beam);
        EXPECT_EQ(beam->mEmitters.size(), c.links) << c.distance;
        for (const render::ParticleEmitter* link : beam->mEmitters)
            EXPECT_EQ(link->mState, 1);
        UpdateParticles(kDt);
        EXPECT_EQ(map->mParticles.size(), c.links ? 1u : 0u) << c.distance;
        base::DeleteAll(map->mParticles);
    }
}

TEST_F(CombatTest, ABeamGrowsAtOnceAndShrinksOneLinkAtATime)
{
    NQEnemy* enemy = EnemyAt(units::kTank, 100, 160);
    NQBeamParticle beam(100, 100, enemy, "t_line");
    ASSERT_EQ(beam.mEmitters.size(), 2u);
    beam.Update(0.05f);
    EXPECT_FLOAT_EQ(beam.mIntensity, 0.5f);
    Place(enemy, 100, 250);
    beam.Update(0.05f);
    EXPECT_EQ(beam.mEmitters.size(), 5u);
    EXPECT_EQ(beam.mIntensity, 1.0f);
    Place(enemy, 100, 110);
    beam.Update(0.05f);
    EXPECT_EQ(beam.mEmitters.size(), 4u);
    beam.Update(0.05f);
    EXPECT_EQ(beam.mEmitters.size(), 3u);
}

TEST_F(CombatTest, BeamAnglesLieInAFullTurn)
{
    struct Case
    {
        float dx;
        float dy;
        float angle;
    };
    const Case cases[] = {{10, 10, 45}, {10, -10, 135}, {-10, -10, 225}, {-10, 10, 315}, {0, 10, 0}};
    NQEnemy* enemy = EnemyAt(units::kTank, 0, 0);
    for (const Case& c : cases)
    {
        Place(enemy, 100 + c.dx, 100 + c.dy);
        NQBeamParticle beam(100, 100, enemy, "t_line");
        EXPECT_NEAR(beam.GetAngle(), c.angle, 1e-3f) << c.dx << " " << c.dy;
        EXPECT_GE(beam.GetAngle(), 0.0f);
        EXPECT_LT(beam.GetAngle(), 360.0f);
    }
}

TEST_F(CombatTest, ForgettingAnEnemyStopsItsBeamsAndClearsTheTowers)
{
    NQTower* tower = Tower(towers::kMagic);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    tower->mTarget = enemy;
    tower->Launch();
    NQBeamParticle* beam = tower->mBeam;
    ASSERT_NE(beam, nullptr);
    const float endX = beam->mTargetX;
    map->ForgetEnemy(enemy);
    EXPECT_EQ(tower->mTarget, nullptr);
    EXPECT_EQ(tower->mBeam, nullptr);
    EXPECT_EQ(beam->mTarget, nullptr);
    EXPECT_FALSE(beam->IsPlaying());
    beam->Update(kDt);
    EXPECT_EQ(beam->mTargetX, endX);
}
} // namespace
