// The modifier rule, offering, every tick of the enemy and map modifiers, and
// the lifetimes of what modifiers point at.
#include "QuietBattleFixture.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/Modifiers/AreaDamageModifier.h"
#include "Game/Units/Modifiers/DotModifier.h"
#include "Game/Units/Modifiers/DotModifierArea.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/Modifiers/HasteAreaModifier.h"
#include "Game/Units/Modifiers/HealerModifier.h"
#include "Game/Units/Modifiers/HoldModifier.h"
#include "Game/Units/Modifiers/InvisibleAreaModifier.h"
#include "Game/Units/Modifiers/InvisibleModifier.h"
#include "Game/Units/Modifiers/MapImpassableArea.h"
#include "Game/Units/Modifiers/RegenModifier.h"
#include "Game/Units/Modifiers/ShamanModifier.h"
#include "Game/Units/Modifiers/ShamanPortal.h"
#include "Game/Units/Modifiers/StunModifier.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQSprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
namespace units = gametest::units;

class CountingModifier : public NQModifier
{
public:
    CountingModifier(float duration, float period) : NQModifier("", 0.0f, duration, nullptr) { mPeriod = period; }
    void Tick(NQEnemy*, float) override { ticks.push_back(mElapsed); }
    std::vector<float> ticks;
};

class ModifierTest : public gametest::QuietBattleTest
{
protected:
    template <class T>
    static T* Find(NQEnemy* enemy)
    {
        for (NQModifier* modifier : enemy->mModifiers)
            if (auto* found = dynamic_cast<T*>(modifier))
                return found;
        return nullptr;
    }

    std::vector<ShamanPortal*> Portals() const
    {
        std::vector<ShamanPortal*> portals;
        for (NQModifier* modifier : map->mModifiers)
            if (auto* portal = dynamic_cast<ShamanPortal*>(modifier))
                portals.push_back(portal);
        return portals;
    }
};

TEST_F(ModifierTest, ADotTicksAfterItsPeriodAndEndsWithoutATick)
{
    NQEnemy* enemy = At(units::kTank, 200.0f);
    const float full = enemy->mHealth;
    DotModifier dot("health", 0.5f, 2.0f, nullptr);
    dot.mPeriod = 0.9f;
    std::vector<float> ticks;
    for (int i = 0; i < 9; ++i)
    {
        const float before = enemy->mHealth;
        dot.Update(enemy, 0.25f);
        if (enemy->mHealth != before)
            ticks.push_back(dot.mElapsed);
        EXPECT_EQ(dot.mActive, i < 8 ? 1 : 0) << dot.mElapsed;
    }
    EXPECT_EQ(ticks, (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(enemy->mHealth, full - 1.0f);
    // Ended: further updates do nothing.
    dot.Update(enemy, 5.0f);
    EXPECT_EQ(dot.mElapsed, 2.25f);
}

TEST_F(ModifierTest, PeriodMinusOneTicksEveryUpdateAndEndlessNeverEnds)
{
    CountingModifier every(NQModifier::kEndless, NQModifier::kEveryUpdate);
    for (int i = 0; i < 5; ++i)
        every.Update(nullptr, 0.0f);
    every.Update(nullptr, 1000.0f);
    EXPECT_EQ(every.ticks.size(), 6u);
    EXPECT_EQ(every.mActive, 1);

    CountingModifier timed(1.0f, 0.5f);
    timed.Update(nullptr, 0.5f);
    EXPECT_TRUE(timed.ticks.empty()) << "strictly above the period";
    timed.Update(nullptr, 0.5f);
    EXPECT_EQ(timed.ticks.size(), 1u);
    EXPECT_EQ(timed.mActive, 1) << "strictly above the duration";
    timed.Update(nullptr, 0.75f);
    EXPECT_EQ(timed.ticks.size(), 2u) << "the update that ends it still ticks";
    EXPECT_EQ(timed.mActive, 0);

    NQEnemy* enemy = At(units::kGrunt, 200.0f);
    InvisibleModifier invisible("", 0.0f, NQModifier::kEndless, nullptr);
    invisible.mPeriod = 3.0f;
    invisible.Update(enemy, 0.01f);
    EXPECT_EQ(enemy->mInvisibleTimer, 2.0f);
    EXPECT_EQ(enemy->mAlphaTarget, 0.4f);
}

TEST_F(ModifierTest, OneModifierPerSourceAndAbilitiesNeverBlock)
{
    int towerA = 0;
    int towerB = 0;
    NQEnemy* enemy = At(units::kHealer, 200.0f);
    ASSERT_NE(Find<HealerModifier>(enemy), nullptr);
    // Its ability (no source) does not block a source-less hit effect.
    EXPECT_TRUE(enemy->OfferModifier(new DotModifier("health", 0.5f, 2.0f, nullptr)));

    NQEnemy* other = At(units::kGrunt, 300.0f);
    ASSERT_TRUE(other->OfferModifier(new StunModifier("speed", 0.5f, 3.0f, &towerA)));
    EXPECT_FALSE(other->OfferModifier(new DotModifier("health", 0.5f, 2.0f, &towerA)));
    EXPECT_TRUE(other->OfferModifier(new DotModifier("health", 0.5f, 2.0f, &towerB)));
    EXPECT_EQ(other->mModifiers.size(), 2u);

    // Once the stun has ended and gone, tower A's effects are taken again.
    other->mModifiers[0]->mActive = 0;
    other->Update(1.0f / 60.0f);
    EXPECT_TRUE(other->OfferModifier(new DotModifier("health", 0.5f, 2.0f, &towerA)));

    other->RemoveModifiersFrom(&towerA);
    ASSERT_EQ(other->mModifiers.size(), 1u);
    EXPECT_EQ(other->mModifiers[0]->mSource, &towerB);

    // A source that goes is no longer compared with new ones.
    other->mModifiers[0]->ForgetSource(&towerB);
    EXPECT_EQ(other->mModifiers[0]->mSource, nullptr);
}

TEST_F(ModifierTest, ADotAreaOffersToEnemiesWithoutAnotherSourcelessEffect)
{
    NQEnemy* free = At(units::kHealer, 200.0f);
    NQEnemy* stunned = At(units::kGrunt, 210.0f);
    NQEnemy* outside = At(units::kGrunt, 260.0f);
    stunned->mModifiers.push_back(new StunModifier("", 0.0f, 5.0f, nullptr));
    DotModifierArea area(205.0f, 400.0f, 100.0f, 2.0f, 4.0f);
    area.Update(nullptr, 0.1f);
    ASSERT_NE(Find<DotModifier>(free), nullptr);
    EXPECT_EQ(Find<DotModifier>(free)->mPeriod, 1.0f);
    EXPECT_EQ(Find<DotModifier>(free)->mDuration, 4.0f);
    EXPECT_EQ(Find<DotModifier>(stunned), nullptr);
    EXPECT_EQ(Find<DotModifier>(outside), nullptr);
    // Its own DoT now blocks the next offer.
    area.Update(nullptr, 0.1f);
    EXPECT_EQ(std::count_if(free->mModifiers.begin(), free->mModifiers.end(),
                            [](NQModifier* m) { return dynamic_cast<DotModifier*>(m) != nullptr; }),
              1);
}

TEST_F(ModifierTest, AurasReachStrictlyWithinR)
{
    struct Case
    {
        int unit;
        const char* name;
    };
    const Case cases[] = {{units::kHaste, "haste"}, {units::kInvisibleArea, "invisibleArea"}, {units::kHealer, "healer"}};
    for (const Case& c : cases)
    {
        StartBattleOn(QuietLevelXml());
        NQEnemy* source = At(c.unit, 200.0f);
        NQEnemy* inside = At(units::kGrunt, 299.0f);
        NQEnemy* edge = At(units::kGrunt, 300.0f);
        for (NQEnemy* target : {source, inside, edge})
            target->mHealth = 10.0f;
        NQModifier* aura = source->mModifiers.at(0);
        aura->Update(source, 1.0f);
        const auto touched = [&](const NQEnemy* e) {
            return e->mSpeedFactorTarget == 2.0f || e->mInvisibleTimer == 2.0f || e->mHealth > 10.0f;
        };
        EXPECT_TRUE(touched(inside)) << c.name;
        EXPECT_FALSE(touched(edge)) << c.name;
        EXPECT_FALSE(touched(source)) << c.name << ": never itself";

        // A dead source does nothing.
        inside->mHealth = 10.0f;
        inside->mSpeedFactorTarget = 1.0f;
        inside->mInvisibleTimer = 0.0f;
        source->mState = NQEnemy::kDying;
        aura->Update(source, 1.0f);
        EXPECT_FALSE(touched(inside)) << c.name;
    }
}

TEST_F(ModifierTest, HealsStopAtTheMaximumAndNeedAWoundedNeighbour)
{
    NQEnemy* healer = At(units::kHealer, 200.0f);
    NQEnemy* wounded = At(units::kGrunt, 250.0f);
    NQEnemy* dead = At(units::kGrunt, 240.0f);
    HealerModifier* heal = Find<HealerModifier>(healer);
    ASSERT_NE(heal, nullptr);

    // Nobody wounded: no cast.
    heal->Update(healer, 1.0f);
    EXPECT_EQ(healer->mState, NQEnemy::kWalking);

    wounded->mHealth = 29.0f;
    dead->mHealth = -5.0f;
    dead->mState = NQEnemy::kDying;
    heal->Update(healer, 1.0f);
    EXPECT_EQ(wounded->mHealth, 30.0f) << "a tenth of 30, capped at 30";
    EXPECT_EQ(dead->mHealth, -5.0f);
    EXPECT_EQ(healer->mState, NQEnemy::kSpecial);
    EXPECT_EQ(healer->mAnimTime, 0.0f);
    ASSERT_EQ(map->mHints->size(), 1u);
    auto* mark = dynamic_cast<NQAnimatedSprite*>(map->mHints->back());
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->mAnchor, wounded);

    // Slowed this frame: healers, regenerators and shamans do nothing.
    for (const int unit : {units::kHealer, units::kRegen, units::kShaman})
    {
        NQEnemy* caster = At(unit, 500.0f);
        NQEnemy* neighbour = At(units::kGrunt, 520.0f);
        neighbour->mHealth = 1.0f;
        caster->mHealth = 1.0f;
        caster->mSlow = 1.0f;
        const size_t modifiers = map->mModifiers.size();
        caster->mModifiers.at(0)->Update(caster, 10.0f);
        EXPECT_EQ(neighbour->mHealth, 1.0f) << unit;
        EXPECT_EQ(caster->mHealth, 1.0f) << unit;
        EXPECT_EQ(caster->mState, NQEnemy::kWalking) << unit;
        EXPECT_EQ(map->mModifiers.size(), modifiers) << unit;
    }
}

TEST_F(ModifierTest, RegenerationHealsATenthUpToTheMaximum)
{
    NQEnemy* enemy = At(units::kRegen, 200.0f);
    RegenModifier* regen = Find<RegenModifier>(enemy);
    ASSERT_NE(regen, nullptr);
    EXPECT_EQ(regen->mPeriod, 1.0f);
    EXPECT_EQ(regen->mAbility, 1);
    enemy->mHealth = 20.0f;
    regen->Update(enemy, 1.5f);
    EXPECT_EQ(enemy->mHealth, 23.0f);
    enemy->mHealth = 29.5f;
    regen->Update(enemy, 1.5f);
    EXPECT_EQ(enemy->mHealth, 30.0f);
}

TEST_F(ModifierTest, MapAreasHoldAndBurnTheirArea)
{
    NQEnemy* edge = At(units::kTank, 250.0f);
    NQEnemy* beyond = At(units::kTank, 250.5f);
    NQEnemy* centre = At(units::kTank, 200.0f);
    const float full = centre->mHealth;

    MapImpassableArea hold(2.0f, 200.0f, 400.0f, 100.0f);
    hold.Update(nullptr, 0.1f);
    EXPECT_EQ(edge->mSlow, 60.0f);
    EXPECT_EQ(centre->mSlow, 60.0f);
    EXPECT_EQ(beyond->mSlow, 0.0f);

    FireSplashModifier fire("", 3.0f, 10.0f, nullptr, 200.0f, 400.0f, 100.0f);
    fire.mPeriod = 1.0f;
    for (int i = 0; i < 10; ++i)
        fire.Update(nullptr, 0.25f);
    // Ticks at 1.25 and 2.5.
    EXPECT_EQ(centre->mHealth, full - 6.0f);
    EXPECT_EQ(edge->mHealth, full - 6.0f);
    EXPECT_EQ(beyond->mHealth, full);

    AreaDamageModifier marker("", 50.0f, 1.5f, nullptr, 200.0f, 400.0f, 100.0f);
    EXPECT_EQ(marker.mKind, 101);
    for (int i = 0; i < 4; ++i)
        marker.Update(nullptr, 0.25f);
    EXPECT_EQ(centre->mHealth, full - 6.0f);
}

TEST_F(ModifierTest, HoldAndStunTakeTheUnitsOwnSpeed)
{
    NQEnemy* held = SpawnNow(units::kLevelled, -65.0f, 2);
    HoldModifier hold("speed", 0.5f, 3.0f, nullptr);
    hold.Update(held, 0.1f);
    EXPECT_EQ(held->mSlow, 60.0f);
    StunModifier stun("speed", 0.5f, 3.0f, nullptr);
    stun.Update(held, 0.1f);
    EXPECT_EQ(held->mSlow, 30.0f);
}

TEST_F(ModifierTest, AShamansPeriodLiesBetweenOneAndTwoCooldowns)
{
    for (uint32_t seed = 1; seed <= 20; ++seed)
    {
        math::Random(seed);
        NQEnemy* shaman = SpawnNow(units::kShaman);
        ShamanModifier* ability = Find<ShamanModifier>(shaman);
        ASSERT_NE(ability, nullptr);
        EXPECT_GE(ability->mPeriod, 2.0f) << seed;
        EXPECT_LT(ability->mPeriod, 4.0f) << seed;
        EXPECT_EQ(ability->mAbility, 1);
    }
}

TEST_F(ModifierTest, ASpawnedEnemyCarriesItsAbilitiesInOrder)
{
    NQEnemy* healer = SpawnNow(units::kHealer);
    ASSERT_EQ(healer->mModifiers.size(), 1u);
    EXPECT_EQ(healer->mModifiers[0]->mPeriod, 0.5f);
    EXPECT_EQ(healer->mModifiers[0]->mDuration, NQModifier::kEndless);
    EXPECT_EQ(healer->mModifiers[0]->mSource, nullptr);
    EXPECT_NE(Find<InvisibleModifier>(SpawnNow(units::kInvisible)), nullptr);
    EXPECT_NE(Find<InvisibleAreaModifier>(SpawnNow(units::kInvisibleArea)), nullptr);
    EXPECT_NE(Find<HasteAreaModifier>(SpawnNow(units::kHaste)), nullptr);
    EXPECT_TRUE(SpawnNow(units::kGrunt)->mModifiers.empty());
}

TEST_F(ModifierTest, AShamanPortalSummonsAtItsSnapshotUntilItEnds)
{
    NQEnemy* shaman = At(units::kShaman, 220.0f);
    shaman->mProgress = 0.4f;
    ShamanModifier* ability = Find<ShamanModifier>(shaman);
    effects.clear();
    ability->Tick(shaman, 0.0f);
    EXPECT_EQ(shaman->mState, NQEnemy::kSpecial);
    const std::vector<ShamanPortal*> portals = Portals();
    ASSERT_EQ(portals.size(), 1u);
    ShamanPortal* portal = portals[0];
    EXPECT_EQ(portal->mPeriod, 1.0f);
    EXPECT_EQ(portal->mDuration, 3.0f);
    EXPECT_EQ(portal->mSnapshot.x, 220.0f);
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].name, "portal_fx");
    EXPECT_EQ(effects[0].list, "front");

    // The shaman walks on; the portal stays where it opened.
    shaman->mX = 300.0f;
    const size_t before = Enemies().size();
    for (int i = 0; i < 8; ++i)
        portal->Update(nullptr, 0.5f);
    EXPECT_EQ(portal->mActive, 0);
    // Ticks at 1.5 and 3.0.
    ASSERT_EQ(Enemies().size(), before + 2);
    for (size_t i = before; i < Enemies().size(); ++i)
    {
        const NQEnemy* summoned = Enemies()[i];
        EXPECT_EQ(summoned->mEntry->mId, units::kSummoned);
        EXPECT_EQ(summoned->mEntry->mState, 1);
        EXPECT_EQ(summoned->mEntry->mX, -1.0f);
        EXPECT_EQ(summoned->mEntry->mY, shaman->mEntry->mY);
        EXPECT_EQ(summoned->mLevel, 0);
        EXPECT_EQ(summoned->mX, 220.0f);
        EXPECT_EQ(summoned->mProgress, 0.4f);
        EXPECT_EQ(summoned->mRoute, shaman->mRoute);
    }
}

TEST_F(ModifierTest, APortalHoldsAnEffectTheLibraryLacksUntilItEnds)
{
    NQEnemy* shaman = At(units::kLostShaman, 220.0f);
    Find<ShamanModifier>(shaman)->Tick(shaman, 0.0f);
    ShamanPortal* portal = Portals().at(0);
    NQEffect* effect = portal->mEffect;
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->mEmitter, nullptr);
    StepSeconds(2.0f);
    ASSERT_EQ(Portals().size(), 1u);
    EXPECT_NE(std::find(map->mDepthEffects.begin(), map->mDepthEffects.end(), effect), map->mDepthEffects.end());
    // The portal ends after 3 s and is deleted; its effect goes at the next purge.
    StepSeconds(1.5f);
    EXPECT_TRUE(Portals().empty());
    StepFrames(1);
    EXPECT_EQ(std::find(map->mDepthEffects.begin(), map->mDepthEffects.end(), effect), map->mDepthEffects.end());
}

TEST_F(ModifierTest, AForgottenShamanLeavesItsPortalAndAHealedEnemyItsMark)
{
    NQEnemy* shaman = At(units::kShaman, 220.0f);
    Find<ShamanModifier>(shaman)->Tick(shaman, 0.0f);
    ShamanPortal* portal = Portals().at(0);
    ASSERT_EQ(portal->mShaman, shaman);

    // Healed, then deleted while its heal mark still plays (no death frames).
    NQEnemy* healer = At(units::kHealer, 260.0f);
    NQEnemy* wounded = At(units::kNoDeath, 280.0f);
    wounded->mHealth = 5.0f;
    Find<HealerModifier>(healer)->Tick(healer, 0.0f);
    auto* mark = dynamic_cast<NQAnimatedSprite*>(map->mHints->back());
    ASSERT_NE(mark, nullptr);
    ASSERT_EQ(mark->mAnchor, wounded);
    wounded->ApplyDamage(1000.0f);
    StepFrames(3);
    ASSERT_EQ(CountEnemies(units::kNoDeath), 0);
    ASSERT_FALSE(map->mHints->empty());
    EXPECT_EQ(mark->mAnchor, nullptr);
    StepFrames(20);

    shaman->ApplyDamage(1000.0f);
    StepSeconds(1.5f);
    // Deleted (its address may already serve a new enemy).
    EXPECT_EQ(CountEnemies(units::kShaman), 0);
    EXPECT_EQ(portal->mShaman, nullptr);
    // The portal goes on summoning from its snapshot.
    StepSeconds(1.0f);
    EXPECT_GT(CountEnemies(units::kSummoned), 0);
}

TEST_F(ModifierTest, ALevelResetAfterSheetReloadsWithLiveEnemies)
{
    NQEnemy* shaman = At(units::kShaman, 220.0f);
    Find<ShamanModifier>(shaman)->Tick(shaman, 0.0f);
    At(units::kHealer, 260.0f);
    At(units::kCarrier, 300.0f)->mModifiers.push_back(new DotModifier("", 1.0f, 5.0f, nullptr));
    map->LoadSheets();
    StepFrames(2);
    map->ResetLevel();
    EXPECT_TRUE(Enemies().empty());
    EXPECT_TRUE(map->mModifiers.empty());
    StepSeconds(1.0f);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
}
TEST_F(ModifierTest, EffectListsKeepHeldEffectsAndDropStoppedOnes)
{
    NQEffectList list;
    NQEffect* playing = PlaceEffect(list, "portal_fx", 10.0f, 20.0f, 1);
    NQEffect* stopped = PlaceEffect(list, "no_such_effect", 0.0f, 0.0f, kKeepLoopMode);
    NQEffect* held = PlaceEffect(list, "no_such_effect", 0.0f, 0.0f, kKeepLoopMode);
    held->mHeld = true;
    ASSERT_TRUE(playing->IsPlaying());
    UpdateEffectList(list, 0.25f);
    EXPECT_EQ(list, (NQEffectList{playing, held}));
    EXPECT_EQ(playing->mTime, 0.25f);
    EXPECT_EQ(held->mTime, 0.0f) << "a stopped effect does not advance";
    held->mHeld = false;
    UpdateEffectList(list, 0.25f);
    EXPECT_EQ(list, (NQEffectList{playing}));
    (void)stopped;
    for (NQEffect* effect : list)
        delete effect;
}
} // namespace
