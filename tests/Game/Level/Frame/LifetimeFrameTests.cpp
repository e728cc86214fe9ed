// What points at enemies and effects, through whole frames (update and
// drawing): an enemy removed while a beam tower holds it, and the effects
// of shaman portals and tower hammers over their modifiers' whole life,
// with an effect the library lacks and with an emitter that ends early.
// These run under the sanitizers as well.
#include "Game/Units/Battle/TowerFixture.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/Modifiers/ShamanPortal.h"
#include "Game/Units/Modifiers/TowersBoost.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
using gametest::TowerTest;
namespace towers = gametest::towers;
namespace units = gametest::units;

constexpr int kStopped = 0;
constexpr int kPlayOnce = 0;
constexpr int kBoostSlot = 3;
// Frames after which a modifier that has not ended fails the test.
constexpr int kLifeLimit = 60 * 10;

class LifetimeFrameTest : public TowerTest
{
protected:
    template <class T>
    std::vector<T*> MapModifiers() const
    {
        std::vector<T*> found;
        for (NQModifier* modifier : map->mModifiers)
            if (auto* typed = dynamic_cast<T*>(modifier))
                found.push_back(typed);
        return found;
    }

    static bool Holds(const std::vector<NQEffect*>& list, const NQEffect* effect)
    {
        return std::find(list.begin(), list.end(), effect) != list.end();
    }

    // Whether any effect of the list is still held by a modifier.
    static bool AnyHeld(const std::vector<NQEffect*>& list)
    {
        return std::any_of(list.begin(), list.end(), [](const NQEffect* effect) { return effect->mHeld; });
    }

    // The library without that effect.
    static void Forget(const char* name)
    {
        render::ParticleSystem* particles = render::ParticleSystem::Instance();
        const auto it = particles->mEmitters.find(name);
        if (it == particles->mEmitters.end())
            return;
        delete it->second;
        particles->mEmitters.erase(it);
    }

    // Every frame of the modifier's life the effects stay listed (and, ended
    // early, no longer play); once it ends the list holds none for it.
    template <class T>
    void HeldUntilTheModifierEnds(const std::vector<NQEffect*>& list, const std::vector<NQEffect*>& held, bool ended)
    {
        for (int frames = 0; frames < kLifeLimit && !MapModifiers<T>().empty(); ++frames)
        {
            for (const NQEffect* effect : held)
            {
                ASSERT_TRUE(Holds(list, effect)) << frames;
                if (ended && frames > 0)
                {
                    EXPECT_FALSE(effect->IsPlaying()) << "ended, still held";
                }
            }
            StepFrames(1);
        }
        EXPECT_TRUE(MapModifiers<T>().empty());
        StepFrames(2);
        EXPECT_FALSE(AnyHeld(list));
    }

    // Lets the effect's emitter play once and run out.
    static void EndEarly(NQEffect* effect)
    {
        if (!effect->mEmitter)
            return;
        effect->mEmitter->SetLoopMode(kPlayOnce);
        effect->mEmitter->SetState(kStopped);
    }
};

// The teleport beam holds its target for 0.2 s after the shot; the target
// is killed and removed inside that time.
TEST_F(LifetimeFrameTest, AnEnemyRemovedWhileABeamTowerHoldsIt)
{
    NQTower* tower = BuildOn(0, towers::kMagic);
    ASSERT_NE(tower, nullptr);
    NQEnemy* enemy = EnemyAt(units::kNoDeath, 400, 400);
    for (int i = 0; i < 600 && enemy->mState != NQEnemy::kTeleportHeld; ++i)
        StepFrames(1);
    ASSERT_EQ(enemy->mState, NQEnemy::kTeleportHeld);
    ASSERT_EQ(tower->mState, NQTower::kHolding);
    ASSERT_NE(tower->mBeam, nullptr);
    NQBeamParticle* beam = tower->mBeam;
    ASSERT_EQ(beam->mTarget, enemy);

    enemy->ApplyDamage(enemy->GetMaxHealth() * 10.0f);
    float held = 0.0f;
    while (FindEnemy(units::kNoDeath) && held < NQTower::kHoldSeconds)
    {
        StepFrames(1);
        held += frameTime;
    }
    ASSERT_EQ(FindEnemy(units::kNoDeath), nullptr);
    EXPECT_LT(held, NQTower::kHoldSeconds) << "removed within the hold";
    EXPECT_EQ(tower->mTarget, nullptr);
    EXPECT_EQ(tower->mBeam, nullptr);
    // A beam still playing out no longer points at the enemy.
    if (std::find(map->mParticles.begin(), map->mParticles.end(), beam) != map->mParticles.end())
    {
        EXPECT_EQ(beam->mTarget, nullptr);
    }
    // The frames after the hold: no teleport of what is gone, the tower free again.
    StepSeconds(4.0f);
    EXPECT_EQ(CountTag(L"teleportEnemy"), 0);
    EXPECT_NE(tower->mState, NQTower::kHolding);
    EXPECT_TRUE(map->mParticles.empty());
}

TEST_F(LifetimeFrameTest, PortalEffectsThroughThePortalsWholeLife)
{
    struct Case
    {
        const char* name;
        int shaman;
        bool endEarly;
    };
    const Case cases[] = {
        {"looping effect", units::kShaman, false},
        {"effect that ends early", units::kShaman, true},
        {"effect the library lacks", units::kLostShaman, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        NQEnemy* shaman = EnemyAt(c.shaman, 220, 400);
        for (int i = 0; i < kLifeLimit && MapModifiers<ShamanPortal>().empty(); ++i)
        {
            Place(shaman, 220, 400);
            StepFrames(1);
        }
        ASSERT_EQ(MapModifiers<ShamanPortal>().size(), 1u);
        ShamanPortal* portal = MapModifiers<ShamanPortal>()[0];
        NQEffect* effect = portal->mEffect;
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->mEmitter == nullptr, c.shaman == units::kLostShaman);
        if (c.endEarly)
            EndEarly(effect);
        // The shaman goes; the portal lives on and keeps its effect listed.
        shaman->ApplyDamage(shaman->GetMaxHealth() * 10.0f);
        HeldUntilTheModifierEnds<ShamanPortal>(map->mDepthEffects, {effect}, c.endEarly);
        // The summoned go, and the next case starts on an empty road.
        for (NQEnemy* enemy : Enemies())
            enemy->ApplyDamage(enemy->GetMaxHealth() * 10.0f);
        StepSeconds(3.0f);
        ASSERT_TRUE(Enemies().empty());
    }
}

TEST_F(LifetimeFrameTest, HammerEffectsThroughTheBoostsWholeLife)
{
    struct Case
    {
        const char* name;
        bool lacking;
        bool endEarly;
    };
    const Case cases[] = {
        {"looping effect", false, false},
        {"effect that ends early", false, true},
        {"effect the library lacks", true, false},
    };
    NQTower* cannon = BuildOn(0, towers::kCannon);
    NQTower* arrow = BuildOn(1, towers::kArrow);
    ASSERT_TRUE(cannon && arrow);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.lacking)
            Forget("hammer");
        StepSeconds(6.0f); // the slot's cooldown
        CastSpell(kBoostSlot, cannon->mX, cannon->mY);
        StepFrames(1);
        ASSERT_EQ(MapModifiers<TowersBoost>().size(), 1u);
        const std::vector<NQEffect*> hammers = MapModifiers<TowersBoost>()[0]->mHammers;
        ASSERT_FALSE(hammers.empty());
        for (NQEffect* hammer : hammers)
        {
            EXPECT_EQ(hammer->mEmitter == nullptr, c.lacking);
            if (c.endEarly)
                EndEarly(hammer);
        }
        HeldUntilTheModifierEnds<TowersBoost>(map->mEffects, hammers, c.endEarly);
    }
}
} // namespace
