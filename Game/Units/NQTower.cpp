#include "Game/Units/NQTower.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/Format.h"
#include "Core/Math/MathFunctions.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/GameSounds.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/GoldIncomerModifier.h"
#include "Game/Units/Modifiers/MagicTowerBoost.h"
#include "Game/Units/Modifiers/ShowInvisible.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTowerSpecial.h"
#include "Game/Units/SpriteList.h"
#include "Game/Units/SpritePoints.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kRadToDeg = 180.0f / 3.1415927f;
constexpr float kFullTurn = 360.0f;
constexpr float kHalfTurn = 180.0f;
constexpr float kQuarterTurn = 90.0f;
constexpr float kDebuffSpriteRate = 10.0f;
constexpr float kUpgradeIconLift = 30.0f;
constexpr float kUpgradeIconLife = 2.5f;
constexpr float kUpgradeEffectDrop = 15.0f;
constexpr int kUpgradeIconKind = 5;
constexpr float kPercent = 100.0f;
constexpr const char* kBeamEffect = "t_line";
constexpr const wchar_t* kDisabledSprite = L"nq/disabletower";
constexpr const wchar_t* kDebuffSprite = L"nq/tower_debuff";

NQMap* Map() { return Game::GetMap(); }

int32_t SectorOf(float angle) { return int32_t(angle / NQTower::kSectorDegrees + 0.5f); }

// Seconds of n frames at the rate; 0 without a usable rate, so a tower whose
// data lack "fps" still fires.
float FramesDuration(float frames, float fps) { return fps > 0.0f ? frames / fps : 0.0f; }

float GroupFrames(const NQUnitProto* proto, const char* group)
{
    return proto && proto->spriteSet ? float(proto->spriteSet->GetFrames(group).size()) : 0.0f;
}

bool Contains(const std::vector<NQEnemy*>& list, const NQEnemy* enemy)
{
    return std::find(list.begin(), list.end(), enemy) != list.end();
}

// int((a / b - 1) * 100), or nothing when the ratio means nothing.
bool Percentage(float numerator, float denominator, int32_t& out)
{
    if (denominator == 0.0f)
        return false;
    const float ratio = (numerator / denominator - 1.0f) * kPercent;
    if (!std::isfinite(ratio))
        return false;
    out = math::TruncateToInt32(ratio);
    return true;
}

void AppendLine(std::wstring& text, const wchar_t* key, int32_t percent)
{
    base::Format line(LocalStrings::Instance()->Get(key));
    line % percent;
    if (!text.empty())
        text += L"\n";
    text += line.GetText();
}

NQAnimatedSprite* AddAuraSprite(NQMap* map, const wchar_t* set, float x, float y)
{
    auto* sprite = new NQAnimatedSprite(set);
    sprite->mLoop = 1;
    sprite->mX = x;
    sprite->mY = y;
    AddSprite(*map->mHints, sprite);
    return sprite;
}

void RemoveAuraSprite(NQMap* map, NQAnimatedSprite*& sprite)
{
    if (sprite && map && map->mHints)
        RemoveSprite(*map->mHints, sprite);
    sprite = nullptr;
}
} // namespace

NQTower::NQTower() = default;

NQTower::~NQTower()
{
    delete mBonus;
    base::DeleteAll(mSpecials);
    base::DeleteAll(mModifiers);
}

void NQTower::SetProto(NQUnitProto* base)
{
    mLevel = 0;
    mBaseProto = base;
    delete mBonus;
    mBonus = new NQUnitProto;
    GetSpriteExtent(base ? base->spriteSet : nullptr, mExtentW, mExtentH);
    Setup();
}

void NQTower::Setup()
{
    base::DeleteAll(mModifiers);
    const NQUnitProto* proto = GetProto(-1);
    if (proto)
    {
        if (proto->goldIncome > 0)
            mModifiers.push_back(new GoldIncomerModifier(proto->cooldown, this));
        if (proto->boostTower)
            mModifiers.push_back(new MagicTowerBoost(this));
        if (proto->showInvisible)
            mModifiers.push_back(new ShowInvisible(this));
    }
    NQMap* map = Map();
    if (!map)
        return;
    // Boosters update first, so their bonus is in place for the towers after them.
    std::stable_sort(map->mTowers.begin(), map->mTowers.end(), [](const NQTower* a, const NQTower* b) {
        const NQUnitProto* pa = a->GetProto(-1);
        const NQUnitProto* pb = b->GetProto(-1);
        return (pa && pa->boostTower) && !(pb && pb->boostTower);
    });
}

NQUnitProto* NQTower::GetProto(int32_t levelid) const
{
    NQMap* map = Map();
    if (!mBaseProto || !map || !map->mUnitDatabase)
        return nullptr;
    const NQUnitDatabase& database = *map->mUnitDatabase;
    NQUnitProto* proto = mDatabaseProto.Get(database, reinterpret_cast<uintptr_t>(mBaseProto), 0,
                                            [&] { return database.FindProto(mBaseProto->id); });
    if (!proto)
        return nullptr;
    if (levelid != -1)
    {
        for (NQUnitProto* child : proto->children)
            if (child->levelid == levelid)
                return child;
        return nullptr;
    }
    if (mLevel == 0)
        return proto;
    for (NQUnitProto* child : proto->children)
        if (child->levelid == mLevel)
            return child;
    return proto->children.empty() ? proto : proto->children.back();
}

float NQTower::GetSpotParam(const char* name) const
{
    if (!mSpotFrame || !mSpotFrame->mSpot || !mSpotFrame->mSpot->mParams)
        return 0.0f;
    return mSpotFrame->mSpot->mParams->GetFloat(name);
}

float NQTower::GetRadiusMult() const
{
    const float m = GetSpotParam("radius_mult");
    return m == 0.0f ? 1.0f : m;
}

float NQTower::GetReach() const
{
    const NQUnitProto* proto = GetProto(-1);
    const float r = (proto ? proto->r : 0.0f) + (mBonus ? mBonus->r : 0.0f);
    return r * GetRadiusMult() * 0.5f;
}

void NQTower::AddTierBonus()
{
    if (mTierCount <= 0 || !mBaseProto || !mBonus)
        return;
    const float gain = float(mTierCount) * mBaseProto->tierK;
    mBonus->r += gain * mBaseProto->r;
    mBonus->strength += gain * mBaseProto->strength + mBaseProto->strength;
}

void NQTower::UpdateAuras(bool blocked, bool debuffed)
{
    NQMap* map = Map();
    if (blocked && !mDisabled)
    {
        mDisabled = true;
        mDisabledSprite = AddAuraSprite(map, kDisabledSprite, mX, mY);
    }
    else if (!blocked && mDisabled)
    {
        RemoveAuraSprite(map, mDisabledSprite);
        mDisabled = false;
    }
    if (blocked)
        return;
    if (debuffed && !mDebuffed)
    {
        mDebuffed = true;
        mDebuffSprite = AddAuraSprite(map, kDebuffSprite, mX, mY);
        mDebuffSprite->mAnimation->mRate = kDebuffSpriteRate;
    }
    else if (!debuffed && mDebuffed)
    {
        RemoveAuraSprite(map, mDebuffSprite);
        mDebuffed = false;
    }
}

void NQTower::Update(float dt)
{
    NQMap* map = Map();
    const NQUnitProto* proto = GetProto(-1);
    if (!map || !proto)
        return;
    AddTierBonus();

    mOpacity += map->mFrameTime * mFadeRate;
    if (mOpacity > 1.0f || mOpacity < 0.0f)
    {
        mOpacity = std::clamp(mOpacity, 0.0f, 1.0f);
        mFadeRate = 0.0f;
    }

    const bool blocked = map->IsTowerBlocked(this);
    UpdateAuras(blocked, !blocked && map->IsTowerDebuffed(this));
    if (blocked)
        return;

    mPauseTimer = ClampNonNegative(mPauseTimer - dt);
    mReloadTimer = ClampNonNegative(mReloadTimer - dt);
    map->UpdateDrops(mSpecials, dt);

    std::vector<NQEnemy*> inRange;
    const bool canTarget = proto->strength != -1.0f;
    if (canTarget)
        GetEnemiesInRange(inRange, 0);
    if (!inRange.empty())
    {
        mTarget = ChooseTarget(inRange, mTarget, true);
        if (mState == kIdle)
            mState = kTracking;
    }
    else
    {
        std::vector<NQEnemy*> wide;
        if (canTarget)
            GetEnemiesInRange(wide, kTrackingMargin);
        if (!wide.empty())
        {
            if (!Contains(wide, mTarget))
                mTarget = nullptr;
            mTarget = ChooseTarget(wide, mTarget, false);
            mState = kTracking;
        }
        else
        {
            if (mTarget)
                ClearTarget();
            if (mState == kIdle)
            {
                mState = kTurning;
                mTargetAngle = math::Random(0) * kFullTurn;
            }
        }
    }

    if (mTarget && mState != kHolding && mState != kLobbedWait)
    {
        const float dx = mTarget->mDrawX - mX;
        const float dy = mTarget->mDrawY - mY;
        SnapAngle(math::Atan2(dx, dy) * kRadToDeg + kQuarterTurn);
        mTargetAngle = std::floor(mTargetAngle);
    }

    const int32_t targetSector = SectorOf(mTargetAngle);
    if (Turn(dt, targetSector) && !inRange.empty() && mState == kTracking)
    {
        mAngle = mTargetAngle;
        if (mReloadTimer <= 0.0f)
        {
            mState = kFiring;
            mAnimTime = 0.0f;
        }
    }
    UpdateState(*proto, dt, targetSector);

    if (mAngle < 0.0f)
        mAngle += kFullTurn;
    else if (mAngle > kFullTurn)
        mAngle -= kFullTurn;

    UpdateModifiers(dt);
    if (mBeam && !mBeam->IsPlaying())
        mBeam = nullptr;
}

bool NQTower::Turn(float dt, int32_t targetSector)
{
    if (SectorOf(mAngle) == targetSector)
        return true;
    float direction = 0.0f;
    if (mAngle > mTargetAngle)
        direction = kFullTurn - mAngle + mTargetAngle < kHalfTurn ? 1.0f : -1.0f;
    else
        direction = kFullTurn - mTargetAngle + mAngle < kHalfTurn ? -1.0f : 1.0f;
    const float before = mAngle;
    mAngle += direction * kTurnDegreesPerSecond * dt;
    // Passing the target without wrapping stops on it.
    if ((direction > 0.0f && before < mTargetAngle && mAngle > mTargetAngle) ||
        (direction < 0.0f && before > mTargetAngle && mAngle < mTargetAngle))
        mAngle = mTargetAngle;
    return SectorOf(mAngle) == targetSector;
}

void NQTower::UpdateState(const NQUnitProto& proto, float dt, int32_t targetSector)
{
    switch (mState)
    {
    case kIdle:
        if (proto.rotating)
            break;
        mAnimTime += dt;
        if (mAnimTime > FramesDuration(GroupFrames(&proto, "idle"), proto.fps))
            mAnimTime = 0.0f;
        break;
    case kTurning:
        if (SectorOf(mAngle) == targetSector)
        {
            mState = kPause;
            mPauseTimer = kIdlePause;
        }
        break;
    case kFiring:
        mAnimTime += dt;
        Fire(proto);
        break;
    case kTracking:
    {
        if (proto.rotating)
            break;
        mAnimTime += dt;
        const float frames = GroupFrames(mBaseProto, "idle");
        if (frames > 0.0f && mAnimTime > FramesDuration(frames, proto.fps))
            mAnimTime = 0.0f;
        break;
    }
    case kHolding:
        mAnimTime += dt;
        if (mAnimTime > kHoldSeconds && mBeam)
        {
            mBeam->Stop();
            mBeam = nullptr;
        }
        break;
    case kPause:
        mPauseTimer -= dt;
        if (mPauseTimer <= 0.0f)
        {
            mState = kIdle;
            mPauseTimer = 0.0f;
        }
        break;
    default:
        break;
    }
}

void NQTower::Fire(const NQUnitProto& proto)
{
    const float reload = (proto.cooldown - (mBonus ? mBonus->cooldown : 0.0f)) *
                         (mDebuffed ? kDebuffReloadFactor : 1.0f);
    if (proto.rotating)
    {
        if (mAnimTime <= FramesDuration(kRotatingShotFrames, proto.fps))
            return;
        mState = kIdle;
        mAnimTime = 0.0f;
        Launch();
        mReloadTimer = reload;
        return;
    }
    const float blast = FramesDuration(GroupFrames(&proto, "blast"), proto.fps);
    if (mAnimTime <= blast)
        return;
    Launch();
    mReloadTimer = reload;
    if (proto.ammoid == kLobbedAmmo)
    {
        mState = kLobbedWait;
        mTarget = nullptr;
        // The last frame stays while the shot flies.
        mAnimTime = blast;
        return;
    }
    mAnimTime = 0.0f;
    mState = proto.teleportEnemy ? kHolding : kIdle;
}

void NQTower::UpdateModifiers(float dt)
{
    // By index: a tick may set the tower up again, which replaces the list.
    for (size_t i = 0; i < mModifiers.size();)
    {
        NQModifier* modifier = mModifiers[i];
        if (!modifier->mActive)
        {
            delete modifier;
            mModifiers.erase(mModifiers.begin() + std::ptrdiff_t(i));
            continue;
        }
        modifier->Update(nullptr, dt);
        ++i;
    }
}

void NQTower::GetEnemiesInRange(std::vector<NQEnemy*>& out, int32_t extra) const
{
    NQMap* map = Map();
    const NQUnitProto* proto = GetProto(-1);
    if (!map || !map->mWaveManager || !proto)
        return;
    const float reach = GetReach() + float(extra);
    auto consider = [&](NQEnemy* enemy) {
        if (enemy->mInvisibleTimer > 0.0f || enemy->mState == NQEnemy::kDying || enemy->mState == NQEnemy::kFading)
            return;
        if (PointDistance(mX, mY, enemy->mX, enemy->mY) >= reach)
            return;
        if (!proto->air)
        {
            const NQUnitProto* base = enemy->GetBaseProto();
            if (base && base->air)
                return;
        }
        out.push_back(enemy);
    };
    const std::vector<NQEnemy*>& enemies = map->mWaveManager->mEnemies;
    if (const EnemyGrid* grid = map->mWaveManager->GetGrid())
    {
        for (uint32_t i : grid->Near(mX, mY, reach))
            consider(enemies[i]);
        return;
    }
    for (NQEnemy* enemy : enemies)
        consider(enemy);
}

NQEnemy* NQTower::ChooseTarget(const std::vector<NQEnemy*>& list, NQEnemy* current, bool preferSelection) const
{
    if (!Contains(list, current))
        current = nullptr;
    if (preferSelection)
    {
        NQMap* map = Map();
        if (map && map->mSelectedEnemy && Contains(list, map->mSelectedEnemy))
            return map->mSelectedEnemy;
    }
    if (current)
        return current;
    if (!preferSelection)
        return FindNearestEnemy(list, mX, mY);

    std::vector<NQEnemy*> candidates;
    for (NQEnemy* enemy : list)
    {
        const NQUnitProto* proto = enemy->GetProto();
        if (proto && proto->air)
            candidates.push_back(enemy);
    }
    if (candidates.empty())
        candidates = list;
    std::stable_sort(candidates.begin(), candidates.end(), CompareEnemyHealth);
    while (candidates.size() >= 2 && candidates.back()->mHealth != candidates.front()->mHealth)
        candidates.pop_back();
    return FindNearestEnemy(candidates, mX, mY);
}

void NQTower::SnapAngle(float angle)
{
    angle = ToSpriteAngle(angle);
    if (int32_t(std::floor(angle / kSectorDegrees)) != int32_t(std::floor(mTargetAngle / kSectorDegrees)))
        mTargetAngle = angle;
}

void NQTower::Launch()
{
    NQMap* map = Map();
    const NQUnitProto* proto = GetProto(-1);
    if (!mTarget || !map || !proto)
        return;
    PlaySoundTag(L"tower", proto->id, L"shot");
    if (proto->speed == -1.0f && proto->teleportEnemy)
    {
        CastBeam(*proto);
        return;
    }
    map->mBullets->Add(new NQBullet(this, mTarget));
}

void NQTower::CastBeam(const NQUnitProto& proto)
{
    if (mBeam || mTarget->mState == NQEnemy::kTeleportHeld)
        return;
    NQMap* map = Map();
    float w = 0.0f;
    float h = 0.0f;
    GetSpriteExtent(proto.spriteSet, w, h);
    float sx = 0.0f;
    float sy = 0.0f;
    float bx = 0.0f;
    float by = 0.0f;
    GetMarkerPoint(proto.spriteSet, "s_point", 0, w, h, sx, sy);
    GetMarkerPoint(proto.spriteSet, "base_point", 0, w, h, bx, by);
    const float startX = mX - ((w * 0.5f - bx) + (w * 0.5f - sx));
    const float startY = mY - (by - sy);
    mBeam = new NQBeamParticle(startX, startY, mTarget, kBeamEffect);
    map->mParticles.push_back(mBeam);
    mTarget->mState = NQEnemy::kTeleportHeld;
    mTarget->mAnimTime = 0.0f;
    // The shot only carries the hit; it never flies.
    NQBullet shot(this, mTarget);
    mTarget->OnHit(&shot, true);
}

void NQTower::ClearTarget()
{
    mTarget = nullptr;
    mState = kIdle;
    if (!mBeam)
        return;
    if (mBeam->IsPlaying())
        mBeam->Stop();
    // The particle list deletes a stopped beam at its next step.
    mBeam = nullptr;
}

void NQTower::PayIncome()
{
    NQMap* map = Map();
    const NQUnitProto* proto = GetProto(-1);
    if (!map || !proto || proto->goldIncome < 1)
        return;
    PlaySoundTag(L"tower", proto->id, L"shot");
    NQUnitProto* upgraded = CreateUpgradedProto(proto->id);
    const float income = float(upgraded ? upgraded->goldIncome : proto->goldIncome) * GetSpotParam("income_mult");
    delete upgraded;
    const int32_t gold = math::TruncateToInt32(income);
    if (map->mFloatingIcons)
        map->mFloatingIcons->Spawn(mX, mY, NQFloatingIcons::kCoin)->text = L"+" + std::to_wstring(gold);
    map->mEconomy->AddGold(gold);
    mState = kFiring;
}

void NQTower::UpgradeInPlace()
{
    NQMap* map = Map();
    const NQUnitProto* proto = GetProto(-1);
    if (!map || !proto || !mBaseProto)
        return;
    // At the limit nothing more is sold.
    if (mTierCount >= mBaseProto->tierUpdates)
        return;
    if (float(map->mEconomy->mGold) < proto->tierCost)
        return;
    map->mEconomy->SpendGold(math::TruncateToInt32(proto->tierCost));
    ++mTierCount;
    mAnimTime = 0.0f;
    mState = kIdle;
}

void NQTower::UpgradeTo(int32_t level, float price)
{
    NQMap* map = Map();
    NQUnitProto* target = GetProto(level);
    const NQUnitProto* old = GetProto(-1);
    if (!map || !target || !old)
        return;
    if (price > float(map->mEconomy->mGold))
    {
        if (map->OfferGemsForGold(price))
        {
            map->mPendingBuild = {};
            map->mPendingUpgrade = {this, level, price};
        }
        return;
    }
    map->mEconomy->SpendGold(math::TruncateToInt32(std::floor(price)));

    std::wstring text;
    int32_t percent = 0;
    if (target->r != old->r && Percentage(target->r, old->r, percent))
        AppendLine(text, L"towerUpgradeInfoRange", percent);
    if (target->strength != old->strength && old->strength > 0.0f &&
        Percentage(target->strength, old->strength, percent))
        AppendLine(text, L"towerUpgradeInfoDamage", percent);
    if (target->cooldown != old->cooldown && Percentage(old->cooldown, target->cooldown, percent))
        AppendLine(text, L"towerUpgradeInfoRof", percent);
    if (target->goldIncome != old->goldIncome &&
        Percentage(float(target->goldIncome), float(old->goldIncome), percent))
        AppendLine(text, L"towerUpgradeInfoIncome", percent);
    if (map->mFloatingIcons)
    {
        NQFloatingIcon* icon = map->mFloatingIcons->Spawn(mX, mY - kUpgradeIconLift, kUpgradeIconKind);
        icon->text = text;
        icon->life = kUpgradeIconLife;
    }

    mLevel = level;
    mState = kIdle;
    mAnimTime = 0.0f;
    mTarget = nullptr;
    mTierCount = 0;
    Setup();
    GetSpriteExtent(target->spriteSet, mExtentW, mExtentH);

    map->StartLooseEmitter("upgrade", mX, mY + kUpgradeEffectDrop);
    PlaySoundTag(L"upgradeTower");
    NQTutorial::Instance()->OnEvent(L"tower_upgraded");
}
