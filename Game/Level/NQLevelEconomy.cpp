#include "Game/Level/NQLevelEconomy.h"

#include "Core/Math/MathFunctions.h"
#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"

namespace
{
// The shown gold counts by this much a frame, the last coins one by one.
constexpr int32_t kGoldCountStep = 4;
constexpr float kComboFactor = 1.3f;
constexpr float kRounding = 0.5f;
constexpr double kLivesToBonus = 100.0;

void RefreshGold()
{
    NQMap* map = Game::GetMap();
    if (map && map->mHud)
        map->mHud->UpdateGoldText();
}
} // namespace

void NQLevelEconomy::StoreGems()
{
    NQMap* map = Game::GetMap();
    if (!map)
        return; // no running level to show or store it
    if (map->mHud)
        map->mHud->UpdateGemsText();
    if (map->mProgress)
        map->mProgress->SetGems(mGems);
}

void NQLevelEconomy::AddGems(int32_t n)
{
    mGems += n;
    mGemsGained += n;
    StoreGems();
}

void NQLevelEconomy::AddGold(int32_t n)
{
    mGold += n;
    RefreshGold();
}

void NQLevelEconomy::Reset()
{
    mShownGold = 0;
    mKillScore = 0;
    mComboBonus = 0;
    mSpentGold = 0;
    mGemsGained = 0;
    mGold = 0;
    mComboCount = 0;
}

NQLevelRecord& NQLevelEconomy::MakeLevelRecord(NQLevelRecord& record) const
{
    const NQMap* map = Game::GetMap();
    record.kills = mKillScore;
    record.combo = mComboBonus;
    // The float lives are scaled in double: 0.57 gives 56.
    record.healthBonus = map ? int(double(map->mLives) * kLivesToBonus) : 0;
    record.stars = 0;
    record.gems = 0;
    record.mode = map ? map->mMode : 0;
    return record;
}

void NQLevelEconomy::SpendGold(int32_t n)
{
    mSpentGold += n;
    mGold -= n;
    RefreshGold();
}

void NQLevelEconomy::SpendGems(int32_t n)
{
    if (mGems >= n)
        mGems -= n;
    StoreGems();
}

void NQLevelEconomy::SettleCombo()
{
    if (mComboCount > 1)
    {
        // Single precision throughout: a count of 5 gives 7, not 6.
        const float scaled = float(mComboCount) * kComboFactor;
        const int32_t bonus = math::TruncateToInt32(scaled + kRounding);
        mComboBonus += bonus;
        mGold += bonus;
    }
    mComboCount = 0;
}

void NQLevelEconomy::OnKill(int32_t reward, float, float)
{
    if (mTimeSinceLastKill <= mComboWindow)
        ++mComboCount;
    else
        SettleCombo();
    mKillScore += reward;
    mGold += reward;
    mTimeSinceLastKill = 0.0f;
    RefreshGold();
}

void NQLevelEconomy::Update(float dt)
{
    if (mShownGold != mGold)
    {
        const int32_t distance = mGold - mShownGold;
        const int32_t magnitude = distance < 0 ? -distance : distance;
        const int32_t step = magnitude >= kGoldCountStep ? kGoldCountStep : 1;
        mShownGold += distance < 0 ? -step : step;
        RefreshGold();
    }
    mTimeSinceLastKill += dt;
    if (mTimeSinceLastKill > mComboWindow)
    {
        mTimeSinceLastKill = 0.0f;
        SettleCombo();
    }
}
