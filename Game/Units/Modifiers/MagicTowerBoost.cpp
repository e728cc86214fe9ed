#include "Game/Units/Modifiers/MagicTowerBoost.h"

#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQTower.h"

namespace
{
constexpr float kPercent = 100.0f;
}

MagicTowerBoost::MagicTowerBoost(NQTower* tower) : NQModifier(std::string(), 0.0f, kEndless, tower) {}

void MagicTowerBoost::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    auto* tower = static_cast<NQTower*>(mSource);
    const NQUnitProto* proto = tower ? tower->GetProto(-1) : nullptr;
    if (!map || !proto)
        return;
    const float boost = proto->speed / kPercent;
    // The raw multiplier: a spot without it boosts nothing around.
    const float reach = proto->r * 0.5f * tower->GetSpotParam("radius_mult");
    for (NQTower* other : map->mTowers)
    {
        const NQUnitProto* otherProto = other->GetProto(-1);
        if (other == tower || !otherProto || otherProto->boostTower || !other->mBonus)
            continue;
        if (PointDistance(tower->mX, tower->mY, other->mX, other->mY) > reach)
            continue;
        other->mBonus->strength += otherProto->strength * boost;
        other->mBonus->r += otherProto->r * boost;
        other->mBoosted = true;
    }
}
