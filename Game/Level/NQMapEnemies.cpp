// The level object's enemies: spawning (with their abilities and route), a
// carrier's cargo, reaching the goal and forgetting a deleted enemy.
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Math/MathFunctions.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/Modifiers/HasteAreaModifier.h"
#include "Game/Units/Modifiers/HealerModifier.h"
#include "Game/Units/Modifiers/InvisibleAreaModifier.h"
#include "Game/Units/Modifiers/InvisibleModifier.h"
#include "Game/Units/Modifiers/RegenModifier.h"
#include "Game/Units/Modifiers/ShamanModifier.h"
#include "Game/Units/Modifiers/ShamanPortal.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/SpriteList.h"

#include <algorithm>

namespace
{
constexpr int32_t kGivenUp = 2;
constexpr int32_t kGone = 3;
constexpr int32_t kCargoId = 11;
constexpr float kRunTimeX = -1.0f;
constexpr float kCargoSpacing = 0.1f;
constexpr float kCargoLastStart = 0.85f;
constexpr int kPlayOnce = 0;

template <class T>
void Attach(NQEnemy* enemy, float period)
{
    auto* modifier = new T(std::string(), 0.0f, NQModifier::kEndless, nullptr);
    modifier->mPeriod = period;
    enemy->mModifiers.push_back(modifier);
}

void GiveUp(NQWaveEntry* entry, const wchar_t* why)
{
    HV_LOG(L"enemy of unit %d not spawned: %s\n") % entry->mId % why;
    entry->mState = kGivenUp;
}
} // namespace

NQEnemy* NQMap::SpawnEnemy(NQWaveEntry* entry, NQPoint* point)
{
    // Data that names what the level lacks gives no enemy; the wave can still end.
    if (!point)
    {
        GiveUp(entry, L"unknown spawn point");
        return nullptr;
    }
    if (!mUnitDatabase->FindProto(entry->mId))
    {
        GiveUp(entry, L"unknown unit");
        return nullptr;
    }
    NQPoint* goal = FindGoalPoint();
    if (!goal)
    {
        GiveUp(entry, L"no goal");
        return nullptr;
    }

    NQEnemy* enemy = mWaveManager->AddEnemy(entry, point);
    const NQUnitProto* proto = enemy->GetProto();
    std::vector<int32_t> route;
    if (proto->straight)
        route = {point->mId, goal->mId};
    else
        route = FindWaveRoute(entry->mWave, point, goal);
    if (route.size() < 2)
    {
        mWaveManager->mEnemies.pop_back();
        delete enemy;
        GiveUp(entry, L"no route to the goal");
        return nullptr;
    }

    const float cooldown = proto->cooldown;
    if (proto->haste_buff)
        Attach<HasteAreaModifier>(enemy, cooldown);
    if (proto->invisibleArea)
        Attach<InvisibleAreaModifier>(enemy, cooldown);
    if (proto->invisible)
        Attach<InvisibleModifier>(enemy, cooldown);
    if (proto->regen)
        Attach<RegenModifier>(enemy, cooldown);
    if (proto->healer)
        Attach<HealerModifier>(enemy, cooldown);
    if (proto->summon)
        Attach<ShamanModifier>(enemy, cooldown + math::Random(0) * cooldown);

    enemy->mRoute = std::move(route);
    enemy->mRouteIndex = 0;
    if (!proto->straight)
    {
        NQPoint* next = FindById(*mPoints, enemy->mRoute[1]);
        enemy->mLinkLength = next ? GetLinkLength(FindLink(point, next)) : 0.0f;
    }
    // No tower may see the enemy anywhere but at its start before it moves.
    enemy->mX = enemy->mDrawX = enemy->mPrevX = point->mX;
    enemy->mY = enemy->mDrawY = enemy->mPrevY = point->mY;
    enemy->RefreshUpper();
    return enemy;
}

void NQMap::SpawnCargo(NQEnemy* carrier, int32_t count)
{
    NQWaveProto* wave = carrier->mEntry->mWave;
    if (!wave)
        return;
    NQPoint* start = nullptr;
    if (carrier->mRouteIndex >= 0 && size_t(carrier->mRouteIndex) < carrier->mRoute.size())
        start = FindById(*mPoints, carrier->mRoute[size_t(carrier->mRouteIndex)]);
    const float first = std::clamp(carrier->mProgress - kCargoSpacing, 0.0f, kCargoLastStart);
    NQEnemy::Walk walk = carrier->GetWalk();
    for (int32_t i = 0; i < count; ++i)
    {
        auto* entry = new NQWaveEntry(wave);
        entry->mId = kCargoId;
        entry->mUpgrade = carrier->mLevel + 1;
        entry->mX = kRunTimeX;
        entry->mY = carrier->mEntry->mY;
        entry->mSpawned = true;
        wave->mEntries.push_back(entry);
        NQEnemy* cargo = SpawnEnemy(entry, start);
        if (!cargo)
            continue;
        walk.progress = first + kCargoSpacing * float(i);
        cargo->SetWalk(walk);
    }
}

void NQMap::OnEnemyReachedGoal(NQEnemy* enemy)
{
    const NQUnitProto* proto = mUnitDatabase->FindProto(enemy->mEntry->mId);
    enemy->mInPlay = 0;
    enemy->mLeaked = true;
    enemy->mEntry->SetState(kGone);
    PlaceEffect(mEffects, "damage_h", enemy->mX, enemy->mY, kPlayOnce);
    if (!proto)
    {
        HV_LOG(L"enemy of unit %d at the goal has no prototype: no damage\n") % enemy->mEntry->mId;
        return;
    }
    // A lost level stays lost: no second defeat.
    if (mLives == 0.0f)
        return;
    mLives -= proto->strength;
    mHud->UpdateLivesText();
    if (mLives > 0.0f)
        return;
    mLives = 0.0f;
    Lose();
}

void NQMap::ForgetEnemy(NQEnemy* enemy)
{
    if (mSelectedEnemy == enemy)
        mSelectedEnemy = nullptr;
    if (NQWaveProto* wave = enemy->mEntry->mWave)
        wave->OnEnemyEvent(enemy->mEntry->mId, 0.0f, 0);
    // Heal marks stay where the enemy was last drawn; portals lose their shaman.
    if (mHints)
        ForgetSpriteAnchor(*mHints, enemy);
    for (NQModifier* modifier : mModifiers)
        if (auto* portal = dynamic_cast<ShamanPortal*>(modifier); portal && portal->mShaman == enemy)
            portal->mShaman = nullptr;
    // Bullets, towers and beams let go of it; a beam keeps its last end point.
    mBullets->ForgetEnemy(enemy);
    for (size_t i = 0; i < mTowers.size(); ++i)
    {
        NQTower* tower = mTowers[i];
        if (tower->mTarget == enemy)
            tower->ClearTarget();
        if (tower->mBeam && tower->mBeam->mTarget == enemy)
            tower->mBeam = nullptr;
    }
    for (NQParticle* particle : mParticles)
        if (auto* beam = dynamic_cast<NQBeamParticle*>(particle); beam && beam->mTarget == enemy)
        {
            beam->Stop();
            beam->mTarget = nullptr;
        }
}
