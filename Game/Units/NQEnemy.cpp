#include "Game/Units/NQEnemy.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/Image.h"
#include "Core/Sound/SoundTags.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/Modifiers/AreaDamageModifier.h"
#include "Game/Units/Modifiers/DotModifier.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/Modifiers/HoldAndTeleport.h"
#include "Game/Units/Modifiers/HoldModifier.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/Modifiers/StunModifier.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQTower.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr const wchar_t* kWyvernShadow = L"nq/data/ui_parts/shadows/wywern_shadow";
constexpr const wchar_t* kDragonShadow = L"nq/data/ui_parts/shadows/dragon_shadow";
constexpr int32_t kWyvernShadowIds[] = {3, 30, 31, 38};
constexpr int32_t kDragonShadowIds[] = {10, 32, 33};
constexpr int32_t kUndeadId = 39;
constexpr int32_t kCargoCount = 3;
constexpr float kFadeOutRate = -1.5f;
constexpr float kSpinPerSecond = 50.0f;
constexpr float kDropPerSecond = 80.0f;
constexpr float kRewardIconLift = 50.0f;
constexpr float kGoalReach = 50.0f;
// The road direction at which a walker turns to face left.
constexpr float kFacingLeftBelow = -0.05f;
constexpr float kRunTimeX = -1.0f;
constexpr float kPercent = 100.0f;
// The hit effects of a tower's prototype.
constexpr float kHitModifierValue = 0.5f;
constexpr float kTeleportSeconds = 3.0f;
constexpr float kDotSeconds = 2.0f;
constexpr float kDotPeriod = 0.9f;
constexpr float kHoldSeconds = 3.0f;
constexpr float kFireValue = 1.0f;
constexpr float kFireSeconds = 10.0f;
constexpr float kFirePeriod = 1.0f;
constexpr float kFireSize = 64.0f;
constexpr float kSplashMarkSeconds = 1.5f;
constexpr float kSplashMarkSize = 100.0f;
// The only ammo that hurts enemies hurt by fire alone.
constexpr int32_t kFirstFireAmmo = 2001;
constexpr int32_t kLastFireAmmo = 2003;
constexpr float kImmuneIconLift = 20.0f;
constexpr int kImmuneIconKind = 2;

template <size_t N>
bool Contains(const int32_t (&ids)[N], int32_t id)
{
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

size_t FrameCount(const NQUnitProto& proto, const char* group)
{
    return proto.spriteSet ? proto.spriteSet->GetFrames(group).size() : 0;
}

// Seconds of one run of the group; 0 when the group has no timing.
float GroupDuration(const NQUnitProto& proto, const char* group)
{
    if (proto.fps <= 0.0f)
        return 0.0f;
    return float(FrameCount(proto, group)) / proto.fps;
}

void PlayTag(const wchar_t* prefix, int32_t id, const wchar_t* suffix)
{
    k2::SoundTags::Instance()->Play(prefix + std::to_wstring(id) + suffix);
}

NQMap* Map() { return Game::GetMap(); }
} // namespace

NQEnemy::NQEnemy(NQWaveEntry* entry) : mEntry(entry)
{
    mLevel = entry->mUpgrade - 1;
    mEntryValue = entry->mEnemyValue;
    const NQUnitProto* proto = GetProto();
    mHealth = GetMaxHealth();
    if (proto)
    {
        const wchar_t* shadow = kDragonShadow;
        if (proto->air)
            shadow = Contains(kWyvernShadowIds, entry->mId)   ? kWyvernShadow
                     : Contains(kDragonShadowIds, entry->mId) ? kDragonShadow
                                                              : nullptr;
        if (shadow)
            mShadow = LoadGamePicture(shadow, nullptr);
        if (proto->spriteSet)
        {
            for (const auto& group : proto->spriteSet->mFrames)
                for (const NQFrameEntry* frame : group.second)
                {
                    mExtentW = std::max(mExtentW, frame->mRect[0] + frame->mRect[2]);
                    mExtentH = std::max(mExtentH, frame->mRect[1] + frame->mRect[3]);
                }
        }
    }
    // Enemies of one wave do not walk in step.
    const float start = math::Random(0);
    mAnimTime = proto ? start * GroupDuration(*proto, "walk") : 0.0f;
}

NQEnemy::~NQEnemy()
{
    if (mShadow)
    {
        mShadow->Release();
        delete mShadow;
        mShadow = nullptr;
    }
    base::DeleteAll(mModifiers);
}

NQUnitProto* NQEnemy::GetBaseProto() const
{
    NQMap* map = Map();
    if (!map || !map->mUnitDatabase || !mEntry)
        return nullptr;
    const NQUnitDatabase& database = *map->mUnitDatabase;
    const int32_t id = mEntry->mId;
    return mBaseProtoCache.Get(database, uint32_t(id), 0, [&] { return database.FindProto(id); });
}

NQUnitProto* NQEnemy::GetProto() const
{
    NQMap* map = Map();
    if (!map || !map->mUnitDatabase || !mEntry)
        return nullptr;
    return mProtoCache.Get(*map->mUnitDatabase, uint32_t(mEntry->mId), uint32_t(mLevel), [this] {
        NQUnitProto* base = GetBaseProto();
        // Without children there is no level to choose: the unit's own prototype.
        if (!base || mLevel == 0 || base->children.empty())
            return base;
        for (NQUnitProto* child : base->children)
            if (child->levelid == mLevel)
                return child;
        return base->children.back();
    });
}

float NQEnemy::GetMaxHealth() const
{
    const NQUnitProto* proto = GetProto();
    NQMap* map = Map();
    const float factor = map ? map->GetDifficultyFactor() : 0.0f;
    const float health = proto ? proto->health : 0.0f;
    return (factor + 1.0f) * health + 0.5f * float(mEntry ? mEntry->mHealthBonus : 0);
}

void NQEnemy::UpdateTimers(float dt)
{
    mInvisibleTimer -= dt;
    mAlphaTarget = mInvisibleTimer > 0.0f ? kInvisibleAlpha : 1.0f;
    math::Approach(mAlpha, dt, mAlphaTarget);

    mSpeedFactorTimer -= dt;
    if (mSpeedFactorTimer <= 0.0f)
    {
        mSpeedFactorTarget = 1.0f;
        mSpeedFactorTimer = 0.0f;
    }
    math::Approach(mSpeedFactor, dt, mSpeedFactorTarget);

    mHealthBarTimer = std::max(0.0f, mHealthBarTimer - dt);

    if (mFadeRate != 0.0f)
    {
        mOpacity += mFadeRate * dt;
        if (mOpacity > 1.0f)
        {
            mOpacity = 1.0f;
            mFadeRate = 0.0f;
        }
        else if (mOpacity < 0.0f)
        {
            mOpacity = 0.0f;
            mFadeRate = 0.0f;
        }
    }
}

void NQEnemy::Die(const NQUnitProto& proto)
{
    NQMap* map = Map();
    if (proto.carrier)
        map->SpawnCargo(this, kCargoCount);
    mState = kDying;
    PlayTag(L"enemy", proto.id, L"die");

    const float cost = proto.cost;
    const float bonus = GetKillBonus();
    const float share = float(math::TruncateToInt32(cost * bonus + 0.5f));
    const int32_t reward = math::TruncateToInt32(std::ceil(map->mKillRewardFactor * cost) + share + cost);
    map->mEconomy->OnKill(reward, mDrawX, mDrawY - kRewardIconLift);
    if (map->mFloatingIcons)
    {
        NQFloatingIcon* icon = map->mFloatingIcons->Spawn(mDrawX, mDrawY, NQFloatingIcons::kCoin);
        icon->text = L"+ " + std::to_wstring(reward);
    }
    mAnimTime = 0.0f;

    if (proto.explodeStr <= 0.0f)
        return;
    PlaceEffect(map->mEffects, "mg_00", mX, mY, kKeepLoopMode);
    std::vector<NQEnemy*>& enemies = map->mWaveManager->mEnemies;
    for (size_t i = 0; i < enemies.size(); ++i)
    {
        NQEnemy* other = enemies[i];
        if (other == this || !other->mInPlay || other->mState == kDying || other->mState == kFading)
            continue;
        if (PointDistance(mX, mY, other->mX, other->mY) <= proto.explodeRadius)
            other->ApplyDamage(proto.explodeStr);
    }
}

bool NQEnemy::UpdateAnimation(const NQUnitProto& proto, float dt)
{
    if (proto.speed - mSlow > 0.0f || mState == kDying || mState == kFading)
        mAnimTime += dt;
    // Without a frame rate nothing is timed: deaths and specials end at once.
    const bool timed = proto.fps > 0.0f;
    if (mState == kDying)
    {
        if (proto.air)
        {
            mDeathSpin += kSpinPerSecond * dt;
            mFallDrop += kDropPerSecond * dt;
        }
        const size_t frames = FrameCount(proto, "death");
        if (frames == 0)
        {
            mInPlay = 0;
            TryRaiseDead();
            return false;
        }
        if (!timed || mAnimTime >= float(frames) / proto.fps)
        {
            mState = kFading;
            mFadeRate = kFadeOutRate;
            mAnimTime = timed ? float(frames - 1) / proto.fps : 0.0f;
        }
        return false;
    }
    if (mState == kFading)
    {
        if (mOpacity <= 0.0f)
        {
            mInPlay = 0;
            TryRaiseDead();
            mAnimTime = 0.0f;
        }
        return false;
    }
    if (mState == kSpecial)
    {
        // An empty group would hold the enemy in its special state for good.
        const size_t frames = FrameCount(proto, "special");
        if (frames == 0 || !timed || mAnimTime >= float(frames) / proto.fps)
        {
            mAnimTime = 0.0f;
            mState = kWalking;
            PlayTag(L"enemy", proto.id, L"special");
        }
        return true;
    }
    const size_t frames = FrameCount(proto, "walk");
    if (frames > 0 && timed && mAnimTime >= float(frames) / proto.fps)
        mAnimTime = 0.0f;
    return true;
}

void NQEnemy::DeleteInactiveModifiers()
{
    size_t kept = 0;
    for (size_t i = 0; i < mModifiers.size(); ++i)
    {
        NQModifier* modifier = mModifiers[i];
        if (!modifier->mActive)
        {
            delete modifier;
            continue;
        }
        mModifiers[kept++] = modifier;
    }
    mModifiers.resize(kept);
}

void NQEnemy::Move(const NQUnitProto& proto, float dt)
{
    NQMap* map = Map();
    mLinkTime += dt;
    NQPoint* a = nullptr;
    NQPoint* b = nullptr;
    if (mRouteIndex >= 0 && size_t(mRouteIndex) + 1 < mRoute.size())
    {
        a = FindById(*map->mPoints, mRoute[mRouteIndex]);
        b = FindById(*map->mPoints, mRoute[mRouteIndex + 1]);
    }
    mPathSamples.clear();
    NQLink* link = a && b ? map->FindLink(a, b) : nullptr;
    if (link)
        map->FindLanePath(link, GetLaneOffset(mEntry->mY), mPathSamples);

    if (proto.straight)
    {
        const NQPoint* goal = map->FindGoalPoint();
        if (goal && PointDistance(goal->mX, goal->mY, mDrawX, mDrawY) < kGoalReach)
            map->OnEnemyReachedGoal(this);
        mLinkTime = dt;
        if (!b)
            return;
        const float dx = b->mX - mX;
        const float dy = b->mY - mY;
        const float length = std::sqrt(dx * dx + dy * dy);
        if (length > 0.0f)
        {
            mFacingLeft = dx < 0.0f;
            mX += dx / length * proto.speed * dt;
            mY += dy / length * proto.speed * dt;
        }
        mDrawX = mX;
        mDrawY = mY;
        return;
    }

    const float step = (proto.speed - mSlow) * dt * mSpeedFactor;
    if (step > 0.0f)
    {
        mProgress = AdvancePathProgress(mPathSamples, mProgress, step);
        if (mProgress >= 1.0f || mProgress < 0.0f)
        {
            ++mRouteIndex;
            mProgress = 0.0f;
            mLinkTime = 0.0f;
            if (size_t(mRouteIndex) + 1 >= mRoute.size())
            {
                map->OnEnemyReachedGoal(this);
                mInPlay = 0;
                return;
            }
            RefreshUpper();
            NQPoint* start = FindById(*map->mPoints, mRoute[mRouteIndex]);
            NQPoint* end = FindById(*map->mPoints, mRoute[mRouteIndex + 1]);
            if (start)
                mCurrentPoint = start;
            mLinkLength = start && end ? map->GetLinkLength(map->FindLink(start, end)) : 0.0f;
            return;
        }
    }
    if (mPathSamples.empty())
        return;
    // Progress may stand above 1 (cargo dropped past the link's end and held).
    const size_t last = mPathSamples.size() - 1;
    const size_t index = std::min(last, size_t(std::max(0, math::TruncateToInt32(float(last) * mProgress))));
    mFacingLeft = mPathSamples[index]->normalY <= kFacingLeftBelow;
    if (mState != kDying)
    {
        mPrevX = mX;
        mPrevY = mY;
    }
    const CurvePoint point = NQMap::GetPathPoint(mPathSamples, mProgress);
    mX = point.x;
    mY = point.y;
    mDrawX = mX;
    mDrawY = mY;
    const float dx = mX - mPrevX;
    const float dy = mY - mPrevY;
    const float length = std::sqrt(dx * dx + dy * dy);
    // Standing still keeps the last direction.
    if (length > 0.0f)
    {
        mDirX = dx / length;
        mDirY = dy / length;
    }
}

void NQEnemy::Update(float dt)
{
    UpdateTimers(dt);
    const NQUnitProto* proto = GetProto();
    // Its unit went with a sheet reload: nothing to act on.
    if (!proto)
        return;
    if (mHealth <= 0.0f && mState != kDying && mState != kFading)
    {
        Die(*proto);
        return;
    }
    if (!UpdateAnimation(*proto, dt))
        return;
    DeleteInactiveModifiers();
    if (mState == kSpecial)
        return;
    Move(*proto, dt);
}

void NQEnemy::OnHit(NQBullet* bullet, bool direct)
{
    if (mHealth <= 0.0f || !bullet)
        return;
    NQMap* map = Map();
    const NQUnitProto* proto = bullet->mTowerProto;
    if (!map || !proto)
        return;
    const NQUnitProto* ammo = map->mUnitDatabase ? map->mUnitDatabase->FindProto(proto->ammoid) : nullptr;
    NQTower* tower = bullet->mTower;
    float damage = (tower && tower->mBonus ? tower->mBonus->strength : 0.0f) + proto->strength +
                   (tower ? tower->GetSpotParam("damage_mult") : 0.0f);
    if (!direct)
    {
        // No falloff radius: a splash victim takes nothing (a NaN health would never die).
        const float r = ammo ? ammo->r : 0.0f;
        const float d = PointDistance(bullet->mX, bullet->mY, mDrawX, mDrawY);
        damage *= r > 0.0f ? std::max(0.0f, (r - d) / r) : 0.0f;
    }

    if (const NQUnitProto* base = GetBaseProto())
    {
        const bool fireOnlyAmmo = proto->ammoid >= kFirstFireAmmo && proto->ammoid <= kLastFireAmmo;
        if (((base->ice || base->stone) && (proto->dot || proto->stun)) || (base->poisonImmun && proto->hold) ||
            (base->fire_dmg_only && !fireOnlyAmmo))
        {
            if (map->mFloatingIcons)
                map->mFloatingIcons->Spawn(mDrawX, mDrawY - kImmuneIconLift, kImmuneIconKind);
            return;
        }
    }

    if (proto->teleportEnemy)
        OfferModifier(new HoldAndTeleport(std::string(), 0.0f, kTeleportSeconds, tower));
    if (proto->dot)
    {
        auto* dot = new DotModifier("health", kHitModifierValue, kDotSeconds, tower);
        dot->mPeriod = kDotPeriod;
        OfferModifier(dot);
    }
    if (proto->stun)
        OfferModifier(new StunModifier("speed", kHitModifierValue, kHoldSeconds, tower));
    if (proto->hold)
        OfferModifier(new HoldModifier("speed", kHitModifierValue, kHoldSeconds, tower));
    if (proto->firesplash)
    {
        auto* fire = new FireSplashModifier(std::string(), kFireValue, kFireSeconds, tower, mX, mY, kFireSize);
        fire->mPeriod = kFirePeriod;
        map->mModifiers.push_back(fire);
    }
    if (proto->splash && direct)
    {
        map->mModifiers.push_back(
            new AreaDamageModifier(std::string(), 0.0f, kSplashMarkSeconds, tower, mX, mY, kSplashMarkSize));
        // Without an ammo prototype there is no splash area.
        if (ammo && map->mWaveManager)
        {
            std::vector<NQEnemy*> victims;
            map->mWaveManager->GetEnemiesInRadius(mX, mY, ammo->r, victims);
            for (NQEnemy* victim : victims)
                if (victim != this)
                    victim->OnHit(bullet, false);
        }
    }
    ApplyDamage(damage);
}

void NQEnemy::ApplyDamage(float amount)
{
    if (mState == kDying || mState == kFading)
        return;
    mHealthBarTimer = kHealthBarSeconds;
    mHealth -= amount;
    if (amount > 0.0f)
    {
        mInvisibleTimer = 0.0f;
        mAlphaTarget = 1.0f;
    }
    PlayTag(L"enemy", mEntry->mId, L"hit");
}

bool NQEnemy::AcceptsModifier(const NQModifier* modifier) const
{
    for (const NQModifier* carried : mModifiers)
        if (carried->mSource == modifier->mSource && !carried->mAbility)
            return false;
    return true;
}

bool NQEnemy::OfferModifier(NQModifier* modifier)
{
    if (!AcceptsModifier(modifier))
    {
        delete modifier;
        return false;
    }
    mModifiers.push_back(modifier);
    return true;
}

void NQEnemy::RemoveModifiersFrom(void* source)
{
    size_t kept = 0;
    for (size_t i = 0; i < mModifiers.size(); ++i)
    {
        NQModifier* modifier = mModifiers[i];
        if (modifier->mSource == source)
        {
            delete modifier;
            continue;
        }
        mModifiers[kept++] = modifier;
    }
    mModifiers.resize(kept);
}

float NQEnemy::GetKillBonus() const
{
    NQMap* map = Map();
    if (!map)
        return 0.0f;
    float bonus = 0.0f;
    for (const NQTower* tower : map->mTowers)
    {
        const NQUnitProto* proto = tower->GetProto(-1);
        if (!proto || proto->goldIncome <= 0)
            continue;
        if (tower->GetReach() >= PointDistance(tower->mX, tower->mY, mDrawX, mDrawY))
            bonus += proto->health / kPercent;
    }
    return bonus;
}

NQEnemy::Bounds NQEnemy::PlaceFrame(const NQFrameEntry& frame) const
{
    // The root group's first frame is the set's origin; none counts as (0, 0).
    float rootX = 0.0f;
    float rootY = 0.0f;
    const NQUnitProto* proto = GetProto();
    if (proto && proto->spriteSet)
    {
        const NQSpriteSet::FrameList& root = proto->spriteSet->GetFrames("");
        if (!root.empty())
        {
            rootX = root.front()->mRect[0];
            rootY = root.front()->mRect[1];
        }
    }
    // The drawing mirrors a left-facing picture about the extent's centre.
    const float m = mFacingLeft ? 1.0f : -1.0f;
    const float fx = frame.mRect[0];
    const float fy = frame.mRect[1];
    const float fw = frame.mRect[2];
    const float fh = frame.mRect[3];
    Bounds bounds;
    bounds.x = mDrawX - (mExtentW / 2.0f - rootX) * m + (-fw * m / 2.0f - fx * m + mExtentW / 2.0f * m);
    bounds.y = mExtentH / 2.0f - rootY + mDrawY + mFallDrop + (fh / 2.0f + fy - mExtentH / 2.0f);
    bounds.w = fw;
    bounds.h = fh;
    return bounds;
}

bool NQEnemy::GetBounds(Bounds& out) const
{
    // Never drawn: nothing to pick.
    if (!mLastDrawnFrame)
        return false;
    out = PlaceFrame(*mLastDrawnFrame);
    return true;
}

void NQEnemy::RefreshUpper()
{
    NQMap* map = Map();
    NQPoint* point = nullptr;
    if (map && mRouteIndex >= 0 && size_t(mRouteIndex) < mRoute.size())
        point = FindById(*map->mPoints, mRoute[mRouteIndex]);
    mUpper = point && point->mParams ? point->mParams->GetFloat("upper") : 0.0f;
}

void NQEnemy::TryRaiseDead()
{
    if (mEntry->mId == kUndeadId || !mEntry->mWave)
        return;
    NQMap* map = Map();
    std::vector<NQEnemy*>& enemies = map->mWaveManager->mEnemies;
    for (size_t i = 0; i < enemies.size(); ++i)
    {
        NQEnemy* raiser = enemies[i];
        if (raiser == this || raiser->mState == kDying)
            continue;
        const NQUnitProto* proto = raiser->GetProto();
        // The slow test is always true; kept as the game has it.
        if (!proto || !proto->raiseDead || raiser->mSlow == -proto->speed)
            continue;
        if (!(proto->r > PointDistance(raiser->mX, raiser->mY, mX, mY)))
            continue;

        NQWaveProto* wave = mEntry->mWave;
        auto* entry = new NQWaveEntry(wave);
        entry->mId = kUndeadId;
        entry->mUpgrade = 1;
        entry->mX = kRunTimeX;
        entry->mY = mEntry->mY;
        entry->mSpawned = true;
        wave->mEntries.push_back(entry);
        if (NQEnemy* undead = map->SpawnEnemy(entry, mCurrentPoint))
        {
            undead->SetWalk(GetWalk());
            undead->mState = kSpecial;
            undead->mAnimTime = 0.0f;
        }
        if (raiser->mState != kSpecial)
        {
            raiser->mState = kSpecial;
            raiser->mAnimTime = 0.0f;
        }
        return;
    }
}

NQEnemy::Walk NQEnemy::GetWalk() const
{
    Walk walk;
    walk.routeIndex = mRouteIndex;
    walk.progress = mProgress;
    walk.linkLength = mLinkLength;
    walk.linkTime = mLinkTime;
    walk.currentPoint = mCurrentPoint;
    walk.route = mRoute;
    walk.x = mX;
    walk.y = mY;
    return walk;
}

void NQEnemy::SetWalk(const Walk& walk)
{
    mRouteIndex = walk.routeIndex;
    mProgress = walk.progress;
    mLinkLength = walk.linkLength;
    mLinkTime = walk.linkTime;
    mCurrentPoint = walk.currentPoint;
    mRoute = walk.route;
    mX = mDrawX = walk.x;
    mY = mDrawY = walk.y;
}
