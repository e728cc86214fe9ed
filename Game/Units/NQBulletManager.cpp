#include "Game/Units/NQBulletManager.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/RenderState.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQSpell.h"
#include "Game/Units/NQTower.h"

#include <algorithm>

namespace
{
constexpr int kPositionMode = 0;
constexpr int kStatePlaying = 1;
constexpr float kHalfTurn = 180.0f;
} // namespace

NQBulletManager::~NQBulletManager()
{
    Clear();
}

void NQBulletManager::Add(NQBullet* bullet)
{
    NQMap* map = Game::GetMap();
    const NQUnitProto* ammo = bullet->mTower ? bullet->GetAmmo() : nullptr;
    const float position[2] = {bullet->mX, bullet->mY};
    if (ammo && map && !ammo->onFire.empty())
    {
        NQEffect* effect = map->PlaceEffect(map->mEffects, ammo->onFire, bullet->mX, bullet->mY, kKeepLoopMode);
        if (effect->mEmitter)
        {
            effect->mEmitter->SetPosition(position, kPositionMode);
            effect->mEmitter->SetDirection(bullet->mTower->mAngle - kHalfTurn);
        }
    }
    if (ammo && !ammo->onAmmo.empty())
    {
        std::string name = ammo->onAmmo;
        if (name.back() == '\r')
            name.pop_back();
        // A library without the effect leaves the shot without a trail.
        if (render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(name))
        {
            emitter->SetPosition(position, kPositionMode);
            emitter->SetState(kStatePlaying);
            bullet->mEmitter = emitter;
        }
    }
    mBullets.push_back(bullet);
}

void NQBulletManager::Update(float dt)
{
    // By index: a hit may append bullets, and they fly in the same pass.
    for (size_t i = 0; i < mBullets.size(); ++i)
        mBullets[i]->Update(dt);
    size_t kept = 0;
    for (size_t i = 0; i < mBullets.size(); ++i)
    {
        NQBullet* bullet = mBullets[i];
        if (bullet->mAlive)
        {
            mBullets[kept++] = bullet;
            continue;
        }
        if (NQTower* tower = bullet->mTower; tower && tower->mState == NQTower::kLobbedWait)
        {
            tower->mState = NQTower::kIdle;
            tower->mAnimTime = 0.0f;
        }
        delete bullet;
    }
    mBullets.resize(kept);
}

void NQBulletManager::ForgetEnemy(NQEnemy* enemy)
{
    for (NQBullet* bullet : mBullets)
    {
        if (bullet->mTarget == enemy)
            bullet->mTarget = nullptr;
        std::erase(bullet->mHits, enemy);
    }
}

void NQBulletManager::RemoveTowerBullets(NQTower* tower)
{
    size_t kept = 0;
    for (size_t i = 0; i < mBullets.size(); ++i)
    {
        NQBullet* bullet = mBullets[i];
        if (bullet->mTower == tower)
        {
            delete bullet;
            continue;
        }
        mBullets[kept++] = bullet;
    }
    mBullets.resize(kept);
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    if (map->mWaveManager)
        for (NQEnemy* enemy : map->mWaveManager->mEnemies)
            for (NQModifier* modifier : enemy->mModifiers)
                modifier->ForgetSource(tower);
    // Burning ground, splash markers and boosts drop it too.
    for (NQModifier* modifier : map->mModifiers)
        modifier->ForgetSource(tower);
}

void NQBulletManager::Clear()
{
    base::DeleteAll(mBullets);
}

void NQBulletManager::Draw(render::Graphics* graphics)
{
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    for (NQBullet* bullet : mBullets)
    {
        if (dynamic_cast<NQSpell*>(bullet))
            continue; // spells show through their effects
        if (bullet->mEmitter)
            graphics->DrawParticles(bullet->mEmitter);
        const NQUnitProto* ammo = bullet->mTower ? bullet->GetAmmo() : nullptr;
        if (!ammo)
            continue;
        graphics->SetBlendMode(render::kBlendAlpha);
        const NQSpriteSet* set = ammo->spriteSet;
        if (!set)
            continue;
        if (set->mHasLayeredImage)
        {
            // Only the lobbed shot has an animation of a layered set.
            if (bullet->mLobbed)
                bullet->mLobbed->Draw(graphics, bullet->mX, bullet->mY, bullet->mAngle);
            continue;
        }
        if (!set->mPicture)
            continue;
        const float at[2] = {bullet->mX, bullet->mY};
        auto record = graphics->DrawImage(*set->mPicture).Translate(at);
    }
}
