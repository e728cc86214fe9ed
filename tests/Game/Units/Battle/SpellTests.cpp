// The spells sheet, spells, the tower-side modifiers and bought upgrades on
// towers and spells.
#include "TowerFixture.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/Modifiers/DotModifierArea.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/Modifiers/HoldAndTeleport.h"
#include "Game/Units/Modifiers/MagicTowerBoost.h"
#include "Game/Units/Modifiers/MapImpassableArea.h"
#include "Game/Units/Modifiers/ShowInvisible.h"
#include "Game/Units/Modifiers/StunModifier.h"
#include "Game/Units/Modifiers/TowersBoost.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQSpell.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
using gametest::TowerTest;
namespace towers = gametest::towers;
namespace units = gametest::units;

constexpr float kDt = 0.0625f;

// One bought upgrade that reaches the cannon and the fire and boost spells:
// cost -20%, speed +100%, strength +50%.
constexpr const char* kUpgrades =
    "<upgrades><upgrade id=\"5\" section=\"0\" icon=\"x\"><targets><target id=\"-1\"/><target id=\"10000\"/>"
    "<target id=\"3001\"/><target id=\"3004\"/></targets><steps><step cost_g=\"0\" cost_r=\"1\"><attributes>"
    "<param name=\"cost\" value=\"-20\"/><param name=\"speed\" value=\"100\"/><param name=\"strength\" value=\"50\"/>"
    "</attributes></step></steps></upgrade></upgrades>\n";

template <class T>
std::vector<T*> ModifiersOf(const std::vector<NQModifier*>& list)
{
    std::vector<T*> out;
    for (NQModifier* modifier : list)
        if (auto* typed = dynamic_cast<T*>(modifier))
            out.push_back(typed);
    return out;
}

using SpellTest = TowerTest;

// --- the spells sheet ---

TEST(SpellSheet, RowsCellsAndSlots)
{
    NQSpellTable table;
    table.Read("  #;1;a;b;0;0\r\n\r\n#x;3001;p1;p2;4;9\r\nfire;3002;;;4\r\nshort;7\r\n");
    ASSERT_EQ(table.mEntries.size(), 3u);
    const NQSpellEntry* first = table.mEntries[0];
    EXPECT_EQ(first->protoId, 3001);
    EXPECT_EQ(first->firstPicturePath, "p1");
    EXPECT_EQ(first->secondPicturePath, "p2");
    EXPECT_EQ(first->slot, 4);
    EXPECT_EQ(first->extra, 9);
    EXPECT_EQ(table.FindBySlot(4), first);
    const NQSpellEntry* last = table.mEntries[2];
    EXPECT_EQ(last->protoId, 7);
    EXPECT_EQ(last->slot, 0);
    EXPECT_EQ(last->firstPicturePath, "");
    EXPECT_EQ(table.FindBySlot(5), nullptr);
    // No application runs: no picture loads.
    EXPECT_EQ(first->firstPicture, nullptr);
}

TEST_F(SpellTest, TheLevelReadsTheSheetAndKeepsMissingPicturesNull)
{
    ASSERT_EQ(map->mSpellTable->mEntries.size(), 5u);
    for (int slot = 0; slot < 5; ++slot)
    {
        const NQSpellEntry* entry = map->mSpellTable->FindBySlot(slot);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->protoId, towers::kFireSpell + slot);
        EXPECT_EQ(entry->firstPicture, nullptr);
    }
}

// --- casting ---

TEST_F(SpellTest, EachFlagMakesItsModifier)
{
    CastSpell(0, 300, 400);
    const auto fire = ModifiersOf<FireSplashModifier>(map->mModifiers);
    ASSERT_EQ(fire.size(), 1u);
    EXPECT_EQ(fire[0]->mValue, 2.0f);
    EXPECT_EQ(fire[0]->mDuration, 5.0f);
    EXPECT_EQ(fire[0]->mPeriod, 1.0f);
    EXPECT_EQ(fire[0]->mAreaSize, 100.0f);
    EXPECT_EQ(fire[0]->mSource, nullptr);

    CastSpell(2, 300, 400);
    const auto hold = ModifiersOf<MapImpassableArea>(map->mModifiers);
    ASSERT_EQ(hold.size(), 1u);
    EXPECT_EQ(hold[0]->mDuration, 3.0f);
    EXPECT_EQ(hold[0]->mAreaSize, 100.0f);

    CastSpell(3, 300, 400);
    const auto boost = ModifiersOf<TowersBoost>(map->mModifiers);
    ASSERT_EQ(boost.size(), 1u);
    EXPECT_EQ(boost[0]->mValue, 0.5f);
    EXPECT_EQ(boost[0]->mDuration, 5.0f);

    CastSpell(4, 300, 400);
    const auto dot = ModifiersOf<DotModifierArea>(map->mModifiers);
    ASSERT_EQ(dot.size(), 1u);
    EXPECT_EQ(dot[0]->mValue, 1.0f);
    EXPECT_EQ(dot[0]->mDuration, 4.0f);
    EXPECT_EQ(CountEvent(L"spell_casted"), 4);
    EXPECT_EQ(map->mBullets->mBullets.size(), 4u);
    EXPECT_EQ(CountTag(L"spell3"), 1);
}

TEST_F(SpellTest, ASplashSpellHitsAtOnceAndOnlyOnce)
{
    NQEnemy* inside = EnemyAt(units::kTank, 300, 460);
    NQEnemy* outside = EnemyAt(units::kTank, 300, 461);
    const float health = inside->mHealth;
    NQSpell* spell = CastSpell(1, 300, 400);
    EXPECT_EQ(health - inside->mHealth, 20.0f);
    EXPECT_EQ(spell->mHits, std::vector<NQEnemy*>{inside});
    EXPECT_TRUE(inside->mModifiers.empty());
    // The area hits the late entrant once, with its stun; the splash victim never again.
    Place(outside, 300, 450);
    for (int i = 0; i < 5; ++i)
        map->mBullets->Update(kDt);
    EXPECT_EQ(health - inside->mHealth, 20.0f);
    EXPECT_EQ(health - outside->mHealth, 20.0f);
    ASSERT_EQ(outside->mModifiers.size(), 1u);
    EXPECT_NE(dynamic_cast<StunModifier*>(outside->mModifiers[0]), nullptr);
    EXPECT_EQ(outside->mModifiers[0]->mDuration, 2.0f);
    // It ends when its duration has passed.
    for (int i = 0; i < 30; ++i)
        map->mBullets->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
}

TEST_F(SpellTest, ASpellOfNoDurationEndsAtItsFirstUpdate)
{
    Proto(towers::kSplashSpell)->speed = 0.0f;
    NQEnemy* enemy = EnemyAt(units::kTank, 300, 400);
    const float health = enemy->mHealth;
    CastSpell(1, 500, 400);
    map->mBullets->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
    EXPECT_EQ(enemy->mHealth, health);
}

TEST_F(SpellTest, AMissingPrototypeCastsNothingAndEnds)
{
    auto* spell = new NQSpell(999, 300, 400);
    map->mBullets->Add(spell);
    spell->Cast();
    EXPECT_TRUE(map->mModifiers.empty());
    map->mBullets->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
}

TEST_F(SpellTest, TheFireSpellsSpritesAndEffect)
{
    const size_t sprites = map->mHints->size();
    CastSpell(0, 300, 400);
    ASSERT_EQ(map->mHints->size(), sprites + 3);
    const float delays[] = {0.0f, 0.5f, 0.75f};
    for (size_t i = 0; i < 3; ++i)
    {
        auto* sprite = dynamic_cast<NQAnimatedSprite*>((*map->mHints)[sprites + i]);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->mStartDelay, delays[i]);
        EXPECT_EQ(sprite->mAnimation->mRate, 10.0f);
        EXPECT_EQ(sprite->mAnimation->mSetName, L"spells/fire");
        const float d = PointDistance(sprite->mX, sprite->mY, 300, 400);
        if (i == 0)
        {
            EXPECT_EQ(d, 0.0f);
        }
        else
        {
            EXPECT_GE(d, 24.99f);
            EXPECT_LE(d, 50.01f);
        }
    }
    ASSERT_FALSE(map->mDepthEffects.empty());
    EXPECT_EQ(map->mDepthEffects.back()->mSpeed, 1.0f);
}

// --- tower-side modifiers ---

TEST_F(SpellTest, AMagicBoostReachesItsEdgeButNotAnotherBooster)
{
    // Booster on #0 (400, 330): reach 300 * 0.5 * 1 = 150.
    NQTower* booster = map->BuildTower(Proto(towers::kMagic + 1), SpotFrame(0));
    NQTower* edge = map->BuildTower(Proto(towers::kCannon), SpotFrame(1));
    NQTower* other = map->BuildTower(Proto(towers::kMagic + 1), SpotFrame(2));
    ASSERT_TRUE(booster && edge && other);
    StepFrames(1);
    EXPECT_TRUE(edge->mBoosted);
    EXPECT_EQ(edge->mBonus->strength, 5.0f);
    EXPECT_EQ(edge->mBonus->r, 150.0f);
    EXPECT_FALSE(other->mBoosted);
    EXPECT_FALSE(booster->mBoosted);
    edge->mX = 249.9f;
    StepFrames(1);
    EXPECT_FALSE(edge->mBoosted);
}

TEST_F(SpellTest, RevealingStopsShortOfItsEdge)
{
    NQTower* revealer = BuildOn(0, towers::kMagic);
    UpgradeBranch(revealer, 2, 0.0f);
    NQEnemy* inside = EnemyAt(units::kTank, 400, 479.9f);
    NQEnemy* edge = EnemyAt(units::kTank, 400, 480);
    inside->mInvisibleTimer = edge->mInvisibleTimer = 5.0f;
    inside->mAlphaTarget = edge->mAlphaTarget = 0.4f;
    ASSERT_EQ(ModifiersOf<ShowInvisible>(revealer->mModifiers).size(), 1u);
    revealer->mModifiers[0]->Update(nullptr, kDt);
    EXPECT_EQ(inside->mInvisibleTimer, 0.0f);
    EXPECT_EQ(inside->mAlphaTarget, 1.0f);
    EXPECT_EQ(edge->mInvisibleTimer, 5.0f);
}

TEST_F(SpellTest, TheBoostSpellReachesLaterTowersAndEndsCleanly)
{
    NQTower* first = BuildOn(0, towers::kCannon);
    CastSpell(3, 300, 400);
    StepFrames(1);
    EXPECT_EQ(first->mBonus->strength, 5.0f);
    EXPECT_EQ(first->mHammerMark, 1);
    NQTower* later = BuildOn(1, towers::kArrow);
    StepFrames(2);
    EXPECT_EQ(later->mBonus->strength, 2.5f);
    EXPECT_EQ(later->mHammerMark, 1);
    auto* boost = ModifiersOf<TowersBoost>(map->mModifiers).at(0);
    EXPECT_EQ(boost->mHammers.size(), 2u);
    EXPECT_EQ(std::count(map->mEffects.begin(), map->mEffects.end(), boost->mHammers[0]), 1);
    StepSeconds(5.0f);
    EXPECT_TRUE(ModifiersOf<TowersBoost>(map->mModifiers).empty());
    EXPECT_EQ(first->mHammerMark, 0);
    EXPECT_EQ(later->mHammerMark, 0);
    EXPECT_EQ(first->mBonus->strength, 0.0f);
}

TEST_F(SpellTest, OverlappingBoostsKeepTheMarksAndASoldTowerLosesItsHammer)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    NQTower* sold = BuildOn(1, towers::kCannon);
    CastSpell(3, 300, 400);
    StepSeconds(2.0f);
    CastSpell(3, 300, 400);
    StepFrames(1);
    auto boosts = ModifiersOf<TowersBoost>(map->mModifiers);
    ASSERT_EQ(boosts.size(), 2u);
    const size_t effectsBefore = map->mEffects.size();
    Sell(sold);
    EXPECT_EQ(boosts[0]->mBoosted, std::vector<NQTower*>{tower});
    EXPECT_EQ(boosts[1]->mBoosted, std::vector<NQTower*>{tower});
    EXPECT_EQ(map->mEffects.size(), effectsBefore - 2);
    StepSeconds(3.1f);
    ASSERT_EQ(ModifiersOf<TowersBoost>(map->mModifiers).size(), 1u);
    EXPECT_EQ(tower->mHammerMark, 1);
    StepSeconds(2.0f);
    EXPECT_EQ(tower->mHammerMark, 0);
}

TEST_F(SpellTest, HoldAndTeleportTimeline)
{
    NQTower* tower = BuildOn(0, towers::kMagic);
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    enemy->mProgress = 0.5f;
    enemy->mRouteIndex = 1;
    auto* teleport = new HoldAndTeleport("", 0.0f, 3.0f, tower);
    enemy->mModifiers.push_back(teleport);
    tower->mState = NQTower::kHolding;
    float elapsed = 0.0f;
    while (elapsed < 3.0f)
    {
        teleport->Update(enemy, kDt);
        elapsed += kDt;
        EXPECT_EQ(teleport->mEnemyPortal != nullptr, 3.0f - elapsed < 2.0f) << elapsed;
        EXPECT_EQ(teleport->mStartPortal != nullptr, 3.0f - elapsed < 1.0f) << elapsed;
        EXPECT_EQ(enemy->mSlow, Proto(units::kTank)->speed);
        enemy->mSlow = 0.0f;
    }
    EXPECT_EQ(enemy->mRouteIndex, 1);
    teleport->Update(enemy, kDt);
    EXPECT_EQ(enemy->mRouteIndex, 1);
    // The update after elapsed passes 3.0 teleports.
    teleport->Update(enemy, kDt);
    EXPECT_EQ(enemy->mRouteIndex, 0);
    EXPECT_EQ(enemy->mProgress, 0.0f);
    EXPECT_EQ(enemy->mState, NQEnemy::kWalking);
    EXPECT_EQ(tower->mState, NQTower::kIdle);
    EXPECT_EQ(CountTag(L"teleportEnemy"), 1);
    EXPECT_EQ(teleport->mEnemyPortal, nullptr);
    EXPECT_TRUE(teleport->mActive);
    for (int i = 0; i < 8; ++i)
        teleport->Update(enemy, kDt);
    EXPECT_TRUE(teleport->mActive);
    teleport->Update(enemy, kDt);
    EXPECT_FALSE(teleport->mActive);
}

TEST_F(SpellTest, TheDeadAreNotTeleported)
{
    NQEnemy* enemy = EnemyAt(units::kTank, 400, 400);
    enemy->mRouteIndex = 1;
    auto* teleport = new HoldAndTeleport("", 0.0f, 0.5f, nullptr);
    enemy->mModifiers.push_back(teleport);
    for (int i = 0; i < 9; ++i)
        teleport->Update(enemy, kDt);
    enemy->mState = NQEnemy::kDying;
    teleport->Update(enemy, kDt);
    EXPECT_EQ(enemy->mRouteIndex, 1);
    EXPECT_EQ(enemy->mState, NQEnemy::kDying);
    EXPECT_FALSE(teleport->mActive);
    EXPECT_EQ(CountTag(L"teleportEnemy"), 0);
}

// --- bought upgrades ---

class UpgradedSpellTest : public TowerTest
{
protected:
    void SetUp() override
    {
        BattleTest::SetUp();
        data->Write("nq/strings_en.csv", gametest::TowerStrings());
        data->Write("nq/upgrades.xml", kUpgrades);
        StartBattleOn(gametest::WithSpots(QuietLevelXml(), gametest::TowerSpots()));
        map->mProgress->SetUpgradeLevel(5, 0);
        Economy().mGold = 1000;
    }
};

TEST_F(UpgradedSpellTest, ABoughtCostUpgradeLowersThePrice)
{
    BuildOn(0, towers::kCannon);
    EXPECT_EQ(Economy().mGold, 920);
}

TEST_F(UpgradedSpellTest, TheCastUsesTheUpgradedCopyAndTheAreaThePlainPrototype)
{
    NQSpell* spell = CastSpell(0, 300, 400);
    const auto fire = ModifiersOf<FireSplashModifier>(map->mModifiers);
    ASSERT_EQ(fire.size(), 1u);
    EXPECT_EQ(fire[0]->mValue, 3.0f);
    EXPECT_EQ(fire[0]->mDuration, 10.0f);
    EXPECT_EQ(map->mDepthEffects.back()->mSpeed, 0.5f);
    for (int i = 0; i < 79; ++i)
        map->mBullets->Update(kDt);
    EXPECT_EQ(map->mBullets->mBullets, std::vector<NQBullet*>{spell});
    map->mBullets->Update(kDt);
    EXPECT_TRUE(map->mBullets->mBullets.empty());
}

TEST_F(UpgradedSpellTest, TheHammerPlaysAtThePlainOverTheUpgradedSpeed)
{
    BuildOn(0, towers::kArrow);
    CastSpell(3, 300, 400);
    StepFrames(1);
    auto* boost = ModifiersOf<TowersBoost>(map->mModifiers).at(0);
    ASSERT_EQ(boost->mHammers.size(), 1u);
    EXPECT_EQ(boost->mHammers[0]->mSpeed, 0.5f);
}

TEST_F(UpgradedSpellTest, AStartTowerCostsNothingWithOrWithoutUpgrades)
{
    const std::string spot = gametest::SpotXml(400, 330, {{"radius_mult", 1}, {"tower_id", 10000}});
    for (const int level : {-1, 0})
    {
        map->mProgress->SetUpgradeLevel(5, level);
        WriteLevel(gametest::WithSpots(QuietLevelXml(), spot));
        map->StartLevel();
        ASSERT_EQ(map->mTowers.size(), 1u) << level;
        const int withTower = Economy().mGold;
        WriteLevel(QuietLevelXml());
        map->StartLevel();
        EXPECT_TRUE(map->mTowers.empty());
        EXPECT_EQ(Economy().mGold, withTower) << level;
    }
}
} // namespace
