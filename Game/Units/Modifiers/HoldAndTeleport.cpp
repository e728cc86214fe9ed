#include "Game/Units/Modifiers/HoldAndTeleport.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/GameSounds.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTower.h"

namespace
{
constexpr int kLoop = 1;
constexpr int kStatePlaying = 1;
constexpr int kStatePlayToEnd = 2;

NQEffect* PlacePortal(NQMap& map, float x, float y)
{
    NQEffect* portal = PlaceEffect(map.mDepthEffects, "portal_1", x, y, kLoop);
    // The list keeps it, playing or not, while the modifier points at it.
    portal->mHeld = true;
    return portal;
}

void EndPortal(NQEffect*& portal)
{
    if (!portal)
        return;
    if (portal->mEmitter)
        portal->mEmitter->SetState(kStatePlayToEnd);
    portal->mHeld = false;
    portal = nullptr;
}

NQPoint* RoutePoint(const NQMap& map, const NQEnemy& enemy, size_t index)
{
    if (!map.mPoints || index >= enemy.mRoute.size())
        return nullptr;
    return FindById(*map.mPoints, enemy.mRoute[index]);
}
} // namespace

HoldAndTeleport::HoldAndTeleport(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
}

HoldAndTeleport::~HoldAndTeleport()
{
    EndPortal(mStartPortal);
    EndPortal(mEnemyPortal);
}

void HoldAndTeleport::Update(NQEnemy* owner, float dt)
{
    NQModifier::Update(owner, dt);
    if (!mActive && mKind == kHolding)
    {
        mActive = 1;
        mKind = kTeleport;
    }
}

void HoldAndTeleport::Tick(NQEnemy* owner, float)
{
    NQMap* map = Game::GetMap();
    if (!owner || !map)
        return;
    // The dead are not sent back: their reward is paid and they would walk again.
    if (mKind == kTeleport && (owner->mState == NQEnemy::kDying || owner->mState == NQEnemy::kFading))
    {
        mKind = kAfter;
        mActive = 0;
        return;
    }
    const float remaining = mDuration - mElapsed;
    if (remaining < kStartPortalBelow && !mStartPortal)
        if (const NQPoint* first = RoutePoint(*map, *owner, 0))
            mStartPortal = PlacePortal(*map, first->mX, first->mY);
    if (remaining < kEnemyPortalBelow && !mEnemyPortal)
        mEnemyPortal = PlacePortal(*map, owner->mX, owner->mY - kEnemyPortalLift);
    if (mKind == kHolding)
    {
        if (const NQUnitProto* base = owner->GetBaseProto())
            owner->mSlow = base->speed;
    }
    else if (mKind == kTeleport)
        Teleport(*owner);
}

void HoldAndTeleport::Teleport(NQEnemy& enemy)
{
    NQMap* map = Game::GetMap();
    enemy.mRouteIndex = 0;
    enemy.mLinkTime = 0.0f;
    enemy.mProgress = 0.0f;
    PlaySoundTag(L"teleportEnemy");
    if (mSource)
        static_cast<NQTower*>(mSource)->ClearTarget();
    NQPoint* first = RoutePoint(*map, enemy, 0);
    enemy.mCurrentPoint = first;
    NQEffect* blow = PlaceEffect(map->mDepthEffects, "blow_bub", enemy.mX, enemy.mY, kKeepLoopMode);
    if (blow->mEmitter)
        blow->mEmitter->SetState(kStatePlaying);
    EndPortal(mEnemyPortal);
    const NQUnitProto* proto = enemy.GetProto();
    if (proto && !proto->straight)
    {
        enemy.mLinkLength = map->GetLinkLength(map->FindLink(first, RoutePoint(*map, enemy, 1)));
        enemy.mState = NQEnemy::kWalking;
    }
    mKind = kAfter;
    mElapsed = 0.0f;
    mDuration = kAfterSeconds;
}
