#include "Game/Units/Modifiers/ShowInvisible.h"

#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTower.h"

ShowInvisible::ShowInvisible(NQTower* tower) : NQModifier(std::string(), 0.0f, kEndless, tower) {}

void ShowInvisible::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    auto* tower = static_cast<NQTower*>(mSource);
    const NQUnitProto* proto = tower ? tower->GetProto(-1) : nullptr;
    if (!map || !map->mWaveManager || !proto)
        return;
    const float reach = proto->r * 0.5f * tower->GetSpotParam("radius_mult");
    for (NQEnemy* enemy : map->mWaveManager->mEnemies)
    {
        if (PointDistance(tower->mX, tower->mY, enemy->mX, enemy->mY) >= reach)
            continue;
        enemy->mInvisibleTimer = 0.0f;
        enemy->mAlphaTarget = 1.0f;
    }
}
