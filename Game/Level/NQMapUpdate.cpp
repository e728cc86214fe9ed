// The level's frame update.
#include "Game/Level/NQMap.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/SaveFailureNotice.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "Game/Units/SpriteList.h"

namespace
{
constexpr int32_t kLoadPending = 2;
constexpr int kEmitterPlaying = 1;
// Drops run at 1.5 times game time; one lying 5 s of its own time is collected.
constexpr float kDropTimeFactor = 1.5f;
constexpr float kAutoCollectSeconds = 5.0f;
// The shortest pause between two plays of a repeating anchor.
constexpr float kShortestAnchorInterval = 20.0f;

// Playing emitters advance; the others are deleted, the rest keeping their order.
void UpdateEmitters(std::vector<render::ParticleEmitter*>& emitters, float dt)
{
    size_t kept = 0;
    for (size_t i = 0; i < emitters.size(); ++i)
    {
        render::ParticleEmitter* emitter = emitters[i];
        if (emitter->mState != kEmitterPlaying)
        {
            delete emitter;
            continue;
        }
        emitter->Update(dt);
        emitters[kept++] = emitter;
    }
    emitters.resize(kept);
}

void UpdateParticles(std::vector<NQParticle*>& particles, float dt)
{
    size_t kept = 0;
    for (size_t i = 0; i < particles.size(); ++i)
    {
        NQParticle* particle = particles[i];
        if (!particle->IsPlaying())
        {
            delete particle;
            continue;
        }
        particle->Update(dt);
        particles[kept++] = particle;
    }
    particles.resize(kept);
}

void DeleteInactive(std::vector<NQModifier*>& modifiers)
{
    size_t kept = 0;
    for (size_t i = 0; i < modifiers.size(); ++i)
    {
        if (!modifiers[i]->mActive)
        {
            delete modifiers[i];
            continue;
        }
        modifiers[kept++] = modifiers[i];
    }
    modifiers.resize(kept);
}
} // namespace

void NQMap::Update(float dt)
{
    if (mLoadState == kLoadPending)
    {
        mLoadState = 0;
        if (!mHud)
        {
            StartLevel();
            return;
        }
        mHud->CloseTopWindow();
        mHud->StartOrRefuseLevel(*this);
        return; // the start takes the whole frame
    }
    if (mEndFlag)
    {
        if (mHud && mScreenState == screen::kEpisodeSelect)
        {
            mHud->CloseTopWindow();
            mHud->ShowEpisodeSelect();
        }
        else if (mHud && mScreenState == screen::kLevelSelect)
        {
            mHud->CloseTopWindow();
            mHud->ShowLevelSelect();
        }
        mEndFlag = 0;
    }
    savefailure::TellWhenDue(*this);
    if (!mResourcesLoaded)
        return; // no level to move

    mFrameTime = dt;
    const float sdt = mSpeed * dt;
    mGameTime += sdt;
    if (mEnemySpotMarker)
        mEnemySpotMarker->Advance(dt);
    if (mSelectedEnemy && mSelectedEnemy->mState == NQEnemy::kDying)
        mSelectedEnemy = nullptr;
    if (mContextMenu)
        mContextMenu->Update(dt);
    if (mArmedSpell && mSpellEmitter)
        mSpellEmitter->Update(sdt);
    if (mButtonEmitter)
    {
        mButtonEmitter->Update(sdt);
        if (mButtonEmitter->mState != kEmitterPlaying)
            mButtonEmitter->SetState(kEmitterPlaying);
    }
    if (mHud)
        mHud->Update(dt);
    NQTutorial::Instance()->Update(dt);
    UpdateEffectList(mEffects, sdt);
    UpdateEmitters(mLooseEmitters, dt);
    if (mScreenState != screen::kPlaying)
    {
        // A window or the level's end holds the battle; its ring goes.
        delete mContextMenu;
        mContextMenu = nullptr;
        return;
    }

    UpdateTimedEffects(sdt);
    if (mDrops)
    {
        UpdateDrops(*mDrops, sdt * kDropTimeFactor);
        for (size_t i = 0; i < mDrops->size(); ++i)
        {
            NQTowerSpecial* drop = (*mDrops)[i];
            if (drop->mState != NQTowerSpecial::kLying || drop->mProgress <= kAutoCollectSeconds)
                continue;
            drop->SetState(NQTowerSpecial::kCollected);
            mEconomy->AddGems(1);
        }
    }
    if (mHints)
        UpdateSprites(*mHints, sdt);
    mEconomy->Update(dt);
    UpdateParticles(mParticles, sdt);
    UpdateEffectList(mDepthEffects, sdt);
    // The icons keep the real clock, so they rise while paused.
    if (mFloatingIcons)
        mFloatingIcons->Update(dt);

    // Walked by index: a callback may append to the list being walked.
    for (size_t i = 0; i < mTowers.size(); ++i)
    {
        ClearBoostValues(*mTowers[i]->mBonus);
        mTowers[i]->mBoosted = false;
    }
    for (size_t i = 0; i < mModifiers.size(); ++i)
        mModifiers[i]->Update(nullptr, sdt);
    // The enemies stand still while the towers look for them.
    mWaveManager->BuildTowerQueries();
    for (size_t i = 0; i < mTowers.size(); ++i)
    {
        mUpgradeTable->ApplyToTower(mTowers[i]);
        mTowers[i]->Update(sdt);
    }
    mWaveManager->DropTowerQueries();
    mWaveManager->UpdateEnemyModifiers(sdt);
    for (size_t i = 0; i < mWaveManager->mEnemies.size(); ++i)
        mWaveManager->mEnemies[i]->Update(sdt);
    mBullets->Update(sdt);
    DeleteInactive(mModifiers);
    mWaveManager->Update(sdt);
    for (NQEnemy* enemy : mWaveManager->mEnemies)
        enemy->mSlow = 0.0f;
}

void NQMap::UpdateTimedEffects(float dt)
{
    if (!mFxAnchors)
        return;
    for (NQFxAnchor* anchor : *mFxAnchors)
    {
        if (!anchor->mStarted)
        {
            anchor->mClock += dt;
            if (anchor->mClock > anchor->mFirstDelay)
            {
                FireTimedEffect(anchor);
                anchor->mClock = 0.0f;
            }
            continue;
        }
        if (anchor->mSingle)
            continue; // its looping effect plays on
        anchor->mClock += dt;
        if (anchor->mClock > anchor->mNextDelay)
        {
            FireTimedEffect(anchor);
            anchor->mNextDelay = math::RandomRange(kShortestAnchorInterval, anchor->mPeriod);
            anchor->mClock = 0.0f;
        }
    }
}

void NQMap::FireTimedEffect(NQFxAnchor* anchor)
{
    anchor->mStarted = 1;
    if (anchor->mEffectName.empty())
        return; // a silent anchor
    anchor->mEffect = PlaceEffect(mEffects, anchor->mEffectName, anchor->mX, anchor->mY, anchor->mSingle ? 1 : 0);
}
