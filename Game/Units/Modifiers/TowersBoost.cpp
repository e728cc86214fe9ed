#include "Game/Units/Modifiers/TowersBoost.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQTower.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t kBoostSpellId = 3004;
constexpr float kHammerLift = 50.0f;
constexpr int kLoop = 1;

// Every boost alive, so one that ends can tell which marks another holds.
std::vector<const TowersBoost*>& LiveBoosts()
{
    static std::vector<const TowersBoost*> boosts;
    return boosts;
}

// The plain boost spell's speed over the upgraded one's; 1 when either is missing or 0.
float HammerSpeed(const NQMap& map)
{
    const NQUnitProto* plain = map.mUnitDatabase ? map.mUnitDatabase->FindProto(kBoostSpellId) : nullptr;
    NQUnitProto* upgraded = plain ? CreateUpgradedProto(kBoostSpellId) : nullptr;
    float speed = 1.0f;
    if (plain && upgraded && plain->speed != 0.0f && upgraded->speed != 0.0f)
        speed = plain->speed / upgraded->speed;
    delete upgraded;
    return std::isfinite(speed) ? speed : 1.0f;
}
} // namespace

TowersBoost::TowersBoost(float duration, float value) : NQModifier(std::string(), value, duration, nullptr)
{
    LiveBoosts().push_back(this);
}

TowersBoost::~TowersBoost()
{
    std::erase(LiveBoosts(), this);
    for (NQEffect* hammer : mHammers)
        DestroyHammer(hammer);
    mHammers.clear();
    if (NQMap* map = Game::GetMap())
        for (NQTower* tower : map->mTowers)
            if (!IsHeldByOther(tower))
                tower->mHammerMark = 0;
    mBoosted.clear();
}

bool TowersBoost::IsHeldByOther(const NQTower* tower) const
{
    for (const TowersBoost* boost : LiveBoosts())
        if (boost != this && std::find(boost->mBoosted.begin(), boost->mBoosted.end(), tower) != boost->mBoosted.end())
            return true;
    return false;
}

void TowersBoost::DestroyHammer(NQEffect* hammer)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    // Only a hammer the list still holds is alive to delete.
    const auto it = std::find(map->mEffects.begin(), map->mEffects.end(), hammer);
    if (it == map->mEffects.end())
        return;
    map->mEffects.erase(it);
    delete hammer;
}

void TowersBoost::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    for (NQTower* tower : map->mTowers)
    {
        const NQUnitProto* proto = tower->GetProto(-1);
        if (proto && tower->mBonus)
        {
            tower->mBonus->strength += proto->strength * mValue;
            tower->mBonus->r += proto->r * mValue;
        }
        if (std::find(mBoosted.begin(), mBoosted.end(), tower) != mBoosted.end())
            continue;
        NQEffect* hammer = PlaceEffect(map->mEffects, "hammer", tower->mX, tower->mY - kHammerLift, kLoop);
        hammer->mSpeed = HammerSpeed(*map);
        // The list keeps it, playing or not, until the boost lets go.
        hammer->mHeld = true;
        mHammers.push_back(hammer);
        mBoosted.push_back(tower);
        tower->mHammerMark = 1;
    }
}

void TowersBoost::ForgetSource(void* object)
{
    NQModifier::ForgetSource(object);
    for (size_t i = 0; i < mBoosted.size(); ++i)
    {
        if (mBoosted[i] != object)
            continue;
        DestroyHammer(mHammers[i]);
        mBoosted.erase(mBoosted.begin() + std::ptrdiff_t(i));
        mHammers.erase(mHammers.begin() + std::ptrdiff_t(i));
        return;
    }
}
