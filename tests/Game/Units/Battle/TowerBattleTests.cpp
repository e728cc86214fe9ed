// Whole battles with towers, spells and gems, and the lifetimes of what
// points at enemies, towers and effects.
#include "TowerFixture.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQCrystallSpecial.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{
using gametest::BattleTest;
using gametest::EntryXml;
using gametest::TowerTest;
using gametest::WaveXml;
namespace towers = gametest::towers;
namespace units = gametest::units;

// The fork with spots at the junction, on the goal link and between the branches.
std::string ForkSpots()
{
    using gametest::SpotXml;
    const std::vector<std::pair<std::string, float>> plain = {
        {"radius_mult", 1}, {"damage_mult", 10}, {"income_mult", 1}};
    return SpotXml(400, 330, plain) + SpotXml(600, 330, plain) + SpotXml(600, 470, plain) +
           SpotXml(250, 400, plain);
}

// Two waves of grunts from both spawn points, a gem dropper in the second.
std::string ForkWaves(int grunts)
{
    std::string first;
    std::string second;
    for (int i = 0; i < grunts; ++i)
    {
        first += EntryXml(units::kGrunt, float(i) * 60.0f);
        second += EntryXml(units::kGrunt, float(i) * 60.0f);
    }
    second += EntryXml(units::kDropper, float(grunts) * 60.0f);
    return WaveXml("timeout=\"2\" spawn=\"1\"", first) + WaveXml("timeout=\"4\" spawn=\"2\"", second);
}

class TowerBattleTest : public BattleTest
{
protected:
    NQMap* StartFork(int grunts, uint32_t seed = kDefaultSeed)
    {
        StartBattleOn(gametest::WithSpots(gametest::ForkLevelXml(ForkWaves(grunts)), ForkSpots()), 1, seed);
        Economy().mGold = 1000;
        return map;
    }

    void BuildAllFour()
    {
        ASSERT_NE(BuildOn(0, towers::kCannon), nullptr);
        ASSERT_NE(BuildOn(1, towers::kArrow), nullptr);
        ASSERT_NE(BuildOn(2, towers::kMagic), nullptr);
        ASSERT_NE(BuildOn(3, towers::kBank), nullptr);
    }

    // The scripted battle: builds, upgrades, sells and casts while the waves run.
    std::vector<uint64_t> ScriptedBattle(uint32_t seed)
    {
        StartFork(6, seed);
        std::vector<uint64_t> digests;
        NQTower* cannon = BuildOn(0, towers::kCannon);
        NQTower* bank = BuildOn(3, towers::kBank);
        int slot = 0;
        for (int frame = 0; frame < 60 * 40 && map->mScreenState == screen::kPlaying; ++frame)
        {
            if (frame == 120)
                BuyInPlace(cannon);
            if (frame == 240)
                UpgradeBranch(cannon, 1, 150.0f);
            if (frame == 300)
                BuildOn(1, towers::kArrow);
            if (frame == 360)
                BuildOn(2, towers::kMagic);
            if (frame == 600)
                Sell(bank);
            if (frame >= 400 && frame % 200 == 0 && slot < 5)
            {
                const NQEnemy* any = Enemies().empty() ? nullptr : Enemies().front();
                CastSpell(slot++, any ? any->mX : 400.0f, any ? any->mY : 400.0f);
            }
            if (frame % 50 == 0)
                for (NQTowerSpecial* gem : *map->mDrops)
                    if (gem->mState == NQTowerSpecial::kLying)
                        CollectGemAt(int(gem->mX), int(gem->mY));
            StepFrames(1);
            digests.push_back(Digest());
        }
        EXPECT_EQ(slot, 5);
        return digests;
    }
};

TEST_F(TowerBattleTest, TheForkIsWonWithTowersOfAllFourLines)
{
    StartFork(5);
    BuildAllFour();
    const int goldAfterBuilding = Economy().mGold;
    EXPECT_EQ(goldAfterBuilding, 1000 - 100 - 80 - 150 - 60);
    const int frames = StepUntilEnd();
    EXPECT_EQ(map->mScreenState, screen::kWon);
    EXPECT_EQ(map->mLives, map->mMaxLives);
    // Eleven kills with their combos, the bank's income and the kill bonus.
    EXPECT_EQ(Economy().mKillScore, 112);
    EXPECT_EQ(Economy().mGold, 792);
    EXPECT_EQ(CountEvent(L"gem_dropped"), 1);
    // The last kill's gem was still in the air: the win banks it. The result
    // window adds 13 for a first clear with three stars.
    EXPECT_TRUE(map->mDrops->empty());
    EXPECT_EQ(Economy().mGemsGained, 1 + 13);
    // The drawing sets the rotating tower's direction, which its shots start from.
    EXPECT_EQ(frames, 2179);
    EXPECT_GT(CountTag(L"tower10000shot"), 0);
    EXPECT_GT(CountTag(L"tower20000shot"), 0);
    EXPECT_GT(CountTag(L"tower30000shot"), 0);
    EXPECT_GT(CountTag(L"tower40000shot"), 0);
}

TEST_F(TowerBattleTest, TheForkIsLostWithTooFewTowers)
{
    StartFork(15);
    ASSERT_NE(BuildOn(3, towers::kBank), nullptr);
    StepUntilEnd();
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_EQ(Economy().mKillScore, 0);
}

TEST_F(TowerBattleTest, AScriptedBattleRunsTheSameTwice)
{
    const std::vector<uint64_t> first = ScriptedBattle(11);
    ASSERT_FALSE(HasFailure());
    DestroyLevel();
    effects.clear();
    const std::vector<uint64_t> second = ScriptedBattle(11);
    EXPECT_EQ(first, second);
    EXPECT_GT(first.size(), 600u);
}

// --- lifetimes ---

using LifetimeTest = TowerTest;

TEST_F(LifetimeTest, SellingABeamTowerWhileItHolds)
{
    NQTower* tower = BuildOn(0, towers::kMagic);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    for (int i = 0; i < 600 && !tower->mBeam; ++i)
        StepFrames(1);
    ASSERT_NE(tower->mBeam, nullptr);
    Sell(tower);
    StepSeconds(4.0f);
    EXPECT_EQ(enemy->mState, NQEnemy::kWalking);
    EXPECT_TRUE(map->mParticles.empty());
}

TEST_F(LifetimeTest, AnEnemyWithoutDeathFramesKilledByABeam)
{
    NQTower* tower = BuildOn(0, towers::kMagic);
    NQEnemy* enemy = EnemyAt(units::kNoDeath, 400, 400);
    enemy->mHealth = 1.0f;
    for (int i = 0; i < 600 && !Enemies().empty(); ++i)
        StepFrames(1);
    EXPECT_TRUE(Enemies().empty());
    StepSeconds(1.0f);
    EXPECT_EQ(tower->mTarget, nullptr);
    EXPECT_TRUE(map->mParticles.empty());
}

TEST_F(LifetimeTest, ALevelResetWithEverythingAlive)
{
    NQTower* magic = BuildOn(0, towers::kMagic);
    BuildOn(1, towers::kArrow);
    EnemyAt(units::kTank, 400, 400);
    EnemyAt(units::kTank, 260, 400);
    CastSpell(3, 300, 400);
    for (int i = 0; i < 600 && !magic->mBeam; ++i)
        StepFrames(1);
    ASSERT_NE(magic->mBeam, nullptr);
    NQEnemy* dropper = SpawnNow(units::kGrunt);
    map->mDrops->push_back(new NQCrystallSpecial(dropper));
    ASSERT_FALSE(map->mBullets->mBullets.empty() && map->mParticles.empty());
    map->StartLevel();
    EXPECT_TRUE(map->mTowers.empty());
    EXPECT_TRUE(map->mParticles.empty());
    EXPECT_TRUE(map->mDrops->empty());
    StepSeconds(1.0f);
}

TEST_F(LifetimeTest, ASplashSpellKillsWhatTowersTarget)
{
    NQTower* cannon = BuildOn(0, towers::kCannon);
    NQTower* arrow = BuildOn(1, towers::kArrow);
    std::vector<NQEnemy*> victims;
    for (int i = 0; i < 4; ++i)
    {
        victims.push_back(EnemyAt(units::kNoDeath, 300 + float(i) * 10.0f, 400));
        victims.back()->mHealth = 5.0f;
    }
    StepFrames(30);
    EXPECT_TRUE(cannon->mTarget || arrow->mTarget);
    CastSpell(1, victims[1]->mX, victims[1]->mY);
    StepSeconds(2.0f);
    EXPECT_TRUE(Enemies().empty());
    EXPECT_EQ(cannon->mTarget, nullptr);
    EXPECT_EQ(arrow->mTarget, nullptr);
}

// A particle library without the tower effects: every use of them goes quiet.
class LeanLibraryTest : public TowerTest
{
protected:
    void SetUp() override
    {
        TowerTest::SetUp();
        render::ParticleSystem* particles = render::ParticleSystem::Instance();
        for (const char* name : {"t_line", "build", "upgrade", "trail", "hammer", "portal_1"})
        {
            const auto it = particles->mEmitters.find(name);
            if (it == particles->mEmitters.end())
                continue;
            delete it->second;
            particles->mEmitters.erase(it);
        }
    }
};

TEST_F(LeanLibraryTest, BeamsBuildsUpgradesShotsPortalsAndHammersWithoutTheirEffects)
{
    NQTower* magic = BuildOn(0, towers::kMagic);
    NQTower* arrow = BuildOn(1, towers::kArrow);
    ASSERT_TRUE(magic && arrow);
    EXPECT_TRUE(map->mLooseEmitters.empty());
    UpgradeBranch(arrow, 2, 0.0f);
    EXPECT_TRUE(map->mLooseEmitters.empty());
    EnemyAt(units::kTank, 400, 400);
    EnemyAt(units::kTank, 250, 420);
    CastSpell(3, 300, 400);
    for (int i = 0; i < 60 * 6; ++i)
    {
        StepFrames(1);
        for (const NQBullet* bullet : map->mBullets->mBullets)
            EXPECT_EQ(bullet->mEmitter, nullptr);
    }
    EXPECT_EQ(magic->mBeam, nullptr);
    StepSeconds(5.0f);
    Sell(magic);
    Sell(arrow);
    StepSeconds(1.0f);
}
} // namespace
