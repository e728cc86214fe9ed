// Building, upgrading and selling towers, the pointer queries of the click
// handling and the enemies' tower auras.
#include "Game/Level/NQMap.h"

#include "Core/Base/Format.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/GameSounds.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/SpriteList.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kGoldPerGem = 50.0f;
constexpr float kSpotPickRadius = 40.0f;
constexpr float kTowerPickRadius = 50.0f;
constexpr int32_t kNoDialogId = -1;
constexpr int32_t kNoParent = -1;
constexpr int kStatePlaying = 1;
constexpr int kPositionMode = 0;

// The first live enemy whose aura of that kind reaches the tower.
bool AuraReaches(const NQMap& map, const NQTower* tower, bool NQUnitValues::*flag, float radiusFactor)
{
    if (tower->mHammerMark || !map.mWaveManager)
        return false;
    // The others have no tower aura and are passed over below anyway.
    const std::vector<NQEnemy*>* withAura = map.mWaveManager->GetTowerAuraEnemies();
    for (const NQEnemy* enemy : withAura ? *withAura : map.mWaveManager->mEnemies)
    {
        const NQUnitProto* proto = enemy->GetProto();
        // An enemy held still by its whole speed has no aura.
        if (!proto || !(proto->*flag) || enemy->mSlow == proto->speed)
            continue;
        if (PointDistance(tower->mX, tower->mY, enemy->mX, enemy->mY) <= proto->r * radiusFactor)
            return true;
    }
    return false;
}
} // namespace

bool NQMap::OfferGemsForGold(float price)
{
    const int32_t gems = int32_t(std::ceil(price / kGoldPerGem));
    if (mEconomy->mGems < gems)
        return false;
    if (mHud)
    {
        base::Format message(LocalStrings::Instance()->Get(L"convertCristallToMoneyDialogText"));
        message % gems;
        mHud->ShowModalDialog(LocalStrings::Instance()->Get(L"convertCristallToMoneyDialogTitle"),
                              message.GetText(), kNoDialogId);
    }
    mScreenState = screen::kGemsForGold;
    UpdateSpeedButtons();
    return true;
}

void NQMap::StartLooseEmitter(const char* name, float x, float y)
{
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(name);
    // A library without the effect shows nothing.
    if (!emitter)
        return;
    const float position[2] = {x, y};
    emitter->SetPosition(position, kPositionMode);
    emitter->SetState(kStatePlaying);
    mLooseEmitters.push_back(emitter);
}

NQTower* NQMap::BuildTower(NQUnitProto* proto, NQFrameEntry* spotFrame)
{
    if (!proto || !spotFrame)
        return nullptr;
    auto* copy = new NQUnitProto;
    copy->CopyFrom(proto);
    if (mUpgradeTable)
        mUpgradeTable->ApplyToProto(copy);
    const float price = copy->cost;
    delete copy;
    if (price > float(mEconomy->mGold))
    {
        if (OfferGemsForGold(price))
        {
            mPendingUpgrade = {};
            mPendingBuild = {proto, spotFrame, price};
        }
        return nullptr;
    }
    mEconomy->SpendGold(math::TruncateToInt32(price));
    spotFrame->mShown = 0;

    auto* tower = new NQTower;
    tower->mSpotFrame = spotFrame;
    tower->mX = tower->mAnchorX = spotFrame->mRect[0] + spotFrame->mRect[2] * 0.5f;
    tower->mY = tower->mAnchorY = spotFrame->mRect[1] + spotFrame->mRect[3] * 0.5f;
    // In the list before the set-up sorts it, so a booster leads from its first frame.
    mTowers.push_back(tower);
    tower->SetProto(proto);
    PlaySoundTag(L"buildTower");
    StartLooseEmitter("build", tower->mX, tower->mY);
    return tower;
}

int32_t NQMap::GetSellRefund(const NQTower* tower) const
{
    const NQUnitProto* proto = tower ? tower->GetProto(-1) : nullptr;
    if (!proto)
        return 0;
    int32_t value = math::TruncateToInt32(proto->cost);
    // A prototype without a known parent is priced alone.
    if (proto->parent != kNoParent && mUnitDatabase)
        if (const NQUnitProto* parent = mUnitDatabase->FindProto(proto->parent); parent && parent != proto)
            value += math::TruncateToInt32(parent->cost);
    return int32_t(std::floor(float(value) * mSellFactor));
}

void NQMap::SellTower(NQTower* tower)
{
    const auto it = std::find(mTowers.begin(), mTowers.end(), tower);
    if (it == mTowers.end())
        return;
    mEconomy->AddGold(GetSellRefund(tower));

    // The beam's target first: once the bullets are gone, no modifier names the tower.
    if (NQBeamParticle* beam = tower->mBeam; beam && beam->IsPlaying())
    {
        if (NQEnemy* target = beam->mTarget)
        {
            target->RemoveModifiersFrom(tower);
            // Only a held target walks again; a dying one stays dead.
            if (target->mState == NQEnemy::kTeleportHeld)
                target->mState = NQEnemy::kWalking;
        }
        beam->Stop();
    }
    tower->mBeam = nullptr;
    mBullets->RemoveTowerBullets(tower);
    StartLooseEmitter("build", tower->mX, tower->mY);
    PlaySoundTag(L"sellTower");
    if (tower->mDisabledSprite)
        RemoveSprite(*mHints, tower->mDisabledSprite);
    if (tower->mDebuffSprite)
        RemoveSprite(*mHints, tower->mDebuffSprite);
    tower->mDisabledSprite = nullptr;
    tower->mDebuffSprite = nullptr;
    if (tower->mSpotFrame)
        tower->mSpotFrame->mShown = 1;
    if (mPendingUpgrade.tower == tower)
        mPendingUpgrade = {};
    mTowers.erase(std::find(mTowers.begin(), mTowers.end(), tower));
    delete tower;
}

NQFrameEntry* NQMap::FindSpotEntryAt(float x, float y) const
{
    if (!mDecorationSet)
        return nullptr;
    // Only spot pictures: a decoration near the click has no spot to open.
    for (NQFrameEntry* frame : mDecorationSet->mFrames)
    {
        if (!frame->mShown || !frame->mSpot)
            continue;
        const float cx = frame->mRect[0] + frame->mRect[2] * 0.5f;
        const float cy = frame->mRect[1] + frame->mRect[3] * 0.5f;
        if (PointDistance(cx, cy, x, y) <= kSpotPickRadius)
            return frame;
    }
    return nullptr;
}

NQTower* NQMap::FindTowerAt(float x, float y) const
{
    for (NQTower* tower : mTowers)
        if (PointDistance(tower->mX, tower->mY, x, y) < kTowerPickRadius)
            return tower;
    return nullptr;
}

bool NQMap::IsTowerBlocked(const NQTower* tower) const
{
    return AuraReaches(*this, tower, &NQUnitValues::blocktower, 0.5f);
}

bool NQMap::IsTowerDebuffed(const NQTower* tower) const
{
    return AuraReaches(*this, tower, &NQUnitValues::debufftower, 1.0f);
}
