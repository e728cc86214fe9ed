#include "Game/Units/NQSpell.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/DotModifierArea.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/Modifiers/MapImpassableArea.h"
#include "Game/Units/Modifiers/StunModifier.h"
#include "Game/Units/Modifiers/TowersBoost.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/SpriteList.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{
constexpr float kFireSplashPeriod = 1.0f;
constexpr float kPercent = 100.0f;
constexpr int kPositionMode = 0;

NQMap* Map() { return Game::GetMap(); }
} // namespace

NQSpell::NQSpell(int32_t spellId, float x, float y) : NQBullet(nullptr, nullptr), mSpellId(spellId)
{
    mX = x;
    mY = y;
}

void NQSpell::Cast()
{
    NQMap* map = Map();
    std::unique_ptr<NQUnitProto> spell(CreateUpgradedProto(mSpellId));
    if (!map || !spell)
        return;
    const NQUnitProto& s = *spell;
    if (s.firesplash)
    {
        auto* fire = new FireSplashModifier(std::string(), s.strength, s.speed, nullptr, mX, mY, s.r);
        fire->mPeriod = kFireSplashPeriod;
        map->mModifiers.push_back(fire);
    }
    if (s.splash && map->mWaveManager)
    {
        std::vector<NQEnemy*> victims;
        map->mWaveManager->GetEnemiesInRadius(mX, mY, s.r, victims);
        for (NQEnemy* enemy : victims)
        {
            enemy->ApplyDamage(s.strength);
            mHits.push_back(enemy);
        }
    }
    if (s.hold)
        map->mModifiers.push_back(new MapImpassableArea(s.speed, mX, mY, s.r));
    if (s.dot)
        map->mModifiers.push_back(new DotModifierArea(mX, mY, s.r, s.strength, s.speed));
    if (s.boostTower)
        map->mModifiers.push_back(new TowersBoost(s.speed, s.strength / kPercent));
    if (!s.onAmmo.empty())
    {
        NQEffect* effect = PlaceEffect(map->mDepthEffects, s.onAmmo, mX, mY, kKeepLoopMode);
        if (effect->mEmitter)
        {
            const float position[2] = {mX, mY};
            effect->mEmitter->SetPosition(position, kPositionMode);
        }
        // An upgraded, longer spell plays its effect more slowly; a spell of
        // no duration plays it at its own speed.
        const NQUnitProto* plain = map->mUnitDatabase ? map->mUnitDatabase->FindProto(mSpellId) : nullptr;
        const float speed = plain && s.speed != 0.0f ? plain->speed / s.speed : 1.0f;
        effect->mSpeed = std::isfinite(speed) ? speed : 1.0f;
    }
    if (s.spriteSet && s.spriteSet->mHasLayeredImage && map->mHints)
    {
        const std::wstring set = base::Utf8ToWide(s.psd);
        const float rate = s.fps > 0.0f ? s.fps : kDefaultSpriteRate;
        const float delays[] = {0.0f, kSecondSpriteDelay, kThirdSpriteDelay};
        for (size_t i = 0; i < std::size(delays); ++i)
        {
            auto* sprite = new NQAnimatedSprite(set);
            sprite->mAnimation->mRate = rate;
            sprite->mStartDelay = delays[i];
            sprite->mX = mX;
            sprite->mY = mY;
            if (i > 0)
            {
                const CurvePoint point = RandomPointInRing(mX, mY, kSpriteRingOuter, kSpriteRingInner);
                sprite->mX = point.x;
                sprite->mY = point.y;
            }
            AddSprite(*map->mHints, sprite);
        }
    }
    NQTutorial::Instance()->OnEvent(L"spell_casted");
}

void NQSpell::Update(float dt)
{
    NQMap* map = Map();
    const NQUnitProto* spell = map && map->mUnitDatabase ? map->mUnitDatabase->FindProto(mSpellId) : nullptr;
    if (!spell)
    {
        mAlive = 0;
        return;
    }
    mAnimTime += dt;
    mAlive = mAnimTime < spell->speed ? 1 : 0;
    if (!mAlive || !map->mWaveManager)
        return;
    std::vector<NQEnemy*> inside;
    map->mWaveManager->GetEnemiesInRadius(mX, mY, spell->r, inside);
    for (NQEnemy* enemy : inside)
    {
        if (std::find(mHits.begin(), mHits.end(), enemy) != mHits.end())
            continue;
        // Straight off the health: no hit sound, no health bar, invisibility kept.
        enemy->mHealth -= spell->strength;
        if (spell->stun)
            enemy->mModifiers.push_back(new StunModifier(std::string(), 0.0f, spell->speed, nullptr));
        mHits.push_back(enemy);
    }
}
