#include "Game/Units/NQBullet.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/GameSounds.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/BlastModifier.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/SpritePoints.h"

#include <cmath>

namespace
{
constexpr float kRadToDeg = 180.0f / 3.1415927f;
constexpr int kPositionMode = 0;
constexpr float kNearShare = 0.7f;
constexpr float kFarShare = 0.3f;
constexpr const wchar_t* kLobbedSet = L"nq/tower3_1b";
constexpr const wchar_t* kLobbedAnimation = L"fire";

NQMap* Map() { return Game::GetMap(); }

float StepAngle(float dx, float dy) { return ToSpriteAngle(math::Atan2(dx, dy) * kRadToDeg); }
} // namespace

NQBullet::NQBullet(NQTower* tower, NQEnemy* target) : mTower(tower), mTarget(target)
{
    if (!tower)
        return;
    mTowerProto = tower->GetProto(-1);
    if (target)
    {
        mAimX = target->mDrawX;
        mAimY = target->mDrawY;
    }
    if (tower->mDirection < 0 || tower->mDirection >= NQTower::kSectorCount)
        tower->mDirection = 0;
    int32_t frame = NQTower::kSectorCount - tower->mDirection;
    if (frame > NQTower::kSectorCount - 1)
        frame = 0;
    mX = tower->mX;
    mY = tower->mY;
    const NQUnitProto* proto = mTowerProto;
    if (proto && proto->rotating)
    {
        float w = 0.0f;
        float h = 0.0f;
        GetSpriteExtent(proto->spriteSet, w, h);
        float sx = 0.0f;
        float sy = 0.0f;
        float bx = 0.0f;
        float by = 0.0f;
        GetMarkerPoint(proto->spriteSet, "s_point", size_t(frame), w, h, sx, sy);
        GetMarkerPoint(proto->spriteSet, "base_point", 0, w, h, bx, by);
        mX += (w * 0.5f - bx) + (w * 0.5f - sx);
        mY -= (h * 0.5f - sy) - (h * 0.5f - by);
    }
    const float dx = mAimX - mX;
    const float dy = mAimY - mY;
    const float length = std::sqrt(dx * dx + dy * dy);
    // An aim on the start point has no direction; the shot lands at once.
    if (length > 0.0f)
    {
        mDirX = dx / length;
        mDirY = dy / length;
    }
    mSpeed = proto ? proto->speed : 0.0f;
    if (proto && proto->ammoid == NQTower::kLobbedAmmo)
    {
        mY -= kLobbedStartLift;
        mLobbed = new NQSpriteAnimation(kLobbedSet, kLobbedAnimation);
    }
}

NQBullet::~NQBullet()
{
    delete mLobbed;
    delete mEmitter;
}

NQUnitProto* NQBullet::GetAmmo() const
{
    NQMap* map = Map();
    if (!mTowerProto || !map || !map->mUnitDatabase)
        return nullptr;
    return map->mUnitDatabase->FindProto(mTowerProto->ammoid);
}

void NQBullet::OnHit(float x, float y)
{
    const NQUnitProto* ammo = GetAmmo();
    NQMap* map = Map();
    if (!ammo || ammo->onHit.empty() || !map)
        return;
    PlaySoundTag(L"ammo", ammo->id, L"hit");
    NQEffect* effect = PlaceEffect(map->mDepthEffects, ammo->onHit, x, y, kKeepLoopMode);
    if (effect->mEmitter)
    {
        const float position[2] = {x, y};
        effect->mEmitter->SetPosition(position, kPositionMode);
    }
}

void NQBullet::Update(float dt)
{
    mAnimTime += dt;
    mPhaseTime += dt;
    if (mLobbed)
        mLobbed->Advance(dt);
    const NQUnitProto* proto = mTowerProto;
    if (!proto)
    {
        mAlive = 0;
        return;
    }
    if (proto->ammoid == NQTower::kLobbedAmmo && !UpdateLobbed(dt))
        return;
    if (proto->speed == kTeleportSpeed)
    {
        if (mTarget)
            mTarget->OnHit(this, true);
        mAlive = 0;
        return;
    }
    WrapShotAnimation(GetAmmo());
    if (proto->aimed)
        UpdateHoming(dt);
    else
        UpdateStraight(dt);
    UpdateEmitter(dt);
}

bool NQBullet::UpdateLobbed(float dt)
{
    if (mPhase == kLanded)
        return true;
    if (mPhase == kRising)
    {
        if (!mTarget)
        {
            mAlive = 0;
            return false;
        }
        if (mPhaseTime < kRiseSeconds)
            mY -= mSpeed * dt;
        else
        {
            mPhase = kOnArc;
            mPhaseTime = 0.0f;
            const float dx = mTarget->mDrawX - mX;
            const float dy = mTarget->mDrawY - mY;
            mArcStartX = mX;
            mArcStartY = mY;
            mArcEndX = mLandX = mTarget->mDrawX;
            mArcEndY = mLandY = mTarget->mDrawY;
            mArcControlX = mX + dx * 0.5f;
            mArcControlY = mY - dy * 0.5f - kArcLift;
            mNearX = mX + dx * kNearShare;
            mNearY = mY + dy * kNearShare;
            mFarX = mX + dx * kFarShare;
            mFarY = mY + dy * kFarShare;
        }
    }
    else if (mPhase == kOnArc)
    {
        if (mPhaseTime <= kArcSeconds)
        {
            const CurvePoint point = BezierPoint({mArcStartX, mArcStartY}, {mArcControlX, mArcControlY},
                                                 {mArcEndX, mArcEndY}, mPhaseTime);
            mAngle = StepAngle(point.x - mX, point.y - mY);
            mX = point.x;
            mY = point.y;
        }
        else
        {
            mX = mArcEndX;
            mY = mArcEndY;
            mPhaseTime = 0.0f;
            mPhase = kLanded;
        }
    }
    if (mPhase == kLanded)
        return true;
    UpdateEmitter(dt);
    WrapShotAnimation(GetAmmo());
    return false;
}

void NQBullet::WrapShotAnimation(const NQUnitProto* ammo)
{
    if (!ammo || !ammo->spriteSet || ammo->fps <= 0.0f)
        return;
    const size_t frames = ammo->spriteSet->GetFrames("shot").size();
    if (frames > 0 && mAnimTime >= float(frames) / ammo->fps)
        mAnimTime = 0.0f;
}

void NQBullet::UpdateHoming(float dt)
{
    NQMap* map = Map();
    if (!mTarget || !mTower ||
        PointDistance(mTarget->mDrawX, mTarget->mDrawY, mTower->mX, mTower->mY) > mTower->GetReach())
    {
        // Bursts where it is, without the hit sound.
        if (map)
            map->mModifiers.push_back(new BlastModifier(this));
        mAlive = 0;
        return;
    }
    const float dx = mTarget->mX - mX;
    const float dy = mTarget->mY - mY;
    const float length = std::sqrt(dx * dx + dy * dy);
    // A step that reaches the target lands on it, so a slow frame cannot jump over it.
    if (length < kHitDistance || mSpeed * dt >= length)
    {
        if (length >= kHitDistance)
        {
            mX = mTarget->mX;
            mY = mTarget->mY;
        }
        mTarget->OnHit(this, true);
        OnHit(mX, mY);
        mAlive = 0;
        return;
    }
    mDirX = dx / length;
    mDirY = dy / length;
    mX += mDirX * dt * mSpeed;
    mY += mDirY * dt * mSpeed;
    mAngle = StepAngle(mDirX, mDirY);
}

void NQBullet::UpdateStraight(float dt)
{
    const float fromX = mX;
    const float fromY = mY;
    mX += mDirX * dt * mSpeed;
    mY += mDirY * dt * mSpeed;
    if (PointDistance(mX, mY, mAimX, mAimY) >= kHitDistance)
    {
        // A long step that passed the aim point stops at its nearest point.
        const float sx = mX - fromX;
        const float sy = mY - fromY;
        const float squared = sx * sx + sy * sy;
        if (squared > 0.0f)
        {
            float t = ((mAimX - fromX) * sx + (mAimY - fromY) * sy) / squared;
            t = std::fmin(1.0f, std::fmax(0.0f, t));
            const float nx = fromX + sx * t;
            const float ny = fromY + sy * t;
            if (PointDistance(nx, ny, mAimX, mAimY) < kHitDistance)
            {
                mX = nx;
                mY = ny;
            }
        }
    }
    if (!mTower || PointDistance(mX, mY, mTower->mX, mTower->mY) > mTower->GetReach())
    {
        mAlive = 0;
        return;
    }
    if (PointDistance(mX, mY, mAimX, mAimY) >= kHitDistance)
        return;
    NQMap* map = Map();
    const NQUnitProto* ammo = GetAmmo();
    if (map && map->mWaveManager && ammo)
    {
        std::vector<NQEnemy*> victims;
        for (NQEnemy* enemy : map->mWaveManager->mEnemies)
            if (PointDistance(mX, mY, enemy->mDrawX, enemy->mDrawY) <= ammo->r)
                victims.push_back(enemy);
        for (NQEnemy* enemy : victims)
        {
            OnHit(enemy->mDrawX, enemy->mDrawY);
            enemy->OnHit(this, false);
        }
    }
    OnHit(mX, mY);
    mAlive = 0;
}

void NQBullet::UpdateEmitter(float dt)
{
    if (!mEmitter)
        return;
    mEmitter->Update(dt);
    const float position[2] = {mX, mY};
    mEmitter->SetPosition(position, kPositionMode);
}
